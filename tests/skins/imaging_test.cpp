#include <QPainter>
#include <QRandomGenerator>
#include <QWidget>
#include <gtest/gtest.h>

#include "library/global.h"
#include "printers.h"
#include "skins/imaging.h"

using namespace skins;

namespace {

class Imaging : public ::testing::Test
{
protected:
    void SetUp() override { library::resetGlobals(); }
    void TearDown() override { library::resetGlobals(); }
};

// A grey picture from rows of levels.
QImage greys(const std::vector<std::vector<int>>& rows)
{
    QImage image(int(rows[0].size()), int(rows.size()), QImage::Format_RGB888);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(rows[y][x], rows[y][x], rows[y][x]));
    return image;
}

std::vector<std::vector<int>> levels(const QImage& image)
{
    std::vector<std::vector<int>> rows(image.height(), std::vector<int>(image.width()));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            rows[y][x] = qRed(image.pixel(x, y));
    return rows;
}

QImage whiteMask(int w, int h)
{
    QImage mask(w, h, QImage::Format_RGB32);
    mask.fill(Qt::white);
    return mask;
}

} // namespace

TEST_F(Imaging, LoadbitmapReportsAMissingPictureAndKeepsTheTarget)
{
    QImage target(5, 5, QImage::Format_RGB32);
    target.fill(Qt::green);
    EXPECT_EQ(loadbitmap(target, QStringLiteral("NOSUCHPICTURE")), -1);
    EXPECT_EQ(target.size(), QSize(5, 5));
    EXPECT_EQ(loadbitmap(target, QStringLiteral("NOIMAGE")), 0);
    EXPECT_EQ(target.size(), QSize(170, 170));
}

TEST_F(Imaging, AlphaBlendGoesFromAllColourToNoChange)
{
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(QColor(10, 200, 30));
    QImage allColour = picture;
    alphablendbitmapwithcolor(allColour, 0x0000FF, allColour, 0.0);
    EXPECT_EQ(allColour.pixelColor(3, 2), QColor(255, 0, 0));
    QImage unchanged = picture;
    alphablendbitmapwithcolor(unchanged, 0x0000FF, unchanged, 1.0);
    EXPECT_EQ(unchanged.pixelColor(3, 2), QColor(10, 200, 30));
    EXPECT_EQ(unchanged.depth(), 24);

    // The picture takes the size of the blend picture.
    QImage other = picture;
    alphablendbitmapwithcolor(QImage(6, 2, QImage::Format_RGB32), 0x000000, other, 0.5);
    EXPECT_EQ(other.size(), QSize(6, 2));
    EXPECT_EQ(other.pixelColor(0, 0), QColor(5, 100, 15));

    library::SLOWPROCESSOR = true;
    QImage slow = picture;
    alphablendbitmapwithcolor(slow, 0x0000FF, slow, 0.0);
    EXPECT_EQ(slow, picture);
}

