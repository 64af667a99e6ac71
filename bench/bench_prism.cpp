// The album prism at 1920 x 1080 on Mesa's llvmpipe (run under Xvfb), with four albums of covers and
// tone tracks over the libmpv player on the untimed null audio output:
// - a full turn of the prism once the switch to it has its first frame on screen, 72 frames of 5
//   degrees with the album steps and side refills a turn brings, each frame timed from the step to
//   the frame on screen, beside a bare QOpenGLWidget of the window's size that only clears and
//   swaps, in the same run;
// - a guest's touch on a row of the prism's front list to the first decoded audio of that track,
//   through the whole number road, beside the same file opened and played on a bare player and
//   beside the same road taken from a row of the flat pages.
// Goals: the median frame within 3x the bare frame, and the worst within 3x the bare worst; a touch
// on the prism to audio within 1.5x the same road from a page row (both pause as a guest sees).

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLinearGradient>
#include <QOpenGLFunctions>
#include <QOpenGLWidget>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "controls/scrolllistbox.h"
#include "jukebox/jukeboxform.h"
#include "jukebox/picturebox.h"
#include "gradientcover.h"
#include "goal.h"
#include "mpvbench.h"
#include "startedjukebox.h"
#include "platform/jpegcodec.h"
#include "platform/programfolder.h"
#include "view3d/gllistbox.h"
#include "view3d/glpanel.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kAlbums = 4;
constexpr int kTracks = 3;
constexpr int kTrackMs = 5000;
constexpr int kCoverSide = 600;
constexpr int kFramesPerTurn = 72;
constexpr int kTurns = 10;
constexpr int kSelections = 30;
constexpr double kGoalRatio = 3.0;
// The prism may add its turn to the page road: at most half as much again.
constexpr double kGoalTouchRatio = 1.5;
// Frames at or above this are counted in the summary.
constexpr double kSlowFrameMs = 33.0;

std::map<std::string, std::vector<double>> samplesMs;

// A program folder with settings and four albums, each with a cover, titles and tone tracks.
class Library
{
public:
    Library()
    {
        QDir().mkpath(dir_.filePath(QStringLiteral("cache")));
        for (int n = 1; n <= kAlbums; ++n) {
            const QString album = dir_.filePath(QStringLiteral("music/Artist %1__Album %1").arg(n));
            QDir().mkpath(album);
            QString titles;
            for (int t = 1; t <= kTracks; ++t) {
                writeToneTrack(album + QStringLiteral("/track%1.mp3").arg(t, 2, 10, QLatin1Char('0')),
                               kTrackMs);
                titles += QStringLiteral("Track %1 of album %2\n").arg(t).arg(n);
            }
            writeText(album + QStringLiteral("/title.dat"), titles);
            QFile cover(album + QStringLiteral("/title.jpg"));
            if (cover.open(QIODevice::WriteOnly))
                cover.write(platform::encodeJpeg(gradientCover(n, kCoverSide), 90));
        }
        writeText(dir_.filePath(QStringLiteral("Musetra.ini")),
                  QStringLiteral("[main]\nPath=%1\nCachePath=%2\n")
                      .arg(dir_.filePath(QStringLiteral("music")), dir_.filePath(QStringLiteral("cache"))));
        platform::setProgramFolder(dir_.path());
    }

    QString track(int album, int t) const
    {
        return dir_.filePath(QStringLiteral("music/Artist %1__Album %1/track%2.mp3")
                                 .arg(album)
                                 .arg(t, 2, 10, QLatin1Char('0')));
    }

private:
    QTemporaryDir dir_;
};

// Runs `step`, which asks `widget` for a frame, and waits until that frame is on screen: the ms.
double frameMs(QOpenGLWidget& widget, const std::function<void()>& step)
{
    int swapped = 0;
    const QMetaObject::Connection counting =
        QObject::connect(&widget, &QOpenGLWidget::frameSwapped, &widget, [&swapped] { ++swapped; });
    QElapsedTimer clock;
    clock.start();
    step();
    spinUntil([&swapped] { return swapped > 0; });
    const double ms = msSince(clock);
    QObject::disconnect(counting);
    return ms;
}

