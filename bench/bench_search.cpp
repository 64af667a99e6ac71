// Search speed: a common word over 10,000 albums (100,000 titles) through the search panel, from
// the Search key to the last result row in the list, beside `grep -ril` over the same title files.

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <memory>

#include "controls/scrolllistbox.h"
#include "jukebox/editbox.h"
#include "jukebox/picturebox.h"
#include "jukebox/searchthread.h"
#include "jukebox/searchtrack.h"
#include "library/global.h"

namespace {

constexpr int kAlbums = 10000;
constexpr int kTitlesPerAlbum = 10;
const QString kWord = QStringLiteral("love");

double searchSeconds = 0;
double grepSeconds = 0;
int searchRows = 0;

// The library: album n holds ten titles, every third of them with the word.
QString libraryRoot()
{
    static std::unique_ptr<QTemporaryDir> dir;
    if (dir) return dir->path();
    dir = std::make_unique<QTemporaryDir>();
    library::album.resize(1);
    for (int n = 1; n <= kAlbums; ++n) {
        const library::talbumtype entry{QStringLiteral("Album %1").arg(n),
                                        QStringLiteral("Artist %1").arg(n)};
        library::album.append(entry);
        const QString folder = dir->filePath(entry.artist + QStringLiteral("__") + entry.album);
        QDir().mkpath(folder);
        QByteArray titles;
        for (int t = 1; t <= kTitlesPerAlbum; ++t)
            titles += (t % 3 == 0 ? "Love Song " : "Track title ") + QByteArray::number(t) + "\r\n";
        QFile file(folder + QStringLiteral("/title.dat"));
        if (file.open(QIODevice::WriteOnly)) file.write(titles);
    }
    library::albumcount = kAlbums;
    return dir->path();
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_SearchPanel(benchmark::State& state)
{
    library::config.path = libraryRoot();
    jukebox::ttracksearch panel(nullptr);
    panel.keywords->setText(kWord);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        panel.action_butClick(panel.action_but);
        // The window thread sleeps in its event loop, running the hand-overs, until the search ends.
        QEventLoop loop;
        QObject::connect(panel.st.get(), &QThread::finished, &loop, &QEventLoop::quit);
        if (!panel.st->isFinished()) loop.exec();
        QCoreApplication::processEvents();
    }
    searchSeconds = secondsSince(start) / double(state.iterations());
    searchRows = panel.lb->items().count();
}

void BM_GrepTitleFiles(benchmark::State& state)
{
    const QString root = libraryRoot();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        QProcess grep;
        grep.setStandardOutputFile(QProcess::nullDevice());
        grep.start(QStringLiteral("grep"), {QStringLiteral("-ril"), kWord, root});
        if (!grep.waitForFinished(-1) || grep.exitCode() != 0) state.SkipWithError("grep failed");
    }
    grepSeconds = secondsSince(start) / double(state.iterations());
}

BENCHMARK(BM_SearchPanel)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GrepTitleFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\n%-8s %8s %12s %12s %8s  (goal: ratio <= 1.0)\n", "albums", "rows", "search ms", "grep ms",
                "ratio");
    if (searchSeconds > 0 && grepSeconds > 0)
        std::printf("%-8d %8d %12.1f %12.1f %8.2f\n", kAlbums, searchRows, searchSeconds * 1000,
                    grepSeconds * 1000, searchSeconds / grepSeconds);
    return 0;
}
