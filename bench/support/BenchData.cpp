#include "BenchData.h"

#include <vector>

namespace {

std::vector<std::function<void()>> &releases()
{
    // Never destroyed: it must outlive every static that might still register at exit.
    static auto *list = new std::vector<std::function<void()>>;
    return *list;
}

} // namespace

void atBenchEnd(std::function<void()> release)
{
    releases().push_back(std::move(release));
}

void releaseBenchData()
{
    std::vector<std::function<void()>> &list = releases();
    while (!list.empty()) {
        const std::function<void()> release = std::move(list.back());
        list.pop_back();
        release();
    }
}
