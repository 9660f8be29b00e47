#include "GeneratedStructure.h"

#include "platform/BulkInsert.h"

namespace {

constexpr int kTopLines = 10;
constexpr int kChains = 3;

int sampleId(int level, int chain)
{
    return 2 + (level - 1) * kChains + chain;
}

QString sampleItem(int level, int chain)
{
    return QStringLiteral("S%1-%2").arg(level).arg(chain);
}

} // namespace

namespace GeneratedStructure {

int leavesFor(int nodes, int levels)
{
    return qMax(1, nodes / (kTopLines * qMax(1, levels - 1)) - 1);
}

int treeNodes(int levels, int leaves)
{
    // The top item, then per top line a chain of levels - 1 samples, each with its leaves; the
    // last sample of a chain has no child line.
    return 1 + kTopLines * ((levels - 1) * (leaves + 1));
}

Result<void> write(Connection &cnn, int levels, int leaves)
{
    if (auto begun = cnn.BeginTrans(); !begun)
        return begun;
    BulkInsert items(cnn, QStringLiteral("Inventory"),
                     {QStringLiteral("cInvCode"), QStringLiteral("cInvName"), QStringLiteral("iId"),
                      QStringLiteral("cComUnitCode"), QStringLiteral("bSelf")},
                     200);
    BulkInsert heads(cnn, QStringLiteral("ManageSample"),
                     {QStringLiteral("iAutoID"), QStringLiteral("cCode"), QStringLiteral("cNewInvCode"),
                      QStringLiteral("cNewInvName"), QStringLiteral("csocode"), QStringLiteral("iPerCharge"),
                      QStringLiteral("iMakeCharge")});
    BulkInsert lines(cnn, QStringLiteral("ManageSamples"),
                     {QStringLiteral("iAutoID"), QStringLiteral("iSubID"), QStringLiteral("cPSCode"),
                      QStringLiteral("csocode"), QStringLiteral("iPSQuantity"), QStringLiteral("tdQtyD"),
                      QStringLiteral("iWasteRate"), QStringLiteral("iMaterialCharge"), QStringLiteral("ChildGUID")},
                     200);
    int itemId = 0;
    auto addItem = [&](const QString &code) {
        return items.add({code, QStringLiteral("品") + code, ++itemId, QStringLiteral("PCS"), 1});
    };
    int subId = 0;
    const QVariant noChild(QMetaType(QMetaType::Int));
    Result<void> r = addItem(QStringLiteral("TOP"));
    for (int k = 0; r && k < leaves; ++k)
        r = addItem(QStringLiteral("LEAF%1").arg(k));
    if (r)
        r = heads.add(
            {1, QStringLiteral("GEN-1"), QStringLiteral("TOP"), QStringLiteral("品TOP"), QStringLiteral(""), 5, 3});
    for (int i = 0; r && i < kTopLines; ++i)
        r = lines.add({1, ++subId, sampleItem(1, i % kChains), QStringLiteral("V1"), 1 + i % 2, 1, 1.5, 0.0,
                       sampleId(1, i % kChains)});
    for (int level = 1; r && level < levels; ++level) {
        for (int chain = 0; r && chain < kChains; ++chain) {
            const int id = sampleId(level, chain);
            const QString item = sampleItem(level, chain);
            r = addItem(item);
            if (r)
                r = heads.add({id, QStringLiteral(""), item, QStringLiteral("品") + item, QStringLiteral("V1"),
                               0.25 * chain, 0.1 * level});
            if (r && level + 1 < levels) {
                const int next = (chain + 1) % kChains;
                r = lines.add({id, ++subId, sampleItem(level + 1, next), QStringLiteral("V1"), 1, 1, 0.5 * chain, 0.0,
                               sampleId(level + 1, next)});
            }
            for (int k = 0; r && k < leaves; ++k)
                r = lines.add({id, ++subId, QStringLiteral("LEAF%1").arg(k), QStringLiteral(""), 1 + k % 3, 2,
                               double(k % 4), 0.37 * (k + 1), noChild});
        }
    }
    for (BulkInsert *insert : {&items, &heads, &lines}) {
        if (r)
            r = insert->finish();
    }
    if (!r) {
        cnn.RollbackTrans();
        return r;
    }
    return cnn.CommitTrans();
}

} // namespace GeneratedStructure
