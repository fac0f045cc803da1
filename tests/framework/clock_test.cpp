#include "framework/clock.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct ClockCase {
    const char* name;
    uint32_t start;
    uint32_t speed;
    std::vector<uint32_t> updates;  // platform times
    std::vector<uint32_t> elapsed;  // expected Elapsed() after each update
};

class ClockSteps : public testing::TestWithParam<ClockCase> {};

TEST_P(ClockSteps, ElapsedGameTime) {
    const ClockCase& c = GetParam();
    ClassVClock clock;
    clock.Restart(c.start);
    clock.SetSpeed(c.speed);
    for (size_t i = 0; i < c.updates.size(); ++i) {
        clock.Update(c.updates[i]);
        EXPECT_EQ(clock.Elapsed(), c.elapsed[i]) << "update " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Clock, ClockSteps,
    testing::Values(
        ClockCase{"RealTime", 100, 1000, {116, 133, 150}, {16, 17, 17}},
        // 400 per mille of 1 ms steps: the thousandths carry until whole milliseconds appear.
        ClockCase{"SlowMotionCarries", 0, 400, {1, 2, 3, 4, 5}, {0, 0, 1, 0, 1}},
        ClockCase{"FastForward", 0, 2500, {20, 40}, {50, 50}},
        // The platform counter wraps; unsigned differences keep the elapsed time right.
        ClockCase{"CounterWraps", 0xFFFFFFF0u, 1000, {0xFFFFFFFAu, 0x6u}, {10, 12}},
        // A long gap at fast forward does not overflow the scaled time.
        ClockCase{"LongGapFastForward", 0, 2500, {2000000}, {5000000}}),
    [](const testing::TestParamInfo<ClockCase>& info) { return info.param.name; });

TEST(Clock, NewClockRunsAtRealTime) {
    ClassVClock clock;
    EXPECT_EQ(clock.Speed(), 1000u);
    EXPECT_FALSE(clock.Paused());
    EXPECT_EQ(clock.Elapsed(), 0u);
}

TEST(Clock, SpeedTakesEffectAtNextUpdate) {
    ClassVClock clock;
    clock.Restart(0);
    clock.Update(10);
    clock.SetSpeed(2500);
    EXPECT_EQ(clock.Elapsed(), 10u);
    clock.Update(20);
    EXPECT_EQ(clock.Elapsed(), 25u);
}

TEST(Clock, PausedPeriodIsNeverCounted) {
    ClassVClock clock;
    clock.Restart(0);
    clock.Update(20);
    clock.Pause();
    clock.Update(500);
    EXPECT_EQ(clock.Elapsed(), 0u);
    clock.Update(900);
    EXPECT_EQ(clock.Elapsed(), 0u);
    clock.Resume(1000);
    clock.Update(1016);
    EXPECT_EQ(clock.Elapsed(), 16u);
    EXPECT_EQ(clock.GameTime(), 36u);
}

TEST(Clock, ResumeOfRunningClockChangesNothing) {
    ClassVClock clock;
    clock.Restart(0);
    clock.Resume(100);  // not paused: the 100 ms still count
    clock.Update(100);
    EXPECT_EQ(clock.Elapsed(), 100u);
}

}  // namespace
