// Idle memory of the real program on the offscreen platform at 1024 x 768 and 1920 x 1080: the
// resident set once the covers have loaded and memory has settled, for 10 albums, 10,000 albums
// without covers and 10,000 albums with a 500 x 500 cover each; beside it, in the same run, a
// minimal Qt program that shows one full-screen window. The growth from 10 to 10,000 albums
// without covers is printed per album.
// Goals: at 1024 x 768 under 120 MB without covers and under 160 MB with them (at 1920 x 1080
// under 170 and 210 MB); under 1 KB per album without covers, and under 2 KB more per album with
// a cover.
// The work is checked: covers are read when shown, so the program over the covered library read, beyond
// the same library without covers, at least the covers of the page it shows.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <string>
#include <time.h>
#include <unistd.h>

#include "benchlibrary.h"
#include "goal.h"
#include "gradientcover.h"
#include "platform/jpegcodec.h"

namespace {

constexpr int kSmallLibrary = 10;
constexpr int kLargeLibrary = 10'000;
constexpr int kCoverSide = 500;
constexpr int kSampleMs = 500;
constexpr int kSettledSamples = 6; // three seconds without growth
constexpr int kMostMs = 60'000;
constexpr double kGoalPerAlbumKb = 1;
// A cover's thumbnail is kept compressed: a third of its 16-bit small copy at most.
constexpr double kGoalPerCoverKb = 2;
// A program is settled when it holds its resident set and uses less than this share of one core.
constexpr double kIdleCpuShare = 0.1;
// The covers a jukebox page shows, which a start reads at least.
constexpr int kPageCovers = 8;

struct Screen
{
    int width;
    int height;
    double goalMb;
    double goalWithCoversMb;
};
constexpr Screen kScreens[] = {{1024, 768, 120, 160}, {1920, 1080, 170, 210}};

// The cover of every album: a 500 x 500 JPEG.
QByteArray albumCover()
{
    return platform::encodeJpeg(gradientCover(1, kCoverSide), 90);
}

// A cover in every album folder of the library that bench::installJukebox put in `folder`.
void addCovers(const QString& folder)
{
    const QString music = folder + QStringLiteral("/music");
    const QByteArray cover = albumCover();
    for (const QString& name : QDir(music).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        bench::touchFile(music + QLatin1Char('/') + name + QStringLiteral("/title.jpg"), cover);
}

// What a process holds and has used: its resident set, the CPU time of all its threads, and the
// bytes it has read.
struct ProcessUse
{
    double residentMb = 0;
    double cpuMs = 0;
    double readBytes = 0;
};

ProcessUse useOf(qint64 pid)
{
    ProcessUse use;
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                use.residentMb = line.simplified().split(' ').value(1).toDouble() / 1024;
    }
    // Fields 14 and 15 of stat, user and system time in clock ticks, stand after the parenthesised
    // name, which may hold spaces.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        use.cpuMs =
            (fields.value(11).toDouble() + fields.value(12).toDouble()) * 1000 / double(sysconf(_SC_CLK_TCK));
    }
    QFile io(QStringLiteral("/proc/%1/io").arg(pid));
    if (io.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : io.readAll().split('\n'))
            if (line.startsWith("rchar:")) use.readBytes = line.simplified().split(' ').value(1).toDouble();
    }
    return use;
}

// Starts `program` on an offscreen screen of the given size and returns what it holds and has used
// once it has settled: its resident set no longer growing and its CPU at rest (all 0 when it ended
// first).
ProcessUse settledUse(const QString& program, const QString& screenFile)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"),
                       QStringLiteral("offscreen:configfile=") + screenFile);
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.setWorkingDirectory(QFileInfo(program).path());
    process.start(program, {});
    if (!process.waitForStarted()) return {};
    double highest = 0;
    double cpuMs = 0;
    int unchanged = 0;
    QElapsedTimer clock;
    clock.start();
    while (unchanged < kSettledSamples && clock.elapsed() < kMostMs && process.state() == QProcess::Running) {
        QThread::msleep(kSampleMs);
        const ProcessUse now = useOf(process.processId());
        const bool resting = now.cpuMs - cpuMs < kIdleCpuShare * kSampleMs;
        unchanged = now.residentMb > highest * 1.002 || !resting ? 0 : unchanged + 1;
        highest = std::max(highest, now.residentMb);
        cpuMs = now.cpuMs;
    }
    const ProcessUse settled =
        process.state() == QProcess::Running ? useOf(process.processId()) : ProcessUse{};
    process.terminate();
    if (!process.waitForFinished(5000)) process.kill();
    process.waitForFinished();
    return settled;
}

