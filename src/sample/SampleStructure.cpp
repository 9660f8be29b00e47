#include "SampleStructure.h"

#include "StructureKey.h"

#include "platform/Connection.h"
#include "platform/InListQuery.h"

#include <QSet>

namespace {

// Columns shared by both line queries, after the line alias's own columns: name, version, bill of
// materials, child sample, row id, in-master flag, ten free items, prices, waste and quantities.
QString sampleLinesSql()
{
    return QStringLiteral("SELECT l.iAutoID, l.cPSCode, inv.cInvName, l.csocode, %1 AS bomid, ch.iAutoID AS msautoid, "
                          "l.iSubID, CASE WHEN inv.cInvCode IS NULL THEN 0 ELSE 1 END, %2, "
                          "COALESCE(l.iMaterialCharge, 0), COALESCE(l.iOutUnitPrice, 0), COALESCE(l.iWasteRate, 0), "
                          "COALESCE(l.iPSQuantity, 0), COALESCE(l.tdQtyD, 1) "
                          "FROM ManageSamples l LEFT JOIN Inventory inv ON inv.cInvCode = l.cPSCode "
                          "LEFT JOIN ManageSample ch ON ch.iAutoID = l.ChildGUID "
                          "WHERE l.iAutoID IN (%3) ORDER BY l.iAutoID, l.iSubID")
        .arg(StructureKey::bomOfLine(QStringLiteral("l")), StructureKey::freeItemColumns(QStringLiteral("l")),
             QStringLiteral("%1"));
}

QString bomLinesSql()
{
    return QStringLiteral("SELECT l.iPId, l.cPSCode, inv.cInvName, cs.csocode, cs.iAutoId AS bomid, %1 AS msautoid, "
                          "0, CASE WHEN inv.cInvCode IS NULL THEN 0 ELSE 1 END, %2, "
                          "COALESCE(l.fbzdj, 0), 0.0, COALESCE(l.iWasteRate, 0), "
                          "COALESCE(l.iPSQuantity, 0), COALESCE(l.tdQtyD, 1) "
                          "FROM ProductStructures l LEFT JOIN Inventory inv ON inv.cInvCode = l.cPSCode "
                          "LEFT JOIN ProductStructure cs ON cs.iAutoId = l.ChildGUID "
                          "WHERE l.iPId IN (%3) ORDER BY l.iPId, l.AutoId")
        .arg(StructureKey::childSampleOfBomLine(QStringLiteral("l")),
             StructureKey::freeItemColumns(QStringLiteral("l")), QStringLiteral("%1"));
}

const QString kSampleHeads
    = QStringLiteral("SELECT h.iAutoID, h.cNewInvCode, h.cNewInvName, h.csocode, "
                     "COALESCE(h.iPerCharge, 0) + COALESCE(h.iMakeCharge, 0) + COALESCE(h.iTolOutCost, 0), %1, h.cCode "
                     "FROM ManageSample h WHERE h.iAutoID IN (%2)");
const QString kBomHeads = QStringLiteral(
    "SELECT h.iAutoId, h.cPSPCode, inv.cInvName, h.csocode, COALESCE(h.fbzrgcb, 0) + COALESCE(h.fbzzfy, 0), %1, '' "
    "FROM ProductStructure h LEFT JOIN Inventory inv ON inv.cInvCode = h.cPSPCode WHERE h.iAutoId IN (%2)");

QVariantList asValues(const QList<int> &ids)
{
    QVariantList values;
    values.reserve(ids.size());
    for (int id : ids)
        values.append(id);
    return values;
}

QStringList freeItemsAt(const QVariantList &row, int first)
{
    QStringList items;
    for (int k = 0; k < 10; ++k)
        items << row.at(first + k).toString();
    return items;
}

} // namespace

SampleStructure::Ref SampleStructure::Line::child() const
{
    if (childSample > 0)
        return {Kind::Sample, childSample};
    if (bomId > 0)
        return {Kind::Bom, bomId};
    return {};
}

const SampleStructure::Node &SampleStructure::node(Ref ref) const
{
    static const Node none;
    const auto &nodes = m_nodes[int(ref.kind)];
    const auto it = nodes.constFind(ref.id);
    return it == nodes.constEnd() ? none : *it;
}

bool SampleStructure::contains(Ref ref) const
{
    return m_nodes[int(ref.kind)].contains(ref.id);
}

Result<void> SampleStructure::load(Ref root, bool followBoms)
{
    QList<Ref> level{root};
    while (!level.isEmpty()) {
        QList<int> samples;
        QList<int> boms;
        for (const Ref &ref : std::as_const(level)) {
            if (ref.isNull() || contains(ref) || (!followBoms && ref.kind == Kind::Bom))
                continue;
            slot(ref); // known from now on: a loop back to it is not read again
            (ref.kind == Kind::Sample ? samples : boms).append(ref.id);
        }
        QList<Ref> next;
        if (auto read = readLevel(Kind::Sample, samples, next); !read)
            return read;
        if (auto read = readLevel(Kind::Bom, boms, next); !read)
            return read;
        level = std::move(next);
    }
    return {};
}

Result<void> SampleStructure::readLevel(Kind kind, const QList<int> &ids, QList<Ref> &next)
{
    if (ids.isEmpty())
        return {};
    const QVariantList values = asValues(ids);
    const QString headSql = kind == Kind::Sample ? kSampleHeads : kBomHeads;
    auto heads = InListQuery::rows(
        m_cnn, headSql.arg(StructureKey::freeItemColumns(QStringLiteral("h")), QStringLiteral("%1")), values);
    auto lines = InListQuery::rows(m_cnn, kind == Kind::Sample ? sampleLinesSql() : bomLinesSql(), values);
    m_queries += 2;
    if (!heads)
        return fail(heads.error());
    if (!lines)
        return fail(lines.error());
    for (const QVariantList &row : std::as_const(*heads)) {
        Node &n = slot({kind, row.at(0).toInt()});
        n.found = true;
        n.code = row.at(1).toString();
        n.name = row.at(2).toString();
        n.version = row.at(3).toString();
        n.otherCost = row.at(4).toDouble();
        n.freeItems = freeItemsAt(row, 5);
        n.voucherCode = row.at(15).toString();
    }
    for (const QVariantList &row : std::as_const(*lines)) {
        Line line;
        line.code = row.at(1).toString();
        line.name = row.at(2).toString();
        line.version = row.at(3).toString();
        line.bomId = row.at(4).toInt();
        line.childSample = row.at(5).toInt();
        line.subId = row.at(6).toInt();
        line.inItemMaster = row.at(7).toInt() != 0;
        line.freeItems = freeItemsAt(row, 8);
        line.unitMaterial = row.at(18).toDouble();
        line.unitOutsourcing = row.at(19).toDouble();
        line.wasteRate = row.at(20).toDouble();
        line.quantity = row.at(21).toDouble();
        line.divisor = row.at(22).toDouble();
        if (!line.child().isNull())
            next.append(line.child());
        slot({kind, row.at(0).toInt()}).lines.append(std::move(line));
    }
    return {};
}
