#pragma once

// A console reporter that also keeps each benchmark's real time per iteration (in the unit the
// benchmark reports in), so a program can print its figures beside their baselines after the run.

#include <benchmark/benchmark.h>
#include <map>
#include <string>
#include <vector>

class KeepingReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration) times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }

    std::map<std::string, double> times;
};
