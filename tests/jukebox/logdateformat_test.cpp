#include <QDate>
#include <QTime>
#include <gtest/gtest.h>
#include <ostream>

#include "jukebox/logdateformat.h"
#include "printers.h"

using namespace jukebox;

void PrintTo(const QDate& value, std::ostream* os)
{
    *os << value.toString(Qt::ISODate).toStdString();
}

void PrintTo(const QTime& value, std::ostream* os)
{
    *os << value.toString(Qt::ISODateWithMs).toStdString();
}

namespace {

struct RoundTrip
{
    const char* locale;
    QDate date;
    QTime time;
};

class LogDateRoundTrip : public ::testing::TestWithParam<RoundTrip>
{
};

} // namespace

TEST_P(LogDateRoundTrip, WrittenDatesReadBackExactlyWithFourDigitYears)
{
    const RoundTrip& c = GetParam();
    const LogDateFormat format(QLocale(QString::fromLatin1(c.locale)), 2024);
    const QString text = format.write(c.date, c.time);
    EXPECT_TRUE(text.contains(QString::number(c.date.year()))) << text.toStdString();
    QDate date;
    QTime time;
    ASSERT_TRUE(format.read(text, date, time)) << text.toStdString();
    EXPECT_EQ(date, c.date);
    EXPECT_EQ(time, c.time);
}

INSTANTIATE_TEST_SUITE_P(Locales, LogDateRoundTrip,
                         ::testing::Values(RoundTrip{"C", QDate(2024, 3, 9), QTime(14, 5, 7)},
                                           RoundTrip{"en_US", QDate(2031, 12, 31), QTime(23, 59, 59)},
                                           RoundTrip{"en_US", QDate(2024, 1, 2), QTime(0, 0, 1)},
                                           RoundTrip{"en_US", QDate(2024, 1, 2), QTime(12, 30, 0)},
                                           RoundTrip{"de_DE", QDate(1999, 7, 4), QTime(8, 0, 0)},
                                           RoundTrip{"hu_HU", QDate(2024, 2, 29), QTime(9, 15, 0)},
                                           RoundTrip{"ko_KR", QDate(2025, 10, 1), QTime(21, 1, 2)},
                                           RoundTrip{"C", QDate(2024, 5, 1), QTime(0, 0)}));

TEST(LogDateFormat, MidnightIsWrittenAsTheDateAlone)
{
    const LogDateFormat format(QLocale::c(), 2024);
    EXPECT_EQ(format.write(QDate(2024, 5, 1), QTime(0, 0)), QStringLiteral("1 May 2024"));
    EXPECT_EQ(format.write(QDate(2024, 5, 1), QTime(0, 0, 1)), QStringLiteral("1 May 2024 00:00:01"));
}

TEST(LogDateFormat, ReadsOlderAndForeignFormsLeniently)
{
    struct Case
    {
        const char* locale;
        const char* text;
        QDate date;
        QTime time;
    };
    const Case cases[] = {
        // The locale's own two-digit year, inside the 50-year window around 2024.
        {"en_US", "12/31/23 11:05:09 PM", QDate(2023, 12, 31), QTime(23, 5, 9)},
        {"en_US", "1/2/75", QDate(1975, 1, 2), QTime(0, 0)},
        {"en_US", "1/2/73 12:00:00 AM", QDate(2073, 1, 2), QTime(0, 0)},
        {"de_DE", "31.12.23 23:05:09", QDate(2023, 12, 31), QTime(23, 5, 9)},
        // Another machine's day-first and month-first forms, and names of the C locale.
        {"en_US", "31/12/2023 23:05", QDate(2023, 12, 31), QTime(23, 5)},
        {"de_DE", "12/31/2023 11:05:09 pm", QDate(2023, 12, 31), QTime(23, 5, 9)},
        {"de_DE", "7 Dec 2026 08:54:42", QDate(2026, 12, 7), QTime(8, 54, 42)},
        {"C", "  2024-02-29 7:08:09  ", QDate(2024, 2, 29), QTime(7, 8, 9)},
    };
    for (const Case& c : cases) {
        const LogDateFormat format(QLocale(QString::fromLatin1(c.locale)), 2024);
        QDate date;
        QTime time;
        ASSERT_TRUE(format.read(QString::fromLatin1(c.text), date, time)) << c.text;
        EXPECT_EQ(date, c.date) << c.text;
        EXPECT_EQ(time, c.time) << c.text;
    }
}

