// Card load and navigation on generated data, on SQLite and (when ORVANE_TEST_PG is set) PostgreSQL.
#include "support/BenchArgs.h"
#include "support/BenchData.h"
#include "support/BenchDatabase.h"

#include "engine/clsVoucherCo.h"
#include "entry/clsVoucherShowParameter.h"
#include "host/clsLogin.h"
#include "platform/DemoData.h"

#include <benchmark/benchmark.h>

#include <map>

namespace {

// One database per backend and data shape, built once and kept for the whole run.
struct Fixture
{
    std::unique_ptr<BenchDatabase> db;
    std::shared_ptr<clsLogin> login;
    int firstId = 0;
};

Fixture &fixture(Backend backend, const QString &shape, int vouchers, int lines)
{
    std::map<QString, Fixture> &cache = benchCache<QString, Fixture>();
    const QString key = QStringLiteral("%1/%2").arg(int(backend)).arg(shape);
    auto it = cache.find(key);
    if (it != cache.end())
        return it->second;
    Fixture f;
    f.db = std::make_unique<BenchDatabase>(backend);
    if (f.db->available()) {
        auto first = DemoData::generateVouchers(f.db->cnn(), vouchers, lines);
        if (first)
            f.firstId = *first;
        auto session = f.db->login();
        if (session)
            f.login = *session;
    }
    return cache.emplace(key, std::move(f)).first->second;
}

void BM_LoadVoucher(benchmark::State &state)
{
    const int lines = int(state.range(1));
    Fixture &f = fixture(backendArg(state), QStringLiteral("load%1").arg(lines), 3, lines);
    if (!f.login) {
        state.SkipWithError("no database");
        return;
    }
    auto sp = std::make_shared<clsVoucherShowParameter>();
    clsVoucherCo engine;
    engine.Initial(f.login, QStringLiteral("1801"), sp);
    for (auto _ : state) {
        sp->ID = f.firstId + 1;
        engine.GetVoucherData();
        benchmark::DoNotOptimize(engine.domBody().rowCount());
    }
    if (engine.domBody().rowCount() != lines)
        state.SkipWithError("wrong number of lines loaded");
    state.counters["lines"] = lines;
}

void BM_VoucherMove(benchmark::State &state)
{
    const int vouchers = int(state.range(1));
    Fixture &f = fixture(backendArg(state), QStringLiteral("move%1").arg(vouchers), vouchers, 5);
    if (!f.login) {
        state.SkipWithError("no database");
        return;
    }
    auto sp = std::make_shared<clsVoucherShowParameter>();
    sp->ID = f.firstId + vouchers / 2;
    clsVoucherCo engine;
    engine.Initial(f.login, QStringLiteral("1801"), sp);
    engine.GetVoucherData();
    bool forward = true;
    for (auto _ : state) {
        auto moved = engine.VoucherMove(forward ? evmsMoveNext : evmsMovePrevious);
        if (!moved) {
            state.SkipWithError(qPrintable(moved.error()));
            break;
        }
        forward = !forward;
    }
    state.counters["vouchers"] = vouchers;
}

} // namespace

BENCHMARK(BM_LoadVoucher)->Apply([](auto *b) { addBackendArgs(b, {20, 1000, 10000}, benchmark::kMicrosecond); });
BENCHMARK(BM_VoucherMove)->Apply([](auto *b) { addBackendArgs(b, {1000, 100000}, benchmark::kMicrosecond, 20); });
