#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "tests/graphics2d/surface_fixture.h"

namespace {

using Points = std::set<std::pair<int, int>>;

Points SetPixels(V2DSurface& s) {
    Points out;
    for (int y = 0; y < int(s.GetHeight()); ++y)
        for (int x = 0; x < int(s.GetWidth()); ++x)
            if (s.GetPixel(x, y) != 0) out.insert({x, y});
    return out;
}

}  // namespace

TEST(DrawLine, EndPoints) {
    struct Case {
        const char* name;
        int x1, y1, x2, y2;
        Points want;
    };
    const Case cases[] = {
        {"shallow", 0, 0, 3, 1, {{0, 0}, {1, 0}, {2, 0}, {3, 1}}},
        {"shallow reversed", 3, 1, 0, 0, {{0, 0}, {1, 0}, {2, 0}, {3, 1}}},
        {"one point", 5, 5, 5, 5, {{5, 5}}},
        {"horizontal right to left", 4, 2, 1, 2, {{1, 2}, {2, 2}, {3, 2}, {4, 2}}},
        {"steep", 1, 0, 2, 3, {{1, 0}, {1, 1}, {1, 2}, {2, 3}}},
        {"diagonal leftwards", 3, 0, 0, 3, {{3, 0}, {2, 1}, {1, 2}, {0, 3}}},
        {"clipped at the edge", -2, 1, 1, 1, {{0, 1}, {1, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VSurfaceServices services(VPIXELFORMAT_565);
        V2DSurface s;
        MakeSurface(services, s, 8, 8, VPIXELFORMAT_565);
        s.DrawLine(c.x1, c.y1, c.x2, c.y2, 0xFFFFFF);
        EXPECT_EQ(SetPixels(s), c.want);
    }
}

TEST(DrawLine, OpacityBlendsEachPixelOnce) {
    VSurfaceServices services(VPIXELFORMAT_X888);
    V2DSurface s;
    MakeSurface(services, s, 8, 8, VPIXELFORMAT_X888);
    s.DrawLine(0, 0, 7, 3, 0xFFFFFF, BLIT_OPACITY, 128);
    for (auto [x, y] : SetPixels(s)) EXPECT_EQ(s.GetPixel(x, y), 0x7F7F7Fu);
}

TEST(DrawHLine, NegativeStartShortensTheLine) {
    VSurfaceServices services(VPIXELFORMAT_565);
    V2DSurface s;
    MakeSurface(services, s, 8, 2, VPIXELFORMAT_565);
    s.DrawHLine(-3, 1, 5, 0xFFFFFF);
    EXPECT_EQ(SetPixels(s), (Points{{0, 1}, {1, 1}}));
    s.DrawHLine(-3, 0, 3, 0xFFFFFF);
    EXPECT_EQ(SetPixels(s).size(), 2u);
}

TEST(FillRect, EffectsPerFormat) {
    struct Case {
        const char* name;
        uint8_t format;
        uint32_t d, colour, flags, property;
        uint32_t out;  // colour value read back
    };
    const Case cases[] = {
        {"128 in X888: white under black", VPIXELFORMAT_X888, 0xFFFFFF, 0, BLIT_OPACITY, 128,
         0x7F7F7F},
        {"fill takes the property colour", VPIXELFORMAT_X888, 0, 0x123456, BLIT_FILL, 0x00FF0000,
         0xFF0000},
        {"add saturates", VPIXELFORMAT_X888, 0x80F010, 0x80F010, BLIT_ADD, 0, 0xFFFF20},
        {"subtract stops at 0", VPIXELFORMAT_X888, 0x80F010, 0x90E010, BLIT_SUBTRACT, 0, 0x001000},
        {"add and subtract cancel", VPIXELFORMAT_X888, 0x808080, 0x102030, BLIT_ADD | BLIT_SUBTRACT,
         0, 0x102030},
        {"add with opacity premultiplies", VPIXELFORMAT_X888, 0x010101, 0xFFFFFF,
         BLIT_ADD | BLIT_OPACITY, 128, 0x808080},
        {"opacity above 255 is whole", VPIXELFORMAT_X888, 0x010101, 0x808080,
         BLIT_ADD | BLIT_OPACITY, 100000, 0x818181},
        {"shift fill 64: d - d/4 + c", VPIXELFORMAT_X888, 0x808080, 0xFFFFFF, BLIT_OPACITY, 64,
         0x9F9F9F},
        {"opacity 100: d * 156 >> 8 + c", VPIXELFORMAT_X888, 0x808080, 0xFFFFFF, BLIT_OPACITY, 100,
         0xB1B1B1},
        // keep factor (256 - 72) >> 3 = 23: (31 * 23) >> 5 = 22, (63 * 23) >> 5 = 45
        {"565 opacity 72 with the 5-bit factor", VPIXELFORMAT_565, 0xF8FCF8, 0, BLIT_OPACITY, 72,
         0xB0B4B0},
        // keep factor (256 - 96) >> 4 = 10: (15 * 10) >> 4 = 9
        {"444 opacity 100 quantised to 96", VPIXELFORMAT_444, 0xF0F0F0, 0, BLIT_OPACITY, 100,
         0x909090},
        {"tint: property scaled by the brightest channel", VPIXELFORMAT_X888, 0, 0x000080,
         BLIT_TINT, 0xFF2040FF, 0x10207F},
        {"mix", VPIXELFORMAT_X888, 0, 0x0000FF, BLIT_MIX, 0x000000FF, 0x0000FE},
        {"8-bit add on the index", VPIXELFORMAT_8, 200, 100, BLIT_ADD, 0, 255},
        {"8-bit opacity is solid", VPIXELFORMAT_8, 200, 7, BLIT_OPACITY, 100, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VSurfaceServices services(c.format);
        V2DSurface s;
        MakeSurface(services, s, 5, 3, c.format);
        s.FillRect(nullptr, c.d);
        const VRect r{1, 1, 4, 2};
        s.FillRect(&r, c.colour, c.flags, c.property);
        EXPECT_EQ(s.GetPixel(2, 1), c.out);
        EXPECT_EQ(s.GetPixel(0, 1), PixelToColor(c.format, ColorToPixel(c.format, c.d)));
        EXPECT_EQ(s.GetPixel(2, 2), PixelToColor(c.format, ColorToPixel(c.format, c.d)));
    }
}

TEST(PutPixel, SinglePixelRule) {
    VSurfaceServices services(VPIXELFORMAT_565);
    V2DSurface s;
    MakeSurface(services, s, 4, 4, VPIXELFORMAT_565);
    s.FillRect(nullptr, 0xF8FCF8);
    // Blends on 8-bit colour values, then converts: (0xF8 * 128 + 0) >> 8 = 0x7C.
    s.PutPixel(1, 1, 0, BLIT_OPACITY, 128);
    EXPECT_EQ(s.GetPixel(1, 1), 0x787C78u);
    const VRect clip{0, 0, 2, 2};
    s.SetClipRect(&clip);
    s.PutPixel(3, 3, 0);
    EXPECT_EQ(s.GetPixel(3, 3), 0xF8FCF8u);  // outside the clip: ignored
    s.PutPixel(-1, 0, 0);
    s.PutPixel(0, 4, 0);
    // GetPixel ignores the clip but not the surface's bounds.
    EXPECT_EQ(s.GetPixel(3, 3), 0xF8FCF8u);
    EXPECT_EQ(s.GetPixel(4, 0), 0u);
    EXPECT_EQ(s.GetPixel(0, -1), 0u);
    V2DSurface empty;
    EXPECT_EQ(empty.GetPixel(0, 0), 0u);
    empty.PutPixel(0, 0, 1);
    empty.FillRect(nullptr, 1);
}

TEST(FillRect, SolidFillOfWholeRowsAndPartialRows) {
    for (uint8_t format : {1, 2, 3, 4, 5, 6}) {
        VSurfaceServices services(format);
        V2DSurface s;
        MakeSurface(services, s, 8, 3, format);  // pitch 8: whole rows in one run
        s.FillRect(nullptr, 0x445566);
        const uint32_t want = PixelToColor(format, ColorToPixel(format, 0x445566));
        EXPECT_EQ(s.GetPixel(7, 2), want);
        const VRect r{-2, 1, 3, 9};
        s.FillRect(&r, 0x112233);
        const uint32_t second = PixelToColor(format, ColorToPixel(format, 0x112233));
        EXPECT_EQ(s.GetPixel(0, 0), want);
        EXPECT_EQ(s.GetPixel(2, 2), second);
        EXPECT_EQ(s.GetPixel(3, 2), want);
    }
}

// Coordinates at the ends of the 32-bit range, on a mirrored and turned display: nothing wraps
// around, a far-reaching line is drawn only where it crosses the surface.
TEST(Primitives, ExtremeCoordinates) {
    const VOrientation orientations[] = {{1, 1, 0}, {-1, -1, 0}, {-1, 1, 1}};
    for (const VOrientation& o : orientations) {
        VSurfaceServices services(VPIXELFORMAT_565);
        services.SetOrientation(o);
        V2DSurface s, src;
        MakeSurface(services, s, 6, 4, VPIXELFORMAT_565);
        MakeSurface(services, src, 3, 3, VPIXELFORMAT_565);
        src.FillRect(nullptr, 0xFFFFFF);
        s.PutPixel(INT32_MIN, INT32_MAX, 0xFFFFFF);
        s.PutPixel(INT32_MAX, INT32_MIN, 0xFFFFFF);
        EXPECT_EQ(s.GetPixel(INT32_MIN, 0), 0u);
        EXPECT_EQ(s.Blit(INT32_MAX, INT32_MIN, &src, nullptr, 0, 0), 4u);
        const VRect far{INT32_MIN, INT32_MIN, INT32_MIN + 1, INT32_MAX};
        EXPECT_EQ(s.Blit(0, 0, &src, &far, 0, 0), 4u);
        s.FillRect(&far, 0xFFFFFF);
        s.DrawHLine(INT32_MAX, 1, INT32_MAX, 0xFFFFFF);
        EXPECT_TRUE(SetPixels(s).empty());
        s.DrawHLine(-10, 1, 100, 0xFFFFFF);
        EXPECT_EQ(SetPixels(s).size(), 6u);
        s.FillRect(nullptr, 0);
        // From far left to far right two rows down: crosses the surface on rows 1 and 2 only.
        s.DrawLine(INT32_MIN, 0, INT32_MAX, 3, 0xFFFFFF);
        const Points drawn = SetPixels(s);
        EXPECT_EQ(drawn.size(), 6u);
        for (auto [x, y] : drawn) EXPECT_TRUE(y == 1 || y == 2);
        s.FillRect(nullptr, 0);
        s.DrawLine(2, INT32_MIN, 2, INT32_MAX, 0xFFFFFF);
        EXPECT_EQ(SetPixels(s), (Points{{2, 0}, {2, 1}, {2, 2}, {2, 3}}));
        const VRect all{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
        s.FillRect(&all, 0xFFFFFF);
        EXPECT_EQ(SetPixels(s).size(), 24u);
    }
}
