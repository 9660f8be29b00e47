#pragma once

#include "Result.h"

#include <QHash>
#include <QList>
#include <QString>

class Connection;

// How a column's value is written from the text a voucher document holds.
enum class ColumnKind {
    Integer, // INTEGER, BIGINT and SMALLINT codes without default
    Real,    // money, quantities, rates
    Flag,    // a 0/1 flag: SMALLINT DEFAULT 0 (see docs/database.md)
    Text,
    Date,      // DATE
    DateTime,  // TIMESTAMP / DATETIME
    Binary,    // BLOB / BYTEA: never written from a document
    RowVersion // qvts: set by the database, never named by a write
};

struct TableColumn
{
    QString name; // as the database reports it (PostgreSQL: lower case)
    ColumnKind kind = ColumnKind::Text;
    bool generated = false; // identity / AUTOINCREMENT: the database assigns it
    int length = 0;         // a text column's most characters (VARCHAR(n)); 0 when unlimited
    int integerBits = 64;   // the width of an integer column: 16, 32 or 64

    // Whether a number fits an integer column: whole and within its width.
    bool fitsInteger(double value) const;
};

// The columns of one table with the kind of value each holds, read from the database's catalogue.
// Statement builders read it once per table and keep it: a table's structure does not change
// while the program runs.
class TableStructure
{
public:
    // Fails with the database's text, or when the table does not exist.
    static Result<TableStructure> read(Connection &cnn, const QString &table);

    const QList<TableColumn> &columns() const { return m_columns; }
    // The column of that name, ignoring letter case; null when the table has none.
    const TableColumn *column(const QString &name) const;
    // Its position in columns(), or -1.
    int indexOf(const QString &name) const;

    // The kind of a column from its declared type and default (exposed for tests).
    static ColumnKind kindOf(const QString &name, const QString &declaredType, const QString &defaultText);
    // The length of a declared text type ("VARCHAR(20)" gives 20); 0 for any other type.
    static int lengthOf(const QString &declaredType);

private:
    QList<TableColumn> m_columns;
    QHash<QString, int> m_index; // lower-case name -> position
};
