// The main of every benchmark program: runs the benchmarks, then releases the data they kept
// (BenchData.h) while Qt still stands, then the application object.
//
// In a quick run (quickRun(), see BenchArgs.h) a benchmark that reports an error fails the
// program, so that CI notices a benchmark that no longer works, not only one that crashes.
#include "BenchArgs.h"
#include "BenchData.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// The console's report, counting the runs that ended in an error.
class ErrorCountingReporter final : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.error_occurred)
                ++errors;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    int errors = 0;
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    int errors = 0;
    if (quickRun()) {
        ErrorCountingReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        errors = reporter.errors;
    } else {
        benchmark::RunSpecifiedBenchmarks();
    }
    releaseBenchData();
    benchmark::Shutdown();
    delete QCoreApplication::instance();
    if (errors > 0) {
        std::fprintf(stderr, "%d benchmark run(s) reported an error\n", errors);
        return 1;
    }
    return 0;
}
