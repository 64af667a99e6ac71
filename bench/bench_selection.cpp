// Latency of a guest's selection on the jukebox: from the last of the seven digits to the first
// decoded audio of the chosen track, through the whole road (album choice, queue, playback) over the
// libmpv player on the untimed null audio output, background play off. Set beside the same file
// opened and played on a bare media player in the same run, as a ratio of medians. Each selection
// starts with nothing playing, an empty queue and the silent file open in the player, and so does
// each turn of the bare player: both replace an open file with the track.

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "jukebox/jukeboxform.h"
#include "mpvbench.h"
#include "startedjukebox.h"
#include "platform/mpvmediaplayer.h"
#include "platform/programfolder.h"

namespace {

constexpr int kTrackMs = 5000;
constexpr int kSelections = 100;

std::map<std::string, std::vector<double>> samplesMs;

// A program folder with settings and two albums of two short tone tracks.
class Library
{
public:
    Library()
    {
        QDir().mkpath(dir_.filePath(QStringLiteral("cache")));
        for (const char* name : {"Alpha__One", "Beta__Two"}) {
            const QString album = dir_.filePath(QStringLiteral("music/") + QString::fromLatin1(name));
            QDir().mkpath(album);
            for (int t = 1; t <= 2; ++t)
                writeToneTrack(album + QStringLiteral("/track%1.mp3").arg(t, 2, 10, QLatin1Char('0')),
                               kTrackMs);
            writeText(album + QStringLiteral("/title.dat"), QStringLiteral("First\nSecond\n"));
        }
        tools::Tone silence;
        silence.frequencyHz = 0;
        if (!tools::writeToneMp3(silent(), silence)) std::fprintf(stderr, "cannot write the silent file\n");
        writeText(dir_.filePath(QStringLiteral("Musetra.ini")),
                  QStringLiteral("[main]\nPath=%1\nCachePath=%2\n")
                      .arg(dir_.filePath(QStringLiteral("music")), dir_.filePath(QStringLiteral("cache"))));
        platform::setProgramFolder(dir_.path());
    }

    // A short silent file, as the player holds between selections.
    QString silent() const { return dir_.filePath(QStringLiteral("silent.mp3")); }

    QString track(const char* album, int t) const
    {
        return dir_.filePath(QStringLiteral("music/%1/track%2.mp3")
                                 .arg(QString::fromLatin1(album))
                                 .arg(t, 2, 10, QLatin1Char('0')));
    }

private:
    QTemporaryDir dir_;
};

Library& library()
{
    static Library made;
    return made;
}

std::unique_ptr<StartedJukebox> theJukebox;

StartedJukebox& jukeboxWindow()
{
    if (!theJukebox) {
        library();
        theJukebox = std::make_unique<StartedJukebox>();
    }
    return *theJukebox;
}

void BM_LastDigitToFirstAudio(benchmark::State& state)
{
    StartedJukebox& j = jukeboxWindow();
    const QString wanted = library().track("Beta__Two", 2);
    std::vector<double> samples;
    for (auto _ : state) {
        jukebox::Tjukebox& jb = *jukebox::jukebox;
        for (const int digit : {0, 0, 0, 2, 0, 0})
            jb.dolcd(digit, jukebox::lcddelay);
        keepSample(state, samples,
                   msToAudioAfter(
                       j, wanted, [&] { jb.dolcd(2, jukebox::lcddelay); }, state));
    }
    samplesMs["selection"] = samples;
}

void BM_BarePlayerOpenPlayToFirstAudio(benchmark::State& state)
{
    platform::MpvMediaPlayer mp(nullptr, nullOutput());
    const QString file = library().track("Beta__Two", 2);
    std::vector<double> samples;
    for (auto _ : state) {
        // As between the jukebox's selections: nothing playing, the silent file open.
        (void)mp.stop();
        mp.setFileName(library().silent());
        (void)mp.open();
        keepSample(state, samples, msToFirstAudio(mp, file, state));
    }
    samplesMs["selection baseline"] = samples;
}

BENCHMARK(BM_LastDigitToFirstAudio)->UseManualTime()->Iterations(kSelections)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BarePlayerOpenPlayToFirstAudio)
    ->UseManualTime()
    ->Iterations(kSelections)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    runBenchmarks(argc, argv);
    theJukebox.reset();
    const double measured = median(samplesMs["selection"]);
    const double baseline = median(samplesMs["selection baseline"]);
    std::printf("\n%-30s %10s %10s %8s\n", "median ms", "jukebox", "bare mpv", "ratio");
    if (measured > 0 && baseline > 0)
        std::printf("%-30s %10.2f %10.2f %8.2f  (goal: jukebox under 100 ms)\n", "last digit to first audio",
                    measured, baseline, measured / baseline);
    return 0;
}
