// Transformed blits: placement, quarter turns, flips and scales, the three routes and their
// agreement, formats without fast loops, turned displays and the result codes.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <vector>

#include "graphics2d/transformed_blit.h"
#include "surface_fixture.h"

namespace {

std::vector<uint32_t> Pixels(V2DSurface& s) {
    std::vector<uint32_t> out;
    for (uint32_t y = 0; y < s.GetHeight(); ++y)
        for (uint32_t x = 0; x < s.GetWidth(); ++x)
            out.push_back(RawPixel(s, int32_t(x), int32_t(y)));
    return out;
}

// Source pixel (i, j) of the picture gets a raw value that names it (never 0).
uint32_t Mark(int32_t i, int32_t j) {
    return uint32_t(0x010101 + i * 0x000800 + j * 0x080000 + 1);
}

void Picture(V2DSurface& s) {
    for (int32_t j = 0; j < int32_t(s.GetHeight()); ++j)
        for (int32_t i = 0; i < int32_t(s.GetWidth()); ++i) SetRawPixel(s, i, j, Mark(i, j));
}

// The drawn pixels of a destination cleared to 0: where each lies and what it shows.
struct Drawn {
    int32_t left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;
    int count = 0;
};

Drawn Extent(V2DSurface& s) {
    Drawn d;
    for (int32_t y = 0; y < int32_t(s.GetHeight()); ++y) {
        for (int32_t x = 0; x < int32_t(s.GetWidth()); ++x) {
            if (RawPixel(s, x, y) == 0) continue;
            d.left = std::min(d.left, x), d.top = std::min(d.top, y);
            d.right = std::max(d.right, x + 1), d.bottom = std::max(d.bottom, y + 1);
            ++d.count;
        }
    }
    return d;
}

struct Fixture {
    explicit Fixture(uint8_t format = VPIXELFORMAT_X888, uint32_t w = 10, uint32_t h = 6)
        : services(format) {
        MakeSurface(services, dst, 100, 80, format);
        MakeSurface(services, src, w, h, format);
        Picture(src);
    }
    TurningServices services;
    V2DSurface dst, src;
};

VBlitTransform Turn(uint32_t angle, uint8_t flip = 0, int32_t scale = kTransformScaleOne) {
    VBlitTransform t;
    t.angle = angle;
    t.flip = flip;
    t.xscale = t.yscale = scale;
    return t;
}

TEST(TransformedBlit, WithoutTransformTheCentredBlitPlacesTheTopLeft) {
    Fixture f;
    EXPECT_EQ(f.dst.BlitTransformed(50, 40, &f.src, nullptr, nullptr), 0u);
    const Drawn d = Extent(f.dst);
    EXPECT_EQ(d.left, 45);
    EXPECT_EQ(d.top, 37);
    EXPECT_EQ(d.count, 60);
    for (int32_t j = 0; j < 6; ++j)
        for (int32_t i = 0; i < 10; ++i) ASSERT_EQ(RawPixel(f.dst, 45 + i, 37 + j), Mark(i, j));
}

TEST(TransformedBlit, QuarterTurnPutsTheBottomLeftPixelAtTheTopLeft) {
    Fixture f;
    const VBlitTransform t = Turn(1024);
    EXPECT_EQ(f.dst.BlitTransformed(50, 40, &f.src, nullptr, &t), 0u);
    const Drawn d = Extent(f.dst);
    EXPECT_EQ(d.left, 47);
    EXPECT_EQ(d.top, 35);
    EXPECT_EQ(d.right - d.left, 6);
    EXPECT_EQ(d.bottom - d.top, 10);
    EXPECT_EQ(RawPixel(f.dst, 47, 35), Mark(0, 5));
    // Clockwise: destination (i, j) of the turned area shows source (j, h - 1 - i).
    for (int32_t j = 0; j < 10; ++j)
        for (int32_t i = 0; i < 6; ++i) ASSERT_EQ(RawPixel(f.dst, 47 + i, 35 + j), Mark(j, 5 - i));
}

TEST(TransformedBlit, AFullTurnGoesThroughTheQuarterTurnBlit) {
    Fixture f;
    const VBlitTransform full = Turn(4096);
    EXPECT_EQ(f.dst.BlitTransformed(50, 40, &f.src, nullptr, &full), 0u);
    const std::vector<uint32_t> turned = Pixels(f.dst);
    f.dst.FillRect(nullptr, 0);
    EXPECT_EQ(f.dst.BlitTransformed(50, 40, &f.src, nullptr, nullptr), 0u);
    EXPECT_EQ(Pixels(f.dst), turned);
    // The routes differ in what they accept: Blit converts another format, the quarter-turn
    // blit does not.
    V2DSurface other;
    MakeSurface(f.services, other, 10, 6, VPIXELFORMAT_565);
    EXPECT_EQ(f.dst.BlitTransformed(50, 40, &other, nullptr, nullptr), 0u);
    EXPECT_EQ(f.dst.BlitTransformed(50, 40, &other, nullptr, &full), 11u);
}

TEST(TransformedBlit, FlipsMirrorTheSourceBeforeTheTurn) {
    struct Case {
        uint32_t angle;
        uint8_t flip;
        int32_t left, top, width;
        // destination (i, j) of the drawn area shows source (si, sj)
        int32_t (*si)(int32_t i, int32_t j);
        int32_t (*sj)(int32_t i, int32_t j);
    };
    const Case cases[] = {
        {0, VFLIP_LEFTRIGHT, 45, 37, 10, [](int32_t i, int32_t) { return 9 - i; },
         [](int32_t, int32_t j) { return j; }},
        {0, VFLIP_TOPBOTTOM, 45, 37, 10, [](int32_t i, int32_t) { return i; },
         [](int32_t, int32_t j) { return 5 - j; }},
        // Mirrored left-right, then turned: the turned picture appears mirrored top-bottom.
        {1024, VFLIP_LEFTRIGHT, 47, 35, 6, [](int32_t, int32_t j) { return 9 - j; },
         [](int32_t i, int32_t) { return 5 - i; }},
        {2048, VFLIP_LEFTRIGHT | VFLIP_TOPBOTTOM, 45, 37, 10, [](int32_t i, int32_t) { return i; },
         [](int32_t, int32_t j) { return j; }},
        {3072, 0, 47, 35, 6, [](int32_t, int32_t j) { return 9 - j; },
         [](int32_t i, int32_t) { return i; }},
    };
    for (const Case& c : cases) {
        Fixture f;
        const VBlitTransform t = Turn(c.angle, c.flip);
        EXPECT_EQ(f.dst.BlitTransformed(50, 40, &f.src, nullptr, &t), 0u);
        const Drawn d = Extent(f.dst);
        EXPECT_EQ(d.left, c.left);
        EXPECT_EQ(d.top, c.top);
        EXPECT_EQ(d.count, 60);
        const int32_t height = 60 / c.width;
        for (int32_t j = 0; j < height; ++j)
            for (int32_t i = 0; i < c.width; ++i)
                ASSERT_EQ(RawPixel(f.dst, c.left + i, c.top + j), Mark(c.si(i, j), c.sj(i, j)))
                    << "angle " << c.angle << " flip " << int(c.flip) << " at " << i << "," << j;
    }
}

TEST(TransformedBlit, DoubleScaleDoublesAroundTheSameCentre) {
    Fixture f;
    const VBlitTransform t = Turn(0, 0, 0x20000);
    EXPECT_EQ(f.dst.BlitTransformed(50, 40, &f.src, nullptr, &t), 0u);
    const Drawn d = Extent(f.dst);
    EXPECT_EQ(d.left, 40);
    EXPECT_EQ(d.top, 34);
    EXPECT_EQ(d.right, 60);
    EXPECT_EQ(d.bottom, 46);
    for (int32_t j = 0; j < 12; ++j)
        for (int32_t i = 0; i < 20; ++i)
            ASSERT_EQ(RawPixel(f.dst, 40 + i, 34 + j), Mark(i / 2, j / 2)) << i << "," << j;
}

// Where both routes apply (a quarter turn at scale 1), the textured quadrilateral gives the
// quarter-turn blit's pixels exactly: every angle and flip, odd and even sizes, sub-rectangles,
// partly visible placements and the effects both routes share.
TEST(TransformedBlit, QuarterTurnEqualsTheTexturedQuadrilateral) {
    struct Effect {
        uint32_t flags, property;
    };
    const Effect effects[] = {{0, 0},
                              {BLIT_KEY, 0},
                              {BLIT_OPACITY, 100},
                              {BLIT_ADD | BLIT_KEY, 0},
                              {BLIT_TINT, 0x00FF8040},
                              {BLIT_SUBTRACT | BLIT_OPACITY, 200}};
    const VRect sizes[] = {
        {0, 0, 10, 6}, {0, 0, 7, 5}, {0, 0, 1, 1}, {2, 1, 8, 10}, {3, 2, 36, 19}};
    const int32_t centres[][2] = {{50, 40}, {3, 2}, {97, 78}, {-4, 40}, {51, 81}};
    for (uint8_t format : {VPIXELFORMAT_X888, VPIXELFORMAT_565, VPIXELFORMAT_555}) {
        TurningServices services(format);
        V2DSurface a, b, src;
        MakeSurface(services, a, 100, 80, format);
        MakeSurface(services, b, 100, 80, format);
        MakeSurface(services, src, 40, 24, format);
        std::mt19937 rng(format);
        for (int32_t y = 0; y < 24; ++y)
            for (int32_t x = 0; x < 40; ++x)
                SetRawPixel(src, x, y, rng() % 6 == 0 ? 0 : ColorToPixel(format, rng()));
        src.SetColorKey(0);
        int compared = 0;
        for (const VRect& r : sizes) {
            for (uint32_t angle : {0u, 1024u, 2048u, 3072u}) {
                for (uint8_t flip = 0; flip < 4; ++flip) {
                    for (const auto& c : centres) {
                        const Effect& e = effects[compared % 6];
                        ++compared;
                        for (V2DSurface* d : {&a, &b}) {
                            std::mt19937 background(5);
                            for (int32_t y = 0; y < 80; ++y)
                                for (int32_t x = 0; x < 100; ++x)
                                    SetRawPixel(*d, x, y, ColorToPixel(format, background()));
                        }
                        VBlitTransform t = Turn(angle, flip);
                        t.flags = e.flags;
                        t.property = e.property;
                        const uint32_t ra = a.BlitTransformed(c[0], c[1], &src, &r, &t);
                        ASSERT_TRUE(ra == 0 || ra == 4);
                        ASSERT_EQ(b.BlitTexturedQuad(c[0], c[1], &src, &r, t), 0u);
                        ASSERT_EQ(Pixels(a), Pixels(b))
                            << "format " << int(format) << " rect " << r.right - r.left << "x"
                            << r.bottom - r.top << " angle " << angle << " flip " << int(flip)
                            << " at " << c[0] << "," << c[1] << " flags " << e.flags;
                    }
                }
            }
        }
    }
}

// Formats 3 and 5 have no fast loops; turned and scaled blits draw them through the general
// rule like every other format.
TEST(TransformedBlit, FormatsWithoutFastLoopsTurnCorrectly) {
    for (uint8_t format : {VPIXELFORMAT_555, VPIXELFORMAT_888, VPIXELFORMAT_8, VPIXELFORMAT_444}) {
        Fixture f(format);
        for (int32_t j = 0; j < 6; ++j)
            for (int32_t i = 0; i < 10; ++i)
                SetRawPixel(f.src, i, j,
                            uint32_t(1 + i + 10 * j) * (format == VPIXELFORMAT_8 ? 1 : 61));
        const VBlitTransform t = Turn(3072, VFLIP_TOPBOTTOM);
        EXPECT_EQ(f.dst.BlitTransformed(50, 40, &f.src, nullptr, &t), 0u);
        for (int32_t j = 0; j < 10; ++j)
            for (int32_t i = 0; i < 6; ++i)
                ASSERT_EQ(RawPixel(f.dst, 47 + i, 35 + j), RawPixel(f.src, 9 - j, 5 - i))
                    << "format " << int(format);
        f.dst.FillRect(nullptr, 0);
        VBlitTransform scaled = Turn(2048, 0, 0x30000);
        scaled.flags = BLIT_ADD;
        EXPECT_EQ(f.dst.BlitTransformed(50, 40, &f.src, nullptr, &scaled), 0u);
        for (int32_t j = 0; j < 18; ++j)
            for (int32_t i = 0; i < 30; ++i)
                ASSERT_EQ(RawPixel(f.dst, 35 + i, 31 + j), RawPixel(f.src, 9 - i / 3, 5 - j / 3))
                    << "format " << int(format) << " at " << i << "," << j;
    }
}

// Which pixels a drawing covers.
std::vector<bool> Coverage(V2DSurface& s) {
    std::vector<bool> out;
    for (uint32_t v : Pixels(s)) out.push_back(v != 0);
    return out;
}

// On a turned and mirrored display the picture keeps its logical placement and mirroring:
// quarter turns pixel for pixel; textured quadrilaterals cover the same pixels (their texels
// may round the other way where a pixel samples a texel boundary exactly, as the walk then
// runs the other way through the texture).
TEST(TransformedBlit, TurnedDisplaysKeepTheLogicalPicture) {
    const VOrientation orientations[] = {{1, 1, 1}, {-1, 1, 1}, {-1, -1, 0}, {1, -1, 1}};
    struct Case {
        uint32_t angle;
        uint8_t flip;
        int32_t scale;
        bool quad;  // through BlitTexturedQuad
    };
    const Case cases[] = {{1024, VFLIP_LEFTRIGHT, kTransformScaleOne, false},
                          {3072, VFLIP_TOPBOTTOM, kTransformScaleOne, false},
                          {2048, VFLIP_LEFTRIGHT, kTransformScaleOne, true},
                          {1024, 0, kTransformScaleOne, true},
                          {0, 0, 0x20000, false},
                          {2048, VFLIP_LEFTRIGHT, 0x30000, false}};
    for (uint32_t w : {10u, 7u}) {
        Fixture plain(VPIXELFORMAT_X888, w, 5);
        for (const VOrientation& o : orientations) {
            TurningServices services(VPIXELFORMAT_X888);
            services.SetOrientation(o);
            V2DSurface dst, src;
            MakeSurface(services, dst, 100, 80, VPIXELFORMAT_X888);
            MakeSurface(services, src, w, 5, VPIXELFORMAT_X888);
            Picture(src);
            for (const Case& c : cases) {
                plain.dst.FillRect(nullptr, 0);
                dst.FillRect(nullptr, 0);
                const VBlitTransform t = Turn(c.angle, c.flip, c.scale);
                if (c.quad) {
                    EXPECT_EQ(plain.dst.BlitTexturedQuad(50, 40, &plain.src, nullptr, t), 0u);
                    EXPECT_EQ(dst.BlitTexturedQuad(50, 40, &src, nullptr, t), 0u);
                } else {
                    EXPECT_EQ(plain.dst.BlitTransformed(50, 40, &plain.src, nullptr, &t), 0u);
                    EXPECT_EQ(dst.BlitTransformed(50, 40, &src, nullptr, &t), 0u);
                }
                std::ostringstream where;
                where << "orientation " << o.xdirection << "," << o.ydirection << ","
                      << int(o.swapped) << " angle " << c.angle << " width " << w;
                if (!c.quad && c.scale == kTransformScaleOne)
                    EXPECT_EQ(Pixels(dst), Pixels(plain.dst)) << where.str();
                else
                    EXPECT_EQ(Coverage(dst), Coverage(plain.dst)) << where.str();
            }
        }
    }
}

TEST(TransformedBlit, ResultCodes) {
    Fixture f(VPIXELFORMAT_565);
    V2DSurface other, empty;
    MakeSurface(f.services, other, 10, 6, VPIXELFORMAT_X888);
    empty.SetOwner(&f.services);
    VBlitTransform faint = Turn(1024);
    faint.flags = BLIT_OPACITY;
    faint.property = 7;  // below the 5-bit format's step of 8
    VBlitTransform faintfree = faint;
    faintfree.angle = 100;
    const VBlitTransform free = Turn(700);
    const VBlitTransform quarter = Turn(2048);
    EXPECT_EQ(f.dst.BlitTransformed(50, 40, nullptr, nullptr, &quarter), 1u);
    EXPECT_EQ(f.dst.BlitTransformed(50, 40, &empty, nullptr, &quarter), 1u);
    EXPECT_EQ(f.dst.BlitTransformed(50, 40, &other, nullptr, &quarter), 11u);
    EXPECT_EQ(f.dst.BlitTransformed(50, 40, &other, nullptr, &free), 11u);
    EXPECT_EQ(f.dst.BlitTransformed(50, 40, &f.src, nullptr, &faint), 10u);
    EXPECT_EQ(f.dst.BlitTransformed(50, 40, &f.src, nullptr, &faintfree), 10u);
    // Nothing visible: 4 from the quarter-turn blit, 0 from the free route.
    EXPECT_EQ(f.dst.BlitTransformed(500, 40, &f.src, nullptr, &quarter), 4u);
    EXPECT_EQ(f.dst.BlitTransformed(500, 40, &f.src, nullptr, &free), 0u);
    EXPECT_EQ(f.dst.BlitQuarterTurn(0, 0, &f.src, nullptr, 100, 0, 0, 0), 4u);
    for (uint32_t v : Pixels(f.dst)) ASSERT_EQ(v, 0u);

    // Free turns need the sine tables of an owner; quarter turns do not.
    VSurfaceServices untabled(VPIXELFORMAT_565);
    V2DSurface dst, src;
    MakeSurface(untabled, dst, 30, 30, VPIXELFORMAT_565);
    MakeSurface(untabled, src, 4, 4, VPIXELFORMAT_565);
    EXPECT_EQ(dst.BlitTransformed(15, 15, &src, nullptr, &free), 3u);
    EXPECT_EQ(dst.BlitTransformed(15, 15, &src, nullptr, &quarter), 0u);
}

// A fill through the quarter-turn blit covers the turned size; a source rectangle partly
// outside the source draws only the pixels that exist, where they would have been.
TEST(TransformedBlit, FillsAndRectanglesOutsideTheSource) {
    Fixture f;
    VBlitTransform fill = Turn(1024);
    fill.flags = BLIT_FILL;
    fill.property = 0x00FF00;
    EXPECT_EQ(f.dst.BlitTransformed(50, 40, &f.src, nullptr, &fill), 0u);
    Drawn d = Extent(f.dst);
    EXPECT_EQ(d.left, 47);
    EXPECT_EQ(d.top, 35);
    EXPECT_EQ(d.count, 60);
    for (uint32_t angle : {1024u, 700u}) {
        f.dst.FillRect(nullptr, 0);
        const VRect r{-4, 0, 6, 6};  // 10 × 6, the left 4 columns outside the source
        const VBlitTransform t = Turn(angle);
        f.dst.BlitTransformed(50, 40, &f.src, &r, &t);
        d = Extent(f.dst);
        if (angle == 1024) {
            EXPECT_EQ(d.count, 36);
            EXPECT_EQ(d.top, 39);
            EXPECT_EQ(RawPixel(f.dst, 47, 39), Mark(0, 5));
        } else {
            EXPECT_GT(d.count, 30);
            EXPECT_LT(d.count, 42);
        }
    }
}

TEST(TransformedBlit, TurningASurfaceOntoItselfReadsTheOriginal) {
    Fixture f(VPIXELFORMAT_X888, 100, 80);
    V2DSurface copy;
    MakeSurface(f.services, copy, 100, 80, VPIXELFORMAT_X888);
    Picture(copy);
    const VRect r{10, 10, 40, 30};
    for (uint32_t angle : {1024u, 1000u}) {
        Picture(f.src);
        Fixture g;
        const VBlitTransform t = Turn(angle);
        f.src.BlitTransformed(30, 25, &f.src, &r, &t);
        copy.BlitTransformed(30, 25, &copy, &r, &t);  // same surface: also through a copy
        V2DSurface reference;
        MakeSurface(f.services, reference, 100, 80, VPIXELFORMAT_X888);
        Picture(reference);
        V2DSurface original;
        MakeSurface(f.services, original, 100, 80, VPIXELFORMAT_X888);
        Picture(original);
        reference.BlitTransformed(30, 25, &original, &r, &t);
        EXPECT_EQ(Pixels(f.src), Pixels(reference)) << "angle " << angle;
    }
}

}  // namespace
