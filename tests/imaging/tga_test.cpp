// The TGA decoder's failure table and the pixel rules, on files put together here.
#include <gtest/gtest.h>

#include <cstring>

#include "imaging/loader_tga.h"
#include "tests/imaging/capture_surface.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Header {
    uint8_t idlength = 0, maptype = 0, imagetype = 2;
    uint16_t mapfirst = 0, maplength = 0;
    uint8_t mapbits = 0;
    uint16_t width = 1, height = 1;
    uint8_t depth = 24, descriptor = 0x20;
};

Bytes Tga(const Header& h, const Bytes& after) {
    Bytes b = {h.idlength,
               h.maptype,
               h.imagetype,
               uint8_t(h.mapfirst),
               uint8_t(h.mapfirst >> 8),
               uint8_t(h.maplength),
               uint8_t(h.maplength >> 8),
               h.mapbits,
               0,
               0,
               0,
               0,
               uint8_t(h.width),
               uint8_t(h.width >> 8),
               uint8_t(h.height),
               uint8_t(h.height >> 8),
               h.depth,
               h.descriptor};
    const size_t at = b.size();
    b.resize(at + after.size());
    if (!after.empty()) std::memcpy(b.data() + at, after.data(), after.size());
    return b;
}

uint32_t Decode(const Bytes& file, CaptureSurface& surface) {
    VLoader_TGA loader;
    return loader.DecodeImage(&surface, file.data(), uint32_t(file.size()), 4, 0);
}

// Refused variants give 3 and leave the surface alone; an image whose rows the data does not
// hold gives 1 before a surface is made for it; a width of 0 gives 1 once the surface exists.
TEST(TgaLoader, FailureTable) {
    Header mapped;
    mapped.maptype = 1, mapped.imagetype = 1, mapped.maplength = 2, mapped.mapbits = 24;
    mapped.depth = 8;
    auto with = [](Header h, auto change) {
        change(h);
        return h;
    };
    auto file = [](const Header& h, size_t bytes) { return Tga(h, Bytes(bytes, 0x40)); };
    struct Case {
        const char* what;
        Bytes file;
        uint32_t expected;
        uint32_t infocalls;
    };
    const Case cases[] = {
        {"too short for a header", Bytes(10, 0), 3, 0},
        {"colour map type 2", file(with(Header{}, [](Header& h) { h.maptype = 2; }), 3), 3, 0},
        {"image type 0", file(with(Header{}, [](Header& h) { h.imagetype = 0; }), 3), 3, 0},
        {"run-length true colour", file(with(Header{}, [](Header& h) { h.imagetype = 10; }), 3), 3,
         0},
        {"run-length mapped", file(with(mapped, [](Header& h) { h.imagetype = 9; }), 7), 3, 0},
        {"run-length grey",
         file(with(Header{}, [](Header& h) { h.imagetype = 11, h.depth = 8; }), 1), 3, 0},
        {"depth 15", file(with(Header{}, [](Header& h) { h.depth = 15; }), 2), 3, 0},
        {"grey of 16 bits",
         file(with(Header{}, [](Header& h) { h.imagetype = 3, h.depth = 16; }), 2), 3, 0},
        {"map entries of 16 bits", file(with(mapped, [](Header& h) { h.mapbits = 16; }), 5), 3, 0},
        {"right to left", file(with(Header{}, [](Header& h) { h.descriptor = 0x30; }), 3), 3, 0},
        {"true colour of 8 bits", file(with(Header{}, [](Header& h) { h.depth = 8; }), 1), 3, 0},
        {"16-bit indices", file(with(mapped, [](Header& h) { h.depth = 16; }), 8), 3, 0},
        {"indices without a map", file(with(mapped, [](Header& h) { h.maptype = 0; }), 1), 3, 0},
        {"true colour with a map",
         file(with(mapped, [](Header& h) { h.imagetype = 2, h.depth = 24; }), 9), 3, 0},
        {"grey with a map", file(with(mapped, [](Header& h) { h.imagetype = 3; }), 7), 3, 0},
        {"rows past the data", file(with(Header{}, [](Header& h) { h.height = 2; }), 5), 1, 0},
        {"map past the data", file(mapped, 6), 1, 0},
        {"width 0", file(with(Header{}, [](Header& h) { h.width = 0; }), 0), 1, 1},
        {"height 0", file(with(Header{}, [](Header& h) { h.height = 0; }), 0), 0, 1},
    };
    for (const Case& c : cases) {
        CaptureSurface surface;
        EXPECT_EQ(Decode(c.file, surface), c.expected) << c.what;
        EXPECT_EQ(surface.infocalls, c.infocalls) << c.what;
        EXPECT_EQ(surface.pixelcalls, 0u) << c.what;
    }
}

