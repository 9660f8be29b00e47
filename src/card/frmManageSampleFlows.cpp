// The edit flows of the card window: add, edit, copy, save, cancel, delete, confirm and its
// cancellation, refresh, lines, pictures and attachments.

#include "frmManageSample.h"

#include "CardControl.h"
#include "CardStructureTree.h"
#include "CardView.h"
#include "FieldEditHandler.h"
#include "TemplateComboControl.h"
#include "VoucherLoader.h"

#include "common/MessageService.h"
#include "engine/basVoucher.h"
#include "entry/clsAccessory.h"
#include "entry/clsVoucherGetInfo.h"
#include "host/VoucherNumberService.h"
#include "host/clsLogin.h"

#include <QScopeGuard>

namespace {

const QString kFullyAutomatic = QStringLiteral("完全自动编号");
const QString kSemiAutomatic = QStringLiteral("半自动编号");
const QString kCode = QStringLiteral("ccode");
const QString kLineBreak = QStringLiteral("\r\n");

// Head fields of a numbered sample that only its first author fills: customer, new item and the
// price factor. A child sample takes them from its parent line.
const QStringList kNumberedOnlyFields{QStringLiteral("ccuscode"),
                                      QStringLiteral("ccusabbname"),
                                      QStringLiteral("cnewinvcode"),
                                      QStringLiteral("cnewinvname"),
                                      QStringLiteral("cnewinvstd"),
                                      QStringLiteral("cnewinvcomunitcode"),
                                      QStringLiteral("cnewinvcomunitname"),
                                      QStringLiteral("isellexch"),
                                      QStringLiteral("cfree1"),
                                      QStringLiteral("cfree2"),
                                      QStringLiteral("cfree3"),
                                      QStringLiteral("cfree4"),
                                      QStringLiteral("cfree5"),
                                      QStringLiteral("cfree6"),
                                      QStringLiteral("cfree7"),
                                      QStringLiteral("cfree8"),
                                      QStringLiteral("cfree9"),
                                      QStringLiteral("cfree10"),
                                      QStringLiteral("cpspinvcode"),
                                      QStringLiteral("cpspinvname")};
// The cost fields every sample keeps itself.
const QStringList kCostFields{QStringLiteral("imanhrs"), QStringLiteral("ipercharge"), QStringLiteral("imakecharge")};

// A voucher identifier worth loading by identifier.
bool isStoredId(const QString &id)
{
    return id.trimmed().toLongLong() > 0;
}

} // namespace

void frmManageSample::setEditable(const QStringList &headFields, bool editable)
{
    for (const QString &field : headFields)
        control().setEditable(CardControl::Head, field, editable);
}

void frmManageSample::applyEditableDisplays()
{
    CardControl &card = control();
    for (int i = 1; i <= card.HeadInfoCount(); ++i)
        card.applyEditable(card.ItemState(i, CardControl::Head).sFieldName.toLower());
}

void frmManageSample::lockCodeByNumbering(bool numberedOnly)
{
    QString mode;
    if (!m_engine.GetVoucherNOType(mode).isEmpty())
        return;
    const bool editable = mode != kFullyAutomatic && (!numberedOnly || m_state.bolHasCode);
    control().setEditable(CardControl::Head, kCode, editable);
    control().applyEditable(kCode);
}

void frmManageSample::giveNumberingRule()
{
    if (!m_numbering) {
        m_numbering = std::make_unique<VoucherNumberService>();
        const auto login = modPublic::cardLogin();
        m_numbering->Init(login ? login->ConnectionString() : QString(), modPublic::CardNumber());
    }
    control().setNumberingRule(m_numbering->GetFormatXml());
}

void frmManageSample::prepareNewVoucher()
{
    lockCodeByNumbering(false);
    setEditable({QStringLiteral("csocode")}, false);
    setEditable(kNumberedOnlyFields + kCostFields, true);
    control().setEditable(CardControl::Body, QStringLiteral("csocode"), true);
    const auto login = modPublic::cardLogin();
    control().setHeaderText(QStringLiteral("cmaker"), login ? login->UserName() : QString());
    control().setHeaderText(QStringLiteral("ddate"), login ? login->LoginDate() : QString());
}

