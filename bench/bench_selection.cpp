// Latency of a guest's selection on the jukebox: from the last of the seven digits to the first
// decoded audio of the chosen track, through the whole road (album choice, queue, playback) over the
// libmpv player on the untimed null audio output, background play off. Set beside the same file
// opened and played on a bare media player in the same run, as a ratio of medians. Each selection
// starts with nothing playing, an empty queue and the silent file open in the player, and so does
// each turn of the bare player: both replace an open file with the track.
// The first selection after a start is measured on its own, in a fresh process each time (it
// loads the media library), beside a bare media player's first play of the same file, also in a
// fresh process each time; the runs alternate.

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "goal.h"
#include "jukebox/jukeboxform.h"
#include "mpvbench.h"
#include "startedjukebox.h"
#include "platform/mpvmediaplayer.h"
#include "platform/programfolder.h"

namespace {

constexpr int kTrackMs = 5000;
constexpr int kSelections = 100;
constexpr int kColdStarts = 9;
// A selection may cost the window's own work on top of the player's: at most twice the bare time.
constexpr double kGoalRatio = 2.0;
constexpr int kChildTimeoutMs = 60000;

QString trackIn(const QString& folder, const char* album, int t)
{
    return QStringLiteral("%1/music/%2/track%3.mp3")
        .arg(folder, QString::fromLatin1(album))
        .arg(t, 2, 10, QLatin1Char('0'));
}

// The selection every benchmark makes: album 2, track 2.
constexpr int kDigits[] = {0, 0, 0, 2, 0, 0, 2};
const char* const kWantedAlbum = "Beta__Two";
constexpr int kWantedTrack = 2;

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

    QString path() const { return dir_.path(); }
    QString wanted() const { return trackIn(dir_.path(), kWantedAlbum, kWantedTrack); }

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

// Enters every digit but the last, then times the last one to the first audio of the track.
double msToAudioAfterLastDigit(StartedJukebox& j, const QString& wanted)
{
    jukebox::Tjukebox& jb = *jukebox::jukebox;
    for (int i = 0; i + 1 < int(std::size(kDigits)); ++i)
        jb.dolcd(kDigits[i], jukebox::lcddelay);
    return msToAudioAfter(j, wanted, [&] { jb.dolcd(kDigits[std::size(kDigits) - 1], jukebox::lcddelay); });
}

void BM_LastDigitToFirstAudio(benchmark::State& state)
{
    StartedJukebox& j = jukeboxWindow();
    std::vector<double> samples;
    for (auto _ : state) {
        const double ms = msToAudioAfterLastDigit(j, library().wanted());
        if (ms < 0) state.SkipWithError("no audio");
        keepSample(state, samples, ms);
    }
    samplesMs["selection"] = samples;
}

void BM_BarePlayerOpenPlayToFirstAudio(benchmark::State& state)
{
    platform::MpvMediaPlayer mp(nullptr, nullOutput());
    std::vector<double> samples;
    for (auto _ : state) {
        // As between the jukebox's selections: nothing playing, the silent file open.
        (void)mp.stop();
        mp.setFileName(library().silent());
        (void)mp.open();
        keepSample(state, samples, msToFirstAudio(mp, library().wanted(), state));
    }
    samplesMs["selection baseline"] = samples;
}

// Child modes, each in a fresh process over the program folder `folder`: the first selection of a
// started jukebox, or the first play of a bare media player; each prints its ms.
int firstSelection(const QString& folder)
{
    platform::setProgramFolder(folder);
    std::setlocale(LC_NUMERIC, "C");
    StartedJukebox j;
    const double ms = msToAudioAfterLastDigit(j, trackIn(folder, kWantedAlbum, kWantedTrack));
    if (ms < 0) return 1;
    std::printf("%f\n", ms);
    return 0;
}

int barePlayerFirstPlay(const QString& folder)
{
    std::setlocale(LC_NUMERIC, "C");
    platform::MpvMediaPlayer mp(nullptr, nullOutput());
    const double ms = msToFirstAudio(mp, trackIn(folder, kWantedAlbum, kWantedTrack));
    if (ms < 0) return 1;
    std::printf("%f\n", ms);
    return 0;
}

// Runs this program in child mode `mode`; its ms, or nothing when it found no audio.
void runColdChild(const char* mode, std::vector<double>& samples)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(mode), library().path()});
    if (!child.waitForFinished(kChildTimeoutMs) || child.exitCode() != 0) return;
    bool number = false;
    const double ms = child.readAllStandardOutput().trimmed().toDouble(&number);
    if (number) samples.push_back(ms);
}

void measureColdStarts()
{
    for (int i = 0; i < kColdStarts; ++i) {
        runColdChild("--first-selection", samplesMs["first selection"]);
        runColdChild("--bare-first-play", samplesMs["first selection baseline"]);
    }
    std::printf("first selection after a start, %zu of %d runs: median %.2f ms; bare player's first play, "
                "%zu runs: median %.2f ms\n",
                samplesMs["first selection"].size(), kColdStarts, median(samplesMs["first selection"]),
                samplesMs["first selection baseline"].size(), median(samplesMs["first selection baseline"]));
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
    if (argc == 3 && QByteArray(argv[1]) == "--first-selection")
        return firstSelection(QString::fromLocal8Bit(argv[2]));
    if (argc == 3 && QByteArray(argv[1]) == "--bare-first-play")
        return barePlayerFirstPlay(QString::fromLocal8Bit(argv[2]));
    measureColdStarts();
    if (samplesMs["first selection"].empty() || samplesMs["first selection baseline"].empty()) {
        std::printf("no first selection or first play gave audio\n");
        return 1;
    }
    runBenchmarks(argc, argv);
    theJukebox.reset();
    bench::reportRatioGoal("selection: last digit to first audio vs bare player",
                           median(samplesMs["selection"]), median(samplesMs["selection baseline"]), "ms",
                           kGoalRatio);
    bench::reportRatioGoal("first selection after a start vs cold bare player",
                           median(samplesMs["first selection"]),
                           median(samplesMs["first selection baseline"]), "ms", kGoalRatio);
    return 0;
}
