#include "Connection.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace {

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("orvane-%1").arg(counter.fetchAndAddRelaxed(1));
}

bool startsWithWord(const QString &sql, int pos, QLatin1String word)
{
    if (sql.mid(pos, word.size()).compare(word, Qt::CaseInsensitive) != 0)
        return false;
    if (pos > 0 && (sql[pos - 1].isLetterOrNumber() || sql[pos - 1] == QLatin1Char('_')))
        return false;
    const int end = pos + int(word.size());
    return end >= sql.size() || !(sql[end].isLetterOrNumber() || sql[end] == QLatin1Char('_'));
}

// A statement that may change what the cached statements refer to. SQLite prepares its statements
// again by itself; PostgreSQL refuses a prepared statement whose result columns changed.
bool changesSchema(const QString &sql)
{
    int pos = 0;
    while (pos < sql.size() && sql[pos].isSpace())
        ++pos;
    return startsWithWord(sql, pos, QLatin1String("CREATE")) || startsWithWord(sql, pos, QLatin1String("ALTER"))
           || startsWithWord(sql, pos, QLatin1String("DROP"));
}

} // namespace

Connection::Connection()
    : m_name(nextConnectionName())
{}

Connection::~Connection()
{
    Close();
}

Result<void> Connection::Open(const QString &connectionString, OpenMode mode)
{
    Close();
    auto parsed = ::ConnectionString::parse(connectionString);
    if (!parsed)
        return fail(parsed.error());
    m_info = *parsed;
    m_text = connectionString;

    if (m_info.backend == Backend::Sqlite && mode == MustExist && !QFileInfo::exists(m_info.path))
        return fail(QStringLiteral("数据库文件不存在：%1").arg(m_info.path));

    QSqlDatabase db = QSqlDatabase::addDatabase(dialect().driverName(), m_name);
    if (!db.isValid()) {
        QSqlDatabase::removeDatabase(m_name);
        return fail(QStringLiteral("缺少数据库驱动 %1").arg(dialect().driverName()));
    }
    if (m_info.backend == Backend::Sqlite) {
        db.setDatabaseName(m_info.path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    } else {
        db.setHostName(m_info.host);
        db.setPort(m_info.port);
        db.setUserName(m_info.user);
        db.setPassword(m_info.password);
        db.setDatabaseName(m_info.database);
        db.setConnectOptions(QStringLiteral("connect_timeout=5"));
    }
    if (!db.open()) {
        const QString why = describe(db.lastError());
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        return fail(QStringLiteral("无法连接数据库 %1：%2").arg(m_info.toString(), why));
    }

    QStringList setup;
    if (m_info.backend == Backend::Sqlite) {
        setup << QStringLiteral("PRAGMA foreign_keys = ON") << QStringLiteral("PRAGMA journal_mode = WAL")
              << QStringLiteral("PRAGMA synchronous = NORMAL");
    } else {
        setup << QStringLiteral("SET client_min_messages TO warning");
        if (!m_info.schema.isEmpty()) {
            // The schema name is an identifier, not a value: quote it as one.
            QString ident = m_info.schema;
            ident.replace(QLatin1Char('"'), QLatin1String("\"\""));
            if (mode == CreateIfMissing)
                setup << QStringLiteral("CREATE SCHEMA IF NOT EXISTS \"%1\"").arg(ident);
            setup << QStringLiteral("SET search_path TO \"%1\"").arg(ident);
        }
    }
    for (const QString &sql : setup) {
        QSqlQuery q(db);
        if (!q.exec(sql)) {
            const QString why = describe(q.lastError());
            Close();
            return fail(QStringLiteral("无法连接数据库 %1：%2").arg(m_info.toString(), why));
        }
    }
    m_lost = false;
    m_commitOutcomeUnknown = false;
    ++m_generation;
    return {};
}

Result<void> Connection::Reopen()
{
    if (m_text.isEmpty())
        return fail(QStringLiteral("数据库连接已关闭"));
    return Open(m_text, MustExist);
}

bool Connection::isLost() const
{
    // The driver closes a connection whose server went away, but keeps it registered; Close()
    // removes it.
    return m_lost || (QSqlDatabase::contains(m_name) && !isOpen());
}

void Connection::clearFailures()
{
    m_failure = FailureKind::None;
    m_commitOutcomeUnknown = false;
}

void Connection::noteFailure(const QSqlError &error)
{
    const FailureKind kind = isOpen() ? dialect().failureKind(error.nativeErrorCode()) : FailureKind::Lost;
    // A failed statement breaks a PostgreSQL transaction: until it ends the server refuses even
    // the DEALLOCATE that freeing a prepared statement sends.
    if (m_inTransaction && backend() == Backend::Postgres)
        setDeferFrees(true);
    if (kind == FailureKind::Lost) {
        // The server rolled back whatever was open when the connection went.
        m_lost = true;
        m_inTransaction = false;
    }
    m_failure = std::max(m_failure, kind);
}

void Connection::Close()
{
    if (!QSqlDatabase::contains(m_name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (m_inTransaction && db.isOpen())
            db.rollback();
        // The queries free their server-side statements as they go, which needs the connection.
        setDeferFrees(false);
        clearStatements();
        freeDeferredStatements();
        db.close();
    }
    m_inTransaction = false;
    QSqlDatabase::removeDatabase(m_name);
}

int Connection::State() const
{
    if (!QSqlDatabase::contains(m_name))
        return adStateClosed;
    return QSqlDatabase::database(m_name, false).isOpen() ? adStateOpen : adStateClosed;
}

QSqlDatabase Connection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

QString Connection::describe(const QSqlError &error) const
{
    QString text = error.databaseText().trimmed();
    // QPSQL reports a commit that the server turned into a roll-back (the transaction had failed)
    // as "()": the brackets of an SQLSTATE it does not have.
    if (text == QLatin1String("()"))
        text.clear();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    // Callers read an empty text as success; a driver that fails without saying why (a connection
    // the server dropped) must still fail.
    if (text.isEmpty())
        text = isOpen() ? QStringLiteral("数据库操作失败") : QStringLiteral("数据库连接已断开");
    return text;
}

// Runs one statement and returns the query that holds its outcome: adhoc for a statement without
// parameters, else the connection's prepared query for the text. The caller reads what it needs and
// calls finish() on it, so a cached SQLite statement does not stay open between uses.
Result<QSqlQuery *> Connection::run(QSqlQuery &adhoc, const QString &sql, const QVariantList &params)
{
    if (!isOpen()) {
        if (isLost())
            noteFailure(QSqlError());
        return fail(QStringLiteral("数据库连接已关闭"));
    }
    QSqlQuery *q = &adhoc;
    QSqlError error;
    bool ok;
    if (params.isEmpty()) {
        if (changesSchema(sql))
            clearStatements();
        adhoc.setForwardOnly(true);
        ok = adhoc.exec(sql);
        error = adhoc.lastError();
    } else {
        q = m_statements.acquire(database(), sql, int(params.size()), &error);
        ok = q != nullptr;
        if (ok) {
            // By position: values bound last time are replaced, not added to.
            for (qsizetype i = 0; i < params.size(); ++i)
                q->bindValue(int(i), params[i]);
            ok = q->exec();
            if (!ok)
                error = q->lastError();
        }
    }
    m_lastUniqueViolation = !ok && dialect().isUniqueViolation(error.nativeErrorCode(), error.databaseText());
    if (!ok) {
        noteFailure(error);
        // A query whose execution failed is not run again: the driver may have left it half reset.
        if (!params.isEmpty())
            m_statements.remove(sql);
        return fail(describe(error));
    }
    return q;
}

Result<qint64> Connection::runOne(const QString &sql, const QVariantList &params)
{
    QSqlQuery adhoc(database());
    auto q = run(adhoc, sql, params);
    if (!q)
        return fail(q.error());
    const int affected = (*q)->numRowsAffected();
    (*q)->finish();
    return qint64(affected < 0 ? 0 : affected);
}

Result<qint64> Connection::Execute(const QString &sql)
{
    qint64 total = 0;
    for (const QString &statement : splitStatements(sql)) {
        auto n = runOne(statement, {});
        if (!n)
            return n;
        total += *n;
    }
    return total;
}

Result<qint64> Connection::Execute(const QString &sql, const QVariantList &params)
{
    return runOne(sql, params);
}

Result<Recordset> Connection::Query(const QString &sql, const QVariantList &params)
{
    QSqlQuery adhoc(database());
    auto q = run(adhoc, sql, params);
    if (!q)
        return fail(q.error());
    Recordset rs = Recordset::fromQuery(**q); // copied out before the query is run again
    (*q)->finish();
    return rs;
}

Result<QVariant> Connection::Scalar(const QString &sql, const QVariantList &params)
{
    auto rs = Query(sql, params);
    if (!rs)
        return fail(rs.error());
    if (rs->isEmpty() || rs->fieldCount() == 0)
        return QVariant();
    return rs->value(0);
}

Result<void> Connection::BeginTrans()
{
    if (!isOpen()) {
        if (isLost())
            noteFailure(QSqlError());
        return fail(QStringLiteral("数据库连接已关闭"));
    }
    if (m_inTransaction)
        return fail(QStringLiteral("事务已经开始"));
    QSqlDatabase db = database();
    if (!db.transaction()) {
        noteFailure(db.lastError());
        return fail(describe(db.lastError()));
    }
    m_inTransaction = true;
    return {};
}

Result<void> Connection::BeginWriteTrans(const QString &lockName)
{
    if (backend() == Backend::Postgres) {
        auto begun = BeginTrans();
        if (!begun || lockName.isEmpty())
            return begun;
        auto locked = Query(QStringLiteral("SELECT pg_advisory_xact_lock(hashtext(?))"), {lockName});
        if (!locked) {
            RollbackTrans();
            return fail(locked.error());
        }
        return {};
    }
    if (!isOpen()) {
        if (isLost())
            noteFailure(QSqlError());
        return fail(QStringLiteral("数据库连接已关闭"));
    }
    if (m_inTransaction)
        return fail(QStringLiteral("事务已经开始"));
    // Qt's SQLite driver ends any transaction with a plain COMMIT or ROLLBACK, so CommitTrans and
    // RollbackTrans end this one as well.
    auto begun = runOne(QStringLiteral("BEGIN IMMEDIATE"), {});
    if (!begun)
        return fail(begun.error());
    m_inTransaction = true;
    return {};
}

Result<void> Connection::CommitTrans()
{
    if (!m_inTransaction)
        return fail(QStringLiteral("没有进行中的事务"));
    QSqlDatabase db = database();
    if (!db.commit()) {
        const QString why = describe(db.lastError());
        noteFailure(db.lastError());
        m_commitOutcomeUnknown = m_lost;
        if (!m_lost)
            db.rollback();
        m_inTransaction = false;
        endTransaction();
        return fail(why);
    }
    m_inTransaction = false;
    endTransaction();
    return {};
}

Result<void> Connection::RollbackTrans()
{
    if (!m_inTransaction)
        return fail(QStringLiteral("没有进行中的事务"));
    m_inTransaction = false;
    QSqlDatabase db = database();
    if (!db.rollback()) {
        noteFailure(db.lastError());
        return fail(describe(db.lastError()));
    }
    endTransaction();
    return {};
}

// Statements dropped while the transaction was broken can be freed now.
void Connection::endTransaction()
{
    if (m_lost)
        return; // nothing can be freed on the server; Close() drops them
    setDeferFrees(false);
    freeDeferredStatements();
}

QStringList Connection::splitStatements(const QString &sql)
{
    QStringList out;
    QString current;
    const int n = int(sql.size());
    int triggerDepth = 0;    // inside CREATE TRIGGER ... BEGIN ... END
    bool inTrigger = false;  // the current statement creates a trigger
    auto flush = [&] {
        const QString s = current.trimmed();
        if (!s.isEmpty())
            out << s;
        current.clear();
        inTrigger = false;
        triggerDepth = 0;
    };
    for (int i = 0; i < n; ++i) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const int start = i++;
            while (i < n) {
                if (sql[i] == c) {
                    if (i + 1 < n && sql[i + 1] == c) {
                        i += 2;
                        continue;
                    }
                    break;
                }
                ++i;
            }
            current += sql.mid(start, i - start + 1);
            continue;
        }
        if (c == QLatin1Char('-') && i + 1 < n && sql[i + 1] == QLatin1Char('-')) {
            const int end = sql.indexOf(QLatin1Char('\n'), i);
            const int stop = end < 0 ? n : end;
            current += sql.mid(i, stop - i);
            i = stop - 1;
            continue;
        }
        if (c == QLatin1Char('/') && i + 1 < n && sql[i + 1] == QLatin1Char('*')) {
            const int end = sql.indexOf(QLatin1String("*/"), i + 2);
            const int stop = end < 0 ? n : end + 2;
            current += sql.mid(i, stop - i);
            i = stop - 1;
            continue;
        }
        if (c == QLatin1Char('$')) {
            // PostgreSQL dollar quoting: $tag$ ... $tag$
            int j = i + 1;
            while (j < n && (sql[j].isLetterOrNumber() || sql[j] == QLatin1Char('_')))
                ++j;
            if (j < n && sql[j] == QLatin1Char('$') && !(j > i + 1 && sql[i + 1].isDigit())) {
                const QString tag = sql.mid(i, j - i + 1);
                const int end = sql.indexOf(tag, j + 1);
                const int stop = end < 0 ? n : end + int(tag.size());
                current += sql.mid(i, stop - i);
                i = stop - 1;
                continue;
            }
        }
        if (c.isLetter()) {
            if (current.trimmed().isEmpty() || current.trimmed().compare(QLatin1String("CREATE"), Qt::CaseInsensitive) == 0
                || current.trimmed().endsWith(QLatin1String("TEMP"), Qt::CaseInsensitive)) {
                if (startsWithWord(sql, i, QLatin1String("TRIGGER")))
                    inTrigger = true;
            }
            if (inTrigger && (startsWithWord(sql, i, QLatin1String("BEGIN")) || (triggerDepth > 0 && startsWithWord(sql, i, QLatin1String("CASE")))))
                ++triggerDepth;
            else if (inTrigger && triggerDepth > 0 && startsWithWord(sql, i, QLatin1String("END")))
                --triggerDepth;
        }
        if (c == QLatin1Char(';') && triggerDepth == 0) {
            flush();
            continue;
        }
        current += c;
    }
    flush();
    return out;
}
