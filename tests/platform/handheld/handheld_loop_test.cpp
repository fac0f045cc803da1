// The handheld layer's loop and messages through the simulated device: power, the backlight
// kept on, the hardware buttons, the tilt sensor, rotation, keys and closing.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "framework/messages.h"
#include "tests/platform/handheld/probe_app.h"

namespace {

const std::string kAc = std::string(kBacklightKey) + "\\" + kBacklightAcValue;
const std::string kBattery = std::string(kBacklightKey) + "\\" + kBacklightBatteryValue;
constexpr uint32_t kNever = 0xFFFFFFFF;

// Each pass's device time, for the tests that look at the passes.
struct PassTimes {
    std::vector<uint32_t> at;
};

TEST(HandheldLoop, PowerOffResetsTheClockEvery100msWithoutFrames) {
    PassTimes passes;
    VSimOptions options;
    options.onPass = [&](VSimDevice& device, uint32_t pass) {
        passes.at.push_back(device.Now());
        if (pass == 10) device.SetPower(false);
        if (pass == 30) device.SetPower(true);
        if (pass == 40) device.Close();
    };
    HandheldRun run(options);
    run.Run();

    // The device clock of the passes while off: 100 ms apart, and no frame in between.
    const uint32_t offFrom = passes.at[11], offTo = passes.at[30];
    for (uint32_t pass = 12; pass <= 30; ++pass) {
        EXPECT_EQ(passes.at[pass] - passes.at[pass - 1], 100u) << "pass " << pass;
    }
    size_t framesBefore = 0, framesWhileOff = 0, framesAfter = 0;
    for (uint32_t t : run.log.frameTimes) {
        if (t < offFrom) ++framesBefore;
        if (t >= offFrom && t < offTo) ++framesWhileOff;
        if (t >= offTo) ++framesAfter;
    }
    EXPECT_GE(framesBefore, 9u);
    EXPECT_EQ(framesWhileOff, 0u);
    EXPECT_GE(framesAfter, 9u);
    // The clock was reset while off: the first frame after switching on does not take the
    // 1.9 seconds the device was off as its elapsed time.
    const size_t firstAfter = framesBefore;
    ASSERT_LT(firstAfter, run.log.elapsed.size());
    EXPECT_LT(run.log.elapsed[firstAfter], 150u);
}

struct BacklightCase {
    const char* name;
    bool acPresent;
    uint32_t ac;
    bool batteryPresent;
    uint32_t battery;
    uint32_t saved;                        // what the layer keeps
    uint32_t restoredAc, restoredBattery;  // what it writes back
};

class Backlight : public testing::TestWithParam<BacklightCase> {};

TEST_P(Backlight, KeptOnWhileRunningAndRestoredAfter) {
    const BacklightCase& c = GetParam();
    std::vector<std::string> seen;
    uint32_t savedWhileRunning = 0;
    VSimOptions options;
    options.registryFile = testing::TempDir() + "handheld_registry_" + c.name + ".txt";
    std::remove(options.registryFile.c_str());
    HandheldRun* running = nullptr;
    options.onPass = [&](VSimDevice& device, uint32_t pass) {
        const auto& r = device.Registry();
        const auto value = [&](const std::string& path) {
            return r.count(path) ? std::to_string(r.at(path)) : std::string("missing");
        };
        if (pass == 3) {
            seen.push_back(value(kAc) + " " + value(kBattery));
            savedWhileRunning = running->platform.Backlight().Saved();
            device.Activate(false);  // the program leaves the running state
        }
        if (pass == 5) {
            seen.push_back(value(kAc) + " " + value(kBattery));
            device.Activate(true);
        }
        if (pass == 8) {
            seen.push_back(value(kAc) + " " + value(kBattery));
            device.Close();
        }
    };
    HandheldRun run(options);
    running = &run;
    if (c.acPresent) {
        run.device.SetRegistry(kAc, c.ac);
    } else {
        run.device.EraseRegistry(kAc);
    }
    if (c.batteryPresent) {
        run.device.SetRegistry(kBattery, c.battery);
    } else {
        run.device.EraseRegistry(kBattery);
    }
    run.log.keepDisplayOn = 1;
    run.Run();

    const std::string never = std::to_string(kNever) + " " + std::to_string(kNever);
    const std::string restored =
        std::to_string(c.restoredAc) + " " + std::to_string(c.restoredBattery);
    EXPECT_EQ(seen, (std::vector<std::string>{never, restored, never}));
    EXPECT_EQ(savedWhileRunning, c.saved);
    // Each change was signalled: kept, restored, kept, restored at the end.
    EXPECT_EQ(run.device.Counters().signalledEvents,
              std::vector<std::string>(4, kBacklightChangeEvent));
    EXPECT_GT(run.device.Counters().idleTimerResets, 0u);

    // The registry file beside the program holds the values as they were before.
    VSimOptions after;
    after.registryFile = options.registryFile;
    VSimDevice reopened(after);
    EXPECT_EQ(reopened.Registry().at(kAc), c.restoredAc);
    EXPECT_EQ(reopened.Registry().at(kBattery), c.restoredBattery);
    std::remove(options.registryFile.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Handheld, Backlight,
    testing::Values(BacklightCase{"Plain", true, 60, true, 30, 60u << 16 | 30, 60, 30},
                    BacklightCase{"Zero", true, 0, true, 0, 0, 0, 0},
                    BacklightCase{"AcMissing", false, 0, true, 15, 0xFFFFu << 16 | 15, kNever, 15},
                    BacklightCase{"BothMissing", false, 0, false, 0, 0xFFFFFFFF, kNever, kNever},
                    BacklightCase{"NeverStaysNever", true, kNever, true, 65535, 0xFFFFFFFF, kNever,
                                  kNever},
                    BacklightCase{"LongTimeoutsLimited", true, 70000, true, 65534,
                                  0xFFFFu << 16 | 65534, kNever, 65534}),
    [](const testing::TestParamInfo<BacklightCase>& info) { return std::string(info.param.name); });

TEST(HandheldLoop, WithoutKeepDisplayOnTheRegistryIsLeftAlone) {
    VSimOptions options;
    options.onPass = [](VSimDevice& device, uint32_t pass) {
        if (pass == 3) device.Close();
    };
    HandheldRun run(options);
    run.device.SetRegistry(kAc, 60);
    run.log.keepDisplayOn = 0;
    run.Run();
    EXPECT_EQ(run.device.Registry().at(kAc), 60u);
    EXPECT_TRUE(run.device.Counters().signalledEvents.empty());
    EXPECT_EQ(run.device.Counters().idleTimerResets, 0u);
}

struct ButtonCase {
    const char* profile;
    bool gameInput;  // the buttons come through the game interface's input
};

TEST(HandheldButtons, OpenedOnActivationClosedOnDeactivation) {
    const ButtonCase cases[] = {{"nogapi", false}, {"pocketpc", true}};
    for (const ButtonCase& c : cases) {
        std::vector<std::string> states;
        VSimOptions options;
        options.profile = *FindSimProfile(c.profile);
        options.onPass = [&](VSimDevice& device, uint32_t pass) {
            const std::string state = std::to_string(device.RegisteredCount()) + "/" +
                                      (device.GameInputOpen() ? "input" : "-");
            if (pass == 2) {
                states.push_back(state);
                device.PressKey(193, true);
                device.PressKey(193, false);
                device.Activate(false);
            }
            if (pass == 3) {
                states.push_back(state);
                device.PressKey(194, true);
                device.Activate(true);
            }
            if (pass == 4) {
                states.push_back(state);
                device.Close();
            }
        };
        HandheldRun run(options);
        run.Run();
        const std::string active = c.gameInput ? "0/input" : "10/-";
        EXPECT_EQ(states, (std::vector<std::string>{active, "0/-", active})) << c.profile;
        for (uint32_t key = 193; key <= 198 && !c.gameInput; ++key) {
            EXPECT_FALSE(run.device.Registered(key)) << "released when the window went";
        }
        EXPECT_EQ(run.log.keys, std::vector<uint32_t>{193}) << c.profile;
        EXPECT_EQ(run.device.Counters().buttonsToShell, 1u) << "194 while inactive";
        EXPECT_FALSE(run.device.GameInputOpen());
    }
}

TEST(HandheldMessages, KeysTiltRotationAndClose) {
    VSimOptions options;
    options.onPass = [](VSimDevice& device, uint32_t pass) {
        if (pass == 2) {
            device.PressKey('A', true);
            device.PressKey('A', true, true);   // auto-repeat: dropped
            device.PressKey(0, true);           // no key code: dropped
            device.PressKey(0xFFFFFFFF, true);  // a negative code: dropped
            device.PressKey('B', true);
            device.Tilt(320, -160);
        }
        if (pass == 3) device.Rotate(90);
        if (pass == 4) device.Rotate(270);
        if (pass == 5) device.Rotate(0);
        if (pass == 6) device.Close();
    };
    HandheldRun run(options);
    EXPECT_EQ(run.Run(), 0u);
    EXPECT_EQ(run.log.keys, (std::vector<uint32_t>{'A', 'B'}));
    EXPECT_EQ(run.log.tilts, (std::vector<std::pair<int32_t, int32_t>>{{10, -5}}));
    // The screen turned a quarter: the program sees a landscape display, then portrait again.
    EXPECT_EQ(run.log.displayChanges,
              (std::vector<std::pair<uint32_t, uint32_t>>{{320, 240}, {320, 240}, {240, 320}}));
    EXPECT_EQ(run.platform.LastScreenAngle(), 0u);
    EXPECT_EQ(run.log.exits, 1u);
    EXPECT_FALSE(run.device.WindowExists());
}

TEST(HandheldMessages, SystemCloseCommandQuits) {
    VSimOptions options;
    options.onPass = [](VSimDevice& device, uint32_t pass) {
        if (pass == 5) device.SystemMenuClose();
    };
    HandheldRun run(options);
    run.Run();
    EXPECT_EQ(run.log.exits, 1u);
    EXPECT_FALSE(run.device.WindowExists());
    EXPECT_LE(run.log.frameTimes.size(), 6u);
}

struct WindowCase {
    uint8_t mode;
    uint32_t menu;
    std::vector<int32_t> rect;  // left, top, right, bottom
};

// The window alone: no application is registered with the instance, so the display start
// that follows the window's creation does nothing.
TEST(HandheldWindow, ModesPlaceTheWindow) {
    const WindowCase cases[] = {
        {kWindowModeFullScreen, 0, {0, 0, 240, 320}},
        {1, 0, {0, 26, 240, 320}},
        {1, 7, {0, 26, 240, 294}},
        {kWindowModeWindowed, 0, {56, 148, 184, 172}},
    };
    for (const WindowCase& c : cases) {
        VSimDevice device(VSimOptions{});
        VHandheldPlatform platform(device);
        VPlatformInstance instance;
        instance.layer = &platform;
        VWindowSetup setup;
        setup.windowMode = c.mode;
        setup.menu = c.menu;
        ASSERT_EQ(platform.CreateMainWindow(&instance, setup), kWindowCreated);
        std::vector<int32_t> rect(4);
        device.WindowRect(instance.window, &rect[0], &rect[1], &rect[2], &rect[3]);
        EXPECT_EQ(rect, c.rect) << "mode " << int(c.mode) << " menu " << c.menu;
    }
}

TEST(HandheldWindow, AnotherInstanceIsBroughtToTheFrontAndTheNewOneStops) {
    VSimOptions options;
    options.runningWindow = "Vorlund_class\nVorlund";
    VSimDevice device(options);
    VHandheldPlatform platform(device);
    VPlatformInstance instance;
    instance.layer = &platform;
    VWindowSetup setup;
    std::strcpy(setup.caption, "Vorlund");
    EXPECT_EQ(platform.CreateMainWindow(&instance, setup), kWindowOtherInstance);
    EXPECT_FALSE(device.WindowExists());
    setup.skipSingleInstanceCheck = 1;
    EXPECT_EQ(platform.CreateMainWindow(&instance, setup), kWindowCreated);
    EXPECT_TRUE(device.WindowExists());
}

TEST(HandheldWindow, FullScreenIsAppliedOnActivation) {
    VSimOptions options;
    options.onPass = [](VSimDevice& device, uint32_t pass) {
        if (pass == 1) device.Activate(false);
        if (pass == 2) device.Activate(true);
        if (pass == 3) device.Close();
    };
    HandheldRun run(options);
    run.Run();
    EXPECT_EQ(run.device.Counters().shellFullScreen, 2u);
    EXPECT_EQ(run.device.Counters().minimized, 1u) << "a handheld program leaves when inactive";
}

}  // namespace