TEST_F(Imaging, MaskRegionCutsExactlyThePureWhitePixels)
{
    QImage plain(40, 30, QImage::Format_RGB32);
    plain.fill(Qt::black);
    EXPECT_EQ(maskRegion(plain), QRegion(0, 0, 40, 30));

    // A white column from top to bottom cuts a one-pixel slit.
    QImage slit = plain;
    for (int y = 0; y < 30; ++y)
        slit.setPixel(17, y, qRgb(255, 255, 255));
    EXPECT_EQ(maskRegion(slit), QRegion(0, 0, 40, 30) - QRegion(17, 0, 1, 30));

    // Near-white stays; a scattered pattern matches pixel for pixel.
    QImage scattered = plain;
    QRandomGenerator random(7);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            if (random.bounded(3) == 0)
                scattered.setPixel(x, y, qRgb(255, 255, random.bounded(2) ? 255 : 254));
    const QRegion region = maskRegion(scattered);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(region.contains(QPoint(x, y)), (scattered.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                << x << "," << y;

    EXPECT_TRUE(maskRegion(whiteMask(10, 10)).isEmpty());
    // The letter bar cuts pure red instead.
    QImage red = plain;
    red.fill(Qt::red);
    red.setPixel(2, 3, qRgb(0, 0, 0));
    EXPECT_EQ(maskRegion(red, qRgb(255, 0, 0)), QRegion(2, 3, 1, 1));
}

TEST_F(Imaging, CutOutWindowShapesTheWindow)
{
    QWidget window;
    window.resize(40, 30);
    QImage mask(40, 30, QImage::Format_RGB32);
    mask.fill(Qt::black);
    for (int y = 0; y < 30; ++y)
        mask.setPixel(5, y, qRgb(255, 255, 255));
    CutOutWindowFromMask(&window, mask);
    EXPECT_EQ(window.mask(), QRegion(0, 0, 40, 30) - QRegion(5, 0, 1, 30));

    // A mask without width leaves the shape alone.
    CutOutWindowFromMask(&window, QImage());
    EXPECT_EQ(window.mask(), QRegion(0, 0, 40, 30) - QRegion(5, 0, 1, 30));

    // All white leaves nothing of the window to see (an empty Qt mask would show all of it).
    CutOutWindowFromMask(&window, whiteMask(40, 30));
    EXPECT_FALSE(window.mask().isEmpty());
    EXPECT_FALSE(window.mask().intersects(window.rect()));
}

TEST_F(Imaging, MoveToMonitorCentresOnlyOnAMonitorThatExists)
{
    const QVector<QRect> monitors = {QRect(0, 0, 1920, 1080), QRect(1920, 100, 1280, 1024)};
    struct Case
    {
        int32_t monitor;
        QPoint expected;
    };
    const Case cases[] = {
        {0, QPoint(30, 40)}, {1, QPoint(1920 + 640 - 201, 40)}, {2, QPoint(30, 40)}, {-1, QPoint(30, 40)}};
    for (const Case& c : cases) {
        QWidget form;
        form.setGeometry(30, 40, 403, 200);
        library::config.monitor = c.monitor;
        moveformtomonitor(&form, monitors);
        EXPECT_EQ(form.pos(), c.expected) << "monitor " << c.monitor;
    }
}

TEST_F(Imaging, AntialiasingSoftensEdgesInScanOrderWithWrapAround)
{
    QImage row = greys({{0, 90, 0}});
    Antialiasing(row, 25, 800);
    EXPECT_EQ(levels(row), (std::vector<std::vector<int>>{{30, 70, 30}}));

    QImage dot = greys({{0, 0, 0}, {0, 90, 0}, {0, 0, 0}});
    Antialiasing(dot, 25, 800);
    EXPECT_EQ(levels(dot), (std::vector<std::vector<int>>{{0, 20, 8}, {20, 38, 17}, {8, 17, 11}}));
}

TEST_F(Imaging, AntialiasingLeavesSomePicturesAlone)
{
    const QImage dot = greys({{0, 0, 0}, {0, 90, 0}, {0, 0, 0}});
    QImage flat = greys({{40, 40}, {40, 40}});
    Antialiasing(flat, 25, 800);
    EXPECT_EQ(levels(flat), levels(greys({{40, 40}, {40, 40}})));

    QImage wideScreen = dot;
    Antialiasing(wideScreen, 25, 1024);
    EXPECT_EQ(levels(wideScreen), levels(dot));

    QImage badWeight = dot;
    Antialiasing(badWeight, -50, 800);
    EXPECT_EQ(levels(badWeight), levels(dot));

    library::SLOWPROCESSOR = true;
    QImage slow = dot;
    Antialiasing(slow, 25, 800);
    EXPECT_EQ(levels(slow), levels(dot));
}

TEST_F(Imaging, GeneratedCoversAreRandomButReproducibleFromASeed)
{
    QImage first, second, third;
    QRandomGenerator a(1234), b(1234), c(99);
    generatecover(first, QStringLiteral("Blue Train"), a);
    generatecover(second, QStringLiteral("Blue Train"), b);
    generatecover(third, QStringLiteral("Blue Train"), c);
    EXPECT_EQ(first.size(), QSize(300, 300));
    EXPECT_EQ(first.depth(), 24);
    EXPECT_EQ(first, second);
    EXPECT_NE(first, third);

    // Two covers in a row differ even within one millisecond; an empty title still paints.
    QImage one, two;
    generatecover(one, QString());
    generatecover(two, QString());
    EXPECT_NE(one, two);
    EXPECT_EQ(one.size(), QSize(300, 300));
}
