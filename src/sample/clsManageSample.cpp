#include "clsManageSample.h"

#include "ChildStructureLinks.h"
#include "SampleDefaults.h"
#include "SampleSaveChecks.h"
#include "SampleStructureChecks.h"

#include "common/modPublic.h"
#include "entry/WindowManager.h"
#include "engine/FreeItemCheck.h"
#include "engine/clsVoucherCo.h"
#include "entry/clsVoucherGetInfo.h"
#include "host/clsLogin.h"
#include "platform/VoucherDocument.h"

namespace {

// A window factory is missing only when the application forgot to register one.
std::shared_ptr<CardWindow> noWindow(const QString &location)
{
    modPublic::ShowErrMsg(modPublic::MissingObjectErrorNumber, QStringLiteral("无法创建单据窗口"), location);
    return nullptr;
}

std::shared_ptr<CardWindow> defaultCard()
{
    auto card = WindowManager::defaultCard();
    return card ? card : noWindow(QStringLiteral("clsManageSample:frmManageSample"));
}

} // namespace

void clsManageSample::Initial(std::shared_ptr<clsLogin> login, std::shared_ptr<clsVoucherGetInfo> info)
{
    m_login = std::move(login);
    m_info = std::move(info);
}

void clsManageSample::BodyDeleteEmptyRow(VoucherDocument &domBody)
{
    SampleDefaults::deleteEmptyRows(domBody);
}

QString clsManageSample::HeadSaveCheck(const VoucherDocument &domHead)
{
    return SampleSaveChecks::checkHead(domHead);
}

QString clsManageSample::BodySaveCheck(const VoucherDocument &domBody)
{
    return SampleSaveChecks::checkBody(domBody);
}

void clsManageSample::DomSetDefault(VoucherDocument &domHead, VoucherDocument &domBody)
{
    // Without meta-information there is no template column to default.
    SampleDefaults::setDefaults(domHead, domBody, m_info ? m_info->iVTIDName() : QString(),
                                m_info ? m_info->DEF_ID() : 0);
}

bool clsManageSample::HeadSaveCheck2(Connection &cnn, const VoucherRow &eleHead, qint32 &POvoucherID,
                                     QString &POvoucherTS, QString &Msg)
{
    const auto why = SampleStructureChecks(cnn).checkHead(eleHead, POvoucherID, POvoucherTS);
    Msg = why ? *why : why.error();
    return why && why->isEmpty();
}

bool clsManageSample::BodySaveCheck2(Connection &cnn, const VoucherRow &eleHead, QString &MsgStr)
{
    const auto why = SampleStructureChecks(cnn).checkBody(eleHead);
    MsgStr = why ? *why : why.error();
    return why && why->isEmpty();
}

QString clsManageSample::SaveOther(Connection &cnn, const VoucherRow &eleInsert, qint32 &POvoucherID)
{
    return ChildStructureLinks(cnn).linkToParentLine(eleInsert, POvoucherID);
}

QString clsManageSample::DelOther(Connection &cnn, const VoucherRow &eleDelete)
{
    return ChildStructureLinks(cnn).deleteBelowLine(eleDelete);
}

QString clsManageSample::VoucherDelete(Connection &cnn, VoucherDocument &domHead, VoucherDocument &domBody)
{
    return ChildStructureLinks(cnn).deleteBelowVoucher(domHead, domBody);
}

QString clsManageSample::VoucherName() const
{
    const auto card = defaultCard();
    return card ? card->VoucherName : QString();
}

void clsManageSample::setVoucherName(const QString &name)
{
    if (const auto card = defaultCard())
        card->VoucherName = name;
}

QString clsManageSample::QVTaskID() const
{
    const auto card = defaultCard();
    return card ? card->QVTaskID : QString();
}

void clsManageSample::setQVTaskID(const QString &taskId)
{
    if (const auto card = defaultCard())
        card->QVTaskID = taskId;
}

QString clsManageSample::FrmVisible() const
{
    const auto card = defaultCard();
    return card && card->isVisible() ? QStringLiteral("True") : QStringLiteral("False");
}

void clsManageSample::setFrmZOrder(qint16 position)
{
    if (const auto card = defaultCard())
        card->ZOrder(position);
}

bool clsManageSample::ShowVoucher(std::shared_ptr<Connection> &DBConn, std::shared_ptr<clsLogin> &mLogin,
                                  const QVariant &vVouchID, const QString &VtidField, QString *ErrMsg)
{
    const auto card = defaultCard();
    if (!card)
        return false;
    QString message = ErrMsg ? *ErrMsg : QString();
    qint16 move = 0;
    const bool shown = card->ShowVoucher(DBConn, mLogin, vVouchID, VtidField, message, move);
    if (ErrMsg)
        *ErrMsg = message;
    return shown;
}

bool clsManageSample::ShowVoucher2(std::shared_ptr<Connection> &DBConn, std::shared_ptr<clsLogin> &mLogin,
                                   const QVariant &vVouchID, const QString &VtidField, QString *ErrMsg,
                                   qint16 sMoveVouchOpe, const QString &m_MenuId)
{
    return showInNewWindow(DBConn, mLogin, vVouchID, VtidField, ErrMsg, sMoveVouchOpe, m_MenuId, RightCheck::WithBoxes);
}

