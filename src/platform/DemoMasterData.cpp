#include "BulkInsert.h"
#include "DemoDataInternal.h"

#include <utility>

// Master data of the demo company: units and unit groups, classes, warehouses, departments and
// persons, customers and vendors, the item master, and the names and values of the free and
// user-defined items the samples use.

namespace {

struct Rows
{
    const char *table;
    QStringList columns;
    QList<QVariantList> rows;
};

Result<void> write(Connection &cnn, const Rows &rows)
{
    BulkInsert insert(cnn, QString::fromLatin1(rows.table), rows.columns);
    for (const QVariantList &row : rows.rows) {
        auto r = insert.add(row);
        if (!r)
            return r;
    }
    return insert.finish();
}

Result<void> writeAll(Connection &cnn, const QList<Rows> &tables)
{
    for (const Rows &t : tables) {
        auto r = write(cnn, t);
        if (!r)
            return r;
    }
    return {};
}

QList<Rows> unitsAndClasses()
{
    // clang-format off
    return {
        {"ComputationGroup",
         {"cGroupCode", "cGroupName", "iGroupType"},
         {{"01", "无换算单位", 0}, {"02", "重量", 1}, {"03", "长度", 1}, {"04", "计件包装", 2}}},
        {"ComputationUnit",
         {"cComUnitCode", "cComUnitName", "cGroupCode", "bMainUnit", "iChangRate", "iNumber"},
         {{"0101", "个", "01", 1, 1.0, 1},    {"0102", "件", "01", 1, 1.0, 2},   {"0103", "台", "01", 1, 1.0, 3},
          {"0104", "套", "01", 1, 1.0, 4},    {"0105", "只", "01", 1, 1.0, 5},   {"0106", "支", "01", 1, 1.0, 6},
          {"0201", "千克", "02", 1, 1.0, 1},  {"0202", "吨", "02", 0, 1000.0, 2}, {"0203", "克", "02", 0, 0.001, 3},
          {"0301", "米", "03", 1, 1.0, 1},    {"0302", "毫米", "03", 0, 0.001, 2}, {"0303", "厘米", "03", 0, 0.01, 3},
          {"0401", "个", "04", 1, 1.0, 1},    {"0402", "盒", "04", 0, 10.0, 2},  {"0403", "箱", "04", 0, 100.0, 3}}},
        {"InventoryClass",
         {"cInvCCode", "cInvCName", "iInvCGrade", "bInvCEnd"},
         {{"01", "原材料", 1, 0},   {"0101", "钢材", 2, 1},     {"0102", "有色金属", 2, 1}, {"0103", "铸锻毛坯", 2, 1},
          {"02", "外购件", 1, 0},   {"0201", "轴承", 2, 1},     {"0202", "紧固件", 2, 1},   {"0203", "密封件", 2, 1},
          {"0204", "电机", 2, 1},   {"0205", "传动件", 2, 1},   {"0206", "仪表", 2, 1},     {"03", "辅助材料", 1, 1},
          {"04", "半成品", 1, 0},   {"0401", "自制零件", 2, 1}, {"0402", "部件", 2, 1},     {"05", "产成品", 1, 1},
          {"06", "新品开发", 1, 1}, {"07", "劳务", 1, 1}}},
        {"CustomerClass",
         {"cCCCode", "cCCName", "iCCGrade", "bCCEnd"},
         {{"01", "经销商", 1, 1}, {"02", "工程及终端用户", 1, 1}, {"03", "海外客户", 1, 1}}},
        {"VendorClass",
         {"cVCCode", "cVCName", "iVCGrade", "bVCEnd"},
         {{"01", "钢材及原材料", 1, 1}, {"02", "外购件", 1, 1}, {"03", "外协加工", 1, 1}}},
        {"Warehouse",
         {"cWhCode", "cWhName", "cDepCode", "cWhPerson", "iWhpROPERTY"},
         {{"01", "原材料库", "05", "胡军", 0},   {"02", "外购件库", "05", "郭亮", 0},
          {"03", "半成品库", "04", "何晓燕", 0}, {"04", "成品库", "04", "高峰", 0},
          {"05", "委外仓", "05", "胡军", 0},     {"06", "车间现场仓", "0402", "罗刚", 1}}},
        {"Department",
         {"cDepCode", "cDepName", "bDepEnd", "iDepGrade"},
         {{"01", "总经办", 1, 1},     {"02", "销售部", 0, 1},   {"0201", "国内销售部", 1, 2}, {"0202", "国际贸易部", 1, 2},
          {"03", "技术部", 0, 1},     {"0301", "研发一室", 1, 2}, {"0302", "研发二室", 1, 2}, {"0303", "工艺室", 1, 2},
          {"04", "生产部", 0, 1},     {"0401", "机加车间", 1, 2}, {"0402", "装配车间", 1, 2}, {"0403", "铸造车间", 1, 2},
          {"05", "采购部", 1, 1},     {"06", "质检部", 1, 1},   {"07", "财务部", 1, 1}}},
    };
    // clang-format on
}

const QStringList kPersonNames
    = {"张明", "李娜", "王建国", "刘洋", "陈静",   "杨帆", "赵磊", "黄丽", "周强", "吴芳", "徐涛", "孙伟",
       "马超", "朱敏", "胡军",   "郭亮", "何晓燕", "高峰", "林海", "罗刚", "郑雪", "梁斌", "宋佳", "谢文"};
const QStringList kPersonDepartments
    = {"01",   "0201", "0301", "0201", "0201", "0202", "0202", "0301", "0301", "0302", "0302", "0302",
       "0303", "0303", "05",   "05",   "0401", "0401", "0402", "0402", "0403", "06",   "06",   "07"};

QList<DemoPerson> persons()
{
    QList<DemoPerson> out;
    for (int i = 0; i < kPersonNames.size(); ++i)
        out << DemoPerson{QStringLiteral("%1").arg(i + 1, 4, 10, QLatin1Char('0')), kPersonNames.at(i),
                          kPersonDepartments.at(i)};
    return out;
}

const QStringList kCities
    = {"杭州", "苏州", "宁波", "温州", "无锡", "常州", "南京", "合肥", "上海", "济南", "青岛", "武汉",
       "长沙", "成都", "重庆", "天津", "郑州", "西安", "福州", "厦门", "广州", "东莞", "佛山", "昆明"};
const QStringList kCores
    = {"恒远", "华泰", "鑫达", "宏图", "金盛", "博源", "天成", "永信", "中澜", "瑞丰", "海川", "嘉禾",
       "东升", "汇通", "正阳", "联科", "同创", "德润", "新港", "泰和", "凯源", "华信", "长青", "明泰"};
const QStringList kCustomerTrades = {"水务集团有限公司", "泵业有限公司", "化工设备有限公司", "环保科技有限公司",
                                     "建设工程有限公司", "热电有限公司", "机电设备有限公司", "石化工程有限公司"};
const QStringList kSurnames = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周", "徐", "孙"};
const QStringList kGivenNames = {"伟", "芳", "敏", "静", "强", "磊", "军", "洋", "勇", "艳", "杰", "涛"};

Rows customers(DemoRandom &random, QStringList &codes)
{
    Rows t{"Customer",
           {"cCusCode", "cCusName", "cCusAbbName", "iId", "cCCCode", "cCusAddress", "cCusPhone", "cCusPerson",
            "cCusDepart", "cCusDefine1"},
           {}};
    for (int i = 0; i < kCities.size(); ++i) {
        const QString code = QStringLiteral("KH%1").arg(i + 1, 4, 10, QLatin1Char('0'));
        const QString core = kCores.at((i * 7) % kCores.size());
        const QString cls
            = i % 8 == 7 ? QStringLiteral("03") : (i % 3 == 0 ? QStringLiteral("01") : QStringLiteral("02"));
        codes << code;
        t.rows << QVariantList{
            code,
            kCities.at(i) + core + kCustomerTrades.at((i * 3) % kCustomerTrades.size()),
            kCities.at(i) + core,
            i + 1,
            cls,
            kCities.at(i) + QStringLiteral("市经济开发区%1路%2号").arg(core).arg(random.bounded(1, 300)),
            QStringLiteral("0%1-%2").arg(random.bounded(20, 99)).arg(random.bounded(60000000, 89999999)),
            random.pick(kSurnames) + random.pick(kGivenNames),
            i % 2 == 0 ? QStringLiteral("0201") : QStringLiteral("0202"),
            QStringList{"A", "B", "C"}.at(random.bounded(0, 2))};
    }
    return t;
}

Rows vendors(DemoRandom &random, QStringList &outsourcers)
{
    struct Trade
    {
        const char *cls, *suffix;
    };
    static const Trade trades[] = {{"01", "钢材贸易有限公司"}, {"01", "精密铸造有限公司"}, {"02", "轴承有限公司"},
                                   {"02", "密封件有限公司"},   {"02", "电机有限公司"},     {"02", "紧固件制造有限公司"},
                                   {"03", "热处理有限公司"},   {"03", "表面处理有限公司"}};
    Rows t{
        "Vendor",
        {"cVenCode", "cVenName", "cVenAbbName", "iId", "cVCCode", "cVenAddress", "cVenPhone", "cVenPerson", "dEndDate"},
        {}};
    for (int i = 0; i < 16; ++i) {
        const Trade &trade = trades[i % 8];
        const QString city = kCities.at((i * 5 + 3) % kCities.size());
        const QString core = kCores.at((i * 11 + 5) % kCores.size());
        const QString code = QStringLiteral("GY%1").arg(i + 1, 4, 10, QLatin1Char('0'));
        if (qstrcmp(trade.cls, "03") == 0)
            outsourcers << code;
        // One supplier was dropped last year: it stays in the archive but is no longer offered.
        const QVariant ended = i == 13 ? QVariant(QDate(2025, 6, 30)) : QVariant();
        t.rows << QVariantList{
            code,
            city + core + QString::fromUtf8(trade.suffix),
            city + core,
            i + 1,
            QString::fromLatin1(trade.cls),
            city + QStringLiteral("市工业园区%1号").arg(random.bounded(1, 200)),
            QStringLiteral("0%1-%2").arg(random.bounded(20, 99)).arg(random.bounded(50000000, 89999999)),
            random.pick(kSurnames) + random.pick(kGivenNames),
            ended};
    }
    return t;
}

Rows inventory(const QList<DemoItem> &items)
{
    Rows t{"Inventory",
           {"cInvCode",     "cInvAddCode",    "cInvName",      "cInvStd",    "cInvCCode",   "iId",       "cGroupCode",
            "cComUnitCode", "cSAComUnitCode", "cDefWareHouse", "iInvSPrice", "bSale",       "bPurchase", "bSelf",
            "bComsume",     "bProxyForeign",  "bService",      "bInvType",   "iPlanPolicy", "dSDate",    "dEDate",
            "bFree1",       "bFree2",         "cInvDefine1",   "cInvDefine2"},
           {}};
    int id = 0;
    for (const DemoItem &i : items) {
        const bool made = i.kind == DemoKind::Part || i.kind == DemoKind::Assembly || i.kind == DemoKind::Product
                          || i.kind == DemoKind::NewProduct;
        const bool bought = i.kind == DemoKind::Raw || i.kind == DemoKind::Purchased || i.kind == DemoKind::Auxiliary;
        const bool sold = i.kind == DemoKind::Product || i.kind == DemoKind::NewProduct || i.kind == DemoKind::Service;
        const bool component = bought || i.kind == DemoKind::Part || i.kind == DemoKind::Assembly;
        // Gates are cut by an outside shop: outsourced rather than made.
        const bool outsourced = i.name == QStringLiteral("闸板");
        t.rows << QVariantList{i.code,
                               made ? QVariant(QStringLiteral("CC-") + i.code) : QVariant(), // drawing number
                               i.name,
                               textOrNull(i.model),
                               i.classCode,
                               ++id,
                               i.group,
                               i.unit,
                               sold ? QVariant(i.unit) : QVariant(),
                               textOrNull(i.warehouse),
                               i.price,
                               sold ? 1 : 0,
                               bought ? 1 : 0,
                               made && !outsourced ? 1 : 0,
                               component ? 1 : 0,
                               outsourced ? 1 : 0,
                               i.kind == DemoKind::Service ? 1 : 0,
                               0,
                               i.reorderPoint ? 2 : 1,
                               QDate(2024, 1, 1),
                               i.retired ? QVariant(QDate(2025, 12, 31)) : QVariant(),
                               i.colour ? 1 : 0,
                               i.material ? 1 : 0,
                               textOrNull(i.brand),
                               bought ? QVariant(QStringLiteral("国产")) : QVariant()};
    }
    return t;
}

// Free item 1 is the colour, free item 2 the material; user-defined item 1 of the head is the sample
// grade, item 22 of the lines the process requirement.
QList<Rows> userDefinedItems(const DemoCatalogue &c)
{
    Rows defs{"UserDef", {"cID", "cClass", "cItem", "cItemName", "bArchive"}, {}};
    defs.rows << QVariantList{"01", "样品接单", "表头自定义项1", "样品等级", 1}
              << QVariantList{"22", "样品接单", "表体自定义项22", "工艺要求", 1};
    Rows values{"UserDefine", {"cID", "cValue", "cAlias", "iOrder"}, {}};
    auto addValues = [&values](const char *id, const QStringList &list, const QStringList &aliases) {
        for (int i = 0; i < list.size(); ++i)
            values.rows << QVariantList{QString::fromLatin1(id), list.at(i), aliases.value(i), i + 1};
    };
    addValues("20", c.colours, {"RAL5015", "RAL7035", "RAL3000", "RAL6018", "RAL9005"});
    addValues("21", c.materials, {"HT250", "QT450", "SS304", "SS316", "WCB"});
    addValues("01", c.grades, {"A", "B", "C"});
    addValues("22", c.crafts, {"JJG", "PT", "SX", "RCL"});
    return {defs, values};
}

} // namespace

