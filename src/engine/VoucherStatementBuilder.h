#pragma once

#include "platform/Result.h"
#include "platform/TableStructure.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <map>

class Connection;
class VoucherRow;

// One statement made from a document row: its text with "?" marks and the values to bind, so no
// value of the document can change what the statement does.
struct VoucherStatement
{
    QString table;
    QStringList columns; // an INSERT's columns in the order of params; empty for UPDATE and DELETE
    QString sql;
    QVariantList params;
    // A guarded statement runs only while this query finds no row; "" = unguarded.
    QString guardSql;
    QVariantList guardParams;

    bool isInsert() const { return !columns.isEmpty(); }
};

// Builds the INSERT, UPDATE and DELETE statements of a voucher save from document rows.
//
// A statement names the table's columns that the row holds a value for: a missing attribute is
// NULL and is left out, so an UPDATE never sets a column to NULL and an INSERT leaves it to its
// default. Binary columns, the row version and columns the database assigns are never written.
// Each value is converted to its column's kind (basVoucher::FormatSqlValue). Table structures are
// read on the builder's connection the first time a table is used and kept for its life.
//
// Errors carry the database's text (a table that cannot be read, a failing maximum).
class VoucherStatementBuilder
{
public:
    explicit VoucherStatementBuilder(Connection &cnn);

    // The largest value of the column, or 0 when the table is empty.
    Result<QVariant> GetMaxValue(const QString &table, const QString &column);

    // "INSERT INTO table (...) VALUES (...)". With guard, the insert is to run only while no row
    // holds the row's value of uniqueColumn (a text value without regard to letter case, as its
    // unique index compares); an empty or missing value is not guarded, as the voucher number is
    // unique among non-empty numbers only.
    Result<VoucherStatement> BuildInsertSql(const VoucherRow &row, const QString &table, const QString &uniqueColumn,
                                            bool guard);

    // The columns and values of an INSERT of the row, without the statement's text: for lines
    // written together by multi-row statements.
    Result<VoucherStatement> BuildInsertRow(const VoucherRow &row, const QString &table);

    // "UPDATE table SET ... WHERE keyColumn = key", every column but the key. With tsColumn, the
    // row's version text must still be the stored one (CAST(ts AS TEXT) = text), so a row changed
    // or deleted by someone else since loading updates nothing. With guard, the update is to run
    // only while no other row holds the row's non-empty value of uniqueColumn. A failure to read the
    // table is also shown through ShowErrMsg ("basVoucher:SaveByUpdate").
    Result<VoucherStatement> SaveByUpdate(const VoucherRow &row, const QString &table, const QString &keyColumn,
                                          const QString &tsColumn, const QString &uniqueColumn, bool guard);

    // "DELETE FROM table WHERE keyColumn = key".
    Result<VoucherStatement> BuildDeleteSql(const VoucherRow &row, const QString &table, const QString &keyColumn);

    // The table's structure, read once.
    Result<const TableStructure *> structure(const QString &table);

private:
    Connection &m_cnn;
    std::map<QString, TableStructure> m_structures; // by lower-case name; node-based, so pointers stay valid
};
