#include "SampleCardWindow.h"

#include "CommandLook.h"

#include "ClassicToolbar.h"
#include "HelpWindow.h"
#include "CommandBar.h"
#include "StructureTreePane.h"
#include "TemplateChooser.h"
#include "VoucherCardWidget.h"

#include "card/CardCommands.h"
#include "card/StructureNodeClick.h"
#include "card/FieldEditHandler.h"
#include "card/frmManageSample.h"
#include "common/modPublic.h"
#include "host/TemplateService.h"
#include "host/clsLogin.h"
#include "platform/Connection.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QScopeGuard>
#include <QSplitter>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Shortcuts of the commands. Esc (exit), Ctrl+F4 and Ctrl+P are the card's own keys; the rest
// avoid the keys the line editors use themselves (copy, paste, undo, word deletion).
const QList<CommandLook> &commandLooks()
{
    static const QList<CommandLook> looks{
        {"tlbSetting", QStyle::SP_FileDialogDetailedView, {QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S)}},
        {"tlbPrint", QStyle::SP_DialogSaveButton, {}},
        {"tlbPreview", QStyle::SP_FileDialogContentsView, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)}},
        {"tlbSend", QStyle::SP_ArrowRight, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E)}},
        {"tlbAdd", QStyle::SP_FileIcon, {QKeySequence(Qt::CTRL | Qt::Key_N), QKeySequence(Qt::Key_F3)}},
        {"tlbEdit", QStyle::SP_FileDialogStart, {QKeySequence(Qt::CTRL | Qt::Key_E), QKeySequence(Qt::Key_F4)}},
        {"tlbCopy", QStyle::SP_FileLinkIcon, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N)}},
        {"tlbDel", QStyle::SP_TrashIcon, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D)}},
        {"tlbSave", QStyle::SP_DialogApplyButton, {QKeySequence(Qt::CTRL | Qt::Key_S), QKeySequence(Qt::Key_F12)}},
        {"tlbCancel", QStyle::SP_DialogCancelButton, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_X)}},
        {"tlbAddLine", QStyle::SP_FileDialogNewFolder, {QKeySequence(Qt::ALT | Qt::Key_Insert)}},
        {"tlbDelLine", QStyle::SP_DialogDiscardButton, {QKeySequence(Qt::ALT | Qt::Key_Delete)}},
        {"tlbPic", QStyle::SP_DesktopIcon, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G)}},
        {"tlbAccessory", QStyle::SP_DirIcon, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A)}},
        {"tlbGet", QStyle::SP_ArrowDown, {QKeySequence(Qt::Key_F6)}},
        {"tlbVerify", QStyle::SP_DialogYesButton, {QKeySequence(Qt::Key_F7)}},
        {"tlbDisVerify", QStyle::SP_DialogNoButton, {QKeySequence(Qt::Key_F8)}},
        {"tlbSaveBom", QStyle::SP_BrowserReload, {QKeySequence(Qt::Key_F9)}},
        // The plain keys page the body grid while it has the focus; the Alt ones move everywhere.
        {"tlbFrist",
         QStyle::SP_MediaSkipBackward,
         {QKeySequence(Qt::CTRL | Qt::Key_Home), QKeySequence(Qt::ALT | Qt::Key_Home)}},
        {"tlbPrevious",
         QStyle::SP_MediaSeekBackward,
         {QKeySequence(Qt::Key_PageUp), QKeySequence(Qt::ALT | Qt::Key_PageUp)}},
        {"tlbNext",
         QStyle::SP_MediaSeekForward,
         {QKeySequence(Qt::Key_PageDown), QKeySequence(Qt::ALT | Qt::Key_PageDown)}},
        {"tlbLast",
         QStyle::SP_MediaSkipForward,
         {QKeySequence(Qt::CTRL | Qt::Key_End), QKeySequence(Qt::ALT | Qt::Key_End)}},
        {"tlbLocal", QStyle::SP_FileDialogListView, {QKeySequence(Qt::CTRL | Qt::Key_F)}},
        {"tlbRefresh", QStyle::SP_BrowserReload, {QKeySequence(Qt::Key_F5)}},
        {"tlbHelp", QStyle::SP_DialogHelpButton, {QKeySequence(Qt::Key_F1)}},
        {"tlbExit", QStyle::SP_DialogCloseButton, {}},
    };
    return looks;
}

} // namespace

