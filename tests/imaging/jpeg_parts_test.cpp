// The JPEG decoder's parts against their rules: the vector inverse DCT and the shortcut for
// flat blocks against the column-and-row version, the colour loops against the per-pixel
// conversion, and the Huffman decoding table for codes of every length.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "imaging/jpeg_colour.h"
#include "imaging/jpeg_huffman.h"
#include "imaging/jpeg_idct.h"

namespace {

struct Random {
    uint32_t state;
    uint32_t Next() {
        state = state * 1103515245u + 12345u;
        return state >> 1;
    }
    int32_t Between(int32_t low, int32_t high) {
        return low + int32_t(Next() % uint32_t(high - low + 1));
    }
};

TEST(JpegIdct, VectorVersionsMatchTheRule) {
    JpegIdctFunction versions[2];
    const uint32_t count = JpegIdctVersions(versions);
    Random random{7};
    // Blocks of real pictures (a few coefficients near the corner), dense blocks, and values
    // far past anything a picture holds, where the arithmetic wraps.
    for (int n = 0; n < 3000; ++n) {
        int32_t block[64] = {};
        const int kind = n % 3;
        for (int k = 0; k < 64; ++k) {
            if (kind == 0 && k % 8 + k / 8 < 4) block[k] = random.Between(-1024, 1023);
            if (kind == 1) block[k] = random.Between(-2048, 2047);
            if (kind == 2) block[k] = int32_t(random.Next() * 2u + (random.Next() & 1));
        }
        uint8_t rule[8 * 11];
        std::memset(rule, 0xAA, sizeof(rule));
        JpegIdctReference(block, rule, 11);
        for (uint32_t v = 0; v < count; ++v) {
            uint8_t fast[8 * 11];
            std::memset(fast, 0xAA, sizeof(fast));
            versions[v](block, fast, 11);
            ASSERT_EQ(std::memcmp(fast, rule, sizeof(fast)), 0)
                << "version " << v << ", block " << n;
        }
    }
}

TEST(JpegIdct, FlatBlocksTakeTheirValueFromTheFirstCoefficient) {
    std::vector<int32_t> values = {INT32_MIN, -2147450880, -70000, 2147385345, INT32_MAX};
    for (int32_t dc = -2100; dc <= 2100; ++dc) values.push_back(dc);
    for (int32_t dc : values) {
        int32_t block[64] = {dc};
        uint8_t rule[64];
        JpegIdctReference(block, rule, 8);
        for (uint8_t sample : rule) ASSERT_EQ(JpegIdctFlatValue(dc), sample) << dc;
    }
}

TEST(JpegColour, LinesFollowThePixelRule) {
    VJpegColourTables tables;
    tables.Build();
    const uint32_t width = 256;
    uint8_t cb[256], cr[256], luma[width];
    int16_t terms[3 * width];
    uint8_t out[4 * width];
    for (uint32_t hfactor : {1u, 2u}) {
        for (uint32_t c = 0; c < 256; ++c) {
            // Every Cr with every Cb once over the rows, each against several luma values.
            for (uint32_t x = 0; x < 256; ++x) {
                cb[x] = uint8_t(x);
                cr[x] = uint8_t(x + c);
            }
            JpegChromaTerms(tables, cb, cr, width, terms, width);
            for (uint32_t y : {0u, 1u, 77u, 128u, 200u, 254u, 255u}) {
                for (uint32_t x = 0; x < width; ++x) luma[x] = uint8_t(y + x * 13);
                // Widths that leave pixels for the loop after the vectors too.
                const uint32_t pixels = width - 3;
                JpegColourLine(luma, terms, width, hfactor, pixels, out);
                for (uint32_t x = 0; x < pixels; ++x) {
                    uint8_t rgb[3];
                    tables.Pixel(luma[x], cb[x / hfactor], cr[x / hfactor], rgb);
                    ASSERT_EQ(out[4 * x + 0], rgb[0]);
                    ASSERT_EQ(out[4 * x + 1], rgb[1]);
                    ASSERT_EQ(out[4 * x + 2], rgb[2]);
                    ASSERT_EQ(out[4 * x + 3], 255);
                }
            }
        }
    }
}

TEST(JpegColour, TheTermsOfTheConstants) {
    VJpegColourTables tables;
    tables.Build();
    uint8_t rgb[3];
    tables.Pixel(100, 128, 128, rgb);  // no chroma: grey
    EXPECT_EQ(rgb[0], 100);
    EXPECT_EQ(rgb[1], 100);
    EXPECT_EQ(rgb[2], 100);
    EXPECT_EQ(tables.redfromcr[255], 178);  // (91882 * 127 + 32768) >> 16
    EXPECT_EQ(tables.bluefromcb[0], -227);  // (116130 * -128 + 32768) >> 16
    tables.Pixel(255, 0, 255, rgb);         // limited at both ends
    EXPECT_EQ(rgb[0], 255);
    EXPECT_EQ(rgb[2], 28);
}

TEST(JpegHuffman, CodesOfEveryLength) {
    // One code of each length 1 to 16: 0, 10, 110, ..., 1111111111111110.
    uint8_t counts[16], symbols[16];
    for (uint8_t i = 0; i < 16; ++i) {
        counts[i] = 1;
        symbols[i] = uint8_t(0xA0 + i);
    }
    VJpegHuffmanTable table;
    ASSERT_TRUE(table.Define(counts, symbols, 16));
    for (uint32_t length = 1; length <= 16; ++length) {
        const uint32_t code = ((1u << length) - 2) << (16 - length);  // ones, then one zero
        for (uint32_t tail : {0u, 1u}) {
            uint32_t got = 0;
            const uint32_t bits = code | (length < 16 ? tail << (15 - length) : 0);
            EXPECT_EQ(table.Decode(bits, &got), int32_t(0xA0 + length - 1)) << length;
            EXPECT_EQ(got, length);
        }
    }
    uint32_t unused = 0;
    EXPECT_EQ(table.Decode(0xFFFF, &unused), -1) << "sixteen ones are no code";
}

TEST(JpegHuffman, TablesThatCannotBeDecoded) {
    struct Case {
        const char* what;
        std::vector<uint8_t> counts;
        uint32_t symbols;
        bool ok;
    };
    const Case cases[] = {
        {"two of one bit (one is all ones)", {2}, 2, false},
        {"three of two bits", {0, 3}, 3, true},
        {"four of two bits", {0, 4}, 4, false},
        {"one and three", {1, 3}, 4, false},
        {"fewer symbols than codes", {0, 3}, 2, false},
        {"254 of nine bits", {0, 0, 0, 0, 0, 0, 0, 0, 254}, 254, true},
        {"an empty table", {}, 0, true},
    };
    for (const Case& c : cases) {
        uint8_t counts[16] = {};
        std::copy(c.counts.begin(), c.counts.end(), counts);
        std::vector<uint8_t> symbols(256, 7);
        VJpegHuffmanTable table;
        EXPECT_EQ(table.Define(counts, symbols.data(), c.symbols), c.ok) << c.what;
        EXPECT_EQ(table.Defined(), c.ok) << c.what;
    }
}

}  // namespace
