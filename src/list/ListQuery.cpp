#include "ListQuery.h"

#include "platform/Connection.h"

#include <QHash>
#include <QPair>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <vector>

namespace {

// The line's place in its voucher; 0 for the one row of a voucher without lines.
const QString kLineKey = QStringLiteral("COALESCE(isubid, 0)");

// Keys written "voucher:line,voucher:line,...".
QList<ListKey> keysFromText(const QByteArray &text)
{
    QList<ListKey> keys;
    keys.reserve(text.count(',') + 1);
    ListKey key;
    qlonglong number = 0;
    bool negative = false;
    const auto value = [&] {
        const qlonglong v = negative ? -number : number;
        number = 0;
        negative = false;
        return v;
    };
    for (const char c : text) {
        if (c >= '0' && c <= '9')
            number = number * 10 + (c - '0');
        else if (c == '-')
            negative = true;
        else if (c == ':')
            key.voucher = value();
        else if (c == ',') {
            key.line = value();
            keys << key;
        }
    }
    if (!text.isEmpty()) {
        key.line = value();
        keys << key;
    }
    return keys;
}

} // namespace

ListQuery::ListQuery(ListQueryRequest request)
    : m_request(std::move(request))
{}

QStringList ListQuery::selectedFields() const
{
    QStringList fields = m_request.fields;
    if (!fields.contains(QStringLiteral("iautoid")))
        fields << QStringLiteral("iautoid");
    return fields;
}

QString ListQuery::selectList() const
{
    return selectedFields().join(QStringLiteral(", "));
}

QString ListQuery::whereClause() const
{
    QString where = QStringLiteral(" where (1=1) ");
    if (!m_request.permission.trimmed().isEmpty())
        where += QStringLiteral(" and ") + m_request.permission;
    if (!m_request.filter.isEmpty())
        where += QStringLiteral(" and ") + m_request.filter.text;
    return where;
}

QString ListQuery::orderClause(bool reversed) const
{
    struct Term
    {
        QString expression;
        bool descending;
    };
    QList<Term> terms;
    const ListSort &sort = m_request.sort;
    if (sort.isSet()) {
        // Empty values first when ascending on both databases (PostgreSQL would put them last).
        terms << Term{QStringLiteral("CASE WHEN %1 IS NULL THEN 0 ELSE 1 END").arg(sort.field), sort.descending};
        terms << Term{sort.field, sort.descending};
    }
    terms << Term{QStringLiteral("iautoid"), false} << Term{kLineKey, false};
    QStringList out;
    for (const Term &t : terms)
        out << t.expression + ((t.descending != reversed) ? QStringLiteral(" DESC") : QString());
    return QStringLiteral(" order by ") + out.join(QStringLiteral(", "));
}

Result<ListTotals> ListQuery::totals(Connection &cnn, bool noteKeys) const
{
    if (cnn.backend() == Backend::Postgres)
        return totalsOnServer(cnn, noteKeys);
    // SQLite: one walk over the matching rows' keys and summed columns, read through the native
    // client and added up here. The statement names only the keys, the summed columns and the
    // condition's columns, so the view's joins that none of them needs are left out; an unsorted
    // walk follows the head's index and needs no sort of its own, and one that only counts needs
    // no order.
    QString sql = QStringLiteral("select iautoid, ") + kLineKey;
    for (const QString &field : m_request.sumFields)
        sql += QStringLiteral(", ") + field;
    sql += QStringLiteral(" from ") + m_request.view + whereClause();
    if (noteKeys)
        sql += orderClause();
    const std::size_t sumCount = std::size_t(m_request.sumFields.size());
    std::vector<double> sums(sumCount, 0.0);
    std::vector<bool> summed(sumCount, false);
    ListTotals out;
    auto read = cnn.ReadNumbers(sql, m_request.filter.params, [&](const Connection::NumberRow &row) {
        if (noteKeys)
            out.keys << ListKey{qlonglong(row[0].value_or(0)), qlonglong(row[1].value_or(0))};
        ++out.rows;
        for (std::size_t k = 0; k < sumCount; ++k) {
            if (const auto &v = row[k + 2]) {
                sums[k] += *v;
                summed[k] = true;
            }
        }
    });
    if (!read)
        return fail(read.error());
    for (std::size_t k = 0; k < sumCount; ++k)
        out.sums << (summed[k] ? QVariant(sums[k]) : QVariant());
    return out;
}

