#include <gtest/gtest.h>

#include "printers.h"
#include "skins/colors.h"

using namespace skins;

TEST(Colors, PlainValuesKeepRedInTheLowByte)
{
    EXPECT_EQ(tcolorToQColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(tcolorToQColor(0x00C6F7), QColor(0xF7, 0xC6, 0x00));
    EXPECT_EQ(tcolorToQColor(0xB5F7FD), QColor(0xFD, 0xF7, 0xB5));
    EXPECT_EQ(rgbToTColor(qRgb(0xF7, 0xC6, 0x00)), 0x00C6F7);
    // The high byte of a non-negative value is not part of the colour.
    EXPECT_EQ(ColorToRGB(0x1F123456), 0x123456);
}

TEST(Colors, SystemColoursComeFromOneFixedTable)
{
    struct Case
    {
        int32_t color;
        QColor expected;
    };
    // The first two as a theme file stores them.
    const Case cases[] = {
        {int32_t(0xFF00000Cu), QColor(128, 128, 128)},
        {int32_t(0xFF00000Fu), QColor(212, 208, 200)},
        {clWindow, QColor(255, 255, 255)},
        {clBtnShadow, QColor(128, 128, 128)},
        {clWindowText, QColor(0, 0, 0)},
        {clHighlight, QColor(10, 36, 106)},
        {clInfoBk, QColor(255, 255, 225)},
        {int32_t(0xFF0000C8u), QColor(0, 0, 0)},
        // The table's last index (menu bar) and the first one past it.
        {int32_t(0xFF00001Eu), QColor(212, 208, 200)},
        {int32_t(0xFF00001Fu), QColor(0, 0, 0)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tcolorToQColor(c.color), c.expected) << std::hex << c.color;
}
