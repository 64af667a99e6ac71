#include "ripper/getcoverart.h"

#include <QSize>

#include "library/names.h"
#include "platform/jpegcodec.h"

namespace ripper {

namespace {

constexpr qsizetype kSkipped = 1;
constexpr qsizetype kFieldSize = 16;
// Pictures larger than this in both directions are decoded at a smaller scale; the choice shows
// them at a quarter of the screen.
constexpr int kDecodeAtLeast = 1000;
const QString kPound = QStringLiteral("\u00A3");

// The picture size of a size field; 0 when the field holds no whole number or 0 (the end of the
// records), -1 when its number is negative or larger than what remains after the price field.
qint64 pictureSize(const QByteArray& field, qsizetype remaining)
{
    bool number = false;
    const qint64 size = library::trimcontrols(QString::fromLatin1(field)).toLongLong(&number);
    if (!number) return 0;
    if (size < 0 || size > remaining) return -1;
    return size;
}

QString priceText(const QByteArray& field)
{
    const QString price = trimnonacii(QString::fromLatin1(field));
    return price.isEmpty() ? QString() : kPound + price + QStringLiteral(" GBP");
}

} // namespace

QString trimnonacii(const QString& s)
{
    QString ascii;
    for (const QChar c : s)
        if (c.unicode() < 127) ascii += c;
    return library::trimcontrols(ascii);
}

int32_t uncompress(const QByteArray& inp, bool* damaged)
{
    int32_t filled = 0;
    qsizetype at = kSkipped;
    if (damaged) *damaged = false;
    while (at < inp.size() && filled < kMaxCovers) {
        if (inp.size() - at < 2 * kFieldSize) break;
        const qsizetype pictureAt = at + 2 * kFieldSize;
        const qint64 size = pictureSize(inp.mid(at, kFieldSize), inp.size() - pictureAt);
        if (size <= 0) {
            if (damaged) *damaged = size < 0;
            break;
        }
        QImage picture;
        if (platform::decodeJpeg(inp.mid(pictureAt, qsizetype(size)), picture,
                                 QSize(kDecodeAtLeast, kDecodeAtLeast))) {
            ++filled;
            covers[filled] = {picture, priceText(inp.mid(at + kFieldSize, kFieldSize))};
        }
        at = pictureAt + qsizetype(size);
    }
    return filled;
}

} // namespace ripper
