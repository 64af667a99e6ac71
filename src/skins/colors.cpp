#include "skins/colors.h"

#include <array>

namespace skins {

namespace {

// The classic "Windows Standard" scheme, by system colour index, as $00BBGGRR values.
constexpr std::array<int32_t, 31> kSystemColors = {
    0xC8D0D4, // 0 scroll bar
    0xA56E3A, // 1 desktop
    0x6A240A, // 2 active caption
    0x808080, // 3 inactive caption
    0xC8D0D4, // 4 menu
    0xFFFFFF, // 5 window
    0x000000, // 6 window frame
    0x000000, // 7 menu text
    0x000000, // 8 window text
    0xFFFFFF, // 9 caption text
    0xC8D0D4, // 10 active border
    0xC8D0D4, // 11 inactive border
    0x808080, // 12 application workspace
    0x6A240A, // 13 highlight
    0xFFFFFF, // 14 highlight text
    0xC8D0D4, // 15 button face
    0x808080, // 16 button shadow
    0x808080, // 17 grey text
    0x000000, // 18 button text
    0xC8D0D4, // 19 inactive caption text
    0xFFFFFF, // 20 button highlight
    0x404040, // 21 3D dark shadow
    0xC8D0D4, // 22 3D light
    0x000000, // 23 tooltip text
    0xE1FFFF, // 24 tooltip background
    0xB5B5B5, // 25 alternate button face
    0x800000, // 26 hot-tracked item
    0xF0CAA6, // 27 gradient active caption
    0xC0C0C0, // 28 gradient inactive caption
    0x6A240A, // 29 menu highlight
    0xC8D0D4, // 30 menu bar
};

} // namespace

int32_t ColorToRGB(int32_t color)
{
    if (color >= 0) return color & 0xFFFFFF;
    const uint32_t index = uint32_t(color) & 0xFF;
    return index < kSystemColors.size() ? kSystemColors[index] : 0;
}

QRgb tcolorToRgb(int32_t color)
{
    const int32_t rgb = ColorToRGB(color);
    return qRgb(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

QColor tcolorToQColor(int32_t color)
{
    return QColor(tcolorToRgb(color));
}

int32_t rgbToTColor(QRgb rgb)
{
    return qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16);
}

} // namespace skins
