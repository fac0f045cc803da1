// The JPEG loader's results for refused and damaged files, and the rules the generated
// fixtures do not show on their own: small files are put together here segment by segment.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "imaging/loader_jpg.h"
#include "imaging/loader_registry.h"
#include "imaging/loader_tga.h"
#include "tests/imaging/capture_surface.h"
#include "tests/imaging/test_files.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Append(Bytes& b, const Bytes& more) {
    const size_t at = b.size();
    b.resize(at + more.size());
    if (!more.empty()) std::memcpy(b.data() + at, more.data(), more.size());
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) Append(out, p);
    return out;
}

Bytes Marker(uint8_t code) {
    return {0xFF, code};
}

Bytes Segment(uint8_t code, const Bytes& payload) {
    const size_t length = payload.size() + 2;
    return Join({{0xFF, code, uint8_t(length >> 8), uint8_t(length)}, payload});
}

// A frame of greyscale (one component, id 1) or YCbCr (ids 1, 2, 3), all on table 0.
Bytes Frame(uint8_t code, uint16_t width, uint16_t height, uint8_t components = 1,
            uint8_t lumasampling = 0x11) {
    Bytes p = {
        8, uint8_t(height >> 8), uint8_t(height), uint8_t(width >> 8), uint8_t(width), components};
    for (uint8_t i = 0; i < components; ++i)
        Append(p, {uint8_t(i + 1), i == 0 ? lumasampling : uint8_t(0x11), 0});
    return Segment(code, p);
}

// Quantisation table 0, every entry 1.
Bytes Quant(uint8_t precisionindex = 0x00) {
    Bytes p = {precisionindex};
    Append(p, Bytes(64, 1));
    return Segment(0xDB, p);
}

Bytes Huffman(uint8_t classindex, std::initializer_list<uint8_t> counts, const Bytes& symbols) {
    Bytes p = {classindex};
    Bytes c(16, 0);
    std::copy(counts.begin(), counts.end(), c.begin());
    Append(p, c);
    Append(p, symbols);
    return Segment(0xC4, p);
}

// DC table 0: codes 00 (a difference of 8 bits) and 01 (no difference). AC table 0: code 0,
// the end of a block.
const Bytes DC_TABLE = Huffman(0x00, {0, 2}, {8, 0});
const Bytes AC_TABLE = Huffman(0x10, {1}, {0x00});

Bytes Scan(std::initializer_list<uint8_t> ids, uint8_t start = 0, uint8_t end = 63,
           uint8_t approximation = 0) {
    Bytes p = {uint8_t(ids.size())};
    for (uint8_t id : ids) Append(p, {id, 0x00});
    Append(p, {start, end, approximation});
    return Segment(0xDA, p);
}

// Entropy-coded bits, most significant first; the last byte is padded with ones and every
// 0xFF byte is followed by a stuffed zero.
class BitWriter {
  public:
    BitWriter& Put(uint32_t value, uint32_t count) {
        for (uint32_t i = count; i-- > 0;) {
            m_byte = uint8_t(m_byte << 1 | (value >> i & 1));
            if (++m_bits == 8) Flush();
        }
        return *this;
    }
    Bytes Finish() {
        while (m_bits != 0) Put(1, 1);
        return m_out;
    }

  private:
    void Flush() {
        m_out.push_back(m_byte);
        if (m_byte == 0xFF) m_out.push_back(0);
        m_byte = 0;
        m_bits = 0;
    }
    Bytes m_out;
    uint8_t m_byte = 0;
    uint32_t m_bits = 0;
};

// blocks flat blocks of grey 100 with the tables above: the first has the DC value -224
// (8 bits 00011111), the others no difference; each ends at once.
Bytes FlatBlocks(uint32_t blocks) {
    BitWriter bits;
    bits.Put(0b00, 2).Put(0b00011111, 8).Put(0, 1);
    for (uint32_t i = 1; i < blocks; ++i) bits.Put(0b01, 2).Put(0, 1);
    return bits.Finish();
}

