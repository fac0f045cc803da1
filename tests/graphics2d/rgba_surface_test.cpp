#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

#include "graphics2d/surface_rgba.h"
#include "imaging/loader_registry.h"
#include "tests/graphics2d/surface_fixture.h"

namespace {

constexpr uint8_t kDirectFormats[] = {VPIXELFORMAT_444, VPIXELFORMAT_555, VPIXELFORMAT_565,
                                      VPIXELFORMAT_888, VPIXELFORMAT_X888};

void MakeRGBA(VSurfaceServices& services, V2DSurfaceRGBA& s, uint32_t w, uint32_t h, uint8_t format,
              uint32_t flags = 0) {
    s.SetOwner(&services);
    ASSERT_EQ(s.Create(w, h, format, flags), 0u);
}

uint32_t StoredWord(V2DSurfaceRGBA& s, int32_t x, int32_t y) {
    SurfaceLayout l;
    const uint8_t* p =
        reinterpret_cast<const uint8_t*>(s.Lock(&l)) + l.origin + x * l.xstep + y * l.ystep;
    uint32_t v;
    std::memcpy(&v, p, 4);
    s.Unlock();
    return v;
}

// --- The reference, written from the rules as stated, channel by channel ---

struct Field {
    int shift, bits;
};

std::vector<Field> FieldsOf(uint8_t format) {
    switch (format) {
        case VPIXELFORMAT_444:
            return {{8, 4}, {4, 4}, {0, 4}};
        case VPIXELFORMAT_555:
            return {{10, 5}, {5, 5}, {0, 5}};
        case VPIXELFORMAT_565:
            return {{11, 5}, {5, 6}, {0, 5}};
        default:
            return {{16, 8}, {8, 8}, {0, 8}};
    }
}

// Alpha precision n of a destination format: f = a >> (8 - n), F = 1 << n.
int AlphaPrecision(uint8_t format) {
    switch (format) {
        case VPIXELFORMAT_444:
            return 4;
        case VPIXELFORMAT_555:
            return 5;
        case VPIXELFORMAT_565:
            return 6;
        default:
            return 8;
    }
}

// Same format: the stored word blended onto d.
uint32_t ReferenceSameFormat(uint8_t format, uint32_t d, uint32_t word, bool premultiplied) {
    const uint32_t s = word & 0xFFFFFF, a = word >> 24;
    if (!premultiplied && a == 0) return d;
    if (!premultiplied && a == 255) return s;
    if (premultiplied && a == 255) return d;
    if (premultiplied && a == 0) return s;
    const int n = AlphaPrecision(format);
    const uint32_t f = a >> (8 - n), full = 1u << n;
    uint32_t out = 0;
    for (Field fd : FieldsOf(format)) {
        const uint32_t m = (1u << fd.bits) - 1;
        const uint32_t dc = (d >> fd.shift) & m, sc = (s >> fd.shift) & m;
        const uint32_t v = premultiplied ? ((dc * f) >> n) + sc : (dc * (full - f) + sc * f) >> n;
        out |= (v & m) << fd.shift;
    }
    return out;
}

// A stored word read back as colour (red in bits 0-7) and alpha.
void ReferenceRead(uint8_t format, uint32_t word, bool premultiplied, uint32_t* colour,
                   uint32_t* alpha) {
    uint32_t c = PixelToColor(format, word & 0xFFFFFF);
    uint32_t a = word >> 24;
    if (premultiplied) {
        a = 255 - a;
        uint32_t out = 0;
        for (int sh = 0; sh < 24 && a != 0; sh += 8)
            out |= std::min<uint32_t>(255, (((c >> sh) & 0xFF) * 256) / (a + 1)) << sh;
        c = out;
    }
    *colour = c;
    *alpha = a;
}

// Different formats: the single-pixel blend in 8-bit channels with the opacity rounded down to
// the destination's step.
uint32_t ReferenceOtherFormat(uint8_t sformat, uint8_t dformat, uint32_t d, uint32_t word,
                              bool premultiplied) {
    uint32_t c, a;
    ReferenceRead(sformat, word, premultiplied, &c, &a);
    if (a == 0) return d;
    if (a == 255) return ColorToPixel(dformat, c);
    const uint32_t step = dformat == VPIXELFORMAT_444                                    ? 16
                          : (dformat == VPIXELFORMAT_555 || dformat == VPIXELFORMAT_565) ? 8
                                                                                         : 1;
    a -= a % step;
    if (a == 0) return d;
    const uint32_t dc = PixelToColor(dformat, d);
    uint32_t out = 0;
    for (int sh = 0; sh < 24; sh += 8)
        out |= ((((dc >> sh) & 0xFF) * (256 - a) + ((c >> sh) & 0xFF) * a) >> 8) << sh;
    return ColorToPixel(dformat, out);
}

// Different formats or same, the blit without effects as the rules give it.
uint32_t ReferenceBlit(uint8_t sformat, uint8_t dformat, uint32_t d, uint32_t word,
                       bool premultiplied) {
    return sformat == dformat ? ReferenceSameFormat(dformat, d, word, premultiplied)
                              : ReferenceOtherFormat(sformat, dformat, d, word, premultiplied);
}

// Same format with effects, for formats of 8-bit channels: the pixel's alpha (times the
// opacity) in place of the blit's opacity; colour flags on the colour read back.
uint32_t ReferenceEffect(uint8_t format, uint32_t d, uint32_t word, bool premultiplied,
                         uint32_t flags, uint32_t property) {
    const uint32_t colourflags = flags & (BLIT_FILL | BLIT_MIX);
    const uint32_t opacity = colourflags ? property >> 24 : property;
    // An opacity of 255 or more is no opacity; with nothing else it is the plain alpha blit.
    if (opacity >= 255) flags &= ~BLIT_OPACITY;
    if (flags == 0) return ReferenceSameFormat(format, d, word, premultiplied);
    uint32_t c, a;
    ReferenceRead(format, word, premultiplied, &c, &a);
    if (flags & BLIT_OPACITY) a = (a * opacity) >> 8;
    if (a == 0) return d;
    const uint32_t dc = PixelToColor(format, d), pc = property & 0xFFFFFF;
    uint32_t m = 0;
    for (int sh = 0; sh < 24; sh += 8) m = std::max(m, (c >> sh) & 0xFF);
    uint32_t out = 0;
    for (int sh = 0; sh < 24; sh += 8) {
        const uint32_t dch = (dc >> sh) & 0xFF, pch = (pc >> sh) & 0xFF;
        uint32_t sch = (c >> sh) & 0xFF;
        if (colourflags == BLIT_TINT) sch = (pch * m) >> 8;
        if (colourflags == BLIT_FILL) sch = pch;
        if (colourflags == BLIT_MIX) sch = (sch >> 1) + (pch >> 1);
        uint32_t v;
        if (flags & (BLIT_ADD | BLIT_SUBTRACT)) {
            if (a < 255) sch = (sch * a) >> 8;
            v = flags & BLIT_ADD ? std::min(dch + sch, 255u) : (dch > sch ? dch - sch : 0);
        } else {
            v = a < 255 ? (dch * (256 - a) + sch * a) >> 8 : sch;
        }
        out |= v << sh;
    }
    return ColorToPixel(format, out);
}

// Every bit of a pixel of the format, those outside the channels included.
uint32_t RawBitsOf(uint8_t format) {
    const uint32_t bits = BitsPerPixelOf(format);
    return bits == 32 ? ~0u : (1u << bits) - 1;
}

// Alphas in runs, as pictures have them: transparent and opaque stretches long enough to fill
// whole blocks of pixels, random ones, and stretches in which every alpha comes in turn.
class AlphaRuns {
  public:
    explicit AlphaRuns(std::mt19937& random) : random_(random) {}
    uint32_t Next() {
        if (left_ == 0) {
            kind_ = random_() % 4;
            left_ = 1 + random_() % 12;
        }
        --left_;
        switch (kind_) {
            case 0:
                return 0;
            case 1:
                return 255;
            case 2:
                return sweep_++ & 0xFF;
            default:
                return random_() & 0xFF;
        }
    }

