#include "jukebox/logfile.h"

#include <QApplication>
#include <QByteArrayView>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QMutex>
#include <QMutexLocker>
#include <algorithm>
#include <bit>
#include <chrono>
#include <cstring>
#include <string>
#include <string_view>

#include "library/writefailures.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/textcodec.h"
#include "platform/waithelper.h"

namespace jukebox {

namespace {

// Guards the play log file: appending (window thread), and reading and rewriting it (chart
// thread). Never held while handing over to the window thread.
QMutex logLock;

constexpr int kChartRows = 100;
constexpr qint64 kBeepSize = 1024 * 128;
constexpr uint32_t kStatusIntervalMs = 200;
constexpr qsizetype kStatusLimit = 69;
constexpr qint64 kLinesPerClockLook = 64;
constexpr qsizetype kBlockSize = 64 * 1024;

const QString kCalculating = QStringLiteral("Calculating top 100, please wait for results");
const QString kCleaning = kCalculating + QStringLiteral(": Cleaning Log File");
const QString kSorting = QStringLiteral("Sorting Results");
const QString kNoLog = QStringLiteral("Error opening log file, aborting chart compilation");

// Calls `visit(line, whole)` for each line of `bytes` until it returns false: `line` without
// its LF or CR LF, `whole` with it.
template<typename Visit> void forEachLine(QByteArrayView bytes, Visit visit)
{
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
        const auto* newline = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        const char* next = newline ? newline + 1 : end;
        qsizetype length = (newline ? newline : end) - p;
        if (length > 0 && p[length - 1] == '\r') --length;
        if (!visit(QByteArrayView(p, length), QByteArrayView(p, next - p))) return;
        p = next;
    }
}

const char* findTab(const char* from, const char* end)
{
    return static_cast<const char*>(std::memchr(from, '\t', static_cast<size_t>(end - from)));
}

// The length of the date that starts `line` (up to its first TAB); -1 unless the line has the
// three TABs of a readable line.
qsizetype dateLength(QByteArrayView line)
{
    const char* const end = line.data() + line.size();
    const char* const first = findTab(line.data(), end);
    if (!first) return -1;
    const char* const second = findTab(first + 1, end);
    if (!second || !findTab(second + 1, end)) return -1;
    return first - line.data();
}

// Whether `text` reads the same as bytes as it does decoded and without quotes.
bool isPlainAscii(QByteArrayView text)
{
    // Without branches, so that the compiler checks many bytes at once.
    unsigned char odd = 0;
    for (const char c : text)
        odd |= (static_cast<unsigned char>(c) & 0x80) | static_cast<unsigned char>(c == '"');
    return odd == 0;
}

QString decode(QByteArrayView bytes)
{
    return platform::decodeText(QByteArray::fromRawData(bytes.data(), bytes.size()));
}

[[nodiscard]] bool readFile(const QString& path, QByteArray& bytes)
{
    QFile file;
    if (!platform::openRegularFile(file, path, QIODevice::Unbuffered)) return false;
    // One read straight into a buffer of the file's size, then whatever was appended meanwhile.
    bytes = QByteArray(file.size(), Qt::Uninitialized);
    const qint64 got = file.read(bytes.data(), bytes.size());
    if (got < 0) return false;
    bytes.truncate(got);
    const QByteArray more = file.readAll();
    if (file.error() != QFileDevice::NoError) return false;
    bytes += more;
    return true;
}

// A run of whole lines of a file, line ends included.
struct LineSpan
{
    qint64 offset;
    qint64 length;
};

// Calls `visit(line, whole, offset)` for each line of the first `size` bytes of `file` until it
// returns false, as `forEachLine` does; `offset` is where `whole` starts in the file. The file
// is read a block at a time: a buffer the size of a big log costs more to set up than reading
// the log does. False when the file could not be read.
template<typename Visit> bool forEachLineOf(QFile& file, qint64 size, Visit visit)
{
    QByteArray block(kBlockSize, Qt::Uninitialized);
    qsizetype held = 0; // the start of a line that the block before did not finish
    qint64 offset = 0;  // where the block starts in the file
    for (qint64 left = size; left > 0 || held > 0;) {
        if (held == block.size()) block.resize(block.size() * 2); // a line longer than a block
        const qint64 got = file.read(block.data() + held, std::min<qint64>(block.size() - held, left));
        if (got < 0) return false;
        left = got == 0 ? 0 : left - got;
        const QByteArrayView filled(block.constData(), held + got);
        // Whole lines only, unless this is the end of what we read.
        const QByteArrayView lines = left == 0 ? filled : filled.first(filled.lastIndexOf('\n') + 1);
        bool stopped = false;
        forEachLine(lines, [&](QByteArrayView line, QByteArrayView whole) {
            stopped = !visit(line, whole, offset + (whole.data() - block.constData()));
            return !stopped;
        });
        if (stopped) break;
        held = filled.size() - lines.size();
        std::memmove(block.data(), block.constData() + lines.size(), static_cast<size_t>(held));
        offset += lines.size();
    }
    return true;
}

// The first `size` bytes of `file` without the `dropped` lines; false when they could not be read.
[[nodiscard]] bool keptLines(QFile& file, qint64 size, const std::vector<LineSpan>& dropped, QByteArray& kept)
{
    QByteArray read(size, Qt::Uninitialized);
    if (!file.seek(0) || file.read(read.data(), size) != size) return false;
    // Kept lines are copied unchanged, in runs between the dropped ones.
    qint64 run = 0;
    for (const LineSpan& line : dropped) {
        kept.append(read.constData() + run, line.offset - run);
        run = line.offset + line.length;
    }
    kept.append(read.constData() + run, size - run);
    return true;
}

// Artist, album and title as read from the text after the date (quotes removed); false when
// there are fewer than three fields.
[[nodiscard]] bool splitFields(QStringView fields, tlogentry& res)
{
    const qsizetype albumTab = fields.indexOf(QLatin1Char('\t'));
    if (albumTab < 0) return false;
    const qsizetype trackTab = fields.indexOf(QLatin1Char('\t'), albumTab + 1);
    if (trackTab < 0) return false;
    res.artist = fields.first(albumTab).toString();
    res.album = fields.sliced(albumTab + 1, trackTab - albumTab - 1).toString();
    res.track = fields.sliced(trackTab + 1).toString();
    return true;
}

// `text` upper-cased as QString::toUpper does it. Plain ASCII, the rule, needs none of the
// Unicode tables; upper-casing is done a character at a time, so where the text is not plain
// ASCII, the part already done reads the same to QString::toUpper.
QString upperCased(QString text)
{
    for (QChar& c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x80) return std::move(text).toUpper();
        if (u >= 'a' && u <= 'z') c = QChar(u - ('a' - 'A'));
    }
    return text;
}

