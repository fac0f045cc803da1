#include "imaging/jpeg_colour.h"

#include <bit>
#include <cstring>

namespace {

typedef int16_t S16x8 __attribute__((vector_size(16)));
typedef uint16_t U16x8 __attribute__((vector_size(16)));
typedef uint8_t U8x8 __attribute__((vector_size(8)));

inline S16x8 LoadTerms(const int16_t* p) {
    S16x8 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline S16x8 Limit(S16x8 v) {
    v = v < 0 ? 0 : v;
    return v > 255 ? 255 : v;
}

// One pixel by the rule, from luma and the terms of its chroma.
inline void ColourPixel(uint8_t luma, int16_t red, int16_t green, int16_t blue, uint8_t* out) {
    out[0] = VJpegColourTables::Limit(luma + red);
    out[1] = VJpegColourTables::Limit(luma + green);
    out[2] = VJpegColourTables::Limit(luma + blue);
    out[3] = 255;
}

}  // namespace

void VJpegColourTables::Build() {
    for (int32_t i = 0; i < 256; ++i) {
        const int32_t k = i - 128;
        redfromcr[i] = (91882 * k + 32768) >> 16;
        bluefromcb[i] = (116130 * k + 32768) >> 16;
        greenfromcr[i] = -46802 * k;
        greenfromcb[i] = -22554 * k + 32768;
    }
}

void JpegChromaTerms(const VJpegColourTables& tables, const uint8_t* cb, const uint8_t* cr,
                     uint32_t count, int16_t* terms, uint32_t termstride) {
    int16_t* red = terms;
    int16_t* green = terms + termstride;
    int16_t* blue = terms + 2 * termstride;
    for (uint32_t i = 0; i < count; ++i) {
        red[i] = int16_t(tables.redfromcr[cr[i]]);
        green[i] = int16_t((tables.greenfromcr[cr[i]] + tables.greenfromcb[cb[i]]) >> 16);
        blue[i] = int16_t(tables.bluefromcb[cb[i]]);
    }
}

namespace {

// Eight terms for eight pixels from the terms at i: as they are, or four of them each twice.
template <uint32_t HFACTOR>
inline S16x8 TermsOfEight(const int16_t* terms, uint32_t x) {
    if constexpr (HFACTOR == 1) {
        return LoadTerms(terms + x);
    } else {
        int16_t four[4];
        std::memcpy(four, terms + x / 2, sizeof four);
        const S16x8 v = {four[0], four[1], four[2], four[3], 0, 0, 0, 0};
        return __builtin_shufflevector(v, v, 0, 0, 1, 1, 2, 2, 3, 3);
    }
}

template <uint32_t HFACTOR>
void ColourLine(const uint8_t* luma, const int16_t* terms, uint32_t termstride, uint32_t width,
                uint8_t* out) {
    const int16_t* red = terms;
    const int16_t* green = terms + termstride;
    const int16_t* blue = terms + 2 * termstride;
    uint32_t x = 0;
    // Eight pixels at a time: each channel in 16-bit lanes, then red and green, blue and 255
    // paired into 16-bit words (least significant byte first) and the pairs interleaved.
    if constexpr (std::endian::native == std::endian::little) {
        for (; x + 8 <= width; x += 8) {
            U8x8 bytes;
            std::memcpy(&bytes, luma + x, sizeof bytes);
            const S16x8 y = __builtin_convertvector(bytes, S16x8);
            const S16x8 r = Limit(y + TermsOfEight<HFACTOR>(red, x));
            const S16x8 g = Limit(y + TermsOfEight<HFACTOR>(green, x));
            const S16x8 b = Limit(y + TermsOfEight<HFACTOR>(blue, x));
            const U16x8 rg = U16x8(r) | U16x8(g) << 8;
            const U16x8 ba = U16x8(b) | uint16_t(0xFF00);
            const U16x8 low = __builtin_shufflevector(rg, ba, 0, 8, 1, 9, 2, 10, 3, 11);
            const U16x8 high = __builtin_shufflevector(rg, ba, 4, 12, 5, 13, 6, 14, 7, 15);
            std::memcpy(out + 4 * x, &low, sizeof low);
            std::memcpy(out + 4 * x + 16, &high, sizeof high);
        }
    }
    for (; x < width; ++x) {
        const uint32_t t = x / HFACTOR;
        ColourPixel(luma[x], red[t], green[t], blue[t], out + 4 * x);
    }
}

}  // namespace

void JpegColourLine(const uint8_t* luma, const int16_t* terms, uint32_t termstride,
                    uint32_t hfactor, uint32_t width, uint8_t* out) {
    if (hfactor == 2) {
        ColourLine<2>(luma, terms, termstride, width, out);
    } else {
        ColourLine<1>(luma, terms, termstride, width, out);
    }
}
