#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

class Connection;
class DataPermission;
class VoucherBusiness;
class VoucherDocument;
class clsVoucherCo;

// The state actions of a voucher engine: edit, delete, confirm, cancel a confirmation, close and
// open, each behind the same allow chain. The chain stops at the first refusal and answers its
// message (followed by CR LF); "" means allowed:
//
//  1. the user's right to the check's function (only when checkAuth is true);
//  2. the data permission over the voucher's maker for the check's access letter (not for open);
//  3. a loaded head row;
//  4. the voucher's state (confirmed, closed);
//  5. the head's row version, unchanged since it was loaded;
//  6. the business object's allow rule of the same name, whose text is answered unchanged.
//
// The actions run the chain and then the business object's callback, which performs the status
// update; deletion removes the head and its lines itself, in one transaction on the engine's
// connection, and lets the business object clean up inside that transaction.
//
// The deletion's head statement is guarded by the row version step 5 checked, like the business
// object's status updates, so an action another user committed in between is never overwritten.
// Every public action runs through ActionRetry: a deadlock or a lost connection is retried once
// and otherwise answered with the check's "changed" text, and no message box opens while the
// deletion's transaction is held.
//
// The object works on the engine it was made for and must not outlive it. Refusals are text; a
// database failure of the deletion is returned as the database's text and rolls everything back.
class VoucherStateActions
{
public:
    enum class Check { Edit, Delete, Confirm, CancelConfirm, Close, Open };

    explicit VoucherStateActions(clsVoucherCo &engine);
    ~VoucherStateActions();
    VoucherStateActions(const VoucherStateActions &) = delete;
    VoucherStateActions &operator=(const VoucherStateActions &) = delete;

    // True when the engine's user may enter the function now. The entry it makes is given back at
    // once, so asking never holds the function, nor gives back one a window of the session holds.
    bool checkAuth(const QString &taskId);

    QString allow(Check check, bool checkAuth);
    // Confirm, cancel confirmation, close or open the loaded voucher (Edit and Delete are not
    // actions of this kind and answer like their allow check).
    QString act(Check check, bool checkAuth);
    QString deleteVoucher(bool checkAuth);
    // Loads the voucher `id` into the engine's documents, makes `timeStamp` (when not empty) its
    // row version, and runs act() or deleteVoucher() on it.
    QString actOn(Check check, const QVariant &id, const QString &timeStamp, bool checkAuth);

    // The data-permission service the allow checks ask: the one the list made last, kept
    // program-wide. Until a list has made one, each engine asks a service of its own bound to its
    // login. Passing nullptr forgets the program-wide one.
    static void setProgramDataPermission(std::shared_ptr<DataPermission> service);
    static std::shared_ptr<DataPermission> programDataPermission();

    // The service the checks ask, bound to the card's login (or the engine's when there is no
    // card); the engine's field checks and reference lists ask the same one.
    DataPermission &dataPermission();

private:
    QString retried(Check check, const std::function<QString()> &action);
    // One run of allow, act and deleteVoucher.
    QString allowOnce(Check check, bool checkAuth);
    QString actOnce(Check check, bool checkAuth);
    QString deleteOnce(bool checkAuth);
    QString notDeleted(const QVariant &id);
    QString makerAllowed(Check check);
    QString stateAllowed(Check check) const;
    // Calls a member of the business object with the engine's connection and documents; "" when
    // there is no business object or no such callback.
    QString callBusiness(QString (VoucherBusiness::*callback)(Connection &, VoucherDocument &, VoucherDocument &));
    QString taskId(Check check) const;
    QString headValue(const QString &field) const;
    QString numbered(const QString &suffix) const;

    clsVoucherCo &m_engine;
    std::shared_ptr<DataPermission> m_ownService;
};
