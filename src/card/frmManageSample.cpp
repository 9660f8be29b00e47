#include "frmManageSample.h"

#include "CardCommands.h"
#include "CardControl.h"
#include "CardStructureCommands.h"
#include "CardStructureTree.h"
#include "CardStructureWork.h"
#include "CardView.h"
#include "FieldEditHandler.h"
#include "TemplateComboControl.h"
#include "VoucherLoader.h"

#include "common/MessageService.h"
#include "entry/clsVL_JDYPGLMain.h"
#include "entry/clsVL_JDYPGLParam.h"
#include "entry/clsVoucherGetInfo.h"
#include "entry/clsVoucherShowParameter.h"
#include "host/DataPermissionService.h"
#include "host/ToolbarControl.h"
#include "host/VoucherNumberService.h"
#include "host/clsLogin.h"
#include "sample/clsManageSample.h"

#include <QSet>

namespace {

// The colour behind the card's items.
constexpr int kCardBackColour = 14737632;

} // namespace

frmManageSample::frmManageSample(std::shared_ptr<CardView> view, const QString &cardNumber)
    : m_view(std::move(view))
    , m_commandState(m_state, {m_view->toolbar(), m_view->commandBar(), m_view->showTemplate(), m_view->printTemplate(),
                               m_view->cardControl()})
    , m_permission(std::make_shared<DataPermissionService>())
    , m_fieldEdits(std::make_unique<FieldEditHandler>(*this))
{
    m_state.strCardNumber = cardNumber;
    m_structureWork = std::make_shared<CardStructureWork>(*this);
    m_structure = m_structureWork;
    m_fieldEdits->setHooks(m_structureWork);
    modPublic::ApplyToolbarStyle(m_view->innerWidth(), m_view->toolbar(), m_view->commandBar());
    m_commandState.setToolbarStyle(modPublic::GetToolbarStyle());
    m_view->cardControl().setBackColor(kCardBackColour);
    modPublic::SetCardDataSource(*m_view);
}

frmManageSample::~frmManageSample() = default;

CardControl &frmManageSample::control() const
{
    return m_view->cardControl();
}

void frmManageSample::setDataPermission(std::shared_ptr<DataPermission> permission)
{
    m_permission = std::move(permission);
}

void frmManageSample::setStructureCommands(std::shared_ptr<CardStructureCommands> commands)
{
    m_structure = std::move(commands);
}

bool frmManageSample::ShowVoucher(std::shared_ptr<Connection> &DBConn, std::shared_ptr<clsLogin> &mLogin,
                                  const QVariant &vVouchID, const QString &VtidField, QString &ErrMsg,
                                  qint16 &sMoveVouchOpe)
{
    m_state.strMsgTitle = QStringLiteral("销售管理");
    m_cnn = DBConn;
    if (mLogin)
        modPublic::setCardLogin(mLogin);
    const QString voucherId = vVouchID.isNull() ? QString() : vVouchID.toString();
    m_state.strVtidField = VtidField.isEmpty() ? QStringLiteral("vt_id") : VtidField;

    if (m_state.strCardNumber != modPublic::CardNumber()) {
        MessageService::current().show(QStringLiteral("单据出错，请检查!"), m_state.strMsgTitle,
                                       MessageService::Exclamation);
        Unload();
        return false;
    }

    m_state.strVoucherName = QStringLiteral("样品接单管理");
    m_view->setCaption(m_state.strVoucherName);

    QString message;
    if (!startEngine(message) || !loadTemplates(message) || !LoadVoucher(voucherId, sMoveVouchOpe, message)) {
        // Shown here as well as handed back: the list opens vouchers without asking for the
        // message, and a voucher deleted meanwhile must not fail silently.
        ErrMsg = message;
        Unload();
        MessageService::current().show(ErrMsg, m_state.strMsgTitle, MessageService::Exclamation);
        return false;
    }
    applyDecimals();
    RebuildTree(m_state.strVoucherID);
    // Rights are known up front: the commands of a task the user may not enter stay disabled.
    QSet<QString> refused;
    for (const CardCommand &command : CardCommands::toolbar()) {
        if (!command.taskId.isEmpty() && !refused.contains(command.taskId)
            && !modPublic::HoldsCardRight(command.taskId))
            refused.insert(command.taskId);
    }
    m_commandState.setRefusedTasks(refused);
    RefreshCommandState(QString());
    m_view->setCard(this);
    m_view->showWindow();
    return true;
}

bool frmManageSample::startEngine(QString &message)
{
    if (m_loader)
        return true;
    std::shared_ptr<clsLogin> login = modPublic::cardLogin();
    m_permission->BindLogin(login);
    m_engine.Initial(login, modPublic::CardNumber(), std::make_shared<clsVoucherShowParameter>());
    if (!m_engine.connection().isOpen()) {
        message = QStringLiteral("数据库连接失败，请检查！"); // Initial has shown the cause
        return false;
    }
    if (m_engine.oGI()->BTQName().isEmpty()) {
        message = QStringLiteral("没有可用的表头、表体视图，请检查！");
        return false;
    }
    m_loader = std::make_unique<VoucherLoader>(m_engine.connection(), *m_permission, m_engine.oGI()->BTQName(),
                                               m_engine.oGI()->BWQName(), m_state.strIDField, m_state.strVtidField);
    return true;
}

