#include "VoucherStateActions.h"

#include "ActionRetry.h"
#include "basVoucher.h"
#include "VoucherBusiness.h"
#include "clsVoucherCo.h"

#include "common/modPublic.h"
#include "entry/clsVoucherGetInfo.h"
#include "entry/clsVoucherShowParameter.h"
#include "host/DataPermissionService.h"
#include "host/clsLogin.h"
#include "platform/Connection.h"

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

std::shared_ptr<DataPermission> &programService()
{
    static std::shared_ptr<DataPermission> service;
    return service;
}

using Callback = QString (VoucherBusiness::*)(Connection &, VoucherDocument &, VoucherDocument &);

// The texts and business callbacks of one check. The maker suffix of close is the confirm one:
// the card has always said so, and users know the text.
struct CheckTexts
{
    QString rightMessage;
    QString letter; // empty: no data-permission step
    QString makerSuffix;
    QString changedSuffix;
    Callback allowRule = nullptr;
    Callback action = nullptr; // none for edit and delete
};

CheckTexts textsOf(VoucherStateActions::Check check)
{
    using Check = VoucherStateActions::Check;
    switch (check) {
    case Check::Edit:
        return {QStringLiteral("无修改权限或发生功能互斥,不能修改!"), QStringLiteral("w"),
                QStringLiteral("]单据的操作权限，请检查！"), QStringLiteral("] 已经被改变或删除,请刷新后重试!"),
                &VoucherBusiness::VoucherAllowEdit};
    case Check::Delete:
        return {QStringLiteral("无删除权限或发生功能互斥,不能删除!"), QStringLiteral("w"),
                QStringLiteral("]单据的删除权限，请检查！"),
                QStringLiteral("] 已经被改变或删除,不能删除,请刷新后重试!"), &VoucherBusiness::VoucherAllowDelete};
    case Check::Confirm:
        return {QStringLiteral("无审核权限或发生功能互斥,不能审核!"),
                QStringLiteral("v"),
                QStringLiteral("]单据的审核权限，请检查！"),
                QStringLiteral("] 已经被改变或删除,不能审核,请刷新后重试!"),
                &VoucherBusiness::VoucherAllowConfirm,
                &VoucherBusiness::VoucherConfirm};
    case Check::CancelConfirm:
        return {QStringLiteral("无弃审权限或发生功能互斥,不能弃审!"),
                QStringLiteral("u"),
                QStringLiteral("]单据的弃审权限，请检查！"),
                QStringLiteral("] 已经被改变或删除,不能弃审,请刷新后重试!"),
                &VoucherBusiness::VoucherAllowCancelConfirm,
                &VoucherBusiness::VoucherCancelConfirm};
    case Check::Close:
        return {QStringLiteral("无关闭权限或发生功能互斥,不能关闭!"),
                QStringLiteral("c"),
                QStringLiteral("]单据的审核权限，请检查！"),
                QStringLiteral("] 已经被改变或删除,不能关闭,请刷新后重试!"),
                &VoucherBusiness::VoucherAllowClose,
                &VoucherBusiness::VoucherClose};
    case Check::Open:
        break;
    }
    return {QStringLiteral("无打开权限或发生功能互斥,不能打开!"),
            QString(),
            QString(),
            QStringLiteral("] 已经被改变或删除,不能打开,请刷新后重试!"),
            &VoucherBusiness::VoucherAllowOpen,
            &VoucherBusiness::VoucherOpen};
}

// A user name as it stands in a maker answer: a quoted literal with its quotes doubled.
QString quotedName(const QString &name)
{
    QString doubled = name;
    doubled.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

} // namespace

VoucherStateActions::VoucherStateActions(clsVoucherCo &engine)
    : m_engine(engine)
{}

VoucherStateActions::~VoucherStateActions() = default;

void VoucherStateActions::setProgramDataPermission(std::shared_ptr<DataPermission> service)
{
    programService() = std::move(service);
}

std::shared_ptr<DataPermission> VoucherStateActions::programDataPermission()
{
    return programService();
}

bool VoucherStateActions::checkAuth(const QString &taskId)
{
    const auto login = m_engine.objLogin();
    if (!login || taskId.isEmpty())
        return false;
    bool allowed = false;
    const bool checked = login->RequestTask(taskId, clsLogin::TaskCheck, QString(), allowed).has_value();
    login->FinishRequest();
    if (!checked || !allowed)
        return false;
    bool entered = false;
    const bool asked = login->RequestTask(taskId, clsLogin::TaskEnter, QString(), entered).has_value();
    login->FinishRequest();
    if (!asked || !entered)
        return false;
    // Asking must not hold the function: the action itself runs at once.
    bool left = false;
    login->RequestTask(taskId, clsLogin::TaskLeave, QString(), left);
    login->FinishRequest();
    return true;
}

