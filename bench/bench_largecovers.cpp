// Album pages with huge covers: a library of 8 albums (every one on each page), four of them with a
// progressive JPEG cover of 10,000 x 10,000 pixels. The jukebox is started, left until its covers and
// thumbnails are made, and stepped one page on; its peak resident set from the step until every cover
// of the new page is made, beside its resident set before the step.
// Goal: the peak under the idle budget of bench_idlememory at 1024 x 768 (120 MB) plus 100 MB.
// The work is checked: the step slid to the next page, every cover of it was made, and the album
// area shows the new page as it shows when drawn afresh.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <malloc.h>

#include "benchlibrary.h"
#include "goal.h"
#include "jukebox/jukeboxform.h"
#include "jukebox/pageslide.h"
#include "noisyjpeg.h"
#include "pagestep.h"
#include "platform/programfolder.h"
#include "startedjukebox.h"

namespace {

constexpr int kAlbums = 8;
constexpr int kHugeCovers = 4;
constexpr int kHugeSide = 10'000;
constexpr double kIdleBudgetMb = 120;
constexpr double kAboveIdleMb = 100;

// A progressive JPEG of kHugeSide square, as large on disk as such scans are.
QByteArray hugeProgressiveCover()
{
    return noisyJpeg(kHugeSide, kHugeSide, true);
}

// Resident and peak resident MB of this process.
double statusMb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field)) return line.simplified().split(' ').value(1).toDouble() / 1024;
    return 0;
}

// Starts the peak resident set again from the resident set now.
bool resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

// The longest the covers of a page may take to be made.
constexpr int kCoversBoundMs = 120'000;

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    const QString music = folder.filePath(QStringLiteral("music"));
    bench::installJukebox(folder.path(), QCoreApplication::applicationFilePath(), kAlbums);
    {
        const QByteArray cover = hugeProgressiveCover();
        std::printf("cover: %d x %d progressive JPEG, %.1f MB\n", kHugeSide, kHugeSide, cover.size() / 1e6);
        const QStringList albums = QDir(music).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (int n = 0; n < kHugeCovers && n < albums.size(); ++n)
            bench::touchFile(music + QLatin1Char('/') + albums.at(n) + QStringLiteral("/title.jpg"), cover);
    }
    malloc_trim(0);
    platform::setProgramFolder(folder.path());
    StartedJukebox started;
    jukebox::Tjukebox& jb = *jukebox::jukebox;
    jb.resize(1024, 768);
    jb.show();
    jb.pageSlide().setFrameInterval(0);
    if (!bench::checkWork(
            bench::waitUntil([&jb] { return !jb.coversPending() && !jb.VisualsPanelPanel->isHidden(); },
                             kCoversBoundMs),
            "the first page's covers and the thumbnails were made"))
        return bench::exitStatus();
    malloc_trim(0);
    const double before = statusMb("VmRSS:");
    const bool peakReset = resetPeak();

    const int page = jukebox::currentalbum;
    const bool stepped = bench::stepPage(jb, true);
    const bool made = bench::waitUntil([&jb] { return !jb.coversPending(); }, kCoversBoundMs);
    const double peak = statusMb("VmHWM:");
    std::printf("resident before the step %.0f MB, peak until its covers were made %.0f MB\n", before, peak);
    bench::checkWork(peakReset, "the peak resident set started again at the step");
    bench::checkWork(stepped, "the step slid to the next page");
    bench::checkWork(made, "every cover of the next page was made");
    bench::checkWork(made && bench::pageDrawn(jb, page), "the step drew the next page with its covers");
    bench::reportBudgetGoal("page of four 10,000-px progressive covers: peak MB (before beside)", peak,
                            before, "MB", kIdleBudgetMb + kAboveIdleMb);
    return bench::exitStatus();
}
