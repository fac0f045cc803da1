#include <gtest/gtest.h>

#include "graphics2d/pixel_format.h"
#include "tests/graphics2d/surface_fixture.h"

TEST(PixelFormat, ColourToPixelPerFormat) {
    struct Case {
        uint8_t format;
        uint32_t colour, pixel, back;
    };
    const Case cases[] = {
        {VPIXELFORMAT_8, 0x00000017, 0x17, 0x17},
        {VPIXELFORMAT_444, 0x00336699, 0x963, 0x00306090},
        {VPIXELFORMAT_555, 0x00336699, 0x4D86, 0x00306098},
        {VPIXELFORMAT_565, 0x00336699, 0x9B26, 0x00306498},
        {VPIXELFORMAT_888, 0x00336699, 0x996633, 0x00336699},
        {VPIXELFORMAT_X888, 0x00336699, 0x996633, 0x00336699},
        // Bits 24-31 are dropped; no replication of high bits into low bits on the way back.
        {VPIXELFORMAT_565, 0xFFFFFFFF, 0xFFFF, 0x00F8FCF8},
        {VPIXELFORMAT_X888, 0xAB010203, 0x030201, 0x00010203},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.format));
        EXPECT_EQ(ColorToPixel(c.format, c.colour), c.pixel);
        EXPECT_EQ(PixelToColor(c.format, c.pixel), c.back);
    }
}

// What the traits say of each format at run time, and how a screen mode finds its format. Every
// answer for a code that names no format is 0, so no caller can mistake it for a 16-bit one.
TEST(PixelFormat, LayoutOpacityStepAndScreenMatch) {
    struct Case {
        uint8_t format;
        VFormatLayout layout;
        uint32_t opacityStep;
    };
    const Case cases[] = {
        {VPIXELFORMAT_8, {8, 0, 0, 0}, 1},
        {VPIXELFORMAT_444, {16, 4, 4, 4}, 16},
        {VPIXELFORMAT_555, {16, 5, 5, 5}, 8},
        {VPIXELFORMAT_565, {16, 5, 6, 5}, 8},
        {VPIXELFORMAT_888, {24, 8, 8, 8}, 1},
        {VPIXELFORMAT_X888, {32, 8, 8, 8}, 1},
        {0, {0, 0, 0, 0}, 1},
        {7, {0, 0, 0, 0}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.format));
        const VFormatLayout l = FormatLayoutOf(c.format);
        EXPECT_EQ(l.bitsPerPixel, c.layout.bitsPerPixel);
        EXPECT_EQ(BitsPerPixelOf(c.format), c.layout.bitsPerPixel);
        EXPECT_EQ(l.redBits, c.layout.redBits);
        EXPECT_EQ(l.greenBits, c.layout.greenBits);
        EXPECT_EQ(l.blueBits, c.layout.blueBits);
        EXPECT_EQ(OpacityStepOf(c.format), c.opacityStep);
        if (c.layout.bitsPerPixel != 0) {
            EXPECT_EQ(FormatOfLayout(c.layout), c.format);
        }
    }
    // A size that one format has alone needs no channel widths; a shared size needs them.
    EXPECT_EQ(FormatOfLayout({32, 0, 0, 0}), VPIXELFORMAT_X888);
    EXPECT_EQ(FormatOfLayout({8, 0, 0, 0}), VPIXELFORMAT_8);
    EXPECT_EQ(FormatOfLayout({16, 6, 5, 5}), 0);
    EXPECT_EQ(FormatOfLayout({16, 0, 0, 0}), 0);
    EXPECT_EQ(FormatOfLayout({15, 5, 5, 5}), 0);
}

// A picture meant to be looked at widens each channel by repeating its top bits, as screens do:
// the largest value of any width is 255.
TEST(PixelFormat, ShownColourRepeatsTheTopBits) {
    EXPECT_EQ(PixelToShownColor(VPIXELFORMAT_565, 0xFFFF), 0x00FFFFFFu);
    EXPECT_EQ(PixelToShownColor(VPIXELFORMAT_444, 0x0FFF), 0x00FFFFFFu);
    EXPECT_EQ(PixelToShownColor(VPIXELFORMAT_555, 0x7FFF), 0x00FFFFFFu);
    // 5-6-5 0x9B26: red 10011, green 011001, blue 00110 become 10011100, 01100101, 00110001.
    EXPECT_EQ(PixelToShownColor(VPIXELFORMAT_565, 0x9B26), 0x0031659Cu);
    // 4-4-4 0x963: 0x99, 0x66, 0x33 exactly.
    EXPECT_EQ(PixelToShownColor(VPIXELFORMAT_444, 0x963), 0x00336699u);
    EXPECT_EQ(PixelToShownColor(VPIXELFORMAT_X888, 0xFF123456), 0x00563412u);
    EXPECT_EQ(PixelToShownColor(VPIXELFORMAT_8, 0x17), 0x17u);
}

TEST(PixelFormat, GetPixelReadsBackQuantisedColour) {
    const uint8_t formats[] = {2, 3, 4, 5, 6};
    const uint32_t expected[] = {0x00306090, 0x00306098, 0x00306498, 0x00336699, 0x00336699};
    for (int i = 0; i < 5; ++i) {
        VSurfaceServices services(formats[i]);
        V2DSurface s;
        MakeSurface(services, s, 3, 2, formats[i]);
        s.PutPixel(1, 1, 0x00336699);
        EXPECT_EQ(s.GetPixel(1, 1), expected[i]) << int(formats[i]);
        EXPECT_EQ(RawPixel(s, 1, 1), ColorToPixel(formats[i], 0x00336699));
    }
}
