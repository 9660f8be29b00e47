// The structure work on a generated structure of about 10,000 tree nodes over 30 levels whose
// child samples are shared between branches (see GeneratedStructure), SQLite and (when
// ORVANE_TEST_PG is set) PostgreSQL, each beside its floor:
//  - BM_StructureTree: the tree beside the card (SampleStructureTree::build).
//    BM_StructureTreeFloor: one recursive query reading the same tree through the native client.
//  - BM_CostRollUp: the cost fetch's roll-up with its writes, in a transaction rolled back after
//    each run. BM_CostRollUpFloor: the recursive query plus one prepared update per stored line
//    and head, natively, in a transaction rolled back the same way.
//  - BM_BomConversion: the whole structure converted into bills of materials in one transaction,
//    rolled back after each run.
// A floor reports `system_per_floor`: the system's time over its own.
#include "support/BenchArgs.h"
#include "support/BenchDatabase.h"
#include "support/GeneratedStructure.h"
#include "support/NativeClient.h"
#include "support/PreparedData.h"

#include "sample/BomConversion.h"
#include "sample/CostRollUp.h"
#include "sample/SampleStructureTree.h"
#include "sample/StructureKey.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

constexpr int kNodes = 10000;

struct Structure
{
    std::unique_ptr<BenchDatabase> db;
    QString error;
    int levels = 0;
    int leaves = 0;

    void prepare(int nodes)
    {
        levels = quickRun() ? 5 : 30;
        leaves = GeneratedStructure::leavesFor(nodes, levels);
        if (auto written = GeneratedStructure::write(db->cnn(), levels, leaves); !written)
            error = written.error();
    }
};

Structure *structure(benchmark::State &state)
{
    Structure *s = preparedData<Structure>(state, ensureBenchApplication);
    if (!s)
        state.SkipWithError("no database");
    return s;
}

// Milliseconds per run of the system's side, by benchmark and backend, for the floors' ratio.
std::map<std::pair<QString, int>, double> &systemMillis()
{
    return benchData<std::map<std::pair<QString, int>, double>>();
}

// Times the loop of a benchmark; after it, stores or compares the time per run.
class RunTimer
{
public:
    RunTimer(benchmark::State &state, QString name, bool floor)
        : m_state(state)
        , m_key(std::move(name), int(state.range(0)))
        , m_floor(floor)
        , m_start(std::chrono::steady_clock::now())
    {}
    ~RunTimer()
    {
        if (m_state.iterations() == 0)
            return;
        const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - m_start;
        const double perRun = spent.count() / double(m_state.iterations());
        if (!m_floor) {
            systemMillis()[m_key] = perRun;
            return;
        }
        const auto system = systemMillis().find(m_key);
        if (system != systemMillis().end())
            m_state.counters["system_per_floor"] = system->second / perRun;
    }

private:
    benchmark::State &m_state;
    std::pair<QString, int> m_key;
    bool m_floor;
    std::chrono::steady_clock::time_point m_start;
};

// Every line of every path below sample ?, with what the tree shows of it.
QString floorTreeQuery()
{
    return QStringLiteral("WITH RECURSIVE walk(sample, depth) AS (SELECT CAST(? AS INTEGER), 0 UNION ALL "
                          "SELECT l.ChildGUID, w.depth + 1 FROM walk w JOIN ManageSamples l ON l.iAutoID = w.sample "
                          "WHERE l.ChildGUID IS NOT NULL AND w.depth < 64) "
                          "SELECT l.cPSCode, inv.cInvName, l.csocode, %1, l.ChildGUID, l.iSubID, %2 "
                          "FROM walk w JOIN ManageSamples l ON l.iAutoID = w.sample "
                          "JOIN Inventory inv ON inv.cInvCode = l.cPSCode")
        .arg(StructureKey::bomOfLine(QStringLiteral("l")), StructureKey::freeItemColumns(QStringLiteral("l")));
}

void BM_StructureTree(benchmark::State &state)
{
    Structure *s = structure(state);
    if (!s)
        return;
    SampleStructureTree tree(s->db->cnn());
    {
        RunTimer timer(state, QStringLiteral("tree"), false);
        for (auto _ : state) {
            if (!tree.build(QStringLiteral("1"))) {
                state.SkipWithError("the tree could not be built");
                break;
            }
        }
    }
    if (tree.nodes().size() != 1 + GeneratedStructure::treeNodes(s->levels, s->leaves))
        state.SkipWithError("wrong number of nodes");
    state.counters["nodes"] = double(tree.nodes().size());
    state.counters["queries"] = tree.queryCount();
}

