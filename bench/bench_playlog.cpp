// The top-100 chart of a play log of 1,000,000 lines (10,000 distinct tracks) against the shell
// pipeline `cut -f2- | sort | uniq -c | sort -rn | head -100` on the same file.

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

#include "jukebox/logdateformat.h"
#include "jukebox/logfile.h"
#include "platform/waithelper.h"

namespace {

constexpr int kLines = 1'000'000;
constexpr int kTracks = 10'000;

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

void BM_Chart(benchmark::State& state)
{
    for (auto _ : state) {
        jukebox::tlogfile log(logPath, nullptr);
        log.Resume();
        platform::waitForThread(log);
    }
}
BENCHMARK(BM_Chart)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_ShellPipeline(benchmark::State& state)
{
    for (auto _ : state) {
        QProcess shell;
        shell.start(QStringLiteral("sh"),
                    {QStringLiteral("-c"),
                     QStringLiteral("cut -f2- \"$0\" | sort | uniq -c | sort -rn | head -100"), logPath});
        shell.waitForFinished(-1);
        benchmark::DoNotOptimize(shell.readAllStandardOutput());
    }
}
BENCHMARK(BM_ShellPipeline)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// Keeps the real time per iteration of each benchmark, to print the ratio at the end.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    logPath = dir.filePath(QStringLiteral("plays.log"));
    writeLog(logPath);

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double chart = reporter.times["BM_Chart/iterations:3/real_time"];
    const double pipeline = reporter.times["BM_ShellPipeline/iterations:3/real_time"];
    if (chart > 0)
        std::printf("chart of %d lines: %.0f ms, shell pipeline: %.0f ms, %.1fx faster (goal: 5x)\n", kLines,
                    chart, pipeline, pipeline / chart);
    return 0;
}
