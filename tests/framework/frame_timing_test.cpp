// The main loop's timing on the virtual clock: frame lengths, speed keys, idle passes while
// suspended or inactive.
#include <gtest/gtest.h>

#include <cstdlib>
#include <numeric>
#include <vector>

#include "tests/framework/recorder.h"

namespace {

uint32_t Sum(const std::vector<uint32_t>& v, size_t from, size_t to) {
    return std::accumulate(v.begin() + from, v.begin() + to, 0u);
}

// An application that overrides nothing: no registration at all gives a plain ClassVane.
TEST(FrameTiming, ApplicationThatOverridesNothingRunsAt60) {
    VHeadlessOptions options;
    options.frameBudget = 61;
    VHeadlessPlatform platform(options);
    EXPECT_EQ(platform.Run(), 0u);
    EXPECT_EQ(platform.WindowSetup().width, 240u);
    EXPECT_EQ(platform.WindowSetup().height, 320u);
    EXPECT_STREQ(platform.WindowSetup().caption, "VANELIB Application");
    // Frame k starts after the sleeps of frames 0 .. k-1: frame 60 starts at exactly 1 s.
    const std::vector<uint32_t>& sleeps = platform.Sleeps();
    ASSERT_EQ(sleeps.size(), 61u);
    EXPECT_EQ(Sum(sleeps, 0, 60), 1000u);
    for (size_t i = 0; i < 60; ++i) EXPECT_EQ(sleeps[i], i % 3 == 0 ? 16u : 17u) << i;
    // It draws nothing: every present shows the cleared 240 × 320 back buffer.
    const VHeadlessPicture& picture = platform.Picture();
    EXPECT_EQ(picture.width, 240u);
    EXPECT_EQ(picture.height, 320u);
    EXPECT_EQ(picture.format, 4);
    EXPECT_EQ(picture.presents, 61u);
    for (uint8_t byte : picture.pixels) ASSERT_EQ(byte, 0);
}

struct RateCase {
    const char* name;
    uint32_t fpslimit;
    std::vector<uint32_t> lengths;  // the limiter's frame lengths, repeating, µs
};

class FrameRate : public testing::TestWithParam<RateCase> {};

TEST_P(FrameRate, FrameLengthsAddUpToExactlyOneSecond) {
    const RateCase& c = GetParam();
    VHeadlessOptions options;
    options.frameBudget = c.fpslimit + 1;
    Harness h(options);
    h.script.configure = [&](VAppSettings& a) { a.fpslimit = c.fpslimit; };
    h.Run();
    ASSERT_EQ(h.log.frameLengths.size(), c.fpslimit + 1);
    for (size_t i = 0; i < c.fpslimit; ++i) {
        EXPECT_EQ(h.log.frameLengths[i], c.lengths[i % c.lengths.size()]) << "frame " << i;
    }
    EXPECT_EQ(Sum(h.log.frameLengths, 0, c.fpslimit), 1000000u);
    // One simulated second between the first frame and the one after the last.
    EXPECT_EQ(h.log.frameTimes[c.fpslimit] - h.log.frameTimes[0], 1000u);
    EXPECT_EQ(Sum(h.log.elapsed, 1, c.fpslimit + 1), 1000u);
}

INSTANTIATE_TEST_SUITE_P(FrameTiming, FrameRate,
                         testing::Values(RateCase{"Fps60", 60, {16666, 16667, 16667}},
                                         RateCase{"Fps50", 50, {20000}},
                                         RateCase{"Fps30", 30, {33333, 33333, 33334}}),
                         [](const testing::TestParamInfo<RateCase>& info) {
                             return info.param.name;
                         });

TEST(FrameTiming, ClockWrapDoesNotDisturbTheFrames) {
    VHeadlessOptions options;
    options.frameBudget = 51;
    options.startTimeMs = 0xFFFFFE00u;  // wraps after about 0.5 s
    Harness h(options);
    h.script.configure = [](VAppSettings& a) { a.fpslimit = 50; };
    h.Run();
    for (size_t i = 1; i < h.log.elapsed.size(); ++i) EXPECT_EQ(h.log.elapsed[i], 20u) << i;
}

TEST(FrameTiming, FrameRateMeasurement) {
    VHeadlessOptions options;
    options.frameBudget = 60;
    Harness h(options);
    h.script.configure = [](VAppSettings& a) { a.fpslimit = 50; };
    uint32_t whole = 0, hundredths = 0;
    h.script.frame = [&](ClassVane& app, ClassVScreen&, uint32_t) {
        app.GetFrameRate(&whole, &hundredths);
    };
    h.Run();
    EXPECT_EQ(whole, 50u);
    EXPECT_EQ(hundredths, 0u);
}

TEST(FrameTiming, LateFramesAreNotMadeUp) {
    VHeadlessOptions options;
    options.frameBudget = 8;
    // Frame 3 does 30 ms of work on top of its 20 ms frame.
    options.frameCost = [](uint32_t frame) { return frame == 3 ? 30u : 0u; };
    Harness h(options);
    h.script.configure = [](VAppSettings& a) { a.fpslimit = 50; };
    h.Run();
    EXPECT_EQ(h.platform.Sleeps(), (std::vector<uint32_t>{20, 20, 20, 20, 1, 19, 20, 20}));
}

struct SpeedCase {
    const char* name;
    std::vector<uint32_t> keys;  // pressed before frame 5 and held
    uint32_t perMille;           // clock speed while held
};

class SpeedKeys : public testing::TestWithParam<SpeedCase> {};

TEST_P(SpeedKeys, ScaleTheGameTime) {
    const SpeedCase& c = GetParam();
    VHeadlessOptions options;
    options.frameBudget = 10;
    Harness h(options);
    h.script.configure = [](VAppSettings& a) {
        a.fpslimit = 50;
        a.slowMotionKey = 'S';
        a.fastForwardKey = 'F';
    };
    for (uint32_t key : c.keys) h.platform.InjectMessage(5, Message(VMSG_KEYDOWN, key));
    for (uint32_t key : c.keys) h.platform.InjectMessage(8, Message(VMSG_KEYUP, key));
    h.Run();
    ASSERT_EQ(h.log.elapsed.size(), 10u);
    // Frame k's clock update covers the sleep of frame k − 1 (the frames cost nothing else).
    const std::vector<uint32_t>& sleeps = h.platform.Sleeps();
    EXPECT_EQ(h.log.elapsed[4], sleeps[3]);
    uint32_t game = 0, real = 0;
    for (size_t k = 5; k < 8; ++k) {
        game += h.log.elapsed[k];
        real += sleeps[k - 1];
    }
    // Whole milliseconds: the thousandths still carried may be up to one.
    const int64_t expected = int64_t(real) * c.perMille / 1000;
    EXPECT_LE(std::abs(expected - int64_t(game)), 1) << "game " << game << " real " << real;
    EXPECT_EQ(h.log.elapsed[8], sleeps[7]) << "released";
}

INSTANTIATE_TEST_SUITE_P(FrameTiming, SpeedKeys,
                         testing::Values(SpeedCase{"SlowMotion", {'S'}, 400},
                                         SpeedCase{"FastForward", {'F'}, 2500},
                                         SpeedCase{"BothGiveSlowMotion", {'F', 'S'}, 400},
                                         SpeedCase{"OtherKey", {'Q'}, 1000}),
                         [](const testing::TestParamInfo<SpeedCase>& info) {
                             return info.param.name;
                         });

TEST(FrameTiming, SpeedKeyReleasedWhileSuspendedDoesNotStick) {
    VHeadlessOptions options;
    options.frameBudget = 12;
    Harness h(options);
    h.script.configure = [](VAppSettings& a) {
        a.fpslimit = 50;
        a.slowMotionKey = 'S';
    };
    h.platform.InjectMessage(2, Message(VMSG_KEYDOWN, 'S'));
    h.platform.InjectMessage(4, Message(VMSG_ACTIVATE, 2));
    h.platform.InjectMessage(5, Message(VMSG_KEYUP, 'S'));  // while suspended
    h.platform.InjectMessage(6, Message(VMSG_ACTIVATE, 0));
    h.Run();
    EXPECT_EQ(h.log.elapsed.back(), h.platform.Sleeps()[10]) << "back to real time";
}

TEST(FrameTiming, SuspendedPassesIdleAndResumeExcludesThePause) {
    VHeadlessOptions options;
    options.frameBudget = 14;
    Harness h(options);
    h.script.configure = [](VAppSettings& a) { a.fpslimit = 50; };
    h.platform.InjectMessage(5, Message(VMSG_ACTIVATE, 2));  // hidden
    h.platform.InjectMessage(9, Message(VMSG_ACTIVATE, 0));  // back
    h.Run();
    // Frames 5 to 8 are idle passes: no OnFrame and 100 ms sleeps.
    EXPECT_EQ(h.log.Count("OnFrame"), 10u);
    const std::vector<uint32_t>& sleeps = h.platform.Sleeps();
    for (size_t i = 5; i < 9; ++i) EXPECT_EQ(sleeps[i], 100u) << "pass " << i;
    EXPECT_EQ(h.log.Count("OnSuspend"), 1u);
    EXPECT_EQ(h.log.Count("OnResume"), 1u);
    // The first frame after resuming sees only the time since the resume.
    EXPECT_EQ(h.log.elapsed[5], 0u);
    EXPECT_LT(h.log.elapsed[6], 100u);
}

TEST(FrameTiming, LosingFocusWithoutSuspendKeepsFramesRunning) {
    VHeadlessOptions options;
    options.frameBudget = 10;
    Harness h(options);
    h.script.configure = [](VAppSettings& a) { a.suspendWhenInactive = 0; };
    h.platform.InjectMessage(3, Message(VMSG_ACTIVATE, 1));
    h.platform.InjectMessage(7, Message(VMSG_ACTIVATE, 0));
    h.Run();
    EXPECT_EQ(h.log.Count("OnFrame"), 10u);
    EXPECT_EQ(h.log.Count("OnSuspend"), 0u);
    EXPECT_EQ(h.log.Count("OnResume"), 0u);
    EXPECT_EQ(h.platform.Picture().presents, 10u) << "a window that lost focus still presents";
}

TEST(FrameTiming, LosingFocusWithSuspendStopsFrames) {
    VHeadlessOptions options;
    options.frameBudget = 10;
    Harness h(options);
    h.platform.InjectMessage(3, Message(VMSG_ACTIVATE, 1));
    h.platform.InjectMessage(7, Message(VMSG_ACTIVATE, 0));
    h.Run();
    EXPECT_EQ(h.log.Count("OnFrame"), 6u);
    EXPECT_EQ(h.log.Count("OnSuspend"), 0u);
    EXPECT_EQ(h.log.Count("OnResume"), 1u);
}

TEST(FrameTiming, MinimizeSuspendsAndMinimisesAtTheNextFrame) {
    VHeadlessOptions options;
    options.frameBudget = 6;
    Harness h(options);
    h.script.frame = [](ClassVane& app, ClassVScreen&, uint32_t frame) {
        if (frame == 1) app.Minimize();
    };
    h.Run();
    EXPECT_EQ(h.log.Count("OnSuspend"), 1u);
    EXPECT_EQ(h.platform.Minimizations(), 1u);
    EXPECT_EQ(h.log.Count("OnFrame"), 2u);
}

TEST(FrameTiming, FullScreenLosingFocusMinimisesAndSuspends) {
    VHeadlessOptions options;
    options.frameBudget = 6;
    Harness h(options);
    h.script.configureDisplay = [](VScreenSettings& s) { s.fullScreen = 1; };
    h.platform.InjectMessage(2, Message(VMSG_ACTIVATE, 1));
    h.Run();
    // The minimised window is hidden, which suspends the program.
    EXPECT_EQ(h.platform.Minimizations(), 1u);
    EXPECT_EQ(h.log.Count("OnSuspend"), 1u);
    EXPECT_EQ(h.log.Count("OnFrame"), 2u);
}

TEST(FrameTiming, KeepDisplayOnOnlyWhileRunning) {
    VHeadlessOptions options;
    options.frameBudget = 8;
    std::vector<bool> seen;
    VHeadlessPlatform* platform = nullptr;
    // The cost hook runs after each frame step: a window on what the step asked for.
    options.frameCost = [&](uint32_t) {
        seen.push_back(platform->KeepDisplayOn());
        return 0u;
    };
    Harness h(options);
    platform = &h.platform;
    h.platform.InjectMessage(3, Message(VMSG_ACTIVATE, 2));
    h.platform.InjectMessage(5, Message(VMSG_ACTIVATE, 0));
    h.Run();
    EXPECT_EQ(seen, (std::vector<bool>{true, true, true, false, false, true, true, true}));
    EXPECT_FALSE(h.platform.KeepDisplayOn()) << "released when the application ends";
}

TEST(FrameTiming, NoAutoPresentFlagLeavesPresentingToTheApplication) {
    VHeadlessOptions options;
    options.frameBudget = 4;
    Harness h(options);
    h.script.configure = [](VAppSettings& a) {
        a.flags = kFlagNoAutoPresent | kFlagPresentAfterOpen;
    };
    h.Run();
    EXPECT_EQ(h.platform.Picture().presents, 1u) << "only the present after opening";
}

TEST(FrameTiming, VerticalBlankFlag) {
    VHeadlessOptions options;
    options.frameBudget = 4;
    Harness h(options);
    h.script.configure = [](VAppSettings& a) { a.flags = kFlagWaitVerticalBlank; };
    h.Run();
    EXPECT_EQ(h.platform.VerticalBlankWaits(), 4u);
}

}  // namespace
