// Latency of a guest's selection on the jukebox: from the last of the seven digits to the first
// decoded audio of the chosen track, through the whole road (album choice, queue, playback) over the
// libmpv player on the untimed null audio output, background play off. Set beside the same file
// opened and played on a bare media player in the same run, as a ratio of medians. Each selection
// starts with nothing playing, an empty queue and the silent file open in the player, and so does
// each turn of the bare player: both replace an open file with the track.
// The first selection after a start is measured on its own, in a fresh process each time (it
// loads the media library), beside a bare media player's first play of the same file, also in a
// fresh process each time and readied as the jukebox readies its own (parked on the silent file,
// its engine made, the same pause before the play); the runs alternate. The same process then
// makes warm selections: the first is set beside them (the player is readied once the window
// shows, and a guest's first key comes at least half a second after that). A fresh process also
// tells what the readied player holds at idle (resident set before and after it is readied).
// The track change: how long the window is held at a track's end on its own (the queue moving on
// to the next track) beside how long a Forward holds it, on the real-time null output, whose
// buffer the player drains at an end as it drains a sound server's.
// Every wait is bounded, and the run fails at the first selection or play that gives no audio.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
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
constexpr int kWarmSelections = 3;
constexpr int kGuestFirstKeyMs = 500;
// The first selection after a start may cost a fifth more than a warm one.
constexpr double kFirstGoalRatio = 1.2;
constexpr int kTrackChanges = 7;
// The part of a track played before its end on its own.
constexpr int kPlayedEndMs = 700;
// A track change on its own may hold the window one 60 Hz frame longer than a Forward.
constexpr double kFrameMs = 1000.0 / 60;
// The readied player's idle share of the room between the peer's idle resident set (112 MiB) and
// the jukebox's own before it (72 MiB at 10,000 albums).
constexpr double kWarmPlayerBudgetMb = 40;

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
        if (!keepAudioSample(state, samples, msToAudioAfterLastDigit(j, library().wanted()))) break;
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
        if (!keepAudioSample(state, samples, msToFirstAudio(mp, library().wanted()))) break;
    }
    samplesMs["selection baseline"] = samples;
}

// Runs the event loop for `ms`.
void spinFor(int ms)
{
    QElapsedTimer clock;
    clock.start();
    spinUntil([&] { return clock.elapsed() >= ms; });
}

// Child modes, each in a fresh process over the program folder `folder`: the first selection of a
// started jukebox and the median of the warm ones after it, or the first play of a bare media
// player, or the resident set before and after a bare player is readied; each prints its figures.
int firstSelection(const QString& folder)
{
    platform::setProgramFolder(folder);
    std::setlocale(LC_NUMERIC, "C");
    StartedJukebox j;
    jukebox::jukebox->show(); // as a start shows it: the player is readied once it has
    spinFor(kGuestFirstKeyMs);
    const QString wanted = trackIn(folder, kWantedAlbum, kWantedTrack);
    const double ms = msToAudioAfterLastDigit(j, wanted);
    if (ms < 0) return 1;
    std::vector<double> warm;
    for (int i = 0; i < kWarmSelections; ++i) {
        warm.push_back(msToAudioAfterLastDigit(j, wanted));
        if (warm.back() < 0) return 1;
    }
    std::printf("%f %f\n", ms, median(warm));
    return 0;
}

// As the jukebox holds its player between selections: parked on the silent file, which readying
// gives to mpv.
bool parkOnSilentFile(platform::MpvMediaPlayer& mp, const QString& folder)
{
    mp.setFileName(folder + QStringLiteral("/silent.mp3"));
    return mp.openWhenNeeded();
}

// The bare player readied as the jukebox's is once its window shows, and played as late.
int barePlayerFirstPlay(const QString& folder)
{
    std::setlocale(LC_NUMERIC, "C");
    platform::MpvMediaPlayer mp(nullptr, nullOutput());
    if (!parkOnSilentFile(mp, folder)) return 1;
    mp.prepare();
    spinFor(kGuestFirstKeyMs);
    const double ms = msToFirstAudio(mp, trackIn(folder, kWantedAlbum, kWantedTrack));
    if (ms < 0) return 1;
    std::printf("%f\n", ms);
    return 0;
}

double residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmRSS:")) return line.simplified().split(' ').value(1).toDouble() / 1024;
    }
    return 0;
}

int warmPlayerResident(const QString& folder)
{
    std::setlocale(LC_NUMERIC, "C");
    platform::MpvMediaPlayer mp(nullptr, nullOutput());
    if (!parkOnSilentFile(mp, folder)) return 1;
    spinFor(1000);
    const double before = residentMb();
    mp.prepare();
    spinFor(3000); // readied and settled
    std::printf("%f %f\n", before, residentMb());
    return 0;
}

// Runs this program in child mode `mode`; the figures it printed, none when it failed.
std::vector<double> runChild(const char* mode)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(mode), library().path()});
    if (!child.waitForFinished(kChildTimeoutMs) || child.exitCode() != 0) return {};
    std::vector<double> figures;
    for (const QByteArray& word : child.readAllStandardOutput().simplified().split(' ')) {
        bool number = false;
        const double figure = word.toDouble(&number);
        if (number) figures.push_back(figure);
    }
    return figures;
}

