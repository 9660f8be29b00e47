#include "VoucherListWindow.h"

#include "ClassicToolbar.h"
#include "CommandBar.h"
#include "CommandLook.h"

#include "HelpWindow.h"
#include "ListColumnsDialog.h"
#include "ListFilterDialog.h"
#include "ListTableModel.h"

#include "common/modPublic.h"
#include "list/ListPrintFormat.h"
#include "list/frmVL_JDYPGL.h"
#include "output/PagedPrinter.h"
#include "output/TableFileWriter.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace {

struct PaperSize
{
    PageSetup::Paper paper;
    QPageSize::PageSizeId id;
};
constexpr PaperSize kPapers[] = {{PageSetup::Paper::A4, QPageSize::A4},
                                 {PageSetup::Paper::A3, QPageSize::A3},
                                 {PageSetup::Paper::A5, QPageSize::A5},
                                 {PageSetup::Paper::Letter, QPageSize::Letter}};

PageSetup setupOf(const QPageLayout &layout)
{
    PageSetup page;
    for (const PaperSize &p : kPapers) {
        if (p.id == layout.pageSize().id())
            page.paper = p.paper;
    }
    page.landscape = layout.orientation() == QPageLayout::Landscape;
    page.marginMm = layout.margins(QPageLayout::Millimeter).left();
    return page;
}

const QList<CommandLook> kCommandKeys = {
    {"Print", QStyle::SP_DialogSaveButton, {QKeySequence(Qt::CTRL | Qt::Key_P)}},
    {"Preview", QStyle::SP_FileDialogContentsView, {}},
    {"Output", QStyle::SP_DriveFDIcon, {QKeySequence(Qt::CTRL | Qt::Key_E)}},
    {"filter", QStyle::SP_FileDialogDetailedView, {QKeySequence(Qt::CTRL | Qt::Key_F)}},
    {"Locate", QStyle::SP_FileDialogStart, {QKeySequence(Qt::CTRL | Qt::Key_L)}},
    {"Find", QStyle::SP_DirOpenIcon, {}},
    {"Refresh", QStyle::SP_BrowserReload, {QKeySequence(Qt::Key_F5)}},
    {"Column", QStyle::SP_FileDialogListView, {}},
    {"Help", QStyle::SP_DialogHelpButton, {QKeySequence(Qt::Key_F1)}},
    {"Exit", QStyle::SP_DialogCloseButton, {QKeySequence(Qt::Key_Escape)}},
};

} // namespace

VoucherListWindow::VoucherListWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_toolbar(new ClassicToolbar(QStringLiteral("工具栏"), this))
    , m_commandBar(new CommandBar(QStringLiteral("命令"), this))
    , m_table(new QTableView)
    , m_model(new ListTableModel(this))
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->horizontalHeader()->setSectionsClickable(true);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 8);
    m_table->installEventFilter(this);
    connect(m_table->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        if (m_list)
            m_list->sortByColumn(section);
    });
    connect(m_table, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        if (m_list && m_model->isVoucherRow(index.row()))
            m_list->ButtonClick(QStringLiteral("Find"));
    });

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_table, 1);
    layout->addWidget(buildPager());
    setCentralWidget(central);
    statusBar()->showMessage(QStringLiteral("就绪"));
    resize(1100, 640);
}

VoucherListWindow::~VoucherListWindow() = default;

