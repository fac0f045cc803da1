// The pixel loops of the polygon filler: shaded spans and textured spans. Textured spans run
// every texel through the blit rule of pixel_rules.h; the plain and colour-key kinds are that
// rule with the effect fixed at compile time, and the square-texture variants differ only in
// how a texel is addressed.
#pragma once

#include <algorithm>
#include <cstdint>
#include <type_traits>

#include "graphics2d/display_palette.h"
#include "graphics2d/dither.h"
#include "graphics2d/pixel_rules.h"
#include "graphics2d/pixel_run.h"
#include "graphics2d/polygon_side_walk.h"

// Flag of the shaded fill: dither the colours before they are reduced to 4-, 5- or 6-bit
// channels.
constexpr uint32_t VFILL_DITHER = 0x100;

// The shaded fill's value of one colour channel: 8 bits with 10 fraction bits.
inline int64_t ShadedChannelValue(uint32_t colour, int channel) {
    switch (channel) {
        case 0:
            return int64_t(colour & 0xFF) * 1024;
        case 1:
            return int64_t(colour & 0xFF00) * 4;
        default:
            return int64_t((colour >> 6) & 0x3FC00);
    }
}

// A channel of a shaded span adds its dither entry below the top step of its width: 0xF0 for
// 4 bits, 0xF8 for 5 bits, 0xFB for the 6-bit green.
inline uint32_t DitherShadedChannel(int bits, uint32_t value, uint32_t position) {
    const uint32_t limit = bits == 4 ? 0xF0 : bits == 5 ? 0xF8 : 0xFB;
    return value < limit ? value + DitherStep(bits, value, position) : value;
}

template <class T>
inline uint32_t DitherShadedColour(uint32_t r, uint32_t g, uint32_t b, uint32_t position) {
    if constexpr (!T::kIndexed) {
        if constexpr (T::kRed.bits < 8) {
            r = DitherShadedChannel(T::kRed.bits, r, position);
            g = DitherShadedChannel(T::kGreen.bits, g, position);
            b = DitherShadedChannel(T::kBlue.bits, b, position);
        }
    }
    return r | g << 8 | b << 16;
}

// Interpolated channels leave 0..255 only through rounding at the ends of a side.
inline uint32_t ShadedChannel(int64_t value) {
    const int64_t c = value >> 10;
    return uint32_t(c < 0 ? 0 : c > 255 ? 255 : c);
}

// The pixel of one shaded position: the whole parts of the channel values, dithered at the
// position when asked, as the destination stores them. Palette-index destinations take the
// display palette's nearest entry (inverse).
template <class T>
inline uint32_t ShadedPixel(int64_t r, int64_t g, int64_t b, bool dither, uint32_t position,
                            const uint8_t* inverse) {
    uint32_t c = ShadedChannel(r) | ShadedChannel(g) << 8 | ShadedChannel(b) << 16;
    if (dither) c = DitherShadedColour<T>(c & 0xFF, (c >> 8) & 0xFF, c >> 16, position);
    if constexpr (T::kIndexed)
        return inverse[VDisplayPalette::InverseIndexOf(c)];
    else
        return ColorToPixelOf<T>(c);
}

// One shaded span, pixel by pixel: the rule. The position value of the dither is the row plus
// the pixel's index in the span.
template <class T>
void ShadedSpanPixels(uint8_t* dst, const VSpan& s, bool dither, const uint8_t* inverse) {
    int64_t r = s.value[0], g = s.value[1], b = s.value[2];
    const uint32_t count = s.Count();
    for (uint32_t i = 0; i < count; ++i, dst += T::kBytes) {
        T::Store(dst, ShadedPixel<T>(r, g, b, dither, uint32_t(s.row) + i, inverse));
        r += s.step[0], g += s.step[1], b += s.step[2];
    }
}

// How many pixels from here on keep the whole part of a channel value that moves by step per
// pixel (at most 1024 while it moves).
inline uint32_t PixelsWithSameWholePart(int64_t value, int64_t step) {
    if (step == 0) return UINT32_MAX;
    const int64_t whole = value >> 10;
    if (step > 0) return uint32_t((((whole + 1) * 1024) - value + step - 1) / step);
    return uint32_t((value - whole * 1024) / -step + 1);
}

// Undithered spans whose channels move by less than a quarter of a step per pixel together,
// as gradient rectangles and large faces lit alike give: the rule's pixel only changes where a
// whole part does, so each run of one colour is computed once and stored as a fill.
inline bool ShadedSpanHasRuns(const VSpan& s, bool dither) {
    const int64_t movement = (s.step[0] < 0 ? -s.step[0] : s.step[0]) +
                             (s.step[1] < 0 ? -s.step[1] : s.step[1]) +
                             (s.step[2] < 0 ? -s.step[2] : s.step[2]);
    return !dither && movement < 256;
}

