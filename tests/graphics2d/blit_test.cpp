#include <gtest/gtest.h>

#include "tests/graphics2d/surface_fixture.h"

namespace {

// Destination and source of one format, the source filled with distinct pixels.
struct BlitPair {
    explicit BlitPair(uint8_t format, uint32_t w = 20, uint32_t h = 10, uint32_t sw = 20,
                      uint32_t sh = 10)
        : services(format) {
        MakeSurface(services, dst, w, h, format);
        MakeSurface(services, src, sw, sh, format);
    }
    VSurfaceServices services;
    V2DSurface dst, src;
};

}  // namespace

TEST(BlitClip, EveryEdge) {
    struct Case {
        const char* name;
        int32_t x, y;
        VRect source;
        VRect clip;
        uint32_t result;
        // destination area drawn, and the source pixel that lands on its top-left
        VRect drawn;
        int32_t sx, sy;
    };
    const VRect all{0, 0, 40, 30};
    const Case cases[] = {
        {"left: x = -5", -5, 0, {0, 0, 20, 10}, all, 0, {0, 0, 15, 10}, 5, 0},
        {"top", 3, -4, {0, 0, 20, 10}, all, 0, {3, 0, 23, 6}, 0, 4},
        {"right", 30, 2, {0, 0, 20, 10}, all, 0, {30, 2, 40, 12}, 0, 0},
        {"bottom", 0, 25, {0, 0, 20, 10}, all, 0, {0, 25, 20, 30}, 0, 0},
        {"one column at clip right", 39, 0, {0, 0, 10, 10}, all, 0, {39, 0, 40, 10}, 0, 0},
        {"source left negative", 4, 0, {-3, 0, 5, 2}, all, 0, {7, 0, 12, 2}, 0, 0},
        {"source beyond its right", 0, 0, {15, 5, 30, 20}, all, 0, {0, 0, 5, 5}, 15, 5},
        {"clip left and top", 0, 0, {0, 0, 20, 10}, {5, 6, 40, 30}, 0, {5, 6, 20, 10}, 5, 6},
        {"at clip right", 40, 0, {0, 0, 20, 10}, all, 4, {}, 0, 0},
        {"at clip bottom", 0, 30, {0, 0, 20, 10}, all, 4, {}, 0, 0},
        {"left of everything", -20, 0, {0, 0, 20, 10}, all, 4, {}, 0, 0},
        {"empty source", 0, 0, {5, 5, 5, 9}, all, 4, {}, 0, 0},
        {"source wholly outside", 0, 0, {20, 0, 30, 10}, all, 4, {}, 0, 0},
    };
    const VOrientation orientations[] = {{1, 1, 0}, {-1, 1, 0}, {1, -1, 1}, {-1, -1, 1}};
    for (const VOrientation& o : orientations) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << " orientation " << o.xdirection << " "
                                            << o.ydirection << " " << int(o.swapped));
            VSurfaceServices services(VPIXELFORMAT_X888);
            services.SetOrientation(o);
            V2DSurface dst, src;
            MakeSurface(services, dst, 40, 30, VPIXELFORMAT_X888);
            MakeSurface(services, src, 20, 10, VPIXELFORMAT_X888);
            for (int y = 0; y < 10; ++y)
                for (int x = 0; x < 20; ++x) src.PutPixel(x, y, 0x010000 | y << 8 | x);
            dst.SetClipRect(&c.clip);
            ASSERT_EQ(dst.Blit(c.x, c.y, &src, &c.source, 0, 0), c.result);
            for (int y = 0; y < 30; ++y) {
                for (int x = 0; x < 40; ++x) {
                    const bool in = x >= c.drawn.left && x < c.drawn.right && y >= c.drawn.top &&
                                    y < c.drawn.bottom;
                    const uint32_t want =
                        in ? 0x010000 | (c.sy + y - c.drawn.top) << 8 | (c.sx + x - c.drawn.left)
                           : 0;
                    ASSERT_EQ(dst.GetPixel(x, y), want) << x << "," << y;
                }
            }
        }
    }
}

TEST(BlitResult, NotCreatedAndFillWithoutReadingTheSource) {
    BlitPair p(VPIXELFORMAT_565);
    V2DSurface empty;
    empty.SetOwner(&p.services);
    EXPECT_EQ(p.dst.Blit(0, 0, &empty, nullptr, 0, 0), 1u);
    EXPECT_EQ(empty.Blit(0, 0, &p.src, nullptr, 0, 0), 1u);
    EXPECT_EQ(p.dst.Blit(0, 0, nullptr, nullptr, 0, 0), 1u);

    // BLIT_FILL alone fills a rectangle of the source rectangle's size with the property colour,
    // even where that rectangle lies outside the source.
    FillRaw(p.src, 0x1234);
    const VRect r{15, 8, 19, 12};
    EXPECT_EQ(p.dst.Blit(2, 3, &p.src, &r, BLIT_FILL, 0x0000FF), 0u);
    EXPECT_EQ(p.dst.GetPixel(2, 3), 0xF8u);
    EXPECT_EQ(p.dst.GetPixel(5, 6), 0xF8u);
    EXPECT_EQ(p.dst.GetPixel(6, 3), 0u);
    EXPECT_EQ(p.dst.GetPixel(2, 7), 0u);
}

