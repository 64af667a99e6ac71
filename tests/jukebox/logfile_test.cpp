#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <gtest/gtest.h>
#include <map>
#include <memory>

#include "fakeclock.h"
#include "jukebox/logdateformat.h"
#include "jukebox/logfile.h"
#include "platform/waithelper.h"
#include "printers.h"
#include "smalldisk.h"
#include "tempfolder.h"

using namespace jukebox;

namespace {

// Records what the chart thread does to the chart list.
class RecordingList : public Top100List
{
public:
    void setShowNumbers(bool on) override { numbers = on; }
    void clearItems() override
    {
        items.clear();
        ++clears;
    }
    void addItem(const QString& text) override
    {
        items << text;
        if (onAdd) onAdd();
    }
    void refresh() override { ++refreshes; }

    bool numbers = true;
    QStringList items;
    int clears = 0;
    int refreshes = 0;
    std::function<void()> onAdd;
};

const QDate kToday(2024, 3, 31);

QByteArray line(const QDate& date, const QString& artist, const QString& album, const QString& track,
                const QTime& time = QTime(20, 15, 0))
{
    static const LogDateFormat format(QLocale::system(), kToday.year());
    return (format.write(date, time) + QStringLiteral("\t\"%1\"\t\"%2\"\t\"%3\"\n").arg(artist, album, track))
        .toUtf8();
}

QByteArray line(const QDate& date, const char* artist, const char* album, const char* track)
{
    return line(date, QString::fromUtf8(artist), QString::fromUtf8(album), QString::fromUtf8(track));
}

class PlayLog : public ::testing::Test
{
protected:
    QString path() const { return folder.file(QStringLiteral("plays.log")); }
    QByteArray contents() const { return folder.read(QStringLiteral("plays.log")); }
    void writeLog(const QByteArray& bytes) const { folder.write(QStringLiteral("plays.log"), bytes); }

    // Runs the chart thread once, as the operator panel does, and waits for it.
    void runChart(tlogfile& log)
    {
        log.Resume();
        platform::waitForThread(log);
    }

    TempFolder folder;
    FakeClock clock{QDateTime(kToday, QTime(21, 0))};
    RecordingList chart;
};

} // namespace

TEST_F(PlayLog, WrittenLinesReadBackWithTheirFields)
{
    tlogfile log(path(), &chart);
    log.writeentry(QStringLiteral("Miles Davis"), QStringLiteral("Kind of Blue"), QStringLiteral("So What"));
    clock.set(QDateTime(QDate(2024, 4, 1), QTime(0, 0)));
    log.writeentry(QStringLiteral("Björk"), QStringLiteral("Post"), QStringLiteral("Army of Me"));

    const QStringList lines = QString::fromUtf8(contents()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("\t\"Miles Davis\"\t\"Kind of Blue\"\t\"So What\"")));
    tlogentry first;
    ASSERT_TRUE(log.readentry(lines[0], first));
    EXPECT_EQ(first.date, QDateTime(kToday, QTime(21, 0)));
    EXPECT_EQ(first.artist, QStringLiteral("Miles Davis"));
    EXPECT_EQ(first.album, QStringLiteral("Kind of Blue"));
    EXPECT_EQ(first.track, QStringLiteral("So What"));
    tlogentry midnight;
    ASSERT_TRUE(log.readentry(lines[1], midnight));
    EXPECT_EQ(midnight.date, QDateTime(QDate(2024, 4, 1), QTime(0, 0)));
    EXPECT_EQ(midnight.artist, QStringLiteral("Björk"));
}

TEST_F(PlayLog, LineBreaksAndControlCharactersInFieldsBecomeBlanksAndAnEmptyPathWritesNothing)
{
    tlogfile log(path(), &chart);
    log.writeentry(QStringLiteral("A\tB"), QStringLiteral("Two\nLines\x1b[2J"),
                   QStringLiteral("Tab\tin\r\ntitle"));
    tlogentry e;
    ASSERT_TRUE(log.readentry(QString::fromUtf8(contents()).trimmed(), e));
    EXPECT_EQ(e.artist, QStringLiteral("A B"));
    EXPECT_EQ(e.album, QStringLiteral("Two Lines [2J"));
    EXPECT_EQ(e.track, QStringLiteral("Tab\tin  title"));

    tlogfile none(QString(), &chart);
    none.writeentry(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 1);
}

