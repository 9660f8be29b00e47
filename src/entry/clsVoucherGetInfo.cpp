#include "clsVoucherGetInfo.h"

#include "VoucherRegistration.h"

#include "platform/Connection.h"

void clsVoucherGetInfo::loadVoucherInfo(const QString &strCardNumber, const QString &strCnn1)
{
    Connection cnn;
    if (!cnn.Open(strCnn1))
        return;
    loadVoucherInfo(strCardNumber, cnn);
}

void clsVoucherGetInfo::loadVoucherInfo(const QString &strCardNumber, Connection &cnn)
{
    if (!readRegistration(cnn, strCardNumber))
        return;

    m_idName = QStringLiteral("iautoid");
    m_subIdName = QStringLiteral("isubid");
    m_codeName = QStringLiteral("ccode");
    m_vtIdName = QStringLiteral("vt_id");
    m_qvtsName = QStringLiteral("qvts");
    m_idNameSub = QStringLiteral("iautoid");
    m_makerName = QStringLiteral("cmaker");
    m_dateName = QStringLiteral("ddate");
    m_verifierName = QStringLiteral("chandler");
    m_verifierDateName = QStringLiteral("dveridate");
}