// Entries are the same track when artist, album and title match after trimming and
// upper-casing; the date does not count.
QString chartKey(const tlogentry& e)
{
    QString key;
    key.reserve(e.artist.size() + e.album.size() + e.track.size() + 2);
    key.append(QStringView(e.artist).trimmed())
        .append(QLatin1Char('\t'))
        .append(QStringView(e.album).trimmed())
        .append(QLatin1Char('\t'))
        .append(QStringView(e.track).trimmed());
    return upperCased(std::move(key));
}

// The status text after `dots` progress dots: `base` gains a dot each time and starts again
// from `base` once it would grow longer than the status line allows.
QString progress(const QString& base, qint64 dots)
{
    const qint64 cycle = std::max<qint64>(kStatusLimit - base.size() + 1, 1);
    return base + QString(dots % cycle, QLatin1Char('.'));
}

QString oneField(QString text, bool lastField)
{
    // A line break (or, before the last field, a TAB) inside a field would split the line, and any
    // other control character (an escape) would act on the terminal the log is read in. A TAB
    // in the last field stays: the reader takes all of the rest of the line as the track.
    for (QChar& c : text) {
        if (c.category() == QChar::Other_Control && !(lastField && c == QLatin1Char('\t')))
            c = QLatin1Char(' ');
    }
    return QStringLiteral("\t\"") + text + QLatin1Char('"');
}

