// Skin pictures and themes read from skin files in the current folder.

#include <QDir>
#include <gtest/gtest.h>

#include "library/skintypes.h"
#include "pewriter.h"
#include "platform/jpegcodec.h"
#include "printers.h"
#include "skins/resourceskins.h"
#include "tempfolder.h"

using namespace skins;
using library::ttheme;
using library::TThemeSubset;

namespace {

QImage flat(QColor colour, int w = 6, int h = 4)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

class SkinFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        freeskinresources();
        before_ = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(folder_.path()));
    }
    void TearDown() override
    {
        QDir::setCurrent(before_);
        freeskinresources();
    }
    void write(const char* name, const QByteArray& file) { folder_.write(QString::fromLatin1(name), file); }

    TempFolder folder_;
    QString before_;
};

QImage builtIn(const char* name)
{
    QImage image;
    loadbitmapresource(nullptr, QString::fromLatin1(name), image);
    return image;
}

} // namespace

TEST_F(SkinFiles, TheFirstSkinAndTintOfANameHoldForLaterRequests)
{
    write("red.skn", makeSkinFile({{QStringLiteral("KEYPADUP"), flat(QColor(200, 100, 0))}}));
    const QImage first = LoadSkinResource(QStringLiteral("KEYPADUP"), QStringLiteral("RED"), 0x0000FF, false);
    // (in - c) * 0.6 + c towards red ($0000FF): 200 -> 222, 100 -> 60, 0 -> 0.
    EXPECT_EQ(first.pixelColor(2, 2), QColor(222, 60, 0));
    EXPECT_EQ(LoadSkinResource(QStringLiteral("KEYPADUP"), QString(), 0, false), first);
    // The theme manager replaces it with the built-in picture.
    const QImage replaced =
        ReplaceSkinResource(QStringLiteral("KEYPADUP"), QString(), library::clNone, false);
    EXPECT_EQ(replaced, builtIn("KEYPADUP"));
}

TEST_F(SkinFiles, ANameTheSkinLacksFallsBackToTheBuiltInPicture)
{
    write("Sparse.SKN", makeSkinFile({{QStringLiteral("LBUTUP"), flat(Qt::cyan)}}));
    EXPECT_EQ(LoadSkinResource(QStringLiteral("LBUTUP"), QStringLiteral("sparse"), 0, false).pixelColor(0, 0),
              QColor(Qt::cyan));
    EXPECT_EQ(LoadSkinResource(QStringLiteral("RBUTUP"), QStringLiteral("sparse"), 0, false),
              builtIn("RBUTUP"));
    // A name nobody has is still an error, and caches nothing.
    EXPECT_THROW(LoadSkinResource(QStringLiteral("NOSUCHPICTURE"), QStringLiteral("sparse"), 0, false),
                 ResourceNotFound);
    EXPECT_EQ(ResourceCache.size(), 2);
}

TEST_F(SkinFiles, BackgroundsComeAsJpegDataAndBrokenOnesFallBack)
{
    QImage blue(64, 48, QImage::Format_RGB32);
    blue.fill(QColor(20, 40, 220));
    write("night.skn", makeSkinFile({}, platform::encodeJpeg(blue, 95)));
    write("broken.skn", makeSkinFile({}, QByteArray("\xFF\xD8\xFF\xE0 broken", 11)));

    QImage night;
    LoadSkinResourceNoCache(QStringLiteral("BACKGROUND"), QStringLiteral("NIGHT"), 0, true, night);
    ASSERT_EQ(night.size(), QSize(64, 48));
    EXPECT_NEAR(night.pixelColor(30, 20).blue(), 220, 6);

    QImage broken, own;
    LoadSkinResourceNoCache(QStringLiteral("BACKGROUND"), QStringLiteral("broken"), 0, true, broken);
    loadjpegresource(nullptr, QStringLiteral("BACKGROUND"), own);
    EXPECT_EQ(broken, own);
}

TEST_F(SkinFiles, AFileThatIsNoLibraryIsLikeNoSkinFile)
{
    write("junk.skn", "this is not a library");
    EXPECT_EQ(LoadSkinResource(QStringLiteral("KEYPADDOWN"), QStringLiteral("junk"), 0, false),
              builtIn("KEYPADDOWN"));

    TThemeSubset themes(1);
    themes[0].name = QStringLiteral("kept");
    QString name = QStringLiteral("unchanged");
    loadtheme(QStringLiteral("junk.skn"), themes, name);
    loadtheme(QStringLiteral("missing.skn"), themes, name);
    loadtheme(folder_.file(QStringLiteral("junk.skn")), themes, name);
    EXPECT_EQ(themes.size(), 1);
    EXPECT_EQ(name, QStringLiteral("unchanged"));
}

