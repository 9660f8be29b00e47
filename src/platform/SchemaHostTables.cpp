#include "SchemaColumns.h"

// The host components' own tables: who may log in, which functions each user holds, which functions
// may not run at the same time, which functions are being used right now by which client, and which
// records and other users' vouchers each user may see or act on (data permissions).

using namespace SchemaColumns;

namespace {

// Unlike the suite's flags these are never read through a NULL default: a user row always says
// whether it is a super user and whether it is disabled.
ColumnDef requiredFlag(const QString &name)
{
    return column(name, ColumnType::SmallInt, 0, true, QStringLiteral("0"));
}

// Users. cpassword holds libsodium's self-describing hash text (algorithm, limits, salt and hash),
// never the password itself.
TableDef users()
{
    TableDef t;
    t.name = QStringLiteral("ua_user");
    t.columns = {key(QStringLiteral("cuser_id"), 20), key(QStringLiteral("cuser_name"), 40),
                 key(QStringLiteral("cpassword"), 255), requiredFlag(QStringLiteral("bsuper")),
                 requiredFlag(QStringLiteral("bdisabled"))};
    t.primaryKey = {QStringLiteral("cuser_id")};
    return t;
}

// Rights: a user holds a function by its task identifier ("SA03250101"). Super users need no rows.
TableDef rights()
{
    TableDef t;
    t.name = QStringLiteral("ua_right");
    t.columns = {key(QStringLiteral("cuser_id"), 20), key(QStringLiteral("cauth_id"), 40)};
    t.primaryKey = {QStringLiteral("cuser_id"), QStringLiteral("cauth_id")};
    return t;
}

// Pairs of functions that may not run at the same time in two sessions. A pair works in both
// directions; a row whose two identifiers are equal makes a function exclude itself (one session at
// a time).
TableDef taskExclusions()
{
    TableDef t;
    t.name = QStringLiteral("ua_task_exclusive");
    t.columns = {key(QStringLiteral("cauth_id"), 40), key(QStringLiteral("cexclusive_id"), 40)};
    t.primaryKey = {QStringLiteral("cauth_id"), QStringLiteral("cexclusive_id")};
    t.indexes = {index(QStringLiteral("ix_ua_task_exclusive_other"), {QStringLiteral("cexclusive_id")})};
    return t;
}

// Functions entered right now: one row per session and function. A session refreshes dlastseen
// while it lives; a row not refreshed within the expiry belongs to a crashed client and is ignored
// and removed by the next session that looks.
TableDef taskLocks()
{
    TableDef t;
    t.name = QStringLiteral("ua_task_lock");
    t.columns = {key(QStringLiteral("cauth_id"), 40), key(QStringLiteral("cuser_id"), 20),
                 key(QStringLiteral("csession"), 64), text(QStringLiteral("cclient"), 255),
                 column(QStringLiteral("dlastseen"), ColumnType::DateTime, 0, true)};
    t.primaryKey = {QStringLiteral("csession"), QStringLiteral("cauth_id")};
    t.indexes = {index(QStringLiteral("ix_ua_task_lock_auth"), {QStringLiteral("cauth_id")})};
    return t;
}

// Which kinds of object an account keeps under data-permission control ("customer", "inventory",
// "department", "maker", "template"). An object without a row, or with bcontrol = 0, is not
// controlled: every user may see all of it.
TableDef dataObjects()
{
    TableDef t;
    t.name = QStringLiteral("ua_dataobject");
    t.columns = {key(QStringLiteral("cacc_id"), 20), key(QStringLiteral("cobject"), 20),
                 requiredFlag(QStringLiteral("bcontrol"))};
    t.primaryKey = {QStringLiteral("cacc_id"), QStringLiteral("cobject")};
    return t;
}

// What a user may see of a controlled object: one row per value (a customer's or item's iId or a
// template's VT_ID in decimal, a department code, a maker's user name), or one row with ball = 1
// and an empty value for all of it. caccess tells the makers' access kinds apart ("r" see, "w" edit
// and delete, "v" confirm, "u" cancel confirmation, "c" close) and is empty for the other objects.
// Empty rather than NULL, so that it can stand in the primary key.
TableDef dataPermissions()
{
    TableDef t;
    t.name = QStringLiteral("ua_datapermission");
    t.columns = {key(QStringLiteral("cacc_id"), 20), key(QStringLiteral("cuser_id"), 20),
                 key(QStringLiteral("cobject"), 20), key(QStringLiteral("caccess"), 1),
                 key(QStringLiteral("cvalue"), 60),  requiredFlag(QStringLiteral("ball"))};
    t.primaryKey = {QStringLiteral("cacc_id"), QStringLiteral("cuser_id"), QStringLiteral("cobject"),
                    QStringLiteral("caccess"), QStringLiteral("cvalue")};
    return t;
}

} // namespace

QList<TableDef> hostTables()
{
    return {users(), rights(), taskExclusions(), taskLocks(), dataObjects(), dataPermissions()};
}
