// Page slides of the jukebox at 1920 x 1080: the jukebox window laid out on an offscreen screen of
// that size, with eight albums (covers and track lists), steps a page forward and back again and
// again. Every frame of a slide moves the panels and paints the album area at once into the
// window's offscreen backing store; the time of each frame is kept, and its median and worst are
// printed beside the same-run time of the plainest possible frame: one full-window blit.
// Then page steps as a guest waits for them: the slide at its real frame rate and the page drawn
// after it, run from the event loop, while a 1 ms heartbeat timer notes every stretch in which the
// window thread did not get back to its events; the longest is printed beside the blit.
// Goal: every frame, and every stretch of a whole page step, within bench::kFrameBlits blits.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

#include "jukebox/jukeboxform.h"
#include "jukebox/pageslide.h"
#include "gradientcover.h"
#include "fullwindowblit.h"
#include "goal.h"
#include "heartbeat.h"
#include "keepingreporter.h"
#include "library/global.h"
#include "pagestep.h"
#include "platform/jpegcodec.h"
#include "platform/programfolder.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kAlbums = 8;
constexpr int kTitles = 12;
constexpr int kCoverSide = 600;

// An offscreen screen of 1920 x 1080 at 96 dpi, for the platform plugin.
QByteArray screenConfig()
{
    return QByteArrayLiteral(R"({"screens": [{"name": "bench", "x": 0, "y": 0, "width": 1920, )"
                             R"("height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
}

bool writeFile(const QString& name, const QByteArray& bytes)
{
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Album folders "Artist N__Album N" with a cover and twelve titles, as the album list.
bool makeLibrary(const QString& root)
{
    library::config.path = root + QLatin1Char('/');
    library::album.resize(1);
    for (int n = 1; n <= kAlbums; ++n) {
        const QString folder = QStringLiteral("%1/Artist %2__Album %2").arg(root).arg(n);
        if (!QDir().mkpath(folder)) return false;
        QByteArray titles;
        for (int t = 1; t <= kTitles; ++t)
            titles += QStringLiteral("Track number %1 of album %2\r\n").arg(t).arg(n).toUtf8();
        if (!writeFile(folder + QStringLiteral("/title.dat"), titles)) return false;
        if (!writeFile(folder + QStringLiteral("/title.jpg"),
                       platform::encodeJpeg(gradientCover(n, kCoverSide), 90)))
            return false;
        library::album.append({QStringLiteral("Album %1").arg(n), QStringLiteral("Artist %1").arg(n)});
    }
    library::albumcount = kAlbums;
    return true;
}

jukebox::Tjukebox* window = nullptr;
QVector<double> slideFrames;
QVector<double> pageStepBlocks;

// Runs `step` from the event loop and lets the loop go on for a while after it, so the paint of
// the new page happens as it would on the screen.
void fromEventLoop(const std::function<void()>& step)
{
    constexpr int kSettleMs = 60;
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&] {
        step();
        QTimer::singleShot(kSettleMs, &loop, &QEventLoop::quit);
    });
    loop.exec();
}

// Runs a page step; false, with the run failed, when the page did not move and slide there.
bool stepPage(benchmark::State& state, bool forward)
{
    if (bench::stepPage(*window, forward)) return true;
    state.SkipWithError("the page did not move and slide");
    return false;
}

// A page forward and a page back: two slides per iteration. Between steps the event loop paints
// what the new page changed, as it does between a guest's touches, so no slide frame carries it.
void BM_PageSlides(benchmark::State& state)
{
    for (auto _ : state) {
        if (!stepPage(state, true)) break;
        slideFrames += window->pageSlide().frameTimes();
        QCoreApplication::processEvents();
        if (!stepPage(state, false)) break;
        slideFrames += window->pageSlide().frameTimes();
        QCoreApplication::processEvents();
    }
}

// A page forward and a page back as a guest waits for them, at the slide's real frame rate.
void BM_PageStepsAsGuestWaits(benchmark::State& state)
{
    window->pageSlide().setFrameInterval(jukebox::PageSlide::kDefaultFrameInterval);
    const Heartbeat heartbeat;
    bool stepped = true;
    for (auto _ : state) {
        fromEventLoop([&] { stepped = stepPage(state, true); });
        if (stepped) fromEventLoop([&] { stepped = stepPage(state, false); });
        if (!stepped) break;
    }
    pageStepBlocks = heartbeat.gaps();
    window->pageSlide().setFrameInterval(0);
}

// What follows each slide when nothing was made ahead: the eight panels drawn afresh around the
// new page, and painted.
void BM_DrawPage(benchmark::State& state)
{
    for (auto _ : state) {
        window->drawalbum(jukebox::currentalbum);
        QCoreApplication::processEvents();
    }
}

BENCHMARK(BM_PageSlides)->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(BM_PageStepsAsGuestWaits)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_DrawPage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir folder;
    const QString config = folder.filePath(QStringLiteral("screen.json"));
    if (!folder.isValid() || !writeFile(config, screenConfig())) return 1;
    qputenv("QT_QPA_PLATFORM", QStringLiteral("offscreen:configfile=%1").arg(config).toLocal8Bit());
    QApplication app(argc, argv);
    platform::setProgramFolder(folder.path());
    if (!makeLibrary(folder.filePath(QStringLiteral("music")))) return 1;

    auto jukeboxWindow = std::make_unique<jukebox::Tjukebox>();
    window = jukeboxWindow.get();
    jukebox::jukebox = window;
    window->FormCreate(window);
    window->setGeometry(0, 0, kWidth, kHeight);
    window->show();
    QCoreApplication::processEvents();
    if (window->size() != QSize(kWidth, kHeight) || jukebox::DEFscrollamountlr == 0) {
        std::printf("the jukebox was not laid out at %d x %d\n", kWidth, kHeight);
        return 1;
    }
    window->pageSlide().setFrameInterval(0);

    benchmark::Initialize(&argc, argv);
    KeepingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    // The work timed, checked after it: a step each way drew its new page.
    for (const bool forward : {true, false})
        bench::checkWork(bench::checkedStep(*window, forward),
                         forward ? "a page step forward drew its page" : "a page step back drew its page");
    const double blit = bench::fullWindowBlitMs();
    const double page = reporter.times["BM_DrawPage"];
    std::printf("page slide at %d x %d: %lld frames, median %.2f ms; full-window blit %.2f ms\n", kWidth,
                kHeight, static_cast<long long>(slideFrames.size()), jukebox::medianTime(slideFrames), blit);
    std::printf("drawing a page in one piece, nothing made ahead: %.1f ms, %.1f full-window blits\n", page,
                page / blit);
    bench::reportRatioGoal("page slide: worst frame vs full-window blit", jukebox::worstTime(slideFrames),
                           blit, "ms", bench::kFrameBlits);
    bench::reportRatioGoal("page step: longest stretch away vs blit", jukebox::worstTime(pageStepBlocks),
                           blit, "ms", bench::kFrameBlits);
    benchmark::Shutdown();
    jukebox::jukebox = nullptr;
    return bench::exitStatus();
}
