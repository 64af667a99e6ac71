// The top-100 chart of a play log of 1,000,000 lines (10,000 distinct tracks) against the strongest
// plain shell count of the same file: awk counting the lines after their date in a hash, then only
// the 10,000 totals sorted (`awk ... | sort -rn | head -100`, in the C locale).

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

#include "jukebox/logdateformat.h"
#include "keepingreporter.h"
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

void BM_AwkHashCount(benchmark::State& state)
{
    for (auto _ : state) {
        QProcess shell;
        shell.start(QStringLiteral("sh"),
                    {QStringLiteral("-c"),
                     QStringLiteral("LC_ALL=C awk '{ sub(/^[^\\t]*\\t/, \"\"); n[$0]++ } "
                                    "END { for (k in n) print n[k] \"\\t\" k }' \"$0\" | "
                                    "LC_ALL=C sort -rn | head -100"),
                     logPath});
        shell.waitForFinished(-1);
        benchmark::DoNotOptimize(shell.readAllStandardOutput());
    }
}
BENCHMARK(BM_AwkHashCount)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

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
    const double chart = reporter.times["BM_Chart/iterations:3/real_time"];
    const double awk = reporter.times["BM_AwkHashCount/iterations:3/real_time"];
    if (chart > 0)
        std::printf("chart of %d lines: %.0f ms, awk hash count: %.0f ms, %.2fx faster (goal: faster: %s)\n",
                    kLines, chart, awk, awk / chart, chart < awk ? "met" : "NOT met");
    return 0;
}
