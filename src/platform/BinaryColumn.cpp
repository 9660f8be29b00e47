#include "BinaryColumn.h"

#include "Connection.h"
#include "NativeHandle.h"

#include <QFile>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <climits>
#include <memory>

namespace {

template<typename Handle> Handle *nativeHandle(const Connection &cnn, const char *typeName)
{
    return ::nativeHandle<Handle>(cnn.database(), typeName);
}

QString noConnection()
{
    return QStringLiteral("数据库连接已关闭");
}

QString noRow(const QString &table, qint64 key)
{
    return QStringLiteral("%1 中没有标识为 %2 的行").arg(table).arg(key);
}

QString fileReadError(const QFile &file)
{
    return QStringLiteral("读取文件 %1 失败：%2").arg(file.fileName(), file.errorString());
}

QString sinkWriteError(const QIODevice &sink)
{
    return QStringLiteral("写入文件失败：%1").arg(sink.errorString());
}

QString sqliteError(sqlite3 *db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

struct BlobCloser
{
    void operator()(sqlite3_blob *blob) const { sqlite3_blob_close(blob); }
};
using BlobHandle = std::unique_ptr<sqlite3_blob, BlobCloser>;

struct StatementFinalizer
{
    void operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); }
};
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

struct ResultClearer
{
    void operator()(PGresult *result) const { PQclear(result); }
};
using PgResult = std::unique_ptr<PGresult, ResultClearer>;

QString postgresError(PGconn *pg, const PGresult *result)
{
    QString text = QString::fromUtf8(result ? PQresultErrorMessage(result) : PQerrorMessage(pg)).trimmed();
    if (text.isEmpty())
        text = QString::fromUtf8(PQerrorMessage(pg)).trimmed();
    return text.isEmpty() ? QStringLiteral("数据库操作失败") : text;
}

// The whole file from its start; a null array when it cannot be read to its end. The file is read,
// not memory-mapped: a mapped file that another program shortens while it is sent would bring the
// process down.
QByteArray wholeFile(QFile &file)
{
    if (!file.seek(0))
        return {};
    const qint64 size = file.size();
    QByteArray bytes(size, Qt::Uninitialized);
    qint64 done = 0;
    while (done < size) {
        const qint64 n = file.read(bytes.data() + done, size - done);
        if (n <= 0)
            return {};
        done += n;
    }
    // An empty file is an empty value, not a failure.
    return size == 0 ? QByteArray("") : bytes;
}

} // namespace

BinaryColumn::BinaryColumn(Connection &cnn, QString table, QString column, QString keyColumn)
    : m_cnn(cnn)
    , m_table(std::move(table))
    , m_column(std::move(column))
    , m_key(std::move(keyColumn))
{}

Result<void> BinaryColumn::write(qint64 key, QFile &source)
{
    if (!m_cnn.isOpen())
        return fail(noConnection());
    // Both engines address a value with a 32-bit length.
    if (source.size() > INT_MAX)
        return fail(QStringLiteral("文件 %1 超过 2 GB，无法存入数据库").arg(source.fileName()));
    return m_cnn.backend() == Backend::Postgres ? writePostgres(key, source) : writeSqlite(key, source);
}

Result<bool> BinaryColumn::read(qint64 key, QIODevice &sink, const ChunkDone &chunkDone)
{
    if (!m_cnn.isOpen())
        return fail(noConnection());
    return m_cnn.backend() == Backend::Postgres ? readPostgres(key, sink, chunkDone) : readSqlite(key, sink, chunkDone);
}

QString BinaryColumn::Stopped()
{
    return QStringLiteral("读取已中止");
}

Result<void> BinaryColumn::writeSqlite(qint64 key, QFile &source)
{
    sqlite3 *db = nativeHandle<sqlite3>(m_cnn, "sqlite3*");
    if (!db)
        return fail(noConnection());
    const QByteArray bytes = wholeFile(source);
    if (bytes.isNull())
        return fail(fileReadError(source));
    const QByteArray sql = QStringLiteral("UPDATE %1 SET %2 = ? WHERE %3 = ?").arg(m_table, m_column, m_key).toUtf8();
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &raw, nullptr) != SQLITE_OK)
        return fail(sqliteError(db));
    StatementHandle statement(raw);
    // Bound in place (no copy); the array outlives the statement.
    if (sqlite3_bind_blob64(raw, 1, bytes.constData(), sqlite3_uint64(bytes.size()), SQLITE_STATIC) != SQLITE_OK
        || sqlite3_bind_int64(raw, 2, key) != SQLITE_OK)
        return fail(sqliteError(db));
    if (sqlite3_step(raw) != SQLITE_DONE)
        return fail(sqliteError(db));
    if (sqlite3_changes(db) != 1)
        return fail(noRow(m_table, key));
    return {};
}

