#include "BulkInsert.h"
#include "DemoDataInternal.h"
#include "SchemaSeed.h"

#include <QMap>

#include <algorithm>

// The demo sample vouchers. Each top-level sample develops one new product from assemblies, parts,
// purchased parts and auxiliary materials of the product's family. An assembly or part line may be
// developed as a child sample (empty voucher number, its own version), and an assembly's child may
// have grandchildren for its parts, so structures nest three levels (the first one four). Costs are rolled up from
// the leaves the way the card's cost fetch does, so fetching again moves them by cents at most.

namespace {

struct Line
{
    int item = 0;
    QString free1;
    QString free2;
    double quantity = 1;
    double divisor = 1;
    double waste = 0;
    double outPrice = 0;
    QString warehouse;
    QString department;
    QString person;
    QString craft;
    int child = -1;
    double charge = 0;
    double cost = 0;
};

struct Head
{
    int id = 0;
    int level = 0;
    QString code; // empty for child samples
    QDate date;
    int item = 0;
    QString version;
    QString free1;
    QString free2;
    QString customer, department, person, checker, vendor, reference, memo, grade, maker, handler;
    QDate verified;
    int expand = 1;
    double finish = 1;
    double hours = 0, wageRate = 0, overheadRate = 0;
    QList<Line> lines;
    bool costed = false;
    double material = 0, outsourcing = 0, labour = 0, overhead = 0, total = 0, markup = 0, sell = 0;
};

const QStringList kMemos = {QStringLiteral("客户要求样品十五天内完成"), QStringLiteral("出口型，铭牌用英文"),
                            QStringLiteral("首批小批量试制"),           QStringLiteral("需提供材质证明"),
                            QStringLiteral("噪音指标不高于65dB(A)"),    QStringLiteral("按客户图纸修改法兰尺寸")};

class SampleBuilder
{
public:
    SampleBuilder(DemoRandom &random, const DemoCatalogue &c, const DemoBoms &boms)
        : m_random(random)
        , m_c(c)
        , m_boms(boms)
    {}

    void build(const DemoDataOptions &o);
    Result<void> write(Connection &cnn);
    const QList<Head> &heads() const { return m_heads; }
    // Top-level samples per voucher-number prefix ("YP202612") → highest serial used.
    const QMap<QString, int> &serials() const { return m_serials; }

private:
    int addHead(int item, int level, const Head *parent);
    void addLine(int head, int item, bool child, bool forceGrandchild);
    void fillTopLevel(int head, bool forceChild, bool forceGrandchild);
    void fillChild(int head, bool forceGrandchild);
    double unitCost(int head);
    void addStoredLoop();
    void deepenFirstStructure();
    Result<void> convert(Connection &cnn, const Head &h);