std::vector<QByteArrayView> linesOf(const QByteArray& bytes)
{
    std::vector<QByteArrayView> lines;
    forEachLine(bytes, [&](QByteArrayView line, QByteArrayView) {
        lines.push_back(line);
        return true;
    });
    return lines;
}

// A log that an interrupted cleaning left as a working copy (`saved`) and a new log
// (`current`) that holds part of it followed by later lines: all of the working copy, then the
// lines of the new log that the working copy does not account for.
QByteArray mergeLeftover(const QByteArray& saved, const QByteArray& current)
{
    const std::vector<QByteArrayView> old = linesOf(saved);
    const std::vector<QByteArrayView> now = linesOf(current);
    size_t i = 0;
    for (size_t j = 0; i < now.size(); ++i, ++j) {
        while (j < old.size() && old[j] != now[i])
            ++j;
        if (j == old.size()) break;
    }
    QByteArray merged;
    merged.reserve(saved.size() + current.size());
    for (QByteArrayView line : old)
        merged.append(line).append('\n');
    for (; i < now.size(); ++i)
        merged.append(now[i]).append('\n');
    return merged;
}

uint64_t wordAt(const char* p)
{
    uint64_t word = 0;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// A quick hash of the text after a line's date, eight bytes at a time: hashing byte by byte
// took a tenth of the chart's time.
uint32_t hashOf(std::string_view key)
{
    constexpr uint64_t kMultiplier = 0x9e3779b97f4a7c15ULL;
    const char* const p = key.data();
    const size_t n = key.size();
    uint64_t hash = n;
    const auto mix = [&hash](uint64_t word) { hash = std::rotl((hash ^ word) * kMultiplier, 31); };
    if (n >= sizeof(uint64_t)) {
        for (size_t i = 0; i + sizeof(uint64_t) < n; i += sizeof(uint64_t))
            mix(wordAt(p + i));
        mix(wordAt(p + n - sizeof(uint64_t))); // the last eight bytes, overlapping the word before
    } else {
        uint64_t word = 0;
        for (size_t i = 0; i < n; ++i)
            word |= uint64_t{static_cast<unsigned char>(p[i])} << (8 * i);
        mix(word);
    }
    // The high half of a product depends on every bit of the words.
    return static_cast<uint32_t>(((hash ^ (hash >> 32)) * kMultiplier) >> 32);
}

// Maps the text after a line's date to its chart entry. The keys lie side by side in one
// buffer and the table is open-addressed, so a lookup touches little memory: with a million
// lines, this is where the chart spends its time.
class FieldIndex
{
public:
    FieldIndex() { clear(); }

    void clear()
    {
        slots_.assign(kFirstSize, Slot{});
        keys_.clear();
        used_ = 0;
    }

    // The entry of `key`, or -1.
    qsizetype find(std::string_view key) const
    {
        const uint32_t hash = hashOf(key);
        for (size_t i = hash & (slots_.size() - 1);; i = (i + 1) & (slots_.size() - 1)) {
            const Slot& slot = slots_[i];
            if (slot.entry < 0) return -1;
            if (slot.hash == hash && keyOf(slot) == key) return slot.entry;
        }
    }

    void insert(std::string_view key, qsizetype entry)
    {
        if ((used_ + 1) * 2 > slots_.size()) grow();
        place(Slot{hashOf(key), entry, keys_.size(), key.size()});
        keys_.append(key);
        ++used_;
    }

private:
    static constexpr size_t kFirstSize = 1024; // a power of two

    struct Slot
    {
        uint32_t hash = 0;
        qsizetype entry = -1; // -1: empty
        size_t offset = 0;
        size_t length = 0;
    };

    std::string_view keyOf(const Slot& slot) const
    {
        return std::string_view(keys_).substr(slot.offset, slot.length);
    }

    void place(const Slot& slot)
    {
        size_t i = slot.hash & (slots_.size() - 1);
        while (slots_[i].entry >= 0)
            i = (i + 1) & (slots_.size() - 1);
        slots_[i] = slot;
    }

    void grow()
    {
        std::vector<Slot> old(slots_.size() * 2);
        old.swap(slots_);
        for (const Slot& slot : old) {
            if (slot.entry >= 0) place(slot);
        }
    }

    std::vector<Slot> slots_;
    std::string keys_;
    size_t used_ = 0;
};

} // namespace

