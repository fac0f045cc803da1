// Gradient rectangles on surfaces stored turned or mirrored, as a display with native layout
// keeps them. The shaded fill walks physical rows and spans: every orientation covers the same
// logical pixels, but each interpolated colour comes from steps truncated toward zero and added
// up from the physical top (rows) and from each span's physical left end, so a colour may land
// one below or above the upright one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "surface_fixture.h"

namespace {

// Colours with equal red and blue, whose raw X888 pixel is the colour value itself.
constexpr uint32_t kBackground = 0x123412;

const VOrientation kOrientations[] = {{1, 1, 0}, {-1, 1, 0}, {1, -1, 0}, {-1, -1, 0},
                                      {1, 1, 1}, {-1, 1, 1}, {1, -1, 1}, {-1, -1, 1}};

std::string Name(const VOrientation& o) {
    return "orientation " + std::to_string(o.xdirection) + "," + std::to_string(o.ydirection) +
           (o.swapped ? " swapped" : "");
}

struct GradientCase {
    uint32_t width, height;
    VRect rect;
    uint32_t topLeft, topRight, bottomLeft, bottomRight;
};

const GradientCase kGradients[] = {
    {8, 256, {0, 0, 8, 256}, 0x000000, 0x000000, 0xFFFFFF, 0xFFFFFF},      // a step per row
    {240, 320, {0, 0, 240, 320}, 0x0000FF, 0xFF0000, 0x00FF00, 0xFFFFFF},  // the whole display
    {64, 48, {3, 5, 60, 41}, 0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF},      // inside the surface
    {300, 7, {-20, -3, 310, 9}, 0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF},   // cut by the clip
};

// The gradient on a surface in the given orientation, drawn over a background colour that no
// gradient of the table takes.
void Draw(VSurfaceServices& services, V2DSurface& s, const GradientCase& g) {
    MakeSurface(services, s, g.width, g.height, VPIXELFORMAT_X888);
    s.FillRect(nullptr, kBackground);
    s.FillGradientRect(&g.rect, g.topLeft, g.topRight, g.bottomLeft, g.bottomRight, 0);
}

int LargestChannelDifference(uint32_t a, uint32_t b) {
    int largest = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        largest = std::max(largest, std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)));
    }
    return largest;
}

TEST(GradientOrientation, SameCoverageAndColoursWithinOneOfTheUprightPicture) {
    for (const GradientCase& g : kGradients) {
        VSurfaceServices uprightServices(VPIXELFORMAT_X888);
        V2DSurface upright;
        Draw(uprightServices, upright, g);
        for (const VOrientation& o : kOrientations) {
            SCOPED_TRACE(Name(o) + ", " + std::to_string(g.width) + " x " +
                         std::to_string(g.height));
            VSurfaceServices services(VPIXELFORMAT_X888);
            services.SetOrientation(o);
            V2DSurface turned;
            Draw(services, turned, g);
            int coverageDiffers = 0, largest = 0;
            for (int32_t y = 0; y < int32_t(g.height); ++y) {
                for (int32_t x = 0; x < int32_t(g.width); ++x) {
                    const uint32_t want = RawPixel(upright, x, y), got = RawPixel(turned, x, y);
                    coverageDiffers += (want == kBackground) != (got == kBackground);
                    largest = std::max(largest, LargestChannelDifference(want, got));
                }
            }
            EXPECT_EQ(coverageDiffers, 0);
            EXPECT_LE(largest, 1);
        }
    }
}

TEST(GradientOrientation, EqualCornersGiveOneColourInEveryOrientation) {
    for (const VOrientation& o : kOrientations) {
        SCOPED_TRACE(Name(o));
        VSurfaceServices services(VPIXELFORMAT_X888);
        services.SetOrientation(o);
        V2DSurface s;
        const GradientCase g{30, 20, {4, 3, 25, 17}, 0x50A050, 0x50A050, 0x50A050, 0x50A050};
        Draw(services, s, g);
        for (int32_t y = 0; y < 20; ++y) {
            for (int32_t x = 0; x < 30; ++x) {
                const bool inside = x >= 4 && x < 25 && y >= 3 && y < 17;
                ASSERT_EQ(RawPixel(s, x, y), inside ? 0x50A050u : kBackground) << x << "," << y;
            }
        }
    }
}

// Black to 0x808080 over 8 rows. The step per row is 128 × 1024 × 512 / 4097 = 16380, a little
// under 16 × 1024. Upright, row y gets 16380 × (y + 1) / 1024, truncated: 15, 31, ... 127. With
// the y axis mirrored the walk starts at the bottom colour, 1/1024 of a pixel above the bottom
// edge (131072 − 16 after the prestep), and subtracts the step, so row y gets
// (131056 − 16380 × (7 − y)) / 1024: 16, 32, 48, 64 where the sum stays above a multiple of
// 1024, then 79, 95, 111, 127.
TEST(GradientOrientation, MirroredRowsAddTheirStepsUpFromTheBottomColour) {
    const uint8_t upright[8] = {0x0F, 0x1F, 0x2F, 0x3F, 0x4F, 0x5F, 0x6F, 0x7F};
    const uint8_t mirrored[8] = {0x10, 0x20, 0x30, 0x40, 0x4F, 0x5F, 0x6F, 0x7F};
    const struct {
        VOrientation orientation;
        const uint8_t* rows;
    } cases[] = {{{1, 1, 0}, upright}, {{-1, 1, 0}, upright}, {{1, -1, 0}, mirrored}};
    for (const auto& c : cases) {
        SCOPED_TRACE(Name(c.orientation));
        VSurfaceServices services(VPIXELFORMAT_X888);
        services.SetOrientation(c.orientation);
        V2DSurface s;
        MakeSurface(services, s, 4, 8, VPIXELFORMAT_X888);
        s.FillGradientRect(nullptr, 0x000000, 0x808080);
        for (int32_t y = 0; y < 8; ++y) {
            const uint32_t grey = c.rows[y];
            EXPECT_EQ(RawPixel(s, 0, y), grey << 16 | grey << 8 | grey) << "row " << y;
            EXPECT_EQ(RawPixel(s, 3, y), RawPixel(s, 0, y)) << "row " << y;
        }
    }
}

}  // namespace