SampleCardWindow::SampleCardWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_toolbar(new ClassicToolbar(QStringLiteral("工具栏"), this))
    , m_commandBar(new CommandBar(QStringLiteral("命令"), this))
    , m_title(new QLabel(this))
    , m_status(new QLabel(this))
    , m_session(new QLabel(this))
    , m_showTemplate(new TemplateChooser(QStringLiteral("ComTemplateShow"), this))
    , m_printTemplate(new TemplateChooser(QStringLiteral("ComTemplatePRN"), this))
    , m_tree(new StructureTreePane(this))
    , m_control(new VoucherCardWidget(this))
{
    resize(1200, 760);
    buildToolbar();

    auto *splitter = new QSplitter(this);
    splitter->addWidget(m_tree);
    splitter->addWidget(m_control);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 980});

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(buildTop());
    layout->addWidget(splitter, 1);
    setCentralWidget(central);
    m_session->setObjectName(QStringLiteral("sessionLabel"));
    statusBar()->addPermanentWidget(m_session);

    m_control->setTemplateSource([this](int templateId) { return templateFor(templateId); });
    // The parent-item fields are filled by their list; the expand flags offer 是 and 否.
    m_control->setKeyFilter([](const QString &field, int key) {
        const int code = key == Qt::Key_Return || key == Qt::Key_Enter ? 13 : key == Qt::Key_Backspace ? 8 : key;
        return FieldEditHandler::acceptsHeadKey(field, code);
    });
    m_control->setChoiceSource([](const QString &field) { return FieldEditHandler::choiceItems(field, {}); });
    // Switching the display template is a choice the user makes while editing.
    connect(m_showTemplate, &QComboBox::activated, this, [this] {
        if (m_card && m_control->EditState() != CardControl::Viewing)
            m_card->SwitchShowTemplate();
    });
    connect(m_control, &VoucherCardWidget::numberingRequested, this, [this] {
        if (m_card)
            m_card->RefreshVoucherCode();
    });
    connectFieldEdits();
    connectStructureTree();
    connect(m_control, &VoucherCardWidget::printFinished, this, &SampleCardWindow::showStatus);
    connect(m_control, &VoucherCardWidget::documentsLoaded, this, &SampleCardWindow::updateStatus);
    connect(m_control, &VoucherCardWidget::editStateChanged, this, &SampleCardWindow::updateStatus);
}

SampleCardWindow::~SampleCardWindow() = default;

void SampleCardWindow::connectFieldEdits()
{
    // Cell checks, references and row events are the card logic's to answer.
    connect(m_control, &VoucherCardWidget::headCellCheck, this,
            [this](const QString &field, QString &value, int &result) {
                if (m_card)
                    m_card->fieldEdits().headCellCheck(field, value, result);
            });
    connect(m_control, &VoucherCardWidget::bodyCellCheck, this,
            [this](const QString &field, QString &value, int row, int &result) {
                if (m_card)
                    m_card->fieldEdits().bodyCellCheck(field, value, row, result);
            });
    connect(m_control, &VoucherCardWidget::headReferenceRequested, this, [this](const QString &field) {
        if (m_card)
            m_card->fieldEdits().headReference(field);
    });
    connect(m_control, &VoucherCardWidget::bodyReferenceRequested, this, [this](const QString &field, int row) {
        if (m_card)
            m_card->fieldEdits().bodyReference(field, row);
    });
    connect(m_control, &VoucherCardWidget::rowAdded, this, [this](int row) {
        if (m_card)
            m_card->fieldEdits().rowAdded(row);
    });
    connect(m_control, &VoucherCardWidget::currentRowChanged, this, [this](int row) {
        if (m_card)
            m_card->fieldEdits().rowChanged(row);
    });
}

