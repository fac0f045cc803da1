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
    EXPECT_EQ(BitsPerPixelOf(7), 0);
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