template <class T>
void ShadedSpanRuns(uint8_t* dst, const VSpan& s, const uint8_t* inverse) {
    int64_t v[3] = {s.value[0], s.value[1], s.value[2]};
    const uint32_t count = s.Count();
    for (uint32_t i = 0; i < count;) {
        uint32_t run = count - i;
        for (int k = 0; k < 3; ++k) run = std::min(run, PixelsWithSameWholePart(v[k], s.step[k]));
        const uint32_t pixel = ShadedPixel<T>(v[0], v[1], v[2], false, 0, inverse);
        StorePixelRun<T>(dst, run, pixel);
        dst += size_t(run) * T::kBytes;
        for (int k = 0; k < 3; ++k) v[k] += s.step[k] * run;
        i += run;
    }
}

template <class T>
void ShadedSpan(uint8_t* dst, const VSpan& s, bool dither, const uint8_t* inverse) {
    if (ShadedSpanHasRuns(s, dither))
        ShadedSpanRuns<T>(dst, s, inverse);
    else
        ShadedSpanPixels<T>(dst, s, dither, inverse);
}

// A texture in its physical layout.
struct VTexture {
    const uint8_t* pixels = nullptr;
    uint32_t width = 0, height = 0;  // physical
    uint32_t pitch = 0;              // pixels per row
    uint32_t bytes = 0;              // per pixel
};

// Any texture: the texel at column (u >> 10) mod width, row (v >> 10) mod height, the shifted
// values taken as unsigned 32-bit numbers, so the texture repeats in both directions. Turned
// and scaled pictures stay inside their texture, so the division is only paid outside it.
struct VTexelAnySize {
    const VTexture& t;
    const uint8_t* At(int64_t u, int64_t v) const {
        uint32_t column = uint32_t(u >> 10), row = uint32_t(v >> 10);
        if (column >= t.width) column %= t.width;
        if (row >= t.height) row %= t.height;
        return t.pixels + (size_t(row) * t.pitch + column) * t.bytes;
    }
};

// A square texture of 2^k pixels a side (k = 6 to 10): wraps by masking, rows by shifting.
struct VTexelSquare {
    const uint8_t* pixels;
    uint32_t mask;
    uint32_t rowshift;
    uint32_t bytes;
    const uint8_t* At(int64_t u, int64_t v) const {
        const uint32_t column = uint32_t(u >> 10) & mask;
        const uint32_t row = uint32_t(v >> 10) & mask;
        return pixels + size_t((row << rowshift) + column) * bytes;
    }
};

// log2 of the side of a square texture that has a fast variant, 0 for any other texture.
inline uint32_t SquareTextureShift(const VTexture& t) {
    if (t.width != t.height || t.pitch != t.width) return 0;
    for (uint32_t k = 6; k <= 10; ++k)
        if (t.width == 1u << k) return k;
    return 0;
}

// One textured span: texel u, v per pixel through the blit rule with effect e.
template <class T, class Texel, class E>
void TexturedSpan(uint8_t* dst, uint32_t count, int64_t u, int64_t du, int64_t v, int64_t dv,
                  const Texel& texel, E e, const VBlitParams& p) {
    for (uint32_t i = 0; i < count; ++i, dst += T::kBytes, u += du, v += dv) {
        const uint32_t s = T::Load(texel.At(u, v));
        if constexpr (std::is_same_v<E, VFixedEffect<0>>) {
            T::Store(dst, s);
        } else {
            const uint32_t d = T::Load(dst);
            const uint32_t out = BlitPixel<T>(s, d, e, p);
            if (out != d) T::Store(dst, out);
        }
    }
}

// The span kind for effect flags: a plain copy, a colour-key copy, or every other effect; the
// common blends have the rule compiled for their flags.
template <class T, class Texel>
void TexturedSpanFor(uint32_t flags, uint8_t* dst, const VSpan& s, const Texel& texel,
                     const VBlitParams& p) {
    auto span = [&](auto effect) {
        TexturedSpan<T>(dst, s.Count(), s.value[0], s.step[0], s.value[1], s.step[1], texel, effect,
                        p);
    };
    switch (flags) {
        case 0:
            return span(VFixedEffect<0>{});
        case BLIT_KEY:
            return span(VFixedEffect<BLIT_KEY>{});
        case BLIT_OPACITY:
            return span(VFixedEffect<BLIT_OPACITY>{});
        case BLIT_KEY | BLIT_OPACITY:
            return span(VFixedEffect<BLIT_KEY | BLIT_OPACITY>{});
        case BLIT_ADD:
            return span(VFixedEffect<BLIT_ADD>{});
        case BLIT_KEY | BLIT_ADD:
            return span(VFixedEffect<BLIT_KEY | BLIT_ADD>{});
        default:
            return span(VDynamicEffect{flags});
    }
}

// Effect normalisation of textured spans: that of Blit, except that without a colour flag the
// whole property is the opacity, so any value of 255 or more is fully opaque. Returns 0, or 10
// when the opacity quantises to nothing.
inline uint32_t NormaliseTextureEffect(uint32_t flags, uint32_t property, uint8_t format,
                                       VEffect* out) {
    const uint32_t p = (flags & kBlitColourFlags) ? property : std::min<uint32_t>(property, 255);
    return NormaliseBlitEffect(flags, p, format, out);
}
