// Interval timers on the shared hidden window.
#include "platform/simple_timer_win.h"

#include <gtest/gtest.h>

#include "win_test_util.h"

using namespace WinTest;

TEST(SimpleTimer, StartsStopsAndSurvivesAZeroPeriod) {
    int fired = 0;
    SimpleTimer timer(20, [&](SimpleTimer&) { ++fired; });
    const int before = SimpleTimer::RunningCount();
    EXPECT_FALSE(timer.Active());
    timer.SetActive(true);
    EXPECT_TRUE(timer.Active());
    EXPECT_EQ(SimpleTimer::RunningCount(), before + 1);
    ASSERT_TRUE(PumpUntil([&] { return fired >= 2; }, 3000));

    // A zero period pauses it but keeps it active; the next period resumes it.
    timer.SetPeriodMs(0);
    EXPECT_TRUE(timer.Active());
    EXPECT_EQ(SimpleTimer::RunningCount(), before);
    fired = 0;
    PumpFor(100);
    EXPECT_EQ(fired, 0);
    timer.SetPeriodMs(20);
    EXPECT_EQ(SimpleTimer::RunningCount(), before + 1);
    ASSERT_TRUE(PumpUntil([&] { return fired >= 1; }, 3000));

    timer.SetActive(false);
    EXPECT_FALSE(timer.Active());
    EXPECT_EQ(SimpleTimer::RunningCount(), before);
    fired = 0;
    PumpFor(100);
    EXPECT_EQ(fired, 0);

    // Starting with no period reports failure and leaves it inactive.
    SimpleTimer idle(0, [&](SimpleTimer&) { ++fired; });
    EXPECT_FALSE(idle.StartTimer());
    EXPECT_FALSE(idle.Active());
}

TEST(SimpleTimer, StopOnFireFiresOnceAndAnEmptyHandlerStopsIt) {
    int fired = 0;
    SimpleTimer once(10, [&](SimpleTimer& t) {
        ++fired;
        EXPECT_FALSE(t.Active());
    });
    once.SetStopOnFire(true);
    once.SetActive(true);
    ASSERT_TRUE(PumpUntil([&] { return fired == 1; }, 3000));
    PumpFor(100);
    EXPECT_EQ(fired, 1);

    const int before = SimpleTimer::RunningCount();
    SimpleTimer other(10, [&](SimpleTimer&) {});
    other.SetActive(true);
    other.SetOnFire(nullptr);
    EXPECT_TRUE(other.Active());  // stays active, as a zero period does
    EXPECT_EQ(SimpleTimer::RunningCount(), before);
}