// Counts the lines of the log by track, in one pass.
class tlogfile::ChartCounter
{
public:
    explicit ChartCounter(const tlogfile& log) : log_(&log) { clear(); }

    void clear()
    {
        counters_.assign(1, tcounter{});
        counts_.assign(1, 0);
        byKey_ = {{chartKey(tlogentry{}), 0}};
        byFields_.clear();
    }

    // Counts one line of the log whose date takes its first `dateLength` bytes; -1: the line
    // does not read as an entry.
    void add(QByteArrayView line, qsizetype dateLength)
    {
        if (dateLength < 0) return;
        const std::string_view fields(line.data() + dateLength + 1,
                                      static_cast<size_t>(line.size() - dateLength - 1));
        qsizetype index = byFields_.find(fields);
        if (index < 0) {
            tlogentry entry;
            if (!log_->readentry(decode(line), entry)) return;
            const QString key = chartKey(entry);
            index = entryof(key, entry);
            byFields_.insert(fields, index);
        }
        // The empty entry stands first and is never counted.
        if (index > 0) ++counts_[static_cast<size_t>(index)];
    }

    // The distinct tracks in order of their first line; the empty entry first.
    std::vector<tcounter> take()
    {
        for (size_t i = 0; i < counters_.size(); ++i)
            counters_[i].count = counts_[i];
        return std::move(counters_);
    }

private:
    // The index of the entry with `key`, appended as `entry` when it is new.
    qsizetype entryof(const QString& key, const tlogentry& entry)
    {
        qsizetype index = byKey_.value(key, -1);
        if (index >= 0) return index;
        index = static_cast<qsizetype>(counters_.size());
        counters_.push_back({entry, 0});
        counts_.push_back(0);
        byKey_.insert(key, index);
        return index;
    }

    const tlogfile* log_;
    std::vector<tcounter> counters_;
    std::vector<int32_t> counts_; // beside the entries, so counting stays in the cache
    QHash<QString, qsizetype> byKey_;
    // The same text after the date always reads as the same entry: where it went.
    FieldIndex byFields_;
};

tlogfile::tlogfile(const QString& configfile, Top100List* chart, QObject* parent)
    : QThread(parent), fconfigfile(configfile), chart_(chart),
      format_(QLocale::system(), platform::clock().now().date().year()),
      today_(platform::clock().now().date())
{
}

tlogfile::~tlogfile()
{
    Terminate();
    platform::waitForThread(*this);
}

void tlogfile::writeentry(const QString& Artist, const QString& Album, const QString& Track)
{
    if (fconfigfile.isEmpty()) return;
    const QDateTime now = platform::clock().now();
    const QString line = format_.write(now.date(), now.time()) + oneField(Artist, false) +
                         oneField(Album, false) + oneField(Track, true) + QLatin1Char('\n');
    // Told with the log unlocked: the telling may wait for the operator.
    if (appendline(line.toUtf8()))
        library::reportWriteSuccess(fconfigfile);
    else
        library::reportWriteFailure(fconfigfile, QStringLiteral("Plays not logged to %1").arg(fconfigfile));
}

