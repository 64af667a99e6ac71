// Feeds arbitrary bytes to the skin-file reader: as a whole file, and as one bitmap resource.

#include <QByteArray>
#include <QImage>
#include <cstddef>
#include <cstdint>

#include "platform/peresources.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto skin = platform::PeResources::parse(bytes)) {
        (void)skin->bitmap(QStringLiteral("KEYPADUP"));
        (void)skin->bitmap(QStringLiteral("#1"));
        (void)skin->find(platform::RT_RCDATA, QStringLiteral("INFO"));
    }
    (void)platform::imageFromDib(bytes);
    return 0;
}
