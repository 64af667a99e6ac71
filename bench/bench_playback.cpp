// Playback latency of the player window over the libmpv player on the untimed null audio output: from
// `playClick` to the first decoded audio, and the gap between the end of one queue entry and the first
// audio of the next. Each is set beside the same steps done directly on a bare media player in the same
// run (open, play), as a ratio of medians. Every turn starts after the previous track has ended.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "goal.h"
#include "mpvbench.h"
#include "platform/mpvmediaplayer.h"
#include "platform/programfolder.h"
#include "player/mainform.h"

namespace {

// Short, so that libmpv reports the position of an untimed track soon after its first audio.
constexpr int kTrackMs = 5000;
constexpr int kTracks = 2;

// Per-iteration times in ms by measurement name.
std::map<std::string, std::vector<double>> samplesMs;

bool audioFlows(const platform::MediaPlayer& mp)
{
    return mp.position() > 0;
}

// A program folder with settings and one album of short tone tracks.
class Library
{
public:
    Library()
    {
        const QString album = dir_.filePath(QStringLiteral("music/Alpha__One"));
        QDir().mkpath(album);
        QDir().mkpath(dir_.filePath(QStringLiteral("cache")));
        QStringList titles;
        for (int t = 1; t <= kTracks; ++t) {
            tracks_ << album + QStringLiteral("/track%1.mp3").arg(t, 2, 10, QLatin1Char('0'));
            writeToneTrack(tracks_.last(), kTrackMs);
            titles << QStringLiteral("Tone %1").arg(t);
        }
        writeText(album + QStringLiteral("/title.dat"), titles.join(QLatin1Char('\n')));
        writeText(dir_.filePath(QStringLiteral("Musetra.ini")),
                  QStringLiteral("[main]\nPath=%1\nCachePath=%2\n")
                      .arg(dir_.filePath(QStringLiteral("music")), dir_.filePath(QStringLiteral("cache"))));
        platform::setProgramFolder(dir_.path());
    }

    const QStringList& tracks() const { return tracks_; }

private:
    QTemporaryDir dir_;
    QStringList tracks_;
};

Library& library()
{
    static Library made;
    return made;
}

// The player window on the generated library with every track queued. `ended` is stamped at each
// successful end, before the window handles it.
struct Window
{
    Window()
    {
        library();
        form = std::make_unique<player::Tmainform>([this] {
            auto made = std::make_unique<platform::MpvMediaPlayer>(nullptr, nullOutput());
            QObject::connect(made.get(), &platform::MediaPlayer::completed, made.get(),
                             [this](platform::NotifyValue value) {
                                 if (value == platform::NotifyValue::Successful)
                                     endedAt = clock.nsecsElapsed();
                             });
            return made;
        });
        player::mainform = form.get();
        form->FormCreate(form.get());
        form->playlistbut->setChecked(true);
        if (!form->loadtitles(form->dtracklist, 1)) std::fprintf(stderr, "no titles\n");
        for (int t = 0; t < kTracks; ++t) {
            form->dtracklist->setCurrentRow(t);
            form->AddClick(nullptr);
        }
        clock.start();
    }
    ~Window() { player::mainform = nullptr; }

    platform::MediaPlayer& mp() const { return *form->mediaPlayer(); }
    bool playing(const QString& file) const { return mp().fileName() == file && audioFlows(mp()); }
    // Every turn starts from a queue played to its end, so no decoding is left over from the last.
    bool waitForEndOfQueue() const
    {
        return spinUntil([this] { return form->windowTitle() == QStringLiteral("No track"); });
    }

