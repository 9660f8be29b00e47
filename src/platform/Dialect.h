#pragma once

#include "Backend.h"
#include "FailureKind.h"

#include <QString>
#include <QStringList>

// The few places where SQLite and PostgreSQL need different SQL text: the driver, column types in
// DDL, the row-version machinery and catalogue queries. Everything else is written in the subset
// that runs unchanged on both.
class Dialect
{
public:
    static const Dialect &of(Backend backend);

    Backend backend() const { return m_backend; }
    bool isPostgres() const { return m_backend == Backend::Postgres; }
    QString driverName() const;

    // DDL type names.
    QString integerType() const;  // 32-bit identifiers and counters
    QString bigintType() const;   // row versions
    QString smallintType() const; // 0/1 flags and small codes
    QString realType() const;     // money and quantities: never integer affinity
    QString textType(int length = 0) const;
    QString dateType() const;
    QString dateTimeType() const;
    QString blobType() const;
    // A whole column clause for an integer key the database assigns on insert (the table's primary
    // key): SQLite's AUTOINCREMENT never reuses a number, PostgreSQL's identity lets an import write
    // its own numbers.
    QString identityColumnType() const;

    // `expression` compared and ordered by code point, whatever collation the database was created
    // with: SQLite's default (BINARY) already does; PostgreSQL gets `COLLATE "C"`. Range searches
    // and their order use it, and the indexes that serve them are built on the same expression
    // (IndexDef::byCodePoint), so a linguistic locale neither changes what matches nor loses the index.
    QString byCodePoint(const QString &expression) const;

    // Whether a table or view of that name exists (name compared in lower case); one bound value.
    QString objectExistsQuery() const;

    // Names of the columns of a table or view in their order; one bound value, the lower-case name.
    QString columnNamesQuery() const;

    // The columns of a table in their order, one row each: name, declared type, default value text
    // (NULL when none), 1 when the database assigns the value (identity / AUTOINCREMENT), else 0,
    // and the length of a VARCHAR column where the catalogue reports it apart from the type (NULL
    // where the declared type holds it). One bound value, the lower-case table name.
    QString columnTypesQuery() const;

    // A text column folded for comparisons that ignore letter case: ASCII letters only, the same on
    // both databases whatever the PostgreSQL server's locale. Index expressions and the queries
    // that are to use them must be written with the same text.
    QString foldedText(const QString &column) const;

    // Whether a failed statement's native error code and text report a duplicate key.
    bool isUniqueViolation(const QString &nativeCode, const QString &text) const;

    // The kind of a failed statement's native error code (PostgreSQL: the SQLSTATE; SQLite: the
    // result code, extended or not). A connection the driver closed is Lost whatever the code.
    FailureKind failureKind(const QString &nativeCode) const;

private:
    explicit Dialect(Backend backend)
        : m_backend(backend)
    {}
    Backend m_backend;
};
