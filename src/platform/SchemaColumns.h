#pragma once

#include "SchemaDefinition.h"

// Short builders for the files that describe the tables, so that a table reads as a list of its
// columns. Only the kinds the system uses exist: keys and codes are text or integers, amounts and
// quantities are always floating point, 0/1 flags are small integers with default 0.
namespace SchemaColumns {

inline ColumnDef column(const QString &name, ColumnType type, int length = 0, bool notNull = false,
                        const QString &defaultValue = QString())
{
    ColumnDef c;
    c.name = name;
    c.type = type;
    c.length = length;
    c.notNull = notNull;
    c.defaultValue = defaultValue;
    return c;
}

// A text column; length 0 is unlimited.
inline ColumnDef text(const QString &name, int length = 0)
{
    return column(name, ColumnType::Text, length);
}

// A text key column: never NULL.
inline ColumnDef key(const QString &name, int length)
{
    return column(name, ColumnType::Text, length, true);
}

inline ColumnDef integer(const QString &name, bool notNull = false)
{
    return column(name, ColumnType::Integer, 0, notNull);
}

inline ColumnDef identity(const QString &name)
{
    ColumnDef c = column(name, ColumnType::Integer, 0, true);
    c.identity = true;
    return c;
}

// Money, quantities and rates.
inline ColumnDef real(const QString &name)
{
    return column(name, ColumnType::Real);
}

// A 0/1 flag; NULL stays allowed because several statements read flags through isnull(flag,0).
inline ColumnDef flag(const QString &name)
{
    return column(name, ColumnType::SmallInt, 0, false, QStringLiteral("0"));
}

// A small code (kind, type, policy) without default.
inline ColumnDef smallint(const QString &name)
{
    return column(name, ColumnType::SmallInt);
}

inline ColumnDef date(const QString &name)
{
    return column(name, ColumnType::Date);
}

inline ColumnDef dateTime(const QString &name)
{
    return column(name, ColumnType::DateTime);
}

inline ColumnDef blob(const QString &name)
{
    return column(name, ColumnType::Blob);
}

// prefix + first .. prefix + last as text columns ("cfree", 1, 10 gives cfree1 .. cfree10).
inline QList<ColumnDef> numbered(const QString &prefix, int first, int last, int length = 0)
{
    QList<ColumnDef> out;
    for (int i = first; i <= last; ++i)
        out << text(prefix + QString::number(i), length);
    return out;
}

// The same, as 0/1 flags (bFree1 .. bFree10).
inline QList<ColumnDef> numberedFlags(const QString &prefix, int first, int last)
{
    QList<ColumnDef> out;
    for (int i = first; i <= last; ++i)
        out << flag(prefix + QString::number(i));
    return out;
}

inline IndexDef index(const QString &name, const QStringList &columns, bool unique = false,
                      const QString &where = QString(), bool caseFolded = false)
{
    IndexDef i;
    i.name = name;
    i.columns = columns;
    i.unique = unique;
    i.where = where;
    i.caseFolded = caseFolded;
    return i;
}

// An index for a reference list's prefix search and order on the last of `columns`, compared by
// code point; the columns before it are those the list fixes by equality.
inline IndexDef searchIndex(const QString &name, const QStringList &columns)
{
    IndexDef i = index(name, columns);
    i.byCodePoint = {columns.last()};
    return i;
}

} // namespace SchemaColumns
