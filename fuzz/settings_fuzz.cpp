// Feeds arbitrary bytes to the settings reader as the text of "Musetra.ini", in memory: read and
// write it twice; the two writes must give the same text (every key survived being read back).

#include "fuzzfiles.h"
#include "library/global.h"
#include "library/inifuncs.h"
#include "platform/programfolder.h"

namespace {

QByteArray roundTrip(const QByteArray& text)
{
    library::resetGlobals();
    library::tinifile ini(text);
    library::readSettings(ini);
    (void)library::writeSettings(ini);
    return ini.text();
}

} // namespace

void prepareFuzzing()
{
    // The library root defaults to the program folder.
    platform::setProgramFolder(fuzzFolder());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first round may tidy what it read; from then on every key must come back as it was
    // written, and a key that reads as the value written keeps its line.
    const QByteArray first = roundTrip(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    require(roundTrip(first) == first, "reading and writing the written settings changes nothing");
    return 0;
}