QString VoucherStateActions::allow(Check check, bool checkAuth)
{
    return retried(check, [&] { return allowOnce(check, checkAuth); });
}

QString VoucherStateActions::act(Check check, bool checkAuth)
{
    return retried(check, [&] { return actOnce(check, checkAuth); });
}

QString VoucherStateActions::deleteVoucher(bool checkAuth)
{
    return retried(Check::Delete, [&] { return deleteOnce(checkAuth); });
}

QString VoucherStateActions::actOn(Check check, const QVariant &id, const QString &timeStamp, bool checkAuth)
{
    // Each run loads the voucher anew: a run that is repeated must not act on what the first read.
    return retried(check, [&] {
        m_engine.InitialNewDOM();
        if (auto sp = m_engine.objSP())
            sp->ID = id;
        m_engine.GetVoucherData();
        if (!timeStamp.isEmpty() && m_engine.domHead().rowCount() > 0) {
            if (auto info = m_engine.oGI())
                basVoucher::SetHeadValue(m_engine.domHead(), info->qvtsName(), timeStamp);
        }
        return check == Check::Delete ? deleteOnce(checkAuth) : actOnce(check, checkAuth);
    });
}

QString VoucherStateActions::retried(Check check, const std::function<QString()> &action)
{
    return ActionRetry(m_engine.connection()).run(action, [this, check] {
        return numbered(textsOf(check).changedSuffix);
    });
}

QString VoucherStateActions::allowOnce(Check check, bool checkAuth)
{
    const CheckTexts texts = textsOf(check);
    if (checkAuth && !this->checkAuth(taskId(check)))
        return texts.rightMessage + kLineBreak;
    if (!texts.letter.isEmpty()) {
        const QString refused = makerAllowed(check);
        if (!refused.isEmpty())
            return refused;
    }
    if (m_engine.domHead().rowCount() == 0)
        return QStringLiteral("此张单据已经被删除或不存在任何单据,请刷新后重试!") + kLineBreak;
    const QString state = stateAllowed(check);
    if (!state.isEmpty())
        return state;
    if (m_engine.TimeStampChange())
        return numbered(texts.changedSuffix);
    return callBusiness(texts.allowRule);
}

QString VoucherStateActions::actOnce(Check check, bool checkAuth)
{
    const QString refused = allowOnce(check, checkAuth);
    if (!refused.isEmpty())
        return refused;
    // The business object's status update is guarded by the row version the chain just checked.
    return callBusiness(textsOf(check).action);
}

QString VoucherStateActions::deleteOnce(bool checkAuth)
{
    auto info = m_engine.oGI();
    Connection &cnn = m_engine.connection();
    if (!info || !cnn.isOpen())
        return QStringLiteral("此张单据已经被删除或不存在任何单据,请刷新后重试!") + kLineBreak;
    // The right is asked before the transaction: the session records function requests on its own
    // connection, which on SQLite would wait for the write lock this transaction holds.
    if (checkAuth && !this->checkAuth(taskId(Check::Delete)))
        return textsOf(Check::Delete).rightMessage + kLineBreak;
    // The save's writer lock: a save of the voucher, or of a child sample for one of its lines,
    // waits until the deletion is over and then finds the voucher gone.
    auto begun = m_engine.BeginWriteTrans();
    if (!begun)
        return begun.error();
    auto fail = [&cnn](const QString &message) {
        cnn.RollbackTrans();
        return message;
    };
    const QString refused = allowOnce(Check::Delete, false);
    if (!refused.isEmpty())
        return fail(refused);

    // The head goes first, and only with the row version the chain checked: a confirmation or a
    // save that another user committed since then keeps the voucher.
    const QVariant id = headValue(info->IDName());
    auto head = cnn.Execute(QStringLiteral("DELETE FROM ") + info->BTTblName() + QStringLiteral(" WHERE ")
                                + basVoucher::RowVersionCondition(info->IDName(), info->qvtsName()),
                            {id, headValue(info->qvtsName()).trimmed()});
    if (!head)
        return fail(head.error());
    if (*head == 0)
        return fail(notDeleted(id));
    if (!info->BWTblName().isEmpty()) {
        auto lines = cnn.Execute(QStringLiteral("DELETE FROM ") + info->BWTblName() + QStringLiteral(" WHERE ")
                                     + info->IDNameSub() + QStringLiteral(" = ?"),
                                 {id});
        if (!lines)
            return fail(lines.error());
    }

    if (auto business = m_engine.objVoucher()) {
        const QString refusal = business->VoucherDelete(cnn, m_engine.domHead(), m_engine.domBody());
        if (!refusal.isEmpty())
            return fail(refusal);
    }
    auto committed = cnn.CommitTrans();
    if (!committed)
        return fail(committed.error());
    return {};
}

