#include "InListQuery.h"

#include "Connection.h"
#include "Recordset.h"

#include <QStringList>

namespace InListQuery {

Result<QList<QVariantList>> rows(Connection &cnn, const QString &sql, const QVariantList &values, int chunkSize)
{
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