bool frmManageSample::isVisible() const
{
    return m_view->isWindowVisible();
}

void frmManageSample::Show()
{
    m_view->showWindow();
}

void frmManageSample::ZOrder(int position)
{
    m_view->setZOrder(position);
}

bool frmManageSample::LoadVoucher(const QString &voucherId, int move, QString &message)
{
    if (!m_loader) {
        message = QStringLiteral("没有指定任何操作，请检查！");
        return false;
    }
    LoadedVoucher loaded = m_loader->LoadVoucher(voucherId, move, m_state.strVoucherID);
    message = loaded.message;
    m_state.strVoucherID = loaded.voucherId;
    m_state.strPrevVoucherID = loaded.previousId;
    m_state.strNextVoucherID = loaded.nextId;
    m_state.strTimeStamp = loaded.timeStamp;
    m_state.strVerifier = loaded.verifier;
    // A voucher names the display template it was saved with; an empty one (a new voucher) keeps
    // the template the card shows, whose rules the user's entries are checked by.
    if (const int templateId = loaded.templateId.toInt(); templateId != 0)
        m_state.lngShowTemplate = templateId;
    // A move lands on a top-level sample, whose structure the card then keeps.
    if (voucherId.isEmpty() && loaded.found())
        m_state.strEditRootID = loaded.voucherId;
    m_domHead = std::move(loaded.head);
    m_domBody = std::move(loaded.body);
    control().loadDocuments(m_domHead, m_domBody, 0);
    if (m_state.lngShowTemplate == 0)
        m_state.lngShowTemplate = m_view->showTemplate().text().trimmed().section(QLatin1Char(' '), 0, 0).toInt();
    return loaded.success;
}

void frmManageSample::RebuildTree(const QString &voucherId)
{
    CardStructureTree &tree = m_view->structureTree();
    tree.rebuild(voucherId);
    m_state.bolCycle = tree.hasCycle();
}

void frmManageSample::RefreshCommandState(const QString &key)
{
    m_commandState.refresh(key);
}

void frmManageSample::CardCommandDispatch(const QString &key)
{
    // Greyed cells stay greyed: they follow the lines they belong to, not the commands.
    m_state.bolReferring = false;
    const QString k = key.toLower();
    if (k != QLatin1String("tlbexit") && k != QLatin1String("tlbhelp") && control().SummaryMode()) {
        MessageService::current().show(QStringLiteral("请先取消汇总，然后进行下面的操作!"), QStringLiteral("提示"),
                                       MessageService::Information);
        return;
    }

    // Closing and help need no database: a server that is down must not keep the card open.
    if (k != QLatin1String("tlbexit") && k != QLatin1String("tlbhelp") && !restoreConnection())
        return;

    // The task guarding the command comes from the command table.
    const QString task = CardCommands::taskOf(k);
    if (k == QLatin1String("tlbadd") || k == QLatin1String("tlbedit") || k == QLatin1String("tlbcopy")) {
        if (!modPublic::CheckAuth(task, false))
            return;
        // Entering an edit holds no task: the save asks for it again.
        modPublic::CheckAuth(task, true);
        const bool started = k == QLatin1String("tlbadd")    ? addVoucher()
                             : k == QLatin1String("tlbedit") ? editVoucher()
                                                             : copyVoucher();
        if (!started)
            return;
    } else if (k == QLatin1String("tlbsave")) {
        if (!modPublic::CheckAuth(task, false))
            return;
        // A failed save keeps the task: the user goes on with the same edit. One entry is kept,
        // whichever save left it; cancelling the edit or closing the card gives it back.
        const bool saved = saveVoucher();
        releaseSaveTask();
        if (!saved) {
            m_holdsSaveTask = true;
            return;
        }
        modPublic::CheckAuth(task, true);
    } else if (!task.isEmpty()) {
        // Delete, cost fetch, confirm, cancel-confirm and conversion give their task back
        // whatever the outcome.
        if (!modPublic::CheckAuth(task, false))
            return;
        runGuardedCommand(k);
        modPublic::CheckAuth(task, true);
    } else if (k == QLatin1String("tlbcancel")) {
        if (MessageService::current().show(QStringLiteral("确定要放弃吗？"), m_state.strMsgTitle,
                                           MessageService::Question, MessageService::YesNo)
            != MessageService::AnswerYes)
            return;
        cancelEdit();
        releaseSaveTask();
    } else if (k == QLatin1String("tlbnext")) {
        if (!move(VoucherLoader::Next))
            return;
    } else if (k == QLatin1String("tlbhelp")) {
        m_view->showHelp();
    } else if (k == QLatin1String("tlbexit")) {
        closeCard();
        return;
    } else {
        runPlainCommand(k);
    }
    RefreshCommandState(key);
}

