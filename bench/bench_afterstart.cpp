// What the program does after its windows show, at 1920 x 1080 on the offscreen platform, each
// start in a child process of its own:
// (a) the window thread's CPU time from its windows being shown to the process going quiet, with
//     10,000 and with 100,000 albums without covers: the larger library may cost at most ten times
//     the smaller one (work that grows with the library, never faster);
// (b) the time from the start to the process going quiet with 10,000 albums with a 500 x 500
//     cover each, beside the same start without covers, and that start beside its own windows
//     being shown; and the resident memory at that point with covers beside without.
// "Quiet": the thumbnail load has ended and the whole process has used under a tenth of one core
// over half a second; the quiet begins where that half second begins. Three starts alternate with
// and without covers (median); the 100,000 albums start once.
// The albums hold a titles file and one (empty) track, not ten: the window thread reads neither,
// and a hundred thousand folders of ten files would take minutes to write.
// The work is checked: every album has its thumbnail.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/application.h"
#include "benchlibrary.h"
#include "controls/picturescroller.h"
#include "controls/transparentpanel.h"
#include "goal.h"
#include "gradientcover.h"
#include "inprocess.h"
#include "jukebox/jukeboxform.h"
#include "median.h"
#include "platform/jpegcodec.h"
#include "platform/mpvmediaplayer.h"
#include "platform/programfolder.h"

namespace {

constexpr int kAlbums = 10'000;
constexpr int kManyAlbums = 100'000;
constexpr int kRuns = 3;
constexpr int kCoverSide = 500;
constexpr int kCoverVariants = 16;
constexpr double kQuietMs = 500;
constexpr double kQuietShare = 0.1;
constexpr qint64 kMostMs = 600'000;
// Quiet within 1.5 times the baseline; the window thread's work at ten times the albums within ten
// times its work; memory with covers within a tenth of that without.
constexpr double kGoalQuiet = 1.5;
constexpr double kGoalMemory = 1.1;
const QSize kScreen(1920, 1080);

// `albums` album folders under `root`/music, each with a cover when `covers` (hard links to a
// few pictures of their own), and the settings that point at them.
void makeLibrary(const QString& root, int albums, bool covers)
{
    const QString music = root + QStringLiteral("/music");
    QByteArray titles;
    for (int t = 1; t <= bench::kTracksPerAlbum; ++t)
        titles += "Track title " + QByteArray::number(t) + '\n';
    for (int v = 0; covers && v < kCoverVariants; ++v)
        bench::touchFile(root + QStringLiteral("/cover%1.jpg").arg(v),
                         platform::encodeJpeg(gradientCover(v, kCoverSide), 90));
    for (int n = 0; n < albums; ++n) {
        const QString folder =
            QStringLiteral("%1/Artist %2__Album %2").arg(music).arg(n, 6, 10, QLatin1Char('0'));
        QDir().mkpath(folder);
        bench::touchFile(folder + QStringLiteral("/track01.mp3"));
        bench::touchFile(folder + QStringLiteral("/title.dat"), titles);
        if (!covers) continue;
        std::error_code failed;
        std::filesystem::create_hard_link(
            (root + QStringLiteral("/cover%1.jpg").arg(n % kCoverVariants)).toStdString(),
            (folder + QStringLiteral("/title.jpg")).toStdString(), failed);
    }
    QDir().mkpath(root + QStringLiteral("/cache"));
    bench::touchFile(
        root + QStringLiteral("/Musetra.ini"),
        QStringLiteral("[main]\nPath=%1\nCachePath=%2/cache\nautoplay=0\n").arg(music, root).toUtf8());
}

struct Sample
{
    double wallMs = 0;
    double processCpuMs = 0;
    double windowCpuMs = 0;
    bool loaded = false;
};

// The sample that begins the first quiet half second among `samples`, or none.
const Sample* quietFrom(const std::vector<Sample>& samples)
{
    const Sample& last = samples.back();
    for (auto s = samples.rbegin(); s != samples.rend(); ++s) {
        if (last.wallMs - s->wallMs < kQuietMs) continue;
        const bool quiet = last.processCpuMs - s->processCpuMs < kQuietShare * (last.wallMs - s->wallMs);
        return quiet && s->loaded ? &*s : nullptr;
    }
    return nullptr;
}

// Child: starts the program over the library of `root` and prints
// "shown-ms quiet-ms window-cpu-after-shown-ms resident-bytes thumbnails".
int measure(const QString& root)
{
    bench::FixedScreens screens(kScreen);
    platform::setScreens(&screens);
    platform::setProgramFolder(root);
    QElapsedTimer clock;
    clock.start();
    auto windows =
        std::make_unique<app::Application>([] { return std::make_unique<platform::MpvMediaPlayer>(); });
    jukebox::Tjukebox* jb = jukebox::jukebox;
    if (!jb) return 1;
    std::vector<Sample> samples;
    const auto sample = [&] {
        samples.push_back(Sample{double(clock.nsecsElapsed()) / 1e6, bench::cpuMs(CLOCK_PROCESS_CPUTIME_ID),
                                 bench::cpuMs(), !jb->VisualsPanelPanel->isHidden()});
    };
    sample();
    const Sample shown = samples.front();
    const Sample* quiet = nullptr;
    bench::waitUntil(
        [&] {
            sample();
            quiet = quietFrom(samples);
            return quiet != nullptr;
        },
        kMostMs);
    if (!quiet) return 1;
    std::printf("%.1f %.1f %.2f %lld %d\n", shown.wallMs, quiet->wallMs,
                quiet->windowCpuMs - shown.windowCpuMs, static_cast<long long>(bench::residentBytes()),
                jb->thumbs->count());
    windows.reset();
    platform::setScreens(nullptr);
    return 0;
}

struct Start
{
    double shownMs = -1;
    double quietMs = -1;
    double windowCpuMs = -1;
    double residentMb = -1;
};

Start startOver(const QString& root, int albums)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), root});
    if (!child.waitForFinished(int(kMostMs) + 60'000)) {
        child.kill();
        child.waitForFinished();
    }
    const QList<QByteArray> f = child.readAllStandardOutput().trimmed().split(' ');
    const bool measured = f.size() == 5;
    const std::string what = std::to_string(albums) + " albums under " + root.toStdString();
    if (!bench::checkWork(measured && f[4].toInt() == albums,
                          "a start went quiet with a thumbnail for each of " + what))
        return {};
    return Start{f[0].toDouble(), f[1].toDouble(), f[2].toDouble(), f[3].toDouble() / 1e6};
}

