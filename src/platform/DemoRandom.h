#pragma once

#include <QList>
#include <QtGlobal>

#include <cmath>

// A small deterministic random source (SplitMix64) for demo data: the same seed gives the same
// sequence on every platform, compiler and Qt version, so demo databases are identical everywhere.
class DemoRandom
{
public:
    explicit DemoRandom(quint64 seed)
        : m_state(seed)
    {}

    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // lo..hi, both included.
    int bounded(int lo, int hi) { return lo + int(next() % quint64(hi - lo + 1)); }

    // lo..hi rounded to the given number of decimals.
    double amount(double lo, double hi, int decimals = 2)
    {
        const double unit = double(next() >> 11) / double(1ull << 53);
        const double scale = std::pow(10.0, decimals);
        return std::round((lo + (hi - lo) * unit) * scale) / scale;
    }

    bool chance(int percent) { return bounded(1, 100) <= percent; }

    template<typename T> const T &pick(const QList<T> &list) { return list.at(bounded(0, int(list.size()) - 1)); }

private:
    quint64 m_state;
};
