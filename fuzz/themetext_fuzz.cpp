// Feeds arbitrary bytes to the theme-text reader of skin files.

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

#include "skins/resourceskins.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    library::TThemeSubset themes;
    QString name;
    try {
        skins::readthemetext(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), themes, name);
    } catch (const skins::ResourceNotFound&) {
        // An empty text is reported this way.
    }
    return 0;
}
