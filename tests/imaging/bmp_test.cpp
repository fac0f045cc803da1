// The BMP decoder's failure table and the rules the generated fixtures do not show.
#include <gtest/gtest.h>

#include "imaging/loader_bmp.h"
#include "tests/imaging/capture_surface.h"

namespace {

void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    b[at] = uint8_t(v), b[at + 1] = uint8_t(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

// A bitmap file: headers, the palette (blue, green, red, unused per entry) and the stored
// rows as given. infosize above 40 inserts zero bytes after the standard fields.
std::vector<uint8_t> MakeBmp(uint32_t width, int32_t height, uint16_t bpp,
                             const std::vector<uint8_t>& palette, const std::vector<uint8_t>& rows,
                             uint32_t infosize = 40) {
    std::vector<uint8_t> b(14 + infosize, 0);
    b[0] = 'B', b[1] = 'M';
    const uint32_t offset = uint32_t(b.size() + palette.size());
    Put32(b, 2, uint32_t(offset + rows.size()));
    Put32(b, 10, offset);
    Put32(b, 14, infosize);
    Put32(b, 18, width);
    Put32(b, 22, uint32_t(height));
    Put16(b, 26, 1);
    Put16(b, 28, bpp);
    b.insert(b.end(), palette.begin(), palette.end());
    b.insert(b.end(), rows.begin(), rows.end());
    return b;
}

uint32_t Decode(const std::vector<uint8_t>& file, CaptureSurface& surface) {
    VLoader_BMP loader;
    return loader.DecodeImage(&surface, file.data(), uint32_t(file.size()), 4, 0);
}

// A 2 × 2 8-bit bitmap with two palette entries.
std::vector<uint8_t> SmallIndexed() {
    std::vector<uint8_t> palette(256 * 4, 0);
    palette[4] = 0xFF;  // entry 1: blue
    return MakeBmp(2, 2, 8, palette, {0, 1, 0, 0, 1, 0, 0, 0});
}

TEST(BmpLoader, FailureTable) {
    struct Case {
        const char* what;
        size_t offset;
        uint32_t value;
        int bytes;
        uint32_t expected;
    };
    const Case cases[] = {
        {"magic", 0, 0x4142, 2, VLOAD_NOTTHISFORMAT},
        {"run-length compression", 30, 1, 4, VLOAD_NOTTHISFORMAT},
        {"bit fields", 30, 3, 4, VLOAD_NOTTHISFORMAT},
        {"two planes", 26, 2, 2, VLOAD_NOTTHISFORMAT},
        {"16 bits", 28, 16, 2, VLOAD_NOTTHISFORMAT},
        {"32 bits", 28, 32, 2, VLOAD_NOTTHISFORMAT},
        {"2 bits", 28, 2, 2, VLOAD_NOTTHISFORMAT},
        {"core header", 14, 12, 4, VLOAD_NOTTHISFORMAT},
        {"width 0", 18, 0, 4, VLOAD_DAMAGED},
        {"height 0", 22, 0, 4, VLOAD_DAMAGED},
        {"row longer than the file", 18, 0x40000000, 4, VLOAD_DAMAGED},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> file = SmallIndexed();
        if (c.bytes == 2) Put16(file, c.offset, c.value);
        if (c.bytes == 4) Put32(file, c.offset, c.value);
        CaptureSurface surface;
        EXPECT_EQ(Decode(file, surface), c.expected) << c.what;
        EXPECT_EQ(surface.infocalls, 0u) << c.what;
    }
}

TEST(BmpLoader, SurfaceFailuresEndTheDecode) {
    CaptureSurface refusing;
    refusing.inforesult = 5;
    EXPECT_EQ(Decode(SmallIndexed(), refusing), 5u);
    EXPECT_EQ(refusing.palettecalls + refusing.pixelcalls, 0u);

    CaptureSurface failing;
    failing.pixelsresult = 12;
    EXPECT_EQ(Decode(SmallIndexed(), failing), 12u);
    EXPECT_EQ(failing.pixelcalls, 1u);
}

TEST(BmpLoader, PaletteEntryBecomesColourValue) {
    const std::vector<uint8_t> file =
        MakeBmp(1, 1, 1, {0x10, 0x20, 0x30, 0x99, 0, 0, 0, 0}, {0, 0, 0, 0});
    CaptureSurface surface;
    ASSERT_EQ(Decode(file, surface), 0u);
    EXPECT_EQ(surface.pixelkind, VLOADER_PIXELS_INDEX);
    EXPECT_EQ(surface.palette[0], 0xFF102030u);
    EXPECT_EQ(surface.At(0, 0), 0xFF102030u);
}

TEST(BmpLoader, FourBitRowsArePaddedToFourBytes) {
    std::vector<uint8_t> palette(16 * 4, 0);
    for (uint8_t i = 0; i < 16; ++i) palette[4 * i] = i;  // blue = index
    // Width 3: 1.5 bytes of pixels, stored in 4. Bottom row 1 2 3, top row 4 5 6.
    const std::vector<uint8_t> file =
        MakeBmp(3, 2, 4, palette, {0x12, 0x30, 0xEE, 0xEE, 0x45, 0x60, 0xEE, 0xEE});
    CaptureSurface surface;
    ASSERT_EQ(Decode(file, surface), 0u);
    EXPECT_EQ(surface.pixelcalls, 2u);
    EXPECT_EQ(surface.outside, 0u);
    const uint8_t expected[6] = {4, 5, 6, 1, 2, 3};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(surface.indices[i], expected[i]) << i;
}

TEST(BmpLoader, PaletteFollowsALongerInfoHeader) {
    std::vector<uint8_t> palette(256 * 4, 0);
    palette[4 * 7 + 2] = 0xC0;  // entry 7: red
    const std::vector<uint8_t> file = MakeBmp(1, 1, 8, palette, {7, 0, 0, 0}, 124);
    CaptureSurface surface;
    ASSERT_EQ(Decode(file, surface), 0u);
    EXPECT_EQ(surface.At(0, 0), 0xFF0000C0u);
}

TEST(BmpLoader, WideStripFirstStoredRowAtTheBottom) {
    const uint32_t width = 1350, height = 8;
    std::vector<uint8_t> rows;
    for (uint32_t r = 0; r < height; ++r) {
        for (uint32_t x = 0; x < width; ++x) {
            rows.push_back(uint8_t(r));       // blue: stored row number
            rows.push_back(uint8_t(x));       // green
            rows.push_back(uint8_t(x >> 8));  // red
        }
        rows.resize(rows.size() + (4 - width * 3 % 4) % 4, 0);
    }
    CaptureSurface surface;
    ASSERT_EQ(Decode(MakeBmp(width, height, 24, {}, rows), surface), 0u);
    ASSERT_EQ(surface.width, width);
    ASSERT_EQ(surface.height, height);
    EXPECT_EQ(surface.pixelkind, VLOADER_PIXELS_COLOUR);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; x += 97) {
            const uint32_t want = (x >> 8) | (x & 0xFF) << 8 | (height - 1 - y) << 16 | 0xFF000000u;
            ASSERT_EQ(surface.At(x, y), want) << x << ", " << y;
        }
    }
}

TEST(BmpLoader, MissingRowsRepeatTheLastRowRead) {
    std::vector<uint8_t> file = SmallIndexed();
    // Add a third row to the header but not to the file.
    Put32(file, 22, 3);
    CaptureSurface surface;
    ASSERT_EQ(Decode(file, surface), 0u);
    // Stored rows: [0 1], [1 0], then nothing: the top row repeats [1 0].
    EXPECT_EQ(surface.indices[0], 1);
    EXPECT_EQ(surface.indices[1], 0);
    EXPECT_EQ(surface.indices[2], 1);
    EXPECT_EQ(surface.indices[4], 0);
    EXPECT_EQ(surface.indices[5], 1);
}

}  // namespace
