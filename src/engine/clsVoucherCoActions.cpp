// The engine's writing actions: the save and the state actions, each run through ActionRetry so
// that a deadlock, a serialization failure or a lost connection ends in the system's own message.

#include "clsVoucherCo.h"

#include "ActionRetry.h"
#include "VoucherSaver.h"
#include "VoucherStateActions.h"

#include "entry/clsVoucherGetInfo.h"

Result<void> clsVoucherCo::BeginWriteTrans()
{
    // Lower case: the name is the lock's identity, and the meta-information spells table names as
    // each caller likes.
    return m_cnn.BeginWriteTrans(oGI()->BTTblName().toLower());
}

Result<bool> clsVoucherCo::RestoreConnection()
{
    if (!m_cnn.isLost()) {
        // A connection the server dropped while nobody used it looks open until a statement fails.
        auto alive = m_cnn.Scalar(QStringLiteral("SELECT 1"));
        if (alive || !m_cnn.isLost())
            return false;
    }
    if (auto reopened = m_cnn.Reopen(); !reopened)
        return fail(ActionRetry::noConnectionText());
    return true;
}

QString clsVoucherCo::VoucherSave(int iState, QVariant &varReturnID, qint32 &POvoucherID, QString &POvoucherTS)
{
    const qint32 parentId = POvoucherID;
    const QString parentVersion = POvoucherTS;
    return ActionRetry(m_cnn).run(
        [&] {
            POvoucherID = parentId;
            POvoucherTS = parentVersion;
            return VoucherSaver(*this).save(iState, varReturnID, POvoucherID, POvoucherTS);
        },
        [] { return VoucherSaver::changedElsewhere(); });
}

VoucherStateActions &clsVoucherCo::stateActions()
{
    if (!m_stateActions)
        m_stateActions = std::make_unique<VoucherStateActions>(*this);
    return *m_stateActions;
}

bool clsVoucherCo::VoucherCheckAuth(const QString &strTaskID)
{
    return stateActions().checkAuth(strTaskID);
}

QString clsVoucherCo::VoucherAllowEdit(bool bolCheckAuth)
{
    return stateActions().allow(VoucherStateActions::Check::Edit, bolCheckAuth);
}

QString clsVoucherCo::VoucherAllowDelete(bool bolCheckAuth)
{
    return stateActions().allow(VoucherStateActions::Check::Delete, bolCheckAuth);
}

QString clsVoucherCo::VoucherAllowConfirm(bool bolCheckAuth)
{
    return stateActions().allow(VoucherStateActions::Check::Confirm, bolCheckAuth);
}

QString clsVoucherCo::VoucherAllowCancelConfirm(bool bolCheckAuth)
{
    return stateActions().allow(VoucherStateActions::Check::CancelConfirm, bolCheckAuth);
}

QString clsVoucherCo::VoucherAllowClose(bool bolCheckAuth)
{
    return stateActions().allow(VoucherStateActions::Check::Close, bolCheckAuth);
}

QString clsVoucherCo::VoucherAllowOpen(bool bolCheckAuth)
{
    return stateActions().allow(VoucherStateActions::Check::Open, bolCheckAuth);
}

QString clsVoucherCo::VoucherConfirm(bool bolCheckAuth)
{
    return stateActions().act(VoucherStateActions::Check::Confirm, bolCheckAuth);
}

QString clsVoucherCo::VoucherCancelConfirm(bool bolCheckAuth)
{
    return stateActions().act(VoucherStateActions::Check::CancelConfirm, bolCheckAuth);
}

QString clsVoucherCo::VoucherClose(bool bolCheckAuth)
{
    return stateActions().act(VoucherStateActions::Check::Close, bolCheckAuth);
}

QString clsVoucherCo::VoucherOpen(bool bolCheckAuth)
{
    return stateActions().act(VoucherStateActions::Check::Open, bolCheckAuth);
}

QString clsVoucherCo::VoucherDelete(bool bolCheckAuth)
{
    return stateActions().deleteVoucher(bolCheckAuth);
}

QString clsVoucherCo::VoucherConfirm2(const QVariant &varID, const QString &strTimeStamp, bool bolCheckAuth)
{
    return stateActions().actOn(VoucherStateActions::Check::Confirm, varID, strTimeStamp, bolCheckAuth);
}

QString clsVoucherCo::VoucherCancelConfirm2(const QVariant &varID, const QString &strTimeStamp, bool bolCheckAuth)
{
    return stateActions().actOn(VoucherStateActions::Check::CancelConfirm, varID, strTimeStamp, bolCheckAuth);
}

QString clsVoucherCo::VoucherDeleteForOuter(const QVariant &varID, const QString &strTimeStamp, bool bolCheckAuth)
{
    return stateActions().actOn(VoucherStateActions::Check::Delete, varID, strTimeStamp, bolCheckAuth);
}
