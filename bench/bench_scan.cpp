// Album scan speed: scans generated libraries of 1,000 and 10,000 album folders (ten tracks and a
// "title.dat" each) and compares the time with the floor of the same work in this process: the
// library folder read once (readdir) and the "title.dat" of each album folder looked up (stat),
// with no names turned into text, split or ordered.

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <string>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <map>
#include <memory>
#include <string>
#include <sys/stat.h>

#include "benchlibrary.h"
#include "goal.h"
#include "keepingreporter.h"
#include "library/albumstore.h"
#include "library/global.h"

namespace {

struct Timing
{
    double scanSeconds = 0;
    double floorSeconds = 0;
};
std::map<int, Timing> timings;

// One generated library per size, made on first use and kept for the whole run.
QString libraryOf(int albums)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> libraries;
    auto& dir = libraries[albums];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        bench::writeAlbumLibrary(dir->path(), albums);
    }
    return dir->path();
}

// The system calls the scan cannot do without: the album folders read from the library folder and
// each one's "title.dat" looked up. The number of albums that have one.
int readdirFloor(const std::string& root)
{
    DIR* folder = opendir(root.c_str());
    if (!folder) return -1;
    int found = 0;
    struct stat info
    {
    };
    while (const dirent* entry = readdir(folder)) {
        if (entry->d_type != DT_DIR || !std::strstr(entry->d_name, "__")) continue;
        const std::string titles = root + '/' + entry->d_name + "/title.dat";
        if (stat(titles.c_str(), &info) == 0) ++found;
    }
    closedir(folder);
    return found;
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
        if (!bench::checkIteration(state, library::albumcount == albums,
                                   "scan found the wrong number of albums"))
            break;
    }
    timings[albums].scanSeconds = secondsSince(start) / double(state.iterations());
    state.counters["albums/s"] = benchmark::Counter(albums, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ReaddirFloor(benchmark::State& state)
{
    const int albums = static_cast<int>(state.range(0));
    const std::string root = libraryOf(albums).toStdString();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        if (!bench::checkIteration(state, readdirFloor(root) == albums,
                                   "the floor found the wrong number of albums"))
            break;
    }
    timings[albums].floorSeconds = secondsSince(start) / double(state.iterations());
    state.counters["albums/s"] = benchmark::Counter(albums, benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_ScanAlbumFolders)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReaddirFloor)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    bench::runCheckedBenchmarks(argc, argv);
    std::printf("\n%-8s %14s %15s %8s\n", "albums", "scan albums/s", "floor albums/s", "ratio");
    for (const auto& [albums, timing] : timings) {
        if (timing.scanSeconds <= 0 || timing.floorSeconds <= 0) continue;
        std::printf("%-8d %14.0f %15.0f %8.2f\n", albums, albums / timing.scanSeconds,
                    albums / timing.floorSeconds, timing.scanSeconds / timing.floorSeconds);
    }
    for (const auto& [albums, timing] : timings) {
        const std::string what = "scan of " + std::to_string(albums) + " albums vs readdir and stat";
        bench::reportRatioGoal(what.c_str(), timing.scanSeconds * 1000, timing.floorSeconds * 1000, "ms",
                               1.5);
    }
    return bench::exitStatus();
}
