// The top-100 chart of a play log of 1,000,000 lines (10,000 distinct tracks) against its floor: a
// compiled hash count of the same file (the lines counted after their date in a hash table, then
// the 100 largest counts picked), without the chart's date checks, decoding and list.

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "jukebox/logdateformat.h"
#include "eventwait.h"
#include "goal.h"
#include "keepingreporter.h"
#include "jukebox/logfile.h"

namespace {

constexpr int kLines = 1'000'000;
constexpr int kTracks = 10'000;
constexpr int kChartRows = 100;
// The longest the chart may take over the log.
constexpr int kChartBoundMs = 60'000;

QString logPath;

void writeLog(const QString& path)
{
    const QDateTime now = QDateTime::currentDateTime();
    const jukebox::LogDateFormat format(QLocale::system(), now.date().year());
    QRandomGenerator random(7);
    QByteArray bytes;
    // A log is appended as tracks are played: twenty days, in time order.
    const QDateTime start = now.addDays(-20);
    for (int i = 0; i < kLines; ++i) {
        const int track = static_cast<int>(random.bounded(kTracks));
        const QDateTime at = start.addSecs(static_cast<qint64>(i) * 20 * 24 * 3600 / kLines);
        bytes += (format.write(at.date(), at.time()) +
                  QStringLiteral("\t\"Artist %1\"\t\"Album %2\"\t\"Track number %3\"\n")
                      .arg(track / 10)
                      .arg(track / 5)
                      .arg(track))
                     .toUtf8();
    }
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

// The chart list as the window gets it: the rows handed over.
class CountingChart : public jukebox::Top100List
{
public:
    void clearItems() override { rows = 0; }
    void addItem(const QString&) override { ++rows; }

    int rows = 0;
};

void BM_Chart(benchmark::State& state)
{
    for (auto _ : state) {
        CountingChart chart;
        jukebox::tlogfile log(logPath, &chart);
        log.Resume();
        if (!bench::checkIteration(state, bench::waitForEnd(log, kChartBoundMs), "the chart did not end") ||
            !bench::checkIteration(state, chart.rows == kChartRows,
                                   "the chart did not list the 100 most played"))
            break;
    }
}
BENCHMARK(BM_Chart)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The lines of `bytes`, each without its date and line end, counted.
std::unordered_map<std::string_view, int> countAfterDates(std::string_view bytes)
{
    std::unordered_map<std::string_view, int> counts;
    while (!bytes.empty()) {
        const size_t end = std::min(bytes.find('\n'), bytes.size());
        const std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(std::min(end + 1, bytes.size()));
        const size_t tab = line.find('\t');
        if (tab != std::string_view::npos) ++counts[line.substr(tab + 1)];
    }
    return counts;
}

void BM_CompiledHashCount(benchmark::State& state)
{
    for (auto _ : state) {
        QFile file(logPath);
        if (!bench::checkIteration(state, file.open(QIODevice::ReadOnly), "cannot read the log")) break;
        const QByteArray bytes = file.readAll();
        const std::unordered_map<std::string_view, int> counts =
            countAfterDates(std::string_view(bytes.constData(), size_t(bytes.size())));
        std::vector<std::pair<int, std::string_view>> totals;
        totals.reserve(counts.size());
        for (const auto& [line, count] : counts)
            totals.emplace_back(count, line);
        const size_t top = std::min<size_t>(100, totals.size());
        std::partial_sort(totals.begin(), totals.begin() + top, totals.end(), std::greater<>());
        benchmark::DoNotOptimize(totals.data());
    }
}
BENCHMARK(BM_CompiledHashCount)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    logPath = dir.filePath(QStringLiteral("plays.log"));
    writeLog(logPath);

    benchmark::Initialize(&argc, argv);
    KeepingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const double chart = reporter.times["BM_Chart/iterations:3/real_time"];
    const double floor = reporter.times["BM_CompiledHashCount/iterations:3/real_time"];
    // The chart adds its date checks, decoding and list to the count: at most twice its time.
    bench::reportRatioGoal("top-100 chart of 1,000,000 lines vs hash count", chart, floor, "ms", 2.0);
    return bench::exitStatus();
}
