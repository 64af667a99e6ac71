#include <QSignalSpy>
#include <gtest/gtest.h>

#include "controls/textscroller.h"
#include "controlstestwindow.h"
#include "faketimersource.h"

using controls::TTextScroller;

namespace {

class TextScrollerTest : public ::testing::Test
{
protected:
    TextScrollerTest() : scroller(new TTextScroller(&window)), timer(timers.tickers.back())
    {
        scroller->setGeometry(0, 0, 300, 30);
        scroller->show();
        scroller->state(true);
    }

    // Ticks of the scroller's own timer until messagedone has fired `times` times (or a limit);
    // returns the tick numbers (from 1) at which it fired.
    std::vector<int> ticksOfMessagedone(int times)
    {
        QSignalSpy done(scroller, &TTextScroller::messagedone);
        std::vector<int> at;
        for (int tick = 1; tick < 2000 && static_cast<int>(at.size()) < times; ++tick) {
            const int before = done.count();
            timer->fire();
            if (done.count() > before) at.push_back(tick);
        }
        return at;
    }

    FakeTimerSource timers;
    ControlsTestWindow window;
    TTextScroller* scroller;
    QPointer<FakeTicker> timer;
};

TEST_F(TextScrollerTest, EachStepMovesTheFirstCharacterToTheEnd)
{
    scroller->settext(QStringLiteral("HELLO"));
    const QString start = scroller->shownText();
    ASSERT_TRUE(start.startsWith(QStringLiteral(" HELLO  "))) << "text first, the spacer behind";
    timer->fire();
    EXPECT_EQ(scroller->shownText(), start.mid(1) + start.left(1));
    for (int k = 1; k < start.size(); ++k)
        timer->fire();
    EXPECT_EQ(scroller->shownText(), start) << "a full pass comes back to the start";

    const QImage face = scroller->face();
    timer->fire();
    EXPECT_NE(scroller->face(), face) << "every step repaints";
}

TEST_F(TextScrollerTest, MessagedoneSkipsTheFirstPassOnlyWithoutPrepend)
{
    const QString text = QStringLiteral("AB");
    scroller->settext(text);
    const int length = scroller->shownText().size();
    EXPECT_EQ(ticksOfMessagedone(2), (std::vector<int>{length + 1 + 3, 2 * length + 1 + 3}))
        << "the pass in which the text started at the left edge is not reported";

    scroller->setprepend(true);
    scroller->settext(text);
    ASSERT_TRUE(scroller->shownText().endsWith(QStringLiteral(" AB"))) << "the text enters from the right";
    EXPECT_EQ(ticksOfMessagedone(2), (std::vector<int>{length + 1, 2 * length + 1}));
}

TEST_F(TextScrollerTest, ANarrowScrollerStillScrollsButNeverReportsAPass)
{
    scroller->resize(1, 30);
    scroller->settext(QStringLiteral("NARROW"));
    EXPECT_EQ(scroller->shownText(), QStringLiteral(" NARROW")) << "the spacer is empty";
    EXPECT_TRUE(ticksOfMessagedone(1).empty());
    EXPECT_NE(scroller->shownText(), QStringLiteral(" NARROW"));

    scroller->settext(QString());
    timer->fire();
    scroller->resize(0, 30);
    scroller->settext(QString());
    timer->fire();
    EXPECT_EQ(scroller->shownText(), QStringLiteral(" "));
}

TEST_F(TextScrollerTest, ForeignStepsWaitForTheIntervalAcrossTheClockWrap)
{
    scroller->setspeed(200);
    scroller->settext(QStringLiteral("XY"));
    timers.now = 0xFFFFFFF0u;
    timer->fire(); // the scroller's own timer always steps and notes the time
    const QString shown = scroller->shownText();
    QObject other;
    timers.now += 199;
    scroller->timercall(&other);
    EXPECT_EQ(scroller->shownText(), shown);
    timers.now += 1; // 200 ms later, past the wrap of the tick count
    ASSERT_LT(timers.now, 0xFFFFFFF0u);
    scroller->timercall(&other);
    EXPECT_NE(scroller->shownText(), shown);
}

TEST_F(TextScrollerTest, StartingOrStoppingShowsTheTextFromItsBeginning)
{
    scroller->settext(QStringLiteral("RESET"));
    const QString start = scroller->shownText();
    timer->fire();
    timer->fire();
    scroller->state(false);
    EXPECT_EQ(scroller->shownText(), start);
    EXPECT_FALSE(timer->isEnabled());
    scroller->settext(QStringLiteral("KEEPS STOPPED"));
    EXPECT_FALSE(timer->isEnabled()) << "a new text keeps the running state";
    scroller->state(true);
    scroller->settext(QStringLiteral("KEEPS RUNNING"));
    EXPECT_TRUE(timer->isEnabled());
    scroller->setspeed(-5);
    EXPECT_FALSE(timer->fire()) << "no speed, no steps";
}

TEST_F(TextScrollerTest, PaintsTheBackgroundColour)
{
    scroller->setcolor(0x0000FF);
    scroller->settext(QString());
    EXPECT_TRUE(sameRgb(scroller->face().pixel(scroller->width() - 1, 0), qRgb(255, 0, 0)));
}

} // namespace
