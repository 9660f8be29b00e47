#pragma once

#include <QString>

#include <memory>

class clsLogin;

// The host's data-permission service as the windows and the engine see it: which records and which
// other users' vouchers the logged-in user may see or act on, answered as SQL condition text that
// the callers join into their own queries. DataPermissionService is the real one; tests of the
// windows fake this interface.
//
// The answers never fail: a service that cannot tell (no login bound, database error) answers as
// if nothing were allowed.
class DataPermission
{
public:
    virtual ~DataPermission() = default;

    // Binds the service to the user of `login`; every later answer is that user's. The login is
    // passed by reference as the callers hand it round; the service keeps a share of it and never
    // replaces it. Binding another login makes the service answer for that user.
    virtual void BindLogin(std::shared_ptr<clsLogin> &login) = 0;

    // A condition that can follow " and " in a WHERE clause, for a column or expression that names
    // customers ("CustomerIID", "Customer.iId"), items ("NewInvIID", "InventoryIID", "I.iId",
    // "i.iId") or departments ("cdepcode"): "1=1" when the user may see every one, "1=2" when none,
    // otherwise the text followed by an in-list ("CustomerIID in (3,7,12)",
    // "cdepcode in ('0201','0301')"). A text ending in " not", such as
    // "COALESCE(InventoryIID,0) not", asks for the rows outside the permission: the same in-list
    // ("... not in (3,7)"), "1=2" when everything is allowed and "1=1" when nothing is.
    // A text that names none of these objects answers "1=1": data permissions cover only them.
    virtual QString GetFieldCondition(const QString &field) = 0;

    // For an access kind over vouchers by their maker ("r" see, "w" edit and delete, "v" confirm,
    // "u" cancel confirmation, "c" close): "1=1" for every maker, "1=2" for none, otherwise a comma
    // list of quoted user names for a cmaker in-list ("'李娜','刘洋'"). For "DJMB" (voucher
    // templates): "" for every template, "1=2" for none, otherwise a comma list of template
    // identifiers for a VT_ID in-list ("180101,180102"). Letter case does not matter; any other kind
    // answers "1=2".
    virtual QString GetKindCondition(const QString &kind) = 0;
};
