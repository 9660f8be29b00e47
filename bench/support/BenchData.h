#pragma once

#include <functional>
#include <map>

// What the benchmarks of a program share and keep for the whole run (databases, sessions, windows)
// lives until the runs are over and is then released by the program's main (BenchMain.cpp), while
// the Qt application object and Qt's database connections still stand. A static object would be
// destroyed at exit, after Qt's own globals: closing a database connection then crashes the
// program, and the benchmark run stops there.

// Runs `release` when the benchmarks are done, before the application object goes; the last one
// given runs first.
void atBenchEnd(std::function<void()> release);
// Runs what atBenchEnd was given and forgets it; called by main.
void releaseBenchData();

// One T for the program's run, made on first use and released after the runs.
template<typename T> T &benchData()
{
    static T *data = nullptr;
    if (!data) {
        data = new T;
        atBenchEnd([] {
            delete data;
            data = nullptr;
        });
    }
    return *data;
}

// One map of Data by Key for the program's run, released after the runs.
template<typename Key, typename Data> std::map<Key, Data> &benchCache()
{
    return benchData<std::map<Key, Data>>();
}