  private:
    std::mt19937& random_;
    uint32_t kind_ = 0, left_ = 0, sweep_ = 0;
};

constexpr uint32_t kStripWidths[] = {1, 2, 3, 4, 5, 7, 8, 9, 12, 13, 16, 17, 31, 64, 67};

// For each width: a strip of two rows of random colours with alphas in runs, blitted from a
// random column of the source onto a random column of a destination of random bits (those
// outside the channels too); every destination pixel must be what expected(d, word) says inside
// the strip and unchanged outside.
void CheckStrips(uint8_t sf, uint8_t df, uint32_t storage, uint32_t flags, uint32_t property,
                 const std::function<uint32_t(uint32_t, uint32_t)>& expected,
                 std::mt19937& random) {
    AlphaRuns alphas(random);
    for (uint32_t width : kStripWidths) {
        const int32_t sx = int32_t(random() % 4), dx = int32_t(random() % 4);
        const int32_t dw = int32_t(width) + 6, h = 2;
        VSurfaceServices services(df);
        V2DSurfaceRGBA src;
        MakeRGBA(services, src, width + 4, h, sf, storage);
        V2DSurface dst;
        MakeSurface(services, dst, uint32_t(dw), h, df);
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < int32_t(width) + 4; ++x) {
                const uint32_t alpha = alphas.Next();
                // Premultiplied pixels never written keep the fresh surface's 0xFFFFFFFF.
                if (alpha == 0 && storage != 0 && random() % 2 == 0) continue;
                src.PutPixelAlpha(x, y, random() & 0xFFFFFF, alpha);
            }
            for (int32_t x = 0; x < dw; ++x) SetRawPixel(dst, x, y, random() & RawBitsOf(df));
        }
        std::vector<uint32_t> want;
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < dw; ++x) {
                const uint32_t d = RawPixel(dst, x, y);
                const bool inside = x >= dx && x < dx + int32_t(width);
                want.push_back(inside ? expected(d, StoredWord(src, sx + x - dx, y)) : d);
            }
        }
        const VRect rect{sx, 0, sx + int32_t(width), h};
        ASSERT_EQ(dst.Blit(dx, 0, &src, &rect, flags, property), 0u);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < dw; ++x)
                ASSERT_EQ(RawPixel(dst, x, y), want[size_t(y * dw + x)])
                    << "width " << width << " from column " << sx << " to column " << dx << ", at "
                    << x << ", " << y;
    }
}

}  // namespace