// The cold starts, each pair of runs alternated; false at the first that gave no audio.
bool measureColdStarts()
{
    for (int i = 0; i < kColdStarts; ++i) {
        const auto first = runChild("--first-selection");
        if (!bench::checkWork(first.size() == 2,
                              "a first selection after a start, and the warm ones after it, "
                              "gave audio"))
            return false;
        samplesMs["first selection"].push_back(first[0]);
        samplesMs["warm selection"].push_back(first[1]);
        const auto bare = runChild("--bare-first-play");
        if (!bench::checkWork(bare.size() == 1, "a readied bare player's first play gave audio"))
            return false;
        samplesMs["first selection baseline"].push_back(bare[0]);
    }
    std::printf("first selection after a start, %zu of %d runs: median %.2f ms; warm selections after it: "
                "median %.2f ms; bare player's first play, %zu runs: median %.2f ms\n",
                samplesMs["first selection"].size(), kColdStarts, median(samplesMs["first selection"]),
                median(samplesMs["warm selection"]), samplesMs["first selection baseline"].size(),
                median(samplesMs["first selection baseline"]));
    return true;
}

// The longest the window was held (the longest gap between turns of its event loop) from `action`
// until `wanted` sounds; -1 when it does not.
double msHeldUntilAudio(StartedJukebox& j, const QString& wanted, const std::function<void()>& action)
{
    QElapsedTimer sinceTurn;
    double longest = 0;
    QTimer turns;
    turns.setInterval(0);
    QObject::connect(&turns, &QTimer::timeout, &turns, [&] {
        longest = std::max(longest, msSince(sinceTurn));
        sinceTurn.restart();
    });
    sinceTurn.start();
    turns.start();
    QTimer::singleShot(0, &turns, action);
    const bool sounded = spinUntil([&] { return j.mp().fileName() == wanted && j.mp().position() > 0; });
    return sounded ? longest : -1;
}

// The first track of album 1 queued before the second and playing; false when it does not sound.
bool playFirstOfTwo(StartedJukebox& j, const QString& first)
{
    if (!j.form->loadtitles(j.form->dtracklist, 1)) return false;
    for (int row : {0, 1}) {
        j.form->dtracklist->setCurrentRow(row);
        j.form->AddClick(nullptr);
    }
    j.form->dplaylist->setCurrentRow(0);
    j.form->playClick(nullptr);
    return spinUntil([&] { return j.mp().fileName() == first && j.mp().position() > 0; });
}

// The track changes on their own and at a Forward, alternated; they end at the first that gave no
// audio.
void measureTrackChanges()
{
    platform::MpvOptions realTime = nullOutput();
    realTime.untimed = false;
    StartedJukebox j(realTime);
    const QString first = trackIn(library().path(), "Alpha__One", 1);
    const QString second = trackIn(library().path(), "Alpha__One", 2);
    const auto change = [&](const char* name, const std::function<void()>& action) {
        const bool started = bench::checkWork(playFirstOfTwo(j, first), "a track of two queued sounded");
        const double held = started ? msHeldUntilAudio(j, second, action) : -1;
        j.form->clearlistClick(nullptr);
        if (!started || !bench::checkWork(held >= 0, std::string("the next track sounded after a ") + name))
            return false;
        samplesMs[name].push_back(held);
        return true;
    };
    for (int i = 0; i < kTrackChanges; ++i) {
        const bool changed = change("track change",
                                    [&] {
                                        (void)j.mp().seek(j.mp().length() - kPlayedEndMs);
                                        (void)j.mp().play();
                                    }) &&
                             change("forward", [&] { j.form->fwd->click(); });
        if (!changed) break;
    }
    j.form->loadblankmp3file();
    std::printf("window held at a track's end on its own: median %.2f ms; at a Forward: median %.2f ms\n",
                median(samplesMs["track change"]), median(samplesMs["forward"]));
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
    if (argc == 3 && QByteArray(argv[1]) == "--warm-player-resident")
        return warmPlayerResident(QString::fromLocal8Bit(argv[2]));
    if (!measureColdStarts()) return bench::exitStatus();
    const std::vector<double> resident = runChild("--warm-player-resident");
    runBenchmarks(argc, argv);
    theJukebox.reset();
    measureTrackChanges();
    bench::reportRatioGoal("selection: last digit to first audio vs bare player",
                           median(samplesMs["selection"]), median(samplesMs["selection baseline"]), "ms",
                           kGoalRatio);
    bench::reportRatioGoal("first selection after a start vs readied bare player's first play",
                           median(samplesMs["first selection"]),
                           median(samplesMs["first selection baseline"]), "ms", kGoalRatio);
    bench::reportRatioGoal("first selection after a start vs warm selection",
                           median(samplesMs["first selection"]), median(samplesMs["warm selection"]), "ms",
                           kFirstGoalRatio);
    const double changeMs = median(samplesMs["track change"]);
    const double forwardMs = median(samplesMs["forward"]);
    char goal[48];
    std::snprintf(goal, sizeof goal, "<= Forward + %.1f ms", kFrameMs);
    bench::printGoal("window held at a track change vs a Forward", changeMs, forwardMs, "ms", goal,
                     changeMs > 0 && forwardMs > 0 && changeMs <= forwardMs + kFrameMs);
    if (resident.size() == 2)
        bench::reportBudgetGoal("readied player at idle: resident set it adds vs bare",
                                resident[1] - resident[0], resident[0], "MB", kWarmPlayerBudgetMb);
    return bench::exitStatus();
}