void frmManageSample::runGuardedCommand(const QString &k)
{
    if (k == QLatin1String("tlbdel"))
        deleteVoucher();
    else if (k == QLatin1String("tlbverify"))
        confirmVoucher();
    else if (k == QLatin1String("tlbdisverify"))
        cancelConfirmation();
    else if (m_structure && k == QLatin1String("tlbget"))
        m_structure->fetchCosts(*this);
    else if (m_structure && k == QLatin1String("tlbsavebom"))
        m_structure->convertToBom(*this);
}

void frmManageSample::runPlainCommand(const QString &k)
{
    if (k == QLatin1String("tlbprint") || k == QLatin1String("tlbpreview") || k == QLatin1String("tlbsend"))
        PrintCard(k);
    else if (k == QLatin1String("tlbaddline"))
        addLine();
    else if (k == QLatin1String("tlbdelline"))
        deleteLine();
    else if (k == QLatin1String("tlbpic"))
        showAttachments(true);
    else if (k == QLatin1String("tlbaccessory"))
        showAttachments(false);
    else if (k == QLatin1String("tlbfrist"))
        move(VoucherLoader::First);
    else if (k == QLatin1String("tlbprevious"))
        move(VoucherLoader::Previous);
    else if (k == QLatin1String("tlblast"))
        move(VoucherLoader::Last);
    else if (k == QLatin1String("tlblocal"))
        locate();
    else if (k == QLatin1String("tlbrefresh"))
        refreshVoucher();
    // Unknown keys only refresh the buttons.
}

void frmManageSample::CommandBarClick(int kind, const QString &buttonKey, const QString &menuKey)
{
    if (kind == 0)
        CardCommandDispatch(buttonKey);
    else if (kind == 1 && buttonKey.compare(QLatin1String("tlbPrint"), Qt::CaseInsensitive) == 0)
        PrintMenuClick(menuKey);
}

bool frmManageSample::KeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    if (key == Qt::Key_Escape) {
        // Esc gives up an edit, after asking; while viewing it does nothing, so that a stray Esc
        // meant for a closed list never closes the card (Ctrl+F4 and 退出 do).
        if (control().EditState() != CardControl::Viewing)
            CardCommandDispatch(QStringLiteral("tlbCancel"));
        return true;
    }
    if (ctrl && key == Qt::Key_F4) {
        closeCard();
        return true;
    }
    if (ctrl && key == Qt::Key_P) {
        if (control().EditState() != CardControl::Viewing)
            m_view->beep();
        else if (m_view->toolbar().isButtonEnabled(QStringLiteral("tlbPrint")))
            CardCommandDispatch(QStringLiteral("tlbPrint"));
        return true;
    }
    return false;
}

bool frmManageSample::QueryUnload()
{
    if (control().EditState() == CardControl::Viewing)
        return true;
    return MessageService::current().show(QStringLiteral("单据没有保存，是否要退出？"), m_state.strMsgTitle,
                                          MessageService::Information, MessageService::YesNo)
           == MessageService::AnswerYes;
}

void frmManageSample::closeCard()
{
    if (QueryUnload())
        Unload();
}

void frmManageSample::unloading()
{
    // The right to open the card was entered when the card was shown.
    modPublic::CheckAuth(clsManageSample::viewTaskId(), true);
    releaseSaveTask();
    m_view->setCard(nullptr);
    m_view->closeWindow();
}

bool frmManageSample::move(int move)
{
    if (control().EditState() != CardControl::Viewing)
        return false;
    QString message;
    if (!LoadVoucher(QString(), move, message)) {
        show(message, MessageService::Information);
        return false;
    }
    RebuildTree(m_state.strVoucherID);
    return true;
}

void frmManageSample::locate()
{
    auto param = std::make_shared<clsVL_JDYPGLParam>();
    param->MenuID = QStringLiteral("1801001");
    clsVL_JDYPGLMain list;
    list.setAppHelpFilePath(modPublic::AppHelpFilePath());
    list.ShowVoucherListEx(modPublic::cardLogin(), modPublic::CardNumber(), param, true);
}

void frmManageSample::releaseSaveTask()
{
    if (!m_holdsSaveTask)
        return;
    m_holdsSaveTask = false;
    modPublic::CheckAuth(CardCommands::taskOf(QStringLiteral("tlbsave")), true);
}

bool frmManageSample::restoreConnection()
{
    if (!m_loader)
        return true;
    auto restored = m_engine.RestoreConnection();
    if (!restored) {
        show(restored.error(), MessageService::Information);
        return false;
    }
    if (!*restored)
        return true;
    // What the card shows was read before the connection went and may be out of date; an edit
    // keeps what the user typed.
    if (control().EditState() == CardControl::Viewing) {
        refreshVoucher();
        show(QStringLiteral("数据库连接已恢复，已重新读取单据。"), MessageService::Information);
    }
    return true;
}

void frmManageSample::show(const QString &text, int icon)
{
    MessageService::current().show(text, m_state.strMsgTitle, MessageService::Icon(icon));
}