    std::unique_ptr<player::Tmainform> form;
    QElapsedTimer clock;
    qint64 endedAt = -1;
};

// Made on first use; main destroys it while the application still exists.
std::unique_ptr<Window> theWindow;

Window& window()
{
    if (!theWindow) theWindow = std::make_unique<Window>();
    return *theWindow;
}

void BM_PlayClickToFirstAudio(benchmark::State& state)
{
    Window& w = window();
    std::vector<double> samples;
    for (auto _ : state) {
        // The last entry: nothing follows it, so its file stays loaded however fast it decodes.
        w.form->dplaylist->setCurrentRow(kTracks - 1);
        QElapsedTimer clock;
        clock.start();
        w.form->playClick(nullptr);
        if (!spinUntil([&] { return w.playing(library().tracks().at(1)); })) state.SkipWithError("no audio");
        const double ms = msSince(clock);
        keepSample(state, samples, ms);
        if (!w.waitForEndOfQueue()) state.SkipWithError("the entry did not end");
    }
    samplesMs["start"] = samples;
}

void BM_BarePlayerOpenPlayToFirstAudio(benchmark::State& state)
{
    platform::MpvMediaPlayer mp(nullptr, nullOutput());
    bool ended = false;
    QObject::connect(&mp, &platform::MediaPlayer::completed, &mp, [&](platform::NotifyValue value) {
        ended = ended || value == platform::NotifyValue::Successful;
    });
    std::vector<double> samples;
    for (auto _ : state) {
        ended = false;
        keepSample(state, samples, msToFirstAudio(mp, library().tracks().at(1), state));
        if (!spinUntil([&] { return ended; })) state.SkipWithError("the file did not end");
    }
    samplesMs["start baseline"] = samples;
}

void BM_GapBetweenQueueEntries(benchmark::State& state)
{
    Window& w = window();
    std::vector<double> samples;
    for (auto _ : state) {
        w.form->dplaylist->setCurrentRow(0);
        w.form->playClick(nullptr);
        w.endedAt = -1;
        if (!spinUntil([&] { return w.endedAt >= 0 && w.playing(library().tracks().at(1)); }))
            state.SkipWithError("the next entry did not start");
        const double ms = double(w.clock.nsecsElapsed() - w.endedAt) / 1e6;
        keepSample(state, samples, ms);
        if (!w.waitForEndOfQueue()) state.SkipWithError("the queue did not end");
    }
    samplesMs["gap"] = samples;
}

void BM_BarePlayerGapBetweenFiles(benchmark::State& state)
{
    platform::MpvMediaPlayer mp(nullptr, nullOutput());
    QElapsedTimer clock;
    clock.start();
    qint64 endedAt = -1;
    int ends = 0;
    QObject::connect(&mp, &platform::MediaPlayer::completed, &mp, [&](platform::NotifyValue value) {
        if (value != platform::NotifyValue::Successful || ++ends > 1) return;
        endedAt = clock.nsecsElapsed();
        mp.setFileName(library().tracks().at(1));
        (void)mp.open();
        (void)mp.play();
    });
    std::vector<double> samples;
    for (auto _ : state) {
        mp.setFileName(library().tracks().at(0));
        (void)mp.open();
        endedAt = -1;
        ends = 0;
        (void)mp.play();
        if (!spinUntil([&] { return endedAt >= 0 && audioFlows(mp); })) state.SkipWithError("no second file");
        const double ms = double(clock.nsecsElapsed() - endedAt) / 1e6;
        keepSample(state, samples, ms);
        if (!spinUntil([&] { return ends > 1; })) state.SkipWithError("the second file did not end");
    }
    samplesMs["gap baseline"] = samples;
}

BENCHMARK(BM_PlayClickToFirstAudio)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BarePlayerOpenPlayToFirstAudio)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GapBetweenQueueEntries)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BarePlayerGapBetweenFiles)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

// The window may add its own work to the player's: at most as much again.
constexpr double kGoalRatio = 2.0;

void reportGoal(const char* what, const std::string& name)
{
    bench::reportRatioGoal(what, median(samplesMs[name]), median(samplesMs[name + " baseline"]), "ms",
                           kGoalRatio);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    runBenchmarks(argc, argv);
    theWindow.reset();
    reportGoal("playClick to first audio vs bare player", "start");
    reportGoal("end of queue entry to next audio vs bare player", "gap");
    return bench::exitStatus();
}
