// The configuration step: the checks with their messages, the window set-up it fills and the
// connection slots it creates.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "connect/connection.h"
#include "tests/framework/recorder.h"

namespace {

struct ConfigCase {
    const char* name;
    std::function<void(VAppSettings&, VScreenSettings&)> configure;
    const char16_t* message;  // empty: accepted
};

class Configuration : public testing::TestWithParam<ConfigCase> {};

// The desktop is 240 × 320, so the default 240 × 320 window is only allowed in full screen;
// each case starts from a windowed 236 × 316 display that fits.
TEST_P(Configuration, ChecksAndMessages) {
    const ConfigCase& c = GetParam();
    VHeadlessOptions options;
    options.desktopWidth = 240;
    options.desktopHeight = 320;
    options.frameBudget = 1;
    Harness h(options);
    VAppSettings* app = nullptr;
    h.script.configure = [&](VAppSettings& s) { app = &s; };
    h.script.configureDisplay = [&](VScreenSettings& s) {
        s.width = 236;
        s.height = 316;
        c.configure(*app, s);
    };
    const uint32_t exitCode = h.Run();
    const std::u16string message = c.message;
    EXPECT_EQ(h.ErrorText(), message);
    if (message.empty()) {
        EXPECT_EQ(h.platform.WindowsCreated(), 1u);
        EXPECT_EQ(exitCode, 0u);
    } else {
        EXPECT_EQ(h.platform.WindowsCreated(), 0u) << "refused before any window";
        EXPECT_EQ(exitCode, 1u);
        EXPECT_EQ(h.log.Count("OnStartup"), 0u);
    }
    EXPECT_EQ(h.log.destroyed, 1u);
}

const char16_t kWidth[] = u"Wrong display size: width not divisible by 4";
const char16_t kTooBig[] = u"Can't create window, it's too big for the current resolution";
const char16_t kRotation[] = u"Unknown display rotation";
const char16_t kFps[] = u"FPS can't be locked below 5";

INSTANTIATE_TEST_SUITE_P(
    Configure, Configuration,
    testing::Values(
        ConfigCase{"Width232", [](VAppSettings&, VScreenSettings& s) { s.width = 232; }, u""},
        ConfigCase{"Width234", [](VAppSettings&, VScreenSettings& s) { s.width = 234; }, kWidth},
        ConfigCase{"WidthExactScreenWindowed",
                   [](VAppSettings&, VScreenSettings& s) { s.width = 240; }, kTooBig},
        ConfigCase{"HeightExactScreenWindowed",
                   [](VAppSettings&, VScreenSettings& s) { s.height = 320; }, kTooBig},
        ConfigCase{"ExactScreenFullScreen",
                   [](VAppSettings&, VScreenSettings& s) {
                       s.width = 240;
                       s.height = 320;
                       s.fullScreen = 1;
                   },
                   u""},
        ConfigCase{"Orientation7", [](VAppSettings&, VScreenSettings& s) { s.orientation = 7; },
                   u""},
        ConfigCase{"Orientation8", [](VAppSettings&, VScreenSettings& s) { s.orientation = 8; },
                   kRotation},
        ConfigCase{"Fps0", [](VAppSettings& a, VScreenSettings&) { a.fpslimit = 0; }, u""},
        ConfigCase{"Fps1", [](VAppSettings& a, VScreenSettings&) { a.fpslimit = 1; }, kFps},
        ConfigCase{"Fps4", [](VAppSettings& a, VScreenSettings&) { a.fpslimit = 4; }, kFps},
        ConfigCase{"Fps5", [](VAppSettings& a, VScreenSettings&) { a.fpslimit = 5; }, u""},
        // The first failing check wins.
        ConfigCase{"WidthBeforeFps",
                   [](VAppSettings& a, VScreenSettings& s) {
                       s.width = 242;
                       a.fpslimit = 4;
                   },
                   kWidth},
        ConfigCase{"TooBigBeforeRotation",
                   [](VAppSettings&, VScreenSettings& s) {
                       s.width = 400;
                       s.orientation = 9;
                   },
                   kTooBig},
        ConfigCase{"RotationBeforeFps",
                   [](VAppSettings& a, VScreenSettings& s) {
                       s.orientation = 8;
                       a.fpslimit = 2;
                   },
                   kRotation}),
    [](const testing::TestParamInfo<ConfigCase>& info) { return info.param.name; });

TEST(Configure, DefaultsOfBothRecords) {
    Harness h;
    h.script.configure = [](VAppSettings& a) {
        EXPECT_EQ(a.fastForwardKey, 0u);
        EXPECT_EQ(a.slowMotionKey, 0u);
        EXPECT_EQ(a.fpslimit, 60u);
        EXPECT_EQ(a.flags, 0u);
        EXPECT_EQ(a.connectionSlots, 1);
        EXPECT_EQ(a.sleepAtLeast1ms, 1);
        EXPECT_EQ(a.minimizeWhenInactive, 0);
        EXPECT_EQ(a.suspendWhenInactive, 1);
        EXPECT_EQ(a.keepDisplayOn, 1);
        EXPECT_EQ(a.platformOptionA, 1);
        EXPECT_EQ(a.platformOptionB, 0);
        a.fpslimit = 4;  // stop the start-up here
    };
    h.script.configureDisplay = [](VScreenSettings& s) {
        EXPECT_EQ(std::u16string(s.caption), u"VANELIB Application");
        EXPECT_EQ(s.width, 240u);
        EXPECT_EQ(s.height, 320u);
        EXPECT_EQ(s.displayMode, 32);
        EXPECT_EQ(s.bufferFormat, 32);
        EXPECT_EQ(s.orientation, 0);
        EXPECT_EQ(s.bufferMemory, 1);
        EXPECT_EQ(s.fullScreen, 0);
        EXPECT_EQ(s.acceleratedBlits, 1);
        EXPECT_EQ(s.statusBar, 1);
        EXPECT_EQ(s.console, 0);
        EXPECT_EQ(s.nativeLayout, 1);
    };
    h.Run();
    EXPECT_EQ(h.log.Count("OnConfigureDisplay"), 1u);
}

TEST(Configure, PlatformDefaultsForAHandheld) {
    VHeadlessOptions options;
    options.frameBudget = 1;
    options.defaults.fullScreen = 1;
    options.defaults.minimizeWhenInactive = 1;
    Harness h(options);
    uint8_t minimize = 0, fullScreen = 0;
    h.script.configure = [&](VAppSettings& a) { minimize = a.minimizeWhenInactive; };
    h.script.configureDisplay = [&](VScreenSettings& s) { fullScreen = s.fullScreen; };
    h.Run();
    EXPECT_EQ(minimize, 1);
    EXPECT_EQ(fullScreen, 1);
    EXPECT_EQ(h.platform.WindowSetup().windowMode, kWindowModeFullScreen);
}

TEST(Configure, CallbackFailureStopsWithItsResultAndNoMessage) {
    Harness h;
    h.script.configureResult = 7;
    EXPECT_EQ(h.Run(), 7u);
    EXPECT_EQ(h.ErrorText(), u"");
    EXPECT_EQ(h.log.Lifecycle(), (std::vector<std::string>{"OnConfigure"}));
    EXPECT_EQ(h.platform.WindowsCreated(), 0u);
}

TEST(Configure, FailedWindowCreation) {
    VHeadlessOptions options;
    options.windowCreateResult = kWindowFailed;
    Harness h(options);
    EXPECT_EQ(h.Run(), 1u);
    EXPECT_EQ(h.ErrorText(), u"Can't create window");
}

struct SetupCase {
    const char* name;
    uint8_t orientation;
    uint8_t fullScreen;
    uint8_t platformOrientation;
    uint8_t windowMode;
    uint8_t cursorShown;
    uint8_t statusLine;
};

class WindowSetupFill : public testing::TestWithParam<SetupCase> {};

TEST_P(WindowSetupFill, FromSettings) {
    const SetupCase& c = GetParam();
    VHeadlessOptions options;
    options.frameBudget = 1;
    Harness h(options);
    h.script.configure = [](VAppSettings& a) { a.platformOptionB = 9; };
    h.script.configureDisplay = [&](VScreenSettings& s) {
        s.orientation = c.orientation;
        s.fullScreen = c.fullScreen;
        s.cursorInFullScreen = 1;
        s.statusBar = 1;
        s.icon = 101;
        const char16_t caption[] = u"Vorlund \u00e9";
        std::memcpy(s.caption, caption, sizeof(caption));
    };
    h.Run();
    const VWindowSetup& w = h.platform.WindowSetup();
    EXPECT_EQ(w.platformOrientation, c.platformOrientation);
    EXPECT_EQ(w.windowMode, c.windowMode);
    EXPECT_EQ(w.cursorShown, c.cursorShown);
    EXPECT_EQ(w.statusLine, c.statusLine);
    EXPECT_EQ(w.skipSingleInstanceCheck, 1);
    EXPECT_EQ(w.icon, 101u);
    EXPECT_EQ(w.optionA, 1);
    EXPECT_EQ(w.optionB, 9);
    EXPECT_STREQ(w.caption, "Vorlund \xc3\xa9");
}

INSTANTIATE_TEST_SUITE_P(Configure, WindowSetupFill,
                         testing::Values(SetupCase{"Fixed0Windowed", 0, 0, 3, 0, 1, 1},
                                         SetupCase{"Portrait", 4, 0, 1, 0, 1, 1},
                                         SetupCase{"Landscape", 5, 1, 2, 2, 1, 0},
                                         SetupCase{"FollowScreen6", 6, 1, 0, 2, 1, 0},
                                         SetupCase{"FollowScreen7", 7, 0, 0, 0, 1, 1}),
                         [](const testing::TestParamInfo<SetupCase>& info) {
                             return info.param.name;
                         });

TEST(Configure, CaptionFilledToTheBrimIsCut) {
    VHeadlessOptions options;
    options.frameBudget = 1;
    Harness h(options);
    h.script.configureDisplay = [](VScreenSettings& s) {
        for (char16_t& c : s.caption) c = u'A';  // no terminator at all
    };
    h.Run();
    EXPECT_EQ(std::strlen(h.platform.WindowSetup().caption), 127u);
}

struct SlotCase {
    const char* name;
    uint8_t requested;
    uint32_t created;
};

class ConnectionSlots : public testing::TestWithParam<SlotCase> {};

TEST_P(ConnectionSlots, CountIsCutTo16) {
    const SlotCase& c = GetParam();
    VHeadlessOptions options;
    options.frameBudget = 2;
    Harness h(options);
    h.script.configure = [&](VAppSettings& a) { a.connectionSlots = c.requested; };
    uint32_t created = 0;
    h.script.frame = [&](ClassVane& app, ClassVScreen&, uint32_t) {
        created = 0;
        for (uint32_t slot = 0; slot < 32; ++slot) {
            if (ClassVConnection* connection = app.Connection(slot)) {
                EXPECT_EQ(connection->Slot(), slot);
                ++created;
            }
        }
    };
    h.Run();
    EXPECT_EQ(created, c.created);
}

INSTANTIATE_TEST_SUITE_P(Configure, ConnectionSlots,
                         testing::Values(SlotCase{"None", 0, 0}, SlotCase{"Default", 1, 1},
                                         SlotCase{"Sixteen", 16, 16},
                                         SlotCase{"TwentyCutTo16", 20, 16}),
                         [](const testing::TestParamInfo<SlotCase>& info) {
                             return info.param.name;
                         });

}  // namespace
