#include "SchemaColumns.h"

// Voucher meta-information, templates, accounting options, the account register, numbering rules,
// user-defined and free items, list and filter settings: the suite-wide tables that tell the
// windows how to read, show, number and print a voucher.

using namespace SchemaColumns;

namespace {

// One row per voucher type: its head and body tables, its card, body and list views and its default
// display and print templates.
TableDef vouchers()
{
    TableDef t;
    t.name = QStringLiteral("vouchers");
    t.columns = {key(QStringLiteral("cardnumber"), 30),     text(QStringLiteral("name"), 100),
                 text(QStringLiteral("bttblname"), 100),    text(QStringLiteral("bwtblname"), 100),
                 text(QStringLiteral("btqname"), 100),      text(QStringLiteral("bwqname"), 100),
                 text(QStringLiteral("vchlistqname"), 100), text(QStringLiteral("selfdef1"), 255),
                 text(QStringLiteral("selfdef2"), 255),     text(QStringLiteral("selfdef3"), 255),
                 integer(QStringLiteral("def_id")),         integer(QStringLiteral("def_id_prn"))};
    t.primaryKey = {QStringLiteral("cardnumber")};
    return t;
}

// Display (mode 0) and print (mode 1) templates. The printer settings the card stores for a
// template live in VT_PrintSetting.
TableDef voucherTemplates()
{
    TableDef t;
    t.name = QStringLiteral("vouchertemplates");
    t.columns = {integer(QStringLiteral("VT_ID"), true),    text(QStringLiteral("VT_Name"), 100),
                 text(QStringLiteral("VT_CardNumber"), 30), smallint(QStringLiteral("VT_TemplateMode")),
                 text(QStringLiteral("VT_Title"), 100),     text(QStringLiteral("VT_PrintSetting"))};
    t.primaryKey = {QStringLiteral("VT_ID")};
    t.indexes = {index(QStringLiteral("ix_vouchertemplates_card"),
                       {QStringLiteral("VT_CardNumber"), QStringLiteral("VT_TemplateMode")})};
    return t;
}

// The fields of a display template. CardSection is 't' for the head and 'b' for the body;
// CardFormula1 is the caption the card shows (and puts in place of a bracketed field name in a
// message), CardFormula2 a second caption; bIsNull = 1 marks a required item; DefineLength is
// "fixed,length" for user-defined items; BuildArchives lets a free item take a value that is not in
// its list.
TableDef voucherItems()
{
    TableDef t;
    t.name = QStringLiteral("voucheritems");
    t.columns = {integer(QStringLiteral("VT_ID"), true),
                 key(QStringLiteral("CardSection"), 1),
                 key(QStringLiteral("FieldName"), 60),
                 integer(QStringLiteral("CardItemNum")),
                 text(QStringLiteral("CardFormula1"), 100),
                 text(QStringLiteral("CardFormula2"), 100),
                 text(QStringLiteral("DataType"), 10),
                 smallint(QStringLiteral("NumPoint")),
                 integer(QStringLiteral("MaxLength")),
                 text(QStringLiteral("DefineLength"), 20),
                 flag(QStringLiteral("bIsNull")),
                 flag(QStringLiteral("bCanModify")),
                 flag(QStringLiteral("bShow")),
                 flag(QStringLiteral("BuildArchives")),
                 text(QStringLiteral("RefKind"), 40),
                 integer(QStringLiteral("DataSource")),
                 text(QStringLiteral("DataRule"), 255),
                 integer(QStringLiteral("ColumnWidth"))};
    t.primaryKey = {QStringLiteral("VT_ID"), QStringLiteral("CardSection"), QStringLiteral("FieldName")};
    return t;
}

// The fields of a print template; the card rewrites maxlength and NumPoint from the decimal options.
TableDef voucherItemsPrn()
{
    TableDef t;
    t.name = QStringLiteral("voucheritems_prn");
    t.columns = {integer(QStringLiteral("VT_ID"), true), key(QStringLiteral("CardSection"), 1),
                 key(QStringLiteral("fieldname"), 60),   text(QStringLiteral("cardnum"), 30),
                 integer(QStringLiteral("CardItemNum")), text(QStringLiteral("CardFormula1"), 100),
                 integer(QStringLiteral("maxlength")),   smallint(QStringLiteral("NumPoint")),
                 flag(QStringLiteral("bShow")),          integer(QStringLiteral("ColumnWidth"))};
    t.primaryKey = {QStringLiteral("VT_ID"), QStringLiteral("CardSection"), QStringLiteral("fieldname")};
    t.indexes = {index(QStringLiteral("ix_voucheritems_prn_card"), {QStringLiteral("cardnum")})};
    return t;
}

// Accounting options by system and name; the value is cValue, or cDefault when cValue is NULL.
// Names are stored in lower case.
TableDef accInformation()
{
    TableDef t;
    t.name = QStringLiteral("AccInformation");
    t.columns = {key(QStringLiteral("cSysID"), 10),     key(QStringLiteral("cName"), 60),
                 text(QStringLiteral("cCaption"), 100), text(QStringLiteral("cType"), 20),
                 text(QStringLiteral("cValue"), 255),   text(QStringLiteral("cDefault"), 255)};
    t.primaryKey = {QStringLiteral("cSysID"), QStringLiteral("cName")};
    return t;
}

// The account register of the suite: which company an account belongs to.
TableDef account()
{
    TableDef t;
    t.name = QStringLiteral("ua_account");
    t.columns = {key(QStringLiteral("cAcc_Id"), 10), text(QStringLiteral("cAcc_Name"), 100),
                 text(QStringLiteral("cUnitName"), 255), text(QStringLiteral("cUnitAbbName"), 100),
                 date(QStringLiteral("dStartDate"))};
    t.primaryKey = {QStringLiteral("cAcc_Id")};
    return t;
}

// The list's print format by module key ("1801_0_Print_").
TableDef printFormat()
{
    TableDef t;
    t.name = QStringLiteral("prn_format");
    t.columns = {key(QStringLiteral("moduleid"), 100), text(QStringLiteral("formatxml"))};
    t.primaryKey = {QStringLiteral("moduleid")};
    return t;
}

// The numbering rule of a voucher type as the XML text the numbering service hands out.
TableDef numberRule()
{
    TableDef t;
    t.name = QStringLiteral("VoucherNumberRule");
    t.columns = {key(QStringLiteral("CardNumber"), 30), text(QStringLiteral("RuleXml"))};
    t.primaryKey = {QStringLiteral("CardNumber")};
    return t;
}

// The last serial number taken per voucher type and composed prefix ("YP202612"); taken inside the
// save transaction, so a rolled-back save gives its number back.
TableDef numberSeed()
{
    TableDef t;
    t.name = QStringLiteral("VoucherNumberSeed");
    t.columns = {key(QStringLiteral("CardNumber"), 30), key(QStringLiteral("SeedText"), 100),
                 integer(QStringLiteral("MaxNumber"), true)};
    t.primaryKey = {QStringLiteral("CardNumber"), QStringLiteral("SeedText")};
    return t;
}

// Names of the free items (cClass '存货', cItem '自由项1' ..) and user-defined items. cID is the
// two-digit identifier under which UserDefine keeps the item's values.
TableDef userDef()
{
    TableDef t;
    t.name = QStringLiteral("UserDef");
    t.columns = {key(QStringLiteral("cID"), 10),       text(QStringLiteral("cClass"), 20),
                 text(QStringLiteral("cItem"), 40),    text(QStringLiteral("cItemName"), 60),
                 flag(QStringLiteral("bFixedLength")), integer(QStringLiteral("iLength")),
                 flag(QStringLiteral("bArchive"))};
    t.primaryKey = {QStringLiteral("cID")};
    t.indexes = {index(QStringLiteral("ix_userdef_item"), {QStringLiteral("cClass"), QStringLiteral("cItem")})};
    return t;
}

// The values a free or user-defined item may take, with an alias (short code).
TableDef userDefine()
{
    TableDef t;
    t.name = QStringLiteral("UserDefine");
    t.columns = {key(QStringLiteral("cID"), 10), key(QStringLiteral("cValue"), 120),
                 text(QStringLiteral("cAlias"), 120), integer(QStringLiteral("iOrder"))};
    t.primaryKey = {QStringLiteral("cID"), QStringLiteral("cValue")};
    // Typed values are matched on the alias as well as on the value.
    t.indexes = {
        index(QStringLiteral("ix_userdefine_alias"), {QStringLiteral("cID"), QStringLiteral("cAlias")}),
        searchIndex(QStringLiteral("ix_userdefine_value_search"), {QStringLiteral("cID"), QStringLiteral("cValue")}),
        searchIndex(QStringLiteral("ix_userdefine_alias_search"), {QStringLiteral("cID"), QStringLiteral("cAlias")})};
    return t;
}

// The columns of a list per business object ("样品接单管理_LM"); an empty cUserId is the default for
// every user, a user's own rows replace it. bSum marks the columns of the totals row.
TableDef listFormat()
{
    TableDef t;
    t.name = QStringLiteral("ListFormat");
    t.columns = {key(QStringLiteral("BusObID"), 100),
                 column(QStringLiteral("cUserId"), ColumnType::Text, 20, true, QStringLiteral("''")),
                 key(QStringLiteral("FieldName"), 60),
                 integer(QStringLiteral("ItemOrder")),
                 text(QStringLiteral("Caption"), 100),
                 flag(QStringLiteral("bShow")),
                 flag(QStringLiteral("bSum")),
                 integer(QStringLiteral("ColumnWidth")),
                 text(QStringLiteral("cFormat"), 40)};
    t.primaryKey = {QStringLiteral("BusObID"), QStringLiteral("cUserId"), QStringLiteral("FieldName")};
    return t;
}

// The conditions a filter dialog offers per report name and sub-identifier. DataType is 'text',
// 'number' or 'date'; bRange asks for a from/to pair; RefKind names the reference list, if any.
TableDef filterItems()
{
    TableDef t;
    t.name = QStringLiteral("FilterItems");
    t.columns = {key(QStringLiteral("ReportName"), 100), key(QStringLiteral("SubID"), 10),
                 key(QStringLiteral("FieldName"), 60),   integer(QStringLiteral("ItemOrder")),
                 text(QStringLiteral("Caption"), 100),   text(QStringLiteral("DataType"), 10),
                 flag(QStringLiteral("bRange")),         text(QStringLiteral("RefKind"), 40)};
    t.primaryKey = {QStringLiteral("ReportName"), QStringLiteral("SubID"), QStringLiteral("FieldName")};
    return t;
}

// The filter a user last applied per report name and sub-identifier: one row per condition, in the
// order the user gave them. Operator is the filter's own operator code ("=", "like%", ...).
TableDef filterValues()
{
    TableDef t;
    t.name = QStringLiteral("FilterValues");
    t.columns = {key(QStringLiteral("ReportName"), 100), key(QStringLiteral("SubID"), 10),
                 key(QStringLiteral("cUserId"), 20),     integer(QStringLiteral("ItemOrder"), true),
                 key(QStringLiteral("FieldName"), 60),   key(QStringLiteral("Operator"), 10),
                 text(QStringLiteral("Value1"), 255),    text(QStringLiteral("Value2"), 255)};
    t.primaryKey = {QStringLiteral("ReportName"), QStringLiteral("SubID"), QStringLiteral("cUserId"),
                    QStringLiteral("ItemOrder")};
    return t;
}

} // namespace

QList<TableDef> systemTables()
{
    return {vouchers(),   voucherTemplates(), voucherItems(), voucherItemsPrn(), accInformation(),
            account(),    printFormat(),      numberRule(),   numberSeed(),      userDef(),
            userDefine(), listFormat(),       filterItems(),  filterValues()};
}
