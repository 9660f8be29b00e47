#include "TableStructure.h"

#include "Connection.h"

#include <QRegularExpression>

#include <cmath>

Result<TableStructure> TableStructure::read(Connection &cnn, const QString &table)
{
    auto rs = cnn.Query(cnn.dialect().columnTypesQuery(), {table.toLower()});
    if (!rs)
        return fail(rs.error());
    if (rs->isEmpty())
        return fail(QStringLiteral("数据库中没有表 %1").arg(table));
    TableStructure s;
    for (int r = 0; r < rs->RecordCount(); ++r) {
        TableColumn c;
        c.name = rs->value(r, 0).toString();
        c.kind = kindOf(c.name, rs->value(r, 1).toString(), rs->value(r, 2).toString());
        c.generated = rs->value(r, 3).toInt() == 1;
        // PostgreSQL reports the length apart from the type name; SQLite keeps the declared text.
        const int reported = rs->value(r, 4).toInt();
        c.length = reported > 0 ? reported : lengthOf(rs->value(r, 1).toString());
        const QString type = rs->value(r, 1).toString().trimmed().toLower();
        if (type == QLatin1String("smallint"))
            c.integerBits = 16;
        else if (type == QLatin1String("integer") || type == QLatin1String("int"))
            c.integerBits = 32;
        s.m_index.insert(c.name.toLower(), int(s.m_columns.size()));
        s.m_columns << c;
    }
    return s;
}

bool TableColumn::fitsInteger(double value) const
{
    if (value != std::trunc(value))
        return false;
    const double limit = std::ldexp(1.0, integerBits - 1);
    return value >= -limit && value < limit;
}

const TableColumn *TableStructure::column(const QString &name) const
{
    const int i = indexOf(name);
    return i < 0 ? nullptr : &m_columns[i];
}

int TableStructure::indexOf(const QString &name) const
{
    // Document attributes are lower-case, so the exact lookup nearly always answers.
    auto it = m_index.constFind(name);
    if (it == m_index.cend())
        it = m_index.constFind(name.toLower());
    return it == m_index.cend() ? -1 : *it;
}

ColumnKind TableStructure::kindOf(const QString &name, const QString &declaredType, const QString &defaultText)
{
    // The schema gives every table with a row version the column qvts.
    if (name.compare(QLatin1String("qvts"), Qt::CaseInsensitive) == 0)
        return ColumnKind::RowVersion;
    const QString type = declaredType.trimmed().toLower();
    if (type == QLatin1String("smallint")) {
        // Flags and small codes share the type; the schema gives flags, and only flags, DEFAULT 0.
        // PostgreSQL may report the default as "0" or "'0'::smallint".
        QString d = defaultText.section(QLatin1String("::"), 0, 0).trimmed();
        d.remove(QLatin1Char('\''));
        return d == QLatin1String("0") ? ColumnKind::Flag : ColumnKind::Integer;
    }
    if (type.contains(QLatin1String("int")))
        return ColumnKind::Integer;
    if (type.contains(QLatin1String("real")) || type.contains(QLatin1String("double"))
        || type.contains(QLatin1String("float")) || type.contains(QLatin1String("numeric"))
        || type.contains(QLatin1String("decimal")))
        return ColumnKind::Real;
    if (type == QLatin1String("date"))
        return ColumnKind::Date;
    if (type.startsWith(QLatin1String("timestamp")) || type == QLatin1String("datetime"))
        return ColumnKind::DateTime;
    if (type == QLatin1String("blob") || type == QLatin1String("bytea"))
        return ColumnKind::Binary;
    return ColumnKind::Text;
}

int TableStructure::lengthOf(const QString &declaredType)
{
    static const QRegularExpression text(QStringLiteral("^\\s*(?:n?varchar|character varying|n?char|character)"
                                                        "\\s*\\(\\s*(\\d+)\\s*\\)\\s*$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = text.match(declaredType);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}
