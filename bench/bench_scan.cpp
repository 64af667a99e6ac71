// Album scan speed: scans generated libraries of 1,000 and 10,000 album folders (ten tracks and a
// "title.dat" each) and compares the time with `find DIR -maxdepth 2` walking the same tree.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>

#include "library/albumstore.h"
#include "library/global.h"

namespace {

constexpr int kTracksPerAlbum = 10;

struct Timing
{
    double scanSeconds = 0;
    double findSeconds = 0;
};
std::map<int, Timing> timings;

void touch(const QString& path, const QByteArray& content = {})
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(content);
}

// One generated library per size, made on first use and kept for the whole run.
QString libraryOf(int albums)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> libraries;
    auto& dir = libraries[albums];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        QByteArray titles;
        for (int t = 1; t <= kTracksPerAlbum; ++t)
            titles += "Track title " + QByteArray::number(t) + '\n';
        for (int n = 0; n < albums; ++n) {
            // Mixed case and a spread of first letters, so the name ordering has real work to do.
            const QString name = QStringLiteral("%1rtist %2__Album %3")
                                     .arg(QChar(n % 2 ? u'a' : u'A'))
                                     .arg((n * 7919) % albums)
                                     .arg(n);
            const QString folder = dir->filePath(name);
            QDir().mkpath(folder);
            for (int t = 1; t <= kTracksPerAlbum; ++t)
                touch(folder + QStringLiteral("/track%1.mp3").arg(t, 2, 10, QLatin1Char('0')));
            touch(folder + QStringLiteral("/title.dat"), titles);
        }
    }
    return dir->path();
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_ScanAlbumFolders(benchmark::State& state)
{
    const int albums = static_cast<int>(state.range(0));
    library::config.path = libraryOf(albums) + QLatin1Char('/');
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        const bool found = library::scanalbumfolders({});
        benchmark::DoNotOptimize(found);
        if (library::albumcount != albums) state.SkipWithError("scan found the wrong number of albums");
    }
    timings[albums].scanSeconds = secondsSince(start) / double(state.iterations());
    state.counters["albums/s"] = benchmark::Counter(albums, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_FindMaxDepth2(benchmark::State& state)
{
    const int albums = static_cast<int>(state.range(0));
    const QString root = libraryOf(albums);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        QProcess find;
        find.setStandardOutputFile(QProcess::nullDevice());
        find.start(QStringLiteral("find"), {root, QStringLiteral("-maxdepth"), QStringLiteral("2")});
        if (!find.waitForFinished(-1) || find.exitCode() != 0) state.SkipWithError("find failed");
    }
    timings[albums].findSeconds = secondsSince(start) / double(state.iterations());
    state.counters["albums/s"] = benchmark::Counter(albums, benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_ScanAlbumFolders)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FindMaxDepth2)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\n%-8s %14s %14s %8s  (goal: ratio <= 1.5)\n", "albums", "scan albums/s", "find albums/s",
                "ratio");
    for (const auto& [albums, timing] : timings) {
        if (timing.scanSeconds <= 0 || timing.findSeconds <= 0) continue;
        std::printf("%-8d %14.0f %14.0f %8.2f\n", albums, albums / timing.scanSeconds,
                    albums / timing.findSeconds, timing.scanSeconds / timing.findSeconds);
    }
    return 0;
}
