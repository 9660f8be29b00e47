// clsVoucherCo's reference lists and field checks: thin members over ReferenceLookup, BaseCheck,
// FreeItemCheck and SingleValueCheck, on the engine's connection, documents and login.
#include "clsVoucherCo.h"

#include "BaseCheck.h"
#include "FreeItemCheck.h"
#include "ReferenceLookup.h"
#include "SingleValueCheck.h"
#include "VoucherStateActions.h"

#include "host/clsLogin.h"

#include <QDate>

namespace {

// The reference date of the lists: the login's operation date, today without a login.
QDate loginDate(const std::shared_ptr<clsLogin> &login)
{
    const QDate date = login ? QDate::fromString(login->LoginDate(), Qt::ISODate) : QDate();
    return date.isValid() ? date : QDate::currentDate();
}

} // namespace

DataPermission &clsVoucherCo::dataPermission()
{
    return stateActions().dataPermission();
}

bool clsVoucherCo::ReferBase(const QString &strFieldName, QVariant &varReturnValue, const QString &strWhere,
                             Recordset *rstReturn, bool bolMultiSelect, bool bolMultiPage, qint32 lngPageSize)
{
    ReferenceLookup lookup(m_cnn, &dataPermission(), loginDate(m_login));
    return lookup.referBase(strFieldName, varReturnValue, strWhere, rstReturn, bolMultiSelect, bolMultiPage,
                            lngPageSize);
}

bool clsVoucherCo::ReferDefine(const QString &strFieldName, QVariant &varReturnValue, qint32 lngDataSource,
                               const QString &strDataRule, bool bolMultiPage, qint32 lngPageSize)
{
    ReferenceLookup lookup(m_cnn, nullptr, loginDate(m_login));
    return lookup.referDefine(strFieldName, varReturnValue, lngDataSource, strDataRule, bolMultiPage, lngPageSize);
}

QString clsVoucherCo::CheckBase(const QString &strFieldName, const QVariant &varValue, VoucherDocument &domReturn,
                                const QString &strWhere)
{
    return BaseCheck(m_cnn, dataPermission()).check(strFieldName, varValue.toString(), domReturn, strWhere);
}

QString clsVoucherCo::HeadCheckSingle(const QString &strFieldName, VoucherDocument *domReturn)
{
    BaseCheck base(m_cnn, dataPermission());
    FreeItemCheck freeItems(m_cnn);
    return SingleValueCheck(base, freeItems).head(m_domHead, strFieldName, domReturn);
}

QString clsVoucherCo::BodyCheckSingle(const QString &strFieldName, VoucherDocument *domReturn, qint32 R)
{
    Q_UNUSED(R)
    BaseCheck base(m_cnn, dataPermission());
    FreeItemCheck freeItems(m_cnn);
    return SingleValueCheck(base, freeItems).body(m_domBody, strFieldName, domReturn);
}

QString clsVoucherCo::CheckFree(const QString &strFieldName, const QVariant &varValue, const QString &strInvCode,
                                VoucherDocument *domReturn)
{
    return FreeItemCheck(m_cnn).check(strFieldName, varValue.toString(), strInvCode, domReturn);
}

QString clsVoucherCo::CheckFree2(const QString &strFieldName, const QVariant &varValue, const QString &strInvCode,
                                 VoucherDocument *domReturn, const QString &sVTID, QString &CardSection,
                                 bool &bBuildArchives, Connection *FrmCnn)
{
    return FreeItemCheck(m_cnn).check2(strFieldName, varValue.toString(), strInvCode, domReturn, sVTID, CardSection,
                                       bBuildArchives, FrmCnn);
}
