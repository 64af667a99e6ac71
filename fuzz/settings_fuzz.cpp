// Feeds arbitrary bytes to the settings reader as "Musetra.ini": read and write it twice; the
// two writes must give the same file (every key survived being read back).

#include <QFile>

#include "fuzzfiles.h"
#include "library/global.h"
#include "library/inifuncs.h"
#include "platform/programfolder.h"

namespace {

QByteArray roundTrip(const QString& path)
{
    library::resetGlobals();
    (void)library::readini();
    library::writeini();
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

void prepareFuzzing()
{
    platform::setProgramFolder(fuzzFolder());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // AltINI would send the writes to any file of the machine.
    if (QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).toLower().contains("altini"))
        return 0;
    const QString path = writeFuzzFile(QStringLiteral("Musetra.ini"), data, size);
    // The first round may tidy what it read; from then on every key must come back as it was
    // written, and a key that reads as the value written keeps its line.
    const QByteArray first = roundTrip(path);
    require(roundTrip(path) == first, "reading and writing the written settings changes nothing");
    return 0;
}
