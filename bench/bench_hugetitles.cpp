// A stop signal with huge title files on the first page: the real program on the offscreen
// platform over four albums whose title files hold 10 MB of 1 KB lines each, beside the same
// library with short titles, three runs each, alternated (median). Once a start has gone quiet
// (under a tenth of one core over half a second), SIGTERM: the time until the settings are on
// disk, and until the program has ended.
// Goals: the settings written as soon after the signal as with short titles (within 2x), and the
// program ended within a second.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "benchlibrary.h"
#include "goal.h"
#include "median.h"

namespace {

constexpr int kAlbums = 4;
constexpr int kRuns = 3;
constexpr qint64 kTitleBytes = 10 * 1024 * 1024;
constexpr int kLineBytes = 1024;
constexpr int kQuietMs = 500;
constexpr double kQuietShare = 0.1;
constexpr int kMostMs = 120'000;
constexpr double kGoalSettingsRatio = 2;
constexpr double kGoalEndMs = 1000;

// The settings the library in `folder` starts with; those the program writes add the last album shown.
QByteArray startSettings(const QString& folder)
{
    return QStringLiteral("[main]\nPath=%1/music/\nCachePath=%1/cache\nautoplay=0\n").arg(folder).toUtf8();
}

// The program placed in `folder` over `kAlbums` albums whose titles are `line` repeated to fill
// `bytes`; the placed program.
QString installLibrary(const QString& folder, const QString& program, const QByteArray& line, qint64 bytes)
{
    const QString music = folder + QStringLiteral("/music");
    QByteArray titles;
    while (titles.size() + line.size() <= bytes)
        titles += line;
    for (int n = 0; n < kAlbums; ++n) {
        const QString album = QStringLiteral("%1/Artist %2__Album %2").arg(music).arg(n);
        QDir().mkpath(album);
        bench::touchFile(album + QStringLiteral("/track01.mp3"));
        bench::touchFile(album + QStringLiteral("/title.dat"), titles);
    }
    QDir().mkpath(folder + QStringLiteral("/cache"));
    bench::touchFile(
        folder + QStringLiteral("/Musetra.ini"),
        QStringLiteral("[main]\nPath=%1/\nCachePath=%2/cache\nautoplay=0\n").arg(music, folder).toUtf8());
    return bench::programIn(folder, program);
}

// The CPU time process `pid` has used, in ms; -1 when it is gone.
double processCpuMs(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return -1;
    const QByteArray text = stat.readAll();
    // The fields after the command (in parentheses): utime and stime are the 12th and 13th.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13) return -1;
    return (fields[11].toDouble() + fields[12].toDouble()) * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

// Waits until process `pid` has used under a tenth of one core over half a second.
bool waitQuiet(qint64 pid)
{
    QElapsedTimer waited;
    waited.start();
    double before = processCpuMs(pid);
    while (waited.elapsed() < kMostMs && before >= 0) {
        QThread::msleep(kQuietMs);
        const double now = processCpuMs(pid);
        if (now >= 0 && now - before < kQuietShare * kQuietMs) return true;
        before = now;
    }
    return false;
}

struct Stop
{
    double settingsMs = -1;
    double endMs = -1;
};

// Starts the program placed at `program`, lets it go quiet and stops it.
Stop startAndStop(const QString& program)
{
    const QString settings = QFileInfo(program).path() + QStringLiteral("/Musetra.ini");
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.setWorkingDirectory(QFileInfo(program).path());
    process.start(program, {});
    Stop stop;
    if (!process.waitForStarted() || !waitQuiet(process.processId())) {
        process.kill();
        process.waitForFinished();
        return stop;
    }
    // Whatever the start wrote is put back to the settings without the last album shown.
    QFile::remove(settings);
    bench::touchFile(settings, startSettings(QFileInfo(program).path()));
    QElapsedTimer clock;
    clock.start();
    ::kill(pid_t(process.processId()), SIGTERM);
    while (clock.elapsed() < kMostMs && process.state() == QProcess::Running) {
        QFile written(settings);
        if (stop.settingsMs < 0 && written.open(QIODevice::ReadOnly) &&
            written.readAll().contains("jLastAlbum"))
            stop.settingsMs = double(clock.nsecsElapsed()) / 1e6;
        process.waitForFinished(1);
    }
    if (process.state() == QProcess::Running) {
        process.kill();
        process.waitForFinished();
        return Stop{};
    }
    stop.endMs = double(clock.nsecsElapsed()) / 1e6;
    QFile written(settings);
    if (stop.settingsMs < 0 && written.open(QIODevice::ReadOnly) && written.readAll().contains("jLastAlbum"))
        stop.settingsMs = stop.endMs;
    return stop;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const QString jukebox = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("musetra"));
    if (!QFileInfo(jukebox).isExecutable()) {
        std::printf("%s is not built\n", qPrintable(jukebox));
        return 1;
    }
    QTemporaryDir huge, plain;
    const QString hugeProgram =
        installLibrary(huge.path(), jukebox, QByteArray(kLineBytes - 1, 'T') + '\n', kTitleBytes);
    const QString plainProgram =
        installLibrary(plain.path(), jukebox, QByteArrayLiteral("Track title\n"), 10 * 12);
    std::vector<double> hugeSettings, hugeEnd, plainSettings, plainEnd;
    for (int run = 0; run < kRuns; ++run) {
        for (const bool large : {false, true}) {
            const Stop stop = startAndStop(large ? hugeProgram : plainProgram);
            if (!bench::checkWork(stop.settingsMs >= 0 && stop.endMs >= 0,
                                  std::string("a stop signal ended the program with its settings written (") +
                                      (large ? "10 MB" : "short") + " titles)"))
                return bench::exitStatus();
            (large ? hugeSettings : plainSettings).push_back(stop.settingsMs);
            (large ? hugeEnd : plainEnd).push_back(stop.endMs);
        }
    }
    std::printf(
        "stop signal to settings on disk / to the end (median of %d): 10 MB title files %.0f / %.0f ms; "
        "short titles %.0f / %.0f ms\n",
        kRuns, median(hugeSettings), median(hugeEnd), median(plainSettings), median(plainEnd));
    bench::reportRatioGoal("stop: settings on disk, 10 MB title files vs short titles", median(hugeSettings),
                           median(plainSettings), "ms", kGoalSettingsRatio);
    bench::reportBudgetGoal("stop: program ended, 10 MB title files (short titles beside)", median(hugeEnd),
                            median(plainEnd), "ms", kGoalEndMs);
    return bench::exitStatus();
}
