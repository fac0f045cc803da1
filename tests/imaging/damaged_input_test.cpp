// Truncated and corrupted variants of every generated image: each loader returns a result
// code, never crashes and never reads outside the block (the asan build checks the reads;
// each variant lies in a heap block of exactly its size).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <memory>

#include "imaging/loader_bmp.h"
#include "imaging/loader_gif.h"
#include "imaging/loader_jpg.h"
#include "imaging/loader_png.h"
#include "imaging/loader_tga.h"
#include "tests/imaging/capture_surface.h"
#include "tests/imaging/test_files.h"

namespace {

constexpr uint32_t VARIANTS_PER_FILE = 300;

bool KnownResult(uint32_t r) {
    return r == 0 || r == 1 || r == 2 || r == 3 || r == 7;
}

// Decodes data with every loader from a block of exactly its size.
void DecodeWithAll(const uint8_t* data, size_t size, const std::string& what) {
    std::unique_ptr<uint8_t[]> block(new uint8_t[size == 0 ? 1 : size]);
    std::copy(data, data + size, block.get());
    VLoader_BMP bmp;
    VLoader_GIF gif;
    VLoader_PNG png;
    VLoader_JPG jpg;
    VLoader_TGA tga;
    ClassVLoaderBase* loaders[] = {&bmp, &gif, &png, &jpg, &tga};
    for (ClassVLoaderBase* loader : loaders) {
        CaptureSurface surface;
        surface.maxpixels = 1 << 20;
        const uint32_t r = loader->DecodeImage(&surface, block.get(), uint32_t(size), 4, 0);
        ASSERT_TRUE(KnownResult(r)) << what << ": result " << r;
        ASSERT_EQ(surface.outside, 0u) << what;
        ASSERT_LE(surface.infocalls, 1u) << what;
    }
}

class DamagedFixture : public testing::TestWithParam<Fixture> {};

TEST_P(DamagedFixture, TruncatedAtAnyLength) {
    const std::string& name = GetParam().image;
    const std::vector<uint8_t> data = ReadTestFile(name);
    // A JPEG decoder decides something at almost every byte of the headers and the scans, and
    // a TGA file has no signature to stop at: those are cut at every length.
    const bool everylength = name.rfind("jpeg_", 0) == 0 || name.rfind("tga_", 0) == 0;
    const size_t step = everylength ? 1 : data.size() / VARIANTS_PER_FILE + 1;
    for (size_t length = 0; length < data.size(); length += step) {
        DecodeWithAll(data.data(), length, "truncated at " + std::to_string(length));
    }
}

TEST_P(DamagedFixture, CorruptedBytes) {
    std::vector<uint8_t> data = ReadTestFile(GetParam().image);
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t bound) {
        seed = seed * 1103515245 + 12345;
        return (seed >> 8) % bound;
    };
    for (uint32_t v = 0; v < VARIANTS_PER_FILE; ++v) {
        std::vector<uint8_t> copy = data;
        // Headers and chunk fields sit near the start: aim half the damage there.
        const uint32_t span = (v & 1) ? uint32_t(copy.size()) : std::min<uint32_t>(64, copy.size());
        for (uint32_t k = 0, n = 1 + next(4); k < n; ++k) copy[next(span)] = uint8_t(next(256));
        DecodeWithAll(copy.data(), copy.size(), "variant " + std::to_string(v));
    }
}

std::string FixtureName(const testing::TestParamInfo<Fixture>& info) {
    std::string name = info.param.image;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Images, DamagedFixture, testing::ValuesIn(ReadManifest()), FixtureName);

}  // namespace
