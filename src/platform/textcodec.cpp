#include "platform/textcodec.h"

#include <QByteArrayList>
#include <QFile>
#include <QStringDecoder>
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
QByteArray cutLine(const QByteArray& line, qsizetype maxBytes)
{
    if (line.size() <= maxBytes) return line;
    qsizetype end = maxBytes;
    for (int step = 0; step < 3 && end > 0 && (uchar(line[end]) & 0xC0) == 0x80; ++step)
        --end;
    if ((uchar(line[end]) & 0xC0) != 0xC0) end = maxBytes; // no split character at the cut
    return line.left(end);
}

// The first CR or LF in [at, end), or end; memchr's vector scan keeps a long line cheap.
const char* findLineEnd(const char* at, const char* end)
{
    const auto* lf = static_cast<const char*>(std::memchr(at, '\n', size_t(end - at)));
    const char* const limit = lf ? lf : end;
    const auto* cr = static_cast<const char*>(std::memchr(at, '\r', size_t(limit - at)));
    return cr ? cr : limit;
}

// Splits the bytes of `file` into lines at CR LF, LF or CR, keeping at most `maxLineBytes` + 1
// bytes of each (enough for cutLine to see a split character), until `maxLines` lines are read.
// No file within those bounds is longer than `maxLines` lines of `maxLineBytes` and a CR LF each:
// reading stops there, so a file of one endless line costs no more than a full one.
QByteArrayList readRawLines(QFile& file, qsizetype maxLines, qsizetype maxLineBytes)
{
    const qint64 budget = qint64(maxLines) * (maxLineBytes + 2);
    QByteArrayList lines;
    QByteArray line;
    bool afterCr = false;
    for (qint64 read = 0; lines.size() < maxLines && read < budget;) {
        const QByteArray chunk = file.read(std::min(kReadChunk, budget - read));
        if (chunk.isEmpty()) break;
        read += chunk.size();
        const char* const end = chunk.cend();
        for (const char* at = chunk.cbegin(); at < end && lines.size() < maxLines;) {
            if (std::exchange(afterCr, false) && *at == '\n') {
                ++at;
                continue;
            }
            const char* const stop = findLineEnd(at, end);
            line.append(at, std::clamp<qsizetype>(maxLineBytes + 1 - line.size(), 0, stop - at));
            if (stop == end) break;
            afterCr = *stop == '\r';
            lines.append(cutLine(line, maxLineBytes));
            line.clear();
            at = stop + 1;
        }
    }
    if (!line.isEmpty() && lines.size() < maxLines) lines.append(cutLine(line, maxLineBytes));
    return lines;
}

} // namespace

bool readTextLines(const QString& path, qsizetype maxLines, qsizetype maxLineBytes, QStringList& lines)
{
    QFile file;
    if (!openRegularFile(file, path)) return false;
    const QByteArrayList raw = readRawLines(file, maxLines, maxLineBytes);
    // One decoding for the whole text, as for a file read whole; the final line end keeps a
    // last empty line.
    lines = raw.isEmpty() ? QStringList() : splitLines(decodeText(raw.join('\n') + '\n'));
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
