#include "BenchArgs.h"

#include "BenchDatabase.h"

#include <QByteArray>

#include <algorithm>

bool quickRun()
{
    const QByteArray quick = qgetenv("ORVANE_BENCH_QUICK");
    return !quick.isEmpty() && quick != "0";
}

int benchSize(int normal, int quick)
{
    return quickRun() ? quick : normal;
}

void addBackendArgs(benchmark::internal::Benchmark *b, std::initializer_list<int64_t> sizes, benchmark::TimeUnit unit,
                    int64_t quickSize)
{
    const bool quick = quickRun();
    const int64_t smallest = sizes.size() == 0 ? 0 : *std::min_element(sizes.begin(), sizes.end());
    for (int backend : {0, 1}) {
        if (backend == 1 && !postgresAvailable())
            continue;
        if (quick) {
            b->Args({backend, quickSize > 0 ? quickSize : smallest});
            continue;
        }
        for (int64_t size : sizes)
            b->Args({backend, size});
    }
    b->ArgNames({"pg", "n"})->Unit(unit);
    quickIterations(b);
}

void quickIterations(benchmark::internal::Benchmark *b)
{
    if (quickRun())
        b->Iterations(1);
}

Backend backendArg(const benchmark::State &state)
{
    return state.range(0) == 0 ? Backend::Sqlite : Backend::Postgres;
}