QWidget *VoucherListWindow::buildPager()
{
    auto *bar = new QWidget;
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    auto *templateLabel = new QLabel(QStringLiteral("打印模版："));
    m_templates = new QComboBox;
    m_templates->setMinimumWidth(160);
    templateLabel->setBuddy(m_templates);
    row->addWidget(templateLabel);
    row->addWidget(m_templates);
    row->addStretch();

    auto addButton = [&](const char *name, const char *caption) {
        auto *button = new QPushButton(QString::fromUtf8(caption));
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        const QString key = QString::fromLatin1(name);
        connect(button, &QPushButton::clicked, this, [this, key] { pageCommand(key); });
        m_pageButtons.insert(key.toLower(), button);
        return button;
    };
    m_page = new QLineEdit;
    m_page->setObjectName(QStringLiteral("txtPage"));
    m_page->setFixedWidth(60);
    m_size = new QLineEdit;
    m_size->setObjectName(QStringLiteral("txtSize"));
    m_size->setFixedWidth(60);
    m_pages = new QLabel;
    auto *pageLabel = new QLabel(QStringLiteral("转到页："));
    pageLabel->setBuddy(m_page);
    auto *sizeLabel = new QLabel(QStringLiteral("页大小："));
    sizeLabel->setBuddy(m_size);
    row->addWidget(addButton("cmdFirst", "首页"));
    row->addWidget(addButton("cmdPrevious", "上页"));
    row->addWidget(addButton("cmdNext", "下页"));
    row->addWidget(addButton("cmdLast", "末页"));
    row->addWidget(pageLabel);
    row->addWidget(m_page);
    row->addWidget(m_pages);
    row->addWidget(sizeLabel);
    row->addWidget(m_size);
    row->addWidget(addButton("cmdPageOk", "确认"));

    connect(m_size, &QLineEdit::textEdited, this, [this] {
        if (m_list)
            m_list->pageSizeEdited();
    });
    // Leaving a box checks it; a refused text keeps the focus in the box.
    auto validate = [this](QLineEdit *box, bool (frmVL_JDYPGL::*check)()) {
        if (!m_list || m_validating)
            return;
        m_validating = true;
        const bool ok = (m_list->*check)();
        m_validating = false;
        if (!ok) {
            box->setFocus();
            box->selectAll();
        }
    };
    connect(m_page, &QLineEdit::editingFinished, this,
            [this, validate] { validate(m_page, &frmVL_JDYPGL::validatePageBox); });
    connect(m_size, &QLineEdit::editingFinished, this,
            [this, validate] { validate(m_size, &frmVL_JDYPGL::validateSizeBox); });
    connect(m_page, &QLineEdit::returnPressed, this, [this] { pageCommand(QStringLiteral("cmdPageOk")); });
    connect(m_size, &QLineEdit::returnPressed, this, [this] { pageCommand(QStringLiteral("cmdPageOk")); });
    return bar;
}

void VoucherListWindow::pageCommand(const QString &name)
{
    if (!m_list)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_list->pageButton(name);
    QApplication::restoreOverrideCursor();
}

void VoucherListWindow::setButtons(const QList<QPair<QString, QString>> &buttons)
{
    // The command bar joins the toolbar's area; the toolbar style decides which of the two shows.
    addToolBar(m_toolbar);
    addToolBar(m_commandBar);
    for (const auto &[key, caption] : buttons) {
        QAction *action = m_toolbar->addAction(caption);
        action->setObjectName(key);
        applyLook(action, findLook(kCommandKeys, key), caption);
        // Shortcuts work whichever bar is shown, also while the toolbar is hidden.
        addAction(action);
        connect(action, &QAction::triggered, this, [this, k = key] {
            if (!m_list)
                return;
            QApplication::setOverrideCursor(Qt::WaitCursor);
            m_list->ButtonClick(k);
            if (QApplication::overrideCursor())
                QApplication::restoreOverrideCursor();
        });
        m_commands.insert(key.toLower(), action);
    }
}

ToolbarControl &VoucherListWindow::toolbar()
{
    return *m_toolbar;
}

CommandBarControl &VoucherListWindow::commandBar()
{
    return *m_commandBar;
}

void VoucherListWindow::setTemplates(const QStringList &templates)
{
    m_templates->clear();
    m_templates->addItems(templates);
}

void VoucherListWindow::showPage(const ListPage &page)
{
    const int row = std::max(0, m_table->currentIndex().row());
    m_model->setPage(page);
    applyWidths(page);
    m_pages->setText(QStringLiteral("/ %1 页").arg(std::max(page.pageCount, 1)));
    if (m_model->isVoucherRow(0))
        m_table->setCurrentIndex(m_model->index(m_model->isVoucherRow(row) ? row : 0, 0));
}