bool clsManageSample::ShowVoucher3(std::shared_ptr<Connection> &DBConn, std::shared_ptr<clsLogin> &mLogin,
                                   const QVariant &vVouchID, const QString &VtidField, QString *ErrMsg,
                                   qint16 sMoveVouchOpe, const QString &m_MenuId, bool bCheckAuth)
{
    return showInNewWindow(DBConn, mLogin, vVouchID, VtidField, ErrMsg, sMoveVouchOpe, m_MenuId,
                           bCheckAuth ? RightCheck::WithBoxes : RightCheck::Silent);
}

bool clsManageSample::showInNewWindow(std::shared_ptr<Connection> &DBConn, std::shared_ptr<clsLogin> &mLogin,
                                      const QVariant &vVouchID, const QString &VtidField, QString *ErrMsg,
                                      qint16 sMoveVouchOpe, const QString &menuId, RightCheck check)
{
    if (mLogin)
        modPublic::setCardLogin(mLogin);
    if (check == RightCheck::WithBoxes) {
        if (!modPublic::CheckAuth(viewTaskId(), false))
            return false;
    } else {
        // The caller (the list opening a voucher it already shows) decided that the card opens
        // anyway; the check still runs so that a permitted user enters the function.
        QString ignored;
        modPublic::CheckAuthMsg(viewTaskId(), false, ignored);
    }

    if (!menuId.isEmpty()) {
        for (const auto &window : WindowManager::windows()) {
            if (window->formName().toLower() != CardWindow::name().toLower())
                continue;
            const auto card = std::dynamic_pointer_cast<CardWindow>(window);
            if (card && card->m_MenuId == menuId) {
                card->ZOrder(0);
                return false;
            }
        }
    }

    const auto card = WindowManager::newCard();
    if (!card) {
        noWindow(QStringLiteral("clsManageSample:ShowVoucher2"));
        return false;
    }
    QString message = ErrMsg ? *ErrMsg : QString();
    const bool shown = card->ShowVoucher(DBConn, mLogin, vVouchID, VtidField, message, sMoveVouchOpe);
    if (ErrMsg)
        *ErrMsg = message;
    card->m_MenuId = menuId;
    return shown;
}

QVariant clsManageSample::UnloadFrm()
{
    if (const auto card = WindowManager::loadedDefaultCard())
        card->Unload();
    return {};
}

QString clsManageSample::AppHelpFilePath() const
{
    return modPublic::AppHelpFilePath();
}

void clsManageSample::setAppHelpFilePath(const QString &path)
{
    modPublic::setAppHelpFilePath(path);
}

SampleStateRules clsManageSample::stateRules(Connection &cnn) const
{
    SampleStateRules rules(cnn, m_info, m_login);
    // The new item's free items are checked as the card checks a typed free item, on the same
    // connection, so that confirmation sees what the engine sees.
    rules.setFreeItemCheck([&cnn](const QString &field, const QString &value, const QString &itemCode) {
        return FreeItemCheck(cnn).check(field, value, itemCode, nullptr);
    });
    return rules;
}

QString clsManageSample::VoucherAllowEdit(Connection &cnn, VoucherDocument &domHead, VoucherDocument &)
{
    return stateRules(cnn).VoucherAllowEdit(domHead);
}

QString clsManageSample::VoucherAllowDelete(Connection &cnn, VoucherDocument &domHead, VoucherDocument &)
{
    return stateRules(cnn).VoucherAllowDelete(domHead);
}

QString clsManageSample::VoucherAllowConfirm(Connection &cnn, VoucherDocument &domHead, VoucherDocument &)
{
    return stateRules(cnn).VoucherAllowConfirm(domHead);
}

QString clsManageSample::VoucherAllowCancelConfirm(Connection &cnn, VoucherDocument &domHead, VoucherDocument &)
{
    return stateRules(cnn).VoucherAllowCancelConfirm(domHead);
}

QString clsManageSample::VoucherAllowClose(Connection &cnn, VoucherDocument &domHead, VoucherDocument &)
{
    return stateRules(cnn).VoucherAllowClose(domHead);
}

QString clsManageSample::VoucherAllowOpen(Connection &cnn, VoucherDocument &domHead, VoucherDocument &)
{
    return stateRules(cnn).VoucherAllowOpen(domHead);
}

QString clsManageSample::VoucherConfirm(Connection &cnn, VoucherDocument &domHead, VoucherDocument &)
{
    return stateRules(cnn).VoucherConfirm(domHead);
}

QString clsManageSample::VoucherCancelConfirm(Connection &cnn, VoucherDocument &domHead, VoucherDocument &)
{
    return stateRules(cnn).VoucherCancelConfirm(domHead);
}

QString clsManageSample::VoucherClose(Connection &cnn, VoucherDocument &domHead, VoucherDocument &)
{
    return stateRules(cnn).VoucherClose(domHead);
}

QString clsManageSample::VoucherOpen(Connection &cnn, VoucherDocument &domHead, VoucherDocument &)
{
    return stateRules(cnn).VoucherOpen(domHead);
}

void clsManageSample::VoucherNew(clsVoucherCo &objVO)
{
    VoucherDocument head;
    VoucherRow row = head.appendRow();
    if (m_info && !m_info->dDate().isEmpty()) { // the names are known once the card's row was read
        row.setValue(m_info->dDate().toLower(), m_login ? m_login->LoginDate() : QString());
        row.setValue(m_info->cMakerName().toLower(), m_login ? m_login->UserName() : QString());
        row.setValue(m_info->iVTIDName().toLower(), QString::number(m_info->DEF_ID()));
    }
    objVO.setDomHead(std::move(head));
}
