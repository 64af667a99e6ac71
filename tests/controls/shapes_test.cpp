#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "controls/drawing.h"
#include "controls/talphabetbar.h"
#include "controls/tspinningglobe.h"
#include "controlstestwindow.h"
#include "faketimersource.h"
#include "library/global.h"

using controls::TAlphaBar;
using controls::TSpinGlobe;

namespace {

TEST(SpinGlobe, ShowsTheNineFramesInTurnWhileStarted)
{
    FakeTimerSource timers;
    ControlsTestWindow window;
    auto* globe = new TSpinGlobe(&window);
    QPointer<FakeTicker> tick = timers.tickers.back();
    EXPECT_EQ(globe->size(), QSize(152, 152));
    EXPECT_EQ(globe->currentFrame(), 1);
    EXPECT_EQ(tick->interval(), 100);
    EXPECT_FALSE(tick->fire()) << "still until started";

    globe->start();
    EXPECT_TRUE(globe->isVisible());
    std::vector<int> frames;
    for (int k = 0; k < 10; ++k) {
        ASSERT_TRUE(tick->fire());
        frames.push_back(globe->currentFrame());
    }
    EXPECT_EQ(frames, (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9, 1, 2}));
    const QImage frame = controls::programPicture(QStringLiteral("G2"));
    ASSERT_FALSE(frame.isNull());
    EXPECT_EQ(globe->face().convertToFormat(QImage::Format_RGB32).copy(frame.rect()), frame);

    globe->stop();
    EXPECT_FALSE(globe->isVisible());
    EXPECT_FALSE(tick->fire());
    EXPECT_FALSE(globe->mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(globe->mask().contains(QPoint(76, 76)));

    delete globe;
    EXPECT_TRUE(tick.isNull()) << "no tick can reach a destroyed globe";
}

TEST(SpinGlobe, TurnsOnTheRealTimer)
{
    ControlsTestWindow window;
    auto* globe = new TSpinGlobe(&window);
    globe->start();
    // The bound only keeps a timer that never ticks from hanging the test.
    ASSERT_TRUE(QTest::qWaitFor([&] { return globe->currentFrame() >= 3; }, 20000));
}

class AlphaBarTest : public ::testing::Test
{
protected:
    AlphaBarTest() : bar(new TAlphaBar(&window))
    {
        bar->setGeometry(0, 0, 26, 520);
        bar->show();
    }

    std::vector<int> tap(QPoint at)
    {
        QSignalSpy keys(bar, &TAlphaBar::OnVirtualKey);
        QTest::mousePress(bar, Qt::LeftButton, {}, at);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, at);
        std::vector<int> codes;
        for (const auto& k : keys)
            codes.push_back(k.at(1).toInt());
        return codes;
    }

    ControlsTestWindow window;
    TAlphaBar* bar;
};

TEST_F(AlphaBarTest, ReleasingAPressedCellGivesItsLettersKey)
{
    EXPECT_EQ(bar->btnmatrix()[0].tr, QRect(0, 0, 26, 20));
    EXPECT_EQ(bar->btnmatrix()[25].tr, QRect(0, 500, 26, 20));
    EXPECT_EQ(tap(QPoint(10, 30)), std::vector<int>{'B'});
    EXPECT_EQ(tap(QPoint(10, 510)), std::vector<int>{'Z'});
    EXPECT_EQ(tap(QPoint(10, 40)), std::vector<int>{}) << "a cell border presses no letter";
    EXPECT_FALSE(bar->btnmatrix()[1].down);

    bar->setGeometry(0, 0, 520, 26);
    EXPECT_EQ(tap(QPoint(45, 10)), std::vector<int>{'C'}) << "a bar wider than tall lies down";
}

TEST_F(AlphaBarTest, APressedCellShowsTheDownPicture)
{
    const QImage before = bar->face();
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(10, 30));
    EXPECT_TRUE(bar->btnmatrix()[1].down);
    EXPECT_NE(bar->face().copy(0, 20, 26, 20), before.copy(0, 20, 26, 20));
    EXPECT_EQ(bar->face().copy(0, 40, 26, 480), before.copy(0, 40, 26, 480));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(10, 30));
    EXPECT_EQ(bar->face(), before);
}

TEST_F(AlphaBarTest, EveryPureRedPixelIsCutOutOfTheShape)
{
    const QImage face = bar->face();
    int red = 0;
    for (int y = 0; y < face.height(); ++y)
        for (int x = 0; x < face.width(); ++x) {
            const bool isRed = sameRgb(face.pixel(x, y), qRgb(255, 0, 0));
            red += isRed;
            ASSERT_EQ(bar->mask().contains(QPoint(x, y)), !isRed) << x << "," << y;
        }
    EXPECT_GT(red, 0) << "the button pictures leave parts transparent";
    EXPECT_LT(red, face.width() * face.height() / 2);
}

} // namespace
