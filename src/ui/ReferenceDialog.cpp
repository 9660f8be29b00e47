#include "ReferenceDialog.h"

#include "ReferenceColumnCaptions.h"

#include "host/ReferenceListService.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int defaultSearchDelay = 300; // ms

QString dialogTitle(const QString &kind)
{
    static const QHash<QString, QString> titles{
        {QStringLiteral("department"), QStringLiteral("部门参照")},
        {QStringLiteral("person"), QStringLiteral("职员参照")},
        {QStringLiteral("vendor"), QStringLiteral("供应商参照")},
        {QStringLiteral("customer"), QStringLiteral("客户参照")},
        {QStringLiteral("inventory"), QStringLiteral("存货参照")},
        {QStringLiteral("UserdefFree"), QStringLiteral("自由项参照")},
    };
    return titles.value(kind, QStringLiteral("参照"));
}

// A column name of the request without its table alias ("i.cInvCode" -> "cInvCode").
QString bareColumn(const QString &column)
{
    return column.section(QLatin1Char('.'), -1).trimmed();
}

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

ReferenceDialog::ReferenceDialog(QWidget *parent)
    : QDialog(parent)
    , m_search(new QLineEdit(this))
    , m_table(new QTableWidget(this))
    , m_previous(new QPushButton(QStringLiteral("上一页"), this))
    , m_next(new QPushButton(QStringLiteral("下一页"), this))
    , m_pageLabel(new QLabel(this))
    , m_message(new QLabel(this))
    , m_searchTimer(new QTimer(this))
{
    m_search->setPlaceholderText(QStringLiteral("输入编码或名称的开头"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setTabKeyNavigation(false);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_message->setWordWrap(true);
    m_message->setStyleSheet(QStringLiteral("color: #b00000"));
    m_message->hide();
    auto *ok = new QPushButton(QStringLiteral("确定"), this);
    auto *cancel = new QPushButton(QStringLiteral("取消"), this);
    // Enter is the dialog's own key (see handleKey); no button takes it.
    for (QPushButton *button : {m_previous, m_next, ok, cancel})
        button->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_previous);
    buttons->addWidget(m_next);
    buttons->addWidget(m_pageLabel);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_search);
    layout->addWidget(m_table);
    layout->addWidget(m_message);
    layout->addLayout(buttons);
    resize(640, 420);

    m_searchTimer->setSingleShot(true);
    m_searchTimer->setInterval(defaultSearchDelay);
    connect(m_searchTimer, &QTimer::timeout, this, &ReferenceDialog::searchNow);
    connect(m_search, &QLineEdit::textEdited, m_searchTimer, qOverload<>(&QTimer::start));
    connect(m_previous, &QPushButton::clicked, this, [this] { turnPage(-1); });
    connect(m_next, &QPushButton::clicked, this, [this] { turnPage(1); });
    connect(ok, &QPushButton::clicked, this, &ReferenceDialog::choose);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_table, &QTableWidget::doubleClicked, this, &ReferenceDialog::choose);
    connect(m_table->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (value > 0 && value == m_table->verticalScrollBar()->maximum())
            appendPage();
    });
    m_search->installEventFilter(this);
    m_table->installEventFilter(this);
}

ReferenceDialog::~ReferenceDialog()
{
    if (current() == this)
        install(nullptr);
}

void ReferenceDialog::installShared()
{
    static QPointer<ReferenceDialog> shared;
    if (!shared) {
        shared = new ReferenceDialog;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, shared.data(), &QObject::deleteLater);
    }
    install(shared.data());
}

void ReferenceDialog::setSearchDelay(int ms)
{
    m_searchTimer->setInterval(ms);
}

bool ReferenceDialog::pick(ReferenceListService &service, const ReferenceListRequest &request, bool multiSelect,
                           Recordset &chosen)
{
    reset(service, request, multiSelect);
    m_firstPage = 0;
    load(0);
    // The dialog has no parent (it outlives the windows that open it), so it is centred over the
    // window that asked instead.
    if (const QWidget *owner = QApplication::activeWindow(); owner && owner != this)
        move(owner->geometry().center() - rect().center());
    m_search->setFocus();
    const bool picked = exec() == QDialog::Accepted && !m_chosen.isEmpty();
    if (picked)
        chosen = std::move(m_chosen);
    // The service is the caller's and goes with this call: nothing may read from it afterwards.
    m_searchTimer->stop();
    m_more = false;
    m_service = nullptr;
    m_chosen = Recordset();
    return picked;
}