TEST(TgaLoader, PixelRules) {
    struct Case {
        const char* what;
        uint8_t imagetype, depth;
        Bytes stored;
        uint32_t colour;
        uint8_t keepblack;
    };
    const Case cases[] = {
        {"16 bits, pure red", 2, 16, {0x00, 0x7C}, 0xFF0000F8, 0},
        {"16 bits, pure green", 2, 16, {0xE0, 0x03}, 0xFF00F800, 0},
        {"16 bits, pure blue, bit 15 set", 2, 16, {0x1F, 0x80}, 0xFFF80000, 0},
        {"16 bits, low bits of each", 2, 16, {0x21, 0x04}, 0xFF080808, 0},
        {"24 bits", 2, 24, {0x30, 0x20, 0x10}, 0xFF302010, 0},
        {"32 bits", 2, 32, {0x30, 0x20, 0x10, 0x80}, 0x80302010, 1},
        {"32 bits, opaque black", 2, 32, {0, 0, 0, 255}, 0xFF000000, 1},
        {"grey 100", 3, 8, {100}, 0xFF646464, 0},
    };
    for (const Case& c : cases) {
        Header h;
        h.imagetype = c.imagetype;
        h.depth = c.depth;
        CaptureSurface surface;
        ASSERT_EQ(Decode(Tga(h, c.stored), surface), 0u) << c.what;
        EXPECT_EQ(surface.pixelkind, VLOADER_PIXELS_COLOUR) << c.what;
        EXPECT_EQ(surface.At(0, 0), c.colour) << c.what;
        EXPECT_EQ(surface.keepblack, c.keepblack) << c.what;
    }
}

TEST(TgaLoader, DescriptorBit5SetsTheRowOrder) {
    // Two stored rows of one 24-bit pixel: blue 1, then blue 2.
    for (uint8_t descriptor : {0x00, 0x20}) {
        Header h;
        h.height = 2;
        h.descriptor = descriptor;
        CaptureSurface surface;
        ASSERT_EQ(Decode(Tga(h, {1, 0, 0, 2, 0, 0}), surface), 0u);
        const bool topdown = descriptor == 0x20;
        EXPECT_EQ(surface.At(0, 0), topdown ? 0xFF010000u : 0xFF020000u) << int(descriptor);
        EXPECT_EQ(surface.At(0, 1), topdown ? 0xFF020000u : 0xFF010000u) << int(descriptor);
        EXPECT_EQ(surface.rowstarts, (std::vector<uint32_t>{topdown ? 0u : 1u, topdown ? 1u : 0u}));
    }
}

TEST(TgaLoader, ColourMaps) {
    struct Case {
        const char* what;
        uint16_t first, length;
        uint8_t bits;
        uint8_t keepblack;
    };
    const Case cases[] = {
        {"24-bit entries from entry 16", 16, 3, 24, 0},
        {"32-bit entries", 0, 3, 32, 1},
        {"300 entries, cut at 256", 0, 300, 24, 0},
        {"from entry 250, cut by the palette", 250, 10, 24, 0},
    };
    for (const Case& c : cases) {
        Header h;
        h.maptype = 1, h.imagetype = 1, h.depth = 8;
        h.mapfirst = c.first, h.maplength = c.length, h.mapbits = c.bits;
        h.width = 2;
        // Entry i: blue i, green 1, red 2 (and alpha 3).
        Bytes file;
        Bytes after;
        for (uint32_t i = 0; i < c.length; ++i) {
            after.push_back(uint8_t(i));
            after.push_back(1);
            after.push_back(2);
            if (c.bits == 32) after.push_back(3);
        }
        // The two pixels name the map's first entry and its second.
        after.push_back(uint8_t(c.first));
        after.push_back(uint8_t(c.first + 1));
        CaptureSurface surface;
        ASSERT_EQ(Decode(Tga(h, after), surface), 0u) << c.what;
        EXPECT_EQ(surface.pixelkind, VLOADER_PIXELS_INDEX) << c.what;
        EXPECT_EQ(surface.keepblack, c.keepblack) << c.what;
        const uint32_t alpha = c.bits == 32 ? 0x03000000 : 0xFF000000;
        for (uint32_t i = 0; i < 256; ++i) {
            const bool filled = i >= c.first && i < uint32_t(c.first) + c.length;
            const uint32_t want = filled ? alpha | (i - c.first) << 16 | 0x0102 : 0;
            ASSERT_EQ(surface.palette[i], want) << c.what << ", entry " << i;
        }
        EXPECT_EQ(surface.At(0, 0), alpha | 0x0102) << c.what;
        EXPECT_EQ(surface.At(1, 0), alpha | 1 << 16 | 0x0102) << c.what;
    }
}

TEST(TgaLoader, SurfaceFailures) {
    Header h;
    h.height = 3;
    const Bytes file = Tga(h, Bytes(9, 0x55));
    CaptureSurface refusing;
    refusing.inforesult = 5;
    EXPECT_EQ(Decode(file, refusing), 5u);
    EXPECT_EQ(refusing.pixelcalls, 0u);
    // A row the surface cannot take ends the decode with the surface's result.
    CaptureSurface failing;
    failing.pixelsresult = 12;
    EXPECT_EQ(Decode(file, failing), 12u);
    EXPECT_EQ(failing.pixelcalls, 1u);
}

}  // namespace
