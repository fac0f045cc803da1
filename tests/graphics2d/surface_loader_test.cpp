#include <gtest/gtest.h>

#include <vector>

#include "graphics2d/dither.h"
#include "imaging/loader_registry.h"
#include "tests/graphics2d/surface_fixture.h"

namespace {

VLoaderState StateFor(uint32_t w, uint32_t h, uint8_t format, uint32_t flags = 0) {
    VLoaderState st;
    st.width = w;
    st.height = h;
    st.defaultformat = format;
    st.flags = flags;
    return st;
}

void Deliver(V2DSurface& s, VLoaderState& st, const std::vector<uint32_t>& colours) {
    st.pixelkind = VLOADER_PIXELS_COLOUR;
    st.data = reinterpret_cast<const uint8_t*>(colours.data());
    st.length = uint32_t(colours.size() * 4);
    ASSERT_EQ(s.ImagePixels(st), 0u);
}

}  // namespace

TEST(SurfaceLoader, InfoCreatesWithKeyZero) {
    VSurfaceServices services(VPIXELFORMAT_565);
    V2DSurface s;
    s.SetOwner(&services);
    s.SetColorKey(0xFFFFFF);
    VLoaderState st = StateFor(6, 2, VPIXELFORMAT_565, VPIXELFORMAT_X888 << 8);
    ASSERT_EQ(s.ImageInfo(st), 0u);
    EXPECT_EQ(s.GetWidth(), 6u);
    EXPECT_EQ(s.pixelformat, VPIXELFORMAT_X888);
    EXPECT_EQ(s.colorkey, 0u);
    st.width = 0;
    EXPECT_EQ(s.ImageInfo(st), 4u);
    V2DSurfaceBase base;
    EXPECT_EQ(base.ImageInfo(st), 3u);
    EXPECT_EQ(base.ImagePalette(st), 3u);
    EXPECT_EQ(base.ImagePixels(st), 3u);
}

TEST(SurfaceLoader, PaletteStopsAtEntry255) {
    VSurfaceServices services(VPIXELFORMAT_565);
    V2DSurface s;
    MakeSurface(services, s, 2, 2, VPIXELFORMAT_8);
    std::vector<uint32_t> entries(275);
    for (uint32_t i = 0; i < entries.size(); ++i) entries[i] = 0xFF000000 | i;
    VLoaderState st;
    st.data = reinterpret_cast<const uint8_t*>(entries.data());
    st.length = 1100;
    ASSERT_EQ(s.ImagePalette(st), 0u);
    EXPECT_EQ(st.paletteindex, 256u);
    EXPECT_EQ(s.palette[255], 0xFF0000FFu);
    EXPECT_EQ(s.ImagePalette(st), 10u);
    st.paletteindex = 250;
    st.length = 8;
    ASSERT_EQ(s.ImagePalette(st), 0u);
    EXPECT_EQ(st.paletteindex, 252u);
    EXPECT_EQ(s.palette[251], 0xFF000001u);
}

