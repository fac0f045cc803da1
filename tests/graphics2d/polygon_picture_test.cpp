// Draws gradients, shaded, textured and turned pictures in formats 565 and X888 side by side
// and writes them as one PNG for a person to look at: "polygon_picture.png" in the folder
// named by VANE_TEST_PICTURES, or in the test's temporary folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>

#include "graphics2d/polygon_span_loops.h"
#include "graphics2d/transformed_blit.h"
#include "png_writer.h"
#include "surface_fixture.h"

namespace {

constexpr int32_t kWidth = 240, kHeight = 320;

// A 64 × 64 texture: a checker of two blues with a red ring and a black (keyed) corner.
void MakeTexture(V2DSurface& t) {
    for (int32_t y = 0; y < 64; ++y) {
        for (int32_t x = 0; x < 64; ++x) {
            const int32_t dx = x - 32, dy = y - 32, r2 = dx * dx + dy * dy;
            uint32_t c = ((x / 8 + y / 8) & 1) ? 0xC08040 : 0xFFE0A0;
            if (r2 > 20 * 20 && r2 < 26 * 26) c = 0x2020F0;
            if (x < 12 && y < 12) c = 0;
            t.PutPixel(x, y, c);
        }
    }
    t.SetColorKey(0);
}

// A 40 × 24 picture with an arrow pointing right and up, so turns and flips can be read off.
void MakeArrow(V2DSurface& a) {
    a.FillRect(nullptr, 0x30A030);
    const VRect shaft{4, 10, 28, 14};
    a.FillRect(&shaft, 0xFFFFFF);
    for (int32_t i = 0; i < 10; ++i) {
        const VRect head{28 + i, 2 + i, 29 + i, 22 - i};
        a.FillRect(&head, 0xFFFFFF);
    }
    const VRect up{4, 0, 8, 10};  // a post at the tail, pointing up
    a.FillRect(&up, 0x0000FF);
}

void Draw(V2DSurface& s, V2DSurface& texture, V2DSurface& arrow) {
    constexpr int32_t k = 1024;
    s.FillGradientRect(nullptr, 0x401010, 0x104040, 0x102060, 0x000000, VFILL_DITHER);
    // Shaded triangles: dithered and plain, red/green/blue corners.
    s.FillShadedTriangleInt(10, 10, 0x0000FF, 110, 20, 0x00FF00, 30, 100, 0xFF0000, VFILL_DITHER);
    s.FillShadedTriangleInt(130, 10, 0x0000FF, 230, 20, 0x00FF00, 150, 100, 0xFF0000, 0);
    const VRect band{10, 110, 230, 130};
    s.FillGradientRect(&band, 0x000000, 0xFFFFFF);
    // Textured triangles: a quad with an affine map, the key skipped; one at opacity 128.
    s.FillTexturedTriangle(20 * k, 140 * k, 0, 0, 110 * k, 150 * k, 64 * k, 0, 10 * k, 230 * k, 0,
                           64 * k, &texture, BLIT_KEY);
    s.FillTexturedTriangle(110 * k, 150 * k, 64 * k, 0, 100 * k, 225 * k, 64 * k, 64 * k, 10 * k,
                           230 * k, 0, 64 * k, &texture, BLIT_KEY);
    s.FillTexturedTriangleInt(130, 140, 0, 0, 230, 140, 128, 0, 180, 230, 64, 128, &texture,
                              BLIT_OPACITY, 128);
    // Turned arrows: angles 0, 1024, 2048 and 3072 (the last mirrored left-right first) in a
    // square at the bottom left; free angles and scales beside them.
    for (int32_t i = 0; i < 4; ++i) {
        VBlitTransform t;
        t.angle = uint32_t(i) * 1024;
        t.flip = i == 3 ? VFLIP_LEFTRIGHT : 0;
        s.BlitTransformed(30 + (i % 2) * 50, 255 + (i / 2) * 45, &arrow, nullptr, &t);
    }
    VBlitTransform free;
    free.angle = 300;
    free.xscale = free.yscale = 0x18000;
    free.flags = BLIT_KEY;
    s.BlitTransformed(150, 265, &arrow, nullptr, &free);
    free.angle = 3700;
    free.xscale = 0x8000;
    free.yscale = 0x20000;
    free.flags = BLIT_OPACITY;
    free.property = 160;
    s.BlitTransformed(205, 290, &arrow, nullptr, &free);
}

TEST(PolygonPicture, WritesGradientsShadedTexturedAndTurnedDrawings) {
    std::vector<uint8_t> rgb(size_t(kWidth) * 2 * kHeight * 3);
    int panel = 0;
    for (uint8_t format : {VPIXELFORMAT_565, VPIXELFORMAT_X888}) {
        TurningServices services(format);
        V2DSurface s, texture, arrow;
        MakeSurface(services, s, kWidth, kHeight, format);
        MakeSurface(services, texture, 64, 64, format);
        MakeSurface(services, arrow, 40, 24, format);
        MakeTexture(texture);
        MakeArrow(arrow);
        Draw(s, texture, arrow);
        for (int32_t y = 0; y < kHeight; ++y) {
            for (int32_t x = 0; x < kWidth; ++x) {
                const uint32_t c = s.GetPixel(x, y);
                uint8_t* p = &rgb[(size_t(y) * kWidth * 2 + size_t(panel) * kWidth + x) * 3];
                p[0] = uint8_t(c), p[1] = uint8_t(c >> 8), p[2] = uint8_t(c >> 16);
            }
        }
        ++panel;
    }
    const char* folder = std::getenv("VANE_TEST_PICTURES");
    const std::string path =
        (folder != nullptr ? std::string(folder) + "/" : ::testing::TempDir()) +
        "polygon_picture.png";
    ASSERT_TRUE(png_writer::WriteRgb(path, kWidth * 2, kHeight, rgb)) << path;
    std::cout << "picture: " << path << "\n";
}

}  // namespace
