#pragma once

#include <QString>

class Connection;
class VoucherDocument;
class VoucherRow;

// Keeps the links between sample vouchers and their child samples while vouchers are saved and
// deleted (the business object's SaveOther, DelOther and VoucherDelete).
//
// A line of a sample owns a child sample through its ChildGUID (the child head's iAutoID); while a
// child is edited, its head row carries psguid, the iSubID of the line it was made for. Saving a
// child links that line to it; deleting a line or a whole voucher takes the child samples below,
// with their attachments, away (SubStructureDeletion).
//
// Everything runs on the connection given, inside the caller's transaction. A database error in
// linking or in deleting below a line is shown in a box ("SaveOther:", "DelOther:" or "DelSubBom:"
// and the database's text) and is answered as the reason to refuse, so the caller rolls its whole
// save back and nothing half-linked or orphaned stays. The box goes through the current message
// service, which the engine holds back until its transaction has ended (DeferredMessages). A voucher's deletion shows nothing of its
// own and answers "VoucherDelete:" + the text + CR LF for the engine to roll back and show.
class ChildStructureLinks
{
public:
    explicit ChildStructureLinks(Connection &cnn)
        : m_cnn(cnn)
    {}

    // A child sample (blank ccode) just written: the line psguid names points at it (ChildGUID =
    // its iautoid, csocode = its version) and the parent voucher parentId gets a new row version.
    // A top-level sample, or a psguid that names no line, changes nothing. "" = done, else the
    // reason to refuse.
    QString linkToParentLine(const VoucherRow &head, qint32 parentId);

    // A line being deleted from its voucher: its child sample goes, with everything below it. A
    // line without childguid changes nothing. "" = done, else the reason to refuse.
    QString deleteBelowLine(const VoucherRow &line);

    // A voucher the engine has deleted (head and lines): its own attachments, then the child
    // samples of every line of domBody. "" = done, else the error text.
    QString deleteBelowVoucher(const VoucherDocument &domHead, const VoucherDocument &domBody);

private:
    QString refuse(const QString &routine, const QString &error) const;

    Connection &m_cnn;
};