    DemoRandom &m_random;
    const DemoCatalogue &m_c;
    const DemoBoms &m_boms;
    QList<Head> m_heads;
    QHash<int, int> m_versions; // item → child samples made for it
    QMap<QString, int> m_serials;
};

int SampleBuilder::addHead(int item, int level, const Head *parent)
{
    Head h;
    h.id = int(m_heads.size()) + 1;
    h.level = level;
    h.item = item;
    h.hours = level == 0 ? m_random.amount(4, 30, 1) : m_random.amount(1, 8, 1);
    h.wageRate = m_random.amount(28, 45, 1);
    h.overheadRate = m_random.amount(12, 25, 1);
    h.finish = m_random.chance(80) ? 1.0 : 0.98;
    if (parent) {
        h.date = parent->date;
        h.customer = parent->customer;
        h.department = parent->department;
        h.person = parent->person;
        h.maker = parent->maker;
        h.handler = parent->handler;
        h.verified = parent->verified;
        h.expand = m_random.bounded(0, 1);
    }
    m_heads << h;
    return int(m_heads.size()) - 1;
}

void SampleBuilder::addLine(int head, int item, bool child, bool forceGrandchild)
{
    const DemoItem &it = m_c.items.at(item);
    Line l;
    l.item = item;
    l.warehouse = it.warehouse;
    switch (it.kind) {
    case DemoKind::Raw:
        l.quantity = m_random.amount(0.8, 25, 2);
        l.waste = m_random.bounded(2, 5);
        break;
    case DemoKind::Purchased:
        l.quantity = it.reorderPoint ? m_random.bounded(4, 16) : m_random.bounded(1, 4);
        l.waste = m_random.chance(30) ? 1 : 0;
        if (it.reorderPoint && m_random.chance(40))
            l.warehouse = QStringLiteral("06"); // fasteners are drawn from the shop-floor store
        break;
    case DemoKind::Auxiliary:
        l.divisor = it.unit == QStringLiteral("0201") ? m_random.bounded(2, 5) : 1; // kilograms of paint per unit
        l.waste = it.unit == QStringLiteral("0201") ? 5 : 0;
        break;
    default:
        l.quantity = m_random.chance(80) ? 1 : 2;
        if (it.kind == DemoKind::Part && m_random.chance(20))
            l.outPrice = m_random.amount(3, 25, 2); // heat treatment or plating done outside
        break;
    }
    l.department = m_heads.at(head).level == 0 ? QStringLiteral("0402") : QStringLiteral("0401");
    if (m_random.chance(40))
        l.person = m_random.pick(m_c.personsOf(l.department)).name;
    if (m_random.chance(30))
        l.craft = m_random.pick(m_c.crafts);
    if (it.colour)
        l.free1 = m_random.pick(m_c.colours);
    if (it.material)
        l.free2 = m_random.pick(m_c.materials);
    if (child) {
        const int c = addHead(item, m_heads.at(head).level + 1, &m_heads.at(head));
        m_heads[c].version = QStringLiteral("V%1.0").arg(++m_versions[item]);
        m_heads[c].free1 = l.free1;
        m_heads[c].free2 = l.free2;
        fillChild(c, forceGrandchild);
        l.child = c;
    }
    m_heads[head].lines << l;
}

// Picks count items of a pool that the head does not use yet.
QList<int> pickDistinct(DemoRandom &random, const QList<int> &pool, int count, QList<int> &used)
{
    QList<int> out;
    for (int tries = 0; out.size() < count && tries < 50; ++tries) {
        const int i = random.pick(pool);
        if (!used.contains(i)) {
            used << i;
            out << i;
        }
    }
    return out;
}

void SampleBuilder::fillTopLevel(int head, bool forceChild, bool forceGrandchild)
{
    const int family = m_c.items.at(m_heads.at(head).item).families;
    QList<int> used;
    for (int a : pickDistinct(m_random, m_c.pool(DemoKind::Assembly, family), 1, used)) {
        const bool hasBom = m_boms.contains(m_c.items.at(a).code);
        addLine(head, a, !hasBom && (forceChild || m_random.chance(45)), forceGrandchild);
    }
    // Pumps often reuse the standard motor base, whose bill of materials prices it.
    const auto base = std::find_if(m_c.items.cbegin(), m_c.items.cend(), [this](const DemoItem &i) {
        return m_boms.contains(i.code) && i.name == QStringLiteral("电机座组件");
    });
    const int baseIndex = int(base - m_c.items.cbegin());
    if ((family & Pump) && base != m_c.items.cend() && m_random.chance(40) && !used.contains(baseIndex)) {
        used << baseIndex;
        addLine(head, baseIndex, false, false);
    }
    for (int p : pickDistinct(m_random, m_c.pool(DemoKind::Part, family), m_random.bounded(1, 2), used))
        addLine(head, p, m_random.chance(20), false);
    for (int p : pickDistinct(m_random, m_c.pool(DemoKind::Purchased, family), m_random.bounded(2, 3), used))
        addLine(head, p, false, false);
    for (int p : pickDistinct(m_random, m_c.pool(DemoKind::Auxiliary, family), 1, used))
        addLine(head, p, false, false);
}

void SampleBuilder::fillChild(int head, bool forceGrandchild)
{
    const DemoItem &item = m_c.items.at(m_heads.at(head).item);
    QList<int> used;
    if (item.kind == DemoKind::Assembly) {
        const QList<int> parts
            = pickDistinct(m_random, m_c.pool(DemoKind::Part, item.families), m_random.bounded(2, 3), used);
        for (int k = 0; k < parts.size(); ++k) {
            const bool grandchild = (forceGrandchild && k == 0) || m_random.chance(30);
            addLine(head, parts.at(k), grandchild, false);
        }
        for (int p : pickDistinct(m_random, m_c.pool(DemoKind::Purchased, item.families), m_random.bounded(1, 2), used))
            addLine(head, p, false, false);
        return;
    }
    for (int r : pickDistinct(m_random, m_c.pool(DemoKind::Raw, item.families), m_random.bounded(1, 2), used))
        addLine(head, r, false, false);
    if (m_random.chance(40)) {
        for (int a : pickDistinct(m_random, m_c.pool(DemoKind::Auxiliary, item.families), 1, used))
            addLine(head, a, false, false);
    }
}

void SampleBuilder::build(const DemoDataOptions &o)
{
    // Products of all families take turns, so that any page of the list shows pumps, valves and
    // reducers.
    QList<int> products = m_c.pool(DemoKind::NewProduct);
    for (int i = int(products.size()) - 1; i > 0; --i)
        products.swapItemsAt(i, m_random.bounded(0, i));
    const QList<DemoPerson> makers = m_c.personsOf(QStringLiteral("0301")) + m_c.personsOf(QStringLiteral("0302"))
                                     + m_c.personsOf(QStringLiteral("0201"));
    const QList<DemoPerson> checkers = m_c.personsOf(QStringLiteral("06"));
    const QStringList approvers = {QStringLiteral("王建国"), QStringLiteral("徐涛")};
    const auto reference = std::find_if(m_c.items.cbegin(), m_c.items.cend(), [](const DemoItem &i) {
        return i.kind == DemoKind::Product && i.model == QStringLiteral("ISG65-160");
    });
    const int count = qMin(o.sampleCount, int(products.size()));
    for (int i = 0; i < count; ++i) {
        const int h = addHead(products.at(i), 0, nullptr);
        Head &head = m_heads[h];
        head.date = o.firstDate.addDays(count > 1 ? i * 58 / (count - 1) : 0);
        const QString prefix = QStringLiteral("YP") + head.date.toString(QStringLiteral("yyyyMM"));
        const int serial = ++m_serials[prefix];
        head.code = prefix + QStringLiteral("%1").arg(serial, 4, 10, QLatin1Char('0'));
        const DemoPerson maker = m_random.pick(makers);
        head.maker = maker.name;
        head.department = maker.department;
        head.person = maker.code;
        head.customer = m_random.pick(m_c.customers);
        if (m_random.chance(50))
            head.checker = m_random.pick(checkers).code;
        if (m_random.chance(60))
            head.memo = m_random.pick(kMemos);
        if (m_random.chance(70))
            head.grade = m_random.pick(m_c.grades);
        if (m_c.items.at(head.item).colour)
            head.free1 = m_random.pick(m_c.colours);
        if (i % 7 == 3 && reference != m_c.items.cend() && (m_c.items.at(head.item).families & Pump))
            head.reference = reference->code;
        if (i % 3 == 1) {
            head.handler = approvers.at(i % 2);
            head.verified = head.date.addDays(m_random.bounded(1, 4));
        }
        // The first samples always nest, the first two three levels deep.
        fillTopLevel(h, i < 3, i < 2);
    }
    deepenFirstStructure();
    addStoredLoop();
    for (int h = 0; h < m_heads.size(); ++h)
        unitCost(h);
    for (Head &h : m_heads) {
        for (const Line &l : h.lines) {
            if (l.outPrice > 0 && !m_c.outsourcers.isEmpty())
                h.vendor = m_c.outsourcers.at(h.id % m_c.outsourcers.size());
        }
    }
}

// The first grandchild sample gets a child sample of its own for its first material, so that the
// first structure runs four samples deep. Drawn after every other sample was made, so the rest of
// the demo data stays as it was.
void SampleBuilder::deepenFirstStructure()
{
    for (int g = 0; g < m_heads.size(); ++g) {
        if (m_heads.at(g).level != 2 || m_heads.at(g).lines.isEmpty())
            continue;
        const Line &first = m_heads.at(g).lines.first();
        if (first.child >= 0)
            return;
        const DemoItem &material = m_c.items.at(first.item);
        QList<int> inputs;
        for (int candidate : m_c.pool(DemoKind::Raw, material.families) + m_c.pool(DemoKind::Auxiliary, material.families)) {
            if (candidate != first.item && inputs.size() < 2)
                inputs << candidate;
        }
        if (inputs.isEmpty())
            return;
        const int c = addHead(first.item, 3, &m_heads.at(g));
        m_heads[c].version = QStringLiteral("V%1.0").arg(++m_versions[first.item]);
        m_heads[c].free1 = first.free1;
        m_heads[c].free2 = first.free2;
        for (int input : std::as_const(inputs))
            addLine(c, input, false, false);
        m_heads[g].lines[0].child = c;
        return;
    }
}

// One unconfirmed sample, neither the first nor the newest, holds a loop written before the save
// refused such structures: its first child sample uses the sample's own new item again. The tree
// shows it and the card refuses to copy, fetch costs, confirm or convert it. Nothing random is
// drawn here, so the rest of the demo data stays as it was.
void SampleBuilder::addStoredLoop()
{
    int newest = -1;
    for (int i = 0; i < m_heads.size(); ++i) {
        if (m_heads.at(i).level == 0)
            newest = i;
    }
    for (int i = 3; i < newest; ++i) {
        Head &top = m_heads[i];
        if (top.level != 0 || !top.handler.isEmpty())
            continue;
        const auto child = std::find_if(top.lines.cbegin(), top.lines.cend(), [](const Line &l) { return l.child >= 0; });
        if (child == top.lines.cend())
            continue;
        Line back;
        back.item = top.item;
        back.free1 = top.free1;
        back.warehouse = m_c.items.at(top.item).warehouse;
        back.department = QStringLiteral("0401");
        m_heads[child->child].lines << back;
        top.memo = QStringLiteral("演示：结构中存在循环");
        return;
    }
}

// Full unit cost of a sample: its materials with waste, labour, overhead and outsourcing. A line's
// material price is its child sample's unit cost, else its component's bill of materials, else the
// item's standard price.
double SampleBuilder::unitCost(int index)
{
    if (m_heads.at(index).costed)
        return m_heads.at(index).total;
    double material = 0;
    double outsourcing = 0;
    for (int k = 0; k < m_heads.at(index).lines.size(); ++k) {
        Line l = m_heads.at(index).lines.at(k);
        const DemoItem &item = m_c.items.at(l.item);
        if (l.child >= 0)
            l.charge = unitCost(l.child);
        else if (m_boms.contains(item.code))
            l.charge = m_boms.value(item.code).unitCost;
        else
            l.charge = item.price;
        l.cost = round2(l.quantity / l.divisor * l.charge * (1 + l.waste / 100));
        material += l.cost;
        outsourcing += l.quantity / l.divisor * l.outPrice;
        m_heads[index].lines[k] = l;
    }
    Head &h = m_heads[index];
    h.material = round2(material);
    h.outsourcing = round2(outsourcing);
    h.labour = round2(h.hours * h.wageRate);
    h.overhead = round2(h.hours * h.overheadRate);
    h.total = round2(h.material + h.labour + h.overhead + h.outsourcing);
    if (h.level == 0) {
        h.markup = 15 + 5 * m_random.bounded(0, 5);
        h.sell = round2(h.total * (1 + h.markup / 100));
    }
    h.costed = true;
    return h.total;
}

QVariant dateOrNull(const QDate &d)
{
    return d.isValid() ? QVariant(d) : QVariant();
}

Result<void> SampleBuilder::write(Connection &cnn)
{
    BulkInsert heads(cnn, QStringLiteral("ManageSample"),
                     {"iAutoID",
                      "cCode",
                      "dDate",
                      "csocode",
                      "cNewInvCode",
                      "cNewInvName",
                      "cnewinvstd",
                      "cnewinvcomunitcode",
                      "cfree1",
                      "cfree2",
                      "cCusCode",
                      "cDepCode",
                      "cPersonCode",
                      "cCheckPersonCode",
                      "cVenCode",
                      "cpspinvcode",
                      "cMemo",
                      "bExpand",
                      "iFinishExch",
                      "iManhrs",
                      "iBZGZexch",
                      "iPerCharge",
                      "iBZFYexch",
                      "iMakeCharge",
                      "iTolMaterialCost",
                      "iTolOutCost",
                      "itolcost",
                      "isellexch",
                      "isellcost",
                      "cdefine1",
                      "cMaker",
                      "cHandler",
                      "dVeriDate",
                      "vt_id"},
                     50);
    BulkInsert lines(cnn, QStringLiteral("ManageSamples"),
                     {"iAutoID", "iSubID", "cPSCode", "cfree1", "cfree2", "csocode", "iPSQuantity", "tdQtyD",
                      "iWasteRate", "cWhCode", "cDepCode", "cPersonName", "cCAAComunitCode", "iProdChangRate",
                      "iMaterialCharge", "iMaterialCost", "iOutUnitPrice", "ChildGUID", "cdefine22"},
                     100);
    int subId = 0;
    for (const Head &h : m_heads) {
        const DemoItem &item = m_c.items.at(h.item);
        const bool top = h.level == 0;
        auto r = heads.add({h.id,
                            top ? h.code : QStringLiteral(""),
                            h.date,
                            top ? QStringLiteral("") : h.version,
                            item.code,
                            item.name,
                            textOrNull(item.model),
                            item.unit,
                            textOrNull(h.free1),
                            textOrNull(h.free2),
                            h.customer,
                            h.department,
                            h.person,
                            textOrNull(h.checker),
                            textOrNull(h.vendor),
                            textOrNull(h.reference),
                            textOrNull(h.memo),
                            h.expand,
                            h.finish,
                            h.hours,
                            h.wageRate,
                            h.labour,
                            h.overheadRate,
                            h.overhead,
                            h.material,
                            h.outsourcing,
                            h.total,
                            top ? QVariant(h.markup) : QVariant(),
                            top ? QVariant(h.sell) : QVariant(),
                            textOrNull(h.grade),
                            h.maker,
                            textOrNull(h.handler),
                            dateOrNull(h.verified),
                            SchemaSeed::kDisplayTemplateId});
        if (!r)
            return r;
        for (const Line &l : h.lines) {
            const DemoItem &c = m_c.items.at(l.item);
            const bool aux = !c.auxUnit.isEmpty();
            r = lines.add({h.id, ++subId, c.code, textOrNull(l.free1), textOrNull(l.free2),
                           l.child >= 0 ? QVariant(m_heads.at(l.child).version) : QVariant(), l.quantity, l.divisor,
                           l.waste, l.warehouse, l.department, textOrNull(l.person),
                           aux ? QVariant(c.auxUnit) : QVariant(), aux ? QVariant(c.auxRate) : QVariant(), l.charge,
                           l.cost, l.outPrice > 0 ? QVariant(l.outPrice) : QVariant(),
                           l.child >= 0 ? QVariant(m_heads.at(l.child).id) : QVariant(), textOrNull(l.craft)});
            if (!r)
                return r;
        }
    }
    auto r = heads.finish();
    if (r)
        r = lines.finish();
    if (!r)
        return r;
    // One confirmed sample without child samples has already become a bill of materials.
    for (const Head &h : m_heads) {
        const bool flat = std::none_of(h.lines.cbegin(), h.lines.cend(), [](const Line &l) { return l.child >= 0; });
        if (h.level == 0 && !h.handler.isEmpty() && flat)
            return convert(cnn, h);
    }
    return {};
}

// Writes the bill of materials that converting the sample gives, and records it on the sample.
Result<void> SampleBuilder::convert(Connection &cnn, const Head &h)
{
    const DemoItem &item = m_c.items.at(h.item);
    auto done = cnn.Execute(
        QStringLiteral(
            "INSERT INTO ProductStructure (cPSPCode, cDepCode, bExpand, iFinishExch, cMemo, csocode, fbzgs, fbzgzl, "
            "fbzrgcb, fbzfyl, fbzzfy, fbzcb, cfree1, cfree2, cdefine1) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {item.code, h.department, h.expand, h.finish, textOrNull(h.memo), QStringLiteral(""), h.hours, h.wageRate,
         h.labour, h.overheadRate, h.overhead, h.labour + h.overhead, textOrNull(h.free1), textOrNull(h.free2),
         textOrNull(h.grade)});
    if (!done)
        return fail(done.error());
    auto id = cnn.Scalar(QStringLiteral("SELECT MAX(iAutoId) FROM ProductStructure"));
    if (!id)
        return fail(id.error());
    for (const Line &l : h.lines) {
        const DemoItem &c = m_c.items.at(l.item);
        const auto bom = m_boms.constFind(c.code);
        done = cnn.Execute(
            QStringLiteral(
                "INSERT INTO ProductStructures (iPId, cPSPCode, cPSCode, cWhCode, WIPType, iPSQuantity, tdQtyD, "
                "cDepCode, cPersonName, iWasteRate, ChildGUID, fbzdj, fbzwlcb, cfree1, cfree2, cdefine22) "
                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {*id, item.code, c.code, l.warehouse, l.warehouse == QStringLiteral("06") ? 1 : 3, l.quantity, l.divisor,
             l.department, textOrNull(l.person), l.waste, bom != m_boms.constEnd() ? QVariant(bom->id) : QVariant(),
             l.charge, l.cost, textOrNull(l.free1), textOrNull(l.free2), textOrNull(l.craft)});
        if (!done)
            return fail(done.error());
    }
    done = cnn.Execute(QStringLiteral("UPDATE ManageSample SET iBOMAutoId = ? WHERE iAutoID = ?"), {*id, h.id});
    if (!done)
        return fail(done.error());
    return {};
}

} // namespace

Result<void> writeDemoSamples(Connection &cnn, DemoRandom &random, const DemoCatalogue &catalogue, const DemoBoms &boms,
                              const DemoDataOptions &options)
{
    SampleBuilder builder(random, catalogue, boms);
    builder.build(options);
    auto r = builder.write(cnn);
    if (!r)
        return r;
    // The numbering counters continue after the demo vouchers' numbers.
    for (auto it = builder.serials().cbegin(); it != builder.serials().cend(); ++it) {
        auto seeded = cnn.Execute(
            QStringLiteral("INSERT INTO VoucherNumberSeed (CardNumber, SeedText, MaxNumber) VALUES (?, ?, ?)"),
            {QStringLiteral("1801"), it.key(), it.value()});
        if (!seeded)
            return fail(seeded.error());
    }
    QList<QPair<int, QString>> pictured;
    for (const Head &h : builder.heads()) {
        if (h.level == 0 && pictured.size() < 6)
            pictured << qMakePair(h.id, catalogue.items.at(h.item).name);
    }
    return writeDemoAttachments(cnn, pictured);
}
