#include "DemoDataInternal.h"

// The item master of the demo company: a maker of pumps, valves and worm-gear reducers. Items come
// in series (a name with a list of models or sizes); each model is one item.

namespace {

struct Series
{
    DemoKind kind;
    const char *classCode;
    const char *name;
    QStringList models;
    const char *unit;
    const char *group;
    const char *warehouse;
    double priceLow;
    double priceHigh;
    int families;
    bool colour = false;
    bool material = false;
    bool reorderPoint = false; // planned by reorder point
    const char *brand = "";
    const char *auxUnit = "";
    double auxRate = 0;
};

const QStringList kPumpSizes
    = {QStringLiteral("ISG50"), QStringLiteral("ISG65"), QStringLiteral("ISG80"), QStringLiteral("ISG100"),
       QStringLiteral("IS50"),  QStringLiteral("IS65"),  QStringLiteral("IS80"),  QStringLiteral("IS100")};
const QStringList kValveSizes = {QStringLiteral("DN50"), QStringLiteral("DN65"), QStringLiteral("DN80"),
                                 QStringLiteral("DN100"), QStringLiteral("DN150")};
const QStringList kReducerSizes = {QStringLiteral("WPA60"), QStringLiteral("WPA80"), QStringLiteral("WPA100")};

QList<Series> catalogueSeries()
{
    using K = DemoKind;
    const int pumpReducer = Pump | Reducer;
    // One series a line: kind, class, name, models (cInvStd), unit, unit group, warehouse, price range,
    // families, colour, material, reorder point, brand, auxiliary unit and its rate.
    // clang-format off
    return {
        // Raw materials, in kilograms (group 02: fixed rates, the ton as auxiliary unit).
        {K::Raw, "0101", "冷轧钢板", {"SPCC 0.8×1250", "SPCC 1.0×1250", "SPCC 1.2×1250", "SPCC 1.5×1250", "SPCC 2.0×1250", "SPCC 2.5×1250", "SPCC 3.0×1250"}, "0201", "02", "01", 5.2, 6.8, AnyFamily, false, false, false, "", "0202", 1000},
        {K::Raw, "0101", "热轧钢板", {"Q235B δ4", "Q235B δ6", "Q235B δ8", "Q235B δ10", "Q235B δ12", "Q235B δ16", "Q235B δ20"}, "0201", "02", "01", 4.3, 5.2, AnyFamily, false, false, false, "", "0202", 1000},
        {K::Raw, "0101", "圆钢", {"45# Φ20", "45# Φ25", "45# Φ30", "45# Φ35", "45# Φ40", "45# Φ45", "45# Φ50", "45# Φ60", "45# Φ70", "45# Φ80"}, "0201", "02", "01", 4.8, 5.9, pumpReducer, false, false, false, "", "0202", 1000},
        {K::Raw, "0101", "不锈钢棒", {"304 Φ16", "304 Φ20", "304 Φ25", "304 Φ30", "304 Φ40", "304 Φ50"}, "0201", "02", "01", 16, 22, AnyFamily, false, false, false, "", "0202", 1000},
        {K::Raw, "0101", "不锈钢板", {"304 δ1.0", "304 δ1.5", "304 δ2.0", "304 δ3.0"}, "0201", "02", "01", 15, 19, AnyFamily, false, false, false, "", "0202", 1000},
        {K::Raw, "0102", "铝合金棒", {"6061-T6 Φ20", "6061-T6 Φ30", "6061-T6 Φ40", "6061-T6 Φ50"}, "0201", "02", "01", 22, 28, AnyFamily, false, false, false, "", "0202", 1000},
        {K::Raw, "0102", "黄铜棒", {"H62 Φ10", "H62 Φ16", "H62 Φ20", "H62 Φ25"}, "0201", "02", "01", 48, 56, Valve, false, false, false, "", "0202", 1000},
        {K::Raw, "0103", "泵体铸件毛坯", {"HT250 ISG50", "HT250 ISG65", "HT250 ISG80", "HT250 ISG100", "HT250 IS50", "HT250 IS65", "HT250 IS80", "HT250 IS100"}, "0201", "02", "01", 7.5, 9, Pump, false, false, false, "", "0202", 1000},
        {K::Raw, "0103", "阀体铸件毛坯", {"WCB DN50", "WCB DN65", "WCB DN80", "WCB DN100", "WCB DN150"}, "0201", "02", "01", 11, 14, Valve, false, false, false, "", "0202", 1000},
        {K::Raw, "0103", "齿轮锻件毛坯", {"40Cr m2", "40Cr m3", "40Cr m4"}, "0201", "02", "01", 9, 12, Reducer, false, false, false, "", "0202", 1000},
        // Purchased parts; small parts counted in pieces with boxes and cases as auxiliary units.
        {K::Purchased, "0201", "深沟球轴承", {"6203-2RS", "6204-2RS", "6205-2RS", "6206-2RS", "6207-2RS", "6208-2RS", "6305-ZZ", "6306-ZZ", "6307-ZZ", "6308-ZZ"}, "0401", "04", "02", 9, 48, pumpReducer, false, false, false, "哈轴", "0402", 10},
        {K::Purchased, "0201", "圆锥滚子轴承", {"30205", "30206", "30207", "30208"}, "0401", "04", "02", 28, 65, Reducer, false, false, false, "洛轴", "0402", 10},
        {K::Purchased, "0202", "六角头螺栓", {"GB/T 5782 M6×20", "GB/T 5782 M8×25", "GB/T 5782 M8×30", "GB/T 5782 M10×30", "GB/T 5782 M10×40", "GB/T 5782 M12×40", "GB/T 5782 M12×50", "GB/T 5782 M16×60"}, "0401", "04", "02", 0.15, 1.8, AnyFamily, false, false, true, "", "0403", 100},
        {K::Purchased, "0202", "六角螺母", {"GB/T 6170 M6", "GB/T 6170 M8", "GB/T 6170 M10", "GB/T 6170 M12", "GB/T 6170 M16"}, "0401", "04", "02", 0.05, 0.6, AnyFamily, false, false, true, "", "0403", 100},
        {K::Purchased, "0202", "平垫圈", {"GB/T 97.1 6", "GB/T 97.1 8", "GB/T 97.1 10", "GB/T 97.1 12", "GB/T 97.1 16"}, "0401", "04", "02", 0.02, 0.2, AnyFamily, false, false, true, "", "0403", 100},
        {K::Purchased, "0202", "弹簧垫圈", {"GB/T 93 6", "GB/T 93 8", "GB/T 93 10", "GB/T 93 12", "GB/T 93 16"}, "0401", "04", "02", 0.03, 0.25, AnyFamily, false, false, true, "", "0403", 100},
        {K::Purchased, "0203", "O型密封圈", {"NBR 20×2.4", "NBR 30×3.1", "NBR 45×3.1", "NBR 60×3.55", "NBR 80×3.55", "NBR 100×5.3"}, "0401", "04", "02", 0.5, 3.5, Pump | Valve, false, false, false, "恒封", "0402", 10},
        {K::Purchased, "0203", "机械密封", {"104-20", "104-25", "104-30", "104-35", "104-40"}, "0104", "01", "02", 85, 260, Pump, false, false, false, "恒封"},
        {K::Purchased, "0203", "骨架油封", {"TC 25×40×7", "TC 30×47×7", "TC 35×52×8", "TC 40×62×8"}, "0401", "04", "02", 2.5, 6, Reducer, false, false, false, "恒封", "0402", 10},
        {K::Purchased, "0204", "三相异步电动机", {"YE3-80M1-2 0.75kW", "YE3-80M2-2 1.1kW", "YE3-90S-2 1.5kW", "YE3-90L-2 2.2kW", "YE3-100L-2 3kW", "YE3-112M-2 4kW", "YE3-132S1-2 5.5kW", "YE3-132S2-2 7.5kW", "YE3-160M1-2 11kW", "YE3-160M2-2 15kW"}, "0103", "01", "02", 680, 4800, pumpReducer, false, false, false, "澄电"},
        {K::Purchased, "0205", "梅花联轴器", {"ML3", "ML4", "ML5", "ML6"}, "0104", "01", "02", 45, 160, Pump},
        {K::Purchased, "0205", "平键", {"GB/T 1096 6×6×20", "GB/T 1096 8×7×25", "GB/T 1096 10×8×30", "GB/T 1096 12×8×40"}, "0401", "04", "02", 0.3, 1.2, Reducer, false, false, true},
        {K::Purchased, "0206", "压力表", {"Y-100 0-1.6MPa", "Y-100 0-2.5MPa"}, "0105", "01", "02", 35, 48, Valve},
        // Auxiliary materials; paints come in colours.
        {K::Auxiliary, "03", "环氧富锌底漆", {"20kg/桶"}, "0201", "02", "01", 38, 38, AnyFamily, true},
        {K::Auxiliary, "03", "丙烯酸聚氨酯面漆", {"25kg/桶"}, "0201", "02", "01", 45, 45, AnyFamily, true},
        {K::Auxiliary, "03", "稀释剂", {"X-6 16kg/桶"}, "0201", "02", "01", 18, 18, AnyFamily},
        {K::Auxiliary, "03", "锂基润滑脂", {"2# 15kg/桶"}, "0201", "02", "01", 24, 24, pumpReducer},
        {K::Auxiliary, "03", "厌氧螺纹密封胶", {"243 50ml"}, "0106", "01", "01", 22, 22, AnyFamily},
        {K::Auxiliary, "03", "出口木箱", {"1200×800×900", "800×600×600"}, "0101", "01", "01", 180, 260, AnyFamily},
        {K::Auxiliary, "03", "不锈钢铭牌", {"80×50"}, "0101", "01", "01", 3.5, 3.5, AnyFamily},
        // Made parts and assemblies; impellers, pump and valve bodies come in materials.
        {K::Part, "0401", "叶轮", kPumpSizes, "0102", "01", "03", 60, 180, Pump, false, true},
        {K::Part, "0401", "泵体", kPumpSizes, "0102", "01", "03", 120, 420, Pump, false, true},
        {K::Part, "0401", "泵盖", kPumpSizes, "0102", "01", "03", 60, 160, Pump},
        {K::Part, "0401", "泵轴", kPumpSizes, "0102", "01", "03", 40, 120, Pump},
        {K::Part, "0401", "轴套", {"Φ25", "Φ30", "Φ35", "Φ40"}, "0102", "01", "03", 12, 30, Pump},
        {K::Part, "0401", "阀体", kValveSizes, "0102", "01", "03", 160, 620, Valve, false, true},
        {K::Part, "0401", "阀盖", kValveSizes, "0102", "01", "03", 90, 300, Valve},
        {K::Part, "0401", "阀杆", kValveSizes, "0102", "01", "03", 35, 110, Valve},
        {K::Part, "0401", "闸板", kValveSizes, "0102", "01", "03", 60, 240, Valve},
        {K::Part, "0401", "圆柱齿轮", {"m2 z20", "m2 z40", "m3 z25", "m3 z50"}, "0102", "01", "03", 45, 160, Reducer},
        {K::Part, "0401", "蜗杆", kReducerSizes, "0102", "01", "03", 80, 180, Reducer},
        {K::Part, "0401", "蜗轮", kReducerSizes, "0102", "01", "03", 120, 260, Reducer},
        {K::Assembly, "0402", "转子组件", kPumpSizes, "0104", "01", "03", 420, 1100, Pump},
        {K::Assembly, "0402", "泵体组件", kPumpSizes, "0104", "01", "03", 600, 1500, Pump},
        {K::Assembly, "0402", "电机座组件", {"YE3-90", "YE3-112", "YE3-132"}, "0104", "01", "03", 260, 520, Pump},
        {K::Assembly, "0402", "阀门执行组件", kValveSizes, "0104", "01", "03", 380, 980, Valve},
        {K::Assembly, "0402", "传动箱组件", kReducerSizes, "0104", "01", "03", 700, 1600, Reducer},
        // Finished products in the catalogue.
        {K::Product, "05", "立式管道离心泵", {"ISG50-160", "ISG65-160", "ISG80-160", "ISG100-200"}, "0103", "01", "04", 2800, 6800, Pump, true},
        {K::Product, "05", "单级单吸离心泵", {"IS50-32-125", "IS65-50-160", "IS80-65-160", "IS100-80-200"}, "0103", "01", "04", 2400, 6200, Pump, true},
        {K::Product, "05", "楔式闸阀", {"Z41H-16C DN50", "Z41H-16C DN65", "Z41H-16C DN80", "Z41H-16C DN100", "Z41H-16C DN150"}, "0103", "01", "04", 900, 3600, Valve, true},
        {K::Product, "05", "截止阀", {"J41H-16C DN50", "J41H-16C DN80", "J41H-16C DN100"}, "0103", "01", "04", 800, 2600, Valve, true},
        {K::Product, "05", "蜗轮蜗杆减速机", kReducerSizes, "0103", "01", "04", 1500, 3800, Reducer, true},
        // Services never go into a structure.
        {K::Service, "07", "运输费", {""}, "0101", "01", "", 0, 0, 0},
        {K::Service, "07", "安装调试费", {""}, "0101", "01", "", 0, 0, 0},
    };
    // clang-format on
}

// New products under development: the items the sample vouchers are made for.
struct NewSeries
{
    const char *name;
    const char *prefix; // type designation the models start with
    int family;
    QStringList models;
};

QList<NewSeries> newProductSeries()
{
    return {
        {"高效节能立式管道泵", "XGL", Pump, {"50-125", "65-160", "80-200", "100-250"}},
        {"不锈钢卫生级离心泵", "WSB", Pump, {"25", "32", "40"}},
        {"智能变频恒压供水泵", "ZBH", Pump, {"1.5kW", "2.2kW", "3.0kW", "4.0kW"}},
        {"化工流程泵", "HLB", Pump, {"40-25-160", "50-32-200", "65-40-250"}},
        {"低噪音屏蔽泵", "PBG", Pump, {"32-160", "40-200", "50-250"}},
        {"电动V型调节球阀", "VQ947F", Valve, {"DN50", "DN80", "DN100"}},
        {"防爆电动闸阀", "Z941H-25", Valve, {"DN100", "DN150"}},
        {"波纹管截止阀", "WJ41H-16", Valve, {"DN50", "DN80"}},
        {"紧凑型蜗轮减速电机", "JWR", Reducer, {"60", "80", "100"}},
        {"潜水排污泵", "WQ", Pump, {"25-10-1.1", "50-15-2.2", "80-20-4"}},
        {"自吸式消防泵", "ZXF", Pump, {"50-30", "80-40"}},
    };
}

QString codePrefix(DemoKind kind)
{
    switch (kind) {
    case DemoKind::Raw:
        return QStringLiteral("YL");
    case DemoKind::Purchased:
        return QStringLiteral("WG");
    case DemoKind::Auxiliary:
        return QStringLiteral("FL");
    case DemoKind::Part:
        return QStringLiteral("LJ");
    case DemoKind::Assembly:
        return QStringLiteral("BJ");
    case DemoKind::Product:
        return QStringLiteral("CP");
    case DemoKind::NewProduct:
        return QStringLiteral("XP");
    case DemoKind::Service:
        return QStringLiteral("FW");
    }
    return QStringLiteral("QT");
}

} // namespace