// A line the full disk takes only part of would join the next line written once space is freed,
// and the chart would read neither.
TEST_F(PlayLog, AFullDiskTakesNoPartOfALineAndTheChartReadsTheLinesWrittenOnceSpaceIsFreed)
{
    const SmallDisk disk(folder.file(QStringLiteral("disk")), 4);
    if (!disk.mounted()) GTEST_SKIP() << "no tmpfs could be mounted (needs root)";
    const QString log = folder.file(QStringLiteral("disk/plays.log"));
    // Whole lines that leave a few bytes of their last page: the next line fits only in part.
    const QDate d(2024, 3, 20);
    const qint64 padding = SmallDisk::pageSize() - 6 - line(d, "Pad", "Pad", "").size();
    const QByteArray before = line(d, QStringLiteral("Pad"), QStringLiteral("Pad"), QString(padding, u'x'));
    folder.write(QStringLiteral("disk/plays.log"), before);
    ASSERT_TRUE(disk.fill());

    tlogfile plays(log, &chart);
    plays.writeentry(QStringLiteral("Amber"), QStringLiteral("Gold"), QStringLiteral("Lost"));
    EXPECT_EQ(folder.read(QStringLiteral("disk/plays.log")), before);
    disk.free();
    plays.writeentry(QStringLiteral("Amber"), QStringLiteral("Gold"), QStringLiteral("Kept"));
    EXPECT_TRUE(folder.read(QStringLiteral("disk/plays.log")).endsWith("\t\"Amber\"\t\"Gold\"\t\"Kept\"\n"));
    runChart(plays);
    ASSERT_EQ(chart.items.size(), 2);
    EXPECT_EQ(chart.items[0], QStringLiteral("Amber - Gold : Kept (1)"));
}

TEST_F(PlayLog, ReadsLinesAsTheFormatDefines)
{
    tlogfile log(path(), &chart);
    const QString date = LogDateFormat(QLocale::system(), 2024).write(kToday, QTime(10, 0));
    tlogentry e;
    // Quotes vanish wherever they stand; everything after the third TAB is the title.
    ASSERT_TRUE(log.readentry(date + QStringLiteral("\t\"Art\"ist\"\t\"Al\"bum\t\"Tr\tack\" two\""), e));
    EXPECT_EQ(e.artist, QStringLiteral("Artist"));
    EXPECT_EQ(e.album, QStringLiteral("Album"));
    EXPECT_EQ(e.track, QStringLiteral("Tr\tack two"));
    const QString unreadable[] = {date + QStringLiteral("\t\"a\"\t\"b\""),
                                  QStringLiteral("junk\t\"a\"\t\"b\"\t\"c\""), QString(), date};
    for (const QString& text : unreadable) {
        tlogentry untouched;
        untouched.artist = QStringLiteral("kept");
        EXPECT_FALSE(log.readentry(text, untouched)) << text.toStdString();
        EXPECT_EQ(untouched.artist, QStringLiteral("kept"));
    }
}

TEST(PlayLogCutoff, IsTheSameDayAMonthEarlierCutToThatMonth)
{
    const std::pair<QDate, QDate> cases[] = {
        {QDate(2024, 3, 31), QDate(2024, 2, 29)},  {QDate(2023, 3, 31), QDate(2023, 2, 28)},
        {QDate(2024, 5, 31), QDate(2024, 4, 30)},  {QDate(2024, 1, 15), QDate(2023, 12, 15)},
        {QDate(2024, 1, 31), QDate(2023, 12, 31)}, {QDate(2024, 7, 10), QDate(2024, 6, 10)},
    };
    for (const auto& [today, cutoff] : cases)
        EXPECT_EQ(tlogfile::cutoffdate(today), cutoff) << today.toString().toStdString();
}

