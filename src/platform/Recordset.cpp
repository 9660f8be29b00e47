#include "Recordset.h"

#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

Recordset Recordset::fromQuery(QSqlQuery &query)
{
    Recordset rs;
    const QSqlRecord record = query.record();
    rs.m_fields.reserve(record.count());
    for (int i = 0; i < record.count(); ++i) {
        const QSqlField f = record.field(i);
        rs.m_fields.append({f.name(), QMetaType::Type(f.metaType().id())});
    }
    const int columns = record.count();
    if (query.isSelect() && query.size() > 0)
        rs.m_rows.reserve(query.size());
    while (query.next()) {
        QVariantList values;
        values.reserve(columns);
        for (int i = 0; i < columns; ++i)
            values.append(query.value(i));
        rs.m_rows.push_back(std::move(values));
    }
    // SQLite types a column from its declared type only; an expression column (COUNT, MAX, a
    // literal) reports no type. Take the type of its first non-null value instead.
    for (int c = 0; c < columns; ++c) {
        if (rs.m_fields[c].type != QMetaType::UnknownType && rs.m_fields[c].type != QMetaType::QVariant)
            continue;
        rs.m_fields[c].type = QMetaType::QString;
        for (const QVariantList &row : rs.m_rows) {
            if (!row[c].isNull()) {
                rs.m_fields[c].type = QMetaType::Type(row[c].metaType().id());
                break;
            }
        }
    }
    rs.m_pos = 0;
    return rs;
}

void Recordset::MoveNext()
{
    if (m_pos < RecordCount())
        ++m_pos;
}

void Recordset::MovePrevious()
{
    if (m_pos >= 0)
        --m_pos;
}

int Recordset::fieldIndex(const QString &name) const
{
    const QString wanted = name.trimmed();
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].name.compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant Recordset::value(const QString &name) const
{
    const int column = fieldIndex(name);
    return column < 0 ? QVariant() : value(column);
}

QVariant Recordset::value(int column) const
{
    if (isBOF() || isEOF() || column < 0 || column >= fieldCount())
        return {};
    return m_rows[m_pos][column];
}

void Recordset::appendRow(QVariantList values)
{
    m_rows.push_back(std::move(values));
}
