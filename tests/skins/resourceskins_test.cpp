#include <QPainter>
#include <gtest/gtest.h>

#include "library/skintypes.h"
#include "printers.h"
#include "skins/colors.h"
#include "skins/resourceskins.h"

using namespace skins;

namespace {

class SkinCache : public ::testing::Test
{
protected:
    void SetUp() override { freeskinresources(); }
    void TearDown() override { freeskinresources(); }
};

QImage filled(int w, int h, QColor colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

TEST(Tint, MovesEveryChannelTowardsTheColourKeepingAlphaOfThePicture)
{
    struct Case
    {
        QColor in;
        int32_t color;
        double alpha;
        QColor expected;
    };
    const Case cases[] = {
        {Qt::white, 0x0000FF, 0.6, QColor(255, 153, 153)},       // white towards pure red
        {QColor(10, 20, 30), 0x0000FF, 0.0, QColor(255, 0, 0)},  // alpha 0 gives the colour
        {QColor(10, 20, 30), 0x0000FF, 1.0, QColor(10, 20, 30)}, // alpha 1 changes nothing
        // (in - c) * alpha + c = 12.5 and 13.5: halves go to the even neighbour.
        {QColor(25, 27, 0), 0x000000, 0.5, QColor(12, 14, 0)},
        // System colours resolve first: application workspace is grey 128.
        {Qt::black, clAppWorkSpace, 0.3, QColor(90, 90, 90)},
    };
    for (const Case& c : cases) {
        QImage image = filled(3, 2, c.in);
        addcolortobitmap(image, c.color, c.alpha);
        EXPECT_EQ(image.depth(), 24);
        EXPECT_EQ(image.pixelColor(2, 1), c.expected)
            << "colour " << std::hex << c.color << " alpha " << c.alpha;
    }
}

TEST_F(SkinCache, TheFirstRequestFixesTheTintUntilReplaced)
{
    const QImage red = LoadSkinResource(QStringLiteral("KEYPADUP"), QString(), 0x0000FF, false);
    const QImage again = LoadSkinResource(QStringLiteral("KEYPADUP"), QString(), 0, false);
    EXPECT_EQ(again, red);
    EXPECT_EQ(again.depth(), 24);

    QImage untinted;
    LoadSkinResourceNoCache(QStringLiteral("KEYPADUP"), QString(), library::clNone, false, untinted);
    EXPECT_NE(untinted, red);
    EXPECT_EQ(ResourceCache.size(), 1);

    const QImage replaced = ReplaceSkinResource(QStringLiteral("keypadup"), QString(), 0, false);
    EXPECT_EQ(replaced.convertToFormat(QImage::Format_RGB32), untinted.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(LoadSkinResource(QStringLiteral("KEYPADUP"), QString(), 0xFF0000, false), replaced);
    // Pictures handed out earlier keep what they showed.
    EXPECT_EQ(again, red);
    EXPECT_EQ(ResourceCache.size(), 1);
    EXPECT_EQ(ResourceCache[0].name, QStringLiteral("KEYPADUP"));
}

TEST_F(SkinCache, NamesDifferingOnlyInCaseShareOneEntry)
{
    const QImage first = LoadSkinResource(QStringLiteral("AlphaButtonUp"), QString(), 0, false);
    const QImage second = LoadSkinResource(QStringLiteral("ALPHABUTTONUP"), QString(), 0x00FF00, false);
    EXPECT_EQ(first, second);
    ASSERT_EQ(ResourceCache.size(), 1);
    EXPECT_EQ(ResourceCache[0].name, QStringLiteral("AlphaButtonUp"));
    QImage found;
    EXPECT_TRUE(getimagefromcache(QStringLiteral("alphabuttonup"), found));
    EXPECT_FALSE(getimagefromcache(QStringLiteral("AlphaButtonDown"), found));
}

TEST_F(SkinCache, ReplacingANameNeverLoadedLoadsIt)
{
    const QImage picture = ReplaceSkinResource(QStringLiteral("LBUTUP"), QString(), 0, false);
    EXPECT_FALSE(picture.isNull());
    ASSERT_EQ(ResourceCache.size(), 1);
    EXPECT_EQ(ResourceCache[0].bmp, picture);
}

TEST_F(SkinCache, UnknownNamesRaiseAndCacheNothing)
{
    EXPECT_THROW(LoadSkinResource(QStringLiteral("NOSUCHPICTURE"), QString(), 0, false), ResourceNotFound);
    // A JPEG picture is raw data, not a bitmap.
    EXPECT_THROW(LoadSkinResource(QStringLiteral("BACKGROUND"), QString(), 0, false), ResourceNotFound);
    // A bitmap is not a JPEG picture.
    EXPECT_THROW(LoadSkinResource(QStringLiteral("KEYPADUP"), QString(), 0, true), ResourceNotFound);
    QImage untouched = filled(2, 2, Qt::green);
    EXPECT_THROW(LoadSkinResourceNoCache(QStringLiteral("NOSUCHPICTURE"), QString(), 0, false, untouched),
                 ResourceNotFound);
    EXPECT_EQ(untouched.pixelColor(0, 0), QColor(Qt::green));
    EXPECT_TRUE(ResourceCache.isEmpty());
}

TEST_F(SkinCache, AJpegLoadedFirstServesLaterBitmapRequests)
{
    const QImage backdrop = LoadSkinResource(QStringLiteral("BACKGROUND"), QString(), library::clNone, true);
    EXPECT_FALSE(backdrop.isNull());
    EXPECT_EQ(LoadSkinResource(QStringLiteral("BACKGROUND"), QString(), 0, false), backdrop);
}

TEST_F(SkinCache, AMissingSkinFileMeansTheBuiltInPictures)
{
    QImage builtIn;
    LoadSkinResourceNoCache(QStringLiteral("RBUTUP"), QString(), 0, false, builtIn);
    EXPECT_EQ(LoadSkinResource(QStringLiteral("RBUTUP"), QStringLiteral("NoSuchSkin"), 0, false), builtIn);
}

TEST(ThemeLines, SplitAtTheFirstEqualsSignAndTrimBlanks)
{
    struct Case
    {
        const char* line;
        bool split;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"sbut=chrome", true, "sbut", "chrome"},
        {"  sbut \t=  chrome  ", true, "sbut", "chrome"},
        {"cbut=$FF=1", true, "cbut", "$FF=1"},
        {"=value", true, "", "value"},
        {"key=", true, "key", ""},
        {"sbut chrome", false, "", ""},
    };
    for (const Case& c : cases) {
        QString key, value;
        EXPECT_EQ(getline(QString::fromLatin1(c.line), key, value), c.split) << c.line;
        if (!c.split) continue;
        EXPECT_EQ(key, QString::fromLatin1(c.key)) << c.line;
        EXPECT_EQ(value, QString::fromLatin1(c.value)) << c.line;
    }
}