TEST(SurfaceLoader, AlphaKeepBlackAndDither) {
    struct Case {
        const char* name;
        uint8_t format;
        uint8_t keepblack;
        uint32_t flags;
        uint32_t colour;
        uint32_t pixel;  // raw pixel at (1, 0)
    };
    const Case cases[] = {
        {"alpha 254 is transparent", VPIXELFORMAT_565, 0, 0, 0xFE336699, 0},
        {"opaque", VPIXELFORMAT_565, 0, 0, 0xFF336699, 0x9B26},
        {"black stays 0 without keep-black", VPIXELFORMAT_565, 0, 0, 0xFF000000, 0},
        {"keep-black in 565", VPIXELFORMAT_565, 1, 0, 0xFF000000, 0x0841},
        {"keep-black in 444", VPIXELFORMAT_444, 1, 0, 0xFF000000, 0x111},
        {"keep-black in X888", VPIXELFORMAT_X888, 1, 0, 0xFF000000, 0x010101},
        // position value 1: red 0x13 → column 3 of row 1 (8), green 0x0A → column 2 of row 1
        // (0), blue 0x05 → column 5 of row 1 (0).
        {"dither", VPIXELFORMAT_565, 0, VLOADER_DITHER, 0xFF050A13,
         (0x18 >> 3) << 11 | (0x08 >> 2) << 5 | 0},
        {"at or above the mask: untouched", VPIXELFORMAT_565, 0, VLOADER_DITHER, 0xFFFCFCFC,
         0xFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VSurfaceServices services(c.format);
        V2DSurface s;
        s.SetOwner(&services);
        VLoaderState st = StateFor(2, 1, c.format, c.flags);
        ASSERT_EQ(s.ImageInfo(st), 0u);
        st.keepblack = c.keepblack;
        Deliver(s, st, {0xFFFFFFFF, c.colour});
        EXPECT_EQ(RawPixel(s, 1, 0), c.pixel);
        EXPECT_EQ(st.pixelcounter, 2u);
    }
}

TEST(SurfaceLoader, IndexedPixelsAndPaletteMatching) {
    VSurfaceServices services(VPIXELFORMAT_8);
    uint32_t display[256] = {};
    display[1] = 0xFF0000FF;  // red
    display[2] = 0xFF00FF00;  // green
    services.Palette().SetEntries(display, 0, 256);
    for (uint32_t flags : {0u, VLOADER_MATCHPALETTE}) {
        V2DSurface s;
        s.SetOwner(&services);
        VLoaderState st = StateFor(4, 1, VPIXELFORMAT_8, flags);
        ASSERT_EQ(s.ImageInfo(st), 0u);
        const uint32_t own[3] = {0xFF000000, 0xFF00F000, 0x80FF0000};  // black, green, half blue
        st.data = reinterpret_cast<const uint8_t*>(own);
        st.length = 12;
        ASSERT_EQ(s.ImagePalette(st), 0u);
        const uint8_t indices[3] = {1, 2, 1};
        st.pixelkind = VLOADER_PIXELS_INDEX;
        st.data = indices;
        st.length = 2;
        ASSERT_EQ(s.ImagePixels(st), 0u);
        const uint32_t colour = 0xFF0000F0;  // a red
        st.pixelkind = VLOADER_PIXELS_COLOUR;
        st.data = reinterpret_cast<const uint8_t*>(&colour);
        st.length = 4;
        ASSERT_EQ(s.ImagePixels(st), 0u);
        if (flags == 0) {
            EXPECT_EQ(RawPixel(s, 0, 0), 1u);     // index written unchanged
            EXPECT_EQ(RawPixel(s, 1, 0), 0u);     // alpha 0x80: index 0
            EXPECT_EQ(RawPixel(s, 2, 0), 0xF0u);  // colour written as its low byte
        } else {
            EXPECT_EQ(RawPixel(s, 0, 0), 2u);  // own green matched to the display's green
            EXPECT_EQ(RawPixel(s, 1, 0), 0u);
            EXPECT_EQ(RawPixel(s, 2, 0), 1u);  // through the inverse table
        }
        s.Free();
    }
}

namespace {

// Loader number id of a test display: loader 0 passes every picture on (14), loader 1 knows
// none (3), loader 2 decodes "OK" as a 2 x 1 picture.
class TestLoader : public ClassVLoaderBase {
  public:
    TestLoader(uint32_t id, std::vector<uint32_t>* calls) : id_(id), calls_(calls) {}
    uint32_t DecodeImage(V2DSurfaceBase* surface, const uint8_t* data, uint32_t size,
                         uint8_t defaultformat, uint32_t flags) override {
        calls_->push_back(id_);
        if (id_ == 0) return 14;
        if (id_ == 1 || size != 2 || data[0] != 'O') return 3;
        VLoaderState st;
        st.width = 2;
        st.height = 1;
        st.defaultformat = defaultformat;
        st.flags = flags;
        uint32_t result = surface->ImageInfo(st);
        const uint32_t px[2] = {0xFF0000FF, 0xFF00FF00};
        st.data = reinterpret_cast<const uint8_t*>(px);
        st.length = 8;
        if (result == 0) result = surface->ImagePixels(st);
        return result;
    }

  private:
    uint32_t id_;
    std::vector<uint32_t>* calls_;
};

// A display with the three test loaders in its loader registry.
class LoaderServices : public VSurfaceServices {
  public:
    LoaderServices() : VSurfaceServices(VPIXELFORMAT_565) {
        for (uint32_t id = 0; id < 3; ++id) loaders.RegisterLoader(new TestLoader(id, &calls));
    }
    uint32_t DecodeImage(V2DSurfaceBase& surface, const uint8_t* data, uint32_t size,
                         uint8_t defaultformat, uint32_t flags) override {
        return loaders.DecodeImage(&surface, data, size, defaultformat, flags);
    }
    std::vector<uint32_t> calls;
    VLoaderRegistry loaders;
};

}  // namespace

TEST(SurfaceLoader, LoadImageTriesLoadersInOrderAndReleasesTheLock) {
    LoaderServices services;
    V2DSurface s;
    s.SetOwner(&services);
    const uint8_t ok[2] = {'O', 'K'};
    ASSERT_EQ(s.LoadImage(ok, 2, VPIXELFORMAT_565, 0), 0u);
    EXPECT_EQ(services.calls, (std::vector<uint32_t>{0, 1, 2}));
    EXPECT_EQ(s.lockcount, 0u);
    EXPECT_EQ(s.GetPixel(0, 0), 0xF8u);
    services.calls.clear();
    const uint8_t bad[2] = {'N', 'O'};
    EXPECT_EQ(s.LoadImage(bad, 2, VPIXELFORMAT_565, 0), 3u);  // the last 3 or 14 received
    EXPECT_EQ(services.calls.size(), 3u);                     // every loader was asked
    EXPECT_EQ(s.LoadImage(ok, 2, VPIXELFORMAT_565, 4), 4u);

    VSurfaceServices none(VPIXELFORMAT_565);
    V2DSurface t;
    t.SetOwner(&none);
    EXPECT_EQ(t.LoadImage(ok, 2, VPIXELFORMAT_565, 0), 3u);
}

TEST(Dither, MatrixEntries) {
    struct Case {
        int bits;
        uint32_t value, position, step;
    };
    const Case cases[] = {
        {5, 4, 0, 8}, {5, 3, 0, 0},  {5, 1, 5, 8},    {5, 7, 7, 8},  {5, 9, 8, 0},
        {6, 2, 0, 4}, {6, 1, 2, 4},  {6, 3, 3, 4},    {6, 0, 1, 0},  {4, 6, 0, 16},
        {4, 5, 0, 0}, {4, 1, 7, 16}, {4, 15, 15, 16}, {4, 0, 15, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DitherStep(c.bits, c.value, c.position), c.step)
            << c.bits << " " << c.value << " " << c.position;
}