bool frmManageSample::addVoucher()
{
    m_state.strOldVoucherID = m_state.strVoucherID;
    m_state.strVoucherID.clear();
    m_state.strEditRootID.clear();
    QString message;
    if (!LoadVoucher(QString(), VoucherLoader::NewVoucher, message)) {
        show(message, MessageService::Information);
        return false;
    }
    RebuildTree(QString());
    control().setEditState(CardControl::AddingVoucher);
    giveNumberingRule();
    control().loadDocuments(m_domHead, m_domBody, 0);
    m_state.intSaveState = CardState::NewVoucher;
    prepareNewVoucher();
    control().setHeaderText(QStringLiteral("bexpand"), QStringLiteral("是"));
    applyEditableDisplays();
    return true;
}

bool frmManageSample::editVoucher()
{
    if (m_view->showTemplate().text().trimmed().isEmpty())
        return false;
    if (m_state.strEditRootID.isEmpty()) {
        show(QStringLiteral("必须先维护上一级样品结构才能维护该级样品结构，请检查！"), MessageService::Information);
        applyEditableDisplays();
        return false;
    }
    CardControl &card = control();
    if (card.EditState() != CardControl::Viewing)
        return false;
    m_state.strOldVoucherID = m_state.strVoucherID;

    // The node chosen in the tree decides which level of the structure is edited: a component
    // stands for the sample it belongs to, a component with a child sample for that child.
    CardStructureTree &tree = m_view->structureTree();
    if (tree.hasSelection()) {
        if (!tree.selectionHasChildren())
            tree.selectParent();
        const QString tag = tree.selectedTag().mid(1);
        const QStringList fields = tag.split(QLatin1Char('\t'));
        if (fields.size() >= 2)
            m_state.strEditRootID = fields.value(2).trimmed();
        else if (tag.trimmed().isEmpty())
            m_state.strEditRootID = m_state.strVoucherID;
    }
    // A component without a child sample yet: the save inserts one.
    const int mode = m_state.strEditRootID.isEmpty() ? CardControl::AddingVoucher : CardControl::EditingVoucher;
    card.setEditState(mode);
    m_state.intSaveState = qint16(mode);
    m_state.bolHasCode = !card.headerText(m_engine.oGI()->cCodeName().toLower()).trimmed().isEmpty();

    lockCodeByNumbering(true);
    setEditable(kNumberedOnlyFields, m_state.bolHasCode);
    setEditable(kCostFields, true);
    setEditable({QStringLiteral("csocode")}, !m_state.bolHasCode);
    card.setEditable(CardControl::Body, QStringLiteral("csocode"), true);
    m_fieldEdits->markVersionCell(card.row());
    applyEditableDisplays();
    return true;
}

bool frmManageSample::copyVoucher()
{
    if (m_view->showTemplate().text().trimmed().isEmpty()) {
        show(QStringLiteral("没有任何可用的显示模板"), MessageService::Information);
        return false;
    }
    if (m_state.bolCycle) {
        MessageService::current().showWindow(QStringLiteral("不能复制，存在循环结构，请检查！")
                                                 + m_view->structureTree().cycleDescription(),
                                             m_state.strMsgTitle);
        return false;
    }
    CardControl &card = control();
    m_state.strOldVoucherID = m_state.strVoucherID;
    m_state.strVoucherID.clear();
    card.setEditState(CardControl::AddingVoucher);
    giveNumberingRule();
    // The voucher being copied, as its load left it, becomes the new voucher's content.
    card.loadDocuments(m_domHead, m_domBody, 0);
    m_state.intSaveState = CardState::NewVoucher;
    m_state.strEditRootID.clear();
    RebuildTree(QString());
    prepareNewVoucher();
    // A copy is a new, unconfirmed voucher of its own: not confirmed, not converted, and its lines
    // have no child samples yet (sharing the original's would let a deletion of the copy take the
    // original's structure along).
    card.setHeaderText(QStringLiteral("chandler"), QString());
    card.setHeaderText(QStringLiteral("dveridate"), QString());
    card.setHeaderText(QStringLiteral("ibomautoid"), QString());
    // Every line is written as a new one.
    for (int row = 1; row <= card.BodyRows(); ++row) {
        card.setBodyText(row, QStringLiteral("editprop"), QStringLiteral("A"));
        card.setBodyText(row, QStringLiteral("childguid"), QString());
    }
    applyEditableDisplays();
    return true;
}

