// A program's life on the headless layer: callback order, failing start-ups and their
// messages, the exit paths.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/framework/recorder.h"

namespace {

using Calls = std::vector<std::string>;

const Calls kUpToStartup{"OnConfigure", "OnConfigureDisplay", "OnStartup"};
const Calls kUpToPrepare{"OnConfigure", "OnConfigureDisplay", "OnStartup", "OnPrepareDisplay"};
const Calls kUpToInit{"OnConfigure", "OnConfigureDisplay", "OnStartup", "OnPrepareDisplay",
                      "OnInit"};

TEST(Lifecycle, NormalRunCallsEachCallbackInOrder) {
    VHeadlessOptions options;
    options.frameBudget = 3;
    Harness h(options);
    EXPECT_EQ(h.Run(), 0u);
    Calls expected = kUpToInit;
    expected.push_back("OnExit");
    EXPECT_EQ(h.log.Lifecycle(), expected);
    EXPECT_EQ(h.log.Count("OnFrame"), 3u);
    EXPECT_EQ(h.log.destroyed, 1u);
    EXPECT_FALSE(h.log.displayOpenWhenDestroyed);
    EXPECT_EQ(h.platform.SentCodes(),
              (std::vector<uint32_t>{VMSG_CREATE, VMSG_DISPLAYSTART, VMSG_STOP, VMSG_LOOPEND,
                                     VMSG_DESTROY}));
    EXPECT_EQ(h.platform.StatusText(), u"Running VANELIB...");
}

struct StartCase {
    const char* name;
    std::function<void(VHeadlessOptions&, RecorderScript&)> setup;
    uint32_t exitCode;
    const char16_t* message;
    Calls calls;
};

class FailedStart : public testing::TestWithParam<StartCase> {};

TEST_P(FailedStart, StopsBeforeTheLoopWithItsMessage) {
    const StartCase& c = GetParam();
    VHeadlessOptions options;
    options.frameBudget = 5;
    RecorderScript script;
    c.setup(options, script);
    Harness h(options);
    h.script = script;
    EXPECT_EQ(h.Run(), c.exitCode);
    EXPECT_EQ(h.ErrorText(), std::u16string(c.message));
    EXPECT_EQ(h.log.Lifecycle(), c.calls) << "no OnExit: the program never left STARTING";
    EXPECT_EQ(h.log.Count("OnFrame"), 0u);
    EXPECT_EQ(h.platform.FramesSent(), 0u);
    EXPECT_EQ(h.log.destroyed, 1u);
    EXPECT_FALSE(h.log.displayOpenWhenDestroyed);
}

INSTANTIATE_TEST_SUITE_P(
    Start, FailedStart,
    testing::Values(
        StartCase{"StartupFails", [](VHeadlessOptions&, RecorderScript& s) { s.startupResult = 5; },
                  5, u"", kUpToStartup},
        StartCase{"PrepareFails", [](VHeadlessOptions&, RecorderScript& s) { s.prepareResult = 6; },
                  6, u"", kUpToPrepare},
        // OnInit failing closes the display it had been given.
        StartCase{"InitFails", [](VHeadlessOptions&, RecorderScript& s) { s.initResult = 7; }, 7,
                  u"", kUpToInit},
        StartCase{
            "ScreenOutOfMemory",
            [](VHeadlessOptions& o, RecorderScript&) { o.screenOpenResult = kScreenOutOfMemory; },
            2, u"", kUpToPrepare},
        StartCase{"ScreenMethodUnsupported",
                  [](VHeadlessOptions& o, RecorderScript&) {
                      o.screenOpenResult = kScreenMethodUnsupported;
                  },
                  1, u"Couldn't open the display device", kUpToPrepare},
        StartCase{
            "ScreenCallFailed",
            [](VHeadlessOptions& o, RecorderScript&) { o.screenOpenResult = kScreenCallFailed; }, 1,
            u"Couldn't open the display device", kUpToPrepare},
        // A missing screen library is a failure like any other, never a success.
        StartCase{"ScreenLibraryMissing",
                  [](VHeadlessOptions& o, RecorderScript&) {
                      o.screenOpenResult = kScreenLibraryMissing;
                  },
                  1, u"Couldn't open the display device", kUpToPrepare},
        StartCase{"UnknownBufferFormat",
                  [](VHeadlessOptions&, RecorderScript& s) {
                      s.configureDisplay = [](VScreenSettings& d) { d.bufferFormat = 9; };
                  },
                  4, u"Display has received invalid parameters", kUpToPrepare},
        StartCase{"HeightBelow4",
                  [](VHeadlessOptions&, RecorderScript& s) {
                      s.configureDisplay = [](VScreenSettings& d) { d.height = 2; };
                  },
                  4, u"Display has received invalid parameters", kUpToPrepare},
        StartCase{"UnknownDisplayMode",
                  [](VHeadlessOptions&, RecorderScript& s) {
                      s.configureDisplay = [](VScreenSettings& d) { d.displayMode = 9; };
                  },
                  4, u"Display has received invalid parameters", kUpToPrepare}),
    [](const testing::TestParamInfo<StartCase>& info) { return info.param.name; });

TEST(Lifecycle, StopTwiceRunsOnExitOnce) {
    VHeadlessOptions options;
    options.frameBudget = 6;
    Harness h(options);
    h.platform.InjectMessage(2, Message(VMSG_STOP));
    h.Run();
    EXPECT_EQ(h.log.Count("OnExit"), 1u);
    // After the exit no frame runs; the loop still ends at the budget.
    EXPECT_EQ(h.log.Count("OnFrame"), 2u);
    EXPECT_EQ(h.platform.FramesSent(), 6u);
}

TEST(Lifecycle, WindowClosedByTheUserEndsTheProgramAtOnce) {
    Harness h;
    h.script.frame = [](ClassVane& app, ClassVScreen&, uint32_t frame) {
        if (frame == 1) app.SetExitCode(3);
    };
    h.platform.InjectClose(4);
    EXPECT_EQ(h.Run(), 3u);
    EXPECT_EQ(h.log.Count("OnFrame"), 4u);
    EXPECT_EQ(h.log.Count("OnExit"), 1u);
    EXPECT_EQ(h.log.destroyed, 1u);
    // VMSG_DESTROY comes straight after VMSG_STOP; the entry's own one finds no application.
    EXPECT_EQ(h.platform.SentCodes(),
              (std::vector<uint32_t>{VMSG_CREATE, VMSG_DISPLAYSTART, VMSG_STOP, VMSG_DESTROY,
                                     VMSG_LOOPEND, VMSG_DESTROY}));
}

TEST(Lifecycle, QuitFromOnFrameEndsAfterThatPass) {
    Harness h;
    h.script.frame = [](ClassVane& app, ClassVScreen&, uint32_t frame) {
        if (frame == 9) app.Quit();
    };
    h.Run();
    EXPECT_EQ(h.log.Count("OnFrame"), 10u);
    EXPECT_EQ(h.log.Count("OnExit"), 1u);
}

TEST(Lifecycle, ReportedErrorReachesThePlatformOnce) {
    Harness h;
    h.script.frame = [](ClassVane& app, ClassVScreen&, uint32_t) {
        app.ReportError(u"Missing resource 105");
        app.Quit();
    };
    EXPECT_EQ(h.Run(), 0u);
    EXPECT_EQ(h.ErrorText(), u"Missing resource 105");
}

TEST(Lifecycle, ErrorTextIsCutTo256Characters) {
    Harness h;
    h.script.frame = [](ClassVane& app, ClassVScreen&, uint32_t) {
        const std::u16string longText(300, u'e');
        app.ReportError(longText.c_str());
        app.Quit();
    };
    h.Run();
    EXPECT_EQ(h.ErrorText(), std::u16string(256, u'e'));
}

TEST(Lifecycle, CommandLineAndInstanceReachTheApplication) {
    VHeadlessOptions options;
    options.frameBudget = 1;
    options.commandLine = u"-level 3 \u00fc";
    options.instanceHandle = 0x1234;
    Harness h(options);
    std::string commandLine;
    uintptr_t handle = 0;
    std::u16string folder;
    h.script.frame = [&](ClassVane& app, ClassVScreen&, uint32_t) {
        commandLine = app.CommandLine();
        handle = app.InstanceHandle();
        folder = app.ProgramFolder();
    };
    h.Run();
    EXPECT_EQ(commandLine, "-level 3 \xc3\xbc");
    EXPECT_EQ(handle, 0x1234u);
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), u'/');
}

