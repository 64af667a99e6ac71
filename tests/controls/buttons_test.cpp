#include <QFontMetrics>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <QPointer>
#include <limits>

#include "controls/bitmapactionbutton.h"
#include "controls/bitmapcheckbox.h"
#include "controls/numericinput.h"
#include "controls/drawing.h"
#include "controlstestwindow.h"
#include "faketimersource.h"

using controls::TBitmapActionButton;
using controls::TBitmapCheckbox;
using controls::TNumericInput;

namespace {

TEST(BitmapActionButton, KeepsItsSizeForAnEmptyCaptionAndGrowsForAWideOne)
{
    ControlsTestWindow window;
    auto* button = new TBitmapActionButton(&window);
    button->show();
    button->settext(QString());
    EXPECT_EQ(button->size(), QSize(50, 32));

    const QString caption = QStringLiteral("Manually enter information");
    button->settext(caption);
    const int width = QFontMetrics(button->font(), button).horizontalAdvance(caption);
    EXPECT_EQ(button->width(), width + 51);
    EXPECT_EQ(button->height(), 32) << "a short line of text keeps the least height";

    QFont big = button->font();
    big.setPixelSize(60);
    button->setFont(big);
    button->settext(QStringLiteral("Go"));
    EXPECT_EQ(button->height(), QFontMetrics(big, button).height());
}

TEST(BitmapActionButton, ColoursUpToFiveAreUntintedAndAboveFiveTintTheBluePair)
{
    ControlsTestWindow window;
    auto* button = new TBitmapActionButton(&window);
    button->show();
    button->setbuttoncolor(0);
    const QImage blue = button->face();
    button->setbuttoncolor(5);
    EXPECT_EQ(button->face(), blue);
    button->setbuttoncolor(-3);
    EXPECT_EQ(button->face(), blue);
    button->setbuttoncolor(1);
    EXPECT_NE(button->face(), blue) << "1 is the green pair";

    // Inside the ring, every pixel of the tinted face keeps 0.4 of the blue one.
    const int32_t green = 0x00FF00;
    button->setbuttoncolor(green);
    const QImage tinted = button->face();
    auto mix = [](int in, int c) { return static_cast<int>(std::nearbyint((in - c) * 0.4 + c)); };
    const QPoint centre = controls::pictureRect(controls::programPicture(QStringLiteral("BLUEUP"))).center();
    for (int dy = -6; dy <= 6; ++dy)
        for (int dx = -6; dx <= 6; ++dx) {
            const QRgb was = blue.pixel(centre + QPoint(dx, dy));
            const QRgb now = tinted.pixel(centre + QPoint(dx, dy));
            ASSERT_EQ(qRed(now), mix(qRed(was), 0)) << dx << "," << dy;
            ASSERT_EQ(qGreen(now), mix(qGreen(was), 255)) << dx << "," << dy;
            ASSERT_EQ(qBlue(now), mix(qBlue(was), 0)) << dx << "," << dy;
        }
    EXPECT_EQ(qAlpha(tinted.pixel(centre)), 255);
    EXPECT_EQ(qAlpha(tinted.pixel(2, 2)), 0) << "the white surround stays see-through when tinted";
    EXPECT_EQ(qAlpha(blue.pixel(2, 2)), 0);
}

TEST(BitmapActionButton, PressShowsTheDownPictureAndAReleaseOverItClicks)
{
    ControlsTestWindow window;
    auto* button = new TBitmapActionButton(&window);
    button->show();
    QSignalSpy clicks(button, &TBitmapActionButton::OnClick);
    QSignalSpy ups(button, &TBitmapActionButton::OnMouseUp);
    bool downDuringClick = false;
    QObject::connect(button, &TBitmapActionButton::OnClick, button,
                     [&] { downDuringClick = button->down(); });

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(button->down());
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(12, 11));
    EXPECT_FALSE(button->down());
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(downDuringClick) << "the click is reported before the release";
    ASSERT_EQ(ups.count(), 1);
    EXPECT_EQ(ups.at(0).at(3).toInt(), 12);

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(400, 10));
    EXPECT_EQ(clicks.count(), 1) << "a release away from the button is no click";
}

