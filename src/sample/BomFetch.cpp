#include "BomFetch.h"

#include "platform/Connection.h"

namespace {

QString inventoryDefines()
{
    QStringList parts;
    for (int k = 1; k <= 16; ++k)
        parts << QStringLiteral("COALESCE(inv.cinvdefine%1, '') AS cinvdefine%1").arg(k);
    return parts.join(QStringLiteral(", "));
}

QString freeItems(const QString &alias)
{
    QStringList parts;
    for (int k = 1; k <= 10; ++k)
        parts << QStringLiteral("COALESCE(%1.cfree%2, '') AS cfree%2").arg(alias).arg(k);
    return parts.join(QStringLiteral(", "));
}

// How the structure and the permission meet: by the parent item's row in the item master.
QString permissionTerm(const QString &itemPermission)
{
    return itemPermission.trimmed().isEmpty() ? QString()
                                              : QStringLiteral(" AND (") + itemPermission + QLatin1Char(')');
}

} // namespace

namespace BomFetch {

ReferenceListRequest parentItemList(const QString &itemPermission)
{
    ReferenceListRequest request;
    request.kind = QStringLiteral("ProductStructure");
    request.table = QStringLiteral("ProductStructure ps JOIN Inventory i ON i.cInvCode = ps.cPSPCode "
                                   "LEFT JOIN Department d ON d.cDepCode = ps.cDepCode");
    request.columns = QStringLiteral("ps.iAutoId AS iautoid, ps.cPSPCode AS cpspcode, i.cInvName AS cinvname, "
                                     "i.cInvStd AS cinvstd, %1, ps.csocode AS csocode")
                          .arg(freeItems(QStringLiteral("ps")));
    request.codeColumn = QStringLiteral("ps.cPSPCode");
    request.nameColumn = QStringLiteral("i.cInvName");
    request.valueColumn = QStringLiteral("iautoid");
    if (!itemPermission.trimmed().isEmpty())
        request.conditions << itemPermission;
    return request;
}

Result<Recordset> parentHead(Connection &cnn, int bomId)
{
    return cnn.Query(QStringLiteral("SELECT v.cpspcode AS cpspinvcode, v.cinvname AS cpspinvname, "
                                    "v.cinvstd AS cpspinvstd, v.cdepcode, v.cdepname, v.ifinishexch, v.bexpand, "
                                    "v.ccheck, v.cmemo, v.iautoid AS ibomautoid, v.csocode, v.fbzgs AS imanhrs, "
                                    "v.fbzgzl AS ibzgzexch, v.fbzfyl AS ibzfyexch, %1 "
                                    "FROM pp_q_bomtreet v JOIN Inventory inv ON inv.cInvCode = v.cpspcode "
                                    "WHERE v.iautoid = ?")
                         .arg(freeItems(QStringLiteral("v"))),
                     {bomId});
}

Result<int> findTyped(Connection &cnn, const QString &text, const QString &version, const QString &itemPermission)
{
    QVariantList params{text, text};
    QString sql = QStringLiteral("SELECT MIN(ps.iAutoId) FROM ProductStructure ps "
                                 "JOIN Inventory i ON i.cInvCode = ps.cPSPCode "
                                 "WHERE (ps.cPSPCode = ? OR i.cInvName = ?)");
    if (!version.isEmpty()) {
        sql += QStringLiteral(" AND COALESCE(ps.csocode, '') = ?");
        params << version;
    }
    auto found = cnn.Scalar(sql + permissionTerm(itemPermission), params);
    if (!found)
        return fail(found.error());
    return found->isNull() ? 0 : found->toInt();
}

Result<Recordset> parentLines(Connection &cnn, int bomId)
{
    return cnn.Query(
        QStringLiteral(
            "SELECT 'A' AS editprop, w.layerid, w.cpspcode, w.cpscode AS cpscode, w.cinvname AS cpsname, "
            "w.cinvstd AS cpsinvstd, w.ccomunitname AS cpscomunitname, w.unitqty, w.iprodchangrate, w.ipsquantity, "
            "w.iwasterate, w.cwhname, w.cwhcode, w.cpersonname, w.usedept AS cdepname, w.cdepcode, "
            "w.cprocedurename, %1, w.cinsertfirst, w.cinsertsecond, w.cinsertthird, w.ccaacomunitcode, "
            "w.ccaacomunitname, w.ipid, w.csocode, w.fvflag, w.wiptype, w.replaceflag, w.tdqtyd, w.autoid, "
            "w.fbzdj AS imaterialcharge, %2, inv.cComUnitCode AS cpscomunitcode "
            "FROM sa_q_bomtreew w JOIN Inventory inv ON inv.cInvCode = w.cpscode "
            "WHERE w.ipid = ? ORDER BY w.autoid")
            .arg(freeItems(QStringLiteral("w")), inventoryDefines()),
        {bomId});
}

Result<Recordset> newSampleHead(Connection &cnn, int bomId)
{
    return cnn.Query(
        QStringLiteral(
            "SELECT ps.iAutoId AS ibomautoid, ps.cPSPCode AS cnewinvcode, inv.cInvName AS cnewinvname, "
            "inv.cInvStd AS cnewinvstd, cu.cComUnitCode AS cnewinvcomunitcode, cu.cComUnitName AS cnewinvcomunitname, "
            "ps.cDepCode AS cdepcode, dep.cDepName AS cdepname, ps.iFinishExch AS ifinishexch, ps.csocode, "
            "ps.bExpand AS bexpand, ps.cMemo AS cmemo, ps.fbzgs AS imanhrs, ps.fbzgzl AS ibzgzexch, "
            "ps.fbzfyl AS ibzfyexch, %1, %2 "
            "FROM ProductStructure ps JOIN Inventory inv ON inv.cInvCode = ps.cPSPCode "
            "LEFT JOIN Department dep ON dep.cDepCode = ps.cDepCode "
            "LEFT JOIN ComputationUnit cu ON cu.cComUnitCode = inv.cComUnitCode WHERE ps.iAutoId = ?")
            .arg(freeItems(QStringLiteral("ps")), inventoryDefines()),
        {bomId});
}

Result<Recordset> newSampleLines(Connection &cnn, int bomId)
{
    // The auxiliary quantity: a missing divisor or rate counts as 1, a zero divisor gives none
    // rather than a division by zero.
    return cnn.Query(
        QStringLiteral(
            "SELECT 'A' AS editprop, l.cPSCode AS cpscode, inv.cInvName AS cpsname, inv.cInvStd AS cpsinvstd, "
            "inv.cComUnitCode AS cpscomunitcode, cu.cComUnitName AS cpscomunitname, "
            "au.cComUnitCode AS ccaacomunitcode, au.cComUnitName AS ccaacomunitname, l.tdQtyD AS tdqtyd, "
            "l.iPSQuantity AS ipsquantity, l.iProdChangRate AS iprodchangrate, "
            "CASE WHEN COALESCE(l.tdQtyD, 1) = 0 THEN NULL ELSE COALESCE(l.iPSQuantity, 0) / COALESCE(l.tdQtyD, 1) "
            "* COALESCE(l.iProdChangRate, 1) END AS icaaquantity, "
            "l.iWasteRate AS iwasterate, l.cWhCode AS cwhcode, wh.cWhName AS cwhname, l.fbzdj AS imaterialcharge, "
            "l.csocode, %1, l.cPersonName AS cpersonname, l.cDepCode AS cdepcode, dep.cDepName AS cdepname, "
            "l.ChildGUID AS childguid, %2 "
            "FROM ProductStructures l JOIN Inventory inv ON inv.cInvCode = l.cPSCode "
            "LEFT JOIN ComputationUnit cu ON cu.cComUnitCode = inv.cComUnitCode "
            "LEFT JOIN ComputationUnit au ON au.cComUnitCode = l.cCAAComunitCode "
            "LEFT JOIN Warehouse wh ON wh.cWhCode = l.cWhCode "
            "LEFT JOIN Department dep ON dep.cDepCode = l.cDepCode WHERE l.iPId = ? ORDER BY l.AutoId")
            .arg(freeItems(QStringLiteral("l")), inventoryDefines()),
        {bomId});
}

ReferenceListRequest versionList(const QString &item)
{
    ReferenceListRequest request;
    request.kind = QStringLiteral("版本号");
    request.table
        = QStringLiteral("(SELECT DISTINCT COALESCE(csocode, '') AS csocode, cPSPCode FROM ProductStructure) v");
    request.columns = QStringLiteral("v.csocode AS csocode");
    request.where = QStringLiteral("v.csocode <> '' AND v.cPSPCode = ?");
    request.whereParams << item;
    request.codeColumn = QStringLiteral("v.csocode");
    request.valueColumn = QStringLiteral("csocode");
    return request;
}

} // namespace BomFetch