TEST(Messages, AnsweredWithoutAnApplication) {
    VHeadlessPlatform platform;
    VPlatformInstance instance;
    instance.layer = &platform;
    VMessage version = Message(VMSG_VERSION);
    EXPECT_TRUE(VaneProcessMessage(&instance, &version));
    EXPECT_EQ(version.param1, 0x10205D9Du);
    for (uint32_t code : {VMSG_FRAME, VMSG_DESTROY, VMSG_STOP, VMSG_KEYDOWN, VMSG_24}) {
        VMessage m = Message(code, 1);
        EXPECT_FALSE(VaneProcessMessage(&instance, &m)) << code;
    }
}

struct HandledCase {
    uint32_t code;
    uintptr_t param1;
    bool handled;
};

TEST(Messages, HandledWhileRunning) {
    const HandledCase cases[] = {
        {VMSG_VERSION, 0, true},
        {VMSG_RESETCLOCK, 0, true},
        {VMSG_LOOPEND, 0, false},
        {VMSG_PAINT, 0, false},
        {VMSG_24, 0, true},
        {VMSG_ROTATE, 0, true},
        {VMSG_WINDOWMSG, Recorder::kRawHandledByApplication, true},
        {VMSG_WINDOWMSG, 0x10, false},
        {25, 0, false},
        {255, 0, false},
        {265, 0, false},
    };
    VHeadlessOptions options;
    options.frameBudget = 2;
    Harness h(options);
    std::vector<bool> answers;
    h.script.frame = [&](ClassVane&, ClassVScreen&, uint32_t frame) {
        if (frame != 0) return;
        VPlatformInstance* instance = const_cast<VPlatformInstance*>(h.platform.Instance());
        for (const HandledCase& c : cases) {
            VMessage m = Message(c.code, c.param1);
            answers.push_back(VaneProcessMessage(instance, &m));
        }
    };
    h.Run();
    ASSERT_EQ(answers.size(), std::size(cases));
    for (size_t i = 0; i < answers.size(); ++i) {
        EXPECT_EQ(answers[i], cases[i].handled) << "code " << cases[i].code;
    }
}

