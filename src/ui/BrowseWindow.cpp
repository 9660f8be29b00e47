#include "BrowseWindow.h"

#include "BrowseCardControl.h"
#include "ClassicToolbar.h"
#include "CommandBar.h"
#include "VoucherFieldCaptions.h"

#include "card/frmManageSample.h"
#include "platform/VoucherDocument.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTableWidget>
#include <QVBoxLayout>

BrowseWindow::BrowseWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_control(std::make_unique<BrowseCardControl>(
          [this](const VoucherDocument &head, const VoucherDocument &body) { showVoucher(head, body); }))
    , m_toolbar(new ClassicToolbar(QStringLiteral("导航"), this))
    , m_commandBar(new CommandBar(QStringLiteral("命令"), this))
    , m_title(new QLabel(this))
    , m_headPanel(new QWidget(this))
    , m_headGrid(new QGridLayout(m_headPanel))
    , m_body(new QTableWidget(this))
    , m_status(new QLabel(this))
{
    resize(1100, 700);
    buildToolbar();
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

    m_title->setObjectName(QStringLiteral("lblTitle"));
    QFont f = m_title->font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    m_title->setFont(f);
    m_title->setAlignment(Qt::AlignCenter);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(m_title);
    layout->addWidget(m_headPanel);
    layout->addWidget(m_body, 1);
    setCentralWidget(central);
    statusBar()->addWidget(m_status, 1);
}

void BrowseWindow::buildToolbar()
{
    addToolBar(m_toolbar);
    // The command bar joins the toolbar's area; the toolbar style decides which of the two shows.
    addToolBar(m_commandBar);
    auto makeAction = [&](const QString &text, QStyle::StandardPixmap icon, const QList<QKeySequence> &keys,
                          const QString &command) {
        auto *a = m_toolbar->addAction(style()->standardIcon(icon), text);
        a->setObjectName(command);
        a->setShortcuts(keys);
        a->setToolTip(QStringLiteral("%1 (%2)").arg(text, keys.first().toString(QKeySequence::NativeText)));
        // Shortcuts work whichever bar is shown, also while the toolbar is hidden.
        addAction(a);
        connect(a, &QAction::triggered, this, [this, command] {
            if (m_card)
                m_card->CardCommandDispatch(command);
        });
        return a;
    };
    m_first = makeAction(QStringLiteral("首张"), QStyle::SP_MediaSkipBackward, {QKeySequence(Qt::CTRL | Qt::Key_Home)},
                         QStringLiteral("tlbFrist"));
    m_previous = makeAction(QStringLiteral("上张"), QStyle::SP_MediaSeekBackward,
                            {QKeySequence(Qt::Key_PageUp), QKeySequence(Qt::CTRL | Qt::Key_Left)},
                            QStringLiteral("tlbPrevious"));
    m_next = makeAction(QStringLiteral("下张"), QStyle::SP_MediaSeekForward,
                        {QKeySequence(Qt::Key_PageDown), QKeySequence(Qt::CTRL | Qt::Key_Right)},
                        QStringLiteral("tlbNext"));
    m_last = makeAction(QStringLiteral("末张"), QStyle::SP_MediaSkipForward, {QKeySequence(Qt::CTRL | Qt::Key_End)},
                        QStringLiteral("tlbLast"));
    m_toolbar->addSeparator();
    m_refresh = makeAction(QStringLiteral("刷新"), QStyle::SP_BrowserReload, {QKeySequence(Qt::Key_F5)},
                           QStringLiteral("tlbRefresh"));
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

void BrowseWindow::setCaption(const QString &caption)
{
    setWindowTitle(caption);
    m_title->setText(caption);
}

QString BrowseWindow::titleText() const
{
    return m_title->text();
}

void BrowseWindow::setZOrder(int position)
{
    if (position == 0) {
        raise();
        activateWindow();
    } else {
        lower();
    }
}

ToolbarControl &BrowseWindow::toolbar()
{
    return *m_toolbar;
}

CommandBarControl &BrowseWindow::commandBar()
{
    return *m_commandBar;
}

void BrowseWindow::closeEvent(QCloseEvent *event)
{
    // Closed by the user: the card unloads, which detaches this view and closes it (again, which
    // Qt ignores while a close is under way). The card's owner deletes the view later.
    if (auto *card = m_card) {
        if (!card->QueryUnload()) {
            event->ignore();
            return;
        }
        card->Unload();
    }
    event->accept();
}

void BrowseWindow::keyPressEvent(QKeyEvent *event)
{
    if (m_card && m_card->KeyDown(event->key(), event->modifiers()))
        event->accept();
    else
        QMainWindow::keyPressEvent(event);
}

CardControl &BrowseWindow::cardControl()
{
    return *m_control;
}

void BrowseWindow::beep()
{
    QApplication::beep();
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
