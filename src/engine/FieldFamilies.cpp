#include "FieldFamilies.h"

#include <QHash>

namespace {

QString freeColumns(const QString &format)
{
    QStringList out;
    for (int k = 1; k <= 10; ++k)
        out << format.arg(k);
    return out.join(QStringLiteral(", "));
}

QString itemDefineColumns()
{
    QStringList out;
    for (int k = 1; k <= 16; ++k)
        out << QStringLiteral("COALESCE(i.cInvDefine%1, '') AS cinvdefine%1").arg(k);
    return out.join(QStringLiteral(", "));
}

QString customerDefineColumns()
{
    QStringList out;
    for (int k = 1; k <= 16; ++k)
        out << QStringLiteral("Customer.cCusDefine%1 AS ccusdefine%1").arg(k);
    return out.join(QStringLiteral(", "));
}

const QString kStaffMissing = QStringLiteral("职员档案不存在或者您没有该数据权限,请检查!");
const QString kItemMissing = QStringLiteral("存货档案不存在或者您没有该数据权限,请检查!");
// Neither a service nor a discount line can be a sample's item or component; a flag that was never
// set counts as not set.
const QString kGoods = QStringLiteral(" WHERE COALESCE(i.bService, 0) = 0 AND COALESCE(i.bInvType, 0) = 0");

} // namespace

FieldFamily fieldFamily(const QString &field)
{
    static const QHash<QString, FieldFamily> named = {
        {QStringLiteral("cdepcode"), FieldFamily::Department},
        {QStringLiteral("cdepname"), FieldFamily::Department},
        {QStringLiteral("cpersoncode"), FieldFamily::Person},
        {QStringLiteral("cpersonname"), FieldFamily::Person},
        {QStringLiteral("ccheckpersoncode"), FieldFamily::CheckingPerson},
        {QStringLiteral("ccheckpersonname"), FieldFamily::CheckingPerson},
        {QStringLiteral("cinvcode"), FieldFamily::Product},
        {QStringLiteral("cpscode"), FieldFamily::Product},
        {QStringLiteral("cpsname"), FieldFamily::Product},
        {QStringLiteral("cnewinvcode"), FieldFamily::NewProduct},
        {QStringLiteral("cnewinvname"), FieldFamily::NewProduct},
        {QStringLiteral("cvencode"), FieldFamily::Vendor},
        {QStringLiteral("cvenname"), FieldFamily::Vendor},
        {QStringLiteral("cvenabbname"), FieldFamily::Vendor},
        {QStringLiteral("ccuscode"), FieldFamily::Customer},
        {QStringLiteral("ccusname"), FieldFamily::Customer},
        {QStringLiteral("ccusabbname"), FieldFamily::Customer},
        {QStringLiteral("cwhcode"), FieldFamily::Warehouse},
        {QStringLiteral("cwhname"), FieldFamily::Warehouse},
    };
    const QString name = field.trimmed().toLower();
    if (const auto it = named.constFind(name); it != named.cend())
        return *it;
    if (name.startsWith(QLatin1String("cfree")))
        return FieldFamily::FreeItem;
    if (name.startsWith(QLatin1String("cdefine")))
        return FieldFamily::UserDefined;
    return FieldFamily::None;
}

