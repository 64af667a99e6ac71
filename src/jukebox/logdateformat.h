#pragma once

// How the play log writes and reads the date and time that start each line.
//
// A line is written with the locale's short date (its year always widened to four digits, so
// it reads back exactly), a blank and the locale's long time without the time zone; the time
// is left out at exactly midnight. Reading accepts that, the locale's own short date with a
// two-digit year, and common numeric forms of other locales, so logs written on other machines
// or by earlier versions still read. Formats are compiled once; reading a line is a plain scan.
// Immutable after construction, so any thread may read with it; a reader that reads many lines
// in a row passes its own Memo, which skips the date part when it repeats the line before.

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringView>
#include <QTime>
#include <utility>
#include <vector>

namespace jukebox {

class LogDateFormat
{
public:
    // `locale` gives the formats and names; two-digit years are read within 50 years either
    // side of `referenceYear`.
    LogDateFormat(const QLocale& locale, int referenceYear);

    // The date part of the last text read: the lines of one day share it. One per reader.
    struct Memo
    {
        QString prefix; // the text of the date part
        size_t pattern = 0;
        QDate date; // what it read as
    };

    QString write(const QDate& date, const QTime& time) const;
    // The date and time of `text`; false when no known form matches the whole text.
    [[nodiscard]] bool read(QStringView text, QDate& date, QTime& time, Memo* memo = nullptr) const;
    // The same for text of plain ASCII, read from its bytes as they are: log lines rarely hold
    // anything else, and a million of them read faster without widening each one first.
    [[nodiscard]] bool read(QLatin1StringView text, QDate& date, QTime& time, Memo* memo = nullptr) const;

    // The formats in QDateTime notation, as written.
    const QString& dateFormat() const { return dateFormat_; }
    const QString& timeFormat() const { return timeFormat_; }

    // One piece of a compiled format: a field, a literal text or a run of blanks.
    struct Token
    {
        enum Kind {
            Literal,
            Blanks,
            Day,
            DayName,
            Month,
            MonthName,
            Year2,
            Year4,
            Hour,
            Hour24,
            Minute,
            Second,
            Millis,
            AmPm,
            Zone
        };
        Kind kind;
        QString text; // Literal only, lower-case
    };
    // A compiled format; the tokens before `dateEnd` read the date part.
    struct Pattern
    {
        std::vector<Token> tokens;
        size_t dateEnd = 0;
    };
    using NameList = std::vector<std::pair<QString, int>>;

private:
    struct Fields;

    // Both kinds of text are read by the same code: `Text` is QStringView or QLatin1StringView.
    template<typename Text>
    [[nodiscard]] bool readText(Text text, QDate& date, QTime& time, Memo* memo) const;
    // Reads `text` with pattern `index`; `remembered`: its date part is the one in `memo`.
    template<typename Text>
    [[nodiscard]] bool readWith(size_t index, Text text, QDate& date, QTime& time, Memo* memo,
                                bool remembered) const;
    // Reads the tokens [`from`, `to`) of pattern `index` from `text` at `pos`, onwards.
    template<typename Text>
    [[nodiscard]] bool readTokens(size_t index, size_t from, size_t to, Text text, qsizetype& pos,
                                  Fields& fields) const;
    int widenYear(int twoDigits) const;

    QLocale locale_;
    int referenceYear_;
    QString dateFormat_;
    QString timeFormat_;
    std::vector<Pattern> patterns_; // tried in order
    // Month names (1..12), day names and am/pm texts (0, 1), longest first.
    NameList months_;
    NameList days_;
    NameList ampm_;
};

} // namespace jukebox
