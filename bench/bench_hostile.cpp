// A hostile library through the running jukebox: title files far past what the lists can show
// (74 MB of five million matching lines, and 2 GB with no line break at all) beside the same
// jukebox over a plain library of as many albums. Measured: the process's peak memory while a
// search for a word on every line runs to its last row, and the longest page step over the pages
// of the 2 GB albums.
// Goals: the hostile search's peak stays under 400 MB; a page step over the 2 GB albums takes at
// most twice a step over plain ones.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <string>

#include "controls/scrolllistbox.h"
#include "goal.h"
#include "jukebox/jukeboxform.h"
#include "jukebox/pageslide.h"
#include "mpvbench.h"
#include "pagestep.h"
#include "platform/programfolder.h"
#include "searchroad.h"
#include "startedjukebox.h"

namespace {

constexpr int kHostileAlbums = 6; // of each kind
constexpr int kPageSteps = 2;     // over the pages of the albums with one 2 GB line
constexpr int kPlainAlbums = 40;
constexpr qint64 kManyLines = 5'000'000;
constexpr int kMaxTitleLines = 9'999; // the most of a titles file the lists show
constexpr qint64 kOneLineBytes = 2LL << 30;
constexpr qint64 kWrittenBytes = 32LL << 20; // past the most a title reader takes in
constexpr double kPeakBudgetMb = 400;
constexpr double kPageStepRatio = 2.0;
const QString kWord = QStringLiteral("love");

struct Figures
{
    double peakMb = 0;
    double pageStepMs = 0;
    int rows = 0;      // listed
    int64_t found = 0; // listed and counted past the list's bound
};

// Rows listed plus the rows the message line says were found past the list's bound.
int64_t foundRows(int listed)
{
    static const QRegularExpression more(QStringLiteral(", (\\d+) more not listed"));
    const QRegularExpressionMatch match = more.match(jukebox::oldmessage);
    return listed + (match.hasMatch() ? match.captured(1).toLongLong() : 0);
}

void writeTitles(const QString& album, const QByteArray& titles)
{
    QDir().mkpath(album);
    QFile file(album + QStringLiteral("/title.dat"));
    if (file.open(QIODevice::WriteOnly)) file.write(titles);
}

// Five million short matching lines, written a block at a time.
void writeManyLines(const QString& album)
{
    QDir().mkpath(album);
    QFile file(album + QStringLiteral("/title.dat"));
    if (!file.open(QIODevice::WriteOnly)) return;
    constexpr int kLinesPerBlock = 10'000;
    const QByteArray block = QByteArray("Love me tender\n").repeated(kLinesPerBlock);
    for (qint64 written = 0; written < kManyLines; written += kLinesPerBlock)
        file.write(block);
}

// 2 GB with no line break: letters as far as any reader could go, the rest a hole that costs no disk.
void writeOneLongLine(const QString& album)
{
    QDir().mkpath(album);
    QFile file(album + QStringLiteral("/title.dat"));
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(QByteArray(kWrittenBytes, 'x'));
    file.resize(kOneLineBytes);
}

// A program folder over plain albums and, when `hostile`, first the albums of one long line, then
// those of many lines (plain ones in their places otherwise).
void writeProgramFolder(const QString& folder, bool hostile)
{
    const QString music = folder + QStringLiteral("/music");
    QDir().mkpath(folder + QStringLiteral("/cache"));
    const QByteArray plain = "Love Song 1\r\nTrack title 2\r\nLove Song 3\r\n";
    for (int n = 1; n <= kHostileAlbums; ++n) {
        const QString longLine = QStringLiteral("%1/Aaa %2__Love %2").arg(music).arg(n);
        const QString manyLines = QStringLiteral("%1/Ccc %2__Love %2").arg(music).arg(n);
        hostile ? writeOneLongLine(longLine) : writeTitles(longLine, plain);
        hostile ? writeManyLines(manyLines) : writeTitles(manyLines, plain);
    }
    for (int n = 1; n <= kPlainAlbums; ++n)
        writeTitles(QStringLiteral("%1/Band %2__Album %2").arg(music).arg(n), plain);
    writeText(folder + QStringLiteral("/Musetra.ini"),
              QStringLiteral("[main]\nPath=%1/\nCachePath=%2/cache\nautoplay=0\n").arg(music, folder));
}

// The process's peak resident memory since the last reset, in MB.
double peakMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return -1;
}

void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly)) clear.write("5");
}

// The longest of the page steps over the first pages (those of one long line when hostile), each
// checked to have slid to its page; then one more step checked to have drawn its page. 0 when a
// check failed.
double longestPageStepMs(jukebox::Tjukebox& jb)
{
    jb.pageSlide().setFrameInterval(0);
    double longest = 0;
    for (int step = 0; step < kPageSteps; ++step) {
        QElapsedTimer clock;
        clock.start();
        const bool slid = bench::stepPage(jb, true);
        longest = std::max(longest, msSince(clock));
        if (!bench::checkWork(slid, "a page step slid to the next page")) return 0;
        QCoreApplication::processEvents();
    }
    return bench::checkWork(bench::checkedStep(jb, true), "a page step drew the next page") ? longest : 0;
}

Figures measure(bool hostile)
{
    QTemporaryDir folder;
    writeProgramFolder(folder.path(), hostile);
    platform::setProgramFolder(folder.path());
    Figures figures;
    StartedJukebox started;
    jukebox::Tjukebox& jb = *jukebox::jukebox;
    jb.show();
    QCoreApplication::processEvents();
    figures.pageStepMs = longestPageStepMs(jb);
    jukebox::ttracksearch& panel = openSearchPanel(jb, kWord);
    resetPeak();
    if (!bench::checkWork(runSearch(panel), "the search ended within its bound")) return figures;
    figures.peakMb = peakMb();
    figures.rows = panel.lb->items().count();
    figures.found = foundRows(figures.rows);
    return figures;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const Figures plain = measure(false);
    // Work the plain library left undone would be left undone over the hostile one too.
    if (bench::exitStatus() != 0) return bench::exitStatus();
    const Figures hostile = measure(true);
    std::printf("\n%-8s %10s %8s %16s\n", "library", "peak MB", "rows", "page step ms");
    std::printf("%-8s %10.1f %8d %16.1f\n", "plain", plain.peakMb, plain.rows, plain.pageStepMs);
    std::printf("%-8s %10.1f %8d %16.1f\n", "hostile", hostile.peakMb, hostile.rows, hostile.pageStepMs);
    // Titles files are read no further than the lists reach, 9,999 lines: each album of many lines
    // finds that many rows, no more, and the long line none. The list keeps the first of them.
    const int64_t budgetRows = int64_t(kHostileAlbums) * kMaxTitleLines;
    bench::checkWork(plain.rows > 0, "the plain search listed its rows");
    bench::checkWork(hostile.found >= budgetRows && hostile.found <= plain.found + budgetRows,
                     "the hostile search found every title up to the read budget and none past it");
    bench::checkWork(hostile.rows == std::min<int64_t>(hostile.found, jukebox::tsearchthread::kMaxRows),
                     "the hostile search listed its rows up to the list's bound");
    bench::reportBudgetGoal("hostile library: search peak memory (plain beside)", hostile.peakMb,
                            plain.peakMb, "MB", kPeakBudgetMb);
    bench::reportRatioGoal("hostile library: longest page step vs plain", hostile.pageStepMs,
                           plain.pageStepMs, "ms", kPageStepRatio);
    return bench::exitStatus();
}
