#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "graphics2d/surface_registry.h"
#include "tests/graphics2d/surface_fixture.h"

TEST(SurfaceCreate, BadArgumentsLeaveTheSurfaceAsItWas) {
    VSurfaceServices services(VPIXELFORMAT_565);
    V2DSurface s;
    MakeSurface(services, s, 8, 4, VPIXELFORMAT_565);
    s.PutPixel(1, 1, 0xFFFFFF);
    struct Case {
        uint32_t w, h;
        uint8_t format;
        uint32_t flags, result;
    };
    const Case cases[] = {
        {0, 4, VPIXELFORMAT_565, 0, 4},
        {8, 0, VPIXELFORMAT_565, 0, 4},
        {8, 4, VPIXELFORMAT_565, 4, 4},
        {8, 4, VPIXELFORMAT_565, 15, 4},
        {8, 4, 7, 0, 1},
        {8, 4, VPIXELFORMAT_565, 9 << 8, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(s.Create(c.w, c.h, c.format, c.flags), c.result);
        EXPECT_EQ(s.GetWidth(), 8u);
        EXPECT_EQ(s.GetPixel(1, 1), 0xF8FCF8u);
    }
    V2DSurface orphan;
    EXPECT_EQ(orphan.Create(8, 4, VPIXELFORMAT_565, 0), 4u);  // no display to belong to
    V2DSurface bad;
    bad.SetOwner(&services);
    EXPECT_EQ(bad.Create(8, 4, 7, 0), 1u);
    EXPECT_EQ(bad.Create(8, 4, VPIXELFORMAT_565, 9 << 8), 1u);
    EXPECT_FALSE(bad.IsCreated());
}

TEST(SurfaceCreate, SameSizeFormatAndKindOnlyClears) {
    VSurfaceServices services(VPIXELFORMAT_565);
    V2DSurface s;
    MakeSurface(services, s, 8, 4, VPIXELFORMAT_565);
    s.FillRect(nullptr, 0x123456);
    s.SetColorKey(0xFF);
    uint8_t* before = s.pixels;
    ASSERT_EQ(s.Create(8, 4, VPIXELFORMAT_565, 0), 0u);
    EXPECT_EQ(s.pixels, before);
    EXPECT_EQ(s.GetPixel(7, 3), 0u);
    EXPECT_EQ(s.GetColorKey(), 0xF8u);  // kept: only the pixels are cleared

    // Another default format is another surface, not a cleared one.
    ASSERT_EQ(s.Create(8, 4, VPIXELFORMAT_X888, 0), 0u);
    EXPECT_EQ(s.pixelformat, VPIXELFORMAT_X888);
    EXPECT_EQ(s.bitsperpixel, 32);
}

TEST(SurfaceCreate, DefaultsAndFlags) {
    VSurfaceServices services(VPIXELFORMAT_565);
    services.SetDefaultMemoryKind(VSURFACE_DEFAULT);
    V2DSurface s;
    s.SetOwner(&services);
    // No memory kind configured anywhere: the surface is still made, in main memory.
    ASSERT_EQ(s.Create(5, 5, VPIXELFORMAT_565, VPIXELFORMAT_444 << 8), 0u);
    EXPECT_EQ(s.state, VSURFACE_SYSTEM);
    EXPECT_EQ(s.pixelformat, VPIXELFORMAT_444);
    EXPECT_EQ(s.createflags, (VPIXELFORMAT_444 << 8) | VSURFACE_SYSTEM);
    // A video kind has no platform surface here and falls back to main memory.
    V2DSurface v;
    v.SetOwner(&services);
    ASSERT_EQ(v.Create(5, 5, VPIXELFORMAT_565, VSURFACE_VIDEO), 0u);
    EXPECT_EQ(v.state, VSURFACE_SYSTEM);
    EXPECT_EQ(v.fontfirst, 32);
    EXPECT_EQ(v.fontlast, 127);
    EXPECT_EQ(v.fontperrow, 128);
    EXPECT_EQ(v.fontrows, 1u);
    EXPECT_EQ(v.texturehandle, -1);
}

TEST(SurfaceGeometry, PitchAndSwappedAxes) {
    struct Case {
        VOrientation o;
        uint32_t physw, physh, pitch;
        int32_t xstep, ystep;
        uint32_t origin;
    };
    // A 10 x 3 surface in 565 (2 bytes per pixel).
    const Case cases[] = {
        {{1, 1, 0}, 10, 3, 12, 2, 24, 0},    {{-1, 1, 0}, 10, 3, 12, -2, 24, 18},
        {{1, -1, 0}, 10, 3, 12, 2, -24, 48}, {{1, 1, 1}, 3, 10, 4, 8, 2, 0},
        {{-1, 1, 1}, 3, 10, 4, 8, -2, 4},    {{1, -1, 1}, 3, 10, 4, -8, 2, 72},
        {{-1, -1, 1}, 3, 10, 4, -8, -2, 76},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.o.xdirection << " " << c.o.ydirection << " " << int(c.o.swapped));
        VSurfaceServices services(VPIXELFORMAT_565);
        services.SetOrientation(c.o);
        V2DSurface s;
        MakeSurface(services, s, 10, 3, VPIXELFORMAT_565);
        EXPECT_EQ(s.GetWidth(), 10u);
        EXPECT_EQ(s.GetHeight(), 3u);
        EXPECT_EQ(s.physwidth, c.physw);
        EXPECT_EQ(s.physheight, c.physh);
        EXPECT_EQ(s.pitch, c.pitch);
        SurfaceLayout l;
        ASSERT_NE(s.Lock(&l), nullptr);
        s.Unlock();
        EXPECT_EQ(l.xstep, c.xstep);
        EXPECT_EQ(l.ystep, c.ystep);
        EXPECT_EQ(l.origin, c.origin);
        EXPECT_EQ(l.pitchbytes, c.pitch * 2);
        EXPECT_EQ(l.width, 10u);
        EXPECT_EQ(l.height, 3u);
        // Logical (9, 2) lands where the layout says, and reads back through GetPixel.
        s.PutPixel(9, 2, 0xF8);
        uint8_t* p = s.pixels + l.origin + 9 * l.xstep + 2 * l.ystep;
        EXPECT_EQ(p[0] | p[1] << 8, 0xF800);
        EXPECT_EQ(s.GetPixel(9, 2), 0xF8u);
    }
}