void ReferenceDialog::reset(ReferenceListService &service, const ReferenceListRequest &request, bool multiSelect)
{
    m_service = &service;
    m_request = request;
    m_multiSelect = multiSelect;
    m_marks.clear();
    m_fields.clear();
    m_chosen = Recordset();
    m_searchTimer->stop();
    m_search->setText(request.search);
    m_table->setSelectionMode(multiSelect ? QAbstractItemView::MultiSelection : QAbstractItemView::SingleSelection);
    setWindowTitle(dialogTitle(request.kind));
}

// Reads a page of the current search and shows it alone, or below the rows on show when appending;
// a failed read empties the table and says why.
void ReferenceDialog::load(int pageIndex, bool append)
{
    if (!m_service)
        return;
    ReferenceListRequest request = m_request;
    request.pageIndex = qMax(0, pageIndex);
    auto page = m_service->page(request);
    m_request.pageIndex = request.pageIndex;
    if (!page) {
        m_rows = Recordset();
        m_firstPage = m_request.pageIndex;
        m_more = false;
        m_message->setText(QStringLiteral("参照数据读取失败，请检查！\n") + page.error());
        m_message->show();
        showRows(0);
        return;
    }
    m_message->hide();
    m_more = page->more;
    if (m_fields.isEmpty())
        m_fields = page->rows.fields();
    if (!append || m_rows.fieldCount() == 0) {
        m_rows = std::move(page->rows);
        m_firstPage = m_request.pageIndex;
        showRows(0);
        return;
    }
    // The view stays where it was: the new rows come in below it.
    const int current = m_table->currentRow();
    const int scrolled = m_table->verticalScrollBar()->value();
    rememberMarks();
    for (int row = 0; row < page->rows.RecordCount(); ++row)
        m_rows.appendRow(page->rows.row(row));
    showRows(current);
    m_table->verticalScrollBar()->setValue(scrolled);
}

