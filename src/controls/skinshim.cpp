#include "controls/skinshim.h"

#include <cmath>

#include "library/global.h"
#include "skins/colors.h"

namespace controls {

QImage programBitmap(const QString& name)
{
    return QImage(QStringLiteral(":/") + name).convertToFormat(QImage::Format_RGB32);
}

void blendTowards(QImage& picture, int32_t colour, double alpha)
{
    if (library::SLOWPROCESSOR) return;
    picture = picture.convertToFormat(QImage::Format_RGB32);
    const QColor c = skins::tcolorToQColor(colour);
    auto mix = [alpha](int in, int to) { return static_cast<int>(std::nearbyint((in - to) * alpha + to)); };
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            row[x] = qRgb(mix(qRed(row[x]), c.red()), mix(qGreen(row[x]), c.green()),
                          mix(qBlue(row[x]), c.blue()));
    }
}

QRegion regionWithout(const QImage& mask, QRgb colour)
{
    QRegion region(0, 0, mask.width(), mask.height());
    for (int x = 0; x < mask.width(); ++x) {
        int y = 0;
        while (y < mask.height()) {
            if ((mask.pixel(x, y) & 0xFFFFFF) != (colour & 0xFFFFFF)) {
                ++y;
                continue;
            }
            const int top = y;
            while (y < mask.height() && (mask.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
                ++y;
            region -= QRegion(x, top, 1, y - top);
        }
    }
    return region;
}

QImage skinPicture(const QString& name, const library::tskin& skin)
{
    QImage picture = programBitmap(name);
    if (skin.Color != 0 && skin.Color != library::clNone) blendTowards(picture, skin.Color, 0.6);
    return picture;
}

} // namespace controls
