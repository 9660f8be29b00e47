#include "ListQuery.h"

#include "platform/Connection.h"

#include <QHash>
#include <QPair>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace {

// The line's place in its voucher; 0 for the one row of a voucher without lines.
const QString kLineKey = QStringLiteral("COALESCE(isubid, 0)");

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

Result<ListTotals> ListQuery::totals(Connection &cnn) const
{
    QStringList items{QStringLiteral("COUNT(*)")};
    QStringList inner{QStringLiteral("1 AS one")};
    for (int k = 0; k < m_request.sumFields.size(); ++k) {
        items << QStringLiteral("SUM(t.s%1)").arg(k);
        inner << QStringLiteral("%1 AS s%2").arg(m_request.sumFields[k]).arg(k);
    }
    // The matching rows are read in a subquery that names only the summed columns, so the view's
    // joins that no summed column or condition needs are left out. SQLite would merge the subquery
    // into the aggregate and keep every join; its "limit -1" (no limit) keeps it apart.
    const QString keepApart = cnn.backend() == Backend::Sqlite ? QStringLiteral(" limit -1") : QString();
    auto rs = cnn.Query(QStringLiteral("select ") + items.join(QStringLiteral(", ")) + QStringLiteral(" from (select ")
                            + inner.join(QStringLiteral(", ")) + QStringLiteral(" from ") + m_request.view
                            + whereClause() + keepApart + QStringLiteral(") t"),
                        m_request.filter.params);
    if (!rs)
        return fail(rs.error());
    ListTotals out;
    if (rs->isEmpty())
        return out;
    out.rows = rs->value(0, 0).toLongLong();
    for (int k = 0; k < m_request.sumFields.size(); ++k) {
        const QVariant v = rs->value(0, k + 1);
        out.sums << (v.isNull() ? QVariant() : QVariant(v.toDouble()));
    }
    return out;
}

int ListQuery::pageCount(qint64 rows, int pageSize)
{
    if (rows <= 0 || pageSize <= 0)
        return 0;
    return int((rows + pageSize - 1) / pageSize);
}

Result<ListRows> ListQuery::page(Connection &cnn, int page, int pageSize, qint64 totalRows) const
{
    ListRows out;
    out.fields = selectedFields();
    const qint64 offset = qint64(std::max(page, 1) - 1) * pageSize;
    const qint64 count = std::min<qint64>(pageSize, totalRows - offset);
    if (count <= 0)
        return out;
    // From the end when the page lies in the back half: OFFSET walks the rows it skips.
    const qint64 fromEnd = totalRows - offset - count;
    const bool reversed = fromEnd < offset;
    // First the keys of the page's rows: the skipped rows are walked with the key columns and the
    // condition's columns only, so the view's other joins are left out of the walk.
    QVariantList params = m_request.filter.params;
    params << count << (reversed ? fromEnd : offset);
    auto keys = cnn.Query(QStringLiteral("select iautoid, ") + kLineKey + QStringLiteral(" from ") + m_request.view
                              + whereClause() + orderClause(reversed) + QStringLiteral(" limit ? offset ?"),
                          params);
    if (!keys)
        return fail(keys.error());
    if (keys->RecordCount() == 0)
        return out;
    // Then the shown columns of those vouchers' rows, put in the keys' order.
    QList<QPair<qlonglong, qlonglong>> order;
    QVariantList vouchers;
    QStringList marks;
    for (int row = 0; row < keys->RecordCount(); ++row) {
        const qlonglong id = keys->value(row, 0).toLongLong();
        order << qMakePair(id, keys->value(row, 1).toLongLong());
        if (!vouchers.contains(id)) {
            vouchers << id;
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
    for (const auto &key : order) {
        // A voucher deleted between the two reads is left out, as the next read would leave it.
        if (const auto it = byKey.constFind(key); it != byKey.cend())
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
