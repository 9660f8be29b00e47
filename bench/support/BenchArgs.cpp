#include "BenchArgs.h"

#include "BenchDatabase.h"

void addBackendArgs(benchmark::internal::Benchmark *b, std::initializer_list<int64_t> sizes, benchmark::TimeUnit unit)
{
    for (int backend : {0, 1}) {
        if (backend == 1 && !postgresAvailable())
            continue;
        for (int64_t size : sizes)
            b->Args({backend, size});
    }
    b->ArgNames({"pg", "n"})->Unit(unit);
}

Backend backendArg(const benchmark::State &state)
{
    return state.range(0) == 0 ? Backend::Sqlite : Backend::Postgres;
}
