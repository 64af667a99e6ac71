// Feeds arbitrary bytes to the line reader of "title.dat" and "background.list": it never keeps
// more lines or longer lines than asked, and a file within the bounds reads exactly as the
// whole-file reader reads it.

#include <QStringList>

#include "fuzzfiles.h"
#include "library/albumstore.h"
#include "library/global.h"
#include "platform/textcodec.h"

namespace {

constexpr qsizetype kLines = 40;
constexpr qsizetype kLineBytes = 48;

bool withinBounds(const QByteArray& bytes)
{
    const QByteArrayList lines = QByteArray(bytes).replace('\r', '\n').split('\n');
    if (lines.size() > kLines) return false;
    for (const QByteArray& line : lines) {
        if (line.size() > kLineBytes) return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = writeFuzzFile(QStringLiteral("title.dat"), data, size);
    QStringList lines;
    require(platform::readTextLines(path, kLines, kLineBytes, lines), "the file reads");
    require(lines.size() <= kLines, "no more lines than asked");
    for (const QString& line : lines)
        require(line.toUtf8().size() <= 3 * kLineBytes, "no line longer than asked");
    if (withinBounds(bytes))
        require(lines == platform::splitLines(platform::decodeText(bytes)), "reads as the whole file does");

    QStringList titles;
    require(library::readtitlesfile(fuzzFolder(), titles), "the titles read");
    for (const QString& title : titles)
        require(!title.isEmpty(), "an empty line becomes a title");
    return 0;
}
