// Feeds arbitrary bytes to the skin-file reader: as a whole file, and as one bitmap resource. A
// grown input (see fuzzfiles.h) is opened as a skin file around the reader's 64 MiB limit.

#include <QByteArray>
#include <QImage>
#include <cstddef>
#include <cstdint>

#include "fuzzfiles.h"
#include "platform/peresources.h"

namespace {

constexpr qint64 kSkinFileLimit = 64ll * 1024 * 1024;

void readSkin(const platform::PeResources& skin)
{
    (void)skin.bitmap(QStringLiteral("KEYPADUP"));
    (void)skin.bitmap(QStringLiteral("#1"));
    (void)skin.find(platform::RT_RCDATA, QStringLiteral("INFO"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (const auto grown = grownFile(data, size, kSkinFileLimit)) {
        const auto skin = platform::PeResources::open(writeGrownFile(QStringLiteral("skin.skn"), *grown));
        require(!skin || grown->size <= kSkinFileLimit, "a skin file beyond the limit is refused");
        if (skin) readSkin(*skin);
        return 0;
    }
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto skin = platform::PeResources::parse(bytes)) readSkin(*skin);
    (void)platform::imageFromDib(bytes);
    return 0;
}
