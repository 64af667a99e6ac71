#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "controls/transhint.h"
#include "controls/transparentpanel.h"
#include "controlstestwindow.h"

using controls::TTransparentHint;
using controls::TTransparentPanel;

namespace {

TEST(TransparentHint, FramesTheTextInBulletsAndEmptiesTheLabelWhenHidden)
{
    TTransparentHint hint;
    hint.dohint(QStringLiteral("no label yet"));
    auto label = std::make_unique<QLabel>();
    hint.setlab(label.get());
    hint.dohint(QString());
    EXPECT_EQ(label->text(), QStringLiteral("\u2022  \u2022"));
    hint.dohint(QStringLiteral("Track 3"));
    EXPECT_EQ(label->text(), QStringLiteral("\u2022 Track 3 \u2022"));
    hint.setvisible(true);
    EXPECT_EQ(label->text(), QStringLiteral("\u2022 Track 3 \u2022"));
    hint.setvisible(false);
    EXPECT_EQ(label->text(), QString());
    label.reset();
    hint.dohint(QStringLiteral("label gone"));
    EXPECT_EQ(hint.lab(), nullptr);
}

class TransparentPanelTest : public ::testing::Test
{
protected:
    TransparentPanelTest() : middle(new QWidget(&window)), panel(new TTransparentPanel(middle))
    {
        // A backdrop of stripes: the colour of each pixel tells where it comes from.
        backdrop = QImage(400, 300, QImage::Format_RGB32);
        for (int y = 0; y < backdrop.height(); ++y)
            for (int x = 0; x < backdrop.width(); ++x)
                backdrop.setPixel(x, y, qRgb(x % 256, y % 256, 7));
        middle->setGeometry(30, 40, 300, 200);
        panel->setGeometry(10, 20, 50, 60);
        middle->show();
        panel->show();
    }

    ControlsTestWindow window;
    QImage backdrop;
    QWidget* middle;
    TTransparentPanel* panel;
};

TEST_F(TransparentPanelTest, ShowsTheBackdropUnderItWhereverItAndItsParentStand)
{
    panel->setsourcebitmap(&backdrop);
    EXPECT_EQ(panel->face().pixel(0, 0), qRgb(40, 60, 7));
    EXPECT_EQ(panel->face().pixel(49, 59), qRgb(89, 119, 7));
    panel->move(0, 0);
    EXPECT_EQ(panel->face().pixel(0, 0), qRgb(30, 40, 7));
    middle->move(100, 100);
    EXPECT_EQ(panel->face().pixel(0, 0), qRgb(100, 100, 7));
}

// Without a backdrop it paints nothing, not even its border.
TEST_F(TransparentPanelTest, WithABorderItShowsOnlyAFrame)
{
    EXPECT_EQ(qAlpha(panel->face().pixel(5, 5)), 0);
    panel->setborder(true);
    EXPECT_EQ(qAlpha(panel->face().pixel(0, 0)), 0);
    panel->setsourcebitmap(&backdrop);
    EXPECT_EQ(panel->face().pixel(0, 0), qRgb(128, 128, 128));
    EXPECT_EQ(panel->face().pixel(49, 59), qRgb(128, 128, 128));
    EXPECT_EQ(qAlpha(panel->face().pixel(5, 5)), 0);
}

TEST_F(TransparentPanelTest, ReportsClicksAndMoves)
{
    QSignalSpy clicks(panel, &TTransparentPanel::OnClick);
    QSignalSpy moves(panel, &TTransparentPanel::OnMouseMove);
    QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(3, 4));
    QTest::mouseMove(panel, QPoint(6, 7));
    EXPECT_EQ(clicks.count(), 1);
    ASSERT_GE(moves.count(), 1);
    EXPECT_EQ(moves.last().at(2).toInt(), 6);
}

} // namespace
