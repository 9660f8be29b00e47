#include "ListPrintSettings.h"

#include "host/DataPermission.h"
#include "platform/Connection.h"

namespace ListPrintSettings {

Result<void> saveFormat(Connection &cnn, const QString &moduleId, const QString &formatText)
{
    auto existing = cnn.Scalar(QStringLiteral("select count(*) from prn_format where moduleid = ?"), {moduleId});
    if (!existing)
        return fail(existing.error());
    auto written = existing->toInt() == 0
                       ? cnn.Execute(QStringLiteral("insert into prn_format (moduleid,formatxml) values (?, ?)"),
                                     {moduleId, formatText})
                       : cnn.Execute(QStringLiteral("update prn_format set formatxml = ? where moduleid = ?"),
                                     {formatText, moduleId});
    if (!written)
        return fail(written.error());
    return {};
}

Result<QStringList> templates(Connection &cnn, const QString &cardNumber, DataPermission &permission)
{
    QString sql = QStringLiteral("select VT_ID, VT_Name from vouchertemplates where vt_cardnumber = ? and "
                                 "vt_templatemode = 1 ");
    QVariantList params{cardNumber};
    const QString allowed = permission.GetKindCondition(QStringLiteral("DJMB")).trimmed();
    if (allowed == QLatin1String("1=2")) {
        sql += QStringLiteral("and 1=2");
    } else if (!allowed.isEmpty()) {
        // The answer is a list of identifiers; each is bound as a number, anything else is left out.
        QStringList marks;
        for (const QString &id : allowed.split(QLatin1Char(','))) {
            bool ok = false;
            const int value = id.trimmed().toInt(&ok);
            if (ok) {
                marks << QStringLiteral("?");
                params << value;
            }
        }
        sql += marks.isEmpty() ? QStringLiteral("and 1=2") : QStringLiteral("and vt_id in (") + marks.join(',') + ')';
    }
    auto rs = cnn.Query(sql, params);
    if (!rs)
        return fail(rs.error());
    QStringList out;
    for (int row = 0; row < rs->RecordCount(); ++row)
        out << rs->value(row, 0).toString() + QLatin1Char(' ') + rs->value(row, 1).toString();
    return out;
}

} // namespace ListPrintSettings
