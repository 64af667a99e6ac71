#pragma once

// A benchmark's verdict on one of its goals, printed as one "goal|" line that scripts/run-benchmarks
// gathers into its closing table. A time goal is a ratio of the program's figure to a baseline
// measured in the same run, so a busy machine slows both alike; a memory goal may be a budget.
// A figure or baseline that was not measured never meets its goal and fails the run (said only
// when no check failed before it: it then follows from the failure already said).

#include <cstdio>
#include <string>

namespace bench {

// The count of checks on timed work that failed. A figure of work not done means nothing, so each
// one prints a "work not done|" line and the program's exit status (exitStatus) fails the run.
inline int& failedChecks()
{
    static int count = 0;
    return count;
}

// `done` as given; when false the failure is printed and counted.
inline bool checkWork(bool done, const std::string& what)
{
    if (!done) {
        std::printf("work not done|%s\n", what.c_str());
        std::fflush(stdout);
        ++failedChecks();
    }
    return done;
}

inline int exitStatus()
{
    return failedChecks() > 0 ? 1 : 0;
}

// checkWork for a figure or baseline: a missing one fails the run, said only when nothing failed
// before.
inline bool checkMeasured(bool measured, const std::string& what)
{
    if (!measured && failedChecks() > 0) return false;
    return checkWork(measured, what);
}

inline bool printGoal(const char* what, double figure, double baseline, const char* unit,
                      const std::string& goal, bool met)
{
    // A row without its figure is a row absent.
    checkMeasured(figure > 0, std::string(what) + ": no figure measured");
    const double ratio = baseline > 0 ? figure / baseline : 0;
    std::printf("goal|%s|%.2f %s|%.2f %s|%.2f|%s|%s\n", what, figure, unit, baseline, unit, ratio,
                goal.c_str(), met ? "met" : "NOT met");
    std::fflush(stdout);
    return met;
}

// Met when `figure` is at most `maxRatio` times `baseline`.
inline bool reportRatioGoal(const char* what, double figure, double baseline, const char* unit,
                            double maxRatio)
{
    char goal[32];
    std::snprintf(goal, sizeof goal, "ratio <= %.2f", maxRatio);
    const bool measured =
        checkMeasured(baseline > 0, std::string(what) + ": no baseline measured") && figure > 0;
    return printGoal(what, figure, baseline, unit, goal, measured && figure <= maxRatio * baseline);
}

// Met when `figure` (beside `baseline`) stays under `budget`, all three in `unit`.
inline bool reportBudgetGoal(const char* what, double figure, double baseline, const char* unit,
                             double budget)
{
    char goal[32];
    std::snprintf(goal, sizeof goal, "< %.0f %s", budget, unit);
    return printGoal(what, figure, baseline, unit, goal, figure > 0 && figure < budget);
}

} // namespace bench