bool frmManageSample::saveVoucher()
{
    CardControl &card = control();
    const bool otherLevel = m_state.strVoucherID.trimmed() != m_state.strEditRootID.trimmed();
    QString missing;
    basVoucher::CheckRequiredItems(card, otherLevel ? QStringLiteral(",ccode,") : QString(), missing);
    if (!missing.isEmpty()) {
        show(QStringLiteral("保存失败！") + missing + kLineBreak + QStringLiteral("请检查！"),
             MessageService::Information);
        focusNamedItem(missing);
        return false;
    }
    if (card.EditState() == CardControl::Viewing)
        return true;

    VoucherDocument head;
    VoucherDocument body;
    card.getVoucherDataXML(head, body);
    m_engine.InitialNewDOM(&head, &body);
    QVariant newId;
    qint32 shownId = qint32(m_state.strVoucherID.toLongLong());
    QString timeStamp = m_state.strTimeStamp;
    QString message;
    if (m_state.intSaveState == CardState::ExistingVoucher || m_state.intSaveState == CardState::NewVoucher)
        message = m_engine.VoucherSave(m_state.intSaveState, newId, shownId, timeStamp);
    if (!message.isEmpty()) {
        // The card keeps what the user typed; the edit goes on where the message points.
        show(withCaptions(message), MessageService::Information);
        focusNamedItem(message);
        return false;
    }

    card.setEditState(CardControl::Viewing);
    if (!m_state.hasVoucher())
        m_state.strVoucherID = newId.toString();
    // A new voucher (or a copy) is the root of its own structure, so it may be edited at once; a
    // child added from a line leaves the structure being kept as it was.
    if (m_state.strEditRootID.isEmpty())
        m_state.strEditRootID = m_state.strVoucherID;
    if (reloadAfterChange(m_state.strVoucherID, VoucherLoader::ByIdentifier))
        m_view->showStatus(QStringLiteral("保存成功：") + card.headerText(kCode));
    RebuildTree(m_state.hasVoucher() ? m_state.strVoucherID : m_state.strOldVoucherID);
    return true;
}

void frmManageSample::cancelEdit()
{
    if (control().EditState() == CardControl::Viewing)
        return;
    m_state.strVoucherID = m_state.strOldVoucherID;
    m_state.strEditRootID = m_state.strVoucherID;
    // The edit is over before the voucher is read again: when it cannot be read, the move to its
    // neighbour (a viewing command) must not be refused for an edit under way.
    control().setEditState(CardControl::Viewing);
    // Nothing was shown before the add: the newest voucher is.
    const bool stored = isStoredId(m_state.strOldVoucherID);
    reloadAfterChange(stored ? m_state.strOldVoucherID : QString(),
                      stored ? VoucherLoader::ByIdentifier : VoucherLoader::Last);
    RebuildTree(m_state.strOldVoucherID);
}

void frmManageSample::deleteVoucher()
{
    if (MessageService::current().show(QStringLiteral("此操作将删除整张单据，确定删除？"), m_state.strMsgTitle,
                                       MessageService::Exclamation, MessageService::OkCancel)
        != MessageService::AnswerOk)
        return;
    QString message;
    if (!LoadVoucher(m_state.strVoucherID, VoucherLoader::ByIdentifier, message)) {
        show(message, MessageService::Information);
        return;
    }
    VoucherDocument head;
    VoucherDocument body;
    control().getVoucherDataXML(head, body);
    m_engine.InitialNewDOM(&head, &body);
    // The dispatch has entered the task already.
    message = m_engine.VoucherDelete(false);
    if (!message.isEmpty()) {
        show(message, MessageService::Information);
        return;
    }
    m_state.intSaveState = CardState::DeletedVoucher;
    m_view->showStatus(QStringLiteral("已删除"));
    CardCommandDispatch(QStringLiteral("tlbNext"));
}

