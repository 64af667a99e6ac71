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

// The player window on the generated library with every track queued. Its successful ends are
// counted, and the first after `clearEnds` stamped, before the window handles them.
struct Window
{
    Window()
    {
        library();
        form = std::make_unique<player::Tmainform>([this] {
            auto made = std::make_unique<platform::MpvMediaPlayer>(nullptr, nullOutput());
            QObject::connect(made.get(), &platform::MediaPlayer::completed, made.get(),
                             [this](platform::NotifyValue value) {
                                 if (value != platform::NotifyValue::Successful) return;
                                 if (ends++ == 0) endedAt = clock.nsecsElapsed();
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
    void clearEnds()
    {
        ends = 0;
        endedAt = -1;
    }
    // Whether `file` has sounded: its position past 0, or an end past the first `endsBefore` (the
    // untimed output may decode a short track to its end before the player reports a position).
    bool sounded(const QString& file, int endsBefore) const
    {
        return (mp().fileName() == file && mp().position() > 0) || ends > endsBefore;
    }
    // Every turn starts from a queue played to its end, so no decoding is left over from the last.
    bool waitForEndOfQueue() const
    {
        return spinUntil([this] { return form->windowTitle() == QStringLiteral("No track"); });
    }

    std::unique_ptr<player::Tmainform> form;
    QElapsedTimer clock;
    int ends = 0;
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
        // The last entry: nothing follows it.
        w.form->dplaylist->setCurrentRow(kTracks - 1);
        w.clearEnds();
        QElapsedTimer clock;
        clock.start();
        w.form->playClick(nullptr);
        const bool sounded = spinUntil([&] { return w.sounded(library().tracks().at(1), 0); });
        if (!keepAudioSample(state, samples, sounded ? msSince(clock) : -1)) break;
        if (!bench::checkIteration(state, w.waitForEndOfQueue(), "the entry did not end")) break;
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
        if (!keepAudioSample(state, samples, msToFirstAudio(mp, library().tracks().at(1)))) break;
        if (!bench::checkIteration(state, spinUntil([&] { return ended; }), "the file did not end")) break;
    }
    samplesMs["start baseline"] = samples;
}

void BM_GapBetweenQueueEntries(benchmark::State& state)
{
    Window& w = window();
    std::vector<double> samples;
    for (auto _ : state) {
        w.form->dplaylist->setCurrentRow(0);
        w.clearEnds();
        w.form->playClick(nullptr);
        const bool sounded =
            spinUntil([&] { return w.endedAt >= 0 && w.sounded(library().tracks().at(1), 1); });
        if (!keepAudioSample(state, samples, sounded ? double(w.clock.nsecsElapsed() - w.endedAt) / 1e6 : -1))
            break;
        if (!bench::checkIteration(state, w.waitForEndOfQueue(), "the queue did not end")) break;
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
        // The second file sounds: its position past 0, or its own end.
        const bool sounded = spinUntil([&] { return endedAt >= 0 && (mp.position() > 0 || ends > 1); });
        if (!keepAudioSample(state, samples, sounded ? double(clock.nsecsElapsed() - endedAt) / 1e6 : -1))
            break;
        if (!bench::checkIteration(state, spinUntil([&] { return ends > 1; }), "the second file did not end"))
            break;
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
