#pragma once

#include "platform/Backend.h"

#include <benchmark/benchmark.h>

#include <initializer_list>

// Arguments of a benchmark run on each backend: range(0) is the backend (0 SQLite, 1 PostgreSQL,
// the latter only when a server is given), range(1) the size. Use with ->Apply.
void addBackendArgs(benchmark::internal::Benchmark *b, std::initializer_list<int64_t> sizes, benchmark::TimeUnit unit);

// The backend a run was given by addBackendArgs.
Backend backendArg(const benchmark::State &state);
