// Album pages with huge covers: a library of 8 albums (every one on each page), four of them with a
// progressive JPEG cover of 10,000 x 10,000 pixels. The jukebox is started, left until its covers and
// thumbnails are made, and stepped one page on; its peak resident set from the step until every cover
// of the new page is made, beside its resident set before the step.
// Goal: the peak under the idle budget of bench_idlememory at 1024 x 768 (120 MB) plus 100 MB.
// The work is checked: the step reached the next page and every cover of it was made.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <malloc.h>

#include "benchlibrary.h"
#include "goal.h"
#include "controls/ticker.h"
#include "jukebox/jukeboxform.h"
#include "jukebox/pageslide.h"
#include "noisyjpeg.h"
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

// Runs the event loop until `done`, for two minutes at most; whether it is.
bool waitUntil(const std::function<bool()>& done)
{
    QElapsedTimer waited;
    waited.start();
    while (!done() && !waited.hasExpired(120'000))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    return done();
}

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
    bench::checkWork(waitUntil([&jb] { return !jb.coversPending() && !jb.VisualsPanelPanel->isHidden(); }),
                     "the first page's covers and the thumbnails were made");
    malloc_trim(0);
    const double before = statusMb("VmRSS:");
    const bool peakReset = resetPeak();

    const int page = jukebox::currentalbum;
    uint16_t key = 0;
    jb.pageForward(key);
    // The arrow is let go at once: no further step follows.
    jb.navbuttimer->setEnabled(false);
    const bool stepped = jukebox::currentalbum != page;
    const bool made = waitUntil([&jb] { return !jb.coversPending(); });
    const double peak = statusMb("VmHWM:");
    std::printf("resident before the step %.0f MB, peak until its covers were made %.0f MB\n", before, peak);
    bench::checkWork(peakReset, "the peak resident set started again at the step");
    bench::checkWork(stepped, "the step reached the next page");
    bench::checkWork(made, "every cover of the next page was made");
    bench::reportBudgetGoal("page of four 10,000-px progressive covers: peak MB (before beside)", peak,
                            before, "MB", kIdleBudgetMb + kAboveIdleMb);
    return bench::exitStatus();
}