Result<ListTotals> ListQuery::totalsOnServer(Connection &cnn, bool noteKeys) const
{
    // PostgreSQL adds up on the server and sends the keys, in the list's order, as one text: a
    // row per matching row would cost more to send and read than the server takes to find them.
    QStringList items{QStringLiteral("COUNT(*)")};
    for (const QString &field : m_request.sumFields)
        items << QStringLiteral("SUM(%1)").arg(field);
    if (noteKeys)
        items << QStringLiteral("string_agg(CAST(iautoid AS text) || ':' || CAST(") + kLineKey
                     + QStringLiteral(" AS text), ','") + orderClause() + QLatin1Char(')');
    auto rs = cnn.Query(QStringLiteral("select ") + items.join(QStringLiteral(", ")) + QStringLiteral(" from ")
                            + m_request.view + whereClause(),
                        m_request.filter.params);
    if (!rs)
        return fail(rs.error());
    ListTotals out;
    if (rs->isEmpty())
        return out;
    out.rows = rs->value(0, 0).toLongLong();
    const int sumCount = int(m_request.sumFields.size());
    for (int k = 0; k < sumCount; ++k) {
        const QVariant v = rs->value(0, k + 1);
        out.sums << (v.isNull() ? QVariant() : QVariant(v.toDouble()));
    }
    if (noteKeys)
        out.keys = keysFromText(rs->value(0, sumCount + 1).toString().toLatin1());
    return out;
}

int ListQuery::pageCount(qint64 rows, int pageSize)
{
    if (rows <= 0 || pageSize <= 0)
        return 0;
    return int((rows + pageSize - 1) / pageSize);
}

Result<ListRows> ListQuery::page(Connection &cnn, int page, int pageSize, const ListTotals &totals) const
{
    if (totals.keys.size() != totals.rows)
        return this->page(cnn, page, pageSize, totals.rows);
    const qint64 offset = qint64(std::max(page, 1) - 1) * pageSize;
    if (offset >= totals.rows)
        return rowsOf(cnn, {}, false);
    return rowsOf(cnn, totals.keys.mid(offset, pageSize), false);
}

Result<ListRows> ListQuery::page(Connection &cnn, int page, int pageSize, qint64 totalRows) const
{
    const qint64 offset = qint64(std::max(page, 1) - 1) * pageSize;
    const qint64 count = std::min<qint64>(pageSize, totalRows - offset);
    if (count <= 0)
        return rowsOf(cnn, {}, false);
    // From the end when the page lies in the back half: OFFSET walks the rows it skips.
    const qint64 fromEnd = totalRows - offset - count;
    const bool reversed = fromEnd < offset;
    // First the keys of the page's rows: the skipped rows are walked with the key columns and the
    // condition's columns only, so the view's other joins are left out of the walk.
    QVariantList params = m_request.filter.params;
    params << count << (reversed ? fromEnd : offset);
    QList<ListKey> keys;
    auto read
        = cnn.ReadNumbers(QStringLiteral("select iautoid, ") + kLineKey + QStringLiteral(" from ") + m_request.view
                              + whereClause() + orderClause(reversed) + QStringLiteral(" limit ? offset ?"),
                          params, [&keys](const Connection::NumberRow &row) {
                              keys << ListKey{qlonglong(row[0].value_or(0)), qlonglong(row[1].value_or(0))};
                          });
    if (!read)
        return fail(read.error());
    return rowsOf(cnn, keys, reversed);
}

Result<ListRows> ListQuery::rowsOf(Connection &cnn, const QList<ListKey> &keys, bool reversed) const
{
    ListRows out;
    out.fields = selectedFields();
    if (keys.isEmpty())
        return out;
    // The shown columns of those vouchers' rows, put in the keys' order.
    QVariantList vouchers;
    QStringList marks;
    for (const ListKey &key : keys) {
        if (!vouchers.contains(key.voucher)) {
            vouchers << key.voucher;
            marks << QStringLiteral("?");
        }
    }
    auto rs = cnn.Query(QStringLiteral("select ") + selectList() + QStringLiteral(", iautoid, ") + kLineKey
                            + QStringLiteral(" from ") + m_request.view + QStringLiteral(" where iautoid in (")
                            + marks.join(QLatin1Char(',')) + QLatin1Char(')'),
                        vouchers);
    if (!rs)
        return fail(rs.error());
    const int width = int(out.fields.size());
    QHash<QPair<qlonglong, qlonglong>, QVariantList> byKey;
    for (int row = 0; row < rs->RecordCount(); ++row) {
        QVariantList values = rs->row(row);
        const auto key = qMakePair(values.value(width).toLongLong(), values.value(width + 1).toLongLong());
        values.resize(width);
        byKey.insert(key, values);
    }
    for (const ListKey &key : keys) {
        // A voucher deleted between the two reads is left out, as the next read would leave it.
        if (const auto it = byKey.constFind(qMakePair(key.voucher, key.line)); it != byKey.cend())
            out.rows << *it;
    }
    if (reversed)
        std::reverse(out.rows.begin(), out.rows.end());
    return out;
}

Result<std::unique_ptr<QSqlQuery>> ListQuery::openStream(Connection &cnn) const
{
    auto query = std::make_unique<QSqlQuery>(cnn.database());
    query->setForwardOnly(true);
    if (!query->prepare(QStringLiteral("select ") + selectList() + QStringLiteral(" from ") + m_request.view
                        + whereClause() + orderClause()))
        return fail(query->lastError().text());
    for (const QVariant &v : m_request.filter.params)
        query->addBindValue(v);
    if (!query->exec())
        return fail(query->lastError().text());
    return query;
}