void SampleCardWindow::connectStructureTree()
{
    // The tree reads through the engine's connection once the card has one.
    m_tree->setConnectionSource([this]() -> Connection * {
        if (m_card && m_card->engine().connection().isOpen())
            return &m_card->engine().connection();
        return connection();
    });
    connect(m_tree, &StructureTreePane::nodeChosen, this, [this](const QString &tag) {
        m_control->commitPendingEntry();
        if (m_card)
            StructureNodeClick(*m_card, m_card->structureWork()).click(tag);
    });
    // Alt+T moves to the tree; arrows walk it, Enter opens the node.
    auto *toTree = new QAction(QStringLiteral("样品结构"), this);
    toTree->setObjectName(QStringLiteral("focusStructureTree"));
    toTree->setShortcut(QKeySequence(Qt::ALT | Qt::Key_T));
    connect(toTree, &QAction::triggered, m_tree, [this] { m_tree->setFocus(Qt::ShortcutFocusReason); });
    addAction(toTree);
}

void SampleCardWindow::buildToolbar()
{
    addToolBar(m_toolbar);
    // The command bar joins the toolbar's area; the toolbar style decides which of the two shows.
    addToolBar(m_commandBar);
    for (const CardCommand &command : CardCommands::toolbar()) {
        if (command.separator) {
            m_toolbar->addSeparator()->setObjectName(command.key);
            continue;
        }
        auto *a = m_toolbar->addAction(command.caption);
        a->setObjectName(command.key);
        applyLook(a, findLook(commandLooks(), command.key), command.caption);
        // Shortcuts work whichever bar is shown, also while the toolbar is hidden.
        addAction(a);
        if (command.key.compare(QLatin1String("tlbPrint"), Qt::CaseInsensitive) == 0)
            addPrintMenu(a);
        const QString key = command.key;
        connect(a, &QAction::triggered, this, [this, key] {
            m_control->commitPendingEntry();
            dispatch(key);
        });
    }
}

void SampleCardWindow::addPrintMenu(QAction *print)
{
    // The print button keeps printing when clicked; its arrow offers the other ways to print.
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("printMenu"));
    for (const CardMenuItem &item : CardCommands::printMenu()) {
        QAction *entry = menu->addAction(item.caption);
        entry->setObjectName(item.key);
        const QString key = item.key;
        connect(entry, &QAction::triggered, this, [this, key] {
            m_control->commitPendingEntry();
            if (m_card && m_control->EditState() == CardControl::Viewing)
                m_card->PrintMenuClick(key);
        });
    }
    print->setMenu(menu);
    if (auto *button = qobject_cast<QToolButton *>(m_toolbar->widgetForAction(print)))
        button->setPopupMode(QToolButton::MenuButtonPopup);
}

QWidget *SampleCardWindow::buildTop()
{
    auto *top = new QWidget(this);
    auto *row = new QHBoxLayout(top);
    row->setContentsMargins(0, 0, 0, 0);
    m_title->setObjectName(QStringLiteral("lblTitle"));
    QFont f = m_title->font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    m_title->setFont(f);
    m_title->setAlignment(Qt::AlignCenter);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setMargin(4);
    m_printTemplate->hide();
    row->addWidget(m_showTemplate);
    row->addWidget(m_printTemplate);
    row->addWidget(m_title, 1);
    row->addWidget(m_status);
    return top;
}

void SampleCardWindow::dispatch(const QString &key)
{
    if (!m_card)
        return;
    // Set at once, shown by the windowing system only once the action has taken long enough to
    // let it draw; message boxes inside the action show the ordinary pointer.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    statusBar()->clearMessage();
    m_card->CardCommandDispatch(key);
}

void SampleCardWindow::showStatus(const QString &text)
{
    statusBar()->showMessage(text);
}

QString SampleCardWindow::statusBarText() const
{
    return statusBar()->currentMessage();
}

QString SampleCardWindow::sessionText() const
{
    return m_session->text();
}