Result<bool> BinaryColumn::readSqlite(qint64 key, QIODevice &sink, const ChunkDone &chunkDone)
{
    auto state = m_cnn.Query(QStringLiteral("SELECT CASE WHEN %2 IS NULL THEN 1 ELSE 0 END FROM %1 WHERE %3 = ?")
                                 .arg(m_table, m_column, m_key),
                             {key});
    if (!state)
        return fail(state.error());
    if (state->isEmpty())
        return false;
    if (state->value(0).toInt() == 1)
        return true;

    sqlite3 *db = nativeHandle<sqlite3>(m_cnn, "sqlite3*");
    if (!db)
        return fail(noConnection());
    sqlite3_blob *raw = nullptr;
    const int opened
        = sqlite3_blob_open(db, "main", m_table.toUtf8().constData(), m_column.toUtf8().constData(), key, 0, &raw);
    BlobHandle blob(raw);
    if (opened != SQLITE_OK)
        return fail(sqliteError(db));
    const int size = sqlite3_blob_bytes(blob.get());
    QByteArray buffer(int(qMin(ChunkSize, qint64(size))), Qt::Uninitialized);
    for (int offset = 0; offset < size;) {
        const int n = qMin(buffer.size(), size - offset);
        if (sqlite3_blob_read(blob.get(), buffer.data(), n, offset) != SQLITE_OK)
            return fail(sqliteError(db));
        if (sink.write(buffer.constData(), n) != n)
            return fail(sinkWriteError(sink));
        offset += n;
        if (chunkDone && !chunkDone(offset))
            return fail(Stopped());
    }
    return true;
}

Result<void> BinaryColumn::writePostgres(qint64 key, QFile &source)
{
    PGconn *pg = nativeHandle<PGconn>(m_cnn, "pg_conn*");
    if (!pg)
        return fail(noConnection());
    const QByteArray bytes = wholeFile(source);
    if (bytes.isNull())
        return fail(fileReadError(source));

    const QByteArray sql = QStringLiteral("UPDATE %1 SET %2 = $1 WHERE %3 = $2").arg(m_table, m_column, m_key).toUtf8();
    const QByteArray keyText = QByteArray::number(key);
    const char *values[2] = {bytes.constData(), keyText.constData()};
    const int lengths[2] = {int(bytes.size()), 0};
    const int formats[2] = {1, 0}; // the bytes in binary, the key as text
    PgResult result(PQexecParams(pg, sql.constData(), 2, nullptr, values, lengths, formats, 0));
    if (PQresultStatus(result.get()) != PGRES_COMMAND_OK)
        return fail(postgresError(pg, result.get()));
    if (qstrcmp(PQcmdTuples(result.get()), "1") != 0)
        return fail(noRow(m_table, key));
    return {};
}

Result<bool> BinaryColumn::readPostgres(qint64 key, QIODevice &sink, const ChunkDone &chunkDone)
{
    PGconn *pg = nativeHandle<PGconn>(m_cnn, "pg_conn*");
    if (!pg)
        return fail(noConnection());
    const QByteArray sql = QStringLiteral("SELECT %2 FROM %1 WHERE %3 = $1").arg(m_table, m_column, m_key).toUtf8();
    const QByteArray keyText = QByteArray::number(key);
    const char *values[1] = {keyText.constData()};
    PgResult result(PQexecParams(pg, sql.constData(), 1, nullptr, values, nullptr, nullptr, 1));
    if (PQresultStatus(result.get()) != PGRES_TUPLES_OK)
        return fail(postgresError(pg, result.get()));
    if (PQntuples(result.get()) == 0)
        return false;
    if (PQgetisnull(result.get(), 0, 0))
        return true;
    const char *data = PQgetvalue(result.get(), 0, 0);
    const qint64 size = PQgetlength(result.get(), 0, 0);
    for (qint64 offset = 0; offset < size;) {
        const qint64 n = qMin(ChunkSize, size - offset);
        if (sink.write(data + offset, n) != n)
            return fail(sinkWriteError(sink));
        offset += n;
        if (chunkDone && !chunkDone(offset))
            return fail(Stopped());
    }
    return true;
}