void BM_StructureTreeFloor(benchmark::State &state)
{
    Structure *s = structure(state);
    if (!s)
        return;
    auto client = NativeClient::open(s->db->connectionString());
    if (!client) {
        state.SkipWithError("no native connection");
        return;
    }
    const QString sql = floorTreeQuery();
    RunTimer timer(state, QStringLiteral("tree"), true);
    for (auto _ : state) {
        if (client->run(sql, {1}) <= 0) {
            state.SkipWithError("the floor query failed");
            break;
        }
    }
}

void BM_CostRollUp(benchmark::State &state)
{
    Structure *s = structure(state);
    if (!s)
        return;
    Connection &cnn = s->db->cnn();
    RunTimer timer(state, QStringLiteral("rollup"), false);
    for (auto _ : state) {
        double material = 0;
        double outsourcing = 0;
        CostRollUp rollUp(cnn);
        const bool begun = bool(cnn.BeginWriteTrans(QStringLiteral("managesample")));
        const bool done = begun && rollUp.RollUpSampleCost(1, QString(), material, outsourcing);
        if (begun)
            cnn.RollbackTrans();
        if (!done) {
            state.SkipWithError(rollUp.error().toUtf8().constData());
            break;
        }
        benchmark::DoNotOptimize(material);
    }
}

void BM_CostRollUpFloor(benchmark::State &state)
{
    Structure *s = structure(state);
    if (!s)
        return;
    auto client = NativeClient::open(s->db->connectionString());
    auto lines = s->db->cnn().Query(QStringLiteral("SELECT iSubID FROM ManageSamples"));
    auto heads = s->db->cnn().Query(QStringLiteral("SELECT iAutoID FROM ManageSample"));
    if (!client || !lines || !heads) {
        state.SkipWithError("no native connection");
        return;
    }
    const QString tree = floorTreeQuery();
    const QString line
        = QStringLiteral("UPDATE ManageSamples SET iMaterialCharge = ?, iMaterialCost = ? WHERE iSubID = ?");
    const QString head = QStringLiteral("UPDATE ManageSample SET iTolMaterialCost = ? WHERE iAutoID = ?");
    RunTimer timer(state, QStringLiteral("rollup"), true);
    for (auto _ : state) {
        bool ok = client->exec("BEGIN") && client->run(tree, {1}) > 0;
        for (int r = 0; ok && r < lines->RecordCount(); ++r)
            ok = client->run(line, {1.25, 2.5, lines->value(r, 0).toDouble()}) >= 0;
        for (int r = 0; ok && r < heads->RecordCount(); ++r)
            ok = client->run(head, {10.5, heads->value(r, 0).toDouble()}) >= 0;
        client->exec("ROLLBACK");
        if (!ok) {
            state.SkipWithError("a floor statement failed");
            break;
        }
    }
    state.counters["lines"] = lines->RecordCount();
}

void BM_BomConversion(benchmark::State &state)
{
    Structure *s = structure(state);
    if (!s)
        return;
    Connection &cnn = s->db->cnn();
    for (auto _ : state) {
        QString message;
        const bool begun = bool(cnn.BeginWriteTrans(QStringLiteral("managesample")));
        const qint16 status = begun ? BomConversion(cnn).ConvertSampleToBom(1, message) : -100;
        auto written = cnn.Scalar(QStringLiteral("SELECT COUNT(*) FROM ProductStructure"));
        if (begun)
            cnn.RollbackTrans();
        if (status != 0) {
            state.SkipWithError(("conversion failed: " + message.right(200)).toUtf8().constData());
            break;
        }
        state.counters["structures"] = written ? written->toDouble() : -1;
    }
}

void structureArgs(benchmark::internal::Benchmark *b)
{
    addBackendArgs(b, {kNodes}, benchmark::kMillisecond, 200);
    b->UseRealTime();
}

} // namespace

BENCHMARK(BM_StructureTree)->Apply(structureArgs);
BENCHMARK(BM_StructureTreeFloor)->Apply(structureArgs);
BENCHMARK(BM_CostRollUp)->Apply(structureArgs);
BENCHMARK(BM_CostRollUpFloor)->Apply(structureArgs);
BENCHMARK(BM_BomConversion)->Apply(structureArgs);