TEST_F(SkinFiles, ThemeTextBuildsThemesFromItsKeys)
{
    write("cold.skn", makeSkinFile({}, {},
                                   "Cold and Warm Skins\r\n"
                                   "sbut=ignored before the first theme\r\n"
                                   "THEMENAME=Cold\r\n"
                                   "  sbut  =  chrome  \r\n"
                                   "cbut=16711680\r\n"
                                   "alphaorientation=1\r\n"
                                   "a line without an equals sign\r\n"
                                   "sbackround=night\r\n"
                                   "cbackground=$FF00000C\r\n"
                                   "sbackground=not a key\r\n"
                                   "SBUT=keys are case-sensitive\r\n"
                                   "ckeypad=red\r\n"
                                   "ckeypad=-5\r\n"
                                   "THEMENAME = Warm\n"
                                   "skeypad=brass\r"
                                   "skeypad=copper\n"
                                   "calphabuttons=$0000FF\n"
                                   "swidebut=wide\ncwidebut=7\n"));
    TThemeSubset themes(1); // the themes read are added behind those already listed
    QString name;
    loadtheme(QStringLiteral("COLD.SKN"), themes, name);
    EXPECT_EQ(name, QStringLiteral("Cold and Warm Skins"));
    ASSERT_EQ(themes.size(), 3);
    EXPECT_EQ(themes[0], ttheme{});

    ttheme cold;
    cold.name = QStringLiteral("Cold");
    cold.sbut = {QStringLiteral("chrome"), 0xFF0000};
    cold.alphaorientation = 1;
    cold.sbackground = {QStringLiteral("night"), int32_t(0xFF00000Cu)};
    cold.skeypad.Color = -5; // "red" is no number: that line is skipped
    EXPECT_EQ(themes[1], cold);

    ttheme warm;
    warm.name = QStringLiteral("Warm");
    warm.skeypad.Skin = QStringLiteral("copper");
    warm.salphabuttons.Color = 0x0000FF;
    warm.swidebut = {QStringLiteral("wide"), 7};
    EXPECT_EQ(themes[2], warm);
}

TEST_F(SkinFiles, ASkinFileWithoutThemeTextRaises)
{
    write("plain.skn", makeSkinFile({{QStringLiteral("LBUTUP"), flat(Qt::cyan)}}));
    write("empty.skn", makeSkinFile({}, {}, QByteArray("\0\0\0\0", 4)));
    TThemeSubset themes;
    QString name = QStringLiteral("unchanged");
    EXPECT_THROW(loadtheme(QStringLiteral("plain.skn"), themes, name), ResourceNotFound);
    EXPECT_THROW(loadtheme(QStringLiteral("empty.skn"), themes, name), ResourceNotFound);
    EXPECT_TRUE(themes.isEmpty());
    EXPECT_EQ(name, QStringLiteral("unchanged"));
}

TEST(ThemeText, NumbersAreDecimalOrDollarHexInThe32BitRange)
{
    struct Case
    {
        const char* value;
        int32_t expected; // 12345 when the line must be skipped
    };
    const Case cases[] = {
        {"0", 0},
        {"-2147483648", INT32_MIN},
        {"2147483647", INT32_MAX},
        {"2147483648", 12345},
        {"$FFFFFFFF", -1},
        {"$1FFFFFFF", 0x1FFFFFFF},
        {"$", 12345},
        {"$123456789", 12345},
        {"12abc", 12345},
        {"", 12345},
        {"+7", 7},
        {"$g", 12345},
        {"1 2", 12345},
        {"-$10", -16},
    };
    for (const Case& c : cases) {
        TThemeSubset themes;
        QString name;
        readthemetext(QByteArray("x\nTHEMENAME=t\ncbut=12345\ncbut=") + c.value, themes, name);
        ASSERT_EQ(themes.size(), 1);
        EXPECT_EQ(themes[0].sbut.Color, c.expected) << c.value;
    }
}
