// The presented picture at the frames that show each part of the timeline, against the
// committed pictures in golden/ (565 and X888 displays): the thirteen snapshot frames, the
// middle of every piece, scene 3 before, during and after its first cell change, and the
// mosaic once scene 3 has begun. A picture that differs is written with a diff beside the
// test's output (golden_diffs/ in the build folder). regenerate_goldens.sh writes them anew.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/app/demo_harness.h"
#include "tests/app/rgb_png.h"

namespace {

struct GoldenFrame {
    uint32_t frame;  // n: scene 1 f = n, scene 2 f = n − 800, scene 3 f = n − 3500
    const char* what;
};

const GoldenFrame kGoldenFrames[] = {
    {30, "snapshot 0,0: the logo"},
    {100, "the logo standing still (frames 31 to 169), which the window tests compare"},
    {260, "snapshot 1,0; middle of slogan 0"},
    {390, "middle of slogan 1"},
    {500, "snapshot 2,0"},
    {520, "middle of slogan 2"},
    {650, "middle of slogan 3"},
    {680, "snapshot 3,0"},
    {880, "snapshot 0,1"},
    {900, "middle of the first advert piece"},
    {1030, "snapshot 1,1"},
    {1100, "middle of caption 0"},
    {1350, "middle of caption 1"},
    {1600, "middle of caption 2"},
    {1770, "snapshot 2,1"},
    {1840, "snapshot 3,1"},
    {1900, "middle of caption 3"},
    {2150, "middle of caption 4"},
    {2400, "middle of caption 5"},
    {2490, "snapshot 0,2"},
    {2640, "snapshot 1,2"},
    {2700, "middle of caption 6"},
    {2950, "middle of caption 7"},
    {3080, "snapshot 2,2"},
    {3150, "snapshot 3,2; middle of the title band"},
    {3230, "middle of the banner band"},
    {3360, "middle of the game view band"},
    {3550, "snapshot 0,3"},
    {3749, "scene 3 before the first cell change: whole cells"},
    {3775, "scene 3 cells shrinking"},
    {3825, "scene 3 next cells growing"},
    {3850, "scene 3 after the change; middle of the zooming advert"},
};
constexpr uint32_t kFrames = 3851;

struct Display {
    const char* name;
    bool x888;
};

std::string GoldenDir(const Display& d) {
    return std::string(GOLDEN_DIR) + "/" + d.name;
}

std::string FrameName(uint32_t frame) {
    char name[32];
    std::snprintf(name, sizeof(name), "frame_%04u", frame);
    return name;
}

bool Regenerating() {
    return std::getenv("VORLUND_REGENERATE_GOLDENS") != nullptr;
}

// Red where the pictures differ, the golden dimmed elsewhere.
RgbPicture DiffPicture(const RgbPicture& golden, const RgbPicture& actual) {
    RgbPicture diff = actual;
    if (golden.width != actual.width || golden.height != actual.height) return diff;
    for (size_t i = 0; i + 2 < diff.rgb.size(); i += 3) {
        const bool same = golden.rgb[i] == actual.rgb[i] &&
                          golden.rgb[i + 1] == actual.rgb[i + 1] &&
                          golden.rgb[i + 2] == actual.rgb[i + 2];
        for (int k = 0; k < 3; ++k) diff.rgb[i + k] = same ? uint8_t(golden.rgb[i + k] / 4) : 0;
        if (!same) diff.rgb[i] = 255;
    }
    return diff;
}

void Compare(const Display& d, const std::string& name, const RgbPicture& actual) {
    const std::string golden = GoldenDir(d) + "/" + name + ".png";
    if (Regenerating()) {
        std::filesystem::create_directories(GoldenDir(d));
        ASSERT_TRUE(WriteRgbPng(golden, actual)) << golden;
        return;
    }
    RgbPicture expected;
    const bool read = ReadRgbPng(golden, &expected);
    EXPECT_TRUE(read) << "missing golden " << golden << " (tests/app/regenerate_goldens.sh)";
    if (read && expected == actual) return;
    const std::string out = std::string(DIFF_DIR) + "/" + d.name;
    std::filesystem::create_directories(out);
    WriteRgbPng(out + "/" + name + "_actual.png", actual);
    if (read) WriteRgbPng(out + "/" + name + "_diff.png", DiffPicture(expected, actual));
    ADD_FAILURE() << name << " differs from " << golden << "; see " << out;
}

class GoldenFrames : public testing::TestWithParam<Display> {};

TEST_P(GoldenFrames, PresentedPicturesAndMosaicMatch) {
    DemoRunOptions options;
    options.frames = kFrames;
    options.x888 = GetParam().x888;
    options.mosaicAtEnd = true;
    for (const GoldenFrame& g : kGoldenFrames) options.shots.push_back(g.frame);
    DemoRun run(options);
    ASSERT_EQ(run.Run(), 0u);
    for (const GoldenFrame& g : kGoldenFrames) {
        SCOPED_TRACE(std::string(g.what));
        const auto shot = run.Shots().find(g.frame);
        ASSERT_NE(shot, run.Shots().end());
        EXPECT_EQ(shot->second.width, 240u);
        EXPECT_EQ(shot->second.height, 320u);
        Compare(GetParam(), FrameName(g.frame), shot->second);
    }
    EXPECT_EQ(run.MosaicPicture().width, 512u);
    Compare(GetParam(), "mosaic", run.MosaicPicture());
}

INSTANTIATE_TEST_SUITE_P(Displays, GoldenFrames,
                         testing::Values(Display{"565", false}, Display{"x888", true}),
                         [](const testing::TestParamInfo<Display>& info) {
                             return std::string("format_") + info.param.name;
                         });

}  // namespace