TEST(SurfaceClip, CutToTheSurfaceAndRestored) {
    struct Case {
        VOrientation o;
        VRect in, logical;
    };
    const Case cases[] = {
        {{1, 1, 0}, {-5, -5, 4, 3}, {0, 0, 4, 3}},
        {{1, 1, 0}, {6, 2, 50, 50}, {6, 2, 10, 6}},
        {{-1, 1, 1}, {-5, 1, 4, 60}, {0, 1, 4, 6}},
        {{-1, -1, 0}, {2, 3, 12, 4}, {2, 3, 10, 4}},
        {{1, 1, 0}, {20, 20, 30, 30}, {20, 20, 20, 20}},  // wholly outside: empty
    };
    for (const Case& c : cases) {
        VSurfaceServices services(VPIXELFORMAT_565);
        services.SetOrientation(c.o);
        V2DSurface s;
        MakeSurface(services, s, 10, 6, VPIXELFORMAT_565);
        s.SetClipRect(&c.in);
        VRect r;
        s.GetClipRect(&r);
        if (c.logical.left == c.logical.right) {
            EXPECT_TRUE(r.left >= r.right);
            s.FillRect(nullptr, 0xFFFFFF);
            EXPECT_EQ(s.GetPixel(9, 5), 0u);
        } else {
            EXPECT_EQ(r, c.logical);
        }
        s.SetClipRect(nullptr);
        s.GetClipRect(&r);
        EXPECT_EQ(r, (VRect{0, 0, 10, 6}));
    }
}

