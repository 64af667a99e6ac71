// Feeds arbitrary bytes to the play-log reader and cleaner: every line reads without harm, and
// the cleaned log holds only whole lines of the original, in their order.

#include <QFile>
#include <QList>

#include "fuzzfiles.h"
#include "jukebox/logfile.h"
#include "platform/textcodec.h"

namespace {

// The lines of `bytes` that end in a line feed, and a last one that does not.
QByteArrayList wholeLines(const QByteArray& bytes)
{
    QByteArrayList lines = bytes.split('\n');
    if (lines.last().isEmpty()) lines.removeLast();
    return lines;
}

// True when every line of `kept` is a line of `original`, in the same order.
bool keepsWholeLinesInOrder(const QByteArrayList& kept, const QByteArrayList& original)
{
    qsizetype at = 0;
    for (const QByteArray& line : kept) {
        while (at < original.size() && original.at(at) != line)
            ++at;
        if (at == original.size()) return false;
        ++at;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = writeFuzzFile(QStringLiteral("plays.log"), data, size);
    jukebox::tlogfile log(path, nullptr);
    for (const QString& line : platform::splitLines(platform::decodeText(bytes))) {
        jukebox::tlogentry entry;
        (void)log.readentry(line, entry);
    }
    log.cleanlogfile();
    QFile cleaned(path);
    require(cleaned.open(QIODevice::ReadOnly), "the cleaned log reads");
    require(keepsWholeLinesInOrder(wholeLines(cleaned.readAll()), wholeLines(bytes)),
            "the cleaned log keeps only whole original lines, in order");
    return 0;
}