TEST(Messages, RawWindowMessagesAreAnsweredByTheApplication) {
    VHeadlessOptions options;
    options.frameBudget = 2;
    Harness h(options);
    h.platform.InjectMessage(1, Message(VMSG_WINDOWMSG, Recorder::kRawHandledByApplication));
    h.platform.InjectMessage(1, Message(VMSG_WINDOWMSG, 0x10));
    h.Run();
    EXPECT_EQ(h.log.Count("OnWindowMessage"), 2u);
    EXPECT_EQ(h.log.values, (std::vector<int32_t>{1, 1})) << "with the window handle";
}

struct ConsoleCase {
    const char* name;
    uint8_t console;
    uint8_t fullScreen;
    bool open;
};

class ConsoleAtStart : public testing::TestWithParam<ConsoleCase> {};

TEST_P(ConsoleAtStart, OpensOnlyInAWindow) {
    const ConsoleCase& c = GetParam();
    VHeadlessOptions options;
    options.frameBudget = 1;
    Harness h(options);
    h.script.configureDisplay = [&](VScreenSettings& s) {
        s.console = c.console;
        s.fullScreen = c.fullScreen;
    };
    bool open = !c.open;
    h.script.frame = [&](ClassVane& app, ClassVScreen&, uint32_t) {
        open = app.Console().IsOpen();
    };
    h.Run();
    EXPECT_EQ(open, c.open);
}

INSTANTIATE_TEST_SUITE_P(Lifecycle, ConsoleAtStart,
                         testing::Values(ConsoleCase{"Off", 0, 0, false},
                                         ConsoleCase{"Window", 1, 0, true},
                                         ConsoleCase{"FullScreen", 1, 1, false}),
                         [](const testing::TestParamInfo<ConsoleCase>& info) {
                             return info.param.name;
                         });

// The services an application owns are usable from its first callback after the start.
TEST(Start, ServicesAreReadyForTheApplication) {
    VHeadlessOptions options;
    options.frameBudget = 1;
    Harness h(options);
    int32_t sine = 0;
    bool pooled = false;
    char16_t copy[4] = {};
    h.script.frame = [&](ClassVane& app, ClassVScreen&, uint32_t) {
        sine = app.Math().Sin(1024);
        void* block = PoolAlloc(&app.Pool(), 16);
        pooled = block != nullptr;
        PoolFree(&app.Pool(), block);
        app.Strings().WStrCopy(copy, u"abcdef", 4);
        EXPECT_EQ(app.PlatformStrings().Unbounded(), kPlatformStrUnbounded);
    };
    h.Run();
    EXPECT_EQ(sine, 65536);
    EXPECT_TRUE(pooled);
    EXPECT_EQ(std::u16string(copy), u"abc");
}

}  // namespace
