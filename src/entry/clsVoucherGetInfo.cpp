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
    const auto row = VoucherRegistration::read(cnn, strCardNumber);
    if (!row || !row->has_value())
        return;
    const VoucherRegistration &r = **row;
    m_btQName = r.btQName;
    m_btTblName = r.btTblName;
    m_bwQName = r.bwQName;
    m_bwTblName = r.bwTblName;
    m_vchListQName = r.vchListQName;
    m_selfDef1 = r.selfDef1;
    m_selfDef2 = r.selfDef2;
    m_selfDef3 = r.selfDef3;
    m_defId = r.defId;
    m_defIdPrn = r.defIdPrn;

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