TEST(SurfaceLock, CountNestsAndFreeDropsIt) {
    VSurfaceServices services(VPIXELFORMAT_565);
    V2DSurface s;
    EXPECT_EQ(s.Lock(), nullptr);
    MakeSurface(services, s, 4, 4, VPIXELFORMAT_565);
    EXPECT_NE(s.Lock(), nullptr);
    EXPECT_NE(s.Lock(), nullptr);
    EXPECT_EQ(s.lockcount, 2u);
    s.Unlock();
    s.Unlock();
    s.Unlock();
    EXPECT_EQ(s.lockcount, 0u);
    s.Lock();
    s.Free();
    EXPECT_EQ(s.lockcount, 0u);
    EXPECT_EQ(s.state, 0);
    s.Free();  // twice is harmless
    EXPECT_EQ(s.GetWidth(), 0u);
}

TEST(SurfaceRegistry, GrowsBy32AndReusesTheFirstEmptySlot) {
    VSurfaceServices services(VPIXELFORMAT_565);
    std::vector<std::unique_ptr<V2DSurface>> surfaces;
    for (int i = 0; i < 33; ++i) {
        surfaces.push_back(std::make_unique<V2DSurface>());
        MakeSurface(services, *surfaces.back(), 2, 2, VPIXELFORMAT_565);
    }
    VSurfaceRegistry& r = services.Registry();
    EXPECT_EQ(r.Capacity(), 64u);
    EXPECT_EQ(r.At(32), surfaces[32].get());
    surfaces[5]->Free();
    EXPECT_EQ(r.At(5), nullptr);
    V2DSurface extra;
    MakeSurface(services, extra, 2, 2, VPIXELFORMAT_565);
    EXPECT_EQ(r.At(5), &extra);
    // Closing the display frees every registered surface.
    r.FreeAll();
    EXPECT_FALSE(extra.IsCreated());
    EXPECT_FALSE(surfaces[0]->IsCreated());
    EXPECT_EQ(r.Capacity(), 0u);
}

TEST(SurfaceOrientation, TurningKeepsLogicalPixelsKeyClipAndSlot) {
    const VOrientation turns[] = {{1, 1, 1}, {-1, 1, 1}, {-1, -1, 0}, {1, -1, 1}, {1, 1, 0}};
    for (uint8_t format : {VPIXELFORMAT_8, VPIXELFORMAT_565, VPIXELFORMAT_888, VPIXELFORMAT_X888}) {
        VSurfaceServices services(format);
        V2DSurface s;
        MakeSurface(services, s, 7, 3, format);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 7; ++x) s.PutPixel(x, y, uint32_t(x * 17 + y * 60));
        s.SetColorKey(0x50);
        const VRect clip{1, 1, 6, 3};
        s.SetClipRect(&clip);
        s.fontfirst = 40;
        for (const VOrientation& o : turns) {
            services.SetOrientation(o);
            ASSERT_TRUE(s.IsCreated());
            EXPECT_EQ(services.Registry().At(0), &s);
            EXPECT_EQ(services.Registry().At(1), nullptr);
            EXPECT_EQ(s.GetWidth(), 7u);
            EXPECT_EQ(s.GetHeight(), 3u);
            EXPECT_EQ(s.physwidth, o.swapped ? 3u : 7u);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 7; ++x)
                    EXPECT_EQ(s.GetPixel(x, y),
                              PixelToColor(format, ColorToPixel(format, x * 17 + y * 60)));
            EXPECT_EQ(s.GetColorKey(), PixelToColor(format, ColorToPixel(format, 0x50)));
            VRect r;
            s.GetClipRect(&r);
            EXPECT_EQ(r, clip);
            EXPECT_EQ(s.fontfirst, 40);
        }
    }
}

TEST(SurfaceOrientation, DisplayManagedSurfacesAreSkipped) {
    VSurfaceServices services(VPIXELFORMAT_565);
    V2DSurface managed, other, empty;
    MakeSurface(services, managed, 5, 2, VPIXELFORMAT_565);
    MakeSurface(services, other, 5, 2, VPIXELFORMAT_565);
    empty.SetOwner(&services);
    V2DSurfaceBase* skip[] = {&managed};
    services.SetOrientation({1, 1, 1}, skip, 1);
    EXPECT_EQ(other.physwidth, 2u);    // turned
    EXPECT_EQ(managed.physwidth, 5u);  // left for the display to rebuild
    empty.ChangeOrientation({1, 1, 0});
    EXPECT_FALSE(empty.IsCreated());
}
