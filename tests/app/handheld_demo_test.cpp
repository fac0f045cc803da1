// The demo on the handheld layer over a simulated device: what the panel shows, read through
// the raw frame buffer's strides, against the headless layer's picture of the same frame on a
// screen of the same size and format; and the settings the demo takes on a handheld.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "graphics2d/color_value.h"
#include "graphics2d/pixel_format.h"
#include "platform/handheld/handheld_platform.h"
#include "platform/handheld/sim/sim_device.h"
#include "tests/app/demo_harness.h"

namespace {

// A scene 1 frame with the logo, a scene 2 frame with a model beside a caption, scene 3's
// cells shrinking over the mosaic.
const std::vector<uint32_t> kShots = {100, 1100, 3775};
constexpr uint32_t kFrames = 3776;

class SimulatedHandheld final : public DemoLayer {
  public:
    // On the virtual clock, which the demo's frames do not depend on.
    SimulatedHandheld(const VSimProfile& profile, uint32_t frames) : frames_(frames) {
        options_.profile = profile;
    }

    uint32_t Run(const DemoRun& run) override {
        options_.onPass = [this, &run](VSimDevice& device, uint32_t) {
            if (!closing_ && run.FramesDrawn() >= frames_) {
                closing_ = true;
                device.Close();
            }
        };
        device_ = std::make_unique<VSimDevice>(options_);
        VHandheldPlatform platform(*device_);
        return platform.Run(u"");
    }

    RgbPicture Presented() override {
        const VSimProfile& p = device_->Profile();
        RgbPicture out;
        out.width = p.width;
        out.height = p.height;
        for (uint16_t pixel : device_->ScreenPixels()) {
            const uint32_t c = PixelToShownColor(p.format, pixel);
            out.rgb.insert(out.rgb.end(),
                           {uint8_t(VRed(c)), uint8_t(VGreen(c)), uint8_t(VBlue(c))});
        }
        return out;
    }

    const VSimDevice& Device() const { return *device_; }

  private:
    VSimOptions options_;
    uint32_t frames_ = 0;
    bool closing_ = false;
    std::unique_ptr<VSimDevice> device_;
};

size_t DifferingPixels(const RgbPicture& a, const RgbPicture& b) {
    size_t differing = 0;
    for (size_t i = 0; i + 2 < a.rgb.size() && i + 2 < b.rgb.size(); i += 3) {
        if (a.rgb[i] != b.rgb[i] || a.rgb[i + 1] != b.rgb[i + 1] || a.rgb[i + 2] != b.rgb[i + 2]) {
            ++differing;
        }
    }
    return differing;
}

// By profile name: panels whose raw frame buffer has a negative stride.
class HandheldDemo : public testing::TestWithParam<const char*> {};

// With the demo's own native layout the back buffer is stored in the panel's turned layout, and
// the fills interpolate along physical rows: gradients and triangle edges round differently
// from the headless picture (see the gradient orientation tests in graphics2d). Upright
// surfaces leave the turning to the present, which must then give the same picture exactly.
TEST_P(HandheldDemo, PanelShowsTheHeadlessPictureOfTheSameFrame) {
    const VSimProfile& profile = *FindSimProfile(GetParam());

    DemoRunOptions headlessOptions;
    headlessOptions.frames = kFrames;
    headlessOptions.shots = kShots;
    headlessOptions.screenFormat = profile.format;
    headlessOptions.screenWidth = profile.width;
    headlessOptions.screenHeight = profile.height;
    headlessOptions.defaults = VPlatformDefaults{1, 1};
    DemoRun headless(headlessOptions);
    ASSERT_EQ(headless.Run(), 0u);

    SimulatedHandheld layer(profile, kFrames);
    DemoRunOptions handheldOptions;
    handheldOptions.shots = kShots;
    handheldOptions.uprightSurfaces = true;
    DemoRun handheld(handheldOptions, layer);
    ASSERT_EQ(handheld.Run(), 0u);

    ASSERT_EQ(handheld.FramesDrawn(), int64_t(kFrames));
    EXPECT_EQ(headless.FramesDrawn(), handheld.FramesDrawn());
    for (uint32_t frame : kShots) {
        SCOPED_TRACE("frame " + std::to_string(frame));
        ASSERT_EQ(headless.Shots().count(frame), 1u);
        ASSERT_EQ(handheld.Shots().count(frame), 1u);
        const RgbPicture& want = headless.Shots().at(frame);
        const RgbPicture& got = handheld.Shots().at(frame);
        ASSERT_EQ(got.width, want.width);
        ASSERT_EQ(got.height, want.height);
        EXPECT_EQ(DifferingPixels(got, want), 0u);
    }

    // What a handheld makes the demo choose: full screen without a cursor.
    EXPECT_EQ(handheld.ScreenSettings().fullScreen, 1);
    EXPECT_EQ(handheld.ScreenSettings().cursorInFullScreen, 0);
    EXPECT_GT(layer.Device().Counters().shellFullScreen, 0u);
}

INSTANTIATE_TEST_SUITE_P(Panels, HandheldDemo, testing::Values("landscape444", "bottomup"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param);
                         });

}  // namespace
