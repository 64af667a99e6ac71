// Feeds grown inputs (see fuzzfiles.h) to the settings reader and writer as the file
// "Musetra.ini" itself, around the 4 MB limit of settings files: one within it is read and
// written, one beyond it is neither read nor written over. Kept apart from the in-memory settings
// fuzzer, whose small inputs would otherwise wait behind these megabytes.

#include <QFileInfo>

#include "fuzzfiles.h"
#include "library/global.h"
#include "library/inifuncs.h"
#include "platform/profile.h"
#include "platform/programfolder.h"

void prepareFuzzing()
{
    // The library root defaults to the program folder.
    platform::setProgramFolder(fuzzFolder());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto grown = grownFile(data, size, platform::Profile::kMaxFileBytes);
    if (!grown) return 0;
    library::resetGlobals();
    library::tinifile ini;
    ini.inipath = writeGrownFile(QStringLiteral("Musetra.ini"), *grown);
    library::readSettings(ini);
    const bool written = library::writeSettings(ini);
    if (grown->size > platform::Profile::kMaxFileBytes) {
        require(!written, "a settings file beyond the limit is not written");
        require(QFileInfo(ini.inipath).size() == grown->size,
                "a settings file beyond the limit stays as it was");
    }
    return 0;
}