// An 8 × 8 greyscale picture of 100, baseline.
Bytes GreyPicture(uint16_t width = 8, uint16_t height = 8) {
    const uint32_t blocks = uint32_t((width + 7) / 8) * ((height + 7) / 8);
    return Join({Marker(0xD8), Quant(), Frame(0xC0, width, height), DC_TABLE, AC_TABLE, Scan({1}),
                 FlatBlocks(blocks), Marker(0xD9)});
}

uint32_t Decode(const Bytes& file, CaptureSurface& surface) {
    VLoader_JPG loader;
    return loader.DecodeImage(&surface, file.data(), uint32_t(file.size()), 6, 0);
}

// Accepts any size without keeping pixels, counting the lines delivered.
class CountingSurface : public V2DSurfaceBase {
  public:
    uint32_t ImageInfo(const VLoaderState&) override { return 0; }
    uint32_t ImagePixels(VLoaderState& state) override {
        ++lines;
        state.pixelcounter += state.length / 4;
        return 0;
    }
    uint32_t lines = 0;
};

TEST(JpegLoader, AFlatGreyOf100IsOpaqueGrey) {
    struct Case {
        const char* what;
        Bytes file;
    };
    const Case cases[] = {
        {"made here", GreyPicture(16, 8)},
        {"made by cjpeg", ReadTestFile("jpeg_grey_flat100.jpg")},
    };
    for (const Case& c : cases) {
        CaptureSurface surface;
        ASSERT_EQ(Decode(c.file, surface), 0u) << c.what;
        EXPECT_EQ(surface.keepblack, 0) << c.what;
        for (uint32_t colour : surface.Picture()) ASSERT_EQ(colour, 0xFF646464u) << c.what;
    }
}

// Anything wrong before or in the frame header: not a JPEG this loader reads, 3, and the
// surface is never asked. After it: damaged, 1, with the surface made but no line delivered.
TEST(JpegLoader, FailureTable) {
    const Bytes soi = Marker(0xD8), eoi = Marker(0xD9), data = FlatBlocks(1);
    const Bytes frame = Frame(0xC0, 8, 8);
    auto grey = [&](const Bytes& before, const Bytes& after) {
        return Join({soi, Quant(), before, frame, DC_TABLE, AC_TABLE, after, data, eoi});
    };
    const Bytes scan = Scan({1});
    const Bytes whole = grey({}, scan);
    struct Case {
        const char* what;
        Bytes file;
        uint32_t expected;
    };
    const Case cases[] = {
        {"no start-of-image marker", Join({Quant(), frame, scan, data, eoi}), 3},
        {"precision 12", Join({soi, Quant(), Segment(0xC0, {12, 0, 8, 0, 8, 1, 1, 0x11, 0})}), 3},
        {"width 0", Join({soi, Frame(0xC0, 0, 8)}), 3},
        {"width 8193", Join({soi, Frame(0xC0, 8193, 8)}), 3},
        {"height 8193", Join({soi, Frame(0xC0, 8, 8193)}), 3},
        {"five components", Join({soi, Frame(0xC0, 8, 8, 5)}), 3},
        {"frame length", Join({soi, Segment(0xC0, {8, 0, 8, 0, 8, 1, 1, 0x11, 0, 0})}), 3},
        {"lossless", Join({soi, Frame(0xC3, 8, 8)}), 3},
        {"hierarchical", Join({soi, Frame(0xC5, 8, 8)}), 3},
        {"arithmetic", Join({soi, Frame(0xC9, 8, 8)}), 3},
        {"arithmetic conditioning", Join({soi, Segment(0xCC, {0x00, 0x10}), frame}), 3},
        {"restart marker", Join({soi, Marker(0xD0), frame}), 3},
        {"second start of image", Join({soi, Marker(0xD8), frame}), 3},
        {"image ends first", Join({soi, Quant(), eoi, frame}), 3},
        {"scan first", Join({soi, Quant(), scan, frame}), 3},
        {"Huffman class 2", grey(Huffman(0x20, {1}, {0}), scan), 3},
        {"Huffman table 4", grey(Huffman(0x04, {1}, {0}), scan), 3},
        {"256 Huffman symbols",
         grey(Huffman(0x00, {0, 0, 0, 0, 0, 0, 0, 0, 255, 1}, Bytes(256, 1)), scan), 3},
        {"three codes of one bit", grey(Huffman(0x00, {3}, {0, 1, 2}), scan), 3},
        {"a code of all ones", grey(Huffman(0x00, {2}, {0, 1}), scan), 3},
        {"Huffman symbols missing", grey(Segment(0xC4, {0x00, 0, 2}), scan), 3},
        {"quant table 4", grey(Quant(0x04), scan), 3},
        {"quant precision 2", grey(Quant(0x20), scan), 3},
        {"quant table short", grey(Segment(0xDB, Bytes(40, 0)), scan), 3},
        {"restart interval length 5", grey(Segment(0xDD, {0, 1, 0}), scan), 3},
        {"segment length 1", grey(Join({{0xFF, 0xE0, 0, 1}}), scan), 3},
        {"cut in the frame header", Bytes(whole.begin(), whole.begin() + 75), 3},
        {"two components", Join({soi, Quant(), Frame(0xC0, 8, 8, 2), scan, data, eoi}), 1},
        {"four components", Join({soi, Quant(), Frame(0xC0, 8, 8, 4), scan, data, eoi}), 1},
        {"luma 3 x 1", Join({soi, Quant(), Frame(0xC0, 8, 8, 3, 0x31), scan, data, eoi}), 1},
        {"luma 1 x 4", Join({soi, Quant(), Frame(0xC0, 8, 8, 3, 0x14), scan, data, eoi}), 1},
        {"second frame", grey({}, Join({Frame(0xC0, 8, 8), scan})), 1},
        {"image ends before a scan", Join({soi, Quant(), frame, eoi}), 1},
        {"scan of no component", grey({}, Segment(0xDA, {0, 0, 63, 0})), 1},
        {"scan length", grey({}, Segment(0xDA, {1, 1, 0, 0, 63, 0, 0})), 1},
        {"scan of an unknown component", grey({}, Scan({7})), 1},
        {"scan names a component twice", grey({}, Scan({1, 1})), 1},
        {"AC table not defined", Join({soi, Quant(), frame, DC_TABLE, scan, data, eoi}), 1},
        {"quant table not defined", Join({soi, frame, DC_TABLE, AC_TABLE, scan, data, eoi}), 1},
        {"DC table 4", grey({}, Segment(0xDA, {1, 1, 0x40, 0, 63, 0})), 1},
        {"restart marker before a scan", grey({}, Join({Marker(0xD3), scan})), 1},
    };
    for (const Case& c : cases) {
        CaptureSurface surface;
        EXPECT_EQ(Decode(c.file, surface), c.expected) << c.what;
        EXPECT_EQ(surface.infocalls, c.expected == 3 ? 0u : 1u) << c.what;
        EXPECT_EQ(surface.pixelcalls, 0u) << c.what;
    }
}

