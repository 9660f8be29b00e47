#include "SchemaSeed.h"

#include <QDate>

namespace {

const QString kCard = QStringLiteral("1801");

Result<void> run(Connection &cnn, const QString &sql, const QVariantList &params)
{
    auto done = cnn.Execute(sql, params);
    if (!done)
        return fail(done.error());
    return {};
}

// One field of the display template; fields marked print also go into the print template.
struct TemplateField
{
    const char *section; // "t" head, "b" body
    const char *field;
    const char *caption;
    const char *dataType; // text, number, date, flag
    bool required;
    bool editable;
    bool shown;
    bool print;
    const char *refKind;
};

// The card's fields in the order it shows them. Display-only names (ccusname, cwhname, ...) are not
// editable: they follow the codes.
// clang-format off
const TemplateField kFields[] = {
    {"t", "ccode", "单据号", "text", true, true, true, true, ""},
    {"t", "ddate", "单据日期", "date", true, true, true, true, ""},
    {"t", "cnewinvcode", "存货编码", "text", true, true, true, true, "inventory"},
    {"t", "cnewinvname", "存货名称", "text", true, true, true, true, "inventory"},
    {"t", "cnewinvstd", "规格型号", "text", false, true, true, true, ""},
    {"t", "cnewinvcomunitcode", "计量单位编码", "text", true, true, true, false, "unit"},
    {"t", "cnewinvcomunitname", "计量单位", "text", false, true, true, true, "unit"},
    {"t", "csocode", "版本号", "text", false, true, true, true, "version"},
    {"t", "cfree1", "自由项1", "text", false, true, true, true, "free"},
    {"t", "cfree2", "自由项2", "text", false, true, true, true, "free"},
    {"t", "ccuscode", "客户编码", "text", false, true, true, false, "customer"},
    {"t", "ccusabbname", "客户简称", "text", false, true, true, true, "customer"},
    {"t", "cdepcode", "部门编码", "text", false, true, true, false, "department"},
    {"t", "cdepname", "部门", "text", false, false, true, true, ""},
    {"t", "cpersoncode", "业务员编码", "text", false, true, true, false, "person"},
    {"t", "cpersonname", "业务员", "text", false, false, true, true, ""},
    {"t", "cpspinvcode", "参照母件编码", "text", false, true, true, false, "bom"},
    {"t", "cpspinvname", "参照母件名称", "text", false, true, true, false, "bom"},
    {"t", "cpspinvstd", "参照母件规格", "text", false, false, true, false, ""},
    {"t", "ibomautoid", "BOM标识", "number", false, false, true, false, ""},
    {"t", "bexpand", "是否展开", "flag", false, true, true, true, ""},
    {"t", "ifinishexch", "成品率", "number", false, true, true, true, ""},
    {"t", "imanhrs", "标准工时", "number", false, true, true, true, ""},
    {"t", "ibzgzexch", "标准工资率", "number", false, true, true, true, ""},
    {"t", "ipercharge", "标准人工成本", "number", false, true, true, true, ""},
    {"t", "ibzfyexch", "标准费用率", "number", false, true, true, true, ""},
    {"t", "imakecharge", "标准制造费用", "number", false, true, true, true, ""},
    {"t", "itolmaterialcost", "材料成本合计", "number", false, false, true, true, ""},
    {"t", "itoloutcost", "委外加工费", "number", false, true, true, true, ""},
    {"t", "itolcost", "总成本", "number", false, false, true, true, ""},
    {"t", "isellexch", "销售加成率%", "number", false, true, true, true, ""},
    {"t", "isellcost", "销售成本", "number", false, false, true, true, ""},
    {"t", "cdefine1", "样品等级", "text", false, true, true, true, "define"},
    {"t", "cmemo", "备注", "text", false, true, true, true, ""},
    {"t", "cmaker", "制单人", "text", false, false, true, true, ""},
    {"t", "chandler", "审核人", "text", false, false, true, true, ""},
    {"t", "dveridate", "审核日期", "date", false, false, true, true, ""},
    {"t", "iautoid", "单据标识", "number", false, false, false, false, ""},
    {"t", "vt_id", "模版号", "number", false, false, false, false, ""},
    {"t", "qvts", "时间戳", "text", false, false, false, false, ""},
    {"b", "cpscode", "子件编码", "text", true, true, true, true, "inventory"},
    {"b", "cpsname", "子件名称", "text", false, true, true, true, "inventory"},
    {"b", "cpsinvstd", "规格型号", "text", false, false, true, true, ""},
    {"b", "cpscomunitcode", "计量单位编码", "text", false, false, false, false, ""},
    {"b", "cpscomunitname", "计量单位", "text", false, false, true, true, ""},
    {"b", "csocode", "版本号", "text", false, true, true, true, "version"},
    {"b", "cfree1", "自由项1", "text", false, true, true, true, "free"},
    {"b", "cfree2", "自由项2", "text", false, true, true, true, "free"},
    {"b", "ipsquantity", "基本用量分子", "number", true, true, true, true, ""},
    {"b", "tdqtyd", "基本用量分母", "number", true, true, true, true, ""},
    {"b", "iwasterate", "损耗率%", "number", false, true, true, true, ""},
    {"b", "cwhcode", "仓库编码", "text", true, true, true, false, "warehouse"},
    {"b", "cwhname", "仓库", "text", false, true, true, true, "warehouse"},
    {"b", "cdepcode", "使用部门编码", "text", false, true, false, false, "department"},
    {"b", "cdepname", "使用部门", "text", false, true, true, false, "department"},
    {"b", "cpersonname", "使用人", "text", false, true, true, false, "person"},
    {"b", "ccaacomunitcode", "辅计量单位编码", "text", false, true, false, false, "unit"},
    {"b", "ccaacomunitname", "辅计量单位", "text", false, true, true, true, "unit"},
    {"b", "iprodchangrate", "换算率", "number", false, true, true, true, ""},
    {"b", "icaaquantity", "辅计量数量", "number", false, false, true, true, ""},
    {"b", "imaterialcharge", "材料单价", "number", false, true, true, true, ""},
    {"b", "imaterialcost", "材料成本", "number", false, true, true, true, ""},
    {"b", "ioutunitprice", "委外单价", "number", false, true, true, true, ""},
    {"b", "ioutcost", "委外成本", "number", false, false, true, true, ""},
    {"b", "cdefine22", "工艺要求", "text", false, true, true, false, "define"},
    {"b", "childguid", "下级样品标识", "number", false, false, false, false, ""},
    {"b", "isubid", "行标识", "number", false, false, false, false, ""},
    {"b", "iautoid", "单据标识", "number", false, false, false, false, ""},
};
// clang-format on

Result<void> insertTemplates(Connection &cnn)
{
    const QString templ
        = QStringLiteral("INSERT INTO vouchertemplates (VT_ID, VT_Name, VT_CardNumber, VT_TemplateMode, "
                         "VT_Title, VT_PrintSetting) VALUES (?, ?, ?, ?, ?, ?)");
    auto r = run(cnn, templ,
                 {SchemaSeed::kDisplayTemplateId, QStringLiteral("样品接单管理显示模版"), kCard, 0,
                  QStringLiteral("样品接单管理"), QVariant()});
    if (r)
        r = run(cnn, templ,
                {SchemaSeed::kPrintTemplateId, QStringLiteral("样品接单管理打印模版"), kCard, 1,
                 QStringLiteral("样品接单管理"), QStringLiteral("A4;landscape")});
    if (!r)
        return r;

    const QString item = QStringLiteral(
        "INSERT INTO voucheritems (VT_ID, CardSection, FieldName, CardItemNum, CardFormula1, CardFormula2, DataType, "
        "NumPoint, bIsNull, bCanModify, bShow, BuildArchives, RefKind, ColumnWidth) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    const QString printItem = QStringLiteral(
        "INSERT INTO voucheritems_prn (VT_ID, CardSection, fieldname, cardnum, CardItemNum, CardFormula1, maxlength, "
        "NumPoint, bShow, ColumnWidth) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    int order = 0;
    for (const TemplateField &f : kFields) {
        ++order;
        const bool number = qstrcmp(f.dataType, "number") == 0;
        const QVariant decimals = number ? QVariant(2) : QVariant();
        const QString caption = QString::fromUtf8(f.caption);
        r = run(cnn, item,
                {SchemaSeed::kDisplayTemplateId, QString::fromUtf8(f.section), QString::fromUtf8(f.field), order,
                 caption, caption, QString::fromUtf8(f.dataType), decimals, f.required ? 1 : 0, f.editable ? 1 : 0,
                 f.shown ? 1 : 0, 0, QString::fromUtf8(f.refKind), number ? 90 : 120});
        // The print template lays out every item; those marked print are shown. Widths count
        // characters.
        if (r && f.shown)
            r = run(cnn, printItem,
                    {SchemaSeed::kPrintTemplateId, QString::fromUtf8(f.section), QString::fromUtf8(f.field), kCard,
                     order, caption, number ? QVariant(17) : QVariant(), decimals, f.print ? 1 : 0, number ? 10 : 12});
        if (!r)
            return r;
    }
    return {};
}

Result<void> insertRegistration(Connection &cnn)
{
    auto r = run(cnn,
                 QStringLiteral("INSERT INTO vouchers (cardnumber, name, bttblname, bwtblname, btqname, bwqname, "
                                "vchlistqname, def_id, def_id_prn) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                 {kCard, QStringLiteral("样品接单管理"), QStringLiteral("ManageSample"),
                  QStringLiteral("ManageSamples"), QStringLiteral("v_managesample"), QStringLiteral("v_managesamples"),
                  QStringLiteral("v_managesample_list"), SchemaSeed::kDisplayTemplateId, SchemaSeed::kPrintTemplateId});
    if (!r)
        return r;
    return run(cnn,
               QStringLiteral("INSERT INTO ua_account (cAcc_Id, cAcc_Name, cUnitName, cUnitAbbName, dStartDate) "
                              "VALUES (?, ?, ?, ?, ?)"),
               {QString::fromLatin1(SchemaSeed::kAccountId), QStringLiteral("澄川精密演示账套"),
                QStringLiteral("江苏澄川精密机械有限公司"), QStringLiteral("澄川精密"), QDate(2026, 1, 1)});
}

// Option names are stored in lower case; readers compare lower(cName).
Result<void> insertOptions(Connection &cnn)
{
    struct Option
    {
        const char *system, *name, *caption, *type, *value, *fallback;
    };
    static const Option options[] = {
        {"SA", "domstartdate", "销售管理启用日期", "date", "2026-01-01", "1900-01-01"},
        {"AA", "iexchratedecdgt", "换算率小数位数", "int", "6", "2"},
        {"AA", "inumdecdgt", "件数小数位数", "int", "2", "2"},
        {"AA", "iratedecdgt", "税率小数位数", "int", "2", "2"},
        {"AA", "istrspridecdgt", "存货单价小数位数", "int", "4", "2"},
        {"AA", "istrsquandecdgt", "存货数量小数位数", "int", "2", "2"},
        {"AA", "ibillprice", "开票单价小数位数", "int", "2", "2"},
    };
    for (const Option &o : options) {
        auto r = run(cnn,
                     QStringLiteral("INSERT INTO AccInformation (cSysID, cName, cCaption, cType, cValue, cDefault) "
                                    "VALUES (?, ?, ?, ?, ?, ?)"),
                     {QString::fromUtf8(o.system), QString::fromUtf8(o.name), QString::fromUtf8(o.caption),
                      QString::fromUtf8(o.type), QString::fromUtf8(o.value), QString::fromUtf8(o.fallback)});
        if (!r)
            return r;
    }
    return {};
}

// "YP" + year and month of the voucher date + a four-digit serial per month: YP2026120001. Fully
// automatic: the number is not edited by hand and a clash fetches the next one.
Result<void> insertNumbering(Connection &cnn)
{
    const QString rule
        = QStringLiteral("<单据编号 重号自动重取=\"false\" 允许手工修改=\"false\" 流水号长度=\"4\" 起始值=\"1\">"
                         "<前缀 对象类型=\"5\" 对象名称=\"常量\" 源表字段名=\"\" 种子=\"YP\"/>"
                         "<前缀 对象类型=\"2\" 对象名称=\"单据日期\" 源表字段名=\"ddate\" 格式=\"yyyyMM\" 种子=\"\"/>"
                         "</单据编号>");
    return run(cnn, QStringLiteral("INSERT INTO VoucherNumberRule (CardNumber, RuleXml) VALUES (?, ?)"), {kCard, rule});
}

// The ten free items of items exist from the start, unnamed; an unnamed free item is not used.
Result<void> insertFreeItems(Connection &cnn)
{
    static const char *ids[] = {"20", "21", "28", "29", "30", "31", "32", "33", "34", "35"};
    for (int k = 0; k < 10; ++k) {
        auto r = run(
            cnn, QStringLiteral("INSERT INTO UserDef (cID, cClass, cItem, cItemName, iLength) VALUES (?, ?, ?, ?, ?)"),
            {QString::fromLatin1(ids[k]), QStringLiteral("存货"), QStringLiteral("自由项%1").arg(k + 1),
             QStringLiteral(""), 120});
        if (!r)
            return r;
    }
    return {};
}

Result<void> insertListSettings(Connection &cnn)
{
    struct Column
    {
        const char *field, *caption;
        bool sum;
        int width;
    };
    static const Column columns[] = {
        {"ccode", "单据号", false, 110},         {"ddate", "单据日期", false, 90},
        {"cnewinvcode", "存货编码", false, 100}, {"cnewinvname", "存货名称", false, 160},
        {"cnewinvstd", "规格型号", false, 110},  {"csocode", "版本号", false, 70},
        {"ccusabbname", "客户", false, 110},     {"cdepname", "部门", false, 90},
        {"cpscode", "子件编码", false, 100},     {"cpsname", "子件名称", false, 160},
        {"ipsquantity", "基本用量", true, 80},   {"imaterialcost", "材料成本", true, 90},
        {"itolcost", "总成本", false, 90},       {"isellcost", "销售成本", false, 90},
        {"cmaker", "制单人", false, 70},         {"chandler", "审核人", false, 70},
        {"dveridate", "审核日期", false, 90},
    };
    const QString busObject = QStringLiteral("样品接单管理_LM");
    int order = 0;
    for (const Column &c : columns) {
        auto r = run(
            cnn,
            QStringLiteral("INSERT INTO ListFormat (BusObID, cUserId, FieldName, ItemOrder, Caption, bShow, bSum, "
                           "ColumnWidth) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
            {busObject, QStringLiteral(""), QString::fromUtf8(c.field), ++order, QString::fromUtf8(c.caption), 1,
             c.sum ? 1 : 0, c.width});
        if (!r)
            return r;
    }

    struct Condition
    {
        const char *field, *caption, *type;
        bool range;
        const char *ref;
    };
    static const Condition conditions[] = {
        {"ccode", "单据号", "text", true, ""},
        {"ddate", "单据日期", "date", true, ""},
        {"cnewinvcode", "存货编码", "text", true, "inventory"},
        {"ccuscode", "客户编码", "text", false, "customer"},
        {"cdepcode", "部门编码", "text", false, "department"},
        {"cmaker", "制单人", "text", false, ""},
        {"chandler", "审核人", "text", false, ""},
    };
    order = 0;
    for (const Condition &c : conditions) {
        auto r = run(
            cnn,
            QStringLiteral("INSERT INTO FilterItems (ReportName, SubID, FieldName, ItemOrder, Caption, DataType, "
                           "bRange, RefKind) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
            {QStringLiteral("样品接单管理_过滤条件_1801"), QStringLiteral("SA"), QString::fromUtf8(c.field), ++order,
             QString::fromUtf8(c.caption), QString::fromUtf8(c.type), c.range ? 1 : 0, QString::fromUtf8(c.ref)});
        if (!r)
            return r;
    }
    return {};
}

} // namespace

Result<void> SchemaSeed::insert(Connection &cnn)
{
    for (auto step :
         {insertRegistration, insertTemplates, insertOptions, insertNumbering, insertFreeItems, insertListSettings}) {
        auto r = step(cnn);
        if (!r)
            return fail(QStringLiteral("写入初始数据失败：") + r.error());
    }
    return {};
}
