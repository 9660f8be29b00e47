#pragma once

#include "VoucherTypeInfo.h"

#include <QString>

class Connection;

// Meta-information of a voucher type for the card and its engine: the head and body tables and
// views from the type's `vouchers` row, its default templates and the fixed names of the columns
// the engine builds its SQL with.
//
// loadVoucherInfo() never fails outward: without a row (or when the database cannot be read) every
// property keeps its value, so a caller tells an unusable card number by an empty BTQName(). The
// fixed column names are set together with a row only.
class clsVoucherGetInfo : public VoucherTypeInfo
{
public:
    void loadVoucherInfo(const QString &strCardNumber, const QString &strCnn1);
    // The same on a connection the caller holds open.
    void loadVoucherInfo(const QString &strCardNumber, Connection &cnn);

    QString CardNumber() const { return m_cardNumber; } // set by the caller, not by the load
    void setCardNumber(const QString &cardNumber) { m_cardNumber = cardNumber; }

    QString IDName() const { return m_idName; }       // head identifier
    QString SubIDName() const { return m_subIdName; } // body line key
    QString cCodeName() const { return m_codeName; }  // voucher number
    QString iVTIDName() const { return m_vtIdName; }  // head template column
    QString qvtsName() const { return m_qvtsName; }   // head row version
    QString IDNameSub() const { return m_idNameSub; } // body column pointing to the head
    QString cMakerName() const { return m_makerName; }
    QString dDate() const { return m_dateName; }
    QString cVerifierName() const { return m_verifierName; }
    QString dVerifierDate() const { return m_verifierDateName; }
    // The closer column; empty for sample vouchers, which have no closed state. A voucher type
    // whose head has one names it here, and closing and opening then stamp and clear it.
    QString cCloserName() const { return m_closerName; }
    void setCloserName(const QString &column) { m_closerName = column; }

private:
    QString m_cardNumber;
    QString m_idName;
    QString m_subIdName;
    QString m_codeName;
    QString m_vtIdName;
    QString m_qvtsName;
    QString m_idNameSub;
    QString m_makerName;
    QString m_dateName;
    QString m_verifierName;
    QString m_verifierDateName;
    QString m_closerName;
};