const BaseCheckQuery *baseCheckQuery(FieldFamily family)
{
    static const QHash<FieldFamily, BaseCheckQuery> queries = {
        {FieldFamily::Department,
         {QStringLiteral("SELECT cDepCode AS cdepcode, cDepName AS cdepname FROM Department WHERE bDepEnd = 1"),
          {QStringLiteral("cDepCode"), QStringLiteral("cDepName")},
          QStringLiteral("部门档案不存在或者您没有该数据权限,请检查!")}},
        {FieldFamily::Person,
         {QStringLiteral("SELECT cPersonCode AS cpersoncode, cPersonName AS cpersonname FROM Person WHERE 1=1"),
          {QStringLiteral("cPersonCode"), QStringLiteral("cPersonName")},
          kStaffMissing}},
        {FieldFamily::CheckingPerson,
         {QStringLiteral("SELECT cPersonCode AS ccheckpersoncode, cPersonName AS ccheckpersonname FROM Person "
                         "WHERE 1=1"),
          {QStringLiteral("cPersonCode"), QStringLiteral("cPersonName")},
          kStaffMissing}},
        {FieldFamily::Product,
         {QStringLiteral("SELECT i.cInvCode AS cpscode, i.cInvName AS cpsname, i.cInvAddCode AS cinvaddcode, "
                         "i.cInvStd AS cpsinvstd, c.cComUnitCode AS cpscomunitcode, c.cComUnitName AS cpscomunitname, "
                         "c2.cComUnitCode AS ccaacomunitcode, c2.cComUnitName AS ccaacomunitname, "
                         "c2.iChangRate AS iprodchangrate, w.cWhCode AS cwhcode, w.cWhName AS cwhname, "
                         "i.iInvSPrice AS imaterialcharge, ")
              + freeColumns(QStringLiteral("i.bFree%1 AS bfree%1"))
              + QStringLiteral(" FROM Inventory i"
                               " LEFT OUTER JOIN ComputationUnit c ON i.cComUnitCode = c.cComUnitCode"
                               " LEFT OUTER JOIN ComputationUnit c2 ON i.cSAComUnitCode = c2.cComUnitCode"
                               " LEFT OUTER JOIN Warehouse w ON i.cDefWareHouse = w.cWhCode")
              + kGoods,
          {QStringLiteral("i.cInvCode"), QStringLiteral("i.cInvName")},
          kItemMissing}},
        {FieldFamily::NewProduct,
         {QStringLiteral("SELECT i.cInvCode AS cnewinvcode, i.cInvName AS cnewinvname, i.cInvAddCode AS cinvaddcode, "
                         "i.cInvStd AS cnewinvstd, c.cComUnitCode AS cnewinvcomunitcode, "
                         "c.cComUnitName AS cnewinvcomunitname, ")
              + itemDefineColumns() + QStringLiteral(", ") + freeColumns(QStringLiteral("'' AS cfree%1"))
              + QStringLiteral(" FROM Inventory i LEFT OUTER JOIN ComputationUnit c ON i.cComUnitCode = c.cComUnitCode")
              + kGoods
              // An item that already heads a product structure is developed no further.
              + QStringLiteral(" AND NOT EXISTS (SELECT 1 FROM ProductStructure p WHERE p.cPSPCode = i.cInvCode)"),
          {QStringLiteral("i.cInvCode"), QStringLiteral("i.cInvName")},
          QStringLiteral("存货档案不存在或者您没有该数据权限或者该存货已经存在产品结构,请检查!")}},
        {FieldFamily::Vendor,
         {QStringLiteral("SELECT cVenCode AS cvencode, cVenName AS cvenname, cVenAbbName AS cvenabbname FROM Vendor "
                         "WHERE 1=1"),
          {QStringLiteral("cVenCode"), QStringLiteral("cVenName"), QStringLiteral("cVenAbbName")},
          QStringLiteral("录入错误,请检查")}},
        {FieldFamily::Customer,
         {QStringLiteral("SELECT cCusCode AS ccuscode, cCusName AS ccusname, cCusAbbName AS ccusabbname, ")
              + customerDefineColumns() + QStringLiteral(" FROM Customer WHERE 1=1"),
          {QStringLiteral("cCusCode"), QStringLiteral("cCusName"), QStringLiteral("cCusAbbName")},
          QStringLiteral("客户档案不存在或者您没有该数据权限,请检查!")}},
        {FieldFamily::Warehouse,
         {QStringLiteral("SELECT cWhCode AS cwhcode, cWhName AS cwhname FROM Warehouse WHERE 1=1"),
          {QStringLiteral("cWhCode"), QStringLiteral("cWhName")},
          QStringLiteral("仓库不存在或者您没有该数据权限,请检查!")}},
    };
    const auto it = queries.constFind(family);
    return it == queries.cend() ? nullptr : &*it;
}

QString dataPermissionColumn(FieldFamily family)
{
    switch (family) {
    case FieldFamily::Department:
        return QStringLiteral("cdepcode");
    case FieldFamily::Person:
    case FieldFamily::CheckingPerson:
        return QStringLiteral("cpersoncode");
    case FieldFamily::Product:
    case FieldFamily::NewProduct:
        return QStringLiteral("i.iId");
    case FieldFamily::Vendor:
        return QStringLiteral("cvencode");
    case FieldFamily::Customer:
        return QStringLiteral("Customer.iId");
    case FieldFamily::Warehouse:
        return QStringLiteral("cwhcode");
    case FieldFamily::FreeItem:
    case FieldFamily::UserDefined:
    case FieldFamily::None:
        break;
    }
    return {};
}

