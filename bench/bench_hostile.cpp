// A hostile library through the running jukebox: title files far past what the lists can show
// (74 MB of five million matching lines, and 2 GB with no line break at all) beside the same
// jukebox over a plain library of as many albums; and libraries whose every title file is 10 MB of
// matching 1 KB lines, 40 albums and 10,000 (one file hard-linked into every album folder).
// Measured: the process's peak memory while a search for a word on every line runs to its last
// row, and the longest page step over the pages of the 2 GB albums.
// Goals: each hostile search's peak stays under 400 MB; a page step over the 2 GB albums takes at
// most twice a step over plain ones.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <unistd.h>

#include "controls/scrolllistbox.h"
#include "controls/ticker.h"
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
constexpr int kFewLongLineAlbums = 40;
constexpr int kManyLongLineAlbums = 10'000;
constexpr int kLongLineBytes = 1024;
constexpr qint64 kLongLinesFileBytes = 10LL << 20;
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

void writeSettings(const QString& folder)
{
    QDir().mkpath(folder + QStringLiteral("/cache"));
    writeText(folder + QStringLiteral("/Musetra.ini"),
              QStringLiteral("[main]\nPath=%1/music/\nCachePath=%1/cache\nautoplay=0\n").arg(folder));
}

// A program folder over plain albums and, when `hostile`, first the albums of one long line, then
// those of many lines (plain ones in their places otherwise).
void writeProgramFolder(const QString& folder, bool hostile)
{
    const QString music = folder + QStringLiteral("/music");
    const QByteArray plain = "Love Song 1\r\nTrack title 2\r\nLove Song 3\r\n";
    for (int n = 1; n <= kHostileAlbums; ++n) {
        const QString longLine = QStringLiteral("%1/Aaa %2__Love %2").arg(music).arg(n);
        const QString manyLines = QStringLiteral("%1/Ccc %2__Love %2").arg(music).arg(n);
        hostile ? writeOneLongLine(longLine) : writeTitles(longLine, plain);
        hostile ? writeManyLines(manyLines) : writeTitles(manyLines, plain);
    }
    for (int n = 1; n <= kPlainAlbums; ++n)
        writeTitles(QStringLiteral("%1/Band %2__Album %2").arg(music).arg(n), plain);
    writeSettings(folder);
}

// A program folder of `albums` albums whose title files are one file of 10 MB of matching 1 KB
// lines, hard-linked into every album folder: one copy on disk and in the page cache.
void writeLongLinesFolder(const QString& folder, int albums)
{
    const QString music = folder + QStringLiteral("/music");
    QDir().mkpath(music);
    QByteArray line = QByteArray("Love ").leftJustified(kLongLineBytes - 1, 'x');
    line.append('\n');
    const QString titles = folder + QStringLiteral("/title.dat");
    writeTitles(folder, line.repeated(int(kLongLinesFileBytes / kLongLineBytes)));
    for (int n = 1; n <= albums; ++n) {
        const QString album = QStringLiteral("%1/Band %2__Love %2").arg(music).arg(n);
        QDir().mkpath(album);
        if (::link(QFile::encodeName(titles).constData(),
                   QFile::encodeName(album + QStringLiteral("/title.dat")).constData()) != 0)
            std::fprintf(stderr, "cannot link a title file\n");
    }
    writeSettings(folder);
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

// The jukebox started over the program folder `write` fills: when `stepPages`, the longest page
// step over the first pages, then the search's peak memory and rows.
Figures measure(const std::function<void(const QString&)>& write, bool stepPages)
{
    QTemporaryDir folder;
    write(folder.path());
    platform::setProgramFolder(folder.path());
    Figures figures;
    StartedJukebox started;
    jukebox::Tjukebox& jb = *jukebox::jukebox;
    jb.show();
    QCoreApplication::processEvents();
    if (stepPages) figures.pageStepMs = longestPageStepMs(jb);
    jukebox::ttracksearch& panel = openSearchPanel(jb, kWord);
    resetPeak();
    if (!bench::checkWork(runSearch(panel), "the search ended within its bound")) return figures;
    figures.peakMb = peakMb();
    figures.rows = panel.lb->items().count();
    figures.found = foundRows(figures.rows);
    return figures;
}

void printFigures(const char* library, const Figures& figures)
{
    std::printf("%-16s %10.1f %8d %12lld %16.1f\n", library, figures.peakMb, figures.rows,
                static_cast<long long>(figures.found), figures.pageStepMs);
}

// A search over `albums` albums of 10 MB of matching 1 KB lines: each finds its 9,999 readable
// lines, the list keeps the first of them.
void checkLongLinesSearch(const Figures& figures, int albums, const std::string& library)
{
    bench::checkWork(figures.found == int64_t(albums) * (1 + kMaxTitleLines) &&
                         figures.rows == jukebox::tsearchthread::kMaxRows,
                     "the search over " + library + " found every readable title and listed its bound");
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    using namespace std::placeholders;
    const Figures plain = measure(std::bind(writeProgramFolder, _1, false), true);
    // Work the plain library left undone would be left undone over the hostile ones too.
    if (bench::exitStatus() != 0) return bench::exitStatus();
    const Figures hostile = measure(std::bind(writeProgramFolder, _1, true), true);
    const Figures fewLong = measure(std::bind(writeLongLinesFolder, _1, kFewLongLineAlbums), false);
    const Figures manyLong = measure(std::bind(writeLongLinesFolder, _1, kManyLongLineAlbums), false);
    std::printf("\n%-16s %10s %8s %12s %16s\n", "library", "peak MB", "rows", "found", "page step ms");
    printFigures("plain", plain);
    printFigures("hostile", hostile);
    printFigures("40 x 10 MB", fewLong);
    printFigures("10,000 x 10 MB", manyLong);
    // Titles files are read no further than the lists reach, 9,999 lines: each album of many lines
    // finds that many rows, no more, and the long line none. The list keeps the first of them.
    const int64_t budgetRows = int64_t(kHostileAlbums) * kMaxTitleLines;
    bench::checkWork(plain.rows > 0, "the plain search listed its rows");
    bench::checkWork(hostile.found >= budgetRows && hostile.found <= plain.found + budgetRows,
                     "the hostile search found every title up to the read budget and none past it");
    bench::checkWork(hostile.rows == std::min<int64_t>(hostile.found, jukebox::tsearchthread::kMaxRows),
                     "the hostile search listed its rows up to the list's bound");
    checkLongLinesSearch(fewLong, kFewLongLineAlbums, "40 albums of long lines");
    checkLongLinesSearch(manyLong, kManyLongLineAlbums, "10,000 albums of long lines");
    bench::reportBudgetGoal("hostile library: search peak memory (plain beside)", hostile.peakMb,
                            plain.peakMb, "MB", kPeakBudgetMb);
    bench::reportBudgetGoal("40 albums of 10 MB of 1 KB titles: search peak memory (plain beside)",
                            fewLong.peakMb, plain.peakMb, "MB", kPeakBudgetMb);
    bench::reportBudgetGoal("10,000 albums of 10 MB of 1 KB titles: search peak memory (plain beside)",
                            manyLong.peakMb, plain.peakMb, "MB", kPeakBudgetMb);
    bench::reportRatioGoal("hostile library: longest page step vs plain", hostile.pageStepMs,
                           plain.pageStepMs, "ms", kPageStepRatio);
    return bench::exitStatus();
}