TEST_F(PlayLog, CleaningKeepsTheLastMonthJudgesUnreadableLinesByTheLineBeforeAndCreatesNoLog)
{
    const QByteArray junk = "not a log line\n";
    const QByteArray keptBefore = junk; // no readable line before it: kept
    const QByteArray old = line(QDate(2024, 2, 28), "Old", "Album", "Gone");
    const QByteArray cut = line(QDate(2024, 2, 29), QStringLiteral("Cut"), QStringLiteral("Album"),
                                QStringLiteral("Stays"), QTime(0, 0));
    const QByteArray recent = line(QDate(2024, 3, 30), "New", "Album", "Stays");
    writeLog(keptBefore + old + junk + cut + junk + recent);
    const QFile::Permissions permissions = QFileInfo(path()).permissions();

    tlogfile log(path(), &chart);
    log.cleanlogfile();
    EXPECT_EQ(contents(), keptBefore + cut + junk + recent);
    EXPECT_EQ(QFileInfo(path()).permissions(), permissions);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("plays.log")});

    // Without a log, cleaning creates none.
    QFile::remove(path());
    log.cleanlogfile();
    EXPECT_FALSE(QFileInfo::exists(path()));
}

TEST_F(PlayLog, ALeftoverWorkingCopyIsRecoveredNotDeleted)
{
    // An interrupted cleaning left the whole old log as the working copy and a new log holding
    // part of it, followed by lines played since.
    const QByteArray a = line(QDate(2024, 3, 1), "A", "Album", "One");
    const QByteArray b = line(QDate(2024, 3, 2), "B", "Album", "Two");
    const QByteArray c = line(QDate(2024, 3, 3), "C", "Album", "Three");
    const QByteArray later = line(QDate(2024, 3, 30), "D", "Album", "Later");
    folder.write(QStringLiteral("plays.log.$$$"), a + b + c);
    writeLog(a + later);
    // Beside it, a copy the program left by a kill before its rename, and the operator's own.
    folder.write(QStringLiteral(".~musetra.plays.log.Ab12Cd"), a);
    for (const char* name : {"plays.log.backup", "plays.log.before"})
        folder.write(QLatin1String(name), a);
    tlogfile log(path(), &chart);
    log.cleanlogfile();
    EXPECT_EQ(contents(), a + b + c + later);
    EXPECT_FALSE(QFileInfo::exists(path() + QStringLiteral(".$$$")));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              QStringList({QStringLiteral("plays.log"), QStringLiteral("plays.log.backup"),
                           QStringLiteral("plays.log.before")}));

    // With no new log at all, the working copy simply becomes the log again.
    QFile::remove(path());
    folder.write(QStringLiteral("plays.log.$$$"), a + b);
    log.cleanlogfile();
    EXPECT_EQ(contents(), a + b);
    EXPECT_FALSE(QFileInfo::exists(path() + QStringLiteral(".$$$")));
}

TEST_F(PlayLog, ALineWrittenWhileTheLogIsCleanedIsKept)
{
    writeLog(line(QDate(2024, 1, 1), "Old", "Album", "Gone") +
             line(QDate(2024, 3, 30), "New", "Album", "Stays"));
    tlogfile log(path(), &chart);
    // The first status line reaches the window thread in the middle of the cleaning: a track
    // queued at that moment is appended to the log that is being rewritten.
    bool written = false;
    chart.onAdd = [&] {
        if (written) return;
        written = true;
        log.writeentry(QStringLiteral("Queued"), QStringLiteral("While"), QStringLiteral("Cleaning"));
    };
    runChart(log);
    ASSERT_TRUE(written);
    const QString text = QString::fromUtf8(contents());
    EXPECT_FALSE(text.contains(QStringLiteral("Gone")));
    EXPECT_TRUE(text.contains(QStringLiteral("\"Stays\"")));
    EXPECT_TRUE(text.contains(QStringLiteral("\t\"Queued\"\t\"While\"\t\"Cleaning\"\n")));
    // Counting reads the cleaned log, the queued line included; the later first play leads the tie.
    EXPECT_EQ(chart.items, (QStringList{QStringLiteral("Queued - While : Cleaning (1)"),
                                        QStringLiteral("New - Album : Stays (1)")}));
}

