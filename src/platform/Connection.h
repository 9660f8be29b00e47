#pragma once

#include "ConnectionString.h"
#include "Dialect.h"
#include "FailureKind.h"
#include "NativeStatement.h"
#include "Recordset.h"
#include "Result.h"
#include "StatementCache.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

#include <functional>
#include <optional>
#include <vector>

// A database connection opened from a connection string (see ConnectionString), with the members
// the system's code calls: Execute with a rows-affected count, transactions, State and Close.
//
// Statements given without parameters may be batches: they are split into single statements
// (neither driver runs a batch as one: SQLite runs only the first statement, PostgreSQL reports only
// the last count) and the counts are added up. Statements given with parameters are single
// statements whose "?" placeholders are bound, so no value can change their meaning. They are
// prepared once per connection and kept by their text (see StatementCache), so a statement run
// again is only executed with its new values; the cache is emptied when a statement without
// parameters changes the schema (CREATE, ALTER, DROP), and on Close and Reopen.
//
// Each Connection owns its own QSqlDatabase connection; it is closed and removed on destruction.
// Not copyable; use it from the thread that created it.
//
// Every failed statement is classified (see FailureKind). A connection whose server went away is
// "lost": it answers every statement with a failure until Reopen() opens it again with the same
// string; whoever holds data read through it can tell by generation() that it was opened anew.
class Connection
{
public:
    enum OpenMode {
        MustExist,     // a missing SQLite file is an error
        CreateIfMissing // a missing SQLite file, or the PostgreSQL schema named in the string, is created
    };
    enum { adStateClosed = 0, adStateOpen = 1 };

    Connection();
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    Result<void> Open(const QString &connectionString, OpenMode mode = MustExist);
    void Close();
    int State() const;
    bool isOpen() const { return State() == adStateOpen; }

    // The string the connection was opened with (password included, as given).
    QString ConnectionString() const { return m_text; }
    Backend backend() const { return m_info.backend; }
    const Dialect &dialect() const { return Dialect::of(m_info.backend); }

    Result<qint64> Execute(const QString &sql);
    Result<qint64> Execute(const QString &sql, const QVariantList &params);
    Result<Recordset> Query(const QString &sql, const QVariantList &params = {});
    // The first column of the first row; a null QVariant when there is no row.
    Result<QVariant> Scalar(const QString &sql, const QVariantList &params = {});
    // A query's rows as a persisted recordset (see VoucherDocument), the same text Query() and
    // VoucherDocument::fromRecordset() give, read through the native client with the statement
    // prepared once and kept like those of Query (hot reads: a voucher's head and lines). Goes
    // through Query() where the native client cannot serve (values it does not bind, a driver
    // busy with a result of its own).
    Result<QByteArray> QueryXml(const QString &sql, const QVariantList &params = {});
    // A statement that returns no rows, run through the native client with the statement prepared
    // once and kept (large multi-row inserts: Qt's PostgreSQL driver would write every value into
    // the statement's text). Goes through Execute() where the native client cannot serve.
    Result<void> ExecuteNative(const QString &sql, const QVariantList &params);
    // A query whose best plan depends on its values, such as one array of thousands of keys (a
    // plan kept for any values probes an index once per key, where a hash of the keys is cheaper):
    // on PostgreSQL planned anew with the values at every run through the native client; elsewhere,
    // and where the native client cannot serve, through Query(). The rows, as lists of values.
    Result<QList<QVariantList>> QueryPlannedPerRun(const QString &sql, const QVariantList &params);
    // Rows into a table with PostgreSQL's COPY, all or none (values row after row, columns.size()
    // to a row; table and column names from our own code). False, with nothing done, where COPY
    // cannot serve: another database, or values the native client does not bind (the caller
    // inserts them instead).
    Result<bool> CopyRows(const QString &table, const QStringList &columns, const QVariantList &values);
    // A query whose columns are all numbers, handed to `row` one row at a time (an empty optional
    // for NULL) through the native client, so a long result is neither turned into QVariants nor
    // held whole; through Query() where the native client cannot serve. Text cells (PostgreSQL's
    // numeric) are read as numbers. The vector is the same object for every row.
    using NumberRow = std::vector<std::optional<double>>;
    Result<void> ReadNumbers(const QString &sql, const QVariantList &params,
                             const std::function<void(const NumberRow &)> &row);