void VoucherListWindow::applyWidths(const ListPage &page)
{
    for (int k = 0; k < page.columns.size(); ++k) {
        if (page.columns.at(k).width > 0)
            m_table->setColumnWidth(k, page.columns.at(k).width);
    }
}

int VoucherListWindow::currentRow() const
{
    const int row = m_table->currentIndex().row();
    return m_model->isVoucherRow(row) ? row : -1;
}

QString VoucherListWindow::pageText() const
{
    return m_page->text();
}

void VoucherListWindow::setPageText(const QString &text)
{
    m_page->setText(text);
}

QString VoucherListWindow::sizeText() const
{
    return m_size->text();
}

void VoucherListWindow::setSizeText(const QString &text)
{
    m_size->setText(text);
}

void VoucherListWindow::setPagingEnabled(bool enabled)
{
    m_page->setEnabled(enabled);
    for (const char *name : {"cmdfirst", "cmdprevious", "cmdnext", "cmdlast"})
        m_pageButtons.value(QString::fromLatin1(name))->setEnabled(enabled);
}

void VoucherListWindow::setStatus(const QString &text)
{
    statusBar()->showMessage(text);
}

QString VoucherListWindow::statusText() const
{
    return statusBar()->currentMessage();
}

void VoucherListWindow::showWindow()
{
    show();
    m_table->setFocus();
}

void VoucherListWindow::raiseWindow()
{
    raise();
    activateWindow();
}

void VoucherListWindow::closeWindow()
{
    // Unloaded by the list: nothing is to be told back.
    m_list = nullptr;
    close();
}

void VoucherListWindow::closeEvent(QCloseEvent *event)
{
    if (auto *list = m_list) {
        m_list = nullptr;
        list->Unload();
    }
    event->accept();
}