// The guarded deletion found no row: changed by another user since the check, or deleted.
QString VoucherStateActions::notDeleted(const QVariant &id)
{
    auto info = m_engine.oGI();
    auto stored
        = m_engine.connection().Scalar(QStringLiteral("SELECT 1 FROM ") + info->BTTblName() + QStringLiteral(" WHERE ")
                                           + info->IDName() + QStringLiteral(" = ?"),
                                       {id});
    if (stored && !stored->isNull())
        return numbered(textsOf(Check::Delete).changedSuffix);
    return numbered(QStringLiteral("] 删除失败!"));
}

QString VoucherStateActions::makerAllowed(Check check)
{
    const CheckTexts texts = textsOf(check);
    auto info = m_engine.oGI();
    const QString maker = info ? headValue(info->cMakerName()) : QString();
    const QString answer = dataPermission().GetKindCondition(texts.letter);
    // A maker is matched as the quoted name the answer lists, so that "李" does not pass on a
    // grant for "李娜". A voucher without maker is everybody's, as in the lists.
    if (answer.contains(QStringLiteral("1=1"), Qt::CaseInsensitive) || maker.isEmpty()
        || answer.contains(quotedName(maker), Qt::CaseInsensitive))
        return {};
    return QStringLiteral("没有对操作员[") + maker + texts.makerSuffix + kLineBreak;
}

QString VoucherStateActions::stateAllowed(Check check) const
{
    auto info = m_engine.oGI();
    if (!info)
        return {};
    const bool confirmed = !headValue(info->cVerifierName()).isEmpty();
    // A voucher type without a closer column has no closed vouchers.
    const bool closed = !info->cCloserName().isEmpty() && !headValue(info->cCloserName()).isEmpty();
    switch (check) {
    case Check::Confirm:
        if (confirmed)
            return numbered(QStringLiteral("] 已经审核,不能再审核!"));
        break;
    case Check::CancelConfirm:
        if (!confirmed)
            return numbered(QStringLiteral("] 已经弃审或根本没有审核,不能弃审!"));
        if (closed)
            return numbered(QStringLiteral("] 已经关闭,不能弃审!"));
        break;
    case Check::Close:
        if (!confirmed)
            return numbered(QStringLiteral("] 未审核,不能关闭!"));
        if (closed)
            return numbered(QStringLiteral("] 已经关闭,不能再关闭!"));
        break;
    case Check::Open:
        if (!closed)
            return numbered(QStringLiteral("] 已经打开或根本没有关闭,不能再打开!"));
        break;
    case Check::Edit:
    case Check::Delete:
        break;
    }
    return {};
}

QString VoucherStateActions::callBusiness(Callback callback)
{
    auto business = m_engine.objVoucher();
    if (!business || !callback)
        return {};
    return ((*business).*callback)(m_engine.connection(), m_engine.domHead(), m_engine.domBody());
}

QString VoucherStateActions::taskId(Check check) const
{
    // The meta-information names no task identifiers, so the card's own are the fallback; close and
    // open have none on this card and are refused at the right step.
    auto info = m_engine.oGI();
    QString fromInfo;
    QString card;
    switch (check) {
    case Check::Edit:
    case Check::Delete:
        fromInfo = info ? info->AuthEdit() : QString();
        card = QStringLiteral("SA03250102");
        break;
    case Check::Confirm:
        fromInfo = info ? info->AuthConfirm() : QString();
        card = QStringLiteral("SA03250103");
        break;
    case Check::CancelConfirm:
        fromInfo = info ? info->AuthCancelConfirm() : QString();
        card = QStringLiteral("SA03250104");
        break;
    case Check::Close:
        fromInfo = info ? info->AuthClose() : QString();
        break;
    case Check::Open:
        fromInfo = info ? info->AuthOpen() : QString();
        break;
    }
    return fromInfo.isEmpty() ? card : fromInfo;
}

QString VoucherStateActions::headValue(const QString &field) const
{
    if (field.isEmpty())
        return {};
    return basVoucher::GetHeadValue(m_engine.domHead(), field);
}

QString VoucherStateActions::numbered(const QString &suffix) const
{
    auto info = m_engine.oGI();
    const QString code = info ? headValue(info->cCodeName()) : QString();
    return QStringLiteral("单据 [") + code + suffix + kLineBreak;
}

DataPermission &VoucherStateActions::dataPermission()
{
    // The card session is the one the checks answer for; an engine set up without one (a caller
    // outside the card) answers for its own login.
    std::shared_ptr<clsLogin> login = modPublic::cardLogin();
    if (!login)
        login = m_engine.objLogin();
    std::shared_ptr<DataPermission> service = programService();
    if (!service) {
        if (!m_ownService)
            m_ownService = std::make_shared<DataPermissionService>();
        service = m_ownService;
    }
    service->BindLogin(login);
    return *service;
}
