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

Result<QByteArray> Connection::QueryXml(const QString &sql, const QVariantList &params)
{
    const auto throughQt = [&]() -> Result<QByteArray> {
        auto rs = Query(sql, params);
        if (!rs)
            return fail(rs.error());
        return RecordsetXmlWriter::write(*rs);
    };
    if (!isOpen() || !NativeStatement::canBind(params))
        return throughQt();

    QString error, code;
    NativeStatement *statement = nativeStatement(sql, int(params.size()), &error, &code);
    if (!statement && error.isEmpty())
        return throughQt();
    QByteArray text;
    if (statement && statement->execute(params, &error, &code)) {
        text = RecordsetXmlWriter::write(*statement);
        if (text.isNull())
            statement->failed(&error, &code);
        statement->finish();
    }
    if (!text.isNull()) {
        m_lastUniqueViolation = false;
        return text;
    }
    return fail(nativeFailure(sql, error, code));
}

Result<void> Connection::ExecuteNative(const QString &sql, const QVariantList &params)
{
    const auto throughQt = [&]() -> Result<void> {
        auto done = Execute(sql, params);
        if (!done)
            return fail(done.error());
        return {};
    };
    if (!isOpen() || !NativeStatement::canBind(params))
        return throughQt();
    QString error, code;
    NativeStatement *statement = nativeStatement(sql, int(params.size()), &error, &code);
    if (!statement && error.isEmpty())
        return throughQt();
    if (statement && statement->execute(params, &error, &code)) {
        // SQLite runs the statement when it is stepped; PostgreSQL has run it already.
        while (statement->next()) {
        }
        const bool failed = statement->failed(&error, &code);
        statement->finish();
        if (!failed) {
            m_lastUniqueViolation = false;
            return {};
        }
    }
    return fail(nativeFailure(sql, error, code));
}

QString Connection::nativeFailure(const QString &sql, const QString &error, const QString &code)
{
    const QSqlError failure(QString(), error, QSqlError::StatementError, code);
    m_lastUniqueViolation = dialect().isUniqueViolation(code, error);
    noteFailure(failure);
    // A statement that failed is prepared afresh next time.
    m_native.remove(sql);
    return describe(failure);
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