bool tlogfile::appendline(const QByteArray& line)
{
    const QMutexLocker lock(&logLock);
    // Something other than a file in the log's place (a link, or a FIFO that would block the
    // append) is left alone. A line the disk takes only part of is cut off again: the next one
    // would be joined to it, and the chart would read neither.
    return platform::appendWhole(fconfigfile, line);
}

bool tlogfile::readentry(const QString& ln, tlogentry& res) const
{
    QString line = ln;
    line.remove(QLatin1Char('"'));
    const qsizetype tab = line.indexOf(QLatin1Char('\t'));
    if (tab < 0) return false;
    QDate date;
    QTime time;
    tlogentry read;
    if (!format_.read(QStringView(line).first(tab), date, time) ||
        !splitFields(QStringView(line).sliced(tab + 1), read))
        return false;
    read.date = QDateTime(date, time);
    res = std::move(read);
    return true;
}

qsizetype tlogfile::readdate(QByteArrayView line, QDate& date, LogDateFormat::Memo* memo) const
{
    const qsizetype length = dateLength(line);
    if (length < 0) return -1;
    const QByteArrayView text = line.first(length);
    QTime time;
    // Dates are plain ASCII as a rule: read them from the line's bytes, without decoding.
    if (isPlainAscii(text)) return format_.read(QLatin1StringView(text), date, time, memo) ? length : -1;
    QString decoded = decode(text);
    decoded.remove(QLatin1Char('"'));
    return format_.read(decoded, date, time, memo) ? length : -1;
}

QDate tlogfile::cutoffdate(const QDate& today)
{
    // addMonths keeps the day when the month has it and takes the month's last day otherwise.
    return today.addMonths(-1);
}

void tlogfile::cleanlogfile()
{
    (void)cleanandcount(nullptr);
}

bool tlogfile::cleanandcount(ChartCounter* counter)
{
    if (fconfigfile.isEmpty()) return false;
    recoverworkingcopy();
    QFile log;
    qint64 size = 0; // the part of the log we read: whole lines that no longer change
    {
        const QMutexLocker lock(&logLock);
        if (!platform::openRegularFile(log, fconfigfile, QIODevice::Unbuffered)) return false;
        size = log.size();
    }
    if (size > kBeepSize) platform::synchronize(this, [] { QApplication::beep(); });

    const QDate cutoff = cutoffdate(today_);
    std::vector<LineSpan> dropped; // whole lines, in order
    QDate last;                    // date of the last readable line; lines before the first one are kept
    LogDateFormat::Memo memo;
    qint64 lines = 0;
    bool stopped = false;
    const bool read = forEachLineOf(log, size, [&](QByteArrayView line, QByteArrayView whole, qint64 offset) {
        if (isInterruptionRequested()) {
            stopped = true;
            return false;
        }
        // Reading the clock costs as much as reading a line: look at it now and then.
        if (lines++ % kLinesPerClockLook == 0 && statusdue()) showstatus(progress(kCleaning, lines));
        QDate date;
        const qsizetype dateLength = readdate(line, date, &memo);
        if (dateLength >= 0) last = date;
        if (last.isValid() && last < cutoff)
            dropped.push_back({offset, whole.size()});
        else if (counter)
            counter->add(line, dateLength);
        return true;
    });
    if (!read) return false;
    if (stopped) return true;

    QByteArray tail;
    QByteArray kept;
    const bool cut = dropped.empty() ? rewritelog(size, nullptr, tail)
                                     : keptLines(log, size, dropped, kept) && rewritelog(size, &kept, tail);
    if (counter) {
        // Lines appended meanwhile count too; if the log could not be cut, all of it counts.
        if (!cut) {
            counter->clear();
            const QMutexLocker lock(&logLock);
            if (!readFile(fconfigfile, tail)) tail.clear();
        }
        forEachLine(tail, [&](QByteArrayView line, QByteArrayView) {
            QDate date;
            counter->add(line, readdate(line, date, &memo));
            return !isInterruptionRequested();
        });
    }
    return true;
}

