#include <gtest/gtest.h>

#include "controls/bitmapprogress.h"
#include "controlstestwindow.h"

using controls::ConvertBitmapToGrayscale;
using controls::TBitmapProgress;

namespace {

// A tenth of the channel sum scaled by the brightness, rounded half to even and held to black and
// white; the picture itself is changed.
TEST(GreyCopy, IsATenthOfTheChannelSumScaledByBrightness)
{
    const struct
    {
        QRgb in;
        double brightness;
        int grey;
    } pixels[] = {{qRgb(255, 255, 255), 1.0, 76},  // 76.5
                  {qRgb(255, 255, 255), 2.5, 191}, // 191.25
                  {qRgb(255, 0, 0), 2.5, 64},      // 63.75
                  {qRgb(10, 20, 5), 1.0, 4},       // 3.5
                  {qRgb(255, 255, 255), 4.0, 255}, {qRgb(200, 100, 0), -1.0, 0}};
    for (const auto& p : pixels) {
        QImage picture(3, 2, QImage::Format_RGB32);
        picture.fill(p.in);
        EXPECT_EQ(&ConvertBitmapToGrayscale(picture, p.brightness), &picture);
        EXPECT_EQ(picture.pixel(2, 1), qRgb(p.grey, p.grey, p.grey)) << p.grey;
    }
}

const QRgb kColour = qRgb(255, 0, 0);
const QRgb kGrey = qRgb(64, 64, 64); // pure red at brightness 2.5

class ProgressRingTest : public ::testing::Test
{
protected:
    ProgressRingTest() : ring(new TBitmapProgress(&window))
    {
        ring->resize(200, 200);
        ring->setradius(100);
        ring->setstartradius(36);
        ring->setbrightness(2.5);
        QImage red(50, 50, QImage::Format_RGB32);
        red.fill(kColour);
        ring->assignbackground(red);
        ring->show();
        ring->_setmax(200);
    }

    bool coloured(int x, int y) const { return sameRgb(ring->face().pixel(x, y), kColour); }
    bool grey(int x, int y) const { return sameRgb(ring->face().pixel(x, y), kGrey); }

    ControlsTestWindow window;
    TBitmapProgress* ring;
};

// Half the maximum colours the right half of the ring; going back starts the reveal again.
TEST_F(ProgressRingTest, HalfTheMaximumColoursTheRightHalfOfTheRing)
{
    ring->_setposition(100);
    EXPECT_TRUE(coloured(100, 40)) << "twelve o'clock";
    EXPECT_TRUE(coloured(160, 100)) << "three o'clock";
    EXPECT_TRUE(coloured(130, 160)) << "lower right";
    EXPECT_TRUE(coloured(190, 100)) << "at the outer radius";
    EXPECT_TRUE(grey(40, 100)) << "nine o'clock";
    EXPECT_TRUE(grey(60, 40)) << "upper left";
    EXPECT_TRUE(grey(100, 100)) << "inside the start radius";
    EXPECT_TRUE(grey(120, 100)) << "inside the start radius";

    ring->_setposition(50);
    EXPECT_TRUE(coloured(150, 60)) << "upper right";
    EXPECT_TRUE(grey(150, 140)) << "lower right is grey again";
    EXPECT_TRUE(grey(40, 100));
}

TEST_F(ProgressRingTest, PositionsAboveTheMaximumFillTheRing)
{
    ring->_setposition(500);
    EXPECT_EQ(ring->position(), 200);
    EXPECT_TRUE(coloured(40, 100));
    EXPECT_TRUE(coloured(60, 40));

    ring->_setmax(0);
    ring->_setposition(5);
    ring->_setmax(-3);
    ring->_setposition(1);
    EXPECT_TRUE(grey(60, 40)) << "no maximum reveals nothing";
}

// A radius below the start radius reveals nothing; one larger than the control stays inside it.
TEST_F(ProgressRingTest, TheRadiiBoundTheReveal)
{
    ring->setradius(30);
    ring->_setposition(200);
    EXPECT_TRUE(grey(160, 100));
    EXPECT_TRUE(grey(100, 80));
    EXPECT_TRUE(grey(133, 100)) << "between the radius and the start radius";
    ring->_setposition(0);
    ring->setradius(300);
    ring->setstartradius(0);
    ring->_setposition(200);
    EXPECT_TRUE(coloured(0, 0));
    EXPECT_TRUE(coloured(199, 199));
}

TEST_F(ProgressRingTest, IsShapedToItsEllipse)
{
    EXPECT_TRUE(ring->mask().contains(QPoint(100, 100)));
    EXPECT_TRUE(ring->mask().contains(QPoint(100, 2)));
    EXPECT_FALSE(ring->mask().contains(QPoint(2, 2)));
    ring->resize(300, 100);
    EXPECT_FALSE(ring->mask().contains(QPoint(5, 5)));
    EXPECT_TRUE(ring->mask().contains(QPoint(290, 50)));
}

TEST(ProgressRing, SizedWhileItsWindowIsHiddenItStillRevealsTheWholeRing)
{
    QWidget hidden;
    auto* ring = new TBitmapProgress(&hidden);
    ring->setGeometry(0, 0, 200, 200);
    ring->setradius(100);
    QImage red(10, 10, QImage::Format_RGB32);
    red.fill(kColour);
    ring->assignbackground(red);
    ring->_setmax(200);
    ring->_setposition(100);
    ASSERT_EQ(ring->face().size(), QSize(200, 200));
    EXPECT_TRUE(sameRgb(ring->face().pixel(150, 150), kColour));
    EXPECT_FALSE(sameRgb(ring->face().pixel(50, 150), kColour));
}

} // namespace
