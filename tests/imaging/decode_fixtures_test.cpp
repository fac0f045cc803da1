// Every generated image decodes, through the loader dispatch, to exactly the pixels Pillow
// (or, where Pillow cannot say, the written samples) give for it.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>

#include "imaging/loader_bmp.h"
#include "imaging/loader_gif.h"
#include "imaging/loader_png.h"
#include "imaging/loader_registry.h"
#include "tests/imaging/capture_surface.h"
#include "tests/imaging/test_files.h"

namespace {

class DecodeFixture : public testing::TestWithParam<Fixture> {};

std::string Hex(uint32_t v) {
    char text[16];
    std::snprintf(text, sizeof(text), "%08X", v);
    return text;
}

TEST_P(DecodeFixture, MatchesEveryPixel) {
    const Fixture& f = GetParam();
    const std::vector<uint8_t> data = ReadTestFile(f.image);
    const Expectation expected = ReadExpectation(f.expectation);
    ASSERT_FALSE(data.empty());
    ASSERT_FALSE(expected.pixels.empty());

    VLoaderRegistry loaders;
    loaders.RegisterLoader(new VLoader_BMP);
    loaders.RegisterLoader(new VLoader_GIF);
    loaders.RegisterLoader(new VLoader_PNG);
    CaptureSurface surface;
    ASSERT_EQ(loaders.DecodeImage(&surface, data.data(), uint32_t(data.size()), 4, 0x0400), 0u);
    ASSERT_EQ(surface.width, expected.width);
    ASSERT_EQ(surface.height, expected.height);
    EXPECT_EQ(surface.outside, 0u);
    EXPECT_EQ(surface.defaultformat, 4);
    EXPECT_EQ(surface.flags, 0x0400u);

    const std::vector<uint32_t> picture = surface.Picture();
    uint32_t mismatches = 0;
    bool transparent = false;
    for (size_t i = 0; i < picture.size(); ++i) {
        transparent |= (expected.pixels[i] >> 24) != 255;
        if (picture[i] != expected.pixels[i] && ++mismatches <= 5) {
            ADD_FAILURE() << "pixel (" << i % surface.width << ", " << i / surface.width
                          << "): got " << Hex(picture[i]) << ", want " << Hex(expected.pixels[i]);
        }
    }
    EXPECT_EQ(mismatches, 0u);
    // Images with transparency must ask the surface to keep black apart from it.
    if (transparent) {
        EXPECT_EQ(surface.keepblack, 1);
    }
}

std::string FixtureName(const testing::TestParamInfo<Fixture>& info) {
    std::string name = info.param.image;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Images, DecodeFixture, testing::ValuesIn(ReadManifest()), FixtureName);

}  // namespace
