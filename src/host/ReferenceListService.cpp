#include "ReferenceListService.h"

#include "platform/Connection.h"

namespace {

constexpr char32_t kHighestCodePoint = 0x10FFFF;

// "(column >= ? AND column < ?)" by code point, or only the lower bound when the prefix has no
// successor.
QString prefixTerm(const Dialect &dialect, const QString &column, const QString &prefix, QVariantList &params)
{
    const QString compared = dialect.byCodePoint(column);
    const QString upper = ReferenceListService::prefixSuccessor(prefix);
    params << prefix;
    if (upper.isEmpty())
        return QLatin1Char('(') + compared + QStringLiteral(" >= ?)");
    params << upper;
    return QLatin1Char('(') + compared + QStringLiteral(" >= ? AND ") + compared + QStringLiteral(" < ?)");
}

// " ORDER BY column" by code point; "" without a column.
QString orderBy(const Dialect &dialect, const QString &column)
{
    return column.trimmed().isEmpty() ? QString() : QStringLiteral(" ORDER BY ") + dialect.byCodePoint(column);
}

} // namespace

QString ReferenceListService::prefixSuccessor(const QString &prefix)
{
    QList<uint> points = prefix.toUcs4();
    while (!points.isEmpty()) {
        uint last = points.takeLast();
        if (last >= kHighestCodePoint)
            continue; // nothing follows it: carry into the code point before
        ++last;
        if (last >= 0xD800 && last <= 0xDFFF) // surrogates are no characters
            last = 0xE000;
        points << last;
        return QString::fromUcs4(reinterpret_cast<const char32_t *>(points.constData()), points.size());
    }
    return {};
}

QString ReferenceListService::statement(const Dialect &dialect, const ReferenceListRequest &request,
                                        QVariantList &params)
{
    const int size = qMax(1, request.pageSize);
    const qint64 offset = qint64(qMax(0, request.pageIndex)) * size;
    const QString order = orderBy(dialect, request.codeColumn);
    // One row beyond the page tells whether another page follows.
    const QString paging = request.multiPage ? QStringLiteral(" LIMIT ? OFFSET ?") : QString();
    auto addPaging = [&](QVariantList &to) {
        if (request.multiPage)
            to << size + 1 << offset;
    };

    // The rows of the list that pass `term` (empty: every row), in code order; the values go to
    // params in the order of their placeholders.
    auto select = [&](const QString &term, const QVariantList &termParams) {
        QString sql = QStringLiteral("SELECT ") + request.columns + QStringLiteral(" FROM ") + request.table
                      + QStringLiteral(" WHERE 1=1");
        if (!request.where.trimmed().isEmpty()) {
            sql += QStringLiteral(" AND (") + request.where + QLatin1Char(')');
            params << request.whereParams;
        }
        if (!term.isEmpty())
            sql += QStringLiteral(" AND ") + term;
        params << termParams;
        for (const QString &condition : request.conditions) {
            if (!condition.trimmed().isEmpty())
                sql += QStringLiteral(" AND (") + condition + QLatin1Char(')');
        }
        params << request.conditionParams;
        return sql + order;
    };

    QStringList searched;
    if (!request.search.isEmpty()) {
        for (const QString &column : {request.codeColumn, request.nameColumn, request.thirdColumn}) {
            if (!column.trimmed().isEmpty())
                searched << column;
        }
    }
    if (searched.isEmpty()) {
        const QString sql = select(QString(), {}) + paging;
        addPaging(params);
        return sql;
    }

    // A search over several columns is one ordered, limited branch per column, joined with UNION:
    // each branch walks the index of its column and stops after the rows the page needs, where a
    // single query with OR would read every match of a short prefix before sorting them. The
    // branches return whole rows, so UNION drops a row that matches in two columns.
    QStringList branches;
    for (const QString &column : searched) {
        QVariantList termParams;
        const QString term = prefixTerm(dialect, column, request.search, termParams);
        QString branch = select(term, termParams);
        if (request.multiPage) {
            branch += QStringLiteral(" LIMIT ?");
            params << offset + size + 1;
        }
        branches << QStringLiteral("SELECT * FROM (") + branch + QStringLiteral(") b")
                        + QString::number(branches.size());
    }
    const QString outerOrder = orderBy(dialect, request.codeColumn.section(QLatin1Char('.'), -1));
    const QString sql = QStringLiteral("SELECT * FROM (") + branches.join(QStringLiteral(" UNION "))
                        + QStringLiteral(") u") + outerOrder + paging;
    addPaging(params);
    return sql;
}

Result<ReferenceListPage> ReferenceListService::page(const ReferenceListRequest &request) const
{
    QVariantList params;
    const QString sql = statement(m_cnn.dialect(), request, params);
    auto rs = m_cnn.Query(sql, params);
    if (!rs)
        return fail(rs.error());
    const int size = qMax(1, request.pageSize);
    ReferenceListPage page;
    if (request.multiPage && rs->RecordCount() > size) {
        page.more = true;
        Recordset cut;
        cut.setFields(rs->fields());
        for (int r = 0; r < size; ++r)
            cut.appendRow(rs->row(r));
        page.rows = std::move(cut);
    } else {
        page.rows = std::move(*rs);
    }
    page.rows.MoveFirst();
    return page;
}
