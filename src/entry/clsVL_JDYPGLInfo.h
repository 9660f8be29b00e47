#pragma once

#include "VoucherTypeInfo.h"
#include "enumVoucherType.h"

#include <QString>
#include <QVariant>

#include <memory>

class clsLogin;
class Connection;

// Meta-information of a voucher type for the voucher list: the tables and views of the type's
// `vouchers` row, the list's own column names, the business-object and filter names, and the
// list's print format with the footer fields of the printed list.
//
// loadVoucherInfo() never fails outward: each read that fails or finds no row leaves the
// properties it would have set as they were.
class clsVL_JDYPGLInfo : public VoucherTypeInfo
{
public:
    // Special and CurrentCardNumber are taken first (they make the print-format key); with a login
    // the company name, the stored print format and the footer fields are read; then the card
    // number's `vouchers` row.
    void loadVoucherInfo(const QString &strCardNumber, const QString &strCnn1, qint16 intSpecial = 0,
                         const std::shared_ptr<clsLogin> &objLogin = nullptr);
    // The same on a connection the caller holds open.
    void loadVoucherInfo(const QString &strCardNumber, Connection &cnn, qint16 intSpecial = 0,
                         const std::shared_ptr<clsLogin> &objLogin = nullptr);

    // Card number of a voucher type; empty for a type without one.
    QString CardNumber(enumVoucherType eVtype) const;

    // The list view's column names; set together with a `vouchers` row.
    QString IDName() const { return m_idName; }
    QString SubIDName() const { return m_subIdName; }
    QString iVTIDName() const { return m_vtIdName; }
    QString qvtsName() const { return m_qvtsName; }
    QString IDNameSub() const { return m_idNameSub; }
    // The list has none of these columns.
    QString cCodeName() const { return QString(); }
    QString cVerifierName() const { return QString(); }
    QString dVerifierDate() const { return QString(); }
    QString cCloserName() const { return QString(); }
    QString cMakerName() const { return QString(); }
    QString dDate() const { return QString(); }

    QVariant HelpContextID() const { return QVariant(); }

    QString CompanyName() const { return m_companyName; }
    qint16 Special() const { return m_special; }
    void setSpecial(qint16 special) { m_special = special; }
    QString CurrentCardNumber() const { return m_currentCardNumber; }
    void setCurrentCardNumber(const QString &cardNumber) { m_currentCardNumber = cardNumber; }
    // Key of the list's print format in prn_format: "<card number>_<special>_Print_".
    QString ListFormatXMLmID() const;
    QString ListFormatXML() const { return m_listFormatXML; }
    void setListFormatXML(const QString &xml) { m_listFormatXML = xml; }
    QString ListFormatXMLotherInfo() const { return m_listFormatXMLotherInfo; }
    void setListFormatXMLotherInfo(const QString &xml) { m_listFormatXMLotherInfo = xml; }
    QString BusObID() const { return m_busObId; }
    QString FilterReportName() const { return m_filterReportName; }
    QString FilterSubID() const { return m_filterSubId; }
    bool DisableGroupCondition() const { return m_disableGroupCondition; }
    void setDisableGroupCondition(bool disable) { m_disableGroupCondition = disable; }

private:
    void readLoginInfo(Connection &cnn, const clsLogin &login);

    QString m_idName;
    QString m_subIdName;
    QString m_vtIdName;
    QString m_qvtsName;
    QString m_idNameSub;
    QString m_companyName;
    qint16 m_special = 0;
    QString m_currentCardNumber;
    QString m_listFormatXML;
    QString m_listFormatXMLotherInfo;
    QString m_busObId;
    QString m_filterReportName;
    QString m_filterSubId;
    bool m_disableGroupCondition = false;
};
