#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <QByteArray>

#include <cstdint>
#include <memory>
#include <vector>

struct sqlite3;
struct pg_conn;

// One cell of a row read through the native client, valid until the cursor moves or the next
// cell is asked for. Text and bytes
// point into the client's own buffers: text is UTF-8 as the database gave it; bytes are the raw
// value (SQLite) or PostgreSQL's hex form without its "\x".
struct NativeCell
{
    enum Kind : std::uint8_t { Null, Integer, Real, Bool, Text, Bytes, HexBytes, Date, DateTime, Time };
    Kind kind = Null;
    qint64 integer = 0; // Integer, Bool
    double real = 0;    // Real
    const char *data = nullptr; // Text, Bytes, HexBytes, Date ("yyyy-MM-dd"), DateTime, Time
    int size = 0;
};

// A statement prepared once through the native client of a connection (sqlite3 or libpq) and run
// again with new values: the engine's hot reads (a move, a voucher's lines) go this way, without
// Qt SQL's copies of every value into a QVariant. Internal to src/platform; Connection keeps them.
//
// Columns are named and typed the way the connection's Qt driver names and types them, so a
// document read either way is the same text.
class NativeStatement
{
public:
    virtual ~NativeStatement() = default;

    // Prepares sql ("?" placeholders) on the handle. Null, with the database's message and native
    // error code, when it cannot.
    static std::unique_ptr<NativeStatement> prepare(sqlite3 *db, const QString &sql, QString *error, QString *code);
    static std::unique_ptr<NativeStatement> prepare(pg_conn *pg, const QString &sql, QString *error, QString *code);
    // A PostgreSQL statement sent with its values at every run and planned for them, kept nowhere
    // on the server; its errors come with execute().
    static std::unique_ptr<NativeStatement> planEachRun(pg_conn *pg, const QString &sql);
    // Writes rows (values row after row, columns.size() to a row) into a PostgreSQL table with one
    // COPY: all of them or, with the database's message and native error code, none. Only values
    // that canBind() takes; table and column names come from our own code.
    static bool copyIn(pg_conn *pg, const QString &table, const QStringList &columns, const QVariantList &values,
                       QString *error, QString *code);

    // Reads and drops whatever results of an earlier statement are still pending on the
    // PostgreSQL connection, so that it takes a new command.
    static void settle(pg_conn *pg);

    // How a value is bound natively: numbers, text and NULL are; dates and flags, whose text form
    // differs between drivers, are not (Unbindable), and the caller goes through Qt SQL.
    enum class Binding { Null, Integer, Real, Text, Unbindable };
    static Binding bindingOf(const QVariant &value);
    static bool canBind(const QVariantList &params);

    // Runs the statement with the values. False with the database's message and native error code
    // when it failed (a lost PostgreSQL connection gives the class 08 code "08006").
    virtual bool execute(const QVariantList &params, QString *error, QString *code) = 0;
    // The next row; false at the end or on a failure (see failed()).
    virtual bool next() = 0;
    virtual bool failed(QString *error, QString *code) const = 0;
    // Releases the result, so a SQLite statement holds no read lock between runs.
    virtual void finish() = 0;

    virtual int columnCount() const = 0;
    virtual QString columnName(int column) const = 0;
    // The name as the client gives it, valid while the result is.
    virtual const char *columnNameUtf8(int column) const = 0;
    // The column's type as Qt's driver reports it; UnknownType where it reports none. Asked after
    // the first next(), since SQLite types an expression column by its first row.
    virtual QMetaType::Type columnType(int column) const = 0;
    virtual NativeCell cell(int column) const = 0;

    // What a writer worked out from the columns last time (see RecordsetXmlWriter), kept with the
    // statement: a statement run again mostly gives the same columns.
    struct ColumnsMemo
    {
        std::vector<QByteArray> names; // as the client gave them
        std::vector<QMetaType::Type> types;
        QByteArray head;
        std::vector<QByteArray> attributes;
    };
    ColumnsMemo &columnsMemo() { return m_memo; }

private:
    ColumnsMemo m_memo;
};
