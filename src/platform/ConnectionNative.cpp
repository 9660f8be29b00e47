// The members of Connection that read through the native client, and the upkeep of both caches of
// prepared statements.
#include "Connection.h"

#include "NativeHandle.h"
#include "RecordsetXmlWriter.h"

#include <QSqlError>

#include <libpq-fe.h>
#include <sqlite3.h>

namespace {

// A cell as the value Qt's driver gives for it: numbers as numbers, everything else as its text.
QVariant nativeValue(const NativeCell &cell)
{
    switch (cell.kind) {
    case NativeCell::Null:
        return QVariant();
    case NativeCell::Integer:
        return QVariant(cell.integer);
    case NativeCell::Real:
        return QVariant(cell.real);
    case NativeCell::Bool:
        return QVariant(cell.integer != 0);
    case NativeCell::Bytes:
        return QVariant(QByteArray(cell.data, cell.size));
    case NativeCell::HexBytes:
        return QVariant(QByteArray::fromHex(QByteArray::fromRawData(cell.data, cell.size)));
    default:
        return QVariant(QString::fromUtf8(cell.data, cell.size));
    }
}

} // namespace

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
                                            const std::function<bool(NativeStatement &)> &read, QString &failure,
                                            bool planEachRun)
{
    if (!isOpen() || !NativeStatement::canBind(params))
        return NativeRun::Unavailable;
    QString error, code;
    std::unique_ptr<NativeStatement> once;
    if (planEachRun) {
        PGconn *handle = backend() == Backend::Postgres ? nativeHandle<PGconn>(database(), "pg_conn*") : nullptr;
        if (!handle)
            return NativeRun::Unavailable;
        NativeStatement::settle(handle);
        once = NativeStatement::planEachRun(handle, sql);
    }
    NativeStatement *statement = once ? once.get() : nativeStatement(sql, int(params.size()), &error, &code);
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
    // Recorded first: a failure that breaks a PostgreSQL transaction defers the freeing of
    // statements until it ends. A statement that failed is prepared afresh next time.
    failure = nativeFailure(error, code);
    m_native.remove(sql);
    return NativeRun::Failed;
}

QString Connection::nativeFailure(const QString &error, const QString &code)
{
    const QSqlError e(QString(), error, QSqlError::StatementError, code);
    m_lastUniqueViolation = dialect().isUniqueViolation(code, error);
    noteFailure(e);
    return describe(e);
}

Result<bool> Connection::CopyRows(const QString &table, const QStringList &columns, const QVariantList &values)
{
    if (backend() != Backend::Postgres || !isOpen() || !NativeStatement::canBind(values))
        return false;
    PGconn *handle = nativeHandle<PGconn>(database(), "pg_conn*");
    if (!handle)
        return false;
    QString error, code;
    if (!NativeStatement::copyIn(handle, table, columns, values, &error, &code))
        return fail(nativeFailure(error, code));
    m_lastUniqueViolation = false;
    return true;
}

Result<void> Connection::runNativeOr(const QString &sql, const QVariantList &params,
                                     const std::function<bool(NativeStatement &)> &read,
                                     const std::function<Result<void>()> &throughQt, bool planEachRun)
{
    QString failure;
    switch (runNative(sql, params, read, failure, planEachRun)) {
    case NativeRun::Done:
        return {};
    case NativeRun::Failed:
        return fail(failure);
    case NativeRun::Unavailable:
        break;
    }
    return throughQt();
}

Result<QByteArray> Connection::QueryXml(const QString &sql, const QVariantList &params)
{
    QByteArray text;
    const auto read = [&](NativeStatement &statement) {
        text = RecordsetXmlWriter::write(statement);
        return !text.isNull();
    };
    auto done = runNativeOr(sql, params, read, [&]() -> Result<void> {
        auto rs = Query(sql, params);
        if (!rs)
            return fail(rs.error());
        text = RecordsetXmlWriter::write(*rs);
        return {};
    });
    if (!done)
        return fail(done.error());
    return text;
}

Result<void> Connection::ExecuteNative(const QString &sql, const QVariantList &params)
{
    // SQLite runs the statement as it is stepped; PostgreSQL has run it already.
    const auto step = [](NativeStatement &statement) {
        while (statement.next()) {
        }
        return true;
    };
    return runNativeOr(sql, params, step, [&]() -> Result<void> {
        auto done = Execute(sql, params);
        if (!done)
            return fail(done.error());
        return {};
    });
}

Result<void> Connection::ReadNumbers(const QString &sql, const QVariantList &params,
                                     const std::function<void(const NumberRow &)> &row)
{
    NumberRow values;
    const auto read = [&](NativeStatement &statement) {
        values.resize(std::size_t(statement.columnCount()));
        while (statement.next()) {
            for (std::size_t k = 0; k < values.size(); ++k) {
                const NativeCell cell = statement.cell(int(k));
                switch (cell.kind) {
                case NativeCell::Null:
                    values[k].reset();
                    break;
                case NativeCell::Integer:
                case NativeCell::Bool:
                    values[k] = double(cell.integer);
                    break;
                case NativeCell::Real:
                    values[k] = cell.real;
                    break;
                default:
                    values[k] = QByteArray::fromRawData(cell.data, cell.size).toDouble();
                    break;
                }
            }
            row(values);
        }
        return true;
    };
    return runNativeOr(sql, params, read, [&]() -> Result<void> {
        auto rs = Query(sql, params);
        if (!rs)
            return fail(rs.error());
        values.resize(std::size_t(rs->fieldCount()));
        for (int r = 0; r < rs->RecordCount(); ++r) {
            for (std::size_t k = 0; k < values.size(); ++k) {
                const QVariant v = rs->value(r, int(k));
                if (v.isNull())
                    values[k].reset();
                else
                    values[k] = v.toDouble();
            }
            row(values);
        }
        return {};
    });
}

Result<QList<QVariantList>> Connection::QueryPlannedPerRun(const QString &sql, const QVariantList &params)
{
    QList<QVariantList> rows;
    const auto read = [&rows](NativeStatement &statement) {
        const int width = statement.columnCount();
        while (statement.next()) {
            QVariantList row;
            row.reserve(width);
            for (int c = 0; c < width; ++c)
                row << nativeValue(statement.cell(c));
            rows << std::move(row);
        }
        return true;
    };
    const auto throughQt = [&]() -> Result<void> {
        auto rs = Query(sql, params);
        if (!rs)
            return fail(rs.error());
        rows.reserve(rs->RecordCount());
        for (int row = 0; row < rs->RecordCount(); ++row)
            rows << rs->row(row);
        return {};
    };
    auto done = backend() == Backend::Postgres ? runNativeOr(sql, params, read, throughQt, true) : throughQt();
    if (!done)
        return fail(done.error());
    return rows;
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
