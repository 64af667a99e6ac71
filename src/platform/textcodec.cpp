#include "platform/textcodec.h"

#include <QByteArrayList>
#include <QFile>
#include <QStringDecoder>
#include <QStringView>
#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "platform/files.h"

namespace platform {

namespace {

// Windows-1252 code points of the bytes 0x80..0x9F; the five undefined bytes keep their value.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString decodeWindows1252(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && byte < 0xA0)
            text.append(QChar(kCp1252High[byte - 0x80]));
        else
            text.append(QChar(static_cast<char16_t>(byte)));
    }
    return text;
}

constexpr qint64 kReadChunk = 64 * 1024;

// `line` cut to `maxBytes`; a UTF-8 character that the cut would split goes whole, so text that
// is valid UTF-8 stays valid (and is not read as Windows-1252 because of the cut).
void cutLine(QByteArray& line, qsizetype maxBytes)
{
    if (line.size() <= maxBytes) return;
    qsizetype end = maxBytes;
    for (int step = 0; step < 3 && end > 0 && (uchar(line[end]) & 0xC0) == 0x80; ++step)
        --end;
    if ((uchar(line[end]) & 0xC0) != 0xC0) end = maxBytes; // no split character at the cut
    line.truncate(end);
}

// The first CR or LF in [at, end), or end; memchr's vector scan keeps a long line cheap.
const char* findLineEnd(const char* at, const char* end)
{
    const auto* lf = static_cast<const char*>(std::memchr(at, '\n', size_t(end - at)));
    const char* const limit = lf ? lf : end;
    const auto* cr = static_cast<const char*>(std::memchr(at, '\r', size_t(limit - at)));
    return cr ? cr : limit;
}

// The lines of a file's bytes, one at a time, split at CR LF, LF or CR, each holding at most
// `maxLineBytes` + 1 bytes of its line (enough for cutLine to see a split character), until
// `maxLines` lines are read. No file within those bounds is longer than `maxLines` lines of
// `maxLineBytes` and a CR LF each: reading stops there, so a file of one endless line costs no
// more than a full one. Only one chunk of the file and one line are held at a time.
class RawLines
{
public:
    RawLines(QFile& file, qsizetype maxLines, qsizetype maxLineBytes)
        : file_(file), maxLines_(maxLines), maxLineBytes_(maxLineBytes),
          budget_(qint64(maxLines) * (maxLineBytes + 2))
    {
    }

    // The next line, cut to `maxLineBytes`; false after the last.
    bool next(QByteArray& line)
    {
        line.clear();
        if (lines_ >= maxLines_) return false;
        while (fill()) {
            const char* const begin = chunk_.cbegin() + at_;
            const char* const end = chunk_.cend();
            if (std::exchange(afterCr_, false) && *begin == '\n') {
                ++at_;
                continue;
            }
            const char* const stop = findLineEnd(begin, end);
            line.append(begin, std::clamp<qsizetype>(maxLineBytes_ + 1 - line.size(), 0, stop - begin));
            at_ = stop - chunk_.cbegin();
            if (stop == end) continue;
            afterCr_ = *stop == '\r';
            ++at_;
            return take(line);
        }
        // A last line without a line end.
        return !line.isEmpty() && take(line);
    }

    // Back to the start of the file.
    [[nodiscard]] bool rewind()
    {
        chunk_.clear();
        at_ = 0;
        read_ = 0;
        lines_ = 0;
        afterCr_ = false;
        return file_.seek(0);
    }

private:
    // True while bytes are left in the chunk, after reading the next one when it is used up.
    bool fill()
    {
        if (at_ < chunk_.size()) return true;
        if (read_ >= budget_) return false;
        chunk_ = file_.read(std::min(kReadChunk, budget_ - read_));
        at_ = 0;
        read_ += chunk_.size();
        return !chunk_.isEmpty();
    }

    bool take(QByteArray& line)
    {
        cutLine(line, maxLineBytes_);
        ++lines_;
        return true;
    }

    QFile& file_;
    const qsizetype maxLines_;
    const qsizetype maxLineBytes_;
    const qint64 budget_;
    QByteArray chunk_;
    qsizetype at_ = 0;
    qint64 read_ = 0;
    qsizetype lines_ = 0;
    bool afterCr_ = false;
};

// Decodes lines one at a time as the text they stand in would decode whole: as UTF-8 (one decoder
// for all the lines, each with its line end, so a byte order mark counts only at the very start),
// or byte by byte as Windows-1252. Only the last line's text is held.
class LineDecoder
{
public:
    explicit LineDecoder(bool utf8) : utf8_(utf8) {}

    QStringView decode(const QByteArray& line)
    {
        if (!utf8_) {
            text_ = decodeWindows1252(line);
            return text_;
        }
        text_.resize(utf8Decoder_.requiredSpace(line.size() + 1));
        QChar* end = utf8Decoder_.appendToBuffer(text_.data(), line);
        end = utf8Decoder_.appendToBuffer(end, "\n");
        return QStringView(text_.constData(), end - text_.constData() - 1);
    }

    // True when a line decoded as UTF-8 was not.
    bool failed() const { return utf8_ && utf8Decoder_.hasError(); }

private:
    const bool utf8_;
    QStringDecoder utf8Decoder_{QStringDecoder::Utf8};
    QString text_;
};

// Hands each line of `raw` to `visitor` as UTF-8 or, when `utf8` is false, as Windows-1252.
// False when a line proved the text is not UTF-8 (no line from there on is handed on).
bool visitLines(RawLines& raw, bool utf8, const LineVisitor& visitor)
{
    LineDecoder decoder(utf8);
    QByteArray line;
    while (raw.next(line)) {
        const QStringView text = decoder.decode(line);
        if (decoder.failed()) return false;
        if (!visitor.take(text)) return true;
    }
    return true;
}

} // namespace

bool visitTextLines(const QString& path, qsizetype maxLines, qsizetype maxLineBytes,
                    const LineVisitor& visitor)
{
    QFile file;
    if (!openRegularFile(file, path)) return false;
    RawLines raw(file, maxLines, maxLineBytes);
    if (visitLines(raw, true, visitor)) return true;
    // Not UTF-8: the lines handed on so far are taken back, and all are read again.
    if (visitor.restart) visitor.restart();
    if (raw.rewind()) (void)visitLines(raw, false, visitor);
    return true;
}

LineVisitor collectLines(QStringList& lines)
{
    return {[&lines](QStringView line) {
                lines.append(line.toString());
                return true;
            },
            [&lines] { lines.clear(); }};
}

bool readTextLines(const QString& path, qsizetype maxLines, qsizetype maxLineBytes, QStringList& lines)
{
    QStringList read;
    if (!visitTextLines(path, maxLines, maxLineBytes, collectLines(read))) return false;
    lines = read;
    return true;
}

QString decodeText(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    return decodeWindows1252(bytes);
}

QStringList splitLines(const QString& text)
{
    QStringList lines;
    QString line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines.append(line);
            line.clear();
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) ++i;
        } else {
            line.append(c);
        }
    }
    if (!line.isEmpty()) lines.append(line);
    return lines;
}

QString cutToUtf8Bytes(const QString& text, int maxBytes)
{
    if (text.toUtf8().size() <= maxBytes) return text;
    QString cut;
    int used = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        const int bytes = static_cast<int>(character.toUtf8().size());
        if (used + bytes > maxBytes) break;
        cut += character;
        used += bytes;
        i += length - 1;
    }
    return cut;
}

} // namespace platform