// From the switch to the prism to its first frame on screen.
double switchMs = 0;

// The started jukebox on screen, switched to the prism.
struct Jukebox : StartedJukebox
{
    Jukebox()
    {
        jukebox::Tjukebox& jb = *jukebox::jukebox;
        jb.resize(kWidth, kHeight);
        jb.FormResize(&jb);
        jb.show();
        if (!QTest::qWaitForWindowExposed(&jb)) return;
        // The prism is made at the first switch to it; a guest turns it once it is on screen.
        QElapsedTimer clock;
        clock.start();
        jb.imViewModeClick(jb.imViewMode);
        prism = dynamic_cast<view3d::TGLPanel*>(jb.ThreeDPanel);
        if (!prism || !spinUntil([this] { return prism->isValid(); })) return;
        frameMs(*prism, [this] { prism->update(); });
        switchMs = msSince(clock);
    }

    // Where row `row` of the front list stands on screen in the frame now drawn.
    QPoint frontRow(int row) const
    {
        prism->repaint();
        prism->makeCurrent();
        const view3d::tglListBox& list = *prism->Titles[0];
        const view3d::tgl3DCoord p1 = view3d::getRealWorldPos(list.Vertices().v1);
        const view3d::tgl3DCoord p3 = view3d::getRealWorldPos(list.Vertices().v3);
        for (const controls::tmatrix& m : list.hits())
            if (m.item == row) return QPoint(int(p1.x) + (m.x1 + m.x2) / 2, int(p3.y) + (m.y1 + m.y2) / 2);
        return {};
    }

    view3d::TGLPanel* prism = nullptr;
};

Library* theLibrary = nullptr;
Jukebox* theJukebox = nullptr;

// A full turn, a frame per 5 degrees; each frame from the step to the frame on screen.
void BM_PrismTurnFrame(benchmark::State& state)
{
    view3d::TGLPanel& prism = *theJukebox->prism;
    std::vector<double>& frames = samplesMs["prism"];
    view3d::rotation = 5;
    for (auto _ : state) {
        for (int frame = 0; frame < kFramesPerTurn; ++frame)
            frames.push_back(frameMs(prism, [&prism] { prism.Draw(); }));
    }
    view3d::rotation = 0;
}

