#include "framework/frame_limiter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct LimiterCase {
    const char* name;
    uint32_t fpslimit;
    bool sleepAtLeast1ms;
    std::vector<uint32_t> elapsed;  // game time each frame's clock update reports
    std::vector<uint32_t> sleeps;   // expected sleep per frame, ms
};

class LimiterSleeps : public testing::TestWithParam<LimiterCase> {};

TEST_P(LimiterSleeps, SleepPerFrame) {
    const LimiterCase& c = GetParam();
    VFrameLimiter limiter;
    for (size_t i = 0; i < c.elapsed.size(); ++i) {
        EXPECT_EQ(limiter.Step(c.elapsed[i], c.fpslimit, c.sleepAtLeast1ms), c.sleeps[i])
            << "frame " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Limiter, LimiterSleeps,
    testing::Values(
        // Frames that take no time beyond the limiter's own sleep get the whole 20 ms.
        LimiterCase{"Fps50IdleFrames", 50, true, {0, 20, 20, 20}, {20, 20, 20, 20}},
        // A frame that took 30 ms of work is late: 1 ms, and the time is not made up later.
        // The next period starts from the late frame: 1 + 19 ms, not a shorter frame.
        LimiterCase{"Fps50LateFrameNoCatchUp", 50, true, {0, 20, 50, 1, 19}, {20, 20, 1, 19, 20}},
        LimiterCase{"Fps50LateFrameZeroSleep", 50, false, {0, 20, 50}, {20, 20, 0}},
        LimiterCase{"NoLimitSleepsAtLeast1", 0, true, {0, 7, 300}, {1, 1, 1}},
        LimiterCase{"NoLimitSleepsZero", 0, false, {0, 7, 300}, {0, 0, 0}},
        LimiterCase{"Fps60", 60, true, {0, 16, 17, 17}, {16, 17, 17, 16}},
        // Less than a millisecond left: the minimum sleep, or none.
        LimiterCase{"SubMillisecondMinimum", 1500, true, {0}, {1}},
        LimiterCase{"SubMillisecondNoMinimum", 1500, false, {0}, {0}},
        LimiterCase{"Fps1000Minimum", 1000, true, {0, 1, 1}, {1, 1, 1}},
        LimiterCase{"Fps1000NoMinimum", 1000, false, {0, 1, 1, 2}, {1, 1, 1, 0}}),
    [](const testing::TestParamInfo<LimiterCase>& info) { return info.param.name; });

TEST(Limiter, SixtyFramesPerSecondCarryTheRemainder) {
    VFrameLimiter limiter;
    uint64_t total = 0;
    std::vector<uint32_t> lengths;
    uint32_t elapsed = 0;
    for (int i = 0; i < 60; ++i) {
        elapsed = limiter.Step(elapsed, 60, true);
        lengths.push_back(limiter.LastFrameLength());
        total += limiter.LastFrameLength();
    }
    EXPECT_EQ(total, 1000000u);
    for (size_t i = 0; i < lengths.size(); ++i) {
        EXPECT_EQ(lengths[i], i % 3 == 0 ? 16666u : 16667u) << "frame " << i;
    }
}

TEST(Limiter, FiftyFramesPerSecondAreExact) {
    VFrameLimiter limiter;
    uint32_t elapsed = 0;
    for (int i = 0; i < 100; ++i) {
        elapsed = limiter.Step(elapsed, 50, true);
        EXPECT_EQ(limiter.LastFrameLength(), 20000u);
    }
}

TEST(Limiter, FoldingKeepsTheDifference) {
    VFrameLimiter limiter;
    uint32_t elapsed = 0;
    // 10 000 000 µs is 500 frames at 50 fps; run past it and check the fold.
    for (int i = 0; i < 510; ++i) {
        elapsed = limiter.Step(elapsed, 50, true);
        EXPECT_LT(limiter.ActualTime(), 10000000u + 20000u);
        EXPECT_EQ(limiter.TargetTime() - limiter.ActualTime(), 20000u) << "frame " << i;
    }
}

TEST(FrameRate, MeasuresOnlyAfterMoreThan500ms) {
    VFrameRateMeter meter;
    for (uint32_t t = 20; t <= 500; t += 20) meter.Count(t);
    EXPECT_EQ(meter.Fps100(), 0u);  // exactly 500 ms is not more than 500
    meter.Count(520);               // 25 frames over 520 ms
    EXPECT_EQ(meter.Fps100(), 25u * 100000u / 520u);
}

}  // namespace
