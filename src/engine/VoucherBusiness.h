#pragma once

#include <QString>

#include <memory>

class clsLogin;
class clsVoucherGetInfo;
class Connection;
class VoucherDocument;
class VoucherRow;
class clsVoucherCo;

// The business object of a voucher type, as the engine calls it back. Each member carries the name
// of the call the engine makes; the sample voucher's clsManageSample implements it.
//
// The save callbacks are listed in the order VoucherSave calls them. The defaults pass and change
// nothing, so a voucher type without rules of its own saves as the documents stand. The documents
// and the connection are the engine's own: what a callback changes in them is what the engine goes
// on with. From HeadSaveCheck2 on the connection is inside the save's transaction, and whatever a
// callback writes through it is rolled back with the save.
class VoucherBusiness
{
public:
    virtual ~VoucherBusiness() = default;

    // Set-up after the engine has read the voucher's meta-information.
    virtual void Initial(std::shared_ptr<clsLogin> /*login*/, std::shared_ptr<clsVoucherGetInfo> /*info*/) {}

    // The fields of a fresh voucher: gives the engine a new head document (no body).
    virtual void VoucherNew(clsVoucherCo & /*objVO*/) {}

    // Before the checks: removes or marks body lines that must not be written.
    virtual void BodyDeleteEmptyRow(VoucherDocument & /*domBody*/) {}
    // Checks of the documents alone, before anything is written: "" = passed, else the messages.
    virtual QString HeadSaveCheck(const VoucherDocument & /*domHead*/) { return {}; }
    virtual QString BodySaveCheck(const VoucherDocument & /*domBody*/) { return {}; }
    // Defaults filled in just before the rows are written.
    virtual void DomSetDefault(VoucherDocument & /*domHead*/, VoucherDocument & /*domBody*/) {}
    // After the head row was written: false refuses the save, with the reason in Msg.
    virtual bool HeadSaveCheck2(Connection & /*cnn*/, const VoucherRow & /*eleHead*/, qint32 & /*POvoucherID*/,
                                QString & /*POvoucherTS*/, QString & /*Msg*/)
    {
        return true;
    }
    // After HeadSaveCheck2 passed: writes what depends on the head row. "" = done; anything else
    // is the reason the save is refused and rolled back.
    virtual QString SaveOther(Connection & /*cnn*/, const VoucherRow & /*eleInsert*/, qint32 & /*POvoucherID*/)
    {
        return {};
    }
    // For each body line marked for deletion, before the body statements run: removes what depends
    // on the line. "" = done; anything else refuses the save, as SaveOther's answer does.
    virtual QString DelOther(Connection & /*cnn*/, const VoucherRow & /*eleDelete*/) { return {}; }
    // After the body lines were written: false refuses the save, with the reason in MsgStr.
    virtual bool BodySaveCheck2(Connection & /*cnn*/, const VoucherRow & /*eleHead*/, QString & /*MsgStr*/)
    {
        return true;
    }

    // State actions (see VoucherStateActions). The engine runs its own allow chain first and calls
    // the allow rule of the same name last; the action callback follows only when everything
    // allowed it. Each answers "" (allowed / done) or the message to show. They get the engine's
    // connection so that their reads and their status update see what the engine sees; the
    // documents are the engine's own, and what a callback changes in them the engine keeps.
    // The defaults allow everything and change nothing.
    virtual QString VoucherAllowEdit(Connection & /*cnn*/, VoucherDocument & /*domHead*/, VoucherDocument & /*domBody*/)
    {
        return {};
    }
    virtual QString VoucherAllowDelete(Connection & /*cnn*/, VoucherDocument & /*domHead*/,
                                       VoucherDocument & /*domBody*/)
    {
        return {};
    }
    virtual QString VoucherAllowConfirm(Connection & /*cnn*/, VoucherDocument & /*domHead*/,
                                        VoucherDocument & /*domBody*/)
    {
        return {};
    }
    virtual QString VoucherAllowCancelConfirm(Connection & /*cnn*/, VoucherDocument & /*domHead*/,
                                              VoucherDocument & /*domBody*/)
    {
        return {};
    }
    virtual QString VoucherAllowClose(Connection & /*cnn*/, VoucherDocument & /*domHead*/,
                                      VoucherDocument & /*domBody*/)
    {
        return {};
    }
    virtual QString VoucherAllowOpen(Connection & /*cnn*/, VoucherDocument & /*domHead*/, VoucherDocument & /*domBody*/)
    {
        return {};
    }
    virtual QString VoucherConfirm(Connection & /*cnn*/, VoucherDocument & /*domHead*/, VoucherDocument & /*domBody*/)
    {
        return {};
    }
    virtual QString VoucherCancelConfirm(Connection & /*cnn*/, VoucherDocument & /*domHead*/,
                                         VoucherDocument & /*domBody*/)
    {
        return {};
    }
    virtual QString VoucherClose(Connection & /*cnn*/, VoucherDocument & /*domHead*/, VoucherDocument & /*domBody*/)
    {
        return {};
    }
    virtual QString VoucherOpen(Connection & /*cnn*/, VoucherDocument & /*domHead*/, VoucherDocument & /*domBody*/)
    {
        return {};
    }
    // After the engine deleted the head and its lines, inside the deletion's transaction: a
    // non-empty answer rolls the deletion back and is shown.
    virtual QString VoucherDelete(Connection & /*cnn*/, VoucherDocument & /*domHead*/, VoucherDocument & /*domBody*/)
    {
        return {};
    }
};
