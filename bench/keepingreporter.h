#pragma once

// Console reporters of the benchmarks. CheckingReporter fails the run (bench::checkWork) for each
// benchmark that skipped with an error, since its figure then times work not done; KeepingReporter
// also keeps each benchmark's real time per iteration (in the unit the benchmark reports in), so a
// program can print its figures beside their baselines after the run.

#include <benchmark/benchmark.h>
#include <map>
#include <string>
#include <vector>

#include "goal.h"

class CheckingReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            bench::checkWork(!run.error_occurred, run.benchmark_name() + ": " + run.error_message);
        ConsoleReporter::ReportRuns(runs);
    }
};

class KeepingReporter : public CheckingReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration) times[run.benchmark_name()] = run.GetAdjustedRealTime();
        CheckingReporter::ReportRuns(runs);
    }

    std::map<std::string, double> times;
};

namespace bench {

// `done` as given; when false the benchmark is marked failed with `why` (CheckingReporter then
// fails the run). A skip does not end the benchmark's loop: on false the loop is to end there, as
// in `if (!bench::checkIteration(state, done, why)) break;`.
inline bool checkIteration(benchmark::State& state, bool done, const char* why)
{
    if (!done) state.SkipWithError(why);
    return done;
}

// Runs the benchmarks the command line names, each checked as above.
inline void runCheckedBenchmarks(int& argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CheckingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
}

} // namespace bench
