#pragma once

#include "platform/Backend.h"

#include <benchmark/benchmark.h>

#include <initializer_list>

// True in a quick run (the environment variable ORVANE_BENCH_QUICK set to anything but "0" or
// empty): every benchmark runs once on small data, so that a benchmark that crashes, no longer
// builds or reports an error fails CI within a few minutes. Its timings mean nothing.
bool quickRun();

// `normal`, or `quick` in a quick run: for sizes a benchmark fixes itself.
int benchSize(int normal, int quick);

// Arguments of a benchmark run on each backend: range(0) is the backend (0 SQLite, 1 PostgreSQL,
// the latter only when a server is given), range(1) the size. Use with ->Apply. A quick run uses
// `quickSize` alone (the smallest of `sizes` when it is 0) and one iteration.
void addBackendArgs(benchmark::internal::Benchmark *b, std::initializer_list<int64_t> sizes, benchmark::TimeUnit unit,
                    int64_t quickSize = 0);

// One iteration in a quick run, for benchmarks that set their arguments themselves.
void quickIterations(benchmark::internal::Benchmark *b);

// The backend a run was given by addBackendArgs.
Backend backendArg(const benchmark::State &state);
