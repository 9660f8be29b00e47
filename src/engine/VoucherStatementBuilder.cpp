#include "VoucherStatementBuilder.h"

#include "basVoucher.h"

#include "common/modPublic.h"
#include "platform/Connection.h"
#include "platform/VoucherRow.h"

#include <algorithm>

namespace {

bool isWritable(const TableColumn &c)
{
    return c.kind != ColumnKind::Binary && c.kind != ColumnKind::RowVersion && !c.generated;
}

// The writable columns the row holds a value for, in the table's order, with the value text of
// each. One pass over the row's attributes: a line of a large voucher is not searched once per
// column of its table. An attribute repeated in another letter case counts once, the first.
QList<std::pair<int, QString>> writtenValues(const TableStructure &s, const VoucherRow &row)
{
    QList<std::pair<int, QString>> values;
    for (VoucherAttribute &a : row.attributes()) {
        const int i = s.indexOf(a.name);
        if (i < 0 || !isWritable(s.columns()[i]))
            continue;
        if (std::none_of(values.cbegin(), values.cend(), [i](const auto &v) { return v.first == i; }))
            values.append({i, std::move(a.value)});
    }
    std::sort(values.begin(), values.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    return values;
}

// The row's value of a column, converted to the column's kind; a column the table does not have
// (a caller's mistake) is bound as the text, and the database reports it.
QVariant boundValue(const TableStructure &s, const QString &column, const VoucherRow &row)
{
    const QString name = column.toLower();
    if (basVoucher::AttributeMissing(row, name))
        return QVariant();
    const TableColumn *c = s.column(name);
    return c ? basVoucher::FormatSqlValue(*c, row.value(name)) : QVariant(row.value(name));
}

// "col = ?" on the unique column, for a guard. A text column is compared folded to lower case, as
// its unique index is (voucher numbers differing only in letter case are the same number), and the
// empty value is excluded as well: it changes no answer (empty values are never guarded) but lets
// both databases use the partial unique index, which covers non-empty values only.
QString uniqueMatch(const Dialect &dialect, const TableStructure &s, const QString &column)
{
    const QString name = column.toLower();
    const TableColumn *c = s.column(name);
    if (c && c->kind == ColumnKind::Text)
        return dialect.foldedText(name) + QStringLiteral(" = ? AND ") + name + QStringLiteral(" <> ''");
    return name + QStringLiteral(" = ?");
}

// The value a guard binds for the unique column: folded as uniqueMatch() compares it (ASCII
// letters, as both databases fold them).
QVariant uniqueValue(const TableStructure &s, const QString &column, const VoucherRow &row)
{
    const QVariant value = boundValue(s, column, row);
    const TableColumn *c = s.column(column.toLower());
    if (!c || c->kind != ColumnKind::Text || value.isNull())
        return value;
    QString folded = value.toString();
    for (QChar &ch : folded) {
        if (ch >= QLatin1Char('A') && ch <= QLatin1Char('Z'))
            ch = QChar(ch.unicode() + ('a' - 'A'));
    }
    return folded;
}

bool hasGuardValue(const VoucherRow &row, const QString &uniqueColumn)
{
    return !uniqueColumn.isEmpty() && !row.value(uniqueColumn).isEmpty();
}

} // namespace

VoucherStatementBuilder::VoucherStatementBuilder(Connection &cnn)
    : m_cnn(cnn)
{}

Result<const TableStructure *> VoucherStatementBuilder::structure(const QString &table)
{
    const QString key = table.toLower();
    auto it = m_structures.find(key);
    if (it == m_structures.end()) {
        auto read = TableStructure::read(m_cnn, table);
        if (!read)
            return fail(read.error());
        it = m_structures.emplace(key, std::move(*read)).first;
    }
    return &it->second;
}

Result<QVariant> VoucherStatementBuilder::GetMaxValue(const QString &table, const QString &column)
{
    // No COALESCE(MAX(c), 0): PostgreSQL refuses it on a text column. NULL means an empty table.
    auto max = m_cnn.Scalar(QStringLiteral("SELECT MAX(") + column + QStringLiteral(") FROM ") + table);
    if (!max)
        return max;
    return max->isNull() ? QVariant(0) : *max;
}

Result<VoucherStatement> VoucherStatementBuilder::BuildInsertSql(const VoucherRow &row, const QString &table,
                                                                 const QString &uniqueColumn, bool guard)
{
    auto s = structure(table);
    if (!s)
        return fail(s.error());
    auto st = BuildInsertRow(row, table);
    if (!st)
        return st;
    QStringList marks;
    marks.fill(QStringLiteral("?"), st->columns.size());
    st->sql = QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") + st->columns.join(QStringLiteral(", "))
              + QStringLiteral(") VALUES (") + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
    if (guard && hasGuardValue(row, uniqueColumn)) {
        const TableStructure &structure = **this->structure(table);
        st->guardSql = QStringLiteral("SELECT 1 FROM ") + table + QStringLiteral(" WHERE ")
                       + uniqueMatch(m_cnn.dialect(), structure, uniqueColumn) + QStringLiteral(" LIMIT 1");
        st->guardParams << uniqueValue(structure, uniqueColumn, row);
    }
    return st;
}

Result<VoucherStatement> VoucherStatementBuilder::BuildInsertRow(const VoucherRow &row, const QString &table)
{
    auto s = structure(table);
    if (!s)
        return fail(s.error());
    VoucherStatement st;
    st.table = table;
    for (const auto &[i, value] : writtenValues(**s, row)) {
        const TableColumn &c = (*s)->columns()[i];
        st.columns << c.name.toLower();
        st.params << basVoucher::FormatSqlValue(c, value);
    }
    if (st.columns.isEmpty())
        return fail(QStringLiteral("没有可以写入表 %1 的字段").arg(table));
    return st;
}

Result<VoucherStatement> VoucherStatementBuilder::SaveByUpdate(const VoucherRow &row, const QString &table,
                                                               const QString &keyColumn, const QString &tsColumn,
                                                               const QString &uniqueColumn, bool guard)
{
    auto s = structure(table);
    if (!s) {
        modPublic::ShowErrMsg(modPublic::DatabaseErrorNumber, s.error(), QStringLiteral("basVoucher:SaveByUpdate"));
        return fail(s.error());
    }
    const QString key = keyColumn.toLower();
    VoucherStatement st;
    st.table = table;
    QStringList assignments;
    for (const auto &[i, value] : writtenValues(**s, row)) {
        const TableColumn &c = (*s)->columns()[i];
        if (c.name.compare(key, Qt::CaseInsensitive) == 0)
            continue;
        assignments << c.name.toLower() + QStringLiteral(" = ?");
        st.params << basVoucher::FormatSqlValue(c, value);
    }
    // A row with nothing but its key still touches the row (and renews its version).
    if (assignments.isEmpty())
        assignments << key + QStringLiteral(" = ") + key;
    const QVariant keyValue = boundValue(**s, key, row);
    st.sql = QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ") + assignments.join(QStringLiteral(", "))
             + QStringLiteral(" WHERE ") + key + QStringLiteral(" = ?");
    st.params << keyValue;
    if (!tsColumn.isEmpty()) {
        st.sql += QStringLiteral(" AND CAST(") + tsColumn.toLower() + QStringLiteral(" AS TEXT) = ?");
        const auto version = row.attribute(tsColumn);
        st.params << (version ? QVariant(version->trimmed()) : QVariant());
    }
    if (guard && hasGuardValue(row, uniqueColumn)) {
        st.guardSql = QStringLiteral("SELECT 1 FROM ") + table + QStringLiteral(" WHERE ") + key
                      + QStringLiteral(" <> ? AND ") + uniqueMatch(m_cnn.dialect(), **s, uniqueColumn)
                      + QStringLiteral(" LIMIT 1");
        st.guardParams << keyValue << uniqueValue(**s, uniqueColumn, row);
    }
    return st;
}

Result<VoucherStatement> VoucherStatementBuilder::BuildDeleteSql(const VoucherRow &row, const QString &table,
                                                                 const QString &keyColumn)
{
    auto s = structure(table);
    if (!s)
        return fail(s.error());
    VoucherStatement st;
    st.table = table;
    st.sql = QStringLiteral("DELETE FROM ") + table + QStringLiteral(" WHERE ") + keyColumn.toLower()
             + QStringLiteral(" = ?");
    st.params << boundValue(**s, keyColumn, row);
    return st;
}
