#include "InListQuery.h"

#include "platform/Connection.h"
#include "platform/Recordset.h"

#include <QStringList>

namespace InListQuery {

Result<QList<QVariantList>> rows(Connection &cnn, const QString &sql, const QVariantList &values, int chunkSize)
{
    QList<QVariantList> result;
    const qsizetype step = qMax(1, chunkSize);
    for (qsizetype first = 0; first < values.size(); first += step) {
        const QVariantList chunk = values.mid(first, step);
        QStringList marks;
        marks.fill(QStringLiteral("?"), chunk.size());
        auto rs = cnn.Query(sql.arg(marks.join(QStringLiteral(", "))), chunk);
        if (!rs)
            return fail(rs.error());
        for (int row = 0; row < rs->RecordCount(); ++row)
            result.append(rs->row(row));
    }
    return result;
}

} // namespace InListQuery