const ReferenceListDef *referenceListDef(FieldFamily family)
{
    static const ReferenceListDef department{
        QStringLiteral("department"),
        QStringLiteral("Department"),
        QStringLiteral("*"),
        QStringLiteral("bDepEnd = 1"),
        0,
        QStringLiteral("cDepCode"),
        QStringLiteral("cDepName"),
        {},
        QStringLiteral("SELECT cDepCode, cDepName FROM Department WHERE bDepEnd = 0 ORDER BY cDepCode")};
    static const ReferenceListDef person{
        QStringLiteral("person"),
        QStringLiteral("Person"),
        QStringLiteral("*"),
        {},
        0,
        QStringLiteral("cPersonCode"),
        QStringLiteral("cPersonName"),
        {},
        QStringLiteral("SELECT cDepCode, cDepName FROM Department WHERE bDepEnd = 1 ORDER BY cDepCode")};
    // Vendors whose end date has passed are not offered.
    static const ReferenceListDef vendor{QStringLiteral("vendor"),
                                         QStringLiteral("Vendor"),
                                         QStringLiteral("*"),
                                         QStringLiteral("dEndDate IS NULL OR dEndDate >= ?"),
                                         1,
                                         QStringLiteral("cVenCode"),
                                         QStringLiteral("cVenName"),
                                         QStringLiteral("cVenAbbName"),
                                         QStringLiteral("SELECT * FROM VendorClass ORDER BY cVCCode")};
    // Items are offered while the login date lies in their validity; one without an end date always.
    static const ReferenceListDef inventory{
        QStringLiteral("inventory"),
        QStringLiteral("Inventory i"),
        QStringLiteral("i.*"),
        QStringLiteral("i.dEDate IS NULL OR ((i.dSDate IS NULL OR i.dSDate <= ?) AND i.dEDate >= ?)"),
        2,
        QStringLiteral("i.cInvCode"),
        QStringLiteral("i.cInvName"),
        {},
        QStringLiteral("SELECT * FROM InventoryClass ORDER BY cInvCCode")};
    // Customers and warehouses show their codes and names only.
    static const ReferenceListDef customer{QStringLiteral("customer"),
                                           QStringLiteral("Customer"),
                                           QStringLiteral("cCusCode, cCusName, cCusAbbName"),
                                           {},
                                           0,
                                           QStringLiteral("cCusCode"),
                                           QStringLiteral("cCusName"),
                                           QStringLiteral("cCusAbbName"),
                                           QStringLiteral("SELECT * FROM CustomerClass ORDER BY cCCCode")};
    static const ReferenceListDef warehouse{QStringLiteral("warehouse"),
                                            QStringLiteral("Warehouse"),
                                            QStringLiteral("cWhCode, cWhName"),
                                            {},
                                            0,
                                            QStringLiteral("cWhCode"),
                                            QStringLiteral("cWhName"),
                                            {},
                                            {}};
    switch (family) {
    case FieldFamily::Department:
        return &department;
    case FieldFamily::Person:
    case FieldFamily::CheckingPerson:
        return &person;
    case FieldFamily::Vendor:
        return &vendor;
    case FieldFamily::Product:
    case FieldFamily::NewProduct:
        return &inventory;
    case FieldFamily::Customer:
        return &customer;
    case FieldFamily::Warehouse:
        return &warehouse;
    default:
        return nullptr;
    }
}

QString referenceValueColumn(const QString &field)
{
    static const QHash<QString, QString> columns = {
        {QStringLiteral("cpscode"), QStringLiteral("cinvcode")},
        {QStringLiteral("cpsname"), QStringLiteral("cinvname")},
        {QStringLiteral("cnewinvcode"), QStringLiteral("cinvcode")},
        {QStringLiteral("cnewinvname"), QStringLiteral("cinvname")},
        {QStringLiteral("ccheckpersoncode"), QStringLiteral("cpersoncode")},
        {QStringLiteral("ccheckpersonname"), QStringLiteral("cpersonname")},
    };
    const QString name = field.trimmed().toLower();
    return columns.value(name, name);
}