TEST_F(PlayLog, ChartCountsTracksGroupsSpellingsAndOrdersTiesByLatestFirstPlay)
{
    const QDate d(2024, 3, 20);
    writeLog(line(d, "Abba", "Gold", "Waterloo") +         // first of three
             line(d, "Beck", "Odelay", "Devils Haircut") + // one play, first seen early
             line(d, " ABBA ", "gold", "WATERLOO  ") +     // same track, other spelling
             line(d, "Cake", "Fashion", "Short Skirt") +   // two plays
             line(d, "Dido", "No Angel", "Thank You") +    // one play, first seen late
             QByteArray("garbage\n") + line(d, "Cake", "Fashion", "Short Skirt") +
             line(d, "abba", "GOLD", "waterloo") + line(d, "Eels", "Beautiful", "Tab\there") +
             line(d, "Jazz", "Fuzz", "Quiz") + // two plays, every letter upper-cased up to 'z'
             line(d, "", "", "") + line(d, "", "No", "Artist") + line(d, "JAZZ", "FUZZ", "QUIZ"));
    tlogfile log(path(), &chart);
    runChart(log);
    EXPECT_TRUE(chart.numbers);
    EXPECT_EQ(chart.items, (QStringList{QStringLiteral("Abba - Gold : Waterloo (3)"),
                                        QStringLiteral("Jazz - Fuzz : Quiz (2)"),
                                        QStringLiteral("Cake - Fashion : Short Skirt (2)"),
                                        QStringLiteral("Eels - Beautiful : Tab\there (1)"),
                                        QStringLiteral("Dido - No Angel : Thank You (1)"),
                                        QStringLiteral("Beck - Odelay : Devils Haircut (1)")}));
    EXPECT_GE(chart.refreshes, 1);
}

TEST_F(PlayLog, ChartGroupsSpellingsBeyondPlainAscii)
{
    const QDate d(2024, 3, 20);
    writeLog(line(d, "Björk", "Post", "Army of Me") + line(d, "BJÖRK", "post", "ARMY OF ME") +
             line(d, " björk", "Post ", "army of me") + line(d, "Die Ärzte", "Straße", "Zu spät") +
             line(d, "DIE ÄRZTE", "STRASSE", "zu SPÄT") + line(d, "Bjork", "Post", "Army of Me"));
    tlogfile log(path(), &chart);
    runChart(log);
    EXPECT_EQ(chart.items, (QStringList{QStringLiteral("Björk - Post : Army of Me (3)"),
                                        QStringLiteral("Die Ärzte - Straße : Zu spät (2)"),
                                        QStringLiteral("Bjork - Post : Army of Me (1)")}));
}

TEST_F(PlayLog, OtherDateFormsCountAndMalformedTimesDoNot)
{
    const QByteArray fields = "\t\"Abba\"\t\"Gold\"\t\"Waterloo\"\n";
    const QByteArray first = line(QDate(2024, 3, 20), "Abba", "Gold", "Waterloo");
    const QByteArray stamp = first.left(first.indexOf('\t'));
    const QByteArray day =
        LogDateFormat(QLocale::system(), 2024).write(QDate(2024, 3, 20), QTime(0, 0)).toUtf8();
    QByteArray log = first;
    for (const QByteArray& readable :
         {QByteArray("2024-03-20 10:00:00"), QByteArray("\"2024-03-20\" 10:00:01"),
          QByteArray("3/20/2024 10:02"), "  " + stamp + " ", day})
        log += readable + fields;
    // Lines of the same day as the line before, whose time cannot be read.
    for (const char* time : {" 10:61:00", " 1O:00:00", " 10:00:00x", " 10:00:", " 24:00:00"})
        log += day + time + fields;
    writeLog(log);
    tlogfile chartThread(path(), &chart);
    runChart(chartThread);
    EXPECT_EQ(chart.items, QStringList{QStringLiteral("Abba - Gold : Waterloo (6)")});
    EXPECT_EQ(contents(), log); // unreadable lines count as recent as the line before them
}

