// End to end: V2DSurface::LoadImage asks the display's loader registry, and the PNG decoder
// delivers into a real 16-bit 565 surface.
#include <gtest/gtest.h>

#include "graphics2d/pixel_format.h"
#include "graphics2d/surface.h"
#include "graphics2d/surface_rgba.h"
#include "graphics2d/surface_services.h"
#include "imaging/loader_bmp.h"
#include "imaging/loader_gif.h"
#include "imaging/loader_png.h"
#include "imaging/loader_registry.h"
#include "tests/imaging/test_files.h"

namespace {

// Surface services with the image loaders registered the way the display registers them.
class LoaderServices : public VSurfaceServices {
  public:
    LoaderServices() : VSurfaceServices(VPIXELFORMAT_565) {
        loaders.RegisterLoader(new VLoader_BMP);
        loaders.RegisterLoader(new VLoader_GIF);
        loaders.RegisterLoader(new VLoader_PNG);
    }
    uint32_t DecodeImage(V2DSurfaceBase& surface, const uint8_t* data, uint32_t size,
                         uint8_t defaultformat, uint32_t flags) override {
        return loaders.DecodeImage(&surface, data, size, defaultformat, flags);
    }

    VLoaderRegistry loaders;
};

// What a 565 surface holds for a delivered colour value: transparent pixels become the
// colour key 0, and with transparency in the image opaque black is kept apart from it.
uint32_t Expected565(uint32_t colour, bool keepblack) {
    if ((colour >> 24) != 255) return 0;
    colour &= 0xFFFFFF;
    if (keepblack && colour == 0) colour = 0x080808;
    return ColorToPixel(VPIXELFORMAT_565, colour);
}

TEST(LoadImage, PngIntoA565Surface) {
    for (const char* name :
         {"png_t2_d8_33x17.png", "png_t6_d8_33x17_i.png", "png_t3_d4_33x17_trns.png"}) {
        const std::vector<uint8_t> data = ReadTestFile(name);
        const Expectation expected =
            ReadExpectation(std::string(name).replace(std::string(name).size() - 3, 3, "rgba"));
        LoaderServices services;
        V2DSurface surface;
        surface.SetOwner(&services);
        ASSERT_EQ(surface.LoadImage(data.data(), uint32_t(data.size()), VPIXELFORMAT_565, 0), 0u)
            << name;
        ASSERT_EQ(surface.GetWidth(), expected.width);
        ASSERT_EQ(surface.GetHeight(), expected.height);
        bool transparency = false;
        for (uint32_t c : expected.pixels) transparency |= (c >> 24) != 255;
        for (uint32_t y = 0; y < expected.height; ++y) {
            for (uint32_t x = 0; x < expected.width; ++x) {
                const uint32_t want =
                    Expected565(expected.pixels[y * expected.width + x], transparency);
                ASSERT_EQ(ColorToPixel(VPIXELFORMAT_565, surface.GetPixel(int32_t(x), int32_t(y))),
                          want)
                    << name << " at " << x << ", " << y;
            }
        }
        EXPECT_EQ(surface.lockcount, 0u);  // the loader's lock is gone once LoadImage returns
    }
}

// The demo's logo (203 x 140 RGBA, Adam7) through the real PNG loader into an RGBA surface in
// normal storage, which keeps colour and alpha as delivered. Expected colour values with alpha
// from Pillow's decode of the same file (tests/imaging/logo_expectations.py).
TEST(LoadImage, DemoLogoIntoAnRGBASurface) {
    struct Point {
        int32_t x, y;
        uint32_t colour;
    };
    const Point points[] = {
        {0, 0, 0x00000000},     {202, 0, 0x00000000},   {0, 139, 0x00000000},
        {202, 139, 0x00000000}, {101, 70, 0x48319BF8},  {90, 0, 0x0132A0FF},
        {13, 82, 0x48319CF8},   {125, 128, 0x0132A0FF}, {101, 16, 0xFF5F9BAE},
        {103, 60, 0xFF6BC2F2},  {128, 111, 0xFFFCF3ED}, {80, 24, 0xFF64A7BF},
        {84, 24, 0xFF8EEBFF},   {88, 20, 0xFF50859B},   {86, 20, 0xFF5D99AD},
        {90, 18, 0xFF5E9AAD},   {95, 17, 0xFF5F9AAD},
    };
    std::ifstream in(std::string(VANE_ASSETS_DIR) + "/logo.png", std::ios::binary);
    const std::vector<uint8_t> data(std::istreambuf_iterator<char>(in), {});
    ASSERT_FALSE(data.empty());
    LoaderServices services;
    V2DSurfaceRGBA surface;
    surface.SetOwner(&services);
    ASSERT_EQ(surface.LoadImage(data.data(), uint32_t(data.size()), VPIXELFORMAT_565,
                                VPIXELFORMAT_X888 << 8),
              0u);
    EXPECT_EQ(surface.GetWidth(), 203u);
    EXPECT_EQ(surface.GetHeight(), 140u);
    EXPECT_EQ(surface.lockcount, 0u);
    for (const Point& p : points)
        EXPECT_EQ(surface.GetPixel(p.x, p.y), p.colour) << "at " << p.x << ", " << p.y;
}

TEST(LoadImage, UnknownDataWalksEverySlot) {
    LoaderServices services;
    V2DSurface surface;
    surface.SetOwner(&services);
    const uint8_t text[] = "neither BMP nor GIF nor PNG";
    EXPECT_EQ(surface.LoadImage(text, sizeof(text), VPIXELFORMAT_565, 0), 3u);
    EXPECT_FALSE(surface.IsCreated());
}

}  // namespace
