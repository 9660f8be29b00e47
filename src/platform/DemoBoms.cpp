#include "DemoDataInternal.h"

// The bills of materials the demo company already has: a motor-base assembly and a pump-body
// assembly, and a finished pump whose pump-body line points at the assembly's own structure. Samples
// that use these assemblies without a child sample of their own are costed through them.

namespace {

struct BomLine
{
    QString item;
    double quantity;
    double divisor;
    double waste;
    QString free1;
};

struct Bom
{
    QString parent;
    QString free1;
    double labour;   // fbzrgcb
    double overhead; // fbzzfy
    double hours;    // fbzgs
    QList<BomLine> lines;
};

QString findItem(const DemoCatalogue &c, const QString &name, const QString &model)
{
    for (const DemoItem &i : c.items) {
        if (i.name == name && i.model.contains(model))
            return i.code;
    }
    return QString();
}

Result<QVariant> scalar(Connection &cnn, const QString &sql, const QVariantList &params = {})
{
    auto v = cnn.Scalar(sql, params);
    if (!v)
        return fail(v.error());
    return *v;
}

} // namespace

Result<DemoBoms> writeDemoBoms(Connection &cnn, const DemoCatalogue &c)
{
    const QString motorBase = findItem(c, QStringLiteral("电机座组件"), QStringLiteral("YE3-112"));
    const QString pumpBody = findItem(c, QStringLiteral("泵体组件"), QStringLiteral("ISG65"));
    const QList<Bom> boms = {
        {motorBase,
         QString(),
         45,
         22,
         1.5,
         {{findItem(c, QStringLiteral("热轧钢板"), QStringLiteral("δ12")), 6.5, 1, 3, QString()},
          {findItem(c, QStringLiteral("六角头螺栓"), QStringLiteral("M12×40")), 4, 1, 0, QString()},
          {findItem(c, QStringLiteral("六角螺母"), QStringLiteral("M12")), 4, 1, 0, QString()},
          {findItem(c, QStringLiteral("环氧富锌底漆"), QString()), 1, 4, 5, QStringLiteral("浅灰")}}},
        {pumpBody,
         QString(),
         60,
         30,
         2,
         {{findItem(c, QStringLiteral("泵体"), QStringLiteral("ISG65")), 1, 1, 0, QString()},
          {findItem(c, QStringLiteral("泵盖"), QStringLiteral("ISG65")), 1, 1, 0, QString()},
          {findItem(c, QStringLiteral("O型密封圈"), QStringLiteral("60×3.55")), 1, 1, 1, QString()},
          {findItem(c, QStringLiteral("六角头螺栓"), QStringLiteral("M10×30")), 8, 1, 0, QString()}}},
        {findItem(c, QStringLiteral("立式管道离心泵"), QStringLiteral("ISG65-160")),
         QStringLiteral("天蓝"),
         180,
         95,
         6,
         {{pumpBody, 1, 1, 0, QString()},
          {findItem(c, QStringLiteral("转子组件"), QStringLiteral("ISG65")), 1, 1, 0, QString()},
          {findItem(c, QStringLiteral("三相异步电动机"), QStringLiteral("4kW")), 1, 1, 0, QString()},
          {findItem(c, QStringLiteral("机械密封"), QStringLiteral("104-25")), 1, 1, 0, QString()},
          {findItem(c, QStringLiteral("丙烯酸聚氨酯面漆"), QString()), 4, 5, 5, QStringLiteral("天蓝")},
          {findItem(c, QStringLiteral("出口木箱"), QStringLiteral("800×600")), 1, 1, 0, QString()}}},
    };

    DemoBoms written;
    for (const Bom &bom : boms) {
        double material = 0;
        struct Priced
        {
            const BomLine *line;
            double price;
            double cost;
            QVariant child;
        };
        QList<Priced> priced;
        for (const BomLine &l : bom.lines) {
            const auto own = written.constFind(l.item);
            const double price = own != written.constEnd() ? own->unitCost : c.item(l.item).price;
            const double cost = round2(l.quantity / l.divisor * price * (1 + l.waste / 100));
            material += cost;
            priced << Priced{&l, price, cost, own != written.constEnd() ? QVariant(own->id) : QVariant()};
        }
        const DemoItem &parent = c.item(bom.parent);
        auto head = cnn.Execute(
            QStringLiteral(
                "INSERT INTO ProductStructure (cPSPCode, cDepCode, bExpand, iFinishExch, cMemo, csocode, fbzgs, "
                "fbzgzl, fbzrgcb, fbzfyl, fbzzfy, fbzcb, cfree1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {parent.code, QStringLiteral("0402"), 1, 1.0, QStringLiteral("标准结构"), QStringLiteral(""), bom.hours,
             round2(bom.labour / bom.hours), bom.labour, round2(bom.overhead / bom.hours), bom.overhead,
             bom.labour + bom.overhead, textOrNull(bom.free1)});
        if (!head)
            return fail(head.error());
        auto id = scalar(cnn, QStringLiteral("SELECT MAX(iAutoId) FROM ProductStructure"));
        if (!id)
            return fail(id.error());
        for (const Priced &p : priced) {
            const DemoItem &item = c.item(p.line->item);
            auto line = cnn.Execute(
                QStringLiteral(
                    "INSERT INTO ProductStructures (iPId, cPSPCode, cPSCode, cWhCode, WIPType, iPSQuantity, "
                    "tdQtyD, cDepCode, iWasteRate, ChildGUID, csocode, fbzdj, fbzwlcb, cProcedureName, FVFlag, "
                    "cfree1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                {id->toInt(), parent.code, item.code, item.warehouse, 3, p.line->quantity, p.line->divisor,
                 QStringLiteral("0402"), p.line->waste, p.child, QStringLiteral(""), p.price, p.cost,
                 QStringLiteral("装配"), 1, textOrNull(p.line->free1)});
            if (!line)
                return fail(line.error());
        }
        if (bom.free1.isEmpty())
            written.insert(parent.code, DemoBom{id->toInt(), round2(material + bom.labour + bom.overhead)});
    }
    return written;
}