// The checks of progressive scan headers, on a greyscale progressive frame (a three-component
// one for the scan that interleaves AC).
TEST(JpegLoader, ProgressiveScanHeaders) {
    const Bytes soi = Marker(0xD8), eoi = Marker(0xD9);
    auto picture = [&](const Bytes& scan, uint8_t components = 1) {
        return Join({soi, Quant(), Frame(0xC2, 8, 8, components), DC_TABLE, AC_TABLE, scan,
                     FlatBlocks(1), eoi});
    };
    struct Case {
        const char* what;
        Bytes file;
        uint32_t expected;
    };
    const Case cases[] = {
        {"DC first", picture(Scan({1}, 0, 0, 0x00)), 0},
        {"DC scan reaching AC", picture(Scan({1}, 0, 5)), 1},
        {"start after end", picture(Scan({1}, 6, 5)), 1},
        {"end past 63", picture(Scan({1}, 1, 64)), 1},
        {"AC of two components", picture(Scan({1, 2}, 1, 5), 3), 1},
        {"refinement skipping a bit", picture(Scan({1}, 0, 0, 0x20)), 1},
        {"approximation past 13", picture(Scan({1}, 0, 0, 0x0E)), 1},
    };
    for (const Case& c : cases) {
        CaptureSurface surface;
        EXPECT_EQ(Decode(c.file, surface), c.expected) << c.what;
    }
    // A DC scan alone is a whole, if coarse, picture.
    CaptureSurface surface;
    ASSERT_EQ(Decode(picture(Scan({1}, 0, 0, 0x00)), surface), 0u);
    for (uint32_t colour : surface.Picture()) ASSERT_EQ(colour, 0xFF646464u);
}

