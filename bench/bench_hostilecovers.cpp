// Hostile covers through the running jukebox, each beside the same jukebox over a plain library of
// as many albums whose covers are 600-pixel squares:
// - start-up over eight albums with progressive JPEG covers of 10,000 x 1,900 pixels (19
//   megapixels): the longest stretch the window thread is kept from its events from the window's
//   showing until every cover and thumbnail is made, and the peak resident set of the process;
// - quick page steps over eight albums with baseline JPEG covers of 10,000 x 10,000 pixels (100
//   megapixels): a step every 100 ms, eight of them, and the longest stretch until the last page's
//   covers are made.
// A 1 ms heartbeat timer on the window thread notes the stretches.
// Goals: no stretch more than one frame (1/60 s) beyond the plain library's; the start's peak
// under the large-cover budget of bench_largecovers (120 MB idle + 100 MB).

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <string>
#include <utility>

#include "benchlibrary.h"
#include "controls/ticker.h"
#include "eventwait.h"
#include "goal.h"
#include "gradientcover.h"
#include "heartbeat.h"
#include "jukebox/jukeboxform.h"
#include "jukebox/pageslide.h"
#include "noisyjpeg.h"
#include "platform/memory.h"
#include "platform/programfolder.h"
#include "startedjukebox.h"

namespace {

constexpr int kAlbums = 8;
constexpr int kPlainSide = 600;
constexpr int kWideWidth = 10'000;
constexpr int kWideHeight = 1'900;
constexpr int kHugeSide = 10'000;
constexpr int kPageSteps = 8;
constexpr int kStepGapMs = 100;
constexpr double kFrameMs = 1000.0 / 60;
constexpr double kPeakBudgetMb = 220;

struct Figures
{
    double startMs = 0; // from the making of the windows until the jukebox shows
    double longestMs = 0;
    double peakMb = 0;
    bool done = false; // every cover (and at the start every thumbnail) was made
};

QByteArray plainJpeg(int n)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    gradientCover(n, kPlainSide).save(&buffer, "JPEG", 90);
    return buffer.data();
}

// A program folder over kAlbums albums with `cover(n)` as the cover of album n.
void writeProgramFolder(const QString& folder, const std::function<QByteArray(int)>& cover)
{
    bench::installJukebox(folder, QCoreApplication::applicationFilePath(), kAlbums);
    const QString music = folder + QStringLiteral("/music");
    const QStringList albums = QDir(music).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (int n = 0; n < albums.size(); ++n)
        bench::touchFile(music + QLatin1Char('/') + albums.at(n) + QStringLiteral("/title.jpg"), cover(n));
}

double peakMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.simplified().split(' ').value(1).toDouble() / 1024;
    return 0;
}

void resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly)) refs.write("5");
}

// The longest a wait for covers may take.
constexpr int kCoversBoundMs = 120'000;

void spinFor(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!clock.hasExpired(ms))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 1);
}

bool startMade(jukebox::Tjukebox& jb)
{
    return !jb.coversPending() && !jb.VisualsPanelPanel->isHidden() && !player::mainform->coverLoading();
}

double longest(const Heartbeat& beat)
{
    const QVector<double>& gaps = beat.gaps();
    return gaps.isEmpty() ? 0 : *std::max_element(gaps.cbegin(), gaps.cend());
}

// The jukebox started over `folder`'s library: the start's peak and its longest stretch from the
// window's showing until every cover and thumbnail is made.
Figures measureStart(const QString& folder)
{
    platform::setProgramFolder(folder);
    malloc_trim(0);
    resetPeak();
    Figures figures;
    QElapsedTimer clock;
    clock.start();
    StartedJukebox started;
    jukebox::Tjukebox& jb = *jukebox::jukebox;
    jb.resize(1024, 768);
    {
        const Heartbeat beat;
        jb.show();
        figures.startMs = double(clock.nsecsElapsed()) / 1e6;
        figures.done = bench::waitUntil([&jb] { return startMade(jb); }, kCoversBoundMs);
        figures.longestMs = longest(beat);
    }
    figures.peakMb = peakMb();
    return figures;
}