bool VoucherListWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_table && event->type() == QEvent::KeyPress && m_list) {
        auto *key = static_cast<QKeyEvent *>(event);
        const int row = m_table->currentIndex().row();
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            m_list->ButtonClick(QStringLiteral("Find"));
            return true;
        }
        const int last = int(m_model->page().rows.rows.size()) - 1;
        if (key->key() == Qt::Key_PageDown && row >= last && m_model->page().page < m_model->page().pageCount) {
            pageCommand(QStringLiteral("cmdNext"));
            m_table->setCurrentIndex(m_model->index(0, 0));
            return true;
        }
        if (key->key() == Qt::Key_PageUp && row <= 0 && m_model->page().page > 1) {
            pageCommand(QStringLiteral("cmdPrevious"));
            m_table->setCurrentIndex(m_model->index(std::max(0, int(m_model->page().rows.rows.size()) - 1), 0));
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

std::optional<QList<FilterValue>> VoucherListWindow::askFilter(const QList<FilterItem> &items,
                                                               const QList<FilterValue> &current)
{
    ListFilterDialog dialog(items, current, this);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.values();
}

std::optional<QList<ListColumn>> VoucherListWindow::askColumns(const QList<ListColumn> &columns)
{
    ListColumnsDialog dialog(columns, this);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.columns();
}

void VoucherListWindow::locate()
{
    bool ok = false;
    const QString text
        = QInputDialog::getText(this, QStringLiteral("定位"), QStringLiteral("查找内容："), QLineEdit::Normal, {}, &ok)
              .trimmed();
    if (!ok || text.isEmpty())
        return;
    const ListPage &page = m_model->page();
    const int start = std::max(0, m_table->currentIndex().row() + 1);
    const int rows = int(page.rows.rows.size());
    for (int step = 0; step < rows; ++step) {
        const int row = (start + step) % rows;
        for (int column = 0; column < page.columns.size(); ++column) {
            if (page.text(row, column).contains(text, Qt::CaseInsensitive)) {
                m_table->setCurrentIndex(m_model->index(row, column));
                setStatus(QStringLiteral("已定位到第 %1 行").arg(row + 1));
                return;
            }
        }
    }
    setStatus(QStringLiteral("本页没有找到“%1”").arg(text));
}

void VoucherListWindow::render(const OutputDocumentMaker &document, QPrinter &printer)
{
    OutputDocument doc = document();
    auto printed = PagedPrinter::print(doc, printer);
    if (!printed)
        modPublic::ShowInfo(QStringLiteral("打印失败：") + printed.error());
}

QString VoucherListWindow::print(const OutputDocumentMaker &document, const QString &printFormat, bool preview)
{
    const PageSetup setup = ListPrintFormat::fromText(printFormat);
    if (!m_printTarget.isEmpty()) {
        OutputDocument doc = document();
        auto pages = PagedPrinter::writePdf(doc, m_printTarget, setup);
        if (!pages) {
            modPublic::ShowInfo(QStringLiteral("打印失败：") + pages.error());
            return printFormat;
        }
        setStatus(QStringLiteral("已打印 %1 页到 %2").arg(*pages).arg(m_printTarget));
        return ListPrintFormat::toText(setup);
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(PagedPrinter::pageLayout(setup));
    printer.setDocName(windowTitle());
    if (preview) {
        QPrintPreviewDialog dialog(&printer, this);
        dialog.setWindowTitle(QStringLiteral("打印预览 - ") + windowTitle());
        connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
                [this, &document](QPrinter *p) { render(document, *p); });
        dialog.exec();
    } else {
        QPrintDialog dialog(&printer, this);
        dialog.setWindowTitle(QStringLiteral("打印"));
        if (dialog.exec() != QDialog::Accepted)
            return printFormat;
        render(document, printer);
        setStatus(QStringLiteral("已送往打印机"));
    }
    return ListPrintFormat::toText(setupOf(printer.pageLayout()));
}

void VoucherListWindow::exportRows(const OutputDocumentMaker &document)
{
    QString path = m_exportTarget;
    if (path.isEmpty()) {
        QString chosen;
        path = QFileDialog::getSaveFileName(this, QStringLiteral("输出"), windowTitle() + QStringLiteral(".xlsx"),
                                            QStringLiteral("Excel 工作簿 (*.xlsx);;CSV 文件 (*.csv)"), &chosen);
        if (path.isEmpty())
            return;
        if (QFileInfo(path).suffix().isEmpty())
            path += chosen.contains(QLatin1String("csv")) ? QStringLiteral(".csv") : QStringLiteral(".xlsx");
    }
    OutputDocument doc = document();
    if (writeFile(doc, path))
        setStatus(QStringLiteral("已输出 %1 条记录到 %2").arg(m_model->page().totalRows).arg(path));
}

bool VoucherListWindow::writeFile(OutputDocument &document, const QString &path)
{
    const qint64 total = m_model->page().totalRows;
    QProgressDialog progress(QStringLiteral("正在输出…"), QStringLiteral("取消"), 0,
                             int(std::min<qint64>(total, INT_MAX)), this);
    progress.setWindowTitle(QStringLiteral("输出"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    const OutputProgress report = [&progress](qint64 done) {
        progress.setValue(int(std::min<qint64>(done, progress.maximum())));
        QApplication::processEvents();
        return !progress.wasCanceled();
    };
    const bool csv = QFileInfo(path).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0;
    auto written
        = csv ? TableFileWriter::writeCsv(document, path, report) : TableFileWriter::writeXlsx(document, path, report);
    progress.reset();
    if (!written) {
        if (progress.wasCanceled())
            setStatus(QStringLiteral("输出已取消"));
        else
            modPublic::ShowInfo(QStringLiteral("输出失败：") + written.error());
        return false;
    }
    return true;
}

void VoucherListWindow::showHelp()
{
    HelpWindow::showTopic(QStringLiteral("voucher-list.md"), this);
}
