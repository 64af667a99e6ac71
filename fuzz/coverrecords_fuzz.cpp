// Feeds arbitrary bytes, as the cover-art service's answer, to the reader of its picture records.

#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "ripper/getcoverart.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    (void)ripper::uncompress(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