TEST(JpegLoader, FixturesItRefuses) {
    struct Case {
        const char* file;
        uint32_t expected;
    };
    const Case cases[] = {
        {"jpeg_arithmetic.jpg", 3},
        {"jpeg_garbage512.jpg", 3},
        {"jpeg_cmyk.jpg", 1},
        {"jpeg_s31.jpg", 1},
    };
    // The whole dispatch: the TGA loader behind the JPEG loader does not take them either.
    VLoaderRegistry loaders;
    loaders.RegisterLoader(new VLoader_JPG);
    loaders.RegisterLoader(new VLoader_TGA);
    for (const Case& c : cases) {
        const Bytes file = ReadTestFile(c.file);
        ASSERT_FALSE(file.empty()) << c.file;
        CaptureSurface surface;
        EXPECT_EQ(loaders.DecodeImage(&surface, file.data(), uint32_t(file.size()), 6, 0),
                  c.expected)
            << c.file;
        EXPECT_EQ(surface.pixelcalls, 0u) << c.file;
    }
}

TEST(JpegLoader, StartOfImageWithin511Bytes) {
    const Bytes picture = GreyPicture();
    const Bytes withoutstart(picture.begin() + 2, picture.end());
    const Bytes stray = Join({Bytes(5, 'x'), Marker(0xD8), Bytes(1, 'x')});
    struct Case {
        const char* what;
        Bytes file;
        uint32_t expected;
    };
    const Case cases[] = {
        {"511 bytes before it", Join({Bytes(511, 'x'), picture}), 0},
        {"512 bytes before it", Join({Bytes(512, 'x'), picture}), 3},
        // Further in, the marker counts only when the next marker follows it at once.
        {"a stray marker, then the real one", Join({stray, picture}), 0},
        {"a stray marker only", Join({stray, withoutstart}), 3},
    };
    for (const Case& c : cases) {
        CaptureSurface surface;
        EXPECT_EQ(Decode(c.file, surface), c.expected) << c.what;
    }
}

TEST(JpegLoader, DamagedDataKeepsTheLinesSoFar) {
    // Two rows of blocks; the second block's code has no entry in the DC table.
    BitWriter bits;
    bits.Put(0b00, 2).Put(0b00011111, 8).Put(0, 1).Put(0b11, 2);
    const Bytes badcode = Join({Marker(0xD8), Quant(), Frame(0xC0, 8, 16), DC_TABLE, AC_TABLE,
                                Scan({1}), bits.Finish(), Marker(0xD9)});
    // Runs of 15 zeros and a coefficient (code 01 of an AC table where 00 ends a block) that
    // go past the last coefficient of the second block.
    BitWriter overrun;
    overrun.Put(0b00, 2).Put(0b00011111, 8).Put(0b00, 2).Put(0b01, 2);
    for (int i = 0; i < 4; ++i) overrun.Put(0b01, 2).Put(1, 1);
    const Bytes pastend =
        Join({Marker(0xD8), Quant(), Frame(0xC0, 8, 24), DC_TABLE,
              Huffman(0x10, {0, 2}, {0x00, 0xF1}), Scan({1}), overrun.Finish(), Marker(0xD9)});
    // The restart marker after the second of four intervals names the wrong interval.
    Bytes restart = ReadTestFile("jpeg_s11_33x31_rst1.jpg");
    uint32_t seen = 0;
    for (size_t i = 0; i + 1 < restart.size(); ++i) {
        if (restart[i] == 0xFF && restart[i + 1] >= 0xD0 && restart[i + 1] <= 0xD7 && ++seen == 2) {
            restart[i + 1] = 0xD5;
        }
    }
    ASSERT_EQ(seen, 3u);
    struct Case {
        const char* what;
        Bytes file;
        uint32_t lines;
    };
    const Case cases[] = {
        {"unknown code", badcode, 8},
        {"run past the block", pastend, 8},
        {"restart out of order", restart, 16},
    };
    for (const Case& c : cases) {
        CaptureSurface surface;
        ASSERT_EQ(Decode(c.file, surface), 0u) << c.what;
        EXPECT_EQ(surface.pixelcalls, c.lines) << c.what;
    }
}