TEST(BitmapCheckbox, AClickTogglesBetweenCrossAndTick)
{
    ControlsTestWindow window;
    auto* box = new TBitmapCheckbox(&window);
    box->show();
    box->settext(QStringLiteral("Random"));
    QSignalSpy clicks(box, &TBitmapCheckbox::OnClick);
    const QImage crossFace = box->face();

    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(box->checked());
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_NE(box->face(), crossFace);

    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(box->checked());
    EXPECT_EQ(box->face(), crossFace);

    QTest::mouseClick(box, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_FALSE(box->checked()) << "only the left button clicks";
}

class NumericInputTest : public ::testing::Test
{
protected:
    NumericInputTest() : input(new TNumericInput(&window)), repeat(timers.tickers.back()) { input->show(); }

    void pressMinus() { QTest::mousePress(input, Qt::LeftButton, {}, QPoint(5, input->height() / 2)); }
    void pressPlus() { QTest::mousePress(input, Qt::LeftButton, {}, QPoint(input->width() - 5, 5)); }
    void release() { QTest::mouseRelease(input, Qt::LeftButton, {}, QPoint(input->width() / 2, 5)); }

    FakeTimerSource timers;
    ControlsTestWindow window;
    TNumericInput* input;
    QPointer<FakeTicker> repeat;
};

TEST_F(NumericInputTest, HeightIsAQuarterOfTheWidthRoundedHalfToEven)
{
    EXPECT_EQ(input->size(), QSize(200, 50));
    input->resize(90, 10);
    EXPECT_EQ(input->height(), 22) << "22.5 rounds to 22";
    input->resize(102, 10);
    EXPECT_EQ(input->height(), 26) << "25.5 rounds to 26";
}

TEST_F(NumericInputTest, ButtonsKeepTheValueInRangeWhileSettersStoreAnything)
{
    input->setvalue(100);
    pressPlus();
    release();
    EXPECT_EQ(input->value(), 100) << "plus at max does nothing";

    input->setvalue(120);
    EXPECT_EQ(input->value(), 120) << "a caller may set a value outside the range";
    input->setmax(10);
    EXPECT_EQ(input->value(), 10);
    input->setmin(20);
    EXPECT_EQ(input->value(), 20);

    input->setmin(0);
    input->setmax(100);
    input->setvalue(50);
    QTest::mousePress(input, Qt::LeftButton, {}, QPoint(100, 5));
    repeat->fire();
    release();
    EXPECT_EQ(input->value(), 50) << "a press in the middle changes nothing";

    // At the ends of the integer range the buttons do not wrap round.
    const int32_t top = std::numeric_limits<int32_t>::max();
    input->setmax(top);
    input->setvalue(top);
    pressPlus();
    repeat->fire();
    release();
    EXPECT_EQ(input->value(), top);
    const int32_t bottom = std::numeric_limits<int32_t>::min();
    input->setmin(bottom);
    input->setvalue(bottom);
    pressMinus();
    repeat->fire();
    release();
    EXPECT_EQ(input->value(), bottom);
}

TEST_F(NumericInputTest, HoldingMinusRepeatsFasterAndStopsAtMin)
{
    input->setvalue(50);
    pressMinus();
    EXPECT_EQ(input->value(), 49);
    std::vector<int> intervals;
    while (input->value() > 0) {
        intervals.push_back(repeat->interval());
        ASSERT_TRUE(repeat->fire());
    }
    EXPECT_EQ(intervals.front(), 200);
    EXPECT_EQ(intervals.at(1), 190);
    EXPECT_EQ(intervals.at(18), 20);
    EXPECT_EQ(intervals.back(), 20);
    for (int k = 0; k < 5; ++k)
        repeat->fire();
    EXPECT_EQ(input->value(), 0);

    release();
    EXPECT_FALSE(repeat->isEnabled());
    EXPECT_EQ(repeat->interval(), 200);
}

TEST_F(NumericInputTest, ShowsTheHeldButtonsPicture)
{
    const QImage up = controls::programPicture(QStringLiteral("PLUSUP"));
    const QImage down = controls::programPicture(QStringLiteral("PLUSDOWN"));
    ASSERT_FALSE(up.isNull());
    ASSERT_FALSE(down.isNull());
    const QImage before = input->face().copy(150, 0, 50, 50);
    pressPlus();
    const QImage held = input->face().copy(150, 0, 50, 50);
    release();
    EXPECT_NE(before, held);
    EXPECT_EQ(input->face().copy(150, 0, 50, 50), before);
}

} // namespace
