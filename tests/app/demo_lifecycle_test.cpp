// How the demo ends and pauses: it never ends by itself, any key or a double tap ends it after
// the current frame, suspending stops its frame counter and its sound, and the values it
// hands the framework at start-up.
#include <gtest/gtest.h>

#include <string>

#include "framework/key_codes.h"
#include "tests/app/demo_harness.h"

namespace {

VMessage Message(uint32_t code, uintptr_t p1 = 0, uintptr_t p2 = 0, uintptr_t p3 = 0) {
    VMessage m;
    m.code = code;
    m.param1 = p1;
    m.param2 = p2;
    m.param3 = p3;
    return m;
}

TEST(DemoEnd, NeverEndsWithoutAKey) {
    DemoRunOptions options;
    options.frames = 20000;
    DemoRun run(options);
    EXPECT_EQ(run.Run(), 0u);
    // Only the layer's frame budget stopped it.
    EXPECT_EQ(run.FramesDrawn(), 20000);
    EXPECT_EQ(run.LastScene().scene, 3);
    EXPECT_EQ(run.LastScene().frame, 20000 - 3500) << "the frame after the last one drawn";
}

TEST(DemoEnd, AnyInputThatEndsItEndsItAfterThatFrame) {
    struct Case {
        const char* what;
        uint32_t beforeFrame;  // the message arrives after the frame before this one
        VMessage message;
        uint16_t scene;
    };
    const Case cases[] = {
        {"Escape in scene 1", 5, Message(VMSG_KEYDOWN, VKEY_ESCAPE), 1},
        {"a letter in scene 2", 1500, Message(VMSG_KEYDOWN, 'Q'), 2},
        {"space in scene 3", 3600, Message(VMSG_KEYDOWN, VKEY_SPACE), 3},
        {"a double tap", 300, Message(VMSG_PENDOUBLE, 0, 40, 50), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DemoRunOptions options;
        options.frames = 5000;
        DemoRun run(options);
        run.Platform().InjectMessage(c.beforeFrame, c.message);
        EXPECT_EQ(run.Run(), 0u);
        EXPECT_EQ(run.FramesDrawn(), int64_t(c.beforeFrame));
        EXPECT_EQ(run.LastScene().scene, c.scene);
    }
}

TEST(DemoEnd, PenPositionIsRecordedAndNothingElseFollows) {
    DemoRunOptions options;
    options.frames = 12;
    DemoRun run(options);
    run.Platform().InjectMessage(3, Message(VMSG_PENDOWN, 0, 10, 20));
    run.Platform().InjectMessage(5, Message(VMSG_PENMOVE, 0, 30, 40));
    run.Platform().InjectMessage(7, Message(VMSG_PENUP, 0, 35, 45));
    EXPECT_EQ(run.Run(), 0u);
    EXPECT_EQ(run.FramesDrawn(), 12) << "the stylus alone does not end the demo";
    EXPECT_EQ(run.LastPen().x, 35);
    EXPECT_EQ(run.LastPen().y, 45);
}

TEST(DemoSuspend, StopsTheFrameCounterAndTheSound) {
    DemoRunOptions options;
    options.frames = 300;
    DemoRun run(options);
    run.Platform().InjectMessage(100, Message(VMSG_ACTIVATE, 2));  // hidden
    run.Platform().InjectMessage(150, Message(VMSG_ACTIVATE, 0));  // back
    EXPECT_EQ(run.Run(), 0u);
    EXPECT_EQ(run.FramesDrawn(), 250) << "no frames while suspended";
    EXPECT_EQ(run.LastScene().frame, 250) << "the timeline continues where it stopped";
    std::vector<std::pair<int64_t, VDemoSoundCall>> pauses;
    for (const HeardCall& c : run.Calls()) {
        if (c.event.call == VDemoSoundCall::Suspend || c.event.call == VDemoSoundCall::Resume) {
            pauses.emplace_back(c.frame, c.event.call);
        }
    }
    const std::vector<std::pair<int64_t, VDemoSoundCall>> expected{{-1, VDemoSoundCall::Suspend},
                                                                   {-1, VDemoSoundCall::Resume}};
    EXPECT_EQ(pauses, expected);
    EXPECT_EQ(run.SuspendedWhileAway(), 1u) << "the speaker itself was paused";
    EXPECT_FALSE(run.SpeakerSuspendedAtEnd());
    // Frames count OnFrame calls: the fade-in's sound still comes with the demo's frame 201,
    // 50 passes of the loop later than without the pause.
    EXPECT_EQ(run.SoundFrames(3), (std::vector<int64_t>{201}));
}

TEST(DemoConfiguration, SettingsHandedToTheFramework) {
    struct Case {
        const char* what;
        VPlatformDefaults defaults;
        uint8_t fullScreen, cursorInFullScreen;
    };
    const Case cases[] = {
        {"desktop", VPlatformDefaults{0, 0}, 0, 1},
        {"handheld", VPlatformDefaults{1, 1}, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DemoRunOptions options;
        options.frames = 1;
        options.defaults = c.defaults;
        DemoRun run(options);
        EXPECT_EQ(run.Run(), 0u);
        const VAppSettings& a = run.AppSettings();
        EXPECT_EQ(a.fpslimit, 50u);
        EXPECT_EQ(a.flags, 0u);
        EXPECT_EQ(a.connectionSlots, 1);
        EXPECT_EQ(a.sleepAtLeast1ms, 1);
        EXPECT_EQ(a.minimizeWhenInactive, 1);
        EXPECT_EQ(a.reserved1, 1);
        EXPECT_EQ(a.suspendWhenInactive, 1);
        EXPECT_EQ(a.keepDisplayOn, 1);
        EXPECT_EQ(a.reserved2, 1);
        EXPECT_EQ(a.platformOptionA, 1);
        EXPECT_EQ(a.platformOptionB, 0);
        const VScreenSettings& s = run.ScreenSettings();
        EXPECT_EQ(std::u16string(s.caption), u"Vorlund");
        EXPECT_EQ(s.displayMode, 32);
        EXPECT_EQ(s.bufferFormat, 32);
        EXPECT_EQ(s.icon, 101u);
        EXPECT_EQ(s.menu, 0u);
        EXPECT_EQ(s.dialog, 0u);
        EXPECT_EQ(s.width, 240u);
        EXPECT_EQ(s.height, 320u);
        EXPECT_EQ(s.orientation, 6);
        EXPECT_EQ(s.displayMethod, 0);
        EXPECT_EQ(s.bufferMemory, 1);
        EXPECT_EQ(s.fullScreen, c.fullScreen);
        EXPECT_EQ(s.cursorInFullScreen, c.cursorInFullScreen);
        EXPECT_EQ(s.acceleratedBlits, 1);
        EXPECT_EQ(s.statusBar, 0);
        EXPECT_EQ(s.console, 0);
        EXPECT_EQ(s.nativeLayout, 1);
    }
}

}  // namespace