TEST(JpegLoader, ATruncatedFileDeliversItsFirstLines) {
    const Bytes whole = ReadTestFile("jpeg_s22_96x80.jpg");
    const Expectation expected = ReadExpectation("jpeg_s22_96x80.rgba");
    ASSERT_FALSE(whole.empty());
    // Cut at a share of the entropy-coded data, which starts after the scan header.
    size_t data = 0;
    while (data + 1 < whole.size() && !(whole[data] == 0xFF && whole[data + 1] == 0xDA)) ++data;
    data += 2 + (whole[data + 2] << 8 | whole[data + 3]);
    uint32_t previous = 0;
    for (size_t percent : {30, 60, 90}) {
        const Bytes cut(whole.begin(),
                        whole.begin() + data + (whole.size() - data) * percent / 100);
        CaptureSurface surface;
        ASSERT_EQ(Decode(cut, surface), 0u) << percent;
        const uint32_t lines = surface.pixelcalls;
        EXPECT_GT(lines, previous) << percent;
        EXPECT_LT(lines, 80u) << percent;
        EXPECT_EQ(lines % 16, 0u) << "whole rows of MCUs";
        previous = lines;
        const std::vector<uint32_t> picture = surface.Picture();
        for (size_t i = 0; i < size_t(lines) * 96; ++i) {
            for (uint32_t shift = 0; shift < 32; shift += 8) {
                const int got = int(picture[i] >> shift & 0xFF);
                const int want = int(expected.pixels[i] >> shift & 0xFF);
                ASSERT_LE(std::abs(got - want), 1) << percent << "% at pixel " << i;
            }
        }
    }
}

// Progressive files hold the same coefficients as their sequential twins, in another order.
TEST(JpegLoader, ProgressiveTwinsDecodeAlike) {
    uint32_t pairs = 0;
    for (const Fixture& f : ReadManifest()) {
        const std::string& name = f.image;
        const size_t at = name.rfind("_prog.jpg");
        if (at == std::string::npos) continue;
        const Bytes baseline = ReadTestFile(name.substr(0, at) + ".jpg");
        if (baseline.empty()) continue;
        CaptureSurface a, b;
        ASSERT_EQ(Decode(ReadTestFile(name), a), 0u) << name;
        ASSERT_EQ(Decode(baseline, b), 0u) << name;
        EXPECT_EQ(a.Picture(), b.Picture()) << name;
        ++pairs;
    }
    EXPECT_GE(pairs, 20u);
}

TEST(JpegLoader, SurfaceFailures) {
    CaptureSurface refusing;
    refusing.inforesult = 5;
    EXPECT_EQ(Decode(GreyPicture(), refusing), 5u);
    EXPECT_EQ(refusing.pixelcalls, 0u);

    CaptureSurface failing;
    failing.pixelsresult = 12;
    EXPECT_EQ(Decode(GreyPicture(8, 16), failing), 1u);
    EXPECT_EQ(failing.pixelcalls, 1u);
}

// A progressive frame needs its coefficients kept; a tiny file cannot make that memory large.
TEST(JpegLoader, ASmallFileCannotAskForLargeBuffers) {
    const Bytes progressive = Join({Marker(0xD8), Quant(), Frame(0xC2, 8192, 8192), DC_TABLE,
                                    Scan({1}, 0, 0), FlatBlocks(4), Marker(0xD9)});
    CountingSurface surface;
    VLoader_JPG loader;
    EXPECT_EQ(loader.DecodeImage(&surface, progressive.data(), uint32_t(progressive.size()), 6, 0),
              1u);
    // A sequential one is decoded row by row and simply ends with its data.
    const Bytes sequential = Join({Marker(0xD8), Quant(), Frame(0xC0, 8192, 8192), DC_TABLE,
                                   AC_TABLE, Scan({1}), FlatBlocks(4), Marker(0xD9)});
    EXPECT_EQ(loader.DecodeImage(&surface, sequential.data(), uint32_t(sequential.size()), 6, 0),
              0u);
    EXPECT_EQ(surface.lines, 0u);
}

}  // namespace