void frmManageSample::confirmVoucher()
{
    if (m_state.bolCycle) {
        show(m_view->structureTree().cycleDescription() + QStringLiteral("不能审核，存在循环结构，请检查！"),
             MessageService::Information);
        return;
    }
    const QString message = m_engine.VoucherConfirm2(m_state.strVoucherID, m_state.strTimeStamp, false);
    if (!message.isEmpty()) {
        show(message, MessageService::Information);
        return;
    }
    m_view->showStatus(QStringLiteral("已审核"));
    if (reloadAfterChange(m_state.strVoucherID, VoucherLoader::ByIdentifier))
        RebuildTree(m_state.strVoucherID);
}

void frmManageSample::cancelConfirmation()
{
    const QString message = m_engine.VoucherCancelConfirm2(m_state.strVoucherID, m_state.strTimeStamp, false);
    if (!message.isEmpty()) {
        show(withCaptions(message), MessageService::Information);
        return;
    }
    m_view->showStatus(QStringLiteral("已弃审"));
    if (reloadAfterChange(m_state.strVoucherID, VoucherLoader::ByIdentifier))
        RebuildTree(m_state.strVoucherID);
}

void frmManageSample::refreshVoucher()
{
    if (control().EditState() != CardControl::Viewing)
        return;
    const bool stored = isStoredId(m_state.strVoucherID);
    if (reloadAfterChange(stored ? m_state.strVoucherID : QString(),
                          stored ? VoucherLoader::ByIdentifier : VoucherLoader::Last))
        RebuildTree(m_state.strVoucherID);
}

bool frmManageSample::reloadAfterChange(const QString &voucherId, int move)
{
    QString message;
    if (LoadVoucher(voucherId, move, message))
        return true;
    // The card never stays on a voucher that cannot be read.
    show(message, MessageService::Information);
    CardCommandDispatch(QStringLiteral("tlbNext"));
    return false;
}

void frmManageSample::addLine()
{
    if (control().EditState() != CardControl::Viewing)
        control().addRow();
}

void frmManageSample::deleteLine()
{
    if (control().EditState() != CardControl::Viewing)
        control().deleteRow(control().row());
}

void frmManageSample::showAttachments(bool picture)
{
    if (m_view->showTemplate().text().trimmed().isEmpty() || m_attachmentsOpen)
        return;
    m_attachmentsOpen = true;
    const auto closed = qScopeGuard([this] { m_attachmentsOpen = false; });
    // The connection the card was handed, or, when it was handed none that is open, one of the
    // window's own on the engine's database.
    std::shared_ptr<Connection> cnn = m_cnn;
    if (!cnn || !cnn->isOpen()) {
        cnn = std::make_shared<Connection>();
        auto opened = cnn->Open(m_engine.connection().ConnectionString());
        if (!opened) {
            modPublic::ShowErrMsg(modPublic::DatabaseErrorNumber, opened.error(),
                                  QStringLiteral("frmManageSample:showAttachments"));
            return;
        }
    }
    clsAccessory accessory;
    accessory.ShowFrmAccessory(picture ? sFileType::Picture : sFileType::Aannex,
                               qint32(m_state.strVoucherID.toLongLong()), cnn, this);
}

void frmManageSample::RefreshVoucherCode()
{
    QString mode;
    const QString error = m_engine.GetVoucherNOType(mode);
    CardControl &card = control();
    if (error.isEmpty() && mode != kFullyAutomatic && mode != kSemiAutomatic) {
        card.setEditable(CardControl::Head, kCode, true);
        card.applyEditable(kCode);
        return;
    }
    card.setEditable(CardControl::Head, kCode, mode == kSemiAutomatic);
    card.applyEditable(kCode);
    VoucherDocument head;
    VoucherDocument body;
    card.getVoucherDataXML(head, body);
    m_engine.setDomHead(head);
    QString why;
    const QString number = m_engine.GetVoucherNO(why);
    if (!why.isEmpty()) {
        modPublic::ShowInfo(why);
        return;
    }
    card.setHeaderText(m_engine.oGI()->cCodeName().toLower(), number);
}

QString frmManageSample::withCaptions(const QString &message)
{
    // The template's identifier is the chooser's text up to its first blank.
    bool isNumber = false;
    const qint32 templateId = m_view->showTemplate().text().trimmed().section(QLatin1Char(' '), 0, 0).toInt(&isNumber);
    QString text = message;
    if (isNumber)
        basVoucher::ExpandFormula(m_engine.connection(), templateId, text); // on a database error: as it was
    return text;
}