TEST(BlitEffects, OpacityNormalisation) {
    struct Case {
        const char* name;
        uint32_t flags, property, result;
        uint32_t out;  // d = 0x0000 (black), s = 0xFFFF (white) in 565
    };
    const Case cases[] = {
        {"255 is a plain copy", BLIT_OPACITY, 255, 0, 0xFFFF},
        {"7 quantises to nothing", BLIT_OPACITY, 7, 10, 0},
        {"12 blends as 8", BLIT_OPACITY, 12, 0, 0x0020},  // 5-bit factor 1: 31 >> 5, 63 >> 5
        {"256 counts as 0 in Blit", BLIT_OPACITY, 256, 10, 0},
        {"add and subtract cancel", BLIT_ADD | BLIT_SUBTRACT, 0, 0, 0xFFFF},
        {"opacity from the top byte with a colour flag", BLIT_OPACITY | BLIT_FILL,
         0x80000000 | 0xFFFFFF, 0, 0x7BEF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BlitPair p(VPIXELFORMAT_565, 4, 4, 4, 4);
        FillRaw(p.src, 0xFFFF);
        EXPECT_EQ(p.dst.Blit(0, 0, &p.src, nullptr, c.flags, c.property), c.result);
        EXPECT_EQ(RawPixel(p.dst, 3, 3), c.out);
    }
    // The same property 256 fills opaquely in FillRect.
    BlitPair p(VPIXELFORMAT_565, 4, 4, 4, 4);
    p.dst.FillRect(nullptr, 0xFFFFFF, BLIT_OPACITY, 256);
    EXPECT_EQ(RawPixel(p.dst, 0, 0), 0xFFFFu);
    // Opacity 12 fills as 8: white premultiplied by 8 is 7 per channel, which 565 drops to
    // (0, 1, 0); by 12 it would be 11, i.e. (1, 2, 1).
    BlitPair q(VPIXELFORMAT_565, 4, 4, 4, 4);
    q.dst.FillRect(nullptr, 0xFFFFFF, BLIT_OPACITY, 12);
    EXPECT_EQ(RawPixel(q.dst, 0, 0), 0x0020u);
    q.dst.FillRect(nullptr, 0xFFFFFF, BLIT_OPACITY, 7);
    EXPECT_EQ(RawPixel(q.dst, 0, 0), 0x0020u);  // 7 quantises to nothing: unchanged
}

TEST(BlitEffects, ShiftOpacitiesOnTheDisplayFormatAndOffIt) {
    // Opacity 128 onto X888: on the display's format the shift loop, s - (s >> 1) + (d >> 1);
    // while the display has another format the blend (d * 128 + s * 128) >> 8.
    const uint32_t s = 0x030507, d = 0;
    const uint32_t shift = s - ((s >> 1) & 0x7F7F7F) + ((d >> 1) & 0x7F7F7F);
    const uint32_t blend = 0x010203;
    ASSERT_NE(shift, blend);
    for (uint8_t display : {VPIXELFORMAT_X888, VPIXELFORMAT_565}) {
        VSurfaceServices services(display);
        V2DSurface a, b;
        MakeSurface(services, a, 4, 1, VPIXELFORMAT_X888);
        MakeSurface(services, b, 4, 1, VPIXELFORMAT_X888);
        FillRaw(a, d);
        FillRaw(b, s);
        ASSERT_EQ(a.Blit(0, 0, &b, nullptr, BLIT_OPACITY, 128), 0u);
        EXPECT_EQ(RawPixel(a, 0, 0), display == VPIXELFORMAT_X888 ? shift : blend);
    }
    // Every shift opacity on 565, per channel s - (s >> k) + (d >> k) or d - (d >> k) + (s >> k).
    struct Case {
        uint32_t opacity, out;
    };
    // s = white 0xFFFF (31, 63, 31), d = 0x0000.
    const Case cases[] = {
        {128, 0x8410},  // 31-15, 63-31, 31-15 = 16, 32, 16
        {192, 0xC618},  // 31-7 = 24, 63-15 = 48
        {224, 0xE71C},  // 31-3 = 28, 63-7 = 56
        {240, 0xF79E},  // 31-1 = 30, 63-3 = 60
        {64, 0x39E7},   // 31>>2 = 7, 63>>2 = 15
        {32, 0x18E3},   // 3, 7
        {16, 0x0861},   // 1, 3
    };
    for (const Case& c : cases) {
        BlitPair p(VPIXELFORMAT_565, 4, 1, 4, 1);
        FillRaw(p.src, 0xFFFF);
        ASSERT_EQ(p.dst.Blit(0, 0, &p.src, nullptr, BLIT_OPACITY, c.opacity), 0u);
        EXPECT_EQ(RawPixel(p.dst, 1, 0), c.out) << c.opacity;
    }
}

TEST(BlitEffects, RulePerEffectIn565) {
    // d = 0x8410 (16, 32, 16), s = 0x4208 (8, 16, 8), key 0x4208 where flagged.
    struct Case {
        const char* name;
        uint32_t flags, property, out;
    };
    const Case cases[] = {
        {"plain", 0, 0, 0x4208},
        {"key skips", BLIT_KEY, 0, 0x8410},
        {"fill", BLIT_FILL, 0x0000FF, 0xF800},
        {"mix", BLIT_MIX, 0x0000FF, 0x2104 + 0x7800},  // (8>>1)+(31>>1), (16>>1)+0, 4+0
        {"tint", BLIT_TINT, 0xFF00FF, 0},              // computed below
        {"add", BLIT_ADD, 0, 0xC618},
        {"subtract", BLIT_SUBTRACT, 0, 0x4208},
        {"add with opacity 128", BLIT_ADD | BLIT_OPACITY, 128, 0xA514},  // s/2 = (4, 8, 4)
        {"blend 72", BLIT_OPACITY, 72, 0},                               // computed below
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BlitPair p(VPIXELFORMAT_565, 4, 1, 4, 1);
        FillRaw(p.dst, 0x8410);
        FillRaw(p.src, 0x4208);
        p.src.colorkey = 0x4208;
        ASSERT_EQ(p.dst.Blit(0, 0, &p.src, nullptr, c.flags, c.property), 0u);
        uint32_t want = c.out;
        if (c.flags == BLIT_TINT) {
            // m = max(0x40, 0x40, 0x40) = 0x40: property channels 0xFF * 0x40 >> 8 = 0x3F.
            want = ColorToPixel(VPIXELFORMAT_565, 0x3F003F);
        }
        if (c.flags == BLIT_OPACITY) {
            // 72 with a 5-bit factor 9: (d * 23 + s * 9) >> 5 per field.
            want = ((16 * 23 + 8 * 9) >> 5) << 11 | ((32 * 23 + 16 * 9) >> 5) << 5 |
                   ((16 * 23 + 8 * 9) >> 5);
        }
        EXPECT_EQ(RawPixel(p.dst, 2, 0), want);
    }
}

TEST(BlitEffects, Formats3And5DrawThroughTheRule) {
    for (uint8_t format : {VPIXELFORMAT_555, VPIXELFORMAT_888}) {
        BlitPair p(format, 2, 1, 2, 1);
        p.dst.FillRect(nullptr, 0x102030);
        p.src.FillRect(nullptr, 0x405060);
        ASSERT_EQ(p.dst.Blit(0, 0, &p.src, nullptr, BLIT_ADD, 0), 0u);
        EXPECT_EQ(p.dst.GetPixel(1, 0), 0x507090u) << int(format);
    }
}

TEST(BlitConvert, BetweenFormats) {
    VSurfaceServices services(VPIXELFORMAT_565);
    uint32_t palette[256] = {};
    palette[1] = 0x0000FF;
    palette[2] = 0x00FF00;
    palette[3] = 0xFF0000;
    services.Palette().SetEntries(palette, 0, 256);
    V2DSurface x888, s565, s8;
    MakeSurface(services, x888, 3, 1, VPIXELFORMAT_X888);
    MakeSurface(services, s565, 3, 1, VPIXELFORMAT_565);
    MakeSurface(services, s8, 3, 1, VPIXELFORMAT_8);
    x888.PutPixel(0, 0, 0x0000FF);
    x888.PutPixel(1, 0, 0x00FF00);
    x888.PutPixel(2, 0, 0xFF0000);
    ASSERT_EQ(s565.Blit(0, 0, &x888, nullptr, 0, 0), 0u);
    EXPECT_EQ(RawPixel(s565, 0, 0), 0xF800u);
    EXPECT_EQ(RawPixel(s565, 2, 0), 0x001Fu);
    // 8-bit destinations go through the display's inverse table, 8-bit sources through the
    // display palette.
    ASSERT_EQ(s8.Blit(0, 0, &s565, nullptr, 0, 0), 0u);
    EXPECT_EQ(RawPixel(s8, 0, 0), 1u);
    EXPECT_EQ(RawPixel(s8, 1, 0), 2u);
    EXPECT_EQ(RawPixel(s8, 2, 0), 3u);
    x888.FillRect(nullptr, 0);
    ASSERT_EQ(x888.Blit(0, 0, &s8, nullptr, 0, 0), 0u);
    EXPECT_EQ(x888.GetPixel(1, 0), 0x00FF00u);

    // With effects: the key is compared as a pixel, the rest follows the single-pixel rule.
    s565.colorkey = 0xF800;
    x888.FillRect(nullptr, 0x101010);
    ASSERT_EQ(x888.Blit(0, 0, &s565, nullptr, BLIT_KEY | BLIT_ADD, 0), 0u);
    EXPECT_EQ(x888.GetPixel(0, 0), 0x101010u);
    EXPECT_EQ(x888.GetPixel(1, 0), 0x10FF10u);
    // Onto 8-bit with effects the result colour is matched to the palette.
    s8.FillRect(nullptr, 0);
    ASSERT_EQ(s8.Blit(0, 0, &x888, nullptr, BLIT_ADD, 0), 0u);
    EXPECT_EQ(RawPixel(s8, 1, 0), 2u);
}

TEST(BlitOverlap, SurfaceOntoItself) {
    for (uint32_t flags : {0u, uint32_t(BLIT_ADD)}) {
        VSurfaceServices services(VPIXELFORMAT_X888);
        V2DSurface s;
        MakeSurface(services, s, 8, 8, VPIXELFORMAT_X888);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) s.PutPixel(x, y, uint32_t(y * 8 + x));
        const VRect r{0, 0, 6, 6};
        ASSERT_EQ(s.Blit(2, 2, &s, &r, flags, 0), 0u);
        for (int y = 2; y < 8; ++y)
            for (int x = 2; x < 8; ++x) {
                const uint32_t moved = uint32_t((y - 2) * 8 + x - 2);
                EXPECT_EQ(s.GetPixel(x, y), flags ? moved + uint32_t(y * 8 + x) : moved);
            }
    }
}

