#include "SchemaDefinition.h"

// The views the windows read: the card's head and body views and the list view of the sample
// voucher, and the bill-of-materials head and line views that a sample is fetched from. Every view
// names its derived columns in lower case, so both backends return the same names; NULL display
// names mean the code does not (or no longer) exist in the master data. The text is plain SQL that
// runs unchanged on SQLite and PostgreSQL.

namespace {

// "a.prefix1 AS prefix1, ..." for first..last; alias "" selects the bare column.
QString numbered(const QString &alias, const QString &prefix, int first, int last, const QString &as = QString())
{
    QStringList out;
    for (int i = first; i <= last; ++i) {
        const QString n = QString::number(i);
        const QString source = (alias.isEmpty() ? QString() : alias + QLatin1Char('.')) + prefix + n;
        out << source + QStringLiteral(" AS ") + (as.isEmpty() ? prefix.toLower() : as) + n;
    }
    return out.join(QStringLiteral(", "));
}

// Auxiliary quantity (in the auxiliary unit) and outsourcing cost of a line of alias s, as the card
// computes them; a blank or zero divisor counts as 1, a zero rate leaves the auxiliary quantity
// empty.
QString lineQuantity(const QString &s)
{
    return QStringLiteral("COALESCE(%1.iPSQuantity, 0) / COALESCE(NULLIF(%1.tdQtyD, 0), 1)").arg(s);
}

QString auxiliaryQuantity(const QString &s)
{
    return QStringLiteral("CASE WHEN COALESCE(%1.iProdChangRate, 0) = 0 THEN NULL ELSE %2 / %1.iProdChangRate END")
        .arg(s, lineQuantity(s));
}

QString outsourcingCost(const QString &s)
{
    return QStringLiteral("%1 * COALESCE(%2.iOutUnitPrice, 0)").arg(lineQuantity(s), s);
}

// Head view of the card: every head column plus the names the card shows and the identities the
// data-permission conditions name (CustomerIID, NewInvIID; -1 when the new item is not in the item
// master yet).
ViewDef headView()
{
    ViewDef v;
    v.name = QStringLiteral("v_managesample");
    v.select = QStringLiteral("SELECT m.*, "
                              "cus.cCusName AS ccusname, cus.cCusAbbName AS ccusabbname, cus.iId AS customeriid, "
                              "COALESCE(ni.iId, -1) AS newinviid, nu.cComUnitName AS cnewinvcomunitname, "
                              "ni.cInvAddCode AS cinvaddcode, "
                              "dep.cDepName AS cdepname, per.cPersonName AS cpersonname, "
                              "chk.cPersonName AS ccheckpersonname, "
                              "ven.cVenName AS cvenname, ven.cVenAbbName AS cvenabbname, "
                              "psi.cInvName AS cpspinvname, psi.cInvStd AS cpspinvstd, %1, %2 "
                              "FROM ManageSample m "
                              "LEFT JOIN Customer cus ON cus.cCusCode = m.cCusCode "
                              "LEFT JOIN Inventory ni ON ni.cInvCode = m.cNewInvCode "
                              "LEFT JOIN ComputationUnit nu ON nu.cComUnitCode = m.cnewinvcomunitcode "
                              "LEFT JOIN Department dep ON dep.cDepCode = m.cDepCode "
                              "LEFT JOIN Person per ON per.cPersonCode = m.cPersonCode "
                              "LEFT JOIN Person chk ON chk.cPersonCode = m.cCheckPersonCode "
                              "LEFT JOIN Vendor ven ON ven.cVenCode = m.cVenCode "
                              "LEFT JOIN Inventory psi ON psi.cInvCode = m.cpspinvcode")
                   .arg(numbered(QStringLiteral("ni"), QStringLiteral("cInvDefine"), 1, 16),
                        numbered(QStringLiteral("cus"), QStringLiteral("cCusDefine"), 1, 16));
    return v;
}

// Body view of the card: every line column plus the component's names, units, warehouse and
// department names, the derived auxiliary quantity and outsourcing cost, and InventoryIID for the
// item permission condition.
ViewDef bodyView()
{
    ViewDef v;
    v.name = QStringLiteral("v_managesamples");
    v.select = QStringLiteral("SELECT s.*, "
                              "inv.cInvName AS cpsname, inv.cInvStd AS cpsinvstd, inv.cInvAddCode AS cpsinvaddcode, "
                              "inv.cComUnitCode AS cpscomunitcode, pu.cComUnitName AS cpscomunitname, "
                              "au.cComUnitName AS ccaacomunitname, %1 AS icaaquantity, %2 AS ioutcost, "
                              "wh.cWhName AS cwhname, dep.cDepName AS cdepname, inv.iId AS inventoryiid, %3 "
                              "FROM ManageSamples s "
                              "LEFT JOIN Inventory inv ON inv.cInvCode = s.cPSCode "
                              "LEFT JOIN ComputationUnit pu ON pu.cComUnitCode = inv.cComUnitCode "
                              "LEFT JOIN ComputationUnit au ON au.cComUnitCode = s.cCAAComunitCode "
                              "LEFT JOIN Warehouse wh ON wh.cWhCode = s.cWhCode "
                              "LEFT JOIN Department dep ON dep.cDepCode = s.cDepCode")
                   .arg(auxiliaryQuantity(QStringLiteral("s")), outsourcingCost(QStringLiteral("s")),
                        numbered(QStringLiteral("inv"), QStringLiteral("cInvDefine"), 1, 16));
    return v;
}

// List view: one row per body line (a head without lines still gives one row). id and iautoid both
// hold the head identifier, ivtid the template. Line columns whose names a head column already
// uses are renamed: cpssocode, cpsdepcode, cpsdepname, cpspersonname, cpsfree1..10.
ViewDef listView()
{
    const QString head
        = QStringLiteral(
              "m.iAutoID AS id, m.iAutoID AS iautoid, m.vt_id AS ivtid, m.qvts AS qvts, m.cCode AS ccode, "
              "m.dDate AS ddate, m.csocode AS csocode, m.cNewInvCode AS cnewinvcode, m.cNewInvName AS cnewinvname, "
              "m.cnewinvstd AS cnewinvstd, m.cnewinvcomunitcode AS cnewinvcomunitcode, "
              "nu.cComUnitName AS cnewinvcomunitname, %1, "
              "m.cCusCode AS ccuscode, cus.cCusName AS ccusname, cus.cCusAbbName AS ccusabbname, "
              "m.cDepCode AS cdepcode, dep.cDepName AS cdepname, m.cPersonCode AS cpersoncode, "
              "per.cPersonName AS cpersonname, m.cpspinvcode AS cpspinvcode, m.cMemo AS cmemo, "
              "m.bExpand AS bexpand, m.iFinishExch AS ifinishexch, m.iManhrs AS imanhrs, m.iBZGZexch AS ibzgzexch, "
              "m.iPerCharge AS ipercharge, m.iBZFYexch AS ibzfyexch, m.iMakeCharge AS imakecharge, "
              "m.iTolMaterialCost AS itolmaterialcost, m.iTolOutCost AS itoloutcost, m.itolcost AS itolcost, "
              "m.isellexch AS isellexch, m.isellcost AS isellcost, m.iBOMAutoId AS ibomautoid, "
              "m.cMaker AS cmaker, m.cHandler AS chandler, m.dVeriDate AS dveridate, %2, %3, %4, "
              "cus.iId AS customeriid, COALESCE(ni.iId, -1) AS newinviid")
              .arg(numbered(QStringLiteral("m"), QStringLiteral("cfree"), 1, 10),
                   numbered(QStringLiteral("m"), QStringLiteral("cdefine"), 1, 16),
                   numbered(QStringLiteral("cus"), QStringLiteral("cCusDefine"), 1, 16),
                   numbered(QStringLiteral("ni"), QStringLiteral("cInvDefine"), 1, 16));
    const QString line
        = QStringLiteral(
              "s.iSubID AS isubid, s.cPSCode AS cpscode, inv.cInvName AS cpsname, inv.cInvStd AS cpsinvstd, "
              "inv.cComUnitCode AS cpscomunitcode, pu.cComUnitName AS cpscomunitname, s.csocode AS cpssocode, %1, "
              "s.iPSQuantity AS ipsquantity, s.tdQtyD AS tdqtyd, s.iWasteRate AS iwasterate, "
              "s.cWhCode AS cwhcode, wh.cWhName AS cwhname, s.cDepCode AS cpsdepcode, sd.cDepName AS cpsdepname, "
              "s.cPersonName AS cpspersonname, s.cCAAComunitCode AS ccaacomunitcode, "
              "au.cComUnitName AS ccaacomunitname, s.iProdChangRate AS iprodchangrate, %2 AS icaaquantity, "
              "s.iMaterialCharge AS imaterialcharge, s.iMaterialCost AS imaterialcost, "
              "s.iOutUnitPrice AS ioutunitprice, %3 AS ioutcost, s.ChildGUID AS childguid, %4, "
              "inv.iId AS inventoryiid")
              .arg(numbered(QStringLiteral("s"), QStringLiteral("cfree"), 1, 10, QStringLiteral("cpsfree")),
                   auxiliaryQuantity(QStringLiteral("s")), outsourcingCost(QStringLiteral("s")),
                   numbered(QStringLiteral("s"), QStringLiteral("cdefine"), 22, 37));
    ViewDef v;
    v.name = QStringLiteral("v_managesample_list");
    v.select = QStringLiteral("SELECT ") + head + QStringLiteral(", ") + line
               + QStringLiteral(" FROM ManageSample m "
                                "LEFT JOIN ManageSamples s ON s.iAutoID = m.iAutoID "
                                "LEFT JOIN Customer cus ON cus.cCusCode = m.cCusCode "
                                "LEFT JOIN Inventory ni ON ni.cInvCode = m.cNewInvCode "
                                "LEFT JOIN ComputationUnit nu ON nu.cComUnitCode = m.cnewinvcomunitcode "
                                "LEFT JOIN Department dep ON dep.cDepCode = m.cDepCode "
                                "LEFT JOIN Person per ON per.cPersonCode = m.cPersonCode "
                                "LEFT JOIN Inventory inv ON inv.cInvCode = s.cPSCode "
                                "LEFT JOIN ComputationUnit pu ON pu.cComUnitCode = inv.cComUnitCode "
                                "LEFT JOIN ComputationUnit au ON au.cComUnitCode = s.cCAAComunitCode "
                                "LEFT JOIN Warehouse wh ON wh.cWhCode = s.cWhCode "
                                "LEFT JOIN Department sd ON sd.cDepCode = s.cDepCode");
    return v;
}

// Bill-of-materials heads with the parent item's name, model (cinvstd) and unit and the department
// name.
ViewDef bomHeadView()
{
    ViewDef v;
    v.name = QStringLiteral("pp_q_bomtreet");
    v.select
        = QStringLiteral("SELECT ps.iAutoId AS iautoid, ps.cPSPCode AS cpspcode, inv.cInvName AS cinvname, "
                         "inv.cInvStd AS cinvstd, inv.cComUnitCode AS ccomunitcode, cu.cComUnitName AS ccomunitname, "
                         "ps.cDepCode AS cdepcode, dep.cDepName AS cdepname, ps.iFinishExch AS ifinishexch, "
                         "ps.bExpand AS bexpand, ps.cCheck AS ccheck, ps.cMemo AS cmemo, ps.csocode AS csocode, "
                         "ps.fbzgs AS fbzgs, ps.fbzgzl AS fbzgzl, ps.fbzrgcb AS fbzrgcb, ps.fbzfyl AS fbzfyl, "
                         "ps.fbzzfy AS fbzzfy, ps.fbzcb AS fbzcb, %1, %2 "
                         "FROM ProductStructure ps "
                         "LEFT JOIN Inventory inv ON inv.cInvCode = ps.cPSPCode "
                         "LEFT JOIN ComputationUnit cu ON cu.cComUnitCode = inv.cComUnitCode "
                         "LEFT JOIN Department dep ON dep.cDepCode = ps.cDepCode")
              .arg(numbered(QStringLiteral("ps"), QStringLiteral("cfree"), 1, 10),
                   numbered(QStringLiteral("ps"), QStringLiteral("cdefine"), 1, 16));
    return v;
}

// Bill-of-materials lines keyed by ipid, with component names, units, warehouse and using
// department (usedept), and the quantity per parent (unitqty). A structure's lines are one level,
// so layerid is 1.
ViewDef bomLineView()
{
    ViewDef v;
    v.name = QStringLiteral("sa_q_bomtreew");
    v.select
        = QStringLiteral("SELECT pss.AutoId AS autoid, pss.iPId AS ipid, 1 AS layerid, pss.cPSPCode AS cpspcode, "
                         "pss.cPSCode AS cpscode, inv.cInvName AS cinvname, inv.cInvStd AS cinvstd, "
                         "cu.cComUnitName AS ccomunitname, %1 AS unitqty, pss.iProdChangRate AS iprodchangrate, "
                         "pss.iPSQuantity AS ipsquantity, pss.tdQtyD AS tdqtyd, pss.iWasteRate AS iwasterate, "
                         "pss.cWhCode AS cwhcode, wh.cWhName AS cwhname, pss.cPersonName AS cpersonname, "
                         "pss.cDepCode AS cdepcode, dep.cDepName AS usedept, pss.cProcedureName AS cprocedurename, %2, "
                         "pss.cInsertFirst AS cinsertfirst, pss.cInsertSecond AS cinsertsecond, "
                         "pss.cInsertThird AS cinsertthird, pss.cCAAComunitCode AS ccaacomunitcode, "
                         "au.cComUnitName AS ccaacomunitname, pss.csocode AS csocode, pss.FVFlag AS fvflag, "
                         "pss.WIPType AS wiptype, pss.ReplaceFlag AS replaceflag, pss.fbzdj AS fbzdj, "
                         "pss.fbzwlcb AS fbzwlcb, pss.ChildGUID AS childguid, %3 "
                         "FROM ProductStructures pss "
                         "LEFT JOIN Inventory inv ON inv.cInvCode = pss.cPSCode "
                         "LEFT JOIN ComputationUnit cu ON cu.cComUnitCode = inv.cComUnitCode "
                         "LEFT JOIN ComputationUnit au ON au.cComUnitCode = pss.cCAAComunitCode "
                         "LEFT JOIN Warehouse wh ON wh.cWhCode = pss.cWhCode "
                         "LEFT JOIN Department dep ON dep.cDepCode = pss.cDepCode")
              .arg(lineQuantity(QStringLiteral("pss")), numbered(QStringLiteral("pss"), QStringLiteral("cfree"), 1, 10),
                   numbered(QStringLiteral("pss"), QStringLiteral("cdefine"), 22, 37));
    return v;
}

} // namespace

QList<ViewDef> schemaViews()
{
    return {headView(), bodyView(), listView(), bomHeadView(), bomLineView()};
}
