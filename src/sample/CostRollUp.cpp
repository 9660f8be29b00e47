#include "CostRollUp.h"

#include "platform/Connection.h"

namespace {

constexpr int kChunk = 200;

// Sets `column` of the rows whose integer key is listed to their values: one statement per chunk,
// the values bound as doubles.
Result<void> updateByKey(Connection &cnn, const QString &table, const QString &key, const QString &column,
                         const QList<QPair<int, double>> &values)
{
    for (qsizetype start = 0; start < values.size(); start += kChunk) {
        const qsizetype n = std::min<qsizetype>(kChunk, values.size() - start);
        QString cases;
        QString marks;
        QVariantList params;
        params.reserve(n * 3);
        for (qsizetype i = 0; i < n; ++i) {
            cases += QStringLiteral(" WHEN ? THEN CAST(? AS %1)").arg(cnn.dialect().realType());
            params << values[start + i].first << values[start + i].second;
        }
        for (qsizetype i = 0; i < n; ++i) {
            marks += i ? QStringLiteral(", ?") : QStringLiteral("?");
            params << values[start + i].first;
        }
        const QString sql
            = QStringLiteral("UPDATE %1 SET %3 = CASE %2%4 END WHERE %2 IN (%5)").arg(table, key, column, cases, marks);
        if (auto done = cnn.Execute(sql, params); !done)
            return fail(done.error());
    }
    return {};
}

// The material cost of the lines just priced, from their stored quantities and waste rates; lines
// with a zero divisor keep theirs.
Result<void> updateMaterialCosts(Connection &cnn, const QList<QPair<int, double>> &lines)
{
    for (qsizetype start = 0; start < lines.size(); start += kChunk) {
        const qsizetype n = std::min<qsizetype>(kChunk, lines.size() - start);
        QString marks;
        QVariantList params;
        for (qsizetype i = 0; i < n; ++i) {
            marks += i ? QStringLiteral(", ?") : QStringLiteral("?");
            params << lines[start + i].first;
        }
        const QString sql
            = QStringLiteral("UPDATE ManageSamples SET iMaterialCost = iMaterialCharge * COALESCE(iPSQuantity, 0) "
                             "/ COALESCE(tdQtyD, 1) * (1 + COALESCE(iWasteRate, 0) / 100.0) "
                             "WHERE COALESCE(tdQtyD, 1) <> 0 AND iSubID IN (%1)")
                  .arg(marks);
        if (auto done = cnn.Execute(sql, params); !done)
            return fail(done.error());
    }
    return {};
}

} // namespace

bool CostRollUp::RollUpSampleCost(double sampleId, const QString &bomId, double &material, double &outsourcing)
{
    m_error.clear();
    m_done.clear();
    m_path.clear();
    m_lineCharges.clear();
    m_headTotals.clear();

    SampleStructure::Ref root;
    if (sampleId > 0)
        root = {SampleStructure::Kind::Sample, int(sampleId)};
    else if (!bomId.trimmed().isEmpty())
        root = {SampleStructure::Kind::Bom, bomId.trimmed().toInt()};
    if (root.isNull())
        return true;

    SampleStructure structure(m_cnn);
    if (auto loaded = structure.load(root); !loaded) {
        m_error = loaded.error();
        return false;
    }
    Totals totals;
    if (!price(structure, root, totals) || !write())
        return false;
    material += totals.material;
    outsourcing += totals.outsourcing;
    return true;
}

// The totals of one structure, from memory when it was priced before.
bool CostRollUp::price(const SampleStructure &structure, SampleStructure::Ref ref, Totals &totals)
{
    if (const auto it = m_done.constFind(ref); it != m_done.constEnd()) {
        totals = *it;
        return true;
    }
    const SampleStructure::Node &node = structure.node(ref);
    if (m_path.contains(ref)) {
        m_error = QStringLiteral("子件[") + node.code + QStringLiteral("]循环出现，请检查！");
        return false;
    }
    m_path.insert(ref);
    double ownMaterial = 0;
    double ownOutsourcing = 0;
    for (const SampleStructure::Line &line : node.lines) {
        double unitMaterial = line.unitMaterial;
        double unitOutsourcing = line.unitOutsourcing;
        if (const SampleStructure::Ref child = line.child(); !child.isNull()) {
            Totals below;
            if (!price(structure, child, below))
                return false;
            unitMaterial = below.material;
            unitOutsourcing = below.outsourcing;
        }
        if (ref.kind == SampleStructure::Kind::Sample)
            m_lineCharges.append({line.subId, unitMaterial});
        ownMaterial += line.perUnit() * unitMaterial * (1 + line.wasteRate / 100.0);
        ownOutsourcing += line.perUnit() * unitOutsourcing;
    }
    m_path.remove(ref);
    if (ref.kind == SampleStructure::Kind::Sample && node.found)
        m_headTotals.append({ref.id, ownMaterial});
    totals = {ownMaterial + node.otherCost, ownOutsourcing};
    m_done.insert(ref, totals);
    return true;
}

bool CostRollUp::write()
{
    auto done = updateByKey(m_cnn, QStringLiteral("ManageSamples"), QStringLiteral("iSubID"),
                            QStringLiteral("iMaterialCharge"), m_lineCharges);
    if (done)
        done = updateMaterialCosts(m_cnn, m_lineCharges);
    if (done)
        done = updateByKey(m_cnn, QStringLiteral("ManageSample"), QStringLiteral("iAutoID"),
                           QStringLiteral("iTolMaterialCost"), m_headTotals);
    if (!done)
        m_error = done.error();
    return bool(done);
}