    // Transactions do not nest: a second BeginTrans while one is open fails.
    Result<void> BeginTrans();
    // A transaction for a writer that reads before it writes (the next key, the next number) and
    // must not be interleaved with another such writer. SQLite: BEGIN IMMEDIATE, which takes the
    // database's write lock up front, so two writers queue (busy timeout) instead of one failing
    // on a snapshot the other changed. PostgreSQL: BEGIN plus a transaction-scoped advisory lock
    // named lockName; writers that give the same name queue until commit or roll-back, readers and
    // other writers are not held up. End it with CommitTrans or RollbackTrans.
    Result<void> BeginWriteTrans(const QString &lockName);
    Result<void> CommitTrans();
    Result<void> RollbackTrans();
    bool inTransaction() const { return m_inTransaction; }

    QSqlDatabase database() const;

    // Opens the connection again with the string it was opened with, after it was lost.
    Result<void> Reopen();
    // The connection failed because its server went away (or the driver closed it) and has not
    // been opened again since.
    bool isLost() const;
    // How many times the connection was opened; grows with every Reopen.
    int generation() const { return m_generation; }

    // The most serious kind of failure since clearFailures() (Lost over Conflict over Other), so a
    // caller can tell after a whole action whether running it again may succeed.
    FailureKind failureSinceCleared() const { return m_failure; }
    void clearFailures();
    // The connection was lost while a commit was under way: whether it took effect is unknown.
    bool commitOutcomeUnknown() const { return m_commitOutcomeUnknown; }
    // Records a failure of a statement that code ran on this connection's database itself (see
    // BulkInsert); Execute, Query and the transaction members record their own.
    void noteFailure(const class QSqlError &error);

    // Whether the last statement that failed on this connection was refused for a duplicate key
    // (unique index or primary key); reset by every statement that succeeds.
    bool lastErrorIsUniqueViolation() const { return m_lastUniqueViolation; }

    // Splits a batch into single statements, keeping quoted text, comments, PostgreSQL $-quoted
    // bodies and SQLite trigger bodies (BEGIN ... END) whole.
    static QStringList splitStatements(const QString &sql);

    // How many prepared statements the connection keeps at the moment.
    int preparedStatementCount() const { return m_statements.size() + m_native.size(); }

private:
    Result<class QSqlQuery *> run(class QSqlQuery &adhoc, const QString &sql, const QVariantList &params);
    void endTransaction();
    Result<qint64> runOne(const QString &sql, const QVariantList &params);
    QString describe(const class QSqlError &error) const;
    NativeStatement *nativeStatement(const QString &sql, int paramCount, QString *error, QString *code);
    // Runs sql through the native client and hands the executed statement to `read` (false: the
    // reading failed). Unavailable where the native client cannot serve (the caller goes through
    // Qt); Failed with the system's message in `failure`, recorded as Execute records its own.
    enum class NativeRun { Done, Unavailable, Failed };
    NativeRun runNative(const QString &sql, const QVariantList &params,
                        const std::function<bool(NativeStatement &)> &read, QString &failure,
                        bool planEachRun = false);
    // Records a failure the native client reported, as Execute records its own; the system's message.
    QString nativeFailure(const QString &error, const QString &code);
    // runNative, or `throughQt` where the native client cannot serve.
    Result<void> runNativeOr(const QString &sql, const QVariantList &params,
                             const std::function<bool(NativeStatement &)> &read,
                             const std::function<Result<void>()> &throughQt, bool planEachRun = false);
    // Both statement caches at once.
    void clearStatements();
    void setDeferFrees(bool defer);
    void freeDeferredStatements();

    QString m_name;
    QString m_text;
    ::ConnectionString m_info;
    bool m_inTransaction = false;
    bool m_lastUniqueViolation = false;
    FailureKind m_failure = FailureKind::None;
    bool m_lost = false;
    bool m_commitOutcomeUnknown = false;
    int m_generation = 0;
    StatementCache m_statements;
    StatementLru<NativeStatement> m_native{64};
};