// Blit through the blitter table (the destination has the display's format) against Blit with
// no table, for every effect combination and the special opacities: identical except where the
// table's shift loops take an opacity of 16 to 240, whose rule differs from the blend.
TEST(BlitDispatch, TableAndGeneralPathAgree) {
    const uint32_t opacities[] = {0, 7, 8, 12, 16, 32, 64, 128, 192, 224, 240, 255, 256};
    for (uint8_t format : {VPIXELFORMAT_8, VPIXELFORMAT_444, VPIXELFORMAT_565, VPIXELFORMAT_X888}) {
        VSurfaceServices withtable(format), without(format);
        without.SetBlitterFormat(0);
        V2DSurface a, b, sa, sb;
        MakeSurface(withtable, a, 13, 3, format);
        MakeSurface(without, b, 13, 3, format);
        MakeSurface(withtable, sa, 11, 3, format);
        MakeSurface(without, sb, 11, 3, format);
        uint32_t seed = 12345;
        auto next = [&] { return seed = seed * 1103515245 + 12345, seed >> 8; };
        for (uint32_t flags = 0; flags < 64; ++flags) {
            for (uint32_t opacity : opacities) {
                for (int y = 0; y < 3; ++y) {
                    for (int x = 0; x < 13; ++x) {
                        const uint32_t c = x % 3 == 0 ? 0x102030 : next() & 0xFFFFFF;
                        a.PutPixel(x, y, c);
                        b.PutPixel(x, y, c);
                        if (x < 11) {
                            sa.PutPixel(x, y, c ^ 0x0F0F0F);
                            sb.PutPixel(x, y, c ^ 0x0F0F0F);
                        }
                    }
                }
                sa.SetColorKey(0x102030 ^ 0x0F0F0F);
                sb.SetColorKey(0x102030 ^ 0x0F0F0F);
                const uint32_t property = (flags & 6) ? opacity << 24 | 0x4080C0 : opacity;
                const uint32_t ra = a.Blit(1, 0, &sa, nullptr, flags, property);
                const uint32_t rb = b.Blit(1, 0, &sb, nullptr, flags, property);
                ASSERT_EQ(ra, rb);
                uint32_t shift = 0;
                const uint32_t both = BLIT_ADD | BLIT_SUBTRACT;
                const bool adds = (flags & both) != 0 && (flags & both) != both;
                const bool shifted = (flags & BLIT_OPACITY) && !adds &&
                                     ShiftEffectFor(opacity, &shift) != 0 &&
                                     format != VPIXELFORMAT_8;
                if (shifted) continue;
                for (int y = 0; y < 3; ++y)
                    for (int x = 0; x < 13; ++x)
                        ASSERT_EQ(RawPixel(a, x, y), RawPixel(b, x, y))
                            << "format " << int(format) << " flags " << flags << " opacity "
                            << opacity << " at " << x << "," << y;
            }
        }
    }
}
