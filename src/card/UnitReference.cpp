#include "UnitReference.h"

#include "ArchiveList.h"

#include "platform/Connection.h"
#include "platform/Recordset.h"

namespace {

const QString kUnitColumns = QStringLiteral(
    "u.cComUnitCode AS ccomunitcode, u.cComUnitName AS ccomunitname, g.cGroupName AS cgroupname, "
    "g.iGroupType AS igrouptype, CASE WHEN COALESCE(u.bMainUnit, 0) = 1 THEN '是' ELSE '否' END AS bmainunit, "
    "u.iChangRate AS ichangrate");
const QString kItemUnits = QStringLiteral("ComputationUnit u INNER JOIN ComputationGroup g ON u.cGroupCode = "
                                          "g.cGroupCode INNER JOIN Inventory i ON g.cGroupCode = i.cGroupCode");

ItemUnit unitAt(const Recordset &rows, int row)
{
    auto text = [&](const char *name) {
        return rows.value(row, rows.fieldIndex(QLatin1String(name)));
    };
    return {text("ccomunitcode").toString(), text("ccomunitname").toString(), text("igrouptype").toInt(),
            text("ichangrate").toDouble()};
}

} // namespace

Result<std::optional<ItemUnit>> UnitReference::find(const QString &item, const QString &value) const
{
    QString sql = QStringLiteral("SELECT ") + kUnitColumns + QStringLiteral(" FROM ") + kItemUnits
                  + QStringLiteral(" WHERE i.cInvCode = ?");
    QVariantList params{item};
    if (!value.isEmpty()) {
        sql += QStringLiteral(" AND (u.cComUnitCode = ? OR u.cComUnitName = ?)");
        params << value << value;
    }
    sql += QStringLiteral(" ORDER BY u.cComUnitCode LIMIT 1");
    auto rows = m_cnn.Query(sql, params);
    if (!rows)
        return fail(rows.error());
    if (rows->isEmpty())
        return std::optional<ItemUnit>();
    return std::optional<ItemUnit>(unitAt(*rows, 0));
}

std::optional<ItemUnit> UnitReference::pick(const QString &item, const QString &value) const
{
    const ArchiveList units{QStringLiteral("computationunit"), kItemUnits, kUnitColumns,
                            QStringLiteral("i.cInvCode = ?"),  {item},     QStringLiteral("u.cComUnitCode"),
                            QStringLiteral("u.cComUnitName"),  {},         QStringLiteral("ccomunitcode")};
    const auto chosen = units.pick(m_cnn, value);
    if (!chosen)
        return std::nullopt;
    return unitAt(*chosen, 0);
}

Result<std::optional<int>> UnitReference::groupTypeOf(const QString &unitCode) const
{
    auto type = m_cnn.Scalar(QStringLiteral("SELECT g.iGroupType FROM ComputationUnit u INNER JOIN ComputationGroup g "
                                            "ON u.cGroupCode = g.cGroupCode WHERE u.cComUnitCode = ?"),
                             {unitCode});
    if (!type)
        return fail(type.error());
    if (type->isNull() || !type->isValid())
        return std::optional<int>();
    return std::optional<int>(type->toInt());
}