QList<DemoItem> demoItems(DemoRandom &random, int newProducts)
{
    QList<DemoItem> out;
    QHash<int, int> serial; // per kind
    auto add = [&](DemoItem item) {
        const int n = ++serial[int(item.kind)];
        item.code = codePrefix(item.kind) + QStringLiteral("%1").arg(n, 4, 10, QLatin1Char('0'));
        out << item;
    };
    for (const Series &s : catalogueSeries()) {
        for (const QString &model : s.models) {
            DemoItem item;
            item.kind = s.kind;
            item.name = QString::fromUtf8(s.name);
            item.model = model;
            item.classCode = QString::fromLatin1(s.classCode);
            item.unit = QString::fromLatin1(s.unit);
            item.group = QString::fromLatin1(s.group);
            item.warehouse = QString::fromLatin1(s.warehouse);
            item.price = random.amount(s.priceLow, s.priceHigh, s.priceHigh < 10 ? 3 : 2);
            item.families = s.families;
            item.colour = s.colour;
            item.material = s.material;
            item.reorderPoint = s.reorderPoint;
            item.brand = QString::fromUtf8(s.brand);
            item.auxUnit = QString::fromLatin1(s.auxUnit);
            item.auxRate = s.auxRate;
            add(item);
        }
    }
    // Enough new products for every top-level sample; later rounds are second-generation models.
    const QList<NewSeries> series = newProductSeries();
    for (int round = 0; newProducts > 0; ++round) {
        for (const NewSeries &s : series) {
            for (const QString &model : s.models) {
                if (newProducts-- <= 0)
                    break;
                DemoItem item;
                item.kind = DemoKind::NewProduct;
                item.name
                    = QString::fromUtf8(s.name) + (round > 0 ? QStringLiteral("(%1代)").arg(round + 1) : QString());
                item.model = QString::fromUtf8(s.prefix) + QLatin1Char('-') + model;
                item.classCode = QStringLiteral("06");
                item.unit = QStringLiteral("0103");
                item.group = QStringLiteral("01");
                item.warehouse = QStringLiteral("04");
                item.families = s.family;
                item.colour = s.family != Reducer;
                add(item);
            }
        }
    }
    // A steel sheet that is no longer bought: outside its validity, never used in a structure.
    DemoItem retired;
    retired.kind = DemoKind::Raw;
    retired.name = QStringLiteral("冷轧钢板");
    retired.model = QStringLiteral("SPCC 0.6×1000(停用)");
    retired.classCode = QStringLiteral("0101");
    retired.unit = QStringLiteral("0201");
    retired.group = QStringLiteral("02");
    retired.warehouse = QStringLiteral("01");
    retired.price = 5.6;
    retired.families = 0;
    retired.retired = true;
    add(retired);
    return out;
}
