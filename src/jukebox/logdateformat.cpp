#include "jukebox/logdateformat.h"

#include <QStringList>
#include <algorithm>
#include <utility>

namespace jukebox {

namespace {

using Token = LogDateFormat::Token;
using Pattern = LogDateFormat::Pattern;

constexpr int kCenturyWindow = 50;

bool isFieldLetter(QChar c)
{
    return QStringView(u"dMyhHmszAat").contains(c);
}

Token::Kind fieldKind(QChar letter, qsizetype run)
{
    switch (letter.unicode()) {
    case 'd':
        return run <= 2 ? Token::Day : Token::DayName;
    case 'M':
        return run <= 2 ? Token::Month : Token::MonthName;
    case 'y':
        return run == 2 ? Token::Year2 : Token::Year4;
    case 'h':
        return Token::Hour;
    case 'H':
        return Token::Hour24;
    case 'm':
        return Token::Minute;
    case 's':
        return Token::Second;
    case 'z':
        return Token::Millis;
    case 't':
        return Token::Zone;
    default:
        return Token::AmPm;
    }
}

void addLiteral(std::vector<Token>& tokens, QChar c)
{
    if (tokens.empty() || tokens.back().kind != Token::Literal) tokens.push_back({Token::Literal, {}});
    tokens.back().text += c.toLower(); // matched without regard to case
}

bool isDatePart(Token::Kind kind)
{
    switch (kind) {
    case Token::Literal:
    case Token::Blanks:
    case Token::Day:
    case Token::DayName:
    case Token::Month:
    case Token::MonthName:
    case Token::Year2:
    case Token::Year4:
        return true;
    default:
        return false;
    }
}

// A format in QDateTime notation as a list of tokens.
Pattern compile(const QString& format)
{
    std::vector<Token> pattern;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            qsizetype j = i + 1;
            if (j < format.size() && format.at(j) == QLatin1Char('\'')) {
                addLiteral(pattern, c);
                i = j + 1;
                continue;
            }
            for (; j < format.size() && format.at(j) != QLatin1Char('\''); ++j)
                addLiteral(pattern, format.at(j));
            i = j + 1;
        } else if (c.isSpace()) {
            if (pattern.empty() || pattern.back().kind != Token::Blanks)
                pattern.push_back({Token::Blanks, {}});
            ++i;
        } else if (isFieldLetter(c)) {
            qsizetype j = i;
            while (j < format.size() && format.at(j) == c)
                ++j;
            // "AP" and "ap" are one token.
            if ((c == QLatin1Char('A') || c == QLatin1Char('a')) && j < format.size() &&
                (format.at(j) == QLatin1Char('P') || format.at(j) == QLatin1Char('p')))
                ++j;
            pattern.push_back({fieldKind(c, j - i), {}});
            i = j;
        } else {
            addLiteral(pattern, c);
            ++i;
        }
    }
    // The date part ends before the first time field, without the blanks in front of it.
    size_t dateEnd = 0;
    while (dateEnd < pattern.size() && isDatePart(pattern[dateEnd].kind))
        ++dateEnd;
    while (dateEnd > 0 && pattern[dateEnd - 1].kind == Token::Blanks)
        --dateEnd;
    return {std::move(pattern), dateEnd};
}

// `format` with every run of letter `letter` outside quotes passed to `change` (which returns
// the replacement); quoted text is kept as it is.
template<typename Change> QString rewriteRuns(const QString& format, QChar letter, Change change)
{
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) quoted = !quoted;
        if (quoted || c != letter) {
            out += c;
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < format.size() && format.at(j) == c)
            ++j;
        out += change(j - i);
        i = j;
    }
    return out;
}

QString widenedYearFormat(const QString& format)
{
    return rewriteRuns(format, QLatin1Char('y'),
                       [](qsizetype run) { return QString(run == 2 ? 4 : run, QLatin1Char('y')); });
}

QString withoutZone(const QString& format)
{
    return rewriteRuns(format, QLatin1Char('t'), [](qsizetype) { return QString(); }).simplified();
}

bool isDigit(char16_t c)
{
    return c >= '0' && c <= '9';
}

// Reads up to `maxDigits` decimal digits at `pos`; -1 when there is none.
template<typename Text> int readNumber(Text text, qsizetype& pos, int maxDigits)
{
    int value = 0;
    int digits = 0;
    while (digits < maxDigits && pos < text.size() && isDigit(text[pos].unicode())) {
        value = value * 10 + (text[pos].unicode() - '0');
        ++pos;
        ++digits;
    }
    return digits == 0 ? -1 : value;
}

char16_t lower(char16_t c)
{
    if (c >= 'A' && c <= 'Z') return static_cast<char16_t>(c + ('a' - 'A'));
    return c < 0x80 ? c : QChar(c).toLower().unicode();
}

bool isSpace(char16_t c)
{
    return QChar::isSpace(c);
}

