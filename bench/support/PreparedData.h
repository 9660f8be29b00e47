#pragma once

#include "BenchArgs.h"
#include "BenchDatabase.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <utility>

// The data a benchmark runs on, made once per (backend, size) of its arguments and kept for the
// program's run, so that only the first run of a pair pays for generating it. Data has a
// `std::unique_ptr<BenchDatabase> db`, a QString `error` and `prepare(int size)` that fills the
// database (setting `error` when it cannot). `startApplication` makes the Qt application object
// the data needs. Answers nullptr when the database or the preparation failed; `error` says why.
template<typename Data> Data *preparedData(const benchmark::State &state, void (*startApplication)())
{
    static std::map<std::pair<int, int>, Data> made;
    const auto key = std::make_pair(int(state.range(0)), int(state.range(1)));
    auto it = made.find(key);
    if (it == made.end()) {
        startApplication();
        Data &data = made[key];
        data.db = std::make_unique<BenchDatabase>(backendArg(state));
        if (!data.db->available())
            data.error = data.db->error();
        else
            data.prepare(int(state.range(1)));
        it = made.find(key);
    }
    return it->second.error.isEmpty() ? &it->second : nullptr;
}
