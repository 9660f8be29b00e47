// Reference lists and field checks over a large item master: the first page of a prefix search
// through the reference-list service (by code, by name, and a prefix every item shares), and
// CheckBase of one component with its units and warehouse, on SQLite and (when ORVANE_TEST_PG is
// set) PostgreSQL. range(1) is the number of generated items.
#include "support/BenchArgs.h"
#include "support/BenchData.h"
#include "support/BenchDatabase.h"

#include "engine/clsVoucherCo.h"
#include "entry/clsVoucherShowParameter.h"
#include "host/ReferenceListService.h"
#include "host/clsLogin.h"
#include "platform/BulkInsert.h"

#include <QDate>

#include <benchmark/benchmark.h>

#include <map>

namespace {

// Twenty kinds of item, so that a name prefix matches a twentieth of the master.
const QStringList kKinds = {"铸件", "阀体", "阀盖", "阀杆", "闸板", "密封圈", "螺栓", "螺母", "垫片", "弹簧",
                            "手轮", "支架", "轴承", "法兰", "填料", "压盖",   "销轴", "衬套", "底座", "键"};

// A quick run's master: enough items for the code prefix "INV0123" to match a hundred.
constexpr int kQuickItems = 12400;

QString itemCode(int k)
{
    return QStringLiteral("INV%1").arg(k, 6, 10, QLatin1Char('0'));
}

struct Master
{
    std::unique_ptr<BenchDatabase> db;
    std::shared_ptr<clsLogin> login;
    std::unique_ptr<clsVoucherCo> engine;
    QString error;

    bool prepare(int items)
    {
        Connection &cnn = db->cnn();
        if (auto begun = cnn.BeginTrans(); !begun)
            return fail(begun.error());
        BulkInsert units(cnn, QStringLiteral("ComputationUnit"),
                         {"cComUnitCode", "cComUnitName", "cGroupCode", "bMainUnit", "iChangRate"});
        units.add({QStringLiteral("U01"), QStringLiteral("个"), QStringLiteral("G1"), 1, 1.0});
        units.add({QStringLiteral("U02"), QStringLiteral("箱"), QStringLiteral("G1"), 0, 12.0});
        if (auto done = units.finish(); !done)
            return fail(done.error());
        BulkInsert inventory(cnn, QStringLiteral("Inventory"),
                             {"cInvCode", "cInvName", "cInvStd", "iId", "cComUnitCode", "cSAComUnitCode", "iInvSPrice",
                              "bService", "bInvType", "bFree1", "dSDate"});
        for (int k = 0; k < items; ++k) {
            // Names are spread over the kinds independently of the code order.
            const QString name = kKinds.at((k * 7) % kKinds.size()) + QString::number(k);
            auto added
                = inventory.add({itemCode(k), name, QStringLiteral("DN%1").arg(k % 300), k + 1, QStringLiteral("U01"),
                                 QStringLiteral("U02"), 1.5 + k % 100, 0, 0, k % 2, QDate(2024, 1, 1)});
            if (!added)
                return fail(added.error());
        }
        if (auto done = inventory.finish(); !done)
            return fail(done.error());
        if (auto committed = cnn.CommitTrans(); !committed)
            return fail(committed.error());
        if (db->cnn().backend() == Backend::Postgres)
            db->cnn().Execute(QStringLiteral("ANALYZE Inventory"));
        auto session = db->login();
        if (!session)
            return fail(session.error());
        login = *session;
        engine = std::make_unique<clsVoucherCo>();
        engine->Initial(login, QStringLiteral("1801"), std::make_shared<clsVoucherShowParameter>());
        return true;
    }
    bool fail(const QString &why)
    {
        error = why;
        engine.reset();
        return false;
    }
};

Master &master(Backend backend, int items)
{
    std::map<std::pair<Backend, int>, Master> &masters = benchCache<std::pair<Backend, int>, Master>();
    const auto key = std::make_pair(backend, items);
    auto it = masters.find(key);
    if (it != masters.end())
        return it->second;
    Master &m = masters[key];
    m.db = std::make_unique<BenchDatabase>(backend);
    if (m.db->available())
        m.prepare(items);
    else
        m.error = m.db->error();
    return m;
}

// The item list as the card's component lookup opens it (validity on the login date).
ReferenceListRequest itemList(const QString &search)
{
    ReferenceListRequest r;
    r.kind = QStringLiteral("inventory");
    r.table = QStringLiteral("Inventory i");
    r.columns = QStringLiteral("i.*");
    r.where = QStringLiteral("i.dEDate IS NULL OR ((i.dSDate IS NULL OR i.dSDate <= ?) AND i.dEDate >= ?)");
    r.whereParams = {QDate(2026, 12, 1), QDate(2026, 12, 1)};
    r.codeColumn = QStringLiteral("i.cInvCode");
    r.nameColumn = QStringLiteral("i.cInvName");
    r.valueColumn = QStringLiteral("cInvCode");
    r.conditions = {QStringLiteral("1=1")}; // what the data-permission service answers a super user
    r.search = search;
    r.pageSize = 30;
    return r;
}

void runFirstPage(benchmark::State &state, const QString &search)
{
    Master &m = master(backendArg(state), int(state.range(1)));
    if (!m.engine) {
        state.SkipWithError(m.error.isEmpty() ? "no database" : qPrintable(m.error));
        return;
    }
    ReferenceListService service(m.db->cnn());
    const ReferenceListRequest request = itemList(search);
    for (auto _ : state) {
        auto page = service.page(request);
        if (!page || page->rows.RecordCount() == 0) {
            state.SkipWithError(page ? "empty page" : qPrintable(page.error()));
            break;
        }
        benchmark::DoNotOptimize(page->rows.RecordCount());
    }
}

// 100 items share the code prefix.
void BM_FirstPageCodePrefix(benchmark::State &state)
{
    runFirstPage(state, QStringLiteral("INV0123"));
}

// A twentieth of the items share the name prefix.
void BM_FirstPageNamePrefix(benchmark::State &state)
{
    runFirstPage(state, QStringLiteral("阀盖"));
}

// Every item shares the prefix: the worst case.
void BM_FirstPageEveryItem(benchmark::State &state)
{
    runFirstPage(state, QStringLiteral("INV"));
}

void BM_CheckBaseProduct(benchmark::State &state)
{
    const int items = int(state.range(1));
    Master &m = master(backendArg(state), items);
    if (!m.engine) {
        state.SkipWithError(m.error.isEmpty() ? "no database" : qPrintable(m.error));
        return;
    }
    const QString code = itemCode(items / 2 + 321);
    for (auto _ : state) {
        VoucherDocument row;
        const QString answer = m.engine->CheckBase(QStringLiteral("cpscode"), code, row);
        if (!answer.isEmpty()) {
            state.SkipWithError(qPrintable(answer));
            break;
        }
        benchmark::DoNotOptimize(row);
    }
}

void masterArgs(benchmark::internal::Benchmark *b)
{
    addBackendArgs(b, {100000}, benchmark::kMillisecond, kQuickItems);
}

} // namespace

BENCHMARK(BM_FirstPageCodePrefix)->Apply(masterArgs);
BENCHMARK(BM_FirstPageNamePrefix)->Apply(masterArgs);
BENCHMARK(BM_FirstPageEveryItem)->Apply(masterArgs);
BENCHMARK(BM_CheckBaseProduct)->Apply(masterArgs);