// Whether `word` (already lower-case) starts the text at `pos`, without regard to case.
template<typename Text> bool startsHere(Text text, qsizetype pos, QStringView word)
{
    if (text.size() - pos < word.size()) return false;
    for (qsizetype i = 0; i < word.size(); ++i) {
        if (lower(text[pos + i].unicode()) != word[i].unicode()) return false;
    }
    return true;
}

// Whether `text` starts with `prefix`, case and all.
template<typename Text> bool startsWithExactly(Text text, QStringView prefix)
{
    if (text.size() < prefix.size()) return false;
    for (qsizetype i = 0; i < prefix.size(); ++i) {
        if (text[i].unicode() != prefix[i].unicode()) return false;
    }
    return true;
}

// `text` without blanks at either end.
template<typename Text> Text trimmedText(Text text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isSpace(text[begin].unicode()))
        ++begin;
    while (end > begin && isSpace(text[end - 1].unicode()))
        --end;
    return text.sliced(begin, end - begin);
}

// The longest of `names` that starts the text at `pos`, without regard to case; its value or -1.
template<typename Text> int readName(Text text, qsizetype& pos, const LogDateFormat::NameList& names)
{
    if (pos >= text.size()) return -1;
    const char16_t first = lower(text[pos].unicode());
    for (const auto& [name, value] : names) {
        if (name[0].unicode() == first && startsHere(text, pos, name)) {
            pos += name.size();
            return value;
        }
    }
    return -1;
}

