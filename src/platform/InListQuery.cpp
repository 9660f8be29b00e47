#include "InListQuery.h"

#include "Connection.h"
#include "Recordset.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

// One element of a PostgreSQL array literal: always quoted, so that blanks, commas, braces and the
// word NULL stay text; a missing value is the literal's own NULL.
QString arrayElement(const QVariant &value)
{
    if (value.isNull())
        return QStringLiteral("NULL");
    QString text = value.typeId() == QMetaType::Double ? QString::number(value.toDouble(), 'g', 17) : value.toString();
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

bool arrayable(const QVariantList &values)
{
    for (const QVariant &v : values) {
        switch (v.typeId()) {
        case QMetaType::QString:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Double:
            break;
        default:
            if (!v.isNull())
                return false;
        }
    }
    return true;
}

// PostgreSQL takes the whole list as one array value: "x IN (%1)" becomes "x = ANY(?)", the array's
// type taken from the column it is compared with: one round trip instead of one per chunk.
std::optional<Result<QList<QVariantList>>> rowsByArray(Connection &cnn, const QString &sql, const QVariantList &values)
{
    if (cnn.backend() != Backend::Postgres || !arrayable(values))
        return std::nullopt;
    static const QRegularExpression inList(QStringLiteral("\\bIN\\s*\\(\\s*%1\\s*\\)"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = inList.match(sql);
    if (!match.hasMatch() || match.capturedStart() > sql.indexOf(QLatin1String("%1")))
        return std::nullopt;
    QStringList elements;
    elements.reserve(values.size());
    for (const QVariant &v : values)
        elements << arrayElement(v);
    QString statement = sql;
    statement.replace(match.capturedStart(), match.capturedLength(), QStringLiteral("= ANY(?)"));
    // Planned for the values at hand: a plan kept from a short list would probe the index once per
    // key of a long one, where a hash of the keys costs a fraction.
    return cnn.QueryPlannedPerRun(statement,
                                  {QVariant(QLatin1Char('{') + elements.join(QLatin1Char(',')) + QLatin1Char('}'))});
}

} // namespace

namespace InListQuery {

Result<QList<QVariantList>> rows(Connection &cnn, const QString &sql, const QVariantList &values, int chunkSize)
{
    if (values.isEmpty())
        return QList<QVariantList>();
    if (auto whole = rowsByArray(cnn, sql, values))
        return std::move(*whole);
    QList<QVariantList> result;
    // Only the first "%1" is the list: a condition joined into the text may hold one as well.
    const qsizetype at = sql.indexOf(QLatin1String("%1"));
    const qsizetype step = qMax(1, chunkSize);
    for (qsizetype first = 0; first < values.size(); first += step) {
        const QVariantList chunk = values.mid(first, step);
        QStringList marks;
        marks.fill(QStringLiteral("?"), chunk.size());
        QString statement = sql;
        if (at >= 0)
            statement.replace(at, 2, marks.join(QStringLiteral(", ")));
        auto rs = cnn.Query(statement, chunk);
        if (!rs)
            return fail(rs.error());
        for (int row = 0; row < rs->RecordCount(); ++row)
            result.append(rs->row(row));
    }
    return result;
}

} // namespace InListQuery
