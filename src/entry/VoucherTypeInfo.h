#pragma once

#include "VoucherRegistration.h"

#include <QString>

// What both meta-information objects (card and list) read from a voucher type's `vouchers` row:
// its tables, views, free settings and default templates, and the task identifiers, which the
// meta-information does not know (always empty).
class VoucherTypeInfo
{
public:
    QString BTTblName() const { return m_registration.btTblName; }
    QString BTQName() const { return m_registration.btQName; }
    QString BWTblName() const { return m_registration.bwTblName; } // empty: the voucher has no body
    QString BWQName() const { return m_registration.bwQName; }
    QString VchListQName() const { return m_registration.vchListQName; }
    QString SelfDef1() const { return m_registration.selfDef1; }
    QString SelfDef2() const { return m_registration.selfDef2; }
    QString SelfDef3() const { return m_registration.selfDef3; }
    qint32 DEF_ID() const { return m_registration.defId; }        // default display template
    qint32 DEF_ID_PRN() const { return m_registration.defIdPrn; } // default print template

    QString AuthView() const { return QString(); }
    QString AuthEdit() const { return QString(); }
    QString AuthConfirm() const { return QString(); }
    QString AuthCancelConfirm() const { return QString(); }
    QString AuthClose() const { return QString(); }
    QString AuthOpen() const { return QString(); }

protected:
    // Takes the card number's row. False, with every property as it was, when the card number has
    // no row or the table cannot be read.
    bool readRegistration(Connection &cnn, const QString &cardNumber)
    {
        const auto row = VoucherRegistration::read(cnn, cardNumber);
        if (!row || !row->has_value())
            return false;
        m_registration = **row;
        return true;
    }

    VoucherRegistration m_registration;
};
