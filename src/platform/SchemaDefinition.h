#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The one description of the database from which the DDL of both backends is generated.
// Each group of tables lives in a file of its own (SchemaXxxTables.cpp); Schema turns the whole
// description into CREATE statements through the Dialect.

enum class ColumnType {
    Integer,  // 32-bit identifiers, counts
    BigInt,   // row versions
    SmallInt, // 0/1 flags, small codes
    Real,     // money, quantities, rates: always floating point
    Text,     // with an optional length
    Date,
    DateTime,
    Blob
};

struct ColumnDef
{
    QString name;
    ColumnType type = ColumnType::Text;
    int length = 0;          // Text only; 0 = unlimited
    bool notNull = false;
    QString defaultValue;    // SQL literal valid on both backends, empty = none
    // Integer key assigned by the database on insert; the column must be the table's whole
    // primary key. Our statements never write it.
    bool identity = false;
};

struct IndexDef
{
    QString name;
    QStringList columns;
    bool unique = false;
    QString where = {}; // partial index condition valid on both backends, empty = whole table
    // The index is over the columns folded to lower case (Dialect::foldedText), for uniqueness
    // that ignores letter case.
    bool caseFolded = false;
    // Those of `columns` the index orders by code point (Dialect::byCodePoint), as the reference
    // lists compare and order their search columns. On a backend where text compares by code point
    // anyway, an index that comes out like the primary key or an earlier index is not made again.
    QStringList byCodePoint = {};
};

struct TableDef
{
    QString name;
    QList<ColumnDef> columns;
    QStringList primaryKey;
    QList<IndexDef> indexes;
    // The table carries the database-wide row version "qvts", set on insert and bumped by trigger
    // on every update of a row (even one that changes nothing).
    bool rowVersion = false;
};

struct ViewDef
{
    QString name;
    QString select; // a SELECT that runs unchanged on both backends
};

// Groups of the description, one file each.
QList<TableDef> systemTables();     // vouchers, templates, accounting options, numbering, formats
QList<TableDef> masterDataTables(); // items, customers, departments, persons, vendors, warehouses, units
QList<TableDef> sampleTables();     // sample heads and lines, attachments, bills of materials
QList<TableDef> hostTables();       // users, rights, function locks, data permissions
QList<ViewDef> schemaViews();       // card, body, list and lookup views
