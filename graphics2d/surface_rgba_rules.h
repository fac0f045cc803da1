// The per-pixel rules of RGBA surfaces: storing a colour with its alpha, reading it back, and
// blending a stored pixel onto a destination of the same format. These are the reference for
// every RGBA loop; the row loops only repeat them.
#pragma once

#include <cstdint>

#include "graphics2d/blit_flags.h"
#include "graphics2d/color_math.h"
#include "graphics2d/pixel_format.h"
#include "graphics2d/pixel_rules.h"

constexpr uint32_t kRGBAAlphaShift = 24;
constexpr uint32_t kRGBAColourMask = 0xFFFFFF;

// Alpha is applied at the precision of the format's widest channel: 8 bits in formats 5 and 6,
// 6 in format 4 (green), 5 in format 3, 4 in format 2.
template <class T>
constexpr int AlphaBitsOf() {
    return T::kGreen.bits;
}

// The weight of the source for alpha a at the format's precision: a >> (8 - bits), with 255
// reaching the whole 1 << bits so that an opaque pixel is copied exactly and a transparent one
// (0) leaves the destination exactly as it was.
template <class T>
constexpr uint32_t AlphaWeightOf(uint32_t a) {
    return (a >> (8 - AlphaBitsOf<T>())) + (a == 255 ? 1u : 0u);
}

// The bits of a pixel value outside its channels (the fourth byte of X888, the top bit of 555,
// the top four of 444). A pixel that is not drawn keeps them, a blended one has none.
template <class T>
constexpr uint32_t kUnusedBitsOf = (T::kBytes == 4 ? ~0u : (1u << (8 * T::kBytes)) - 1) &
                                   ~(T::kRed.Mask() | T::kGreen.Mask() | T::kBlue.Mask());

// Normal storage: out = (d × (F - f) + s × f) >> n per channel, F = 1 << n. A transparent pixel
// (f = 0) is not drawn: the destination keeps every bit.
template <class T>
constexpr uint32_t AlphaBlendPixel(uint32_t d, uint32_t s, uint32_t alpha) {
    constexpr int n = AlphaBitsOf<T>();
    const uint32_t f = AlphaWeightOf<T>(alpha);
    const uint32_t out = CombineFields<T>(
        d, s, [f](uint32_t x, uint32_t y, VChannel) { return (x * ((1u << n) - f) + y * f) >> n; });
    return out | (d & kUnusedBitsOf<T> & (0u - uint32_t(alpha == 0)));
}

// Premultiplied storage, t = 255 - alpha: out = ((d × f(t)) >> n) + s' per channel. A fully
// transparent pixel (t = 255, f = F) is not drawn, whatever its colour bits hold (a fresh surface
// is cleared to bytes 0xFF): the destination keeps every bit.
template <class T>
constexpr uint32_t PremultipliedBlendPixel(uint32_t d, uint32_t s, uint32_t t) {
    constexpr int n = AlphaBitsOf<T>();
    const uint32_t f = AlphaWeightOf<T>(t);
    if (t == 255) s = 0;
    const uint32_t out = CombineFields<T>(
        d, s, [f](uint32_t x, uint32_t y, VChannel) { return ((x * f) >> n) + y; });
    return out | (d & kUnusedBitsOf<T> & (0u - uint32_t(t == 255)));
}

// The stored word of a colour value with its alpha, in the colour format. Premultiplied storage
// keeps c × alpha >> 8 and the transparency 255 - alpha; an opaque colour is kept unchanged so
// that it is copied exactly.
template <class T>
constexpr uint32_t StoreRGBA(uint32_t colour, uint32_t alpha, bool premultiplied) {
    colour &= kRGBAColourMask;
    if (!premultiplied) return alpha << kRGBAAlphaShift | ColorToPixelOf<T>(colour);
    if (alpha < 255) colour = ScaleChannels(colour, alpha);
    return (255 - alpha) << kRGBAAlphaShift | ColorToPixelOf<T>(colour);
}

// A stored word read back as a colour value with alpha in bits 24-31. Premultiplied colours are
// divided back: c = (c' × 256) / (alpha + 1); a fully transparent pixel reads as 0.
template <class T>
constexpr uint32_t ReadRGBA(uint32_t word, bool premultiplied) {
    uint32_t colour = PixelToColorOf<T>(word & kRGBAColourMask);
    uint32_t alpha = word >> kRGBAAlphaShift;
    if (premultiplied) {
        alpha = 255 - alpha;
        if (alpha == 0) return 0;
        colour = CombineChannels(colour, 0, [alpha](uint32_t c, uint32_t) {
            const uint32_t v = (c * 256) / (alpha + 1);
            return v > 255 ? 255u : v;
        });
    }
    return alpha << kRGBAAlphaShift | colour;
}

// The blend of one stored word onto a destination pixel of the colour format, without effects.
template <class T, bool Premultiplied>
constexpr uint32_t RGBAPixel(uint32_t d, uint32_t word) {
    const uint32_t s = word & kRGBAColourMask, a = word >> kRGBAAlphaShift;
    if constexpr (Premultiplied) {
        return PremultipliedBlendPixel<T>(d, s, a);
    } else {
        return AlphaBlendPixel<T>(d, s, a);
    }
}

// The blend of one stored word onto a destination pixel of the colour format with effects (e as
// normalised, without the colour key; p with the property colour filled in): the pixel's alpha,
// times the opacity with BLIT_OPACITY, takes the place of the opacity in the blit rule. A pixel
// left with alpha 0 is not drawn. Premultiplied colours are divided back first.
template <class T>
constexpr uint32_t RGBAEffectPixel(uint32_t d, uint32_t word, bool premultiplied, const VEffect& e,
                                   VBlitParams p) {
    uint32_t s = word & kRGBAColourMask, a = word >> kRGBAAlphaShift;
    if (premultiplied) {
        const uint32_t c = ReadRGBA<T>(word, true);
        a = c >> kRGBAAlphaShift;
        s = ColorToPixelOf<T>(c & kRGBAColourMask);
    }
    if (e.flags & BLIT_OPACITY) a = (a * e.opacity) >> 8;
    if (a == 0) return d;
    p.opacity = a;
    const uint32_t base = e.flags & ~(BLIT_KEY | BLIT_OPACITY);
    return BlitPixel<T>(s, d, VDynamicEffect{a >= 255 ? base : base | BLIT_OPACITY}, p);
}