bool tlogfile::rewritelog(qint64 readsize, const QByteArray* kept, QByteArray& tail)
{
    const QMutexLocker lock(&logLock);
    // The log only grows while we work on it: what lies beyond the part we read was appended
    // meanwhile and goes behind the kept lines.
    QFile file;
    if (!platform::openRegularFile(file, fconfigfile) || file.size() < readsize || !file.seek(readsize))
        return false;
    tail = file.readAll();
    if (file.error() != QFileDevice::NoError) return false;
    file.close();
    return !kept || platform::writeFileAtomically(fconfigfile, *kept + tail);
}

void tlogfile::recoverworkingcopy()
{
    const QString saved = fconfigfile + QStringLiteral(".$$$");
    const QMutexLocker lock(&logLock);
    platform::removeAtomicWriteLeftovers(fconfigfile);
    QByteArray savedBytes;
    if (!QFileInfo::exists(saved) || !readFile(saved, savedBytes)) return;
    QByteArray current;
    const QByteArray merged =
        readFile(fconfigfile, current) ? mergeLeftover(savedBytes, current) : savedBytes;
    if (platform::writeFileAtomically(fconfigfile, merged)) QFile::remove(saved);
}

void tlogfile::Resume()
{
    Q_ASSERT(QThread::currentThread() == thread());
    if (resumed_) return;
    resumed_ = true;
    today_ = platform::clock().now().date();
    start();
}

void tlogfile::Terminate()
{
    requestInterruption();
}

void tlogfile::run()
{
    Execute();
}

void tlogfile::Execute()
{
    handover([](Top100List& list) { list.setShowNumbers(false); });
    ChartCounter counter(*this);
    const bool opened = cleanandcount(&counter);
    if (!opened) {
        showstatus(kNoLog);
        return;
    }
    if (isInterruptionRequested()) return;
    sendmessage(kCalculating);
    std::vector<tcounter> chart = counter.take();
    // Equal counts keep the reversed order: the most recent first appearance comes first.
    std::reverse(chart.begin(), chart.end());
    sendmessage(kSorting);
    std::stable_sort(chart.begin(), chart.end(),
                     [](const tcounter& a, const tcounter& b) { return a.count > b.count; });
    if (isInterruptionRequested()) return;
    showchart(chart);
}

void tlogfile::showchart(const std::vector<tcounter>& chart)
{
    QStringList rows;
    const size_t shown = std::min(chart.size(), static_cast<size_t>(kChartRows));
    for (size_t i = 0; i < shown; ++i) {
        const tlogentry& e = chart[i].entry;
        if (e.artist.isEmpty()) continue;
        rows << e.artist + QStringLiteral(" - ") + e.album + QStringLiteral(" : ") + e.track +
                    QStringLiteral(" (") + QString::number(chart[i].count) + QLatin1Char(')');
    }
    handover([rows](Top100List& list) {
        list.setShowNumbers(true);
        list.clearItems();
        for (const QString& row : rows)
            list.addItem(row);
        list.refresh();
    });
}

void tlogfile::sendmessage(const QString& m)
{
    if (statusdue()) showstatus(m);
}

bool tlogfile::statusdue()
{
    // The millisecond tick of a steady clock, wrapping like a 32-bit tick count.
    using namespace std::chrono;
    const auto tick =
        static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    if (tick - tc < kStatusIntervalMs) return false;
    tc = tick;
    return true;
}

void tlogfile::showstatus(const QString& m)
{
    handover([m](Top100List& list) {
        list.clearItems();
        list.addItem(m);
    });
}

void tlogfile::handover(const std::function<void(Top100List&)>& change)
{
    static Top100List nobody;
    Top100List& list = chart_ ? *chart_ : nobody;
    platform::synchronize(this, [&list, &change] { change(list); });
}

} // namespace jukebox
