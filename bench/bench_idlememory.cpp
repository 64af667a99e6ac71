// Idle memory of the real program on the offscreen platform at 1024 x 768 and 1920 x 1080: the
// resident set once the covers have loaded and memory has settled, for 10 albums, 10,000 albums
// without covers and 10,000 albums with a 500 x 500 cover each; beside it, in the same run, a
// minimal Qt program that shows one full-screen window. The growth from 10 to 10,000 albums
// without covers is printed per album.
// Goals: at 1024 x 768 under 120 MB without covers and under 160 MB with them (at 1920 x 1080
// under 170 and 210 MB); under 1 KB per album without covers, and under 2 KB more per album with
// a cover.

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

struct Screen
{
    int width;
    int height;
    double goalMb;
    double goalWithCoversMb;
};
constexpr Screen kScreens[] = {{1024, 768, 120, 160}, {1920, 1080, 170, 210}};

// A cover in every album folder of the library that bench::installJukebox put in `folder`.
void addCovers(const QString& folder)
{
    const QString music = folder + QStringLiteral("/music");
    const QByteArray cover = platform::encodeJpeg(gradientCover(1, kCoverSide), 90);
    for (const QString& name : QDir(music).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        bench::touchFile(music + QLatin1Char('/') + name + QStringLiteral("/title.jpg"), cover);
}

double residentMb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.simplified().split(' ').value(1).toDouble() / 1024;
    return 0;
}

// Starts `program` on an offscreen screen of the given size and returns its resident set once it
// has stopped growing (0 when it ended first).
double settledResidentMb(const QString& program, const QString& screenFile)
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
    if (!process.waitForStarted()) return 0;
    double highest = 0;
    int unchanged = 0;
    QElapsedTimer clock;
    clock.start();
    while (unchanged < kSettledSamples && clock.elapsed() < kMostMs && process.state() == QProcess::Running) {
        QThread::msleep(kSampleMs);
        const double now = residentMb(process.processId());
        unchanged = now > highest * 1.002 ? 0 : unchanged + 1;
        highest = std::max(highest, now);
    }
    const double settled = process.state() == QProcess::Running ? residentMb(process.processId()) : 0;
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
    for (const Screen& screen : kScreens) {
        const QString screenFile = writeScreenFile(small.path(), screen);
        const double floor = settledResidentMb(minimal, screenFile);
        const double ten = settledResidentMb(smallProgram, screenFile);
        const double plain = settledResidentMb(largeProgram, screenFile);
        const double withCovers = settledResidentMb(coveredProgram, screenFile);
        const double perAlbumKb = (plain - ten) * 1024 / (kLargeLibrary - kSmallLibrary);
        std::printf("idle VmRSS at %d x %d (offscreen), minimal Qt window %.0f MB:\n", screen.width,
                    screen.height, floor);
        std::printf("  %6d albums: %.0f MB\n", kSmallLibrary, ten);
        std::printf("  %6d albums without covers: %.0f MB; %.2f KB per album\n", kLargeLibrary, plain,
                    perAlbumKb);
        std::printf("  %6d albums with a %d-pixel cover each: %.0f MB\n", kLargeLibrary, kCoverSide,
                    withCovers);
        const std::string at = " at " + std::to_string(screen.width) + "x" + std::to_string(screen.height);
        bench::reportBudgetGoal(("idle, 10,000 albums, vs minimal window" + at).c_str(), plain, floor, "MB",
                                screen.goalMb);
        // Beside the same library without covers: what the kept thumbnails cost.
        bench::reportBudgetGoal(("idle, 10,000 albums with covers (without beside)" + at).c_str(), withCovers,
                                plain, "MB", screen.goalWithCoversMb);
        bench::reportBudgetGoal(("idle memory a cover adds per album" + at).c_str(),
                                (withCovers - plain) * 1024 / kLargeLibrary, 0, "KB", kGoalPerCoverKb);
        bench::reportBudgetGoal(("idle memory per album beyond 10" + at).c_str(), perAlbumKb, 0, "KB",
                                kGoalPerAlbumKb);
    }
    return bench::exitStatus();
}
