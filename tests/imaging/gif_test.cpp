// The GIF decoder's failure table, row placement and the LZW rules the fixtures do not show.
#include <gtest/gtest.h>

#include "imaging/gif_lzw.h"
#include "imaging/loader_gif.h"
#include "tests/imaging/capture_surface.h"
#include "tests/imaging/test_files.h"

namespace {

using Bytes = std::vector<uint8_t>;

uint32_t Decode(const Bytes& file, CaptureSurface& surface) {
    VLoader_GIF loader;
    return loader.DecodeImage(&surface, file.data(), uint32_t(file.size()), 1, 0);
}

// Screen 2 × 2, a two-entry global table (red, green), then the given blocks.
Bytes Gif(const Bytes& blocks, const char* version = "89a") {
    Bytes file = {'G',
                  'I',
                  'F',
                  uint8_t(version[0]),
                  uint8_t(version[1]),
                  uint8_t(version[2]),
                  2,
                  0,
                  2,
                  0,
                  0x80,
                  0,
                  0,
                  255,
                  0,
                  0,
                  0,
                  255,
                  0};
    for (uint8_t b : blocks) file.push_back(b);  // (insert trips a false g++ 12 warning)
    return file;
}

// A 2 × 2 image at (0, 0) holding indices 1 0 / 0 1: minimum code size 2, codes clear, 1, 0,
// 0 (3 bits), 1, end (4 bits).
const Bytes IMAGE = {0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0, 2, 3, 0x0C, 0x10, 0x05, 0, 0x3B};

TEST(GifLoader, FailureTable) {
    struct Case {
        const char* what;
        Bytes file;
        uint32_t expected;
    };
    Bytes zerosize = IMAGE;
    zerosize[5] = 0;
    const Case cases[] = {
        {"not GIF", {'G', 'I', 'X', '8', '9', 'a', 2, 0, 2, 0, 0, 0, 0}, VLOAD_NOTTHISFORMAT},
        {"version 86a", Gif(IMAGE, "86a"), VLOAD_NOTTHISFORMAT},
        {"version 90a", Gif(IMAGE, "90a"), VLOAD_NOTTHISFORMAT},
        {"header and trailer only", Gif({0x3B}), VLOAD_NOIMAGE},
        {"header only", Gif({}), VLOAD_NOIMAGE},
        {"unknown block", Gif({0x77, 0x3B}), VLOAD_NOIMAGE},
        {"graphic control without terminator", Gif({0x21, 0xF9, 4, 1, 0, 0, 0, 5, 0x2C, 0x3B}),
         VLOAD_NOIMAGE},
        {"graphic control too short", Gif({0x21, 0xF9, 2, 1, 0, 0, 0x3B}), VLOAD_NOIMAGE},
        {"extension cut short", Gif({0x21, 0xFE, 10, 'a', 'b'}), VLOAD_NOIMAGE},
        {"image of width 0", Gif(zerosize), VLOAD_DAMAGED},
        {"no image data", Gif({0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0, 2}), VLOAD_DAMAGED},
        {"image larger than its data can fill",
         Gif({0x2C, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 2, 3, 0x0C, 0x10, 0x05, 0}),
         VLOAD_DAMAGED},
        {"minimum code size 0", Gif({0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0, 0, 1, 0x00, 0}),
         VLOAD_DAMAGED},
        {"minimum code size 9", Gif({0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0, 9, 1, 0x00, 0}),
         VLOAD_DAMAGED},
        // Codes clear, 1, then 7: not yet in the table.
        {"code beyond the table", Gif({0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0, 2, 2, 0xCC, 0x01, 0}),
         VLOAD_DAMAGED},
    };
    for (const Case& c : cases) {
        CaptureSurface surface;
        EXPECT_EQ(Decode(c.file, surface), c.expected) << c.what;
        EXPECT_EQ(surface.pixelcalls, 0u) << c.what;
    }
    CaptureSurface refusing;
    refusing.inforesult = 4;
    EXPECT_EQ(Decode(Gif(IMAGE), refusing), 4u);
    EXPECT_EQ(refusing.palettecalls, 0u);
    CaptureSurface failing;
    failing.pixelsresult = 12;
    EXPECT_EQ(Decode(Gif(IMAGE), failing), 12u);
    EXPECT_EQ(failing.pixelcalls, 1u);
}

TEST(GifLoader, SmallImageWithExtensionsBeforeIt) {
    Bytes blocks = {0x21, 0xFE, 3,   'a', 'b', 'c', 2,   'd', 'e', 0,  // comment, two sub-blocks
                    0x00, 0x99,                                        // padding and a dropped byte
                    0x21, 0xFF, 11,  'N', 'E', 'T', 'S', 'C', 'A', 'P',
                    'E',  '2',  '.', '0', 3,   1,   0,   0,   0};
    blocks.insert(blocks.end(), IMAGE.begin(), IMAGE.end());
    CaptureSurface surface;
    ASSERT_EQ(Decode(Gif(blocks), surface), 0u);
    EXPECT_EQ(surface.pixelkind, VLOADER_PIXELS_INDEX);
    EXPECT_EQ(surface.keepblack, 0);
    const uint8_t expected[4] = {1, 0, 0, 1};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(surface.indices[i], expected[i]);
    EXPECT_EQ(surface.At(0, 0), 0xFF00FF00u);
    EXPECT_EQ(surface.At(1, 0), 0xFF0000FFu);
}

TEST(GifLoader, TransparentIndexGetsAlphaZero) {
    Bytes blocks = {0x21, 0xF9, 4, 0x01, 0, 0, 1, 0};
    blocks.insert(blocks.end(), IMAGE.begin(), IMAGE.end());
    CaptureSurface surface;
    ASSERT_EQ(Decode(Gif(blocks), surface), 0u);
    EXPECT_EQ(surface.keepblack, 1);
    EXPECT_EQ(surface.palette[1], 0x0000FF00u);
    EXPECT_EQ(surface.palette[0], 0xFF0000FFu);

    const std::vector<uint8_t> file = ReadTestFile("gif_transparent.gif");
    CaptureSurface fixture;
    ASSERT_EQ(Decode(file, fixture), 0u);
    EXPECT_EQ(fixture.keepblack, 1);
    EXPECT_EQ(fixture.palette[5] >> 24, 0u);
    EXPECT_EQ(fixture.palette[4] >> 24, 255u);
}

TEST(GifLoader, InterlacedRowsArriveInPassOrder) {
    CaptureSurface surface;
    ASSERT_EQ(Decode(ReadTestFile("gif_rows10_i.gif"), surface), 0u);
    const uint32_t rows[10] = {0, 8, 4, 2, 6, 1, 3, 5, 7, 9};
    ASSERT_EQ(surface.rowstarts.size(), 10u);
    for (int j = 0; j < 10; ++j) EXPECT_EQ(surface.rowstarts[j], rows[j] * 4) << j;
    for (uint32_t y = 0; y < 10; ++y) EXPECT_EQ(surface.indices[y * 4], y);  // row y holds y
}

TEST(GifLoader, ImageInsideALargerScreen) {
    CaptureSurface surface;
    ASSERT_EQ(Decode(ReadTestFile("gif_offset.gif"), surface), 0u);
    ASSERT_EQ(surface.width, 100u);
    ASSERT_EQ(surface.rowstarts.size(), 20u);
    for (uint32_t j = 0; j < 20; ++j) EXPECT_EQ(surface.rowstarts[j], (5 + j) * 100 + 10);
    EXPECT_EQ(surface.outside, 0u);
}

TEST(GifLoader, RowsPastTheScreenAreClipped) {
    // A 30 × 30 image at (90, 80) on a 100 × 100 screen: 20 rows of 10 pixels are visible.
    CaptureSurface surface;
    ASSERT_EQ(Decode(ReadTestFile("gif_past_screen.gif"), surface), 0u);
    EXPECT_EQ(surface.rowstarts.size(), 20u);
    EXPECT_EQ(surface.outside, 0u);
    EXPECT_EQ(surface.rowstarts.back(), 99u * 100 + 90);
}

TEST(GifLzw, StreamWithoutEndCodeKeepsWhatItDecoded) {
    // One byte: clear and 1 (3 bits each); the two bits left cannot make a code.
    const uint8_t stream[] = {1, 0x0C, 0};
    uint8_t out[4] = {9, 9, 9, 9};
    EXPECT_EQ(GifDecompress(stream, sizeof(stream), 2, out, 4), 0u);
    EXPECT_EQ(out[0], 1);
    EXPECT_EQ(out[1], 9);
}

TEST(GifLzw, OutputBeyondThePictureIsDropped) {
    // clear, 1, 0, 7 (the string being defined: 0 0), end: four pixels into three.
    const uint8_t stream[] = {2, 0x0C, 0x5E, 0};
    uint8_t out[3] = {};
    EXPECT_EQ(GifDecompress(stream, sizeof(stream), 2, out, 3), 0u);
    EXPECT_EQ(out[0], 1);
    EXPECT_EQ(out[1], 0);
    EXPECT_EQ(out[2], 0);
}

}  // namespace