QString writeScreenFile(const QString& folder, const Screen& screen)
{
    const QString name = folder + QStringLiteral("/screen-%1x%2.json").arg(screen.width).arg(screen.height);
    bench::touchFile(name,
                     QStringLiteral(R"({"screens": [{"name": "bench", "x": 0, "y": 0, "width": %1, )"
                                    R"("height": %2, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                         .arg(screen.width)
                         .arg(screen.height)
                         .toUtf8());
    return name;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const QDir bin(QCoreApplication::applicationDirPath());
    const QString jukebox = bin.filePath(QStringLiteral("musetra"));
    const QString minimal = bin.filePath(QStringLiteral("startup_minimal_window"));
    for (const QString& needed : {jukebox, minimal})
        if (!QFileInfo(needed).isExecutable()) {
            std::printf("%s is not built\n", qPrintable(needed));
            return 1;
        }
    QTemporaryDir small, large, covered;
    const QString smallProgram = bench::installJukebox(small.path(), jukebox, kSmallLibrary);
    const QString largeProgram = bench::installJukebox(large.path(), jukebox, kLargeLibrary);
    const QString coveredProgram = bench::installJukebox(covered.path(), jukebox, kLargeLibrary);
    addCovers(covered.path());
    const double coverBytes = double(albumCover().size());
    for (const Screen& screen : kScreens) {
        const QString screenFile = writeScreenFile(small.path(), screen);
        const double floor = settledUse(minimal, screenFile).residentMb;
        const double ten = settledUse(smallProgram, screenFile).residentMb;
        const ProcessUse plainUse = settledUse(largeProgram, screenFile);
        const ProcessUse coveredUse = settledUse(coveredProgram, screenFile);
        const double plain = plainUse.residentMb;
        const double withCovers = coveredUse.residentMb;
        const double perAlbumKb = (plain - ten) * 1024 / (kLargeLibrary - kSmallLibrary);
        std::printf("idle VmRSS at %d x %d (offscreen), minimal Qt window %.0f MB:\n", screen.width,
                    screen.height, floor);
        std::printf("  %6d albums: %.0f MB\n", kSmallLibrary, ten);
        std::printf("  %6d albums without covers: %.0f MB; %.2f KB per album\n", kLargeLibrary, plain,
                    perAlbumKb);
        std::printf("  %6d albums with a %d-pixel cover each: %.0f MB\n", kLargeLibrary, kCoverSide,
                    withCovers);
        const std::string at = " at " + std::to_string(screen.width) + "x" + std::to_string(screen.height);
        const double extraCpuMs = coveredUse.cpuMs - plainUse.cpuMs;
        std::printf(
            "  with covers beside without: %.0f KB more read (a page of covers: %.0f KB), %.0f ms more CPU\n",
            (coveredUse.readBytes - plainUse.readBytes) / 1e3, kPageCovers * coverBytes / 1e3, extraCpuMs);
        bench::checkWork(coveredUse.readBytes - plainUse.readBytes >= kPageCovers * coverBytes,
                         "the program read the covers of the page it shows" + at);
        bench::reportBudgetGoal(("idle, 10,000 albums, vs minimal window" + at).c_str(), plain, floor, "MB",
                                screen.goalMb);
        // Beside the same library without covers: what the kept thumbnails cost.
        bench::reportBudgetGoal(("idle, 10,000 albums with covers (without beside)" + at).c_str(), withCovers,
                                plain, "MB", screen.goalWithCoversMb);
        // Per album with a cover, beside per album without: a cover made only when shown may add
        // nothing at all, so the budget is the plain library's share plus what a cover may add.
        const double plainKb = plain * 1024 / kLargeLibrary;
        bench::reportBudgetGoal(("idle memory per album with a cover (without beside)" + at).c_str(),
                                withCovers * 1024 / kLargeLibrary, plainKb, "KB", plainKb + kGoalPerCoverKb);
        bench::reportBudgetGoal(("idle memory per album beyond 10" + at).c_str(), perAlbumKb, 0, "KB",
                                kGoalPerAlbumKb);
    }
    return bench::exitStatus();
}