TEST_F(PlayLog, BigLogsAreReadLineForLine)
{
    // Lines of thirteen lengths, old ones among them, one line longer than a whole reading
    // block and a last line without its line end: cleaning and counting see every line whole.
    QByteArray log;
    QByteArray kept;
    std::map<int, int> plays;
    const auto add = [&](const QByteArray& entry, bool recent) {
        log += entry;
        if (recent) kept += entry;
    };
    for (int i = 0; i < 4000; ++i) {
        const int track = i * 7 % 13;
        const bool recent = i % 5 != 0;
        add(line(recent ? QDate(2024, 3, 20) : QDate(2024, 1, 10), QStringLiteral("Artist"),
                 QStringLiteral("Album"), QStringLiteral("T%1").arg(QString(track * 40, QLatin1Char('x')))),
            recent);
        if (recent) ++plays[track];
        if (i == 2000)
            add(line(QDate(2024, 3, 20), QStringLiteral("Long"), QString(100000, QLatin1Char('y')),
                     QStringLiteral("Line")),
                true);
    }
    add(line(QDate(2024, 3, 21), "Last", "Album", "Track").chopped(1), true);
    writeLog(log);

    tlogfile chartThread(path(), &chart);
    runChart(chartThread);
    EXPECT_EQ(contents(), kept);
    QStringList expected{QStringLiteral("Long - %1 : Line (1)").arg(QString(100000, QLatin1Char('y'))),
                         QStringLiteral("Last - Album : Track (1)")};
    for (const auto& [track, count] : plays)
        expected << QStringLiteral("Artist - Album : T%1 (%2)")
                        .arg(QString(track * 40, QLatin1Char('x')))
                        .arg(count);
    QStringList shown = chart.items;
    shown.sort();
    expected.sort();
    EXPECT_EQ(shown, expected);
}

TEST_F(PlayLog, ChartShowsAtMostAHundredPlacesAndEmptyArtistsTakeAPlaceUnseen)
{
    QByteArray log;
    // Track i is played i+1 times, so the order is known; one track without an artist is
    // played most of all.
    for (int i = 0; i < 120; ++i) {
        for (int n = 0; n <= i; ++n)
            log += line(QDate(2024, 3, 20), QStringLiteral("Artist %1").arg(i), QStringLiteral("Album"),
                        QStringLiteral("Track"));
    }
    for (int n = 0; n < 200; ++n)
        log += line(QDate(2024, 3, 20), "", "Album", "Unknown");
    writeLog(log);
    tlogfile chartThread(path(), &chart);
    runChart(chartThread);
    ASSERT_EQ(chart.items.size(), 99);
    EXPECT_EQ(chart.items.first(), QStringLiteral("Artist 119 - Album : Track (120)"));
    EXPECT_EQ(chart.items.last(), QStringLiteral("Artist 21 - Album : Track (22)"));
}

TEST_F(PlayLog, EmptyLogGivesAnEmptyChartAndAMissingLogSaysSo)
{
    writeLog(QByteArray());
    tlogfile empty(path(), &chart);
    runChart(empty);
    EXPECT_TRUE(chart.items.isEmpty());
    EXPECT_TRUE(chart.numbers);

    QFile::remove(path());
    RecordingList missingChart;
    tlogfile missing(path(), &missingChart);
    runChart(missing);
    EXPECT_EQ(missingChart.items,
              QStringList{QStringLiteral("Error opening log file, aborting chart compilation")});
    EXPECT_FALSE(missingChart.numbers);
}

TEST_F(PlayLog, ChartRunsOncePerThreadAndAFreshThreadRunsItAgain)
{
    writeLog(line(QDate(2024, 3, 20), "A", "B", "C"));
    auto log = std::make_unique<tlogfile>(path(), &chart);
    runChart(*log);
    EXPECT_EQ(chart.items, QStringList{QStringLiteral("A - B : C (1)")});
    chart.items.clear();
    log->Resume(); // ended: nothing runs
    platform::waitForThread(*log);
    EXPECT_TRUE(chart.items.isEmpty());

    // What the operator panel's OK does: stop, wait, free, and make a fresh suspended one.
    log->Terminate();
    platform::waitForThread(*log);
    log = std::make_unique<tlogfile>(path(), &chart);
    log->writeentry(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"));
    runChart(*log);
    EXPECT_EQ(chart.items, QStringList{QStringLiteral("A - B : C (2)")});
}

TEST_F(PlayLog, DestroyingARunningChartStopsItWithoutTouchingTheListAfterwards)
{
    QByteArray log;
    for (int i = 0; i < 20000; ++i)
        log += line(QDate(2024, 3, 20), QStringLiteral("Artist %1").arg(i % 3000), QStringLiteral("Album"),
                    QStringLiteral("Track"));
    writeLog(log);
    auto chartThread = std::make_unique<tlogfile>(path(), &chart);
    chartThread->Resume();
    chartThread.reset(); // must neither hang nor crash
    EXPECT_LE(chart.items.size(), 100);
    EXPECT_EQ(contents().count('\n'), 20000); // an interrupted cleaning loses nothing
}