// Fills the table with m_rows: the code, name and third search columns first, the others after
// them; marked rows of a multiple pick are marked again, currentRow is current.
void ReferenceDialog::showRows(int currentRow)
{
    const QSignalBlocker filling(m_table->verticalScrollBar());
    m_codeColumn = m_rows.fieldIndex(bareColumn(m_request.codeColumn));
    m_columns.clear();
    for (const QString &searched : {m_request.codeColumn, m_request.nameColumn, m_request.thirdColumn}) {
        const int column = searched.isEmpty() ? -1 : m_rows.fieldIndex(bareColumn(searched));
        if (column >= 0 && !m_columns.contains(column))
            m_columns << column;
    }
    for (int column = 0; column < m_rows.fieldCount(); ++column) {
        if (!m_columns.contains(column))
            m_columns << column;
    }

    m_table->clear();
    m_table->setColumnCount(int(m_columns.size()));
    m_table->setRowCount(m_rows.RecordCount());
    QStringList captions;
    for (int column : m_columns)
        captions << referenceColumnCaption(m_rows.fields().at(column).name);
    m_table->setHorizontalHeaderLabels(captions);
    // Columns the user has no name for stay out of sight; the code and name columns always show.
    for (int c = 0; c < m_columns.size(); ++c)
        m_table->setColumnHidden(c, captions[c].isEmpty() && m_columns[c] != m_codeColumn);
    for (int row = 0; row < m_rows.RecordCount(); ++row) {
        for (int c = 0; c < m_columns.size(); ++c)
            m_table->setItem(row, c, new QTableWidgetItem(m_rows.value(row, m_columns[c]).toString()));
        if (m_multiSelect && m_marks.contains(rowCode(row)))
            m_table->selectionModel()->select(m_table->model()->index(row, 0),
                                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    setCurrentRow(currentRow);

    m_previous->setEnabled(m_firstPage > 0);
    m_next->setEnabled(m_more);
    const int first = m_firstPage + 1;
    const int last = m_request.pageIndex + 1;
    m_pageLabel->setText(!m_request.multiPage ? QString()
                         : first == last      ? QStringLiteral("第 %1 页").arg(first)
                                              : QStringLiteral("第 %1-%2 页").arg(first).arg(last));
    m_previous->setVisible(m_request.multiPage);
    m_next->setVisible(m_request.multiPage);
}

void ReferenceDialog::searchNow()
{
    m_searchTimer->stop();
    rememberMarks();
    m_request.search = m_search->text();
    load(0);
}

// The page after the last one on show, or the one before the first.
void ReferenceDialog::turnPage(int step)
{
    if ((step > 0 && !m_more) || (step < 0 && m_firstPage == 0))
        return;
    rememberMarks();
    load(step > 0 ? m_request.pageIndex + 1 : m_firstPage - 1);
}

// Reading on at the end of the list: the next page comes in below the rows on show.
void ReferenceDialog::appendPage()
{
    if (m_more)
        load(m_request.pageIndex + 1, true);
}

// Brings the marks of the page on show into m_marks, so that they survive turning the page.
void ReferenceDialog::rememberMarks()
{
    if (!m_multiSelect)
        return;
    for (int row = 0; row < m_rows.RecordCount(); ++row) {
        const QString code = rowCode(row);
        if (m_table->selectionModel()->isRowSelected(row))
            m_marks.insert(code, m_rows.row(row));
        else
            m_marks.remove(code);
    }
}

// Accepts with the marked rows (in code order), or with the current row when none is marked.
void ReferenceDialog::choose()
{
    if (m_searchTimer->isActive())
        searchNow();
    rememberMarks();
    m_chosen = Recordset();
    m_chosen.setFields(m_fields);
    for (const QVariantList &row : std::as_const(m_marks))
        m_chosen.appendRow(row);
    const int current = m_table->currentRow();
    if (m_chosen.isEmpty() && current >= 0 && current < m_rows.RecordCount())
        m_chosen.appendRow(m_rows.row(current));
    if (m_chosen.isEmpty()) {
        QApplication::beep();
        return;
    }
    accept();
}

// A multiple pick marks rows only on request; a single pick selects the current row.
void ReferenceDialog::setCurrentRow(int row)
{
    if (row < 0 || row >= m_table->rowCount())
        return;
    const auto command = m_multiSelect ? QItemSelectionModel::NoUpdate
                                       : QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    m_table->selectionModel()->setCurrentIndex(m_table->model()->index(row, 0), command);
}

QString ReferenceDialog::rowCode(int row) const
{
    return m_codeColumn < 0 ? QString::number(row) : m_rows.value(row, m_codeColumn).toString();
}

bool ReferenceDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
            if (handleKey(watched, key->key()))
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// The dialog's keys in the search box and the table; false leaves the key to the widget.
bool ReferenceDialog::handleKey(QObject *watched, int key)
{
    if (isEnter(key)) {
        choose();
        return true;
    }
    if (key == Qt::Key_PageDown || key == Qt::Key_PageUp) {
        if (m_searchTimer->isActive())
            searchNow();
        turnPage(key == Qt::Key_PageDown ? 1 : -1);
        return true;
    }
    if (watched == m_search && key == Qt::Key_Down) {
        if (m_searchTimer->isActive())
            searchNow();
        // The first Down already moves the selection: the row shown current is where the search
        // left off, the one below is where the user is heading.
        if (m_table->rowCount() > 0) {
            m_table->setFocus();
            const int row = m_table->currentRow();
            setCurrentRow(row < 0 ? 0 : qMin(row + 1, m_table->rowCount() - 1));
        }
        return true;
    }
    if (watched == m_table && key == Qt::Key_Down && m_table->currentRow() == m_table->rowCount() - 1 && m_more) {
        appendPage();
        setCurrentRow(m_table->currentRow() + 1);
        return true;
    }
    if (watched == m_table && key == Qt::Key_Up && m_table->currentRow() <= 0) {
        m_search->setFocus();
        return true;
    }
    return false;
}
