// The handheld's ways to the screen: their order by the display-method setting, each missing
// library or entry point passing the open on to the next way, the raw frame buffer's channel
// layout and permission rule, and what a program shows through each way.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics2d/pixel_format.h"
#include "platform/handheld/handheld_screen.h"
#include "platform/handheld/screen_methods.h"
#include "tests/platform/handheld/probe_app.h"

namespace {

struct OrderCase {
    uint8_t field;
    std::vector<uint8_t> order;
};

TEST(HandheldScreenMethods, OrderFollowsTheDisplayMethodField) {
    const OrderCase cases[] = {
        {2, {1, 0, 2, 3}}, {3, {2, 0, 1, 3}}, {0, {0, 1, 2, 3}},
        {1, {0, 1, 2, 3}}, {4, {0, 1, 2, 3}}, {255, {0, 1, 2, 3}},
    };
    for (const OrderCase& c : cases) {
        VScreenMethod methods[kMaxScreenMethods];
        ASSERT_EQ(HandheldScreenMethods(c.field, methods), 4u);
        std::vector<uint8_t> order;
        for (const VScreenMethod& m : methods) {
            order.push_back(m.code);
            EXPECT_FALSE(m.platformBuffers);
        }
        EXPECT_EQ(order, c.order) << "display-method field " << int(c.field);
    }
}

struct ChannelCase {
    uint16_t bits, format;
    bool usable;
    uint8_t red, green, blue;
};

TEST(HandheldScreenMethods, RecordChannels) {
    const ChannelCase cases[] = {
        {24, 0, true, 8, 8, 8},  {32, 7, true, 8, 8, 8},  {16, 2, true, 5, 5, 5},
        {16, 3, true, 5, 5, 5},  {16, 1, true, 5, 6, 5},  {16, 0, true, 4, 4, 4},
        {16, 4, true, 4, 4, 4},  {16, 5, true, 4, 4, 4},  {8, 1, true, 0, 0, 0},
        {4, 0, true, 0, 0, 0},   {2, 0, true, 0, 0, 0},   {1, 0, true, 0, 0, 0},
        {15, 1, false, 0, 0, 0}, {12, 0, false, 0, 0, 0}, {0, 0, false, 0, 0, 0},
    };
    for (const ChannelCase& c : cases) {
        VRawFrameBufferRecord record;
        record.bitsPerPixel = c.bits;
        record.format = c.format;
        VScreenMode mode;
        ASSERT_EQ(RawFrameBufferChannels(record, &mode), c.usable)
            << c.bits << " bits, format " << c.format;
        if (!c.usable) continue;
        EXPECT_EQ(mode.bitsPerPixel, c.bits);
        EXPECT_EQ(mode.redBits, c.red) << c.bits << " bits, format " << c.format;
        EXPECT_EQ(mode.greenBits, c.green) << c.bits << " bits, format " << c.format;
        EXPECT_EQ(mode.blueBits, c.blue) << c.bits << " bits, format " << c.format;
    }
}

// Which way drew the program's frames, from what the simulated device saw.
std::string WayThatDrew(const VSimCounters& counters, uint32_t frames) {
    if (frames == 0) return "none";
    if (counters.gameDraws >= frames) return "gapi";
    if (counters.directDrawUnlocks >= frames) return "ddraw";
    return "raw";
}

struct FallbackCase {
    const char* name;
    const char* profile;
    uint8_t field;
    std::vector<std::string> missing;
    bool highResolutionAware;
    uint8_t method;   // the method code the display keeps
    const char* way;  // the way that drew
};

class ScreenFallback : public testing::TestWithParam<FallbackCase> {};

TEST_P(ScreenFallback, FirstWayThatOpensIsKept) {
    const FallbackCase& c = GetParam();
    VSimOptions options;
    options.profile = *FindSimProfile(c.profile);
    options.missingEntries.insert(c.missing.begin(), c.missing.end());
    options.highResolutionAware = c.highResolutionAware;
    options.onPass = [](VSimDevice& device, uint32_t pass) {
        if (pass == 3) device.Close();
    };
    HandheldRun run(options);
    run.log.displayMethod = c.field;
    run.Run();
    EXPECT_EQ(run.log.inits, 1u);
    EXPECT_EQ(run.log.screenMethod, c.method);
    EXPECT_EQ(WayThatDrew(run.device.Counters(), uint32_t(run.log.frameTimes.size())), c.way);
    EXPECT_TRUE(run.device.Counters().messageBoxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Handheld, ScreenFallback,
    testing::Values(
        FallbackCase{"RawFirst", "pocketpc", 0, {}, false, 0, "raw"},
        FallbackCase{"OtherFieldRawFirst", "pocketpc", 7, {}, false, 0, "raw"},
        FallbackCase{"GapiFirst", "pocketpc", 2, {}, false, 1, "gapi"},
        FallbackCase{"DirectDrawFirst", "pocketpc", 3, {}, false, 2, "ddraw"},
        FallbackCase{"NoEscapeThenGapi", "norawbuffer", 0, {}, false, 1, "gapi"},
        FallbackCase{"NoGxLibraryThenRaw", "nogapi", 2, {}, false, 0, "raw"},
        FallbackCase{
            "NoOpenDisplayThenRaw", "pocketpc", 2, {kGameOpenDisplayName}, false, 0, "raw"},
        FallbackCase{"NoBeginDrawThenRaw", "pocketpc", 2, {kGameBeginDrawName}, false, 0, "raw"},
        FallbackCase{
            "NoPropertiesThenRaw", "pocketpc", 2, {kGameGetDisplayPropertiesName}, false, 0, "raw"},
        FallbackCase{"NoDdrawLibraryThenRaw", "noddraw", 3, {}, false, 0, "raw"},
        FallbackCase{
            "NoDirectDrawCreateThenRaw", "pocketpc", 3, {kDirectDrawCreateName}, false, 0, "raw"},
        FallbackCase{"NoEscapeNoEndDrawThenDirectDraw",
                     "norawbuffer",
                     0,
                     {kGameEndDrawName},
                     false,
                     2,
                     "ddraw"},
        FallbackCase{"AwareSkipsRawByName", "pocketpc", 0, {}, true, 1, "gapi"},
        FallbackCase{"AwareWithoutGxGoesToDirectDraw", "nogapi", 0, {}, true, 2, "ddraw"}),
    [](const testing::TestParamInfo<FallbackCase>& info) { return std::string(info.param.name); });

// The automatic way: a high-resolution-aware program on a device with the raw frame buffer
// alone reaches it there, although the raw frame buffer asked for by name is not allowed.
TEST(ScreenFallback, AutomaticAllowsTheRawFrameBufferToAwarePrograms) {
    VSimOptions options;
    options.profile = *FindSimProfile("bare");
    options.profile.rawFrameBuffer = true;
    options.highResolutionAware = true;
    options.onPass = [](VSimDevice& device, uint32_t pass) {
        if (pass == 3) device.Close();
    };
    HandheldRun run(options);
    run.Run();
    EXPECT_EQ(run.log.screenMethod, kHandheldAutomatic);
    EXPECT_GT(run.log.frameTimes.size(), 0u);
    EXPECT_TRUE(run.device.Counters().messageBoxes.empty());
}

TEST(ScreenFallback, NoWayOpensTheDisplayStartFailsWithItsMessage) {
    VSimOptions options;
    options.profile = *FindSimProfile("bare");
    HandheldRun run(options);
    run.Run();
    EXPECT_EQ(run.log.inits, 0u);
    EXPECT_TRUE(run.log.frameTimes.empty());
    ASSERT_EQ(run.device.Counters().messageBoxes.size(), 1u);
    EXPECT_EQ(run.device.Counters().messageBoxes[0],
              "Application error: Couldn't open the display device");
    EXPECT_FALSE(run.device.WindowExists());
}

// The screen service on its own, opened while a program runs (the platform has loaded the
// device's libraries by then).
struct OpenCase {
    const char* profile;
    uint32_t method;
    bool aware;
    uint32_t result;
};

TEST(HandheldScreen, OpenResults) {
    const OpenCase cases[] = {
        {"pocketpc", kHandheldRawFrameBuffer, false, kScreenOpened},
        {"pocketpc", kHandheldRawFrameBuffer, true, kScreenMethodUnsupported},
        {"norawbuffer", kHandheldRawFrameBuffer, false, kScreenCallFailed},
        {"pocketpc", kHandheldGameInterface, false, kScreenOpened},
        {"nogapi", kHandheldGameInterface, false, kScreenLibraryMissing},
        {"pocketpc", kHandheldDirectDraw, false, kScreenOpened},
        {"noddraw", kHandheldDirectDraw, false, kScreenLibraryMissing},
        {"pocketpc", kHandheldAutomatic, false, kScreenOpened},
        {"noddraw", kHandheldAutomatic, false, kScreenLibraryMissing},
        {"pocketpc", 4, false, kScreenMethodUnsupported},
        {"pocketpc", 1000, false, kScreenMethodUnsupported},
    };
    for (const OpenCase& c : cases) {
        VSimOptions options;
        options.profile = *FindSimProfile(c.profile);
        options.highResolutionAware = c.aware;
        options.onPass = [](VSimDevice& device, uint32_t pass) {
            if (pass == 1) device.Close();
        };
        HandheldRun run(options);
        uint32_t result = 99;
        bool open = false;
        run.log.draw = [&](ClassVScreen&, uint32_t frame) {
            if (frame != 0) return;
            VHandheldScreen screen(run.platform);
            result =
                screen.Open(c.method, run.platform.Instance()->window, 16, 240, 320, true, false);
            open = screen.IsOpen();
        };
        run.Run();
        EXPECT_EQ(result, c.result)
            << c.profile << " method " << c.method << (c.aware ? " aware" : "");
        EXPECT_EQ(open, c.result == kScreenOpened) << c.profile << " method " << c.method;
    }
}

}  // namespace
