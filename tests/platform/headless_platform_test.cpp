// The headless layer on its own terms: its screen in every pixel format, the picture a
// program leaves, injected events, the frame budget, both clocks and the exit.
#include "platform/headless/headless_platform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <numeric>
#include <string>

#include "platform/headless/headless_screen.h"
#include "tests/framework/recorder.h"

namespace {

struct FormatCase {
    const char* name;
    uint8_t format;
    uint32_t bits;
    uint8_t red, green, blue;
};

class ScreenFormats : public testing::TestWithParam<FormatCase> {};

TEST_P(ScreenFormats, OpensAndShowsWhatIsWritten) {
    const FormatCase& c = GetParam();
    VHeadlessOptions options;
    options.screenFormat = c.format;
    VHeadlessPlatform platform(options);
    VHeadlessScreen screen(platform);
    ASSERT_EQ(screen.Open(1, 1, 16, 40, 30, false, false), kScreenOpened);
    const VScreenMode mode = screen.Mode();
    EXPECT_EQ(mode.bitsPerPixel, c.bits);
    EXPECT_EQ(mode.redBits, c.red);
    EXPECT_EQ(mode.greenBits, c.green);
    EXPECT_EQ(mode.blueBits, c.blue);
    EXPECT_EQ(mode.width, 40u);
    EXPECT_EQ(mode.height, 30u);
    const uint32_t bytes = (c.bits + 7) / 8;
    EXPECT_EQ(mode.xStep, int32_t(bytes));
    EXPECT_EQ(mode.yStep, int32_t(40 * bytes));

    VScreenLock lock;
    ASSERT_TRUE(screen.Lock(&lock));
    EXPECT_FALSE(screen.Lock(&lock)) << "one lock at a time";
    std::memset(lock.address + 29 * lock.pitch, 0xAB, size_t(lock.pitch));
    screen.Unlock();
    const VHeadlessPicture& picture = platform.Picture();
    EXPECT_EQ(picture.format, c.format);
    EXPECT_EQ(picture.presents, 1u);
    EXPECT_EQ(picture.pixels[size_t(29) * picture.pitch], 0xAB);
    EXPECT_EQ(picture.pixels[size_t(28) * picture.pitch], 0);
}

INSTANTIATE_TEST_SUITE_P(
    Headless, ScreenFormats,
    testing::Values(FormatCase{"Index8", 1, 8, 0, 0, 0}, FormatCase{"Rgb444", 2, 16, 4, 4, 4},
                    FormatCase{"Rgb555", 3, 16, 5, 5, 5}, FormatCase{"Rgb565", 4, 16, 5, 6, 5},
                    FormatCase{"Rgb888", 5, 24, 8, 8, 8}, FormatCase{"X888", 6, 32, 8, 8, 8}),
    [](const testing::TestParamInfo<FormatCase>& info) { return info.param.name; });

TEST(Headless, ScreenRefusesWhatItCannotOpen) {
    VHeadlessOptions options;
    options.screenFormat = 7;
    VHeadlessPlatform platform(options);
    VHeadlessScreen screen(platform);
    EXPECT_EQ(screen.Open(2, 1, 16, 40, 30, false, false), kScreenMethodUnsupported);
    EXPECT_EQ(screen.Open(1, 0, 16, 40, 30, false, false), kScreenCallFailed) << "no window";
    EXPECT_EQ(screen.Open(1, 1, 16, 40, 30, false, false), kScreenCallFailed) << "format 7";
    EXPECT_FALSE(screen.IsOpen());
    VScreenLock lock;
    EXPECT_FALSE(screen.Lock(&lock));
}

// A program draws into its back buffer; the picture shows it byte for byte.
struct PictureCase {
    const char* name;
    uint8_t format;
    uint32_t bytes;
};

class PresentedPicture : public testing::TestWithParam<PictureCase> {};

TEST_P(PresentedPicture, MatchesTheBackBuffer) {
    const PictureCase& c = GetParam();
    VHeadlessOptions options;
    options.frameBudget = 2;
    options.screenFormat = c.format;
    Harness h(options);
    h.script.frame = [](ClassVane&, ClassVScreen& screen, uint32_t frame) {
        SurfaceLayout l;
        uint8_t* pixels = screen.BackBuffer().Lock(&l);
        const uint32_t rowBytes = l.width * l.bitsperpixel / 8;
        for (uint32_t y = 0; y < l.height; ++y) {
            uint8_t* row = pixels + l.origin + intptr_t(y) * l.ystep;
            for (uint32_t i = 0; i < rowBytes; ++i) row[i] = uint8_t(y + i + frame);
        }
        screen.BackBuffer().Unlock();
    };
    EXPECT_EQ(h.Run(), 0u);
    const VHeadlessPicture& picture = h.platform.Picture();
    ASSERT_EQ(picture.format, c.format);
    ASSERT_EQ(picture.bytesPerPixel, c.bytes);
    ASSERT_EQ(picture.width, 240u);
    for (uint32_t y = 0; y < picture.height; ++y) {
        for (uint32_t i = 0; i < picture.pitch; ++i) {
            ASSERT_EQ(picture.pixels[size_t(y) * picture.pitch + i], uint8_t(y + i + 1));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Headless, PresentedPicture,
                         testing::Values(PictureCase{"Index8", 1, 1}, PictureCase{"Rgb444", 2, 2},
                                         PictureCase{"Rgb565", 4, 2}, PictureCase{"X888", 6, 4}),
                         [](const testing::TestParamInfo<PictureCase>& info) {
                             return info.param.name;
                         });

// 5-5-5 and 24-bit screens get a 5-6-5 or 32-bit back buffer, converted at each present.
TEST(Headless, ScreensWithoutAMatchingBackBufferConvert) {
    for (uint8_t format : {uint8_t(3), uint8_t(5)}) {
        VHeadlessOptions options;
        options.frameBudget = 1;
        options.screenFormat = format;
        Harness h(options);
        EXPECT_EQ(h.Run(), 0u);
        EXPECT_EQ(h.platform.Picture().format, format);
        EXPECT_EQ(h.platform.Picture().presents, 1u);
    }
}

TEST(Headless, EventsArriveBetweenTheGivenFrames) {
    VHeadlessOptions options;
    options.frameBudget = 4;
    Harness h(options);
    h.platform.InjectMessage(2, Message(VMSG_KEYDOWN, 65));
    h.platform.InjectMessage(0, Message(VMSG_KEYDOWN, 66));  // before the first frame
    h.platform.InjectMessage(2, Message(VMSG_KEYUP, 65));
    h.Run();
    std::vector<std::string> calls;
    for (const std::string& call : h.log.calls) {
        if (call == "OnFrame" || call.rfind("OnKey", 0) == 0) calls.push_back(call);
    }
    EXPECT_EQ(calls, (std::vector<std::string>{"OnKeyDown", "OnFrame", "OnFrame", "OnKeyDown",
                                               "OnKeyUp", "OnFrame", "OnFrame"}));
    EXPECT_EQ(h.log.values, (std::vector<int32_t>{66, 65, 65}));
}

TEST(Headless, FrameBudgetQuitsAfterThatManyFrames) {
    for (uint32_t budget : {1u, 7u}) {
        VHeadlessOptions options;
        options.frameBudget = budget;
        Harness h(options);
        h.Run();
        EXPECT_EQ(h.platform.FramesSent(), budget);
        EXPECT_EQ(h.log.Count("OnFrame"), budget);
        EXPECT_EQ(h.log.Count("OnExit"), 1u);
    }
}

TEST(Headless, VirtualClockMovesOnlyBySleepsAndCost) {
    VHeadlessOptions options;
    options.frameBudget = 10;
    options.startTimeMs = 5000;
    options.frameCostMs = 3;
    Harness h(options);
    h.Run();
    const std::vector<uint32_t>& sleeps = h.platform.Sleeps();
    const uint32_t slept = std::accumulate(sleeps.begin(), sleeps.end(), 0u);
    EXPECT_EQ(h.platform.Now(), 5000u + slept + 10 * 3);
}

// Long runs leave the list out; the clock moves exactly as with it, and the frame observer
// sees every frame.
TEST(Headless, SleepsLeftOutKeepTheClockAndTheObserver) {
    uint32_t kept = 0;
    for (const bool record : {true, false}) {
        VHeadlessOptions options;
        options.frameBudget = 50;
        options.recordSleeps = record;
        Harness h(options);
        uint32_t observed = 0;
        h.platform.SetFrameObserver([&observed](VPlatformInstance*) { ++observed; });
        h.Run();
        EXPECT_EQ(observed, 50u);
        EXPECT_EQ(h.platform.Sleeps().empty(), !record);
        if (record) kept = h.platform.Now();
        if (!record) {
            EXPECT_EQ(h.platform.Now(), kept);
        }
    }
}

TEST(Headless, RealTimeClockReallySleeps) {
    VHeadlessOptions options;
    options.realTime = true;
    options.frameBudget = 3;
    Harness h(options);
    h.script.configure = [](VAppSettings& a) { a.fpslimit = 100; };
    h.Run();
    const std::vector<uint32_t>& sleeps = h.platform.Sleeps();
    const uint32_t slept = std::accumulate(sleeps.begin(), sleeps.end(), 0u);
    EXPECT_GT(slept, 0u);
    EXPECT_GE(h.platform.Now(), slept);
}

TEST(Headless, ErrorTextGoesToTheErrorStreamAndTheExitCodeIsReturned) {
    std::FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    VHeadlessOptions options;
    options.errorStream = stream;
    options.frameBudget = 2;
    VHeadlessPlatform platform(options);
    RecorderLog log;
    RecorderScript script;
    script.frame = [](ClassVane& app, ClassVScreen&, uint32_t) {
        app.ReportError(u"Fichier manquant \u00e9");
        app.SetExitCode(9);
    };
    static RecorderLog* logCell;
    static RecorderScript* scriptCell;
    logCell = &log;
    scriptCell = &script;
    VApplicationRegistration registration(
        [](VStartRecord*) -> ClassVane* { return new Recorder(*logCell, *scriptCell); });
    EXPECT_EQ(platform.Run(), 9u);
    std::rewind(stream);
    char text[128] = {};
    ASSERT_NE(std::fgets(text, sizeof(text), stream), nullptr);
    EXPECT_STREQ(text, "Application error: Fichier manquant \xc3\xa9\n");
    std::fclose(stream);
}

TEST(Headless, NoErrorTextWritesNothing) {
    std::FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    VHeadlessOptions options;
    options.errorStream = stream;
    options.frameBudget = 1;
    VHeadlessPlatform platform(options);
    EXPECT_EQ(platform.Run(), 0u);
    EXPECT_EQ(std::ftell(stream), 0);
    std::fclose(stream);
}

}  // namespace
