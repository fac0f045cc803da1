// Renders a text sample in every effect over a gradient, with soft-edged RGBA discs, into a PNG
// in the build folder (text_effects.png) to be looked at.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "graphics2d/surface_rgba.h"
#include "tests/graphics2d/font_fixture.h"

namespace {

constexpr int32_t kWidth = 240, kHeight = 200;

uint32_t Colour(uint32_t r, uint32_t g, uint32_t b) {
    return r | g << 8 | b << 16;
}

void FillGradient(V2DSurface& s) {
    for (int32_t y = 0; y < kHeight; ++y)
        for (int32_t x = 0; x < kWidth; ++x)
            s.PutPixel(
                x, y, Colour(20 + x * 140 / kWidth, 30 + y * 60 / kHeight, 90 + y * 120 / kHeight));
}

// A disc of the colour whose alpha falls from 255 inside to 0 over its outer ring.
void MakeDisc(VSurfaceServices& services, V2DSurfaceRGBA& disc, uint32_t colour, uint32_t flags) {
    disc.SetOwner(&services);
    ASSERT_EQ(disc.Create(40, 40, VPIXELFORMAT_565, flags), 0u);
    for (int32_t y = 0; y < 40; ++y) {
        for (int32_t x = 0; x < 40; ++x) {
            const double r = std::hypot(x - 19.5, y - 19.5);
            const double a = std::clamp((19.5 - r) / 8.0, 0.0, 1.0);
            disc.PutPixelAlpha(x, y, colour, uint32_t(std::lround(a * 255)));
        }
    }
}

}  // namespace

TEST(TextRender, EffectsOverGradient) {
    VSurfaceServices services(VPIXELFORMAT_565);
    V2DSurface font, screen;
    LoadDemoFont(services, font, VPIXELFORMAT_565);
    MakeSurface(services, screen, kWidth, kHeight, VPIXELFORMAT_565);
    FillGradient(screen);

    struct Line {
        const char* text;
        uint32_t flags, property;
    };
    // "\xC2\xEE\xF0\xEB\xF3\xED\xE4" is the game's name in Windows-1251 Cyrillic.
    const Line lines[] = {
        {"Key copy: Vorlund \xC2\xEE\xF0\xEB\xF3\xED\xE4", BLIT_KEY, 0},
        {"Key + fill: gold", BLIT_KEY | BLIT_FILL, Colour(255, 215, 0)},
        {"Key + mix with blue", BLIT_KEY | BLIT_MIX, Colour(0, 0, 255)},
        {"Key + tint: green", BLIT_KEY | BLIT_TINT, Colour(60, 255, 60)},
        {"Key + opacity 128", BLIT_KEY | BLIT_OPACITY, 128},
        {"Key + opacity 64", BLIT_KEY | BLIT_OPACITY, 64},
        {"Key + add", BLIT_KEY | BLIT_ADD, 0},
        {"Key + subtract", BLIT_KEY | BLIT_SUBTRACT, 0},
        {"No key: the cells show", 0, 0},
    };
    int32_t y = 6;
    for (const Line& l : lines) {
        screen.DrawString(6, y, &font, l.text, l.flags, l.property);
        y += 12;
    }
    screen.DrawString(kWidth / 2, y + 2, &font, "Centred on two lines\r\nof text", BLIT_KEY | 0x200,
                      0);
    screen.DrawString(kWidth - 6, kHeight - 4, &font, "Right and bottom\nalign",
                      BLIT_KEY | 0x100 | 0x400, 0);

    V2DSurfaceRGBA disc, premultiplied;
    MakeDisc(services, disc, Colour(255, 80, 40), 0);
    MakeDisc(services, premultiplied, Colour(80, 255, 120), VRGBA_PREMULTIPLIED);
    ASSERT_EQ(screen.Blit(180, 14, &disc, nullptr, 0, 0), 0u);
    ASSERT_EQ(screen.Blit(196, 38, &premultiplied, nullptr, 0, 0), 0u);
    ASSERT_EQ(screen.Blit(170, 70, &disc, nullptr, BLIT_OPACITY, 128), 0u);

    std::vector<uint32_t> colours;
    for (int32_t py = 0; py < kHeight; ++py)
        for (int32_t px = 0; px < kWidth; ++px) colours.push_back(screen.GetPixel(px, py));
    const std::string path = std::string(VANE_TEST_OUTPUT_DIR) + "/text_effects.png";
    ASSERT_TRUE(WritePngRGB(path, kWidth, kHeight, colours)) << path;

    // The first line's glyph ink covers part of the gradient; its key background never shows.
    V2DSurface gradient;
    MakeSurface(services, gradient, kWidth, kHeight, VPIXELFORMAT_565);
    FillGradient(gradient);
    int ink = 0;
    for (int32_t py = 6; py < 14; ++py) {
        for (int32_t px = 6; px < 6 + 6 * 25; ++px) {
            const uint32_t c = screen.GetPixel(px, py);
            ink += c != gradient.GetPixel(px, py);
            EXPECT_NE(c, kStripBackground);
        }
    }
    EXPECT_GT(ink, 6 * 25 * 8 / 5);
    EXPECT_LT(ink, 6 * 25 * 8 * 4 / 5);
}

// Text and RGBA blits land on the same logical pixels whatever the display's orientation.
TEST(TextRender, SameLogicalPictureInEveryOrientation) {
    auto render = [](const VOrientation& o) {
        VSurfaceServices services(VPIXELFORMAT_565);
        services.SetOrientation(o);
        V2DSurface font, screen;
        LoadDemoFont(services, font, VPIXELFORMAT_565);
        MakeSurface(services, screen, 60, 30, VPIXELFORMAT_565);
        FillGradient(screen);
        V2DSurfaceRGBA disc;
        MakeDisc(services, disc, Colour(255, 80, 40), VRGBA_PREMULTIPLIED);
        screen.Blit(30, -10, &disc, nullptr, 0, 0);
        screen.DrawString(58, 2, &font, "Turn\nme", BLIT_KEY | 0x100, 0);
        screen.DrawString(-3, 20, &font, "AB", BLIT_KEY | BLIT_OPACITY, 128);
        std::vector<uint32_t> colours;
        for (int32_t y = 0; y < 30; ++y)
            for (int32_t x = 0; x < 60; ++x) colours.push_back(screen.GetPixel(x, y));
        return colours;
    };
    const std::vector<uint32_t> upright = render(VOrientation{});
    for (const VOrientation& o : {VOrientation{-1, 1, 1}, VOrientation{1, -1, 1},
                                  VOrientation{-1, -1, 0}, VOrientation{1, 1, 1}}) {
        SCOPED_TRACE(testing::Message()
                     << o.xdirection << " " << o.ydirection << " " << int(o.swapped));
        EXPECT_EQ(render(o), upright);
    }
}