struct Medians
{
    std::vector<double> shown, quiet, windowCpu, resident;
    void add(const Start& start)
    {
        shown.push_back(start.shownMs);
        quiet.push_back(start.quietMs);
        windowCpu.push_back(start.windowCpuMs);
        resident.push_back(start.residentMb);
    }
};

void print(const char* what, const Medians& m)
{
    std::printf("%-34s %10.0f %10.0f %16.1f %10.1f\n", what, median(m.shown), median(m.quiet),
                median(m.windowCpu), median(m.resident));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc == 3 && QByteArray(argv[1]) == "--child") return measure(QString::fromLocal8Bit(argv[2]));

    QTemporaryDir plain, covered, many;
    makeLibrary(plain.path(), kAlbums, false);
    makeLibrary(covered.path(), kAlbums, true);
    makeLibrary(many.path(), kManyAlbums, false);
    Medians without, with, larger;
    for (int run = 0; run < kRuns; ++run) {
        without.add(startOver(plain.path(), kAlbums));
        with.add(startOver(covered.path(), kAlbums));
    }
    larger.add(startOver(many.path(), kManyAlbums));
    std::printf("%-34s %10s %10s %16s %10s\n", "start at 1920x1080 (median)", "shown ms", "quiet ms",
                "window CPU ms", "RSS MB");
    print("10,000 albums without covers", without);
    print("10,000 albums with covers", with);
    print("100,000 albums without covers", larger);
    bench::reportRatioGoal("after start: window-thread CPU, 100,000 albums vs 10 x 10,000",
                           median(larger.windowCpu), 10 * median(without.windowCpu), "ms", 1.0);
    bench::reportRatioGoal("after start: quiet, 10,000 albums without covers vs windows shown",
                           median(without.quiet), median(without.shown), "ms", kGoalQuiet);
    bench::reportRatioGoal("after start: quiet, 10,000 albums with covers vs without", median(with.quiet),
                           median(without.quiet), "ms", kGoalQuiet);
    bench::reportRatioGoal("after start: resident memory when quiet, 10,000 albums with covers vs without",
                           median(with.resident), median(without.resident), "MB", kGoalMemory);
    return bench::exitStatus();
}
