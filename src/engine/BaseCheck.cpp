#include "BaseCheck.h"

#include "CheckResultRow.h"
#include "FieldFamilies.h"

#include "host/DataPermission.h"
#include "platform/Connection.h"

namespace {

const QString kWrongInput = QStringLiteral("录入错误,请检查");

} // namespace

QString BaseCheck::typedValue(const QString &value)
{
    qsizetype end = value.size();
    while (end > 0 && value.at(end - 1).isSpace())
        --end;
    return value.left(end);
}

QString BaseCheck::check(const QString &field, const QString &value, VoucherDocument &domReturn,
                         const QString &strWhere)
{
    const FieldFamily family = fieldFamily(field);
    const BaseCheckQuery *query = baseCheckQuery(family);
    if (!query)
        return kWrongInput;

    const QString typed = typedValue(value);
    QStringList terms;
    QVariantList params;
    for (const QString &column : query->matchColumns) {
        terms << column + QStringLiteral(" = ?");
        params << typed;
    }
    QString sql = query->select + QStringLiteral(" AND (") + terms.join(QStringLiteral(" OR ")) + QLatin1Char(')');
    if (!strWhere.trimmed().isEmpty())
        sql += QStringLiteral(" AND (") + strWhere + QLatin1Char(')');
    sql += QStringLiteral(" AND (") + m_permission.GetFieldCondition(dataPermissionColumn(family))
           + QStringLiteral(") LIMIT 1");

    auto rs = m_cnn.Query(sql, params);
    if (!rs)
        return rs.error();
    if (rs->isEmpty()) {
        domReturn = CheckResultRow::empty(*rs);
        return query->notFound;
    }
    domReturn = CheckResultRow::found(*rs);
    return {};
}
