#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

class Connection;
class VoucherDocument;
class clsLogin;
class clsVoucherGetInfo;

// The sample voucher's state rules: whether the engine may edit, delete, confirm, cancel a
// confirmation, close or open the head in domHead, and the status update of each action. Members
// carry the names of the engine's callbacks they answer (VoucherBusiness) and answer "" when
// allowed or done, else the message to show.
//
// Reads and the status update run on the connection given, normally the engine's. A status update
// is one UPDATE that must find the head with the row version the document holds; when another user
// changed or deleted the voucher meanwhile it changes nothing and answers the action's "changed"
// message. A database error is answered as the database's text.
//
// Column names come from the meta-information. Everything given is borrowed for the lifetime of
// the object, which is meant to live for one call.
class SampleStateRules
{
public:
    // Checks one free item of the new item (field "cfree1".."cfree10", its value, the item code):
    // "" when it is fine, else the message.
    using FreeItemCheck = std::function<QString(const QString &field, const QString &value, const QString &itemCode)>;

    SampleStateRules(Connection &cnn, std::shared_ptr<clsVoucherGetInfo> info, std::shared_ptr<clsLogin> login);

    // Confirmation also checks the new item's free items with this, when one is set.
    void setFreeItemCheck(FreeItemCheck check) { m_freeItemCheck = std::move(check); }

    QString VoucherAllowEdit(const VoucherDocument &domHead) const;
    QString VoucherAllowDelete(const VoucherDocument &domHead) const;
    // The new item must be in the item master (not a service, not a fee) and agree with it.
    QString VoucherAllowConfirm(const VoucherDocument &domHead) const;
    // Refused while the bill of materials made from the sample (iBOMAutoId) still exists.
    QString VoucherAllowCancelConfirm(const VoucherDocument &domHead) const;
    QString VoucherAllowClose(const VoucherDocument &) const { return {}; }
    QString VoucherAllowOpen(const VoucherDocument &) const { return {}; }

    // Stamps the login's user and date as confirmer.
    QString VoucherConfirm(const VoucherDocument &domHead);
    QString VoucherCancelConfirm(const VoucherDocument &domHead);
    // Sample vouchers have no closer column: closing and opening are refused.
    QString VoucherClose(const VoucherDocument &domHead);
    QString VoucherOpen(const VoucherDocument &domHead);

private:
    // Runs `setClause` (with `values` bound first) on the head the document names, at its row
    // version; `changedSuffix` follows the number when no row or more than one was touched.
    QString updateHead(const VoucherDocument &domHead, const QString &setClause, QVariantList values,
                       const QString &changedSuffix);
    QString confirmedRefusal(const VoucherDocument &domHead, const QString &suffix) const;
    QString numbered(const VoucherDocument &domHead, const QString &suffix) const;
    QString head(const VoucherDocument &domHead, const QString &field) const;

    Connection &m_cnn;
    std::shared_ptr<clsVoucherGetInfo> m_info;
    std::shared_ptr<clsLogin> m_login;
    FreeItemCheck m_freeItemCheck;
};