void sortLongestFirst(LogDateFormat::NameList& names)
{
    std::erase_if(names, [](const auto& entry) { return entry.first.isEmpty(); });
    for (auto& entry : names)
        entry.first = entry.first.toLower();
    std::stable_sort(names.begin(), names.end(),
                     [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
}

// Numeric forms of other locales, day first or month first as the locale orders them.
QStringList lenientDates(bool monthFirst)
{
    const QStringList dayFirst{QStringLiteral("d/M/yyyy"), QStringLiteral("d.M.yyyy"),
                               QStringLiteral("d-M-yyyy"), QStringLiteral("d/M/yy"),
                               QStringLiteral("d.M.yy")};
    const QStringList monthFirstForms{QStringLiteral("M/d/yyyy"), QStringLiteral("M/d/yy")};
    QStringList forms = monthFirst ? monthFirstForms + dayFirst : dayFirst + monthFirstForms;
    forms << QStringLiteral("yyyy-M-d") << QStringLiteral("yyyy/M/d");
    return forms;
}

} // namespace

LogDateFormat::LogDateFormat(const QLocale& locale, int referenceYear)
    : locale_(locale), referenceYear_(referenceYear),
      dateFormat_(widenedYearFormat(locale.dateFormat(QLocale::ShortFormat))),
      timeFormat_(withoutZone(locale.timeFormat(QLocale::LongFormat)))
{
    const QString ownDate = locale.dateFormat(QLocale::ShortFormat);
    const QString shortTime = withoutZone(locale.timeFormat(QLocale::ShortFormat));
    QStringList formats;
    // The C locale's own form too: logs written without a configured locale use it.
    const QString cDate = QLocale::c().dateFormat(QLocale::ShortFormat);
    for (const QString& date : {dateFormat_, ownDate, cDate}) {
        formats << date + QLatin1Char(' ') + timeFormat_ << date << date + QLatin1Char(' ') + shortTime;
    }
    const bool monthFirst = ownDate.indexOf(QLatin1Char('M')) < ownDate.indexOf(QLatin1Char('d'));
    for (const QString& date : lenientDates(monthFirst)) {
        for (const char* time : {"H:m:s", "h:m:s AP", "H:m", "h:m AP"})
            formats << date + QLatin1Char(' ') + QLatin1String(time);
        formats << date;
    }
    formats.removeDuplicates();
    for (const QString& format : formats)
        patterns_.push_back(compile(format));

    // The C locale's names too: older logs may have been written with them.
    for (const QLocale& l : {locale, QLocale::c()}) {
        for (QLocale::FormatType type : {QLocale::LongFormat, QLocale::ShortFormat}) {
            for (int i = 1; i <= 12; ++i) {
                months_.emplace_back(l.monthName(i, type), i);
                months_.emplace_back(l.standaloneMonthName(i, type), i);
            }
            for (int i = 1; i <= 7; ++i) {
                days_.emplace_back(l.dayName(i, type), 0);
                days_.emplace_back(l.standaloneDayName(i, type), 0);
            }
        }
        ampm_.emplace_back(l.amText(), 0);
        ampm_.emplace_back(l.pmText(), 1);
    }
    for (NameList* names : {&months_, &days_, &ampm_})
        sortLongestFirst(*names);
}

QString LogDateFormat::write(const QDate& date, const QTime& time) const
{
    QString text = locale_.toString(date, dateFormat_);
    if (time != QTime(0, 0)) text += QLatin1Char(' ') + locale_.toString(time, timeFormat_);
    return text;
}

bool LogDateFormat::read(QStringView text, QDate& date, QTime& time, Memo* memo) const
{
    return readText(text, date, time, memo);
}

bool LogDateFormat::read(QLatin1StringView text, QDate& date, QTime& time, Memo* memo) const
{
    return readText(text, date, time, memo);
}

template<typename Text> bool LogDateFormat::readText(Text text, QDate& date, QTime& time, Memo* memo) const
{
    text = trimmedText(text);
    for (size_t i = 0; i < patterns_.size(); ++i) {
        // A text that starts with the remembered date part may still read that part otherwise
        // ("3" then "31"): then it is read again in full.
        const bool fits =
            memo && memo->pattern == i && !memo->prefix.isEmpty() && startsWithExactly(text, memo->prefix);
        if (readWith(i, text, date, time, memo, fits)) return true;
        if (fits && readWith(i, text, date, time, memo, false)) return true;
    }
    return false;
}

int LogDateFormat::widenYear(int twoDigits) const
{
    // The year ending in these digits that lies within the window around the reference year.
    const int base = referenceYear_ - kCenturyWindow;
    int year = base / 100 * 100 + twoDigits;
    if (year < base) year += 100;
    return year;
}

// The fields read so far from one text.
struct LogDateFormat::Fields
{
    int day = -1;
    int month = -1;
    int year = -1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millis = 0;
    int pm = -1;
    bool twelveHour = false;

    // QTime's own range check, without building a QTime first: this runs once per line read.
    bool isValidTime() const
    {
        return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60 &&
               millis >= 0 && millis < 1000;
    }
    QTime time() const
    {
        return QTime::fromMSecsSinceStartOfDay(((hour * 60 + minute) * 60 + second) * 1000 + millis);
    }
};

template<typename Text>
bool LogDateFormat::readWith(size_t index, Text text, QDate& date, QTime& time, Memo* memo,
                             bool remembered) const
{
    const Pattern& pattern = patterns_[index];
    Fields fields;
    qsizetype pos = 0;
    if (remembered)
        pos = memo->prefix.size();
    else if (!readTokens(index, 0, pattern.dateEnd, text, pos, fields))
        return false;
    const qsizetype dateEndPos = pos;
    if (!readTokens(index, pattern.dateEnd, pattern.tokens.size(), text, pos, fields) || pos != text.size())
        return false;
    if (fields.twelveHour && fields.pm >= 0) {
        if (fields.hour < 1 || fields.hour > 12) return false;
        fields.hour = fields.hour % 12 + (fields.pm == 1 ? 12 : 0);
    }
    date = remembered ? memo->date : QDate(fields.year, fields.month, fields.day);
    if (!date.isValid() || !fields.isValidTime()) return false;
    time = fields.time();
    if (memo && !remembered && dateEndPos > 0) *memo = {text.first(dateEndPos).toString(), index, date};
    return true;
}

template<typename Text>
bool LogDateFormat::readTokens(size_t index, size_t from, size_t to, Text text, qsizetype& pos,
                               Fields& fields) const
{
    const std::vector<Token>& tokens = patterns_[index].tokens;
    for (size_t t = from; t < to; ++t) {
        const Token& token = tokens[t];
        int value = 0;
        switch (token.kind) {
        case Token::Literal:
            if (!startsHere(text, pos, token.text)) return false;
            pos += token.text.size();
            break;
        case Token::Blanks:
            if (pos >= text.size() || !isSpace(text[pos].unicode())) return false;
            while (pos < text.size() && isSpace(text[pos].unicode()))
                ++pos;
            break;
        case Token::Zone:
            while (pos < text.size() && !isSpace(text[pos].unicode()))
                ++pos;
            break;
        case Token::DayName:
            value = readName(text, pos, days_);
            break;
        case Token::MonthName:
            value = fields.month = readName(text, pos, months_);
            break;
        case Token::AmPm:
            value = fields.pm = readName(text, pos, ampm_);
            break;
        case Token::Day:
            value = fields.day = readNumber(text, pos, 2);
            break;
        case Token::Month:
            value = fields.month = readNumber(text, pos, 2);
            break;
        case Token::Year2:
            value = readNumber(text, pos, 2);
            fields.year = value < 0 ? -1 : widenYear(value);
            break;
        case Token::Year4:
            // Exactly four digits, so that a two-digit year falls to the forms that widen it.
            value = fields.year = readNumber(text, pos, 4);
            if (value < 1000) return false;
            break;
        case Token::Hour:
            fields.twelveHour = true;
            [[fallthrough]];
        case Token::Hour24:
            value = fields.hour = readNumber(text, pos, 2);
            break;
        case Token::Minute:
            value = fields.minute = readNumber(text, pos, 2);
            break;
        case Token::Second:
            value = fields.second = readNumber(text, pos, 2);
            break;
        case Token::Millis:
            value = fields.millis = readNumber(text, pos, 3);
            break;
        }
        if (value < 0) return false;
    }
    return true;
}

} // namespace jukebox
