#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

struct ConnectionString;
typedef struct pg_conn PGconn;

// A libpq connection to the PostgreSQL database `info` names, its search path set to the schema
// the string names; check PQstatus. The caller PQfinish-es it.
PGconn *connectNativePostgres(const ConnectionString &info);

// The floor of a benchmark: the statements the system runs, sent through the database's own
// client library (sqlite3 or libpq) with each statement prepared once, no Qt and no layer of ours
// in between. Statements use "?" for their values, which are numbers ("$n" is written for libpq).
class NativeClient
{
public:
    // A client on the database of a connection string ("sqlite:///..." or "postgresql://...");
    // nullptr when it cannot connect.
    static std::unique_ptr<NativeClient> open(const QString &connectionString);
    virtual ~NativeClient() = default;

    // Runs `sql` (prepared on first use) with `values`; the rows it returned (every value read),
    // or -1 on a failure.
    virtual qint64 run(const QString &sql, const QList<double> &values = {}) = 0;
    // The same with values as text (a null QByteArray binds NULL): each database converts them to
    // the column's type, as it does for a client that sends text.
    virtual qint64 runTexts(const QString &sql, const QList<QByteArray> &values) = 0;
    // A statement without values and without preparing (BEGIN, ROLLBACK).
    virtual bool exec(const char *sql) = 0;
};
