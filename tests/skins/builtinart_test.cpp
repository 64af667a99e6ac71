// The built-in pictures: every name the screens ask for exists, with the size and the
// see-through colour its screen relies on.

#include <gtest/gtest.h>

#include "printers.h"
#include "skins/resourceskins.h"

using namespace skins;

namespace {

QImage bitmap(const char* name)
{
    QImage image;
    loadbitmapresource(nullptr, QString::fromLatin1(name), image);
    return image;
}

QColor at(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

// The page and corner buttons carry their see-through parts as alpha, which a tint keeps.
bool seeThroughByAlpha(const QString& name)
{
    return name.contains(QStringLiteral("CORNER")) || name.startsWith(QStringLiteral("LBUT")) ||
           name.startsWith(QStringLiteral("RBUT"));
}

} // namespace

TEST(BuiltInArt, EveryNamedPictureLoadsAtItsSize)
{
    // Pictures of one size together; an invalid size stands for any size.
    const std::pair<QSize, std::vector<const char*>> sizes[] = {
        {{42, 42}, {"KEYPADUP", "KEYPADDOWN"}},
        {{130, 21}, {"WIDEBUTUP", "WIDEBUTDOWN"}},
        {{51, 51}, {"LBUTUP", "LBUTDOWN", "RBUTUP", "RBUTDOWN"}},
        {{32, 32},
         {"LCORNERUP", "LCORNERDOWN", "BLCORNERUP", "BLCORNERDOWN", "RCORNERUP", "RCORNERDOWN", "BRCORNERUP",
          "BRCORNERDOWN"}},
        {{637, 575}, {"CENTERMASK"}},
        {{170, 170}, {"NOIMAGE"}},
        {{18, 15},
         {"UPNORMAL", "UPPRESSED", "DOWNNORMAL", "DOWNPRESSED", "SELECTERUPNORMAL", "SELECTERUPPRESSED",
          "SELECTERDOWNNORMAL", "SELECTERDOWNPRESSED", "PUPNORMAL", "PUPPRESSED", "PDOWNNORMAL",
          "PDOWNPRESSED"}},
        {{152, 152}, {"G1", "G2", "G3", "G4", "G5", "G6", "G7", "G8", "G9"}},
        {{60, 50}, {"VIEW3D", "VIEWNORM"}},
        {{100, 30}, {"KEYBOARDICONUP", "KEYBOARDICONDOWN"}},
        {{30, 40}, {"PLAYLIST_MOVEUP_UP", "PLAYLIST_MOVEDOWN_DOWN"}},
        {{30, 30}, {"PLAYLIST_REMOVE_UP", "PLAYLIST_PLAY_DOWN", "PLAYLIST_PURGE_UP"}},
        {{37, 37}, {"REJECTUP", "REJECTDOWN", "MUTEUP", "MUTEDOWN", "VOLUMEUP", "VOLUMEDOWN"}},
        {{}, {"ALPHABUTTONUP", "ALPHABUTTONDOWN", "BLUEUP",   "BLUEDOWN",   "GREENUP",  "GREENDOWN",
              "REDUP",         "REDDOWN",         "PURPLEUP", "PURPLEDOWN", "YELLOWUP", "YELLOWDOWN",
              "TICK",          "CROSS",           "PLUSUP",   "PLUSDOWN",   "MINUSUP",  "MINUSDOWN",
              "CDICON",        "NOTES",           "LOGO",     "cd",         "dataprog"}}};
    for (const auto& [size, names] : sizes)
        for (const char* name : names) {
            QImage image;
            ASSERT_NO_THROW(image = bitmap(name)) << name;
            EXPECT_FALSE(image.isNull()) << name;
            EXPECT_EQ(image.hasAlphaChannel(), seeThroughByAlpha(QString::fromLatin1(name))) << name;
            if (size.isValid()) {
                EXPECT_EQ(image.size(), size) << name;
            }
        }
    for (const char* name : {"BACKGROUND", "ADMINBACKDROP"}) {
        QImage image;
        ASSERT_NO_THROW(loadjpegresource(nullptr, QString::fromLatin1(name), image)) << name;
        EXPECT_GE(image.width(), 800) << name;
        EXPECT_EQ(image.width() * 3, image.height() * 4) << name;
    }
}

TEST(BuiltInArt, SeeThroughColoursSitWhereTheScreensExpectThem)
{
    const QColor white(255, 255, 255), red(255, 0, 0);
    // List arrows, round buttons, check marks and plus/minus are drawn with white transparent.
    for (const char* name : {"UPNORMAL", "SELECTERDOWNPRESSED", "PUPNORMAL", "BLUEUP", "TICK", "PLUSUP"}) {
        const QImage image = bitmap(name);
        EXPECT_EQ(at(image, 0, 0), white) << name;
        EXPECT_NE(at(image, image.width() / 2, image.height() / 2 + 1), white) << name;
    }
    // The on-screen keyboard key is transparent by its bottom-left pixel.
    const QImage keyboard = bitmap("KEYBOARDICONUP");
    EXPECT_EQ(at(keyboard, 0, keyboard.height() - 1), white);
    // Queue keys are transparent on pure red (by rule or by their bottom-left pixel).
    for (const char* name : {"PLAYLIST_PLAY_UP", "PLAYLIST_PURGE_DOWN", "PLAYLIST_MOVEUP_UP"}) {
        const QImage image = bitmap(name);
        EXPECT_EQ(at(image, 0, image.height() - 1), red) << name;
        EXPECT_NE(at(image, image.width() / 2, image.height() / 2), red) << name;
    }
    // Row icons: their red pixels come out in the row's colour; the disc's hole is one of them.
    const QImage disc = bitmap("CDICON");
    EXPECT_EQ(at(disc, 0, 0), red);
    EXPECT_EQ(at(disc, disc.width() / 2, disc.height() / 2), red);
    EXPECT_EQ(at(bitmap("NOTES"), 0, 0), red);
    // Letter buttons: the top-left pixel is the see-through colour and never appears inside the button.
    for (const char* name : {"ALPHABUTTONUP", "ALPHABUTTONDOWN"}) {
        const QImage image = bitmap(name);
        const QRgb key = image.pixel(0, 0);
        for (int y = 4; y < image.height() - 4; ++y)
            for (int x = 4; x < image.width() - 4; ++x)
                ASSERT_NE(image.pixel(x, y), key) << name << x << "," << y;
    }
    // The centre mask keeps only a frame: its middle and its outer corners are white.
    const QImage mask = bitmap("CENTERMASK");
    EXPECT_EQ(at(mask, mask.width() / 2, mask.height() / 2), white);
    EXPECT_EQ(at(mask, 0, 0), white);
    EXPECT_NE(at(mask, mask.width() / 2, 3), white);
    EXPECT_NE(at(mask, 3, mask.height() / 2), white);
}

TEST(BuiltInArt, TheBlankCursorShowsNothing)
{
    const QString path = findBuiltinResource(QStringLiteral("blankcursor"));
    ASSERT_FALSE(path.isEmpty());
    const QImage cursor(path);
    ASSERT_FALSE(cursor.isNull());
    EXPECT_TRUE(cursor.hasAlphaChannel());
    for (int y = 0; y < cursor.height(); ++y)
        for (int x = 0; x < cursor.width(); ++x)
            ASSERT_EQ(qAlpha(cursor.pixel(x, y)), 0);
}
