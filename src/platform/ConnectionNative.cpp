// The members of Connection that read through the native client, and the upkeep of both caches of
// prepared statements.
#include "Connection.h"

#include "NativeHandle.h"
#include "RecordsetXmlWriter.h"

#include <QSqlError>

#include <libpq-fe.h>
#include <sqlite3.h>

NativeStatement *Connection::nativeStatement(const QString &sql, int paramCount, QString *error, QString *code)
{
    const QSqlDatabase db = database();
    if (backend() == Backend::Sqlite) {
        sqlite3 *handle = nativeHandle<sqlite3>(db, "sqlite3*");
        if (!handle)
            return nullptr;
        return m_native.acquire(sql, paramCount, [&] { return NativeStatement::prepare(handle, sql, error, code); });
    }
    PGconn *handle = nativeHandle<PGconn>(db, "pg_conn*");
    if (!handle)
        return nullptr;
    // Qt's driver reads a forward-only result row by row and leaves its end on the connection
    // until it sends its next statement, when it throws away whatever is left. Every query of
    // this class is read to its end before it returns, so what is left is only that end: it is
    // thrown away here the same way, as running another statement does in Qt.
    NativeStatement::settle(handle);
    return m_native.acquire(sql, paramCount, [&] { return NativeStatement::prepare(handle, sql, error, code); });
}

Connection::NativeRun Connection::runNative(const QString &sql, const QVariantList &params,
                                            const std::function<bool(NativeStatement &)> &read, QString &failure)
{
    if (!isOpen() || !NativeStatement::canBind(params))
        return NativeRun::Unavailable;
    QString error, code;
    NativeStatement *statement = nativeStatement(sql, int(params.size()), &error, &code);
    if (!statement && error.isEmpty())
        return NativeRun::Unavailable;
    if (statement && statement->execute(params, &error, &code)) {
        const bool readAll = read(*statement);
        const bool done = !statement->failed(&error, &code) && readAll;
        statement->finish();
        if (done) {
            m_lastUniqueViolation = false;
            return NativeRun::Done;
        }
    }
    const QSqlError e(QString(), error, QSqlError::StatementError, code);
    m_lastUniqueViolation = dialect().isUniqueViolation(code, error);
    noteFailure(e);
    // A statement that failed is prepared afresh next time.
    m_native.remove(sql);
    failure = describe(e);
    return NativeRun::Failed;
}

Result<QByteArray> Connection::QueryXml(const QString &sql, const QVariantList &params)
{
    QByteArray text;
    QString failure;
    const auto read = [&](NativeStatement &statement) {
        text = RecordsetXmlWriter::write(statement);
        return !text.isNull();
    };
    switch (runNative(sql, params, read, failure)) {
    case NativeRun::Done:
        return text;
    case NativeRun::Failed:
        return fail(failure);
    case NativeRun::Unavailable:
        break;
    }
    auto rs = Query(sql, params);
    if (!rs)
        return fail(rs.error());
    return RecordsetXmlWriter::write(*rs);
}

Result<void> Connection::ExecuteNative(const QString &sql, const QVariantList &params)
{
    QString failure;
    // SQLite runs the statement as it is stepped; PostgreSQL has run it already.
    const auto step = [](NativeStatement &statement) {
        while (statement.next()) {
        }
        return true;
    };
    switch (runNative(sql, params, step, failure)) {
    case NativeRun::Done:
        return {};
    case NativeRun::Failed:
        return fail(failure);
    case NativeRun::Unavailable:
        break;
    }
    auto done = Execute(sql, params);
    if (!done)
        return fail(done.error());
    return {};
}

void Connection::clearStatements()
{
    m_statements.clear();
    m_native.clear();
}

void Connection::setDeferFrees(bool defer)
{
    m_statements.setDeferFrees(defer);
    m_native.setDeferFrees(defer);
}

void Connection::freeDeferredStatements()
{
    m_statements.freeDeferred();
    m_native.freeDeferred();
}
