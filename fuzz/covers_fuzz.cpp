// Feeds arbitrary bytes to the cover loader as an album's "title.jpg" or "title.bmp": whatever
// the file holds, the caller gets a picture (the cover or an error picture) and nothing breaks.
// A grown input (see fuzzfiles.h) makes a file around the loader's 64 MiB limit.

#include <QDir>
#include <QImage>
#include <QSize>

#include "fuzzfiles.h"
#include "skins/loadjpegorbmp.h"

namespace {

constexpr qint64 kCoverLimit = 64ll * 1024 * 1024;

} // namespace

void prepareFuzzing()
{
    skins::initerrorbitmaps();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    // The first byte chooses the file and the size asked for; the rest is the file.
    const bool bmp = data[0] & 1;
    const QSize wanted = data[0] & 2 ? QSize(170, 170) : QSize();
    const QString name = bmp ? QStringLiteral("title.bmp") : QStringLiteral("title.jpg");
    QDir(fuzzFolder()).remove(bmp ? QStringLiteral("title.jpg") : QStringLiteral("title.bmp"));
    if (const auto grown = grownFile(data + 1, size - 1, kCoverLimit))
        writeGrownFile(name, *grown);
    else
        writeFuzzFile(name, data + 1, size - 1);
    QImage picture;
    skins::loadjpegbmp(fuzzFolder(), picture, wanted);
    require(!picture.isNull(), "a cover load always gives a picture");
    return 0;
}
