// Feeds arbitrary bytes, as a whole file, to the ID3 tag reader (version 1 block and version 2
// frames).

#include <QBuffer>
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "library/id3.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    library::tid3tag tag;
    library::readtag(file, tag);
    return 0;
}
