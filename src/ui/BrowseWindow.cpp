#include "BrowseWindow.h"

#include "VoucherFieldCaptions.h"

#include "card/VoucherBrowser.h"
#include "common/MessageService.h"
#include "host/clsLogin.h"
#include "platform/VoucherDocument.h"

#include <QAction>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

BrowseWindow::BrowseWindow(std::shared_ptr<clsLogin> login, QWidget *parent)
    : QMainWindow(parent)
    , m_browser(std::make_unique<VoucherBrowser>(login, *this))
    , m_headPanel(new QWidget(this))
    , m_headGrid(new QGridLayout(m_headPanel))
    , m_body(new QTableWidget(this))
    , m_status(new QLabel(this))
{
    setWindowTitle(QStringLiteral("样品接单管理 - %1").arg(login ? login->UserName() : QString()));
    resize(1100, 700);

    auto *bar = addToolBar(QStringLiteral("导航"));
    bar->setObjectName(QStringLiteral("navigation"));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    auto makeAction = [&](const QString &text, QStyle::StandardPixmap icon, const QList<QKeySequence> &keys,
                          void (VoucherBrowser::*slot)()) {
        auto *a = bar->addAction(style()->standardIcon(icon), text);
        a->setShortcuts(keys);
        a->setToolTip(QStringLiteral("%1 (%2)").arg(text, keys.first().toString(QKeySequence::NativeText)));
        connect(a, &QAction::triggered, this, [this, slot] { (m_browser.get()->*slot)(); });
        return a;
    };
    m_first = makeAction(QStringLiteral("首张"), QStyle::SP_MediaSkipBackward, {QKeySequence(Qt::CTRL | Qt::Key_Home)},
                         &VoucherBrowser::moveFirst);
    m_previous = makeAction(QStringLiteral("上张"), QStyle::SP_MediaSeekBackward,
                            {QKeySequence(Qt::Key_PageUp), QKeySequence(Qt::CTRL | Qt::Key_Left)},
                            &VoucherBrowser::movePrevious);
    m_next = makeAction(QStringLiteral("下张"), QStyle::SP_MediaSeekForward,
                        {QKeySequence(Qt::Key_PageDown), QKeySequence(Qt::CTRL | Qt::Key_Right)},
                        &VoucherBrowser::moveNext);
    m_last = makeAction(QStringLiteral("末张"), QStyle::SP_MediaSkipForward, {QKeySequence(Qt::CTRL | Qt::Key_End)},
                        &VoucherBrowser::moveLast);
    bar->addSeparator();
    m_refresh = makeAction(QStringLiteral("刷新"), QStyle::SP_BrowserReload, {QKeySequence(Qt::Key_F5)},
                           &VoucherBrowser::refresh);

    buildHead();
    m_body->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_body->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_body->setAlternatingRowColors(true);
    m_body->verticalHeader()->setDefaultSectionSize(24);
    const auto &bodyCaptions = sampleBodyCaptions();
    m_body->setColumnCount(int(bodyCaptions.size()));
    QStringList headers;
    for (const auto &c : bodyCaptions)
        headers << QString::fromUtf8(c.caption);
    m_body->setHorizontalHeaderLabels(headers);

    auto *title = new QLabel(QStringLiteral("样品接单"), this);
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    title->setFont(f);
    title->setAlignment(Qt::AlignCenter);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(title);
    layout->addWidget(m_headPanel);
    layout->addWidget(m_body, 1);
    setCentralWidget(central);
    statusBar()->addWidget(m_status, 1);
}

BrowseWindow::~BrowseWindow() = default;

void BrowseWindow::buildHead()
{
    const auto &captions = sampleHeadCaptions();
    constexpr int perRow = 3;
    for (int i = 0; i < captions.size(); ++i) {
        auto *label = new QLabel(QString::fromUtf8(captions[i].caption), m_headPanel);
        auto *edit = new QLineEdit(m_headPanel);
        edit->setReadOnly(true);
        edit->setObjectName(QString::fromLatin1(captions[i].field));
        if (captions[i].number)
            edit->setAlignment(Qt::AlignRight);
        label->setBuddy(edit);
        m_headGrid->addWidget(label, i / perRow, (i % perRow) * 2);
        m_headGrid->addWidget(edit, i / perRow, (i % perRow) * 2 + 1);
        m_headFields << edit;
    }
}

bool BrowseWindow::open(qlonglong voucherId)
{
    return m_browser->open(voucherId);
}

QString BrowseWindow::headText(const QString &field) const
{
    for (QLineEdit *e : m_headFields) {
        if (e->objectName() == field)
            return e->text();
    }
    return {};
}

void BrowseWindow::showVoucher(const VoucherDocument &head, const VoucherDocument &body)
{
    const VoucherRow row = head.headRow();
    const auto &headCaptions = sampleHeadCaptions();
    for (int i = 0; i < headCaptions.size(); ++i)
        m_headFields[i]->setText(row.isNull() ? QString() : row.value(QString::fromLatin1(headCaptions[i].field)));

    const auto &bodyCaptions = sampleBodyCaptions();
    const int lines = row.isNull() ? 0 : body.rowCount();
    m_body->setRowCount(lines);
    for (int r = 0; r < lines; ++r) {
        const VoucherRow line = body.row(r);
        for (int c = 0; c < bodyCaptions.size(); ++c) {
            auto *item = new QTableWidgetItem(line.value(QString::fromLatin1(bodyCaptions[c].field)));
            if (bodyCaptions[c].number)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_body->setItem(r, c, item);
        }
    }
    m_body->resizeColumnsToContents();
    if (row.isNull())
        m_status->setText(QStringLiteral("没有单据"));
    else if (row.value(QStringLiteral("ccode")).isEmpty()) // a child sample has no number of its own
        m_status->setText(QStringLiteral("子件样品 %1 版本 %2，共 %3 行")
                              .arg(row.value(QStringLiteral("cnewinvcode")), row.value(QStringLiteral("csocode")))
                              .arg(lines));
    else
        m_status->setText(QStringLiteral("单据号 %1，共 %2 行").arg(row.value(QStringLiteral("ccode"))).arg(lines));
}

void BrowseWindow::setNavigation(bool canGoBack, bool canGoForward)
{
    m_first->setEnabled(canGoBack);
    m_previous->setEnabled(canGoBack);
    m_next->setEnabled(canGoForward);
    m_last->setEnabled(canGoForward);
}

void BrowseWindow::showError(const QString &text)
{
    MessageService::current().show(text, QStringLiteral("销售管理"), MessageService::Exclamation);
}
