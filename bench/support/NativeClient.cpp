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
        sqlite3_stmt *&stmt = m_prepared[sql];
        if (!stmt && sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
            return -1;
        for (int i = 0; i < values.size(); ++i)
            sqlite3_bind_double(stmt, i + 1, values[i]);
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
    bool exec(const char *sql) override { return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

private:
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
        QByteArray &name = m_prepared[sql];
        if (name.isEmpty()) {
            QString numbered;
            int n = 0;
            for (const QChar c : sql)
                numbered += c == QLatin1Char('?') ? QStringLiteral("$%1").arg(++n) : QString(c);
            name = "s" + QByteArray::number(m_prepared.size());
            PGresult *r = PQprepare(m_conn, name.constData(), numbered.toUtf8().constData(), 0, nullptr);
            const bool prepared = PQresultStatus(r) == PGRES_COMMAND_OK;
            PQclear(r);
            if (!prepared)
                return -1;
        }
        QList<QByteArray> texts;
        QList<const char *> params;
        for (double v : values)
            texts << QByteArray::number(v, 'g', 17); // C locale whatever the process's locale
        for (const QByteArray &t : std::as_const(texts))
            params << t.constData();
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
