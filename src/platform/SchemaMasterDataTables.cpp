#include "SchemaColumns.h"

// The suite's master data that the samples refer to: items with their classes, units and unit
// groups, customers, vendors, departments, persons and warehouses. Codes are the keys the vouchers
// store; iId is the numeric identity the data-permission conditions name ("Customer.iId", "I.iId").
// Codes (the keys) and names are indexed: the reference lists search them by prefix and page by code.

using namespace SchemaColumns;

namespace {

TableDef inventoryClass()
{
    TableDef t;
    t.name = QStringLiteral("InventoryClass");
    t.columns = {key(QStringLiteral("cInvCCode"), 20), text(QStringLiteral("cInvCName"), 100),
                 smallint(QStringLiteral("iInvCGrade")), flag(QStringLiteral("bInvCEnd"))};
    t.primaryKey = {QStringLiteral("cInvCCode")};
    return t;
}

// Items. Attribute flags: bSale, bPurchase, bSelf (made in house), bComsume (used in production),
// bProxyForeign (outsourced), bService (a taxable service, never a component), bInvType (a discount
// line). iPlanPolicy 2 = planned by reorder point. bFree1..bFree10 say which free items the item
// uses. cComUnitCode is the main unit, cSAComUnitCode the sales unit, cGroupCode their unit group.
// dSDate/dEDate bound the item's validity; cinvdefine1..16 are user-defined texts.
TableDef inventory()
{
    TableDef t;
    t.name = QStringLiteral("Inventory");
    t.columns = {key(QStringLiteral("cInvCode"), 60),
                 text(QStringLiteral("cInvAddCode"), 60),
                 text(QStringLiteral("cInvName"), 255),
                 text(QStringLiteral("cInvStd"), 255),
                 text(QStringLiteral("cInvCCode"), 20),
                 integer(QStringLiteral("iId"), true),
                 text(QStringLiteral("cGroupCode"), 20),
                 text(QStringLiteral("cComUnitCode"), 20),
                 text(QStringLiteral("cSAComUnitCode"), 20),
                 text(QStringLiteral("cDefWareHouse"), 20),
                 real(QStringLiteral("iInvSPrice")),
                 flag(QStringLiteral("bSale")),
                 flag(QStringLiteral("bPurchase")),
                 flag(QStringLiteral("bSelf")),
                 flag(QStringLiteral("bComsume")),
                 flag(QStringLiteral("bProxyForeign")),
                 flag(QStringLiteral("bService")),
                 flag(QStringLiteral("bInvType")),
                 smallint(QStringLiteral("iPlanPolicy")),
                 date(QStringLiteral("dSDate")),
                 date(QStringLiteral("dEDate"))};
    t.columns << numberedFlags(QStringLiteral("bFree"), 1, 10) << numbered(QStringLiteral("cInvDefine"), 1, 16, 120);
    t.primaryKey = {QStringLiteral("cInvCode")};
    t.indexes = {index(QStringLiteral("ix_inventory_iid"), {QStringLiteral("iId")}, true),
                 index(QStringLiteral("ix_inventory_name"), {QStringLiteral("cInvName")}),
                 index(QStringLiteral("ix_inventory_class"), {QStringLiteral("cInvCCode")}),
                 searchIndex(QStringLiteral("ix_inventory_code_search"), {QStringLiteral("cInvCode")}),
                 searchIndex(QStringLiteral("ix_inventory_name_search"), {QStringLiteral("cInvName")})};
    return t;
}

// Unit groups. iGroupType: 0 no conversion, 1 fixed rates, 2 floating rates.
TableDef computationGroup()
{
    TableDef t;
    t.name = QStringLiteral("ComputationGroup");
    t.columns = {key(QStringLiteral("cGroupCode"), 20), text(QStringLiteral("cGroupName"), 60),
                 smallint(QStringLiteral("iGroupType"))};
    t.primaryKey = {QStringLiteral("cGroupCode")};
    return t;
}

// Units; iChangRate converts one unit into the group's main unit (bMainUnit = 1, rate 1).
TableDef computationUnit()
{
    TableDef t;
    t.name = QStringLiteral("ComputationUnit");
    t.columns = {key(QStringLiteral("cComUnitCode"), 20), text(QStringLiteral("cComUnitName"), 60),
                 text(QStringLiteral("cGroupCode"), 20),  flag(QStringLiteral("bMainUnit")),
                 real(QStringLiteral("iChangRate")),      integer(QStringLiteral("iNumber"))};
    t.primaryKey = {QStringLiteral("cComUnitCode")};
    t.indexes = {index(QStringLiteral("ix_computationunit_group"), {QStringLiteral("cGroupCode")})};
    return t;
}

TableDef customerClass()
{
    TableDef t;
    t.name = QStringLiteral("CustomerClass");
    t.columns = {key(QStringLiteral("cCCCode"), 20), text(QStringLiteral("cCCName"), 100),
                 smallint(QStringLiteral("iCCGrade")), flag(QStringLiteral("bCCEnd"))};
    t.primaryKey = {QStringLiteral("cCCCode")};
    return t;
}

TableDef customer()
{
    TableDef t;
    t.name = QStringLiteral("Customer");
    t.columns = {key(QStringLiteral("cCusCode"), 20),      text(QStringLiteral("cCusName"), 255),
                 text(QStringLiteral("cCusAbbName"), 100), integer(QStringLiteral("iId"), true),
                 text(QStringLiteral("cCCCode"), 20),      text(QStringLiteral("cCusAddress"), 255),
                 text(QStringLiteral("cCusPhone"), 60),    text(QStringLiteral("cCusPerson"), 60),
                 text(QStringLiteral("cCusDepart"), 20),   date(QStringLiteral("dEndDate"))};
    t.columns << numbered(QStringLiteral("cCusDefine"), 1, 16, 120);
    t.primaryKey = {QStringLiteral("cCusCode")};
    t.indexes = {index(QStringLiteral("ix_customer_iid"), {QStringLiteral("iId")}, true),
                 index(QStringLiteral("ix_customer_name"), {QStringLiteral("cCusName")}),
                 index(QStringLiteral("ix_customer_abbname"), {QStringLiteral("cCusAbbName")}),
                 searchIndex(QStringLiteral("ix_customer_code_search"), {QStringLiteral("cCusCode")}),
                 searchIndex(QStringLiteral("ix_customer_name_search"), {QStringLiteral("cCusName")}),
                 searchIndex(QStringLiteral("ix_customer_abbname_search"), {QStringLiteral("cCusAbbName")})};
    return t;
}

TableDef vendorClass()
{
    TableDef t;
    t.name = QStringLiteral("VendorClass");
    t.columns = {key(QStringLiteral("cVCCode"), 20), text(QStringLiteral("cVCName"), 100),
                 smallint(QStringLiteral("iVCGrade")), flag(QStringLiteral("bVCEnd"))};
    t.primaryKey = {QStringLiteral("cVCCode")};
    return t;
}

// Vendors; one whose dEndDate has passed is no longer offered in reference lists.
TableDef vendor()
{
    TableDef t;
    t.name = QStringLiteral("Vendor");
    t.columns = {key(QStringLiteral("cVenCode"), 20),      text(QStringLiteral("cVenName"), 255),
                 text(QStringLiteral("cVenAbbName"), 100), integer(QStringLiteral("iId"), true),
                 text(QStringLiteral("cVCCode"), 20),      text(QStringLiteral("cVenAddress"), 255),
                 text(QStringLiteral("cVenPhone"), 60),    text(QStringLiteral("cVenPerson"), 60),
                 date(QStringLiteral("dEndDate"))};
    t.primaryKey = {QStringLiteral("cVenCode")};
    t.indexes = {index(QStringLiteral("ix_vendor_iid"), {QStringLiteral("iId")}, true),
                 index(QStringLiteral("ix_vendor_name"), {QStringLiteral("cVenName")}),
                 index(QStringLiteral("ix_vendor_abbname"), {QStringLiteral("cVenAbbName")}),
                 searchIndex(QStringLiteral("ix_vendor_code_search"), {QStringLiteral("cVenCode")}),
                 searchIndex(QStringLiteral("ix_vendor_name_search"), {QStringLiteral("cVenName")}),
                 searchIndex(QStringLiteral("ix_vendor_abbname_search"), {QStringLiteral("cVenAbbName")})};
    return t;
}

// Departments form a tree by code; only leaves (bDepEnd = 1) are chosen on vouchers.
TableDef department()
{
    TableDef t;
    t.name = QStringLiteral("Department");
    t.columns
        = {key(QStringLiteral("cDepCode"), 20), text(QStringLiteral("cDepName"), 100), flag(QStringLiteral("bDepEnd")),
           smallint(QStringLiteral("iDepGrade")), text(QStringLiteral("cDepPerson"), 60)};
    t.primaryKey = {QStringLiteral("cDepCode")};
    t.indexes = {index(QStringLiteral("ix_department_name"), {QStringLiteral("cDepName")}),
                 searchIndex(QStringLiteral("ix_department_code_search"), {QStringLiteral("cDepCode")}),
                 searchIndex(QStringLiteral("ix_department_name_search"), {QStringLiteral("cDepName")})};
    return t;
}

TableDef person()
{
    TableDef t;
    t.name = QStringLiteral("Person");
    t.columns = {key(QStringLiteral("cPersonCode"), 20), text(QStringLiteral("cPersonName"), 60),
                 text(QStringLiteral("cDepCode"), 20), text(QStringLiteral("cPersonPhone"), 60)};
    t.primaryKey = {QStringLiteral("cPersonCode")};
    t.indexes = {index(QStringLiteral("ix_person_dep"), {QStringLiteral("cDepCode")}),
                 index(QStringLiteral("ix_person_name"), {QStringLiteral("cPersonName")}),
                 searchIndex(QStringLiteral("ix_person_code_search"), {QStringLiteral("cPersonCode")}),
                 searchIndex(QStringLiteral("ix_person_name_search"), {QStringLiteral("cPersonName")})};
    return t;
}

// Warehouses; iWhpROPERTY > 0 marks a shop-floor store, whose lines become WIP type 1 in a bill of
// materials.
TableDef warehouse()
{
    TableDef t;
    t.name = QStringLiteral("Warehouse");
    t.columns = {key(QStringLiteral("cWhCode"), 20),    text(QStringLiteral("cWhName"), 100),
                 text(QStringLiteral("cDepCode"), 20),  text(QStringLiteral("cWhAddress"), 255),
                 text(QStringLiteral("cWhPerson"), 60), smallint(QStringLiteral("iWhpROPERTY"))};
    t.primaryKey = {QStringLiteral("cWhCode")};
    t.indexes = {index(QStringLiteral("ix_warehouse_name"), {QStringLiteral("cWhName")}),
                 searchIndex(QStringLiteral("ix_warehouse_code_search"), {QStringLiteral("cWhCode")}),
                 searchIndex(QStringLiteral("ix_warehouse_name_search"), {QStringLiteral("cWhName")})};
    return t;
}

} // namespace

QList<TableDef> masterDataTables()
{
    return {inventoryClass(), inventory(), computationGroup(), computationUnit(), customerClass(), customer(),
            vendorClass(),    vendor(),    department(),       person(),          warehouse()};
}
