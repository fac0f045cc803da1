// Triangle fills: the fill rule, shared sides, degenerate triangles, clipping that keeps the
// gradient, shading and dithering, and textured spans against the blit rule.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "graphics2d/polygon_span_loops.h"
#include "graphics2d/transformed_blit.h"
#include "surface_fixture.h"

namespace {

constexpr int32_t kOne = 1024;

// Every raw pixel of a surface, row by row in logical order.
std::vector<uint32_t> Pixels(V2DSurface& s) {
    std::vector<uint32_t> out;
    for (uint32_t y = 0; y < s.GetHeight(); ++y)
        for (uint32_t x = 0; x < s.GetWidth(); ++x)
            out.push_back(RawPixel(s, int32_t(x), int32_t(y)));
    return out;
}

// A texture of distinct-looking pixels.
void Pattern(V2DSurface& s, uint32_t seed) {
    std::mt19937 rng(seed);
    for (uint32_t y = 0; y < s.GetHeight(); ++y)
        for (uint32_t x = 0; x < s.GetWidth(); ++x)
            s.PutPixel(int32_t(x), int32_t(y), rng() & 0xFFFFFF);
}

// Also with the x axis mirrored, which covers the same logical pixels. (A mirrored y axis
// samples each row 1/1024 of a pixel above its lower boundary, where a side crossing a pixel
// corner exactly may round to the other pixel.)
TEST(PolygonFill, WholePixelTriangleSamplesEachRowAtItsLowerBoundary) {
    const VOrientation orientations[] = {{1, 1, 0}, {-1, 1, 0}};
    for (const VOrientation& o : orientations) {
        VSurfaceServices services(VPIXELFORMAT_X888);
        services.SetOrientation(o);
        V2DSurface s;
        MakeSurface(services, s, 20, 20, VPIXELFORMAT_X888);
        s.FillTriangle(0, 0, 10 * kOne, 0, 0, 10 * kOne, 0xFFFFFF);
        int count = 0;
        for (int32_t y = 0; y < 20; ++y) {
            for (int32_t x = 0; x < 20; ++x) {
                const bool inside = y <= 8 && x <= 8 - y;
                EXPECT_EQ(RawPixel(s, x, y) != 0, inside)
                    << x << "," << y << " orientation " << o.xdirection << "," << o.ydirection;
                count += RawPixel(s, x, y) != 0;
            }
        }
        EXPECT_EQ(count, 45);
    }
}

// Draws a triangle adding 1 to every pixel it covers, so that a pixel's value counts the
// triangles that drew it.
void Count(V2DSurface& s, const int32_t (&t)[6]) {
    s.FillTriangle(t[0], t[1], t[2], t[3], t[4], t[5], 1, BLIT_ADD);
}

int64_t Side(int64_t ax, int64_t ay, int64_t bx, int64_t by, int64_t px, int64_t py) {
    return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
}

TEST(PolygonFill, TrianglesSharingASideCoverEachPixelOnce) {
    VSurfaceServices services(VPIXELFORMAT_X888);
    V2DSurface s;
    MakeSurface(services, s, 64, 64, VPIXELFORMAT_X888);
    std::mt19937 rng(7);
    auto coordinate = [&] { return int32_t(rng() % (84 * kOne)) - 10 * kOne; };
    int overdrawn = 0, pairs = 0, convex = 0, mismatched = 0;  // mismatched counts pixels
    while (pairs < 1500) {
        const int32_t ax = coordinate(), ay = coordinate(), bx = coordinate(), by = coordinate();
        int32_t cx = coordinate(), cy = coordinate(), dx = coordinate(), dy = coordinate();
        const int64_t sc = Side(ax, ay, bx, by, cx, cy), sd = Side(ax, ay, bx, by, dx, dy);
        if (sc == 0 || sd == 0 || (sc > 0) == (sd > 0)) continue;  // C and D on opposite sides
        ++pairs;
        s.FillRect(nullptr, 0);
        Count(s, {ax, ay, bx, by, cx, cy});
        Count(s, {bx, by, ax, ay, dx, dy});
        const std::vector<uint32_t> first = Pixels(s);
        for (uint32_t v : first) overdrawn += (v >> 16) > 1;
        // A convex quadrilateral covers the same pixels whichever diagonal splits it, except
        // where a sliver's sides lie closer than the rounding of their slopes.
        const int64_t sa = Side(cx, cy, dx, dy, ax, ay), sb = Side(cx, cy, dx, dy, bx, by);
        if (sa != 0 && sb != 0 && (sa > 0) != (sb > 0)) {
            ++convex;
            s.FillRect(nullptr, 0);
            Count(s, {cx, cy, dx, dy, ax, ay});
            Count(s, {dx, dy, cx, cy, bx, by});
            const std::vector<uint32_t> second = Pixels(s);
            for (size_t i = 0; i < first.size(); ++i) mismatched += first[i] != second[i];
        }
    }
    EXPECT_EQ(overdrawn, 0) << "pixels drawn twice over " << pairs << " pairs";
    EXPECT_GT(convex, 100);
    EXPECT_LE(mismatched, convex / 100) << "pixels differ over " << convex << " quadrilaterals";
}

TEST(PolygonFill, DegenerateTrianglesFillNothing) {
    VSurfaceServices services(VPIXELFORMAT_X888);
    V2DSurface s;
    MakeSurface(services, s, 64, 64, VPIXELFORMAT_X888);
    V2DSurface texture;
    MakeSurface(services, texture, 8, 8, VPIXELFORMAT_X888);
    Pattern(texture, 3);
    struct Case {
        int32_t x1, y1, x2, y2, x3, y3;
    };
    const Case cases[] = {
        {5 * kOne, 5 * kOne, 5 * kOne, 5 * kOne, 5 * kOne, 5 * kOne},    // one point
        {0, 0, 40 * kOne, 40 * kOne, 20 * kOne, 20 * kOne},              // on one line
        {3 * kOne, 1 * kOne, 50 * kOne, 50 * kOne, 3 * kOne, 1 * kOne},  // two equal vertices
        {7 * 900, 3 * 900, 7 * 8000, 3 * 8000, 7 * 3000, 3 * 3000},      // slope 3/7
        {0, 10 * kOne + 100, 60 * kOne, 10 * kOne + 900, 30 * kOne, 10 * kOne + 400},  // one row
    };
    for (const Case& c : cases) {
        s.FillTriangle(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, 0xFFFFFF);
        s.FillShadedTriangle(c.x1, c.y1, 0xFF, c.x2, c.y2, 0xFF00, c.x3, c.y3, 0xFF0000);
        s.FillTexturedTriangle(c.x1, c.y1, 0, 0, c.x2, c.y2, 8 * kOne, 0, c.x3, c.y3, 0, 8 * kOne,
                               &texture);
    }
    for (uint32_t v : Pixels(s)) ASSERT_EQ(v, 0u);
}

TEST(PolygonFill, TwoVerticesOnOneRowGiveSpansFromTheOtherSides) {
    VSurfaceServices services(VPIXELFORMAT_X888);
    V2DSurface s;
    MakeSurface(services, s, 20, 20, VPIXELFORMAT_X888);
    // Flat top from x 2 to 12 and apex at (7, 10): the top side adds nothing; row r runs
    // between the slanted sides at y = r + 1, row 0 from x 2.5 to 11.5, row 9 from 6.5 to 7.5.
    s.FillTriangle(2 * kOne, 0, 12 * kOne, 0, 7 * kOne, 10 * kOne, 0xFFFFFF);
    auto row = [&](int32_t y) {
        std::vector<int32_t> xs;
        for (int32_t x = 0; x < 20; ++x)
            if (RawPixel(s, x, y) != 0) xs.push_back(x);
        return xs;
    };
    EXPECT_EQ(row(0), (std::vector<int32_t>{2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(row(9), (std::vector<int32_t>{6}));
    EXPECT_TRUE(row(10).empty());
}

// Draws the same shaded, textured and turned drawings with clip rectangles cut at each edge;
// inside the clip every pixel must equal the unclipped drawing.
TEST(PolygonFill, ClippingAtEveryEdgeKeepsTheGradient) {
    for (uint8_t format : {VPIXELFORMAT_X888, VPIXELFORMAT_565}) {
        TurningServices services(format);
        V2DSurface s, texture;
        MakeSurface(services, s, 64, 48, format);
        MakeSurface(services, texture, 37, 23, format);
        Pattern(texture, 11);
        auto draw = [&] {
            s.FillShadedTriangle(-9 * kOne + 300, -7 * kOne, 0x0000FF, 75 * kOne, 5 * kOne + 77,
                                 0x00FF00, 20 * kOne + 512, 60 * kOne, 0xFF8020);
            s.FillTexturedTriangle(-20 * kOne, 30 * kOne, 0, 0, 70 * kOne + 99, -10 * kOne,
                                   100 * kOne, 13 * kOne, 50 * kOne, 55 * kOne, -30 * kOne,
                                   45 * kOne, &texture, BLIT_OPACITY, 160);
            VBlitTransform t;
            t.angle = 333;
            t.xscale = 0x1C000;
            t.yscale = 0x24000;
            s.BlitTransformed(30, 20, &texture, nullptr, &t);
        };
        s.SetClipRect(nullptr);
        s.FillRect(nullptr, 0);
        draw();
        const std::vector<uint32_t> whole = Pixels(s);
        const VRect clips[] = {{13, 0, 64, 48}, {0, 0, 41, 48}, {0, 9, 64, 48},
                               {0, 0, 64, 30},  {7, 5, 50, 33}, {63, 47, 64, 48}};
        for (const VRect& c : clips) {
            s.SetClipRect(nullptr);
            s.FillRect(nullptr, 0);
            s.SetClipRect(&c);
            draw();
            const std::vector<uint32_t> clipped = Pixels(s);
            int wrong = 0;
            for (int32_t y = 0; y < 48; ++y) {
                for (int32_t x = 0; x < 64; ++x) {
                    const bool inside = x >= c.left && x < c.right && y >= c.top && y < c.bottom;
                    const uint32_t want = inside ? whole[size_t(y) * 64 + x] : 0;
                    wrong += clipped[size_t(y) * 64 + x] != want;
                }
            }
            EXPECT_EQ(wrong, 0) << "format " << int(format) << " clip " << c.left << "," << c.top
                                << "," << c.right << "," << c.bottom;
        }
    }
}

TEST(PolygonFill, GradientRectangles) {
    VSurfaceServices services(VPIXELFORMAT_565);
    V2DSurface s;
    MakeSurface(services, s, 40, 30, VPIXELFORMAT_X888);
    // Equal corners fill the rectangle with that colour, and nothing else.
    const VRect r{3, 4, 33, 24};
    s.FillGradientRect(&r, 0x336699, 0x336699, 0x336699, 0x336699, 0);
    for (int32_t y = 0; y < 30; ++y)
        for (int32_t x = 0; x < 40; ++x)
            ASSERT_EQ(RawPixel(s, x, y),
                      x >= r.left && x < r.right && y >= r.top && y < r.bottom ? 0x996633u : 0u)
                << x << "," << y;
    // The two-colour form is vertical: every row has one colour, and red climbs downwards.
    s.FillGradientRect(nullptr, 0x000000, 0x0000FF);
    uint32_t previous = 0;
    for (int32_t y = 0; y < 30; ++y) {
        const uint32_t row = RawPixel(s, 0, y);
        for (int32_t x = 1; x < 40; ++x) ASSERT_EQ(RawPixel(s, x, y), row);
        EXPECT_EQ(row & 0x00FFFF, 0u);
        EXPECT_GE(row, previous);
        previous = row;
    }
    EXPECT_GT(previous >> 16, 0xF0u);
}

TEST(PolygonFill, DitherThresholdsFollowEachChannelWidth) {
    VSurfaceServices services(VPIXELFORMAT_565);
    V2DSurface s;
    MakeSurface(services, s, 16, 16, VPIXELFORMAT_565);
    struct Case {
        uint32_t colour;
        uint32_t lowest, highest;  // of the green field over the filled pixels
    };
    // Green 0xFB is left alone (not dithered up to 63); 0xFA is, to 63 in some places.
    const Case cases[] = {{0x00FB00, 62, 62}, {0x00FA00, 62, 63}, {0x000300, 0, 1}};
    for (const Case& c : cases) {
        s.FillRect(nullptr, 0);
        s.FillGradientRect(nullptr, c.colour, c.colour, VFILL_DITHER);
        uint32_t lo = 255, hi = 0;
        for (int32_t y = 0; y < 16; ++y) {
            for (int32_t x = 0; x < 16; ++x) {
                const uint32_t g = (RawPixel(s, x, y) >> 5) & 0x3F;
                lo = std::min(lo, g), hi = std::max(hi, g);
            }
        }
        EXPECT_EQ(lo, c.lowest) << std::hex << c.colour;
        EXPECT_EQ(hi, c.highest) << std::hex << c.colour;
    }
}

// Shaded colours have no palette index of their own; on a palette surface each pixel takes
// the display palette's nearest entry.
TEST(PolygonFill, ShadedFillOnPaletteSurfacesTakesTheNearestEntry) {
    VSurfaceServices services(VPIXELFORMAT_8);
    const uint32_t entries[3] = {0x0000FF, 0x00FF00, 0xFF0000};
    services.Palette().SetEntries(entries, 1, 3);
    V2DSurface s;
    MakeSurface(services, s, 16, 16, VPIXELFORMAT_8);
    const VRect left{0, 0, 8, 16}, right{8, 0, 16, 16};
    s.FillGradientRect(&left, 0x0000F0, 0x0000F0);
    s.FillGradientRect(&right, 0xF00000, 0xF00000);
    for (int32_t y = 0; y < 16; ++y) {
        for (int32_t x = 0; x < 16; ++x) ASSERT_EQ(RawPixel(s, x, y), x < 8 ? 1u : 3u);
    }
}

// The square-texture variant addresses texels by mask and shift; over random spans in every
// kind it writes the same bytes as the general one.
template <class T>
void CompareSquareAndGeneral(uint32_t side) {
    std::mt19937 rng(side);
    std::vector<uint8_t> texels(size_t(side) * side * T::kBytes);
    for (auto& b : texels) b = uint8_t(rng() % 4 == 0 ? 0 : rng());
    VTexture t{texels.data(), side, side, side, uint32_t(T::kBytes)};
    const uint32_t shift = SquareTextureShift(t);
    ASSERT_NE(shift, 0u);
    const VTexelSquare square{texels.data(), side - 1, shift, uint32_t(T::kBytes)};
    const VTexelAnySize any{t};
    for (uint32_t flags : {0u, BLIT_KEY, BLIT_KEY | BLIT_OPACITY, BLIT_ADD, BLIT_TINT, BLIT_MIX}) {
        for (int n = 0; n < 50; ++n) {
            VSpan s;
            s.left = 0;
            s.right = int32_t(rng() % 200);
            s.value[0] = int64_t(rng()) - (1ll << 31);
            s.value[1] = int64_t(rng() % (1u << 24)) - (1 << 23);
            s.step[0] = int32_t(rng() % 8000) - 4000;
            s.step[1] = int32_t(rng() % 8000) - 4000;
            VBlitParams p;
            p.key = T::Load(texels.data());
            p.colour = rng() & 0xFFFFFF;
            p.pixel = EffectPixelOf<T>(p.colour, flags);
            p.opacity = 96;
            std::vector<uint8_t> a(size_t(s.Count()) * T::kBytes), b;
            for (auto& x : a) x = uint8_t(rng());
            b = a;
            TexturedSpanFor<T>(flags, a.data(), s, square, p);
            TexturedSpanFor<T>(flags, b.data(), s, any, p);
            ASSERT_EQ(a, b) << "side " << side << " flags " << flags;
        }
    }
}

TEST(PolygonFill, SquareTextureVariantsMatchTheGeneralSpans) {
    for (uint32_t side : {64u, 128u, 256u, 512u, 1024u}) {
        CompareSquareAndGeneral<VFormatX888>(side);
        CompareSquareAndGeneral<VFormat565>(side);
    }
    CompareSquareAndGeneral<VFormat8>(64);
    CompareSquareAndGeneral<VFormat888>(128);
    CompareSquareAndGeneral<VFormat444>(256);
    VTexture odd{nullptr, 64, 64, 68, 4};
    EXPECT_EQ(SquareTextureShift(odd), 0u);
}

// A textured quadrilateral mapping texels one to one runs every effect through the same rule
// as the general Blit loop (the display here has another format, so Blit uses no fast loop).
TEST(PolygonFill, TexturedSpansApplyTheBlitRule) {
    struct Case {
        uint32_t flags, property;
    };
    const Case cases[] = {
        {0, 0},
        {BLIT_KEY, 0},
        {BLIT_OPACITY, 100},
        {BLIT_OPACITY | BLIT_KEY, 200},
        {BLIT_ADD, 0},
        {BLIT_SUBTRACT | BLIT_KEY, 0},
        {BLIT_ADD | BLIT_OPACITY, 77},
        {BLIT_TINT, 0x8040C0FF},
        {BLIT_MIX | BLIT_KEY, 0xFF20A040},
        {BLIT_FILL | BLIT_KEY, 0x00FFFF00},
        {BLIT_MIX | BLIT_OPACITY, 0x80102030},
    };
    for (uint8_t format : {VPIXELFORMAT_8, VPIXELFORMAT_444, VPIXELFORMAT_555, VPIXELFORMAT_565,
                           VPIXELFORMAT_888, VPIXELFORMAT_X888}) {
        TurningServices services(format == VPIXELFORMAT_X888 ? VPIXELFORMAT_565
                                                             : VPIXELFORMAT_X888);
        V2DSurface a, b, src;
        MakeSurface(services, a, 40, 30, format);
        MakeSurface(services, b, 40, 30, format);
        MakeSurface(services, src, 13, 9, format);
        std::mt19937 rng(format);
        for (int32_t y = 0; y < 9; ++y)
            for (int32_t x = 0; x < 13; ++x)
                SetRawPixel(src, x, y, rng() % 5 == 0 ? 0 : ColorToPixel(format, rng()));
        src.SetColorKey(0);
        for (const Case& c : cases) {
            for (V2DSurface* d : {&a, &b}) {
                std::mt19937 background(99);
                for (int32_t y = 0; y < 30; ++y)
                    for (int32_t x = 0; x < 40; ++x)
                        SetRawPixel(*d, x, y, ColorToPixel(format, background()));
            }
            VBlitTransform t;
            t.flags = c.flags;
            t.property = c.property;
            EXPECT_EQ(a.BlitTexturedQuad(20, 15, &src, nullptr, t), 0u);
            EXPECT_EQ(b.Blit(20 - 6, 15 - 4, &src, nullptr, c.flags, c.property), 0u);
            EXPECT_EQ(Pixels(a), Pixels(b)) << "format " << int(format) << " flags " << c.flags;
        }
    }
}

TEST(PolygonFill, TexturedTrianglesWrapTheTextureAndSkipOtherFormats) {
    VSurfaceServices services(VPIXELFORMAT_X888);
    V2DSurface s, texture, other;
    MakeSurface(services, s, 32, 32, VPIXELFORMAT_X888);
    MakeSurface(services, texture, 5, 3, VPIXELFORMAT_X888);
    MakeSurface(services, other, 5, 3, VPIXELFORMAT_565);
    Pattern(texture, 5);
    Pattern(other, 5);
    // Texture coordinates equal to the pixel positions, so each pixel takes texel (x mod 5,
    // y mod 3); the triangle covers the upper-left half of the surface.
    s.FillTexturedTriangleInt(0, 0, 0, 0, 32, 0, 32, 0, 0, 32, 0, 32, &texture);
    for (int32_t y = 0; y < 30; ++y)
        for (int32_t x = 0; x + y < 30; ++x)
            ASSERT_EQ(RawPixel(s, x, y), RawPixel(texture, x % 5, y % 3)) << x << "," << y;
    s.FillRect(nullptr, 0);
    s.FillTexturedTriangleInt(0, 0, 0, 0, 32, 0, 32, 0, 0, 32, 0, 32, &other);
    for (uint32_t v : Pixels(s)) ASSERT_EQ(v, 0u);
}

}  // namespace
