#include "NativeClient.h"

#include "platform/ConnectionString.h"

#include <QHash>

#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <sqlite3.h>

namespace {

class SqliteClient final : public NativeClient
{
public:
    explicit SqliteClient(const QString &path)
    {
        if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            m_db = nullptr;
        else
            sqlite3_busy_timeout(m_db, 10000);
    }
    ~SqliteClient() override
    {
        for (sqlite3_stmt *stmt : std::as_const(m_prepared))
            sqlite3_finalize(stmt);
        sqlite3_close(m_db);
    }
    bool ok() const { return m_db != nullptr; }

    qint64 run(const QString &sql, const QList<double> &values) override
    {
        sqlite3_stmt *stmt = prepared(sql);
        if (!stmt)
            return -1;
        for (int i = 0; i < values.size(); ++i)
            sqlite3_bind_double(stmt, i + 1, values[i]);
        return stepAll(stmt);
    }
    qint64 runTexts(const QString &sql, const QList<QByteArray> &values) override
    {
        sqlite3_stmt *stmt = prepared(sql);
        if (!stmt)
            return -1;
        for (int i = 0; i < values.size(); ++i) {
            if (values[i].isNull())
                sqlite3_bind_null(stmt, i + 1);
            else
                sqlite3_bind_text(stmt, i + 1, values[i].constData(), int(values[i].size()), SQLITE_STATIC);
        }
        return stepAll(stmt);
    }
    bool exec(const char *sql) override { return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

private:
    sqlite3_stmt *prepared(const QString &sql)
    {
        sqlite3_stmt *&stmt = m_prepared[sql];
        if (!stmt && sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
            stmt = nullptr;
        return stmt;
    }
    static qint64 stepAll(sqlite3_stmt *stmt)
    {
        qint64 rows = 0;
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            ++rows;
            for (int c = 0, n = sqlite3_column_count(stmt); c < n; ++c)
                benchmark::DoNotOptimize(sqlite3_column_text(stmt, c));
        }
        sqlite3_reset(stmt);
        return rc == SQLITE_DONE ? rows : -1;
    }

    sqlite3 *m_db = nullptr;
    QHash<QString, sqlite3_stmt *> m_prepared;
};

class PqClient final : public NativeClient
{
public:
    explicit PqClient(const ConnectionString &info)
        : m_conn(connectNativePostgres(info))
    {}
    ~PqClient() override { PQfinish(m_conn); }
    bool ok() const { return PQstatus(m_conn) == CONNECTION_OK; }

    qint64 run(const QString &sql, const QList<double> &values) override
    {
        QList<QByteArray> texts;
        for (double v : values)
            texts << QByteArray::number(v, 'g', 17); // C locale whatever the process's locale
        return runTexts(sql, texts);
    }
    qint64 runTexts(const QString &sql, const QList<QByteArray> &values) override
    {
        const QByteArray name = prepared(sql);
        if (name.isEmpty())
            return -1;
        QList<const char *> params;
        for (const QByteArray &t : values)
            params << (t.isNull() ? nullptr : t.constData());
        PGresult *r
            = PQexecPrepared(m_conn, name.constData(), int(params.size()), params.constData(), nullptr, nullptr, 0);
        qint64 rows = -1;
        if (PQresultStatus(r) == PGRES_TUPLES_OK) {
            rows = PQntuples(r);
            for (int row = 0; row < rows; ++row) {
                for (int c = 0, n = PQnfields(r); c < n; ++c)
                    benchmark::DoNotOptimize(PQgetvalue(r, row, c));
            }
        } else if (PQresultStatus(r) == PGRES_COMMAND_OK) {
            rows = 0;
        }
        PQclear(r);
        return rows;
    }
    bool exec(const char *sql) override
    {
        PGresult *r = PQexec(m_conn, sql);
        const bool done = PQresultStatus(r) == PGRES_COMMAND_OK;
        PQclear(r);
        return done;
    }

private:
    QByteArray prepared(const QString &sql)
    {
        QByteArray &name = m_prepared[sql];
        if (!name.isEmpty())
            return name;
        QString numbered;
        int n = 0;
        for (const QChar c : sql)
            numbered += c == QLatin1Char('?') ? QStringLiteral("$%1").arg(++n) : QString(c);
        const QByteArray candidate = "s" + QByteArray::number(m_prepared.size());
        PGresult *r = PQprepare(m_conn, candidate.constData(), numbered.toUtf8().constData(), 0, nullptr);
        if (PQresultStatus(r) == PGRES_COMMAND_OK)
            name = candidate;
        PQclear(r);
        return name;
    }

    PGconn *m_conn = nullptr;
    QHash<QString, QByteArray> m_prepared;
};

} // namespace

PGconn *connectNativePostgres(const ConnectionString &info)
{
    const QByteArray host = info.host.toUtf8(), port = QByteArray::number(info.port), user = info.user.toUtf8(),
                     password = info.password.toUtf8(), dbname = info.database.toUtf8();
    const char *keys[] = {"host", "port", "user", "password", "dbname", nullptr};
    const char *values[]
        = {host.constData(),   port.constData(), user.constData(), password.isEmpty() ? nullptr : password.constData(),
           dbname.constData(), nullptr};
    PGconn *conn = PQconnectdbParams(keys, values, 0);
    if (PQstatus(conn) != CONNECTION_OK)
        return conn;
    QString schema = info.schema;
    schema.replace(QLatin1Char('"'), QLatin1String("\"\""));
    PQclear(PQexec(conn, QStringLiteral("SET search_path TO \"%1\"").arg(schema).toUtf8().constData()));
    return conn;
}

std::unique_ptr<NativeClient> NativeClient::open(const QString &connectionString)
{
    const auto info = ConnectionString::parse(connectionString);
    if (!info)
        return nullptr;
    if (info->backend == Backend::Sqlite) {
        auto client = std::make_unique<SqliteClient>(info->path);
        return client->ok() ? std::move(client) : nullptr;
    }
    auto client = std::make_unique<PqClient>(*info);
    return client->ok() ? std::move(client) : nullptr;
}