TEST(RGBASurface, CreateResultsAndStorage) {
    VSurfaceServices services(VPIXELFORMAT_565);
    V2DSurfaceRGBA s;
    s.SetOwner(&services);
    EXPECT_EQ(s.Create(0, 4, VPIXELFORMAT_565, 0), 4u);
    EXPECT_EQ(s.Create(4, 4, VPIXELFORMAT_565, 4), 4u);
    EXPECT_EQ(s.Create(4, 4, VPIXELFORMAT_8, 0), 1u) << "alpha cannot blend palette indices";
    EXPECT_EQ(s.Create(4, 4, 9, 0), 1u);
    EXPECT_FALSE(s.IsCreated());

    ASSERT_EQ(s.Create(10, 3, VPIXELFORMAT_565, VPIXELFORMAT_X888 << 8), 0u);
    EXPECT_EQ(s.colourformat, VPIXELFORMAT_X888);
    EXPECT_EQ(s.pitch, 12u);
    EXPECT_EQ(s.createflags & 0x0F, 1u) << "always main memory";
    EXPECT_TRUE(services.Registry().Contains(&s));
    EXPECT_EQ(StoredWord(s, 9, 2), 0u);

    // The same size and flags again only clears; the memory stays.
    s.PutPixelAlpha(1, 1, 0x123456, 200);
    const uint32_t* before = s.pixels;
    ASSERT_EQ(s.Create(10, 3, VPIXELFORMAT_565, VPIXELFORMAT_X888 << 8), 0u);
    EXPECT_EQ(s.pixels, before);
    EXPECT_EQ(StoredWord(s, 1, 1), 0u);

    // Premultiplied storage starts with every byte 0xFF: fully transparent.
    ASSERT_EQ(s.Create(10, 3, VPIXELFORMAT_565, VRGBA_PREMULTIPLIED), 0u);
    EXPECT_TRUE(s.IsPremultiplied());
    EXPECT_EQ(s.colourformat, VPIXELFORMAT_565);
    EXPECT_EQ(StoredWord(s, 0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(s.GetPixel(0, 0), 0u);

    s.Free();
    s.Free();
    EXPECT_FALSE(services.Registry().Contains(&s));
    EXPECT_EQ(s.GetWidth(), 0u);

    // The display frees every registered surface when it closes, RGBA ones included.
    ASSERT_EQ(s.Create(4, 4, VPIXELFORMAT_565, 0), 0u);
    services.Registry().FreeAll();
    EXPECT_FALSE(s.IsCreated());
    EXPECT_EQ(s.pixels, nullptr);
}

TEST(RGBASurface, StoredWordsAndReadBack) {
    struct Case {
        const char* name;
        uint8_t format;
        uint32_t flags;
        uint32_t colour, alpha;
        uint32_t word;      // stored
        uint32_t readback;  // GetPixel: colour with alpha in bits 24-31
    };
    const Case cases[] = {
        {"normal keeps colour and alpha", VPIXELFORMAT_X888, 0, 0x336699, 77, 0x4D996633,
         0x4D336699},
        {"normal in 565", VPIXELFORMAT_565, 0, 0x336699, 200, 0xC8009B26, 0xC8306498},
        {"premultiplied white at 128", VPIXELFORMAT_X888, VRGBA_PREMULTIPLIED, 0xFFFFFF, 128,
         0x7F7F7F7F, 0x80FCFCFC},
        {"premultiplied opaque kept exactly", VPIXELFORMAT_X888, VRGBA_PREMULTIPLIED, 0xFFFFFF, 255,
         0x00FFFFFF, 0xFFFFFFFF},
        {"premultiplied transparent reads 0", VPIXELFORMAT_X888, VRGBA_PREMULTIPLIED, 0xFFFFFF, 0,
         0xFF000000, 0},
        {"premultiplied in 565", VPIXELFORMAT_565, VRGBA_PREMULTIPLIED, 0xFFFFFF, 128, 0x7F007BEF,
         0x80EEF6EE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VSurfaceServices services(VPIXELFORMAT_565);
        V2DSurfaceRGBA s;
        MakeRGBA(services, s, 3, 2, c.format, c.flags);
        s.PutPixelAlpha(2, 1, c.colour, c.alpha);
        EXPECT_EQ(StoredWord(s, 2, 1), c.word);
        EXPECT_EQ(s.GetPixel(2, 1), c.readback);
        EXPECT_EQ(s.GetPixel(3, 1), 0u) << "outside the surface";
    }
}

// Every pair of colour format and destination format, normal and premultiplied storage: the
// same-format loops and the converting path both give the reference result, pixel by pixel,
// over every alpha, row widths on both sides of the vector blocks, and every start column.
TEST(RGBASurface, BlitMatchesReferenceOverAllFormats) {
    std::mt19937 random(20261210);
    for (bool premultiplied : {false, true}) {
        for (uint8_t sf : kDirectFormats) {
            for (uint8_t df : kDirectFormats) {
                SCOPED_TRACE(testing::Message() << "colour format " << int(sf) << " onto "
                                                << int(df) << (premultiplied ? " premult" : ""));
                CheckStrips(
                    sf, df, premultiplied ? VRGBA_PREMULTIPLIED : 0, 0, 0,
                    [&](uint32_t d, uint32_t w) {
                        return ReferenceBlit(sf, df, d, w, premultiplied);
                    },
                    random);
            }
        }
    }
}

// Same format with effects onto the formats of 8-bit channels, every effect with and without
// opacity, both storages: the vector loops where the effect keeps the alpha rule and the
// per-pixel rule elsewhere give the reference result.
TEST(RGBASurface, EffectBlitsMatchReference) {
    const uint32_t effects[] = {BLIT_OPACITY, BLIT_FILL, BLIT_MIX,
                                BLIT_TINT,    BLIT_ADD,  BLIT_SUBTRACT};
    std::mt19937 random(777);
    for (uint8_t format : {VPIXELFORMAT_888, VPIXELFORMAT_X888}) {
        for (uint32_t storage : {0u, VRGBA_PREMULTIPLIED}) {
            for (uint32_t effect : effects) {
                for (uint32_t opacity : {1u, 77u, 128u, 254u, 255u}) {
                    const uint32_t flags = effect | BLIT_OPACITY;
                    const uint32_t colour = random() & 0xFFFFFF;
                    const uint32_t property =
                        effect & (BLIT_FILL | BLIT_MIX) ? opacity << 24 | colour : opacity;
                    SCOPED_TRACE(testing::Message()
                                 << "format " << int(format) << (storage ? " premult" : "")
                                 << " flags " << flags << " property " << property);
                    CheckStrips(
                        format, format, storage, flags, property,
                        [&](uint32_t d, uint32_t w) {
                            return ReferenceEffect(format, d, w, storage != 0, flags, property);
                        },
                        random);
                    if (effect == BLIT_OPACITY) continue;
                    // The same effect without opacity.
                    CheckStrips(
                        format, format, storage, effect, colour,
                        [&](uint32_t d, uint32_t w) {
                            return ReferenceEffect(format, d, w, storage != 0, effect, colour);
                        },
                        random);
                }
            }
        }
    }
}

TEST(RGBASurface, AlphaEdgeCases) {
    struct Case {
        const char* name;
        uint8_t colourformat, destformat;
        uint32_t flags;  // storage
        uint32_t alpha;
        uint32_t dest;      // destination colour before
        uint32_t colour;    // source colour
        uint32_t expected;  // destination colour after (GetPixel)
    };
    const Case cases[] = {
        {"alpha 0 skipped", VPIXELFORMAT_X888, VPIXELFORMAT_X888, 0, 0, 0x102030, 0xFFFFFF,
         0x102030},
        {"alpha 255 copied exactly", VPIXELFORMAT_X888, VPIXELFORMAT_X888, 0, 255, 0x102030,
         0xFEDCBA, 0xFEDCBA},
        {"alpha 0 skipped, 565", VPIXELFORMAT_565, VPIXELFORMAT_565, 0, 0, 0x102030, 0xFFFFFF,
         0x102030 & 0xF8FCF8},
        {"alpha 255 copied exactly, 565", VPIXELFORMAT_565, VPIXELFORMAT_565, 0, 255, 0x102030,
         0xF8FCF8, 0xF8FCF8},
        {"alpha 0 skipped across formats", VPIXELFORMAT_X888, VPIXELFORMAT_565, 0, 0, 0x102030,
         0xFFFFFF, 0x102030 & 0xF8FCF8},
        {"alpha 255 across formats", VPIXELFORMAT_X888, VPIXELFORMAT_565, 0, 255, 0x102030,
         0xFFFFFF, 0xF8FCF8},
        {"premultiplied transparent skipped", VPIXELFORMAT_X888, VPIXELFORMAT_X888,
         VRGBA_PREMULTIPLIED, 0, 0x102030, 0xFFFFFF, 0x102030},
        {"premultiplied opaque copied exactly", VPIXELFORMAT_X888, VPIXELFORMAT_X888,
         VRGBA_PREMULTIPLIED, 255, 0x102030, 0xFEDCBA, 0xFEDCBA},
        {"premultiplied white 128 over black", VPIXELFORMAT_X888, VPIXELFORMAT_X888,
         VRGBA_PREMULTIPLIED, 128, 0x000000, 0xFFFFFF, 0x7F7F7F},
        {"premultiplied white 128 over white", VPIXELFORMAT_X888, VPIXELFORMAT_X888,
         VRGBA_PREMULTIPLIED, 128, 0xFFFFFF, 0xFFFFFF, 0xFDFDFD},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VSurfaceServices services(c.destformat);
        V2DSurfaceRGBA src;
        MakeRGBA(services, src, 2, 1, c.colourformat, c.flags);
        src.PutPixelAlpha(0, 0, c.colour, c.alpha);
        V2DSurface dst;
        MakeSurface(services, dst, 2, 1, c.destformat);
        dst.FillRect(nullptr, c.dest);
        ASSERT_EQ(dst.Blit(0, 0, &src, nullptr, 0, 0), 0u);
        EXPECT_EQ(dst.GetPixel(0, 0), c.expected);
    }
}

// A 24-bit destination blends exactly like a 32-bit one, from an RGBA surface of its own format
// and from one of the other.
TEST(RGBASurface, TwentyFourBitBlendsLikeThirtyTwo) {
    for (uint32_t alpha : {0u, 1u, 2u, 100u, 128u, 254u, 255u}) {
        SCOPED_TRACE(alpha);
        std::vector<uint32_t> results;
        for (uint8_t colourformat : {VPIXELFORMAT_888, VPIXELFORMAT_X888}) {
            for (uint8_t destformat : {VPIXELFORMAT_888, VPIXELFORMAT_X888}) {
                VSurfaceServices services(destformat);
                V2DSurfaceRGBA src;
                MakeRGBA(services, src, 1, 1, colourformat);
                src.PutPixelAlpha(0, 0, 0x2080F0, alpha);
                V2DSurface dst;
                MakeSurface(services, dst, 1, 1, destformat);
                dst.FillRect(nullptr, 0xC06010);
                ASSERT_EQ(dst.Blit(0, 0, &src, nullptr, 0, 0), 0u);
                results.push_back(dst.GetPixel(0, 0));
            }
        }
        for (uint32_t r : results) EXPECT_EQ(r, results[0]);
        if (alpha == 255) {
            EXPECT_EQ(results[0], 0x2080F0u);
        } else if (alpha == 0) {
            EXPECT_EQ(results[0], 0xC06010u);
        } else {
            EXPECT_NE(results[0], 0x2080F0u);
            EXPECT_NE(results[0], 0xC06010u);
        }
    }
}

TEST(RGBASurface, FreshPremultipliedSurfaceDrawsNothing) {
    for (uint8_t format : kDirectFormats) {
        for (uint8_t destformat : {format, uint8_t(VPIXELFORMAT_X888), uint8_t(VPIXELFORMAT_8)}) {
            SCOPED_TRACE(testing::Message() << int(format) << " onto " << int(destformat));
            VSurfaceServices services(destformat);
            V2DSurfaceRGBA src;
            MakeRGBA(services, src, 5, 3, format, VRGBA_PREMULTIPLIED);
            V2DSurface dst;
            MakeSurface(services, dst, 5, 3, destformat);
            FillRaw(dst, 0x5A);
            for (uint32_t flags : {0u, BLIT_FILL, BLIT_ADD, BLIT_OPACITY})
                ASSERT_EQ(dst.Blit(0, 0, &src, nullptr, flags, 0xFF0000FF), 0u);
            for (int32_t y = 0; y < 3; ++y)
                for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(RawPixel(dst, x, y), 0x5Au);
        }
    }
}

// With effects, the pixel's alpha (times the opacity) takes the place of the opacity.
TEST(RGBASurface, EffectsUseTheAlpha) {
    struct Case {
        const char* name;
        uint8_t colourformat;
        uint32_t storage;
        uint32_t alpha;
        uint32_t flags, property;
        uint32_t expected;  // over a 0x404040 destination, source colour 0x2080C0
    };
    const Case cases[] = {
        {"opacity scales the alpha", VPIXELFORMAT_X888, 0, 255, BLIT_OPACITY, 128, 0x305F7F},
        {"opacity 255 leaves the alpha", VPIXELFORMAT_X888, 0, 128, BLIT_OPACITY, 255, 0x306080},
        {"fill blends the property colour", VPIXELFORMAT_X888, 0, 128, BLIT_FILL, 0x0000FF,
         0x20209F},
        {"add is scaled by the alpha", VPIXELFORMAT_X888, 0, 128, BLIT_ADD, 0, 0x5080A0},
        {"subtract is scaled by the alpha", VPIXELFORMAT_X888, 0, 128, BLIT_SUBTRACT, 0, 0x300000},
        {"alpha times opacity 0 skips", VPIXELFORMAT_X888, 0, 1, BLIT_OPACITY, 128, 0x404040},
        {"add from premultiplied storage", VPIXELFORMAT_X888, VRGBA_PREMULTIPLIED, 128, BLIT_ADD, 0,
         0x4F7F9F},
        {"across formats: fill at alpha 128", VPIXELFORMAT_565, 0, 128, BLIT_FILL, 0x0000FF,
         0x20209F},
        {"across formats: opacity scales", VPIXELFORMAT_565, 0, 255, BLIT_OPACITY, 128, 0x305F7F},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VSurfaceServices services(VPIXELFORMAT_X888);
        V2DSurfaceRGBA src;
        MakeRGBA(services, src, 1, 1, c.colourformat, c.storage);
        src.PutPixelAlpha(0, 0, 0x2080C0, c.alpha);
        V2DSurface dst;
        MakeSurface(services, dst, 1, 1, VPIXELFORMAT_X888);
        dst.FillRect(nullptr, 0x404040);
        ASSERT_EQ(dst.Blit(0, 0, &src, nullptr, c.flags, c.property), 0u);
        EXPECT_EQ(dst.GetPixel(0, 0), c.expected);
    }
}

TEST(RGBASurface, BlitResultsAndClipping) {
    VSurfaceServices services(VPIXELFORMAT_565);
    V2DSurfaceRGBA src;
    MakeRGBA(services, src, 20, 2, VPIXELFORMAT_565);
    for (int32_t x = 0; x < 20; ++x) src.PutPixelAlpha(x, 0, 0x0000F8 | uint32_t(x) << 3, 255);
    V2DSurface dst;
    MakeSurface(services, dst, 16, 2, VPIXELFORMAT_565);
    V2DSurfaceRGBA empty;
    EXPECT_EQ(dst.Blit(0, 0, &empty, nullptr, 0, 0), 1u);
    EXPECT_EQ(dst.Blit(0, 0, static_cast<V2DSurfaceRGBA*>(nullptr), nullptr, 0, 0), 1u);
    EXPECT_EQ(dst.Blit(0, 0, nullptr, nullptr, 0, 0), 1u);
    EXPECT_EQ(dst.Blit(16, 0, &src, nullptr, 0, 0), 4u);
    EXPECT_EQ(dst.Blit(0, 0, &src, nullptr, BLIT_OPACITY, 7), 10u) << "opacity 7 in 565";
    // The colour key plays no part: a source pixel equal to the key is still drawn.
    ASSERT_EQ(dst.Blit(-5, 0, &src, nullptr, BLIT_KEY, 0), 0u);
    EXPECT_EQ(dst.GetPixel(0, 0), 0x0000F8u | 5u << 3);
    EXPECT_EQ(dst.GetPixel(14, 0), 0x0000F8u | 19u << 3);
    EXPECT_EQ(dst.GetPixel(15, 0), 0u);
    EXPECT_EQ(dst.lockcount, 0u);
    EXPECT_EQ(src.lockcount, 0u);
}

TEST(RGBASurface, TurnsWithTheDisplay) {
    VSurfaceServices services(VPIXELFORMAT_565);
    V2DSurfaceRGBA s;
    MakeRGBA(services, s, 5, 3, VPIXELFORMAT_X888, VRGBA_PREMULTIPLIED);
    s.PutPixelAlpha(4, 0, 0x0000FF, 255);
    s.PutPixelAlpha(1, 2, 0xFF0000, 255);
    services.SetOrientation(VOrientation{-1, 1, 1});
    EXPECT_EQ(s.GetWidth(), 5u);
    EXPECT_EQ(s.physwidth, 3u);
    EXPECT_EQ(s.pitch, 4u);
    EXPECT_EQ(s.GetPixel(4, 0), 0xFF0000FFu);
    EXPECT_EQ(s.GetPixel(1, 2), 0xFFFF0000u);
    EXPECT_EQ(s.GetPixel(0, 0), 0u);
}

// --- The loader interface, driven as a loader would drive it ---

namespace {

using LoaderFunction = std::function<uint32_t(V2DSurfaceBase&, uint8_t, uint32_t)>;

// An image loader that runs a test's function, or declines (3) while it has none.
class FunctionLoader : public ClassVLoaderBase {
  public:
    explicit FunctionLoader(const LoaderFunction* function) : function_(function) {}
    uint32_t DecodeImage(V2DSurfaceBase* surface, const uint8_t*, uint32_t, uint8_t defaultformat,
                         uint32_t flags) override {
        return *function_ ? (*function_)(*surface, defaultformat, flags) : 3;
    }

  private:
    const LoaderFunction* function_;
};

// Services with two image loaders: the first declines every picture, the second runs loader.
class LoaderServices : public VSurfaceServices {
  public:
    explicit LoaderServices(uint8_t format) : VSurfaceServices(format) {
        loaders.RegisterLoader(new FunctionLoader(&none));
        loaders.RegisterLoader(new FunctionLoader(&loader));
    }
    uint32_t DecodeImage(V2DSurfaceBase& surface, const uint8_t* data, uint32_t size,
                         uint8_t defaultformat, uint32_t flags) override {
        return loaders.DecodeImage(&surface, data, size, defaultformat, flags);
    }
    LoaderFunction loader;

  private:
    LoaderFunction none;
    VLoaderRegistry loaders;
};

// A 3 × 2 picture: a palette of three entries with alpha, then six palette indices.
uint32_t DecodeIndexedPicture(V2DSurfaceBase& s, uint8_t defaultformat, uint32_t flags) {
    VLoaderState st;
    st.width = 3;
    st.height = 2;
    st.defaultformat = defaultformat;
    st.flags = flags;
    if (uint32_t r = s.ImageInfo(st)) return r;
    const uint32_t entries[] = {0x00000000, 0xFFFFFFFF, 0x80FFFFFF};
    st.data = reinterpret_cast<const uint8_t*>(entries);
    st.length = sizeof entries;
    if (uint32_t r = s.ImagePalette(st)) return r;
    const uint8_t indices[] = {0, 1, 2, 2, 1, 0};
    st.pixelkind = VLOADER_PIXELS_INDEX;
    st.data = indices;
    st.length = 3;  // two deliveries, as a loader handing over row by row
    if (uint32_t r = s.ImagePixels(st)) return r;
    st.data = indices + 3;
    return s.ImagePixels(st);
}

}  // namespace

TEST(RGBASurface, LoadImageThroughLoaderInterface) {
    struct Case {
        const char* name;
        uint32_t flags;
        uint32_t words[3];  // stored words of row 0
    };
    const Case cases[] = {
        {"normal storage", VPIXELFORMAT_X888 << 8, {0x00000000, 0xFFFFFFFF, 0x80FFFFFF}},
        {"premultiplied (loader flag 0x20)",
         VPIXELFORMAT_X888 << 8 | VRGBA_PREMULTIPLIED,
         {0xFF000000, 0x00FFFFFF, 0x7F7F7F7F}},
        {"565 by default", 0, {0x00000000, 0xFF00FFFF, 0x8000FFFF}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoaderServices services(VPIXELFORMAT_565);
        services.loader = DecodeIndexedPicture;
        V2DSurfaceRGBA s;
        s.SetOwner(&services);
        const uint8_t data[4] = {};
        ASSERT_EQ(s.LoadImage(data, 4, VPIXELFORMAT_565, c.flags), 0u);
        EXPECT_EQ(s.lockcount, 0u) << "the loader's lock ends with LoadImage";
        EXPECT_EQ(s.GetWidth(), 3u);
        for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(StoredWord(s, x, 0), c.words[x]) << x;
        for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(StoredWord(s, 2 - x, 1), c.words[x]) << x;
    }
}

TEST(RGBASurface, LoadImageResults) {
    LoaderServices services(VPIXELFORMAT_565);
    V2DSurfaceRGBA s;
    s.SetOwner(&services);
    const uint8_t data[4] = {};
    EXPECT_EQ(s.LoadImage(data, 4, VPIXELFORMAT_565, 4), 4u);
    EXPECT_EQ(s.LoadImage(data, 4, VPIXELFORMAT_565, 0), 3u) << "no loader takes it";
    services.loader = [](V2DSurfaceBase&, uint8_t, uint32_t) { return 14u; };
    EXPECT_EQ(s.LoadImage(data, 4, VPIXELFORMAT_565, 0), 14u);
    services.loader = [](V2DSurfaceBase& surface, uint8_t, uint32_t) {
        VLoaderState st;
        st.width = 2;
        st.height = 2;
        st.defaultformat = VPIXELFORMAT_8;
        return surface.ImageInfo(st);
    };
    EXPECT_EQ(s.LoadImage(data, 4, VPIXELFORMAT_8, 0), 1u) << "palette indices have no alpha";
    V2DSurfaceRGBA notcreated;
    VLoaderState st;
    EXPECT_EQ(notcreated.ImagePixels(st), 1u);
}

TEST(RGBASurface, LoaderDithersBeforePremultiplying) {
    VSurfaceServices services(VPIXELFORMAT_565);
    V2DSurfaceRGBA s;
    s.SetOwner(&services);
    VLoaderState st;
    st.width = 8;
    st.height = 1;
    st.defaultformat = VPIXELFORMAT_565;
    st.flags = VLOADER_DITHER;
    ASSERT_EQ(s.ImageInfo(st), 0u);
    std::vector<uint32_t> colours(8, 0xFF040404);
    st.data = reinterpret_cast<const uint8_t*>(colours.data());
    st.length = 32;
    ASSERT_EQ(s.ImagePixels(st), 0u);
    // Red and blue 4 (dropped bits 4) take column 4 of the 5-bit matrix: 8 on even rows of
    // x + y; green 4 (dropped bits 0) takes column 0 of the 6-bit matrix, always 0, and stays 1.
    const uint32_t expected[] = {0x0821, 0x0020, 0x0821, 0x0020, 0x0821, 0x0020, 0x0821, 0x0020};
    for (int32_t x = 0; x < 8; ++x) EXPECT_EQ(StoredWord(s, x, 0), 0xFF000000u | expected[x]) << x;
}
