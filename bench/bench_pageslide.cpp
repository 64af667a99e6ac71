// Page slides of the jukebox at 1920 x 1080: the jukebox window laid out on an offscreen screen of
// that size, with eight albums (covers and track lists), steps a page forward and back again and
// again. Every frame of a slide moves the panels and paints the album area at once into the
// window's offscreen backing store; the time of each frame is kept, and its median and worst are
// printed beside the same-run time of the plainest possible frame: one full-window blit.
// Goal: every frame under 16 ms.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

#include "jukebox/jukeboxform.h"
#include "jukebox/pageslide.h"
#include "gradientcover.h"
#include "keepingreporter.h"
#include "library/global.h"
#include "platform/jpegcodec.h"
#include "platform/programfolder.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kAlbums = 8;
constexpr int kTitles = 12;
constexpr int kCoverSide = 600;
constexpr double kGoalMs = 16.0;

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

// A page forward and a page back: two slides per iteration. Between steps the event loop paints
// what the new page changed, as it does between a guest's touches, so no slide frame carries it.
void BM_PageSlides(benchmark::State& state)
{
    for (auto _ : state) {
        uint16_t key = 0x25;
        window->pageForward(key);
        slideFrames += window->pageSlide().frameTimes();
        QCoreApplication::processEvents();
        window->pageBack(key);
        slideFrames += window->pageSlide().frameTimes();
        QCoreApplication::processEvents();
    }
}

// What follows each slide: the eight panels drawn afresh around the new page, and painted.
void BM_DrawPage(benchmark::State& state)
{
    for (auto _ : state) {
        window->drawalbum(jukebox::currentalbum);
        QCoreApplication::processEvents();
    }
}

// The floor of any frame: the whole window's picture copied once onto another.
void BM_FullWindowBlit(benchmark::State& state)
{
    QImage source(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    source.fill(QColor(40, 60, 80));
    QImage target(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&target);
        painter.drawImage(0, 0, source);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}

BENCHMARK(BM_PageSlides)->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(BM_DrawPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullWindowBlit)->Unit(benchmark::kMillisecond);

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
    const double blit = reporter.times["BM_FullWindowBlit"];
    const double page = reporter.times["BM_DrawPage"];
    if (!slideFrames.isEmpty() && blit > 0) {
        const double median = jukebox::medianTime(slideFrames);
        const double worst = jukebox::worstTime(slideFrames);
        std::printf(
            "page slide at %d x %d: %lld frames, median %.2f ms, worst %.2f ms; full-window blit %.2f ms; "
            "ratio median %.2f, worst %.2f (goal: every frame < %.0f ms: %s)\n",
            kWidth, kHeight, static_cast<long long>(slideFrames.size()), median, worst, blit, median / blit,
            worst / blit, kGoalMs, worst < kGoalMs ? "met" : "NOT met");
        std::printf("drawing the new page after a slide: %.1f ms, %.1f full-window blits\n", page,
                    page / blit);
    }
    benchmark::Shutdown();
    jukebox::jukebox = nullptr;
    return 0;
}