void SampleCardWindow::updateStatus()
{
    const int state = m_control->EditState();
    QString text;
    QString colour;
    if (state == CardControl::AddingVoucher) {
        text = QStringLiteral("新增");
        colour = QStringLiteral("#1d5fb4");
    } else if (state == CardControl::EditingVoucher) {
        text = QStringLiteral("修改");
        colour = QStringLiteral("#1d5fb4");
    } else if (m_control->headerText(QStringLiteral("iautoid")).isEmpty()) {
        text = QStringLiteral("没有单据");
        colour = QStringLiteral("#777777");
    } else if (!m_control->headerText(QStringLiteral("ccloser")).trimmed().isEmpty()) {
        text = QStringLiteral("已关闭");
        colour = QStringLiteral("#555555");
    } else if (!m_control->headerText(QStringLiteral("chandler")).trimmed().isEmpty()) {
        text = QStringLiteral("已审核");
        colour = QStringLiteral("#2e7d32");
    } else {
        text = QStringLiteral("未审核");
        colour = QStringLiteral("#b26a00");
    }
    m_status->setText(text);
    m_status->setStyleSheet(
        QStringLiteral("QLabel { color: white; background: %1; border-radius: 4px; font-weight: bold; }").arg(colour));
}

QString SampleCardWindow::statusText() const
{
    return m_status->text();
}

Connection *SampleCardWindow::connection()
{
    if (!m_cnn) {
        const auto login = modPublic::cardLogin();
        if (!login)
            return nullptr;
        auto cnn = std::make_unique<Connection>();
        if (!cnn->Open(login->ConnectionString()))
            return nullptr;
        m_cnn = std::move(cnn);
    }
    return m_cnn.get();
}

CardTemplate SampleCardWindow::templateFor(int templateId)
{
    Connection *cnn = connection();
    if (!cnn)
        return {};
    // The card has filled the choosers with the templates the user may use.
    if (!m_showTemplate->choose(templateId) && m_showTemplate->count() > 0)
        m_showTemplate->setCurrentIndex(0);
    const int chosen = m_showTemplate->chosenId();
    if (chosen == 0 || chosen == m_control->cardTemplate().id)
        return {};
    return TemplateService(*cnn).displayTemplate(chosen).value_or({});
}

void SampleCardWindow::setCaption(const QString &caption)
{
    setWindowTitle(caption);
    m_title->setText(caption);
}

QString SampleCardWindow::titleText() const
{
    return m_title->text();
}

QAction *SampleCardWindow::command(const QString &key) const
{
    for (QAction *a : m_toolbar->actions()) {
        if (a->objectName().compare(key, Qt::CaseInsensitive) == 0)
            return a;
    }
    return nullptr;
}

void SampleCardWindow::setZOrder(int position)
{
    if (position == 0) {
        raise();
        activateWindow();
    } else {
        lower();
    }
}

ToolbarControl &SampleCardWindow::toolbar()
{
    return *m_toolbar;
}

CommandBarControl &SampleCardWindow::commandBar()
{
    return *m_commandBar;
}

CardControl &SampleCardWindow::cardControl()
{
    return *m_control;
}

CardStructureTree &SampleCardWindow::structureTree()
{
    return *m_tree;
}

TemplateComboControl &SampleCardWindow::showTemplate()
{
    return *m_showTemplate;
}

TemplateComboControl &SampleCardWindow::printTemplate()
{
    return *m_printTemplate;
}

void SampleCardWindow::beep()
{
    QApplication::beep();
}

void SampleCardWindow::showHelp()
{
    HelpWindow::showTopic(QStringLiteral("card-window.md"), this);
}

void SampleCardWindow::setCard(frmManageSample *card)
{
    m_card = card;
    // Who works on which database (never the password), for as long as the window is open.
    const auto login = modPublic::cardLogin();
    if (!card || !login)
        return;
    const auto where = ConnectionString::parse(login->ConnectionString());
    const QString full = where ? where->toString() : QString();
    // A SQLite database by its file name (the folder is in the tooltip): paths are long and say
    // little at a glance.
    const QString database = where && where->backend == Backend::Sqlite ? QFileInfo(where->path).fileName() : full;
    m_session->setText(QStringLiteral("用户：%1    数据库：%2").arg(login->UserName(), database));
    m_session->setToolTip(full);
}

void SampleCardWindow::closeEvent(QCloseEvent *event)
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

void SampleCardWindow::keyPressEvent(QKeyEvent *event)
{
    if (m_card && m_card->KeyDown(event->key(), event->modifiers()))
        event->accept();
    else
        QMainWindow::keyPressEvent(event);
}