TEST(LogDateFormat, RejectsTextThatIsNoDate)
{
    const LogDateFormat format(QLocale(QStringLiteral("en_US")), 2024);
    for (const char* text : {"", "hello", "13/13/2024", "2/30/2024 10:00:00", "1/2/2024 25:00:00",
                             "1/2/2024 x", "1/2/2024 13:00:00 PM", "Artist"}) {
        QDate date;
        QTime time;
        EXPECT_FALSE(format.read(QString::fromLatin1(text), date, time)) << text;
    }
}

TEST(LogDateFormat, ReadingManyLinesWithAMemoGivesWhatReadingEachAloneGives)
{
    // Lines of one day share their date part; a day whose text starts like the day before
    // ("3" then "31") must not be taken for it.
    const LogDateFormat format(QLocale::c(), 2024);
    const char* lines[] = {"2024-1-3 10:00:00",   "2024-1-3 10:05:00",
                           "2024-1-31 10:00:00",  "2024-1-3 11:00:00",
                           "3 Jan 2024 09:00:00", "3 Jan 2024",
                           "3 Jan 20245",         "31 Jan 2024 08:00:00",
                           "3 Jan 2024 25:00:00", "garbage"};
    LogDateFormat::Memo memo;
    for (const char* line : lines) {
        QDate alone, withMemo;
        QTime aloneTime, withMemoTime;
        const bool readAlone = format.read(QString::fromLatin1(line), alone, aloneTime);
        EXPECT_EQ(format.read(QString::fromLatin1(line), withMemo, withMemoTime, &memo), readAlone) << line;
        if (!readAlone) continue;
        EXPECT_EQ(withMemo, alone) << line;
        EXPECT_EQ(withMemoTime, aloneTime) << line;
    }
}

TEST(LogDateFormat, PlainAsciiReadsFromItsBytesAsFromItsText)
{
    // The log reads plain ASCII dates straight from their bytes, one line after another with a
    // memo: remembered days, malformed times and other forms read as the decoded text does.
    const LogDateFormat format(QLocale(QStringLiteral("en_US")), 2024);
    struct Case
    {
        const char* text;
        QDate date; // invalid: unreadable
        QTime time;
    };
    const QDate day(2024, 3, 20);
    const Case cases[] = {
        {"3/20/2024 10:05:09 PM", day, QTime(22, 5, 9)},
        {"3/20/2024 10:06:00 AM", day, QTime(10, 6)},
        {"3/20/2024 10:61:00 AM", {}, {}},
        {"3/20/2024 13:00:00 PM", {}, {}},
        {"3/20/2024 1O:00:00 AM", {}, {}},
        {"3/20/2024 10:06:00 AM x", {}, {}},
        {" 3/20/2024  9:00:00 am ", day, QTime(9, 0)},
        {"3/20/2024", day, QTime(0, 0)},
        {"3/20/24 11:05:09 PM", day, QTime(23, 5, 9)},
        {"20/3/2024 23:05", day, QTime(23, 5)},
        {"2024-1-3 10:00:00", QDate(2024, 1, 3), QTime(10, 0)},
        {"2024-1-31 10:00:00", QDate(2024, 1, 31), QTime(10, 0)},
        {"2024-1-31 24:00:00", {}, {}},
    };
    LogDateFormat::Memo bytesMemo;
    LogDateFormat::Memo textMemo;
    for (const Case& c : cases) {
        QDate date, textDate;
        QTime time, textTime;
        const bool read = format.read(QLatin1StringView(c.text), date, time, &bytesMemo);
        EXPECT_EQ(format.read(QString::fromLatin1(c.text), textDate, textTime, &textMemo), read) << c.text;
        ASSERT_EQ(read, c.date.isValid()) << c.text;
        if (!read) continue;
        EXPECT_EQ(date, c.date) << c.text;
        EXPECT_EQ(time, c.time) << c.text;
        EXPECT_EQ(textDate, date) << c.text;
        EXPECT_EQ(textTime, time) << c.text;
    }
}
