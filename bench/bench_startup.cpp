// Start-up to the jukebox window with a library of 10,000 albums (ten tracks and a "title.dat"
// each), in this process on the offscreen platform, beside the bare album scan of the same library
// measured in the same run. It leaves out what a guest also waits for (exec, linking, the X
// connection, mapping the window): bench_startup_process measures that.

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <memory>

#include "benchlibrary.h"
#include "goal.h"
#include "keepingreporter.h"
#include "jukebox/jukeboxform.h"
#include "library/albumstore.h"
#include "library/global.h"
#include "platform/mpvmediaplayer.h"
#include "platform/programfolder.h"
#include "app/application.h"

namespace {

constexpr int kAlbums = 10'000;
double startupSeconds = 0;
double scanSeconds = 0;

// The program folder with its settings and, beside it, the library.
QString programFolder()
{
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        made = true;
        bench::writeAlbumLibrary(dir.filePath(QStringLiteral("music")), kAlbums);
        QDir().mkpath(dir.filePath(QStringLiteral("cache")));
        bench::touchFile(
            dir.filePath(QStringLiteral("Musetra.ini")),
            QStringLiteral("[main]\nPath=%1\nCachePath=%2\nautoplay=0\n")
                .arg(dir.filePath(QStringLiteral("music")), dir.filePath(QStringLiteral("cache")))
                .toUtf8());
    }
    return dir.path();
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_StartupToJukebox(benchmark::State& state)
{
    platform::setProgramFolder(programFolder());
    double total = 0;
    for (auto _ : state) {
        library::resetGlobals();
        const auto start = std::chrono::steady_clock::now();
        auto windows =
            std::make_unique<app::Application>([] { return std::make_unique<platform::MpvMediaPlayer>(); });
        const double seconds = secondsSince(start);
        state.SetIterationTime(seconds);
        total += seconds;
        const bool found = library::albumcount == kAlbums;
        const bool shown = jukebox::jukebox && jukebox::jukebox->isVisible();
        windows.reset();
        if (!bench::checkIteration(state, found, "start-up found the wrong number of albums") ||
            !bench::checkIteration(state, shown, "the jukebox did not show"))
            break;
    }
    startupSeconds = total / double(state.iterations());
}

void BM_ScanOnly(benchmark::State& state)
{
    library::config.path = programFolder() + QStringLiteral("/music/");
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        const bool found = library::scanalbumfolders({});
        benchmark::DoNotOptimize(found);
    }
    scanSeconds = secondsSince(start) / double(state.iterations());
}

BENCHMARK(BM_StartupToJukebox)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_ScanOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setQuitOnLastWindowClosed(false);
    bench::runCheckedBenchmarks(argc, argv);
    // Making the windows may cost twice as much again as reading the library they show.
    bench::reportRatioGoal("in-process start-up, 10,000 albums, vs the scan", startupSeconds * 1000,
                           scanSeconds * 1000, "ms", 3.0);
    return bench::exitStatus();
}
