// Search speed through the running jukebox: a common word over 10,000 and over 50,000 albums (ten
// titles each, every third with the word), from the Search key to the last result row in the list,
// with the thumbnails loaded and showing as a guest finds them; beside `grep -ril` over the same
// title files, the runs alternated, medians. A 1 ms heartbeat notes the window thread's longest
// stretch away from its events while the search runs and its rows arrive; the Search press itself,
// which empties the previous list, is timed on its own.
// The search over 10,000 albums is run again with every core kept busy by spinning threads, beside
// grep under the same load: the end of a search on a loaded machine.
// Goals: the search within 1.5x grep at each size, so its cost grows as grep's does, quiet or
// loaded, and the window thread never away from its events for longer than bench::kFrameBlits
// full-window blits while the rows arrive.
// The work is checked: each search lists the rows it may (at most tsearchthread::kMaxRows) and
// counts the rest, so every matching title of every album is accounted for.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QRegularExpression>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "controls/scrolllistbox.h"
#include "eventwait.h"
#include "fullwindowblit.h"
#include "goal.h"
#include "heartbeat.h"
#include "jukebox/jukeboxform.h"
#include "mpvbench.h"
#include "platform/programfolder.h"
#include "searchroad.h"
#include "startedjukebox.h"

namespace {

constexpr int kSizes[] = {10'000, 50'000};
constexpr int kTitlesPerAlbum = 10;
constexpr int kRuns = 5;
constexpr double kGoalRatio = 1.5;
const QString kWord = QStringLiteral("love");
// The longest the cover loader may take to go through the largest library.
constexpr int kLoadBoundMs = 120'000;

// Every core kept busy while it lives: as many spinning threads as the machine has cores.
class CpuLoad
{
public:
    CpuLoad()
    {
        for (unsigned t = 0; t < std::max(1u, std::thread::hardware_concurrency()); ++t)
            threads_.emplace_back([this] {
                while (!stop_)
                    spins_.fetch_add(1, std::memory_order_relaxed);
            });
    }
    ~CpuLoad()
    {
        stop_ = true;
        for (std::thread& thread : threads_)
            thread.join();
    }
    CpuLoad(const CpuLoad&) = delete;
    CpuLoad& operator=(const CpuLoad&) = delete;

private:
    std::atomic<bool> stop_{false};
    std::atomic<quint64> spins_{0};
    std::vector<std::thread> threads_;
};

struct Figures
{
    int albums = 0;
    int rows = 0;
    int rowsFound = 0; // listed and counted beyond the list, as the message line says
    double searchMs = 0;
    double grepMs = 0;
    double longestBlockMs = 0;
    double longestPressMs = 0;
    double blitMs = 0;
    double loadedSearchMs = 0; // with every core kept busy
    double loadedGrepMs = 0;
};

// The rows the last search found: those listed plus the "N more not listed" of its message.
int rowsFound(const jukebox::ttracksearch& panel)
{
    const QRegularExpressionMatch more =
        QRegularExpression(QStringLiteral(", (\\d+) more not listed")).match(jukebox::oldmessage);
    return panel.lb->items().count() + (more.hasMatch() ? more.captured(1).toInt() : 0);
}

// Each album holds the word in every third title.
int expectedRows(int albums)
{
    return albums * (kTitlesPerAlbum / 3);
}

// A program folder whose settings point at `albums` album folders, each with its titles file.
void writeProgramFolder(const QString& folder, int albums)
{
    const QString music = folder + QStringLiteral("/music");
    QDir().mkpath(folder + QStringLiteral("/cache"));
    QDir().mkpath(music);
    QByteArray titles;
    for (int t = 1; t <= kTitlesPerAlbum; ++t)
        titles += (t % 3 == 0 ? "Love Song " : "Track title ") + QByteArray::number(t) + "\r\n";
    for (int n = 1; n <= albums; ++n) {
        const QString album = QStringLiteral("%1/Artist %2__Album %2").arg(music).arg(n);
        QDir().mkdir(album);
        QFile file(album + QStringLiteral("/title.dat"));
        if (file.open(QIODevice::WriteOnly)) file.write(titles);
    }
    writeText(folder + QStringLiteral("/Musetra.ini"),
              QStringLiteral("[main]\nPath=%1/\nCachePath=%2/cache\nautoplay=0\n").arg(music, folder));
}

// One search from the Search key, run from the event loop until its last row is listed: the ms, -1
// when it did not end within its bound. Kept in `figures`: the longest the Search press itself took
// (it empties the previous list) and the window thread's longest stretch away from its events while
// the rows arrived.
double searchMs(jukebox::ttracksearch& panel, Figures& figures)
{
    const Heartbeat heartbeat;
    QElapsedTimer clock;
    clock.start();
    const bool ended =
        runSearch(panel, [&] { figures.longestPressMs = std::max(figures.longestPressMs, msSince(clock)); });
    if (!bench::checkWork(ended, "a search ended within " + std::to_string(kSearchBoundMs / 1000) + " s"))
        return -1;
    const double ms = msSince(clock);
    const QVector<double>& gaps = heartbeat.gaps();
    if (!gaps.isEmpty())
        figures.longestBlockMs =
            std::max(figures.longestBlockMs, *std::max_element(gaps.begin(), gaps.end()));
    return ms;
}

// One grep over the title files: the ms, -1 when it failed or did not end within the search's bound.
double grepMs(const QString& root)
{
    QElapsedTimer clock;
    clock.start();
    QProcess grep;
    grep.setStandardOutputFile(QProcess::nullDevice());
    grep.start(QStringLiteral("grep"),
               {QStringLiteral("-ril"), kWord, QStringLiteral("--include=title.dat"), root});
    const bool ended = grep.waitForFinished(kSearchBoundMs);
    if (!ended) grep.kill();
    if (!bench::checkWork(ended && grep.exitCode() == 0, "grep -ril ran over the title files")) return -1;
    return msSince(clock);
}

// `runs` searches, each followed by a grep, until one fails: false when one did.
bool searchesBesideGreps(jukebox::ttracksearch& panel, const QString& root, Figures& figures,
                         std::vector<double>& searches, std::vector<double>& greps, int runs)
{
    for (int run = 0; run < runs; ++run) {
        searches.push_back(searchMs(panel, figures));
        if (searches.back() < 0) return false;
        greps.push_back(grepMs(root));
        if (greps.back() < 0) return false;
    }
    return true;
}

// The jukebox started over `albums` albums, with its thumbnails loaded and its search panel open;
// searches and greps alternated.
Figures measure(int albums)
{
    QTemporaryDir folder;
    writeProgramFolder(folder.path(), albums);
    platform::setProgramFolder(folder.path());
    Figures figures{albums};
    StartedJukebox started;
    jukebox::Tjukebox& jb = *jukebox::jukebox;
    jb.show();
    figures.blitMs = bench::fullWindowBlitMs();
    // The thumbnails show once the loader has gone through every album.
    if (!bench::checkWork(bench::waitUntil([&jb] { return !jb.VisualsPanelPanel->isHidden(); }, kLoadBoundMs),
                          "the cover loader went through every album within " +
                              std::to_string(kLoadBoundMs / 1000) + " s"))
        return figures;
    jukebox::ttracksearch& panel = openSearchPanel(jb, kWord);
    const QString root = folder.filePath(QStringLiteral("music"));
    Figures warming;
    std::vector<double> searches;
    std::vector<double> greps;
    // The first search and grep warm the page cache.
    if (!searchesBesideGreps(panel, root, warming, searches, greps, 1)) return figures;
    searches.clear();
    greps.clear();
    if (!searchesBesideGreps(panel, root, figures, searches, greps, kRuns)) return figures;
    figures.rows = panel.lb->items().count();
    figures.rowsFound = rowsFound(panel);
    figures.searchMs = median(searches);
    figures.grepMs = median(greps);
    if (albums == kSizes[0]) {
        const CpuLoad load;
        std::vector<double> loadedSearches;
        std::vector<double> loadedGreps;
        Figures ignored;
        if (!searchesBesideGreps(panel, root, ignored, loadedSearches, loadedGreps, kRuns)) return figures;
        figures.loadedSearchMs = median(loadedSearches);
        figures.loadedGrepMs = median(loadedGreps);
        bench::checkWork(rowsFound(panel) == expectedRows(albums), "the loaded search found every row");
    }
    return figures;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    std::vector<Figures> all;
    for (const int albums : kSizes) {
        all.push_back(measure(albums));
        if (bench::exitStatus() != 0) break; // the larger library would fail alike, and take longer
    }
    std::printf("\n%-8s %8s %10s %10s %7s %15s %15s  (medians of %d, alternated)\n", "albums", "rows",
                "search ms", "grep ms", "ratio", "rows arrive ms", "press ms", kRuns);
    for (const Figures& f : all)
        std::printf("%-8d %8d %10.1f %10.1f %7.2f %15.1f %15.1f\n", f.albums, f.rows, f.searchMs, f.grepMs,
                    f.searchMs / f.grepMs, f.longestBlockMs, f.longestPressMs);
    std::printf("(rows arrive: the window thread's longest stretch away from its events while the rows "
                "arrived; press: the longest Search press, which empties the previous list)\n");
    const Figures& small = all.front();
    const Figures& large = all.back();
    std::printf("growth %d -> %d albums: search %.2fx, grep %.2fx\n", small.albums, large.albums,
                large.searchMs / small.searchMs, large.grepMs / small.grepMs);
    for (const Figures& f : all) {
        const std::string albums = std::to_string(f.albums) + " albums";
        const int listable = std::min(expectedRows(f.albums), int(jukebox::tsearchthread::kMaxRows));
        bench::checkWork(f.rows == listable && f.rowsFound == expectedRows(f.albums),
                         "search of " + albums + " listed " + std::to_string(listable) + " rows and found " +
                             std::to_string(expectedRows(f.albums)) + " (listed " + std::to_string(f.rows) +
                             ", found " + std::to_string(f.rowsFound) + ")");
        if (f.loadedSearchMs > 0 || f.albums == kSizes[0]) {
            std::printf("%s, every core busy: search %.1f ms, grep %.1f ms (medians of %d)\n", albums.c_str(),
                        f.loadedSearchMs, f.loadedGrepMs, kRuns);
            bench::reportRatioGoal(("search's end, " + albums + ", every core busy, vs grep -ril").c_str(),
                                   f.loadedSearchMs, f.loadedGrepMs, "ms", kGoalRatio);
        }
        bench::reportRatioGoal(("search of " + albums + " vs grep -ril").c_str(), f.searchMs, f.grepMs, "ms",
                               kGoalRatio);
        bench::reportRatioGoal(("search rows arrive, " + albums + ": longest stretch vs blit").c_str(),
                               f.longestBlockMs, f.blitMs, "ms", bench::kFrameBlits);
    }
    return bench::exitStatus();
}
