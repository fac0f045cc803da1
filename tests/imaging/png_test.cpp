// The PNG decoder's failure table and the rules the generated fixtures do not show.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <string>

#include "imaging/loader_png.h"
#include "tests/imaging/capture_surface.h"
#include "tests/imaging/test_files.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Appends by resizing and copying: vector insert and push_back here trip false g++ 12
// warnings at -O2.
void Append(Bytes& b, const void* data, size_t size) {
    const size_t at = b.size();
    b.resize(at + size);
    if (size != 0) std::memcpy(b.data() + at, data, size);
}

void Append32(Bytes& b, uint32_t v) {
    const uint8_t bytes[4] = {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
    Append(b, bytes, 4);
}

Bytes Chunk(const std::string& type, const Bytes& data) {
    Bytes c;
    Append32(c, uint32_t(data.size()));
    Append(c, type.data(), 4);
    Append(c, data.data(), data.size());
    Append32(c, uint32_t(crc32(crc32(0, reinterpret_cast<const Bytef*>(type.data()), 4),
                               data.data(), uInt(data.size()))));
    return c;
}

Bytes Header(uint32_t w, uint32_t h, uint8_t depth, uint8_t type, uint8_t compression = 0,
             uint8_t filter = 0, uint8_t interlace = 0) {
    Bytes d;
    Append32(d, w);
    Append32(d, h);
    const uint8_t fields[5] = {depth, type, compression, filter, interlace};
    Append(d, fields, 5);
    return Chunk("IHDR", d);
}

Bytes Deflate(const Bytes& raw) {
    uLongf size = compressBound(uLong(raw.size()));
    Bytes out(size);
    compress(out.data(), &size, raw.data(), uLong(raw.size()));
    out.resize(size);
    return out;
}

Bytes Png(std::initializer_list<Bytes> chunks) {
    Bytes file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (const Bytes& c : chunks) Append(file, c.data(), c.size());
    return file;
}

// A 2 × 2 8-bit RGB picture, rows unfiltered.
const Bytes RGB_ROWS = {0, 10, 20, 30, 40, 50, 60, 0, 70, 80, 90, 100, 110, 120};

uint32_t Decode(const Bytes& file, CaptureSurface& surface) {
    VLoader_PNG loader;
    return loader.DecodeImage(&surface, file.data(), uint32_t(file.size()), 4, 0);
}

TEST(PngLoader, FailureTable) {
    const Bytes idat = Chunk("IDAT", Deflate(RGB_ROWS));
    const Bytes iend = Chunk("IEND", {});
    Bytes wrongsignature = Png({Header(2, 2, 8, 2), idat});
    wrongsignature[1] = 'Q';
    Bytes brokenstream = Deflate(RGB_ROWS);
    brokenstream[2] ^= 0xFF;
    Bytes shortrows = RGB_ROWS;
    shortrows.pop_back();
    struct Case {
        const char* what;
        Bytes file;
        uint32_t expected;
        bool surfacecreated;
    };
    const Case cases[] = {
        {"signature", wrongsignature, VLOAD_NOTTHISFORMAT, false},
        {"width 0", Png({Header(0, 2, 8, 2), idat}), VLOAD_DAMAGED, false},
        {"height 0", Png({Header(2, 0, 8, 2), idat}), VLOAD_DAMAGED, false},
        {"compression method", Png({Header(2, 2, 8, 2, 1), idat}), VLOAD_NOTTHISFORMAT, false},
        {"filter method", Png({Header(2, 2, 8, 2, 0, 1), idat}), VLOAD_NOTTHISFORMAT, false},
        {"colour with depth 4", Png({Header(2, 2, 4, 2), idat}), VLOAD_DAMAGED, false},
        {"palette with depth 16", Png({Header(2, 2, 16, 3), idat}), VLOAD_DAMAGED, false},
        {"grey with depth 3", Png({Header(2, 2, 3, 0), idat}), VLOAD_DAMAGED, false},
        {"colour type 5", Png({Header(2, 2, 8, 5), idat}), VLOAD_DAMAGED, false},
        {"picture too large to count", Png({Header(0x10000, 0x10000, 8, 2), idat}), VLOAD_DAMAGED,
         false},
        {"first chunk not IHDR", Png({Chunk("tEXt", {'a', 0, 'b'}), Header(2, 2, 8, 2), idat}),
         VLOAD_DAMAGED, false},
        {"second IHDR", Png({Header(2, 2, 8, 2), Header(2, 2, 8, 2), idat}), VLOAD_DAMAGED, true},
        {"PLTE of 769 bytes", Png({Header(2, 2, 8, 2), Chunk("PLTE", Bytes(769)), idat}),
         VLOAD_DAMAGED, true},
        {"PLTE of 770 bytes", Png({Header(2, 2, 8, 2), Chunk("PLTE", Bytes(770)), idat}),
         VLOAD_DAMAGED, true},
        {"PLTE not in threes", Png({Header(2, 2, 8, 2), Chunk("PLTE", Bytes(7)), idat}),
         VLOAD_DAMAGED, true},
        {"no IDAT", Png({Header(2, 2, 8, 2), iend}), VLOAD_DAMAGED, true},
        {"header only", Png({Header(2, 2, 8, 2)}), VLOAD_DAMAGED, true},
        {"damaged stream", Png({Header(2, 2, 8, 2), Chunk("IDAT", brokenstream)}), VLOAD_DAMAGED,
         true},
        {"stream ends early", Png({Header(2, 2, 8, 2), Chunk("IDAT", Deflate(shortrows))}),
         VLOAD_DAMAGED, true},
        {"more data than the picture", Png({Header(2, 1, 8, 2), Chunk("IDAT", Deflate(RGB_ROWS))}),
         VLOAD_DAMAGED, true},
        {"declares far more than the stream can hold",
         Png({Header(2000, 2000, 8, 2), Chunk("IDAT", Deflate(RGB_ROWS))}), VLOAD_DAMAGED, true},
    };
    for (const Case& c : cases) {
        CaptureSurface surface;
        EXPECT_EQ(Decode(c.file, surface), c.expected) << c.what;
        EXPECT_EQ(surface.infocalls, c.surfacecreated ? 1u : 0u) << c.what;
        EXPECT_EQ(surface.pixelcalls, 0u) << c.what;
    }
}

TEST(PngLoader, SurfaceFailuresEndTheDecode) {
    const Bytes file = Png({Header(2, 2, 8, 2), Chunk("IDAT", Deflate(RGB_ROWS))});
    CaptureSurface refusing;
    refusing.inforesult = 6;
    EXPECT_EQ(Decode(file, refusing), 6u);
    EXPECT_EQ(refusing.pixelcalls, 0u);
    CaptureSurface failing;
    failing.pixelsresult = 1;
    EXPECT_EQ(Decode(file, failing), 1u);
    EXPECT_EQ(failing.pixelcalls, 1u);
}

TEST(PngLoader, RowsAndFiltersIntoColourValues) {
    CaptureSurface surface;
    ASSERT_EQ(Decode(Png({Header(2, 2, 8, 2), Chunk("IDAT", Deflate(RGB_ROWS))}), surface), 0u);
    EXPECT_EQ(surface.keepblack, 0);
    EXPECT_EQ(surface.At(0, 0), 0xFF1E140Au);
    EXPECT_EQ(surface.At(1, 1), 0xFF786E64u);
    // Filter types above 4 leave their row as it is; the Up filter of the next row still
    // adds the unchanged bytes.
    const Bytes rows = {7, 1, 2, 3, 4, 5, 6, 2, 1, 1, 1, 1, 1, 1};
    CaptureSurface odd;
    ASSERT_EQ(Decode(Png({Header(2, 2, 8, 2), Chunk("IDAT", Deflate(rows))}), odd), 0u);
    EXPECT_EQ(odd.At(0, 0), 0xFF030201u);
    EXPECT_EQ(odd.At(1, 1), 0xFF070605u);
}

TEST(PngLoader, KeyColourAndUnknownChunks) {
    // A 16-bit key whose samples exceed 8 bits in an 8-bit picture matches nothing.
    const Bytes idat = Chunk("IDAT", Deflate(RGB_ROWS));
    const Bytes key = Chunk("tRNS", {0, 10, 0, 20, 0, 30});
    const Bytes widekey = Chunk("tRNS", {1, 10, 0, 20, 0, 30});
    CaptureSurface keyed, wide;
    ASSERT_EQ(Decode(Png({Header(2, 2, 8, 2), Chunk("zzZZ", {1, 2}), key, idat}), keyed), 0u);
    EXPECT_EQ(keyed.keepblack, 1);
    EXPECT_EQ(keyed.At(0, 0), 0x001E140Au);
    EXPECT_EQ(keyed.At(1, 0), 0xFF3C3228u);
    ASSERT_EQ(Decode(Png({Header(2, 2, 8, 2), widekey, idat}), wide), 0u);
    EXPECT_EQ(wide.At(0, 0), 0xFF1E140Au);
}

TEST(PngLoader, PaletteTransparencyBeforeAndAfterPlte) {
    // Indices 0..3 in a 4 × 1 8-bit palette picture.
    const Bytes idat = Chunk("IDAT", Deflate({0, 0, 1, 2, 3}));
    const Bytes plte = Chunk("PLTE", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    const Bytes trns = Chunk("tRNS", {0, 128, 200});
    for (bool trnsfirst : {false, true}) {
        CaptureSurface surface;
        const Bytes file = trnsfirst ? Png({Header(4, 1, 8, 3), trns, plte, idat})
                                     : Png({Header(4, 1, 8, 3), plte, trns, idat});
        ASSERT_EQ(Decode(file, surface), 0u);
        EXPECT_EQ(surface.pixelkind, VLOADER_PIXELS_INDEX);
        EXPECT_EQ(surface.keepblack, 1);
        EXPECT_EQ(surface.At(0, 0), 0x00030201u);
        EXPECT_EQ(surface.At(1, 0), 0x80060504u);
        EXPECT_EQ(surface.At(2, 0), 0xC8090807u);
        EXPECT_EQ(surface.At(3, 0), 0xFF0C0B0Au);  // beyond tRNS: opaque
    }
}

TEST(PngLoader, InterlacedEqualsPlainAndSplitEqualsWhole) {
    const std::pair<const char*, const char*> same[] = {
        {"png_t6_d8_33x17.png", "png_t6_d8_33x17_i.png"},
        {"png_t2_d16_33x17.png", "png_t2_d16_33x17_i.png"},
        {"png_t3_d1_1x9.png", "png_t3_d1_1x9_i.png"},
        {"png_t6_d8_1x9.png", "png_t6_d8_1x9_i.png"},
        {"png_split_idat.png", "png_split_idat_i.png"},
        {"png_split_idat.png", "png_chunk_between_idats.png"},
    };
    for (const auto& [a, b] : same) {
        CaptureSurface first, second;
        const Bytes fa = ReadTestFile(a), fb = ReadTestFile(b);
        ASSERT_EQ(Decode(fa, first), 0u) << a;
        ASSERT_EQ(Decode(fb, second), 0u) << b;
        EXPECT_EQ(first.Picture(), second.Picture()) << a << " and " << b;
    }
}

}  // namespace