QList<int> DemoCatalogue::pool(DemoKind kind, int familyMask) const
{
    QList<int> out;
    for (int i = 0; i < items.size(); ++i) {
        const DemoItem &item = items.at(i);
        if (item.kind == kind && !item.retired && (item.families & familyMask) != 0)
            out << i;
    }
    return out;
}

QList<DemoPerson> DemoCatalogue::personsOf(const QString &department) const
{
    QList<DemoPerson> out;
    for (const DemoPerson &p : persons) {
        if (p.department == department)
            out << p;
    }
    return out;
}

Result<DemoCatalogue> writeDemoMasterData(Connection &cnn, DemoRandom &random, const DemoDataOptions &options)
{
    DemoCatalogue c;
    c.items = demoItems(random, options.sampleCount);
    for (int i = 0; i < c.items.size(); ++i)
        c.indexOf.insert(c.items.at(i).code, i);
    c.persons = persons();
    c.colours = {"天蓝", "浅灰", "大红", "苹果绿", "黑色"};
    c.materials = {"灰铸铁HT250", "球墨铸铁QT450", "不锈钢304", "不锈钢316", "铸钢WCB"};
    c.grades = {"A级", "B级", "C级"};
    c.crafts = {"精加工", "喷涂", "酸洗钝化", "热处理"};

    QList<Rows> tables = unitsAndClasses();
    Rows people{"Person", {"cPersonCode", "cPersonName", "cDepCode", "cPersonPhone"}, {}};
    for (const DemoPerson &p : c.persons)
        people.rows << QVariantList{p.code, p.name, p.department,
                                    QStringLiteral("13%1").arg(random.bounded(100000000, 999999999))};
    tables << people << customers(random, c.customers) << vendors(random, c.outsourcers) << inventory(c.items)
           << userDefinedItems(c);
    auto written = writeAll(cnn, tables);
    if (!written)
        return fail(written.error());
    // The free items the items use get their names.
    for (const auto &[id, name] : {std::pair{"20", "颜色"}, std::pair{"21", "材质"}}) {
        auto named = cnn.Execute(QStringLiteral("UPDATE UserDef SET cItemName = ? WHERE cID = ?"),
                                 {QString::fromUtf8(name), QString::fromLatin1(id)});
        if (!named)
            return fail(named.error());
    }
    return c;
}
