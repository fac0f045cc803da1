// The display device: pixel-format rules, buffers, the present in every screen format and
// orientation, suspension and closing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "tests/framework/recorder.h"

namespace {

constexpr uint32_t kWidth = 40;  // wider than one 32-pixel tile, so turned copies cross tiles
constexpr uint32_t kHeight = 36;

struct FormatRule {
    const char* name;
    uint8_t screen;      // the headless screen's format
    uint8_t configured;  // the buffer format asked for
    uint8_t buffer;      // the back buffer's format
    bool second;         // a second buffer in the screen's format exists
};

class BufferFormat : public testing::TestWithParam<FormatRule> {};

TEST_P(BufferFormat, FollowsTheRules) {
    const FormatRule& c = GetParam();
    VHeadlessOptions options;
    options.frameBudget = 1;
    options.screenFormat = c.screen;
    Harness h(options);
    h.script.configureDisplay = [&](VScreenSettings& s) { s.bufferFormat = c.configured; };
    uint8_t buffer = 0, backFormat = 0, secondFormat = 0;
    bool second = false;
    h.script.frame = [&](ClassVane&, ClassVScreen& screen, uint32_t) {
        buffer = screen.BufferFormat();
        backFormat = screen.BackBuffer().pixelformat;
        second = screen.HasSecondBuffer();
        secondFormat = screen.SecondBuffer().pixelformat;
    };
    ASSERT_EQ(h.Run(), 0u);
    EXPECT_EQ(buffer, c.buffer);
    EXPECT_EQ(backFormat, c.buffer);
    EXPECT_EQ(second, c.second);
    if (c.second) {
        EXPECT_EQ(secondFormat, c.screen);
    }
}

INSTANTIATE_TEST_SUITE_P(Display, BufferFormat,
                         testing::Values(FormatRule{"Rgb565AsScreen", 4, 32, 4, false},
                                         FormatRule{"Rgb555AsksFor565", 4, 3, 4, false},
                                         FormatRule{"Rgb888AsksForX888", 4, 5, 6, true},
                                         FormatRule{"Rgb555ScreenGets565Buffer", 3, 32, 4, true},
                                         FormatRule{"Rgb888ScreenGetsX888Buffer", 5, 32, 6, true},
                                         FormatRule{"X888ScreenWith565Buffer", 6, 4, 4, true},
                                         FormatRule{"Index8AsScreen", 1, 32, 1, false}),
                         [](const testing::TestParamInfo<FormatRule>& info) {
                             return info.param.name;
                         });

TEST(Display, QuarterTurnOfThePortraitScreenIsLandscape) {
    VHeadlessOptions options;
    options.frameBudget = 1;
    Harness h(options);
    h.script.configureDisplay = [](VScreenSettings& s) { s.orientation = 1; };
    uint32_t width = 0, height = 0, backWidth = 0, projection = 0;
    h.script.frame = [&](ClassVane&, ClassVScreen& screen, uint32_t) {
        width = screen.GetWidth();
        height = screen.GetHeight();
        backWidth = screen.BackBuffer().GetWidth();
        projection = screen.ProjectionScale();
    };
    ASSERT_EQ(h.Run(), 0u);
    EXPECT_EQ(width, 320u);
    EXPECT_EQ(height, 240u);
    EXPECT_EQ(backWidth, 320u);
    EXPECT_EQ(projection, 240u) << "the smaller side";
}

// Physical position of logical (x, y) on a kWidth × kHeight screen turned by r quarters.
void Place(uint8_t r, uint32_t x, uint32_t y, uint32_t* px, uint32_t* py) {
    switch (r) {
        case 1:
            *px = kWidth - 1 - y;
            *py = x;
            break;
        case 2:
            *px = kWidth - 1 - x;
            *py = kHeight - 1 - y;
            break;
        case 3:
            *px = y;
            *py = kHeight - 1 - x;
            break;
        default:
            *px = x;
            *py = y;
            break;
    }
}

const uint8_t* LogicalPixel(const uint8_t* pixels, const SurfaceLayout& l, uint32_t x, uint32_t y) {
    return pixels + l.origin + intptr_t(x) * l.xstep + intptr_t(y) * l.ystep;
}

struct PresentCase {
    uint8_t format;
    uint8_t orientation;
    uint8_t nativeLayout;
};

std::string PresentName(const testing::TestParamInfo<PresentCase>& info) {
    return "Format" + std::to_string(info.param.format) + "Turn" +
           std::to_string(info.param.orientation) + (info.param.nativeLayout ? "Native" : "");
}

class PresentedPixels : public testing::TestWithParam<PresentCase> {};

// The application writes arbitrary bytes into the back buffer; after the present each screen
// pixel holds the logical pixel of the buffer in the screen's format (the back buffer itself,
// or the second buffer it was converted into).
TEST_P(PresentedPixels, EqualTheBufferInTheScreenFormat) {
    const PresentCase& c = GetParam();
    VHeadlessOptions options;
    options.frameBudget = 2;
    options.screenFormat = c.format;
    Harness h(options);
    h.script.configureDisplay = [&](VScreenSettings& s) {
        s.width = kWidth;
        s.height = kHeight;
        s.orientation = c.orientation;
        s.nativeLayout = c.nativeLayout;
    };
    uint32_t mismatches = 0, compared = 0;
    h.script.frame = [&](ClassVane&, ClassVScreen& screen, uint32_t frame) {
        V2DSurface& back = screen.BackBuffer();
        SurfaceLayout l;
        uint8_t* pixels = back.Lock(&l);
        ASSERT_NE(pixels, nullptr);
        const uint32_t bytes = l.bitsperpixel / 8;
        if (frame == 0) {
            for (uint32_t y = 0; y < l.height; ++y)
                for (uint32_t x = 0; x < l.width; ++x)
                    for (uint32_t b = 0; b < bytes; ++b)
                        const_cast<uint8_t*>(LogicalPixel(pixels, l, x, y))[b] =
                            uint8_t(x * 7 + y * 13 + b * 101 + 1);
            back.Unlock();
            return;
        }
        back.Unlock();
        const V2DSurface& shown = screen.HasSecondBuffer() ? screen.SecondBuffer() : back;
        V2DSurface& source = const_cast<V2DSurface&>(shown);
        uint8_t* sp = source.Lock(&l);
        const uint32_t shownBytes = l.bitsperpixel / 8;
        const VHeadlessPicture& picture = h.platform.Picture();
        const uint8_t r = uint8_t((screen.Orientation() - screen.NativeOrientation() + 4) % 4);
        for (uint32_t y = 0; y < l.height; ++y) {
            for (uint32_t x = 0; x < l.width; ++x) {
                uint32_t px, py;
                Place(r, x, y, &px, &py);
                const uint8_t* p = &picture.pixels[size_t(py) * picture.pitch + px * shownBytes];
                mismatches += std::memcmp(p, LogicalPixel(sp, l, x, y), shownBytes) != 0;
                ++compared;
            }
        }
        source.Unlock();
    };
    ASSERT_EQ(h.Run(), 0u);
    EXPECT_EQ(compared, kWidth * kHeight);
    EXPECT_EQ(mismatches, 0u);
}

std::vector<PresentCase> AllPresentCases() {
    std::vector<PresentCase> cases;
    for (uint8_t format = 1; format <= 6; ++format)
        for (uint8_t orientation = 0; orientation < 4; ++orientation)
            for (uint8_t native = 0; native < 2; ++native)
                cases.push_back(PresentCase{format, orientation, native});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Display, PresentedPixels, testing::ValuesIn(AllPresentCases()),
                         PresentName);

TEST(Display, NoPresentWhileSuspended) {
    VHeadlessOptions options;
    options.frameBudget = 4;
    Harness h(options);
    uint32_t presentsWhileSuspended = 0;
    h.script.frame = [&](ClassVane&, ClassVScreen& screen, uint32_t frame) {
        if (frame == 0) {
            screen.Suspend();
            presentsWhileSuspended = h.platform.Picture().presents;
        }
        if (frame == 2) {
            EXPECT_EQ(h.platform.Picture().presents, presentsWhileSuspended);
            screen.Resume();
        }
    };
    ASSERT_EQ(h.Run(), 0u);
    EXPECT_EQ(h.platform.Picture().presents, presentsWhileSuspended + 2);
}

struct LayoutChange {
    const char* what;
    int32_t pitch;      // added to the pitch each lock reports
    int32_t pixelStep;  // added to its bytes per pixel
    bool presented;
};

// A screen whose layout changed after the open is not written: with the steps recorded at the
// open, a longer pitch would run past the end of the screen memory, a shorter one would fold
// the rows over one another.
TEST(Display, NothingIsWrittenToAScreenWhoseLayoutChanged) {
    const LayoutChange cases[] = {
        {"unchanged", 0, 0, true},       {"longer pitch", 64, 0, false},
        {"shorter pitch", -8, 0, false}, {"other pixel step", 0, 2, false},
        {"both", 64, 2, false},
    };
    for (const LayoutChange& c : cases) {
        VHeadlessOptions options;
        options.frameBudget = 2;
        options.lockPitchChange = c.pitch;
        options.lockPixelStepChange = c.pixelStep;
        Harness h(options);
        h.script.frame = [&](ClassVane&, ClassVScreen& screen, uint32_t) {
            screen.BackBuffer().FillRect(nullptr, 0xFFFFFF);
        };
        ASSERT_EQ(h.Run(), 0u) << c.what;
        const std::vector<uint8_t>& pixels = h.platform.Picture().pixels;
        const bool written =
            std::any_of(pixels.begin(), pixels.end(), [](uint8_t b) { return b != 0; });
        EXPECT_EQ(written, c.presented) << c.what;
    }
}

TEST(Display, CloseFreesEverySurfaceMadeThroughIt) {
    VHeadlessOptions options;
    options.frameBudget = 1;
    Harness h(options);
    h.script.frame = [&](ClassVane&, ClassVScreen& screen, uint32_t) {
        V2DSurface sprite;
        ASSERT_EQ(screen.CreateSurface(sprite, 10, 6, VSURFACE_DEFAULT), 0u);
        EXPECT_EQ(sprite.pixelformat, screen.BufferFormat());
        EXPECT_TRUE(screen.Registry().Contains(&sprite));
        screen.Close();
        EXPECT_FALSE(sprite.IsCreated());
        EXPECT_FALSE(screen.BackBuffer().IsCreated());
        EXPECT_FALSE(screen.IsOpen());
        EXPECT_EQ(screen.CreateSurface(sprite, 10, 6, VSURFACE_DEFAULT), 1u) << "closed";
        screen.Present();  // nothing to present, nothing touched
    };
    h.Run();
}

TEST(Display, TurnRebuildsTheBuffersAndTurnsOtherSurfaces) {
    VHeadlessOptions options;
    options.frameBudget = 1;
    Harness h(options);
    h.script.configureDisplay = [](VScreenSettings& s) {
        s.width = kWidth;
        s.height = kHeight;
    };
    h.script.frame = [&](ClassVane&, ClassVScreen& screen, uint32_t) {
        V2DSurface sprite;
        ASSERT_EQ(screen.CreateSurface(sprite, 10, 6, VSURFACE_DEFAULT), 0u);
        sprite.PutPixel(9, 0, 0x00FF00);
        const uint32_t drawn = sprite.GetPixel(9, 0);
        ASSERT_TRUE(screen.SetOrientation(1));
        EXPECT_EQ(screen.BackBuffer().GetWidth(), kHeight);
        EXPECT_EQ(screen.ClipRect(), (VRect{0, 0, int32_t(kHeight), int32_t(kWidth)}));
        EXPECT_TRUE(screen.NativeLayoutActive());
        // The sprite keeps its logical size and content in the new layout.
        EXPECT_EQ(sprite.GetWidth(), 10u);
        EXPECT_EQ(sprite.GetPixel(9, 0), drawn);
        EXPECT_NE(sprite.GetPixel(0, 0), drawn);
        EXPECT_FALSE(screen.SetOrientation(8));
        EXPECT_EQ(screen.Orientation(), 1);
    };
    h.Run();
    EXPECT_EQ(h.log.Count("OnDisplayChange"), 1u);
}

TEST(Display, ThreeDimensionalDefaults) {
    VHeadlessOptions options;
    options.frameBudget = 1;
    Harness h(options);
    h.script.frame = [&](ClassVane&, ClassVScreen& screen, uint32_t) {
        EXPECT_EQ(screen.RenderFlags(), 1024u);
        EXPECT_EQ(screen.WorldMatrix()[0], 4096);
        EXPECT_EQ(screen.WorldMatrix()[1], 0);
        EXPECT_EQ(screen.Lights()[0].diffuse, 0xFFFFFFu);
        EXPECT_EQ(screen.Lights()[1].diffuse, 0u);
        EXPECT_EQ(screen.Lights()[0].direction[2], -65536);
        EXPECT_EQ(screen.Lights()[0].enabled, 0);
    };
    h.Run();
}

}  // namespace