// The floor of any frame at this size: a bare QOpenGLWidget that clears and swaps.
class BareWidget : public QOpenGLWidget
{
protected:
    void paintGL() override
    {
        context()->functions()->glClearColor(0.1f, 0.1f, 0.2f, 1);
        context()->functions()->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
};

void BM_BareClearAndSwap(benchmark::State& state)
{
    BareWidget bare;
    bare.resize(kWidth, kHeight);
    bare.show();
    if (!bench::checkIteration(state, QTest::qWaitForWindowExposed(&bare), "no window")) return;
    std::vector<double>& frames = samplesMs["bare"];
    for (auto _ : state) {
        for (int frame = 0; frame < kFramesPerTurn; ++frame)
            frames.push_back(frameMs(bare, [&bare] { bare.update(); }));
    }
}

// A touch on row 2 of the prism's front list (album 1) to the first audio of album 1's track 2.
void BM_PrismRowToFirstAudio(benchmark::State& state)
{
    Jukebox& j = *theJukebox;
    std::vector<double> samples;
    for (auto _ : state) {
        const QPoint at = j.frontRow(1);
        const double ms = msToAudioAfter(j, theLibrary->track(1, 2), [&] {
            QTest::mousePress(j.prism, Qt::LeftButton, {}, at);
            QTest::mouseRelease(j.prism, Qt::LeftButton, {}, at);
        });
        if (!keepAudioSample(state, samples, ms)) break;
    }
    samplesMs["row"] = samples;
}

// The same number road from row 2 of the upper page's list, on the flat pages.
void BM_PageRowToFirstAudio(benchmark::State& state)
{
    Jukebox& j = *theJukebox;
    jukebox::Tjukebox& jb = *jukebox::jukebox;
    if (jb.prismShown()) jb.imViewModeClick(jb.imViewMode);
    jukebox::currentalbum = 1;
    jb.drawalbum(1);
    std::vector<double> samples;
    for (auto _ : state) {
        const double ms = msToAudioAfter(j, theLibrary->track(1, 2), [&] {
            jb.lsb1->setitemindex(1);
            jb.lsbClick(jb.lsb1);
        });
        if (!keepAudioSample(state, samples, ms)) break;
    }
    samplesMs["page row"] = samples;
}

void BM_BarePlayerOpenPlayToFirstAudio(benchmark::State& state)
{
    platform::MpvMediaPlayer mp(nullptr, nullOutput());
    const QString file = theLibrary->track(1, 2);
    std::vector<double> samples;
    for (auto _ : state) {
        if (!keepAudioSample(state, samples, msToFirstAudio(mp, file))) break;
        (void)mp.stop();
        (void)mp.close();
    }
    samplesMs["row baseline"] = samples;
}

BENCHMARK(BM_PrismTurnFrame)->Iterations(kTurns)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareClearAndSwap)->Iterations(kTurns)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrismRowToFirstAudio)->UseManualTime()->Iterations(kSelections)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageRowToFirstAudio)->UseManualTime()->Iterations(kSelections)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BarePlayerOpenPlayToFirstAudio)
    ->UseManualTime()
    ->Iterations(kSelections)
    ->Unit(benchmark::kMillisecond);

void printSummary()
{
    const std::vector<double>& prism = samplesMs["prism"];
    const std::vector<double>& bare = samplesMs["bare"];
    const auto worst = [](const std::vector<double>& frames) {
        return frames.empty() ? 0 : *std::max_element(frames.begin(), frames.end());
    };
    const auto slow = [](const std::vector<double>& frames) {
        return static_cast<long long>(
            std::count_if(frames.begin(), frames.end(), [](double ms) { return ms >= kSlowFrameMs; }));
    };
    std::printf("\nswitch to the prism to its first frame on screen: %.1f ms\n", switchMs);
    std::printf("prism: %lld of %zu frames at %.0f ms or more, bare %lld\n", slow(prism), prism.size(),
                kSlowFrameMs, slow(bare));
    bench::reportRatioGoal("prism turn: median frame vs bare clear", median(prism), median(bare), "ms",
                           kGoalRatio);
    bench::reportRatioGoal("prism turn: worst frame vs bare worst", worst(prism), worst(bare), "ms",
                           kGoalRatio);
    const double row = median(samplesMs["row"]);
    const double player = median(samplesMs["row baseline"]);
    if (row > 0 && player > 0)
        std::printf("prism row touch to first audio %.2f ms, bare player %.2f ms, ratio %.2f\n", row, player,
                    row / player);
    bench::reportRatioGoal("prism row touch to audio vs page row road", row, median(samplesMs["page row"]),
                           "ms", kGoalTouchRatio);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb");
    // Frames follow one another as soon as they are asked for, not at the platform's pace.
    qputenv("QT_QPA_UPDATE_IDLE_TIME", "0");
    QApplication app(argc, argv);
    Library made;
    theLibrary = &made;
    auto jukeboxWindow = std::make_unique<Jukebox>();
    theJukebox = jukeboxWindow.get();
    if (!theJukebox->prism || !theJukebox->prism->isValid()) {
        std::printf("no OpenGL prism: run under an X server (scripts/with-xvfb)\n");
        return 1;
    }
    runBenchmarks(argc, argv);
    jukeboxWindow.reset();
    printSummary();
    return bench::exitStatus();
}
