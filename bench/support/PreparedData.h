#pragma once

#include "BenchArgs.h"
#include "BenchData.h"
#include "BenchDatabase.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <utility>

// The data a benchmark runs on, made once per key and kept for the program's run, so that only
// the first run of a key pays for generating it. Data has a `std::unique_ptr<BenchDatabase> db`
// and a QString `error`; on first use it gets a fresh database of `backend` and `prepare(data)`
// fills it (setting `error` when it cannot). A database that cannot be had leaves its reason in
// `error` and is not prepared. The data is released after the runs (see BenchData.h).
template<typename Data, typename Key, typename Prepare>
Data &preparedOnce(const Key &key, Backend backend, Prepare prepare)
{
    std::map<Key, Data> &made = benchCache<Key, Data>();
    if (auto it = made.find(key); it != made.end())
        return it->second;
    Data &data = made[key];
    data.db = std::make_unique<BenchDatabase>(backend);
    if (!data.db->available())
        data.error = data.db->error();
    else
        prepare(data);
    return data;
}

// The same per (backend, size) of a run's arguments, for Data with `prepare(int size)`, after
// `startApplication` made the Qt application object the data needs. Answers nullptr when the
// database or the preparation failed; `error` says why.
template<typename Data> Data *preparedData(const benchmark::State &state, void (*startApplication)())
{
    startApplication();
    const int size = int(state.range(1));
    Data &data = preparedOnce<Data>(std::make_pair(int(state.range(0)), size), backendArg(state),
                                    [size](Data &d) { d.prepare(size); });
    return data.error.isEmpty() ? &data : nullptr;
}
