#pragma once

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>

// The native handle behind a Qt database connection, when it is of the wanted type: the drivers
// name them "sqlite3*" and "pg_conn*" (libpq's struct behind the PGconn typedef). Null when the
// connection is closed or of another kind. Internal to src/platform.
template<typename Handle> Handle *nativeHandle(const QSqlDatabase &db, const char *typeName)
{
    if (!db.isOpen() || !db.driver())
        return nullptr;
    const QVariant v = db.driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), typeName) != 0)
        return nullptr;
    return *static_cast<Handle *const *>(v.constData());
}
