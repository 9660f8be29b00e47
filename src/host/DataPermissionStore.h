#pragma once

#include "platform/Result.h"

#include <QString>
#include <QStringList>

class Connection;

// The kinds of object that data permissions cover.
enum class DataObject {
    Customer,   // values: Customer.iId
    Inventory,  // values: Inventory.iId
    Department, // values: Department.cDepCode
    Maker,      // values: user names as written into cMaker, per access kind
    Template    // values: vouchertemplates.VT_ID
};

// What a user may see of one object (and, for makers, one access kind).
struct DataGrants
{
    bool all = false;   // every value: a super user, an object not under control, or an all-grant
    QStringList values; // otherwise these, as stored (decimal text for identifiers); empty = nothing
};

// The data permissions in the database (tables ua_dataobject and ua_datapermission).
//
// An account puts an object under control with setControlled(); until then every user may see all
// of it. Under control, a user sees what was granted: single values, or everything with an
// all-grant. Super users (ua_user.bsuper) see everything; an unknown user sees nothing.
//
// Reads use the given connection, which must outlive the store. Grants are read on every call, so a
// grant counts at once.
class DataPermissionStore
{
public:
    explicit DataPermissionStore(Connection &cnn)
        : m_cnn(cnn)
    {}

    // The access kinds of makers, in the order of the voucher actions.
    static const QStringList &makerAccessKinds();
    // Whether the object's values are integer identifiers (customers, items, templates) rather than
    // codes or names.
    static bool holdsIdentifiers(DataObject object);

    // `access` is one of makerAccessKinds() for makers and empty for every other object; anything
    // else is refused.
    Result<DataGrants> grants(const QString &accountId, const QString &userId, DataObject object,
                              const QString &access = QString()) const;

    // Administration, for setup, the demo database and tests. Each call stands alone; run several in
    // the caller's transaction when they must stand together. Granting what is already granted
    // changes nothing.
    static Result<void> setControlled(Connection &cnn, DataObject object, bool controlled,
                                      const QString &accountId = QStringLiteral("001"));
    // Everything of the object (for makers: of one access kind) to an existing user.
    static Result<void> grantAll(Connection &cnn, const QString &userId, DataObject object,
                                 const QString &access = QString(), const QString &accountId = QStringLiteral("001"));
    // One value: an identifier in decimal for customers, items and templates, a department code or a
    // maker's user name. Surrounding blanks are dropped; an empty value and, for identifiers, text
    // that is not an integer are refused.
    static Result<void> grantValue(Connection &cnn, const QString &userId, DataObject object, const QString &value,
                                   const QString &access = QString(), const QString &accountId = QStringLiteral("001"));

private:
    static Result<void> insertGrant(Connection &cnn, const QString &accountId, const QString &userId, DataObject object,
                                    const QString &access, const QString &value, bool all);

    Connection &m_cnn;
};
