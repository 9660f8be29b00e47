#include "DemoData.h"

#include "BulkInsert.h"
#include "DemoDataInternal.h"
#include "SchemaSeed.h"

namespace {

// Runs work inside the caller's transaction, or inside one of its own that is committed on success
// and rolled back on failure.
template<typename T, typename Work> Result<T> inTransaction(Connection &cnn, Work work)
{
    const bool own = !cnn.inTransaction();
    if (own) {
        auto begun = cnn.BeginTrans();
        if (!begun)
            return fail(begun.error());
    }
    Result<T> result = work();
    if (!own)
        return result;
    if (!result) {
        cnn.RollbackTrans();
        return result;
    }
    auto committed = cnn.CommitTrans();
    if (!committed)
        return fail(committed.error());
    return result;
}

Result<qint64> scalarCount(Connection &cnn, const QString &sql)
{
    auto v = cnn.Scalar(sql);
    if (!v)
        return fail(v.error());
    return v->toLongLong();
}

// Components for generated vouchers: the item master's usable items, or made-up codes when it is
// empty (the vouchers then show no component names, which benchmarks do not need).
Result<QStringList> componentCodes(Connection &cnn, int wanted)
{
    auto rs = cnn.Query(QStringLiteral("SELECT cInvCode FROM Inventory WHERE COALESCE(bService, 0) = 0 "
                                       "AND dEDate IS NULL AND cInvCCode NOT IN ('05', '06') ORDER BY cInvCode"));
    if (!rs)
        return fail(rs.error());
    QStringList codes;
    for (int r = 0; r < rs->RecordCount(); ++r)
        codes << rs->value(r, 0).toString();
    for (int i = 0; codes.isEmpty() && i < qBound(1, wanted, 500); ++i)
        codes << QStringLiteral("BMC%1").arg(i + 1, 6, 10, QLatin1Char('0'));
    return codes;
}

} // namespace

Result<void> DemoData::fill(Connection &cnn, const DemoDataOptions &options)
{
    if (!cnn.isOpen())
        return fail(QStringLiteral("数据库连接已关闭"));
    auto existing = scalarCount(
        cnn, QStringLiteral("SELECT (SELECT COUNT(*) FROM Inventory) + (SELECT COUNT(*) FROM ManageSample)"));
    if (!existing)
        return fail(QStringLiteral("装入演示数据失败：") + existing.error());
    if (*existing > 0)
        return fail(QStringLiteral("数据库中已经有存货档案或样品单据，不能再装入演示数据"));

    auto done = inTransaction<bool>(cnn, [&]() -> Result<bool> {
        DemoRandom random(options.seed);
        auto catalogue = writeDemoMasterData(cnn, random, options);
        if (!catalogue)
            return fail(catalogue.error());
        auto boms = writeDemoBoms(cnn, *catalogue);
        if (!boms)
            return fail(boms.error());
        auto samples = writeDemoSamples(cnn, random, *catalogue, *boms, options);
        if (!samples)
            return fail(samples.error());
        return true;
    });
    if (!done)
        return fail(QStringLiteral("装入演示数据失败：") + done.error());
    return {};
}

Result<int> DemoData::generateVouchers(Connection &cnn, int count, int linesPerVoucher)
{
    if (!cnn.isOpen())
        return fail(QStringLiteral("数据库连接已关闭"));
    if (count < 0 || linesPerVoucher < 0)
        return fail(QStringLiteral("单据数和行数不能为负数"));
    auto components = componentCodes(cnn, linesPerVoucher);
    if (!components)
        return fail(components.error());
    auto firstId = scalarCount(cnn, QStringLiteral("SELECT COALESCE(MAX(iAutoID), 0) + 1 FROM ManageSample"));
    auto firstSub = scalarCount(cnn, QStringLiteral("SELECT COALESCE(MAX(iSubID), 0) + 1 FROM ManageSamples"));
    if (!firstId || !firstSub)
        return fail(firstId ? firstSub.error() : firstId.error());

    return inTransaction<int>(cnn, [&]() -> Result<int> {
        BulkInsert heads(cnn, QStringLiteral("ManageSample"),
                         {"iAutoID",
                          "cCode",
                          "dDate",
                          "csocode",
                          "cNewInvCode",
                          "cNewInvName",
                          "cnewinvcomunitcode",
                          "cDepCode",
                          "cMaker",
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
                          "vt_id"},
                         200);
        BulkInsert lines(cnn, QStringLiteral("ManageSamples"),
                         {"iAutoID", "iSubID", "cPSCode", "csocode", "iPSQuantity", "tdQtyD", "iWasteRate", "cWhCode",
                          "iMaterialCharge", "iMaterialCost"},
                         500);
        const QStringList &codes = *components;
        const int n = int(codes.size());
        qint64 sub = *firstSub;
        for (int v = 0; v < count; ++v) {
            const int id = int(*firstId) + v;
            double material = 0;
            for (int k = 0; k < linesPerVoucher; ++k) {
                // Beyond the number of items, components repeat with another version, so that no two
                // lines of one voucher are the same component.
                const double quantity = (k + v) % 5 + 1;
                const double waste = k % 4;
                const double charge = 1.5 + ((k + v) % 50) * 0.75;
                const double cost = round2(quantity * charge * (1 + waste / 100));
                material += cost;
                auto r = lines.add({id, sub++, codes.at(k % n),
                                    k / n == 0 ? QVariant() : QVariant(QStringLiteral("L%1").arg(k / n)), quantity, 1.0,
                                    waste, QStringLiteral("01"), charge, cost});
                if (!r)
                    return fail(r.error());
            }
            const double hours = 2 + v % 10;
            auto r = heads.add({id,
                                QStringLiteral("BM%1").arg(id, 10, 10, QLatin1Char('0')),
                                QDate(2026, 1, 1).addDays(v % 365),
                                QStringLiteral(""),
                                QStringLiteral("BN%1").arg(id, 8, 10, QLatin1Char('0')),
                                QStringLiteral("基准样品%1").arg(id),
                                QStringLiteral("0103"),
                                QStringLiteral("0301"),
                                QStringLiteral("基准测试"),
                                1,
                                1.0,
                                hours,
                                30.0,
                                hours * 30,
                                15.0,
                                hours * 15,
                                round2(material),
                                0.0,
                                round2(material + hours * 45),
                                SchemaSeed::kDisplayTemplateId});
            if (!r)
                return fail(r.error());
        }
        auto r = heads.finish();
        if (r)
            r = lines.finish();
        if (!r)
            return fail(r.error());
        return int(*firstId);
    });
}
