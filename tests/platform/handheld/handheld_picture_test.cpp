// What a program shows through the handheld's screen memory, read back from the simulated
// panel and turned upright, against the headless layer's picture of the same frame.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/screen.h"
#include "graphics2d/color_value.h"
#include "graphics2d/pixel_format.h"
#include "platform/headless/headless_platform.h"
#include "tests/platform/handheld/probe_app.h"

namespace {

constexpr uint32_t kFrames = 12;

// Frame-indexed, so that both layers draw the same picture at the same frame whatever their
// clocks do: a gradient, a block that moves, and lines that show any turn or mirror.
void DrawFrame(ClassVScreen& screen, uint32_t frame) {
    V2DSurface& s = screen.BackBuffer();
    const int32_t w = int32_t(screen.GetWidth()), h = int32_t(screen.GetHeight());
    s.FillGradientRect(nullptr, VRgb(200, 20, 40), VRgb(20, 80, 240));
    const int32_t x = int32_t(frame) * 17 % (w - 30);
    const VRect block{x, 10, x + 30, 50};
    s.FillRect(&block, VRgb(250, 240, 30));
    const VRect corner{0, 0, 8, 4};
    s.FillRect(&corner, VRgb(255, 255, 255));
    s.DrawLine(0, h - 1, w - 1, 0, VRgb(0, 255, 0));
    s.DrawLine(w / 3, h - 20, w - 1, h - 20, VRgb(0, 0, 0));
}

struct PictureCase {
    const char* profile;
    uint8_t field;  // the way to the screen
};

class HandheldPicture : public testing::TestWithParam<PictureCase> {};

TEST_P(HandheldPicture, PanelTurnedBackEqualsTheHeadlessPicture) {
    const PictureCase& c = GetParam();
    const VSimProfile& profile = *FindSimProfile(c.profile);

    ProbeLog headlessLog;
    headlessLog.width = profile.width;
    headlessLog.height = profile.height;
    headlessLog.draw = DrawFrame;
    headlessLog.nativeLayout = 0;
    VHeadlessOptions headlessOptions;
    headlessOptions.screenFormat = profile.format;
    headlessOptions.frameBudget = kFrames;
    headlessOptions.defaults = VPlatformDefaults{1, 1};
    headlessOptions.errorStream = nullptr;
    VHeadlessPlatform headless(headlessOptions);
    RunProbe(headlessLog, [&] { return headless.Run(); });
    ASSERT_EQ(headlessLog.frameTimes.size(), kFrames);
    const VHeadlessPicture& expected = headless.Picture();
    ASSERT_EQ(expected.format, profile.format);

    std::vector<uint16_t> panel;
    VSimOptions options;
    options.profile = profile;
    uint32_t frames = 0;
    HandheldRun* running = nullptr;
    options.onPass = [&](VSimDevice& device, uint32_t) {
        if (running->log.frameTimes.size() == kFrames && frames == 0) {
            frames = kFrames;
            panel = device.ScreenPixels();
            device.Close();
        }
    };
    HandheldRun run(options);
    running = &run;
    run.log.width = profile.width;
    run.log.height = profile.height;
    run.log.displayMethod = c.field;
    run.log.draw = DrawFrame;
    // The back buffer upright on both layers, so that the present does the turning. (With native
    // layout the gradient is interpolated in the panel's own rows and rounds differently; see
    // tests/graphics2d/gradient_orientation_test.cpp.)
    run.log.nativeLayout = 0;
    run.Run();
    ASSERT_EQ(panel.size(), size_t(profile.width) * profile.height);

    ASSERT_EQ(expected.width, profile.width);
    ASSERT_EQ(expected.height, profile.height);
    size_t differing = 0;
    for (uint32_t y = 0; y < profile.height; ++y) {
        for (uint32_t x = 0; x < profile.width; ++x) {
            uint16_t want = 0;
            std::memcpy(&want, expected.pixels.data() + size_t(y) * expected.pitch + x * 2, 2);
            if (panel[size_t(y) * profile.width + x] != want) ++differing;
        }
    }
    EXPECT_EQ(differing, 0u) << c.profile << " by display-method field " << int(c.field);
}

INSTANTIATE_TEST_SUITE_P(Handheld, HandheldPicture,
                         testing::Values(PictureCase{"landscape444", 0},
                                         PictureCase{"landscape444", 2}, PictureCase{"bottomup", 0},
                                         PictureCase{"pocketpc", 0}, PictureCase{"pocketpc", 3}),
                         [](const testing::TestParamInfo<PictureCase>& info) {
                             return std::string(info.param.profile) + "_field" +
                                    std::to_string(info.param.field);
                         });

}  // namespace
