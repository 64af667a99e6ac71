#include <QSignalSpy>
#include <gtest/gtest.h>

#include "controls/autorepeat.h"
#include "faketimersource.h"

namespace {

struct RepeatCase
{
    int first;
    int step;
    int floor;
    std::vector<int> intervals; // the interval in force before each tick
};

class AutoRepeatSpeedsUp : public ::testing::TestWithParam<RepeatCase>
{
};

TEST_P(AutoRepeatSpeedsUp, ShortensAfterEachRepeatDownToItsFloor)
{
    FakeTimerSource timers;
    QObject owner;
    controls::AutoRepeat repeat(GetParam().first, GetParam().step, GetParam().floor, &owner);
    QSignalSpy repeats(&repeat, &controls::AutoRepeat::repeat);
    repeat.press();
    std::vector<int> seen;
    for (size_t k = 0; k < GetParam().intervals.size(); ++k) {
        seen.push_back(repeat.interval());
        ASSERT_TRUE(timers.tickers.back()->fire());
    }
    EXPECT_EQ(seen, GetParam().intervals);
    EXPECT_EQ(repeats.count(), static_cast<int>(GetParam().intervals.size()));
}

std::vector<int> steps(int from, int by, int to, int extraAtFloor)
{
    std::vector<int> v;
    for (int i = from; i > to; i -= by)
        v.push_back(i);
    for (int k = 0; k <= extraAtFloor; ++k)
        v.push_back(to);
    return v;
}

INSTANTIATE_TEST_SUITE_P(HeldButtons, AutoRepeatSpeedsUp,
                         ::testing::Values(RepeatCase{200, 10, 20, steps(200, 10, 20, 3)},
                                           RepeatCase{250, 10, 20, steps(250, 10, 20, 2)},
                                           RepeatCase{250, 10, 40, steps(250, 10, 40, 2)},
                                           RepeatCase{250, 5, 10, steps(250, 5, 10, 2)}));

TEST(AutoRepeat, ReleaseStopsAndRestoresTheFirstInterval)
{
    FakeTimerSource timers;
    QObject owner;
    controls::AutoRepeat repeat(200, 10, 20, &owner);
    QSignalSpy repeats(&repeat, &controls::AutoRepeat::repeat);
    EXPECT_FALSE(timers.tickers.back()->fire()) << "nothing repeats before a press";
    repeat.press();
    timers.tickers.back()->fire();
    timers.tickers.back()->fire();
    EXPECT_EQ(repeat.interval(), 180);
    repeat.release();
    EXPECT_FALSE(repeat.isRunning());
    EXPECT_EQ(repeat.interval(), 200);
    EXPECT_FALSE(timers.tickers.back()->fire());
    EXPECT_EQ(repeats.count(), 2);
}

TEST(AutoRepeat, RealTimerRepeatsWhileHeld)
{
    QObject owner;
    controls::AutoRepeat repeat(20, 10, 10, &owner);
    QSignalSpy repeats(&repeat, &controls::AutoRepeat::repeat);
    repeat.press();
    ASSERT_TRUE(repeats.wait(2000));
    repeat.release();
    EXPECT_EQ(repeat.interval(), 20);
}

} // namespace