// The jukebox started over `folder`'s library and left until its covers are made, then stepped a
// page on every kStepGapMs: the longest stretch until the last page's covers are made.
Figures measureQuickSteps(const QString& folder)
{
    platform::setProgramFolder(folder);
    Figures figures;
    StartedJukebox started;
    jukebox::Tjukebox& jb = *jukebox::jukebox;
    jb.resize(1024, 768);
    jb.show();
    bool made = bench::waitUntil([&jb] { return startMade(jb); }, kCoversBoundMs);
    {
        const Heartbeat beat;
        for (int step = 0; step < kPageSteps; ++step) {
            uint16_t key = 0;
            jb.pageForward(key);
            // The arrow is let go at once: the next step is the guest's next press.
            jb.navbuttimer->setEnabled(false);
            spinFor(kStepGapMs);
        }
        made = bench::waitUntil([&jb] { return !jb.coversPending(); }, kCoversBoundMs) && made;
        figures.longestMs = longest(beat);
    }
    figures.done = made;
    return figures;
}

Figures inProgramFolder(const std::function<QByteArray(int)>& cover,
                        const std::function<Figures(const QString&)>& measure)
{
    QTemporaryDir folder;
    writeProgramFolder(folder.path(), cover);
    return measure(folder.path());
}

void reportFrameGoal(const char* what, const Figures& figures, const Figures& plain)
{
    const bool measured = bench::checkWork(plain.longestMs > 0, std::string(what) + ": no baseline measured");
    bench::printGoal(what, figures.longestMs, plain.longestMs, "ms", "<= baseline + 1 frame",
                     measured && figures.longestMs <= plain.longestMs + kFrameMs);
}

} // namespace

int main(int argc, char** argv)
{
    // As the program's main does first: a large block goes back to the system when freed.
    platform::returnLargeBlocksWhenFreed();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QByteArray wide = noisyJpeg(kWideWidth, kWideHeight, true);
    const QByteArray huge = noisyJpeg(kHugeSide, kHugeSide, false);
    std::printf("covers: %d x %d progressive %.1f MB, %d x %d baseline %.1f MB\n", kWideWidth, kWideHeight,
                wide.size() / 1e6, kHugeSide, kHugeSide, huge.size() / 1e6);
    // The first start in a process also loads fonts and plugins: it is left out.
    (void)inProgramFolder(plainJpeg, measureStart);
    const Figures plainStart = inProgramFolder(plainJpeg, measureStart);
    const Figures wideStart = inProgramFolder([&wide](int) { return wide; }, measureStart);
    const Figures plainSteps = inProgramFolder(plainJpeg, measureQuickSteps);
    const Figures hugeSteps = inProgramFolder([&huge](int) { return huge; }, measureQuickSteps);
    std::printf("\n%-28s %10s %14s %10s\n", "library", "start ms", "longest ms", "peak MB");
    for (const auto& [name, start] :
         {std::pair{"plain", &plainStart}, std::pair{"19 MP progressive", &wideStart}})
        std::printf("%-28s %10.1f %14.1f %10.1f\n", name, start->startMs, start->longestMs, start->peakMb);
    std::printf("%-28s %10s %14.1f\n", "plain, page steps", "", plainSteps.longestMs);
    std::printf("%-28s %10s %14.1f\n", "100 MP baseline, page steps", "", hugeSteps.longestMs);
    for (const Figures* figures : {&plainStart, &wideStart, &plainSteps, &hugeSteps})
        bench::checkWork(figures->done, "every cover (and at the start every thumbnail) was made");
    reportFrameGoal("19 MP progressive covers: longest stretch from the start's showing", wideStart,
                    plainStart);
    bench::reportBudgetGoal("19 MP progressive covers: the start's peak MB (plain beside)", wideStart.peakMb,
                            plainStart.peakMb, "MB", kPeakBudgetMb);
    reportFrameGoal("100 MP baseline covers: longest stretch of quick page steps", hugeSteps, plainSteps);
    return bench::exitStatus();
}
