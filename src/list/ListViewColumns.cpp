#include "ListViewColumns.h"

#include "platform/Connection.h"

Result<ListViewColumns> ListViewColumns::read(Connection &cnn, const QString &view)
{
    // information_schema lists views as well as tables; pragma_table_info does too.
    const QString sql = cnn.backend() == Backend::Postgres
                            ? QStringLiteral("SELECT column_name, data_type FROM information_schema.columns "
                                             "WHERE table_schema = current_schema() AND table_name = ? "
                                             "ORDER BY ordinal_position")
                            : QStringLiteral("SELECT name, type FROM pragma_table_info(?)");
    auto rs = cnn.Query(sql, {view.toLower()});
    if (!rs)
        return fail(rs.error());
    ListViewColumns out;
    for (int row = 0; row < rs->RecordCount(); ++row) {
        const QString name = rs->value(row, 0).toString().toLower();
        out.m_names << name;
        out.m_kinds.insert(name, kindOfType(rs->value(row, 1).toString()));
    }
    if (out.m_names.isEmpty())
        return fail(QStringLiteral("列表视图 %1 不存在").arg(view));
    return out;
}

bool ListViewColumns::maySum(const QString &field) const
{
    const ListColumnKind k = kind(field);
    return contains(field) && (k == ListColumnKind::Number || k == ListColumnKind::Unknown);
}

ListColumnKind ListViewColumns::kindOfType(const QString &declaredType)
{
    const QString t = declaredType.trimmed().toLower();
    if (t.isEmpty())
        return ListColumnKind::Unknown;
    if (t.startsWith(QLatin1String("date")) || t.startsWith(QLatin1String("timestamp")))
        return ListColumnKind::Date;
    for (const char *number : {"int", "real", "double", "numeric", "decimal", "float", "money", "smallint", "bigint"}) {
        if (t.contains(QLatin1String(number)))
            return ListColumnKind::Number;
    }
    return ListColumnKind::Text;
}
