// The per-pixel rules of every drawing operation, each written once over the pixel-format traits.
// These are the reference: the fast loops of the blitter table must produce the same bytes.
#pragma once

#include <cstdint>

#include "graphics2d/blit_flags.h"
#include "graphics2d/color_math.h"
#include "graphics2d/pixel_format.h"

// Effect flags known at compile time (fast loops) or at run time (the general loops).
template <uint32_t Flags>
struct VFixedEffect {
    static constexpr uint32_t kFlags = Flags;
    static constexpr bool Has(uint32_t bit) { return (Flags & bit) != 0; }
};
struct VDynamicEffect {
    uint32_t flags;
    constexpr bool Has(uint32_t bit) const { return (flags & bit) != 0; }
};

// What a blit loop needs beside the pixels.
struct VBlitParams {
    uint32_t key = 0;      // source colour key, pixel value
    uint32_t colour = 0;   // property colour, colour value (BLIT_TINT)
    uint32_t pixel = 0;    // property colour as a pixel value; halved for BLIT_MIX
    uint32_t opacity = 0;  // quantised opacity for BLIT_OPACITY
    uint32_t shift = 0;    // k of the shift effects
};

// Applies op(d, s, channel) to each channel field of two pixel values and packs the results.
template <class T, class Op>
constexpr uint32_t CombineFields(uint32_t d, uint32_t s, Op op) {
    auto one = [&](VChannel ch) {
        return (op((d >> ch.shift) & ch.Max(), (s >> ch.shift) & ch.Max(), ch) & ch.Max())
               << ch.shift;
    };
    return one(T::kRed) | one(T::kGreen) | one(T::kBlue);
}

// Mask of each field shifted right by k, so that packed shifts do not bleed between channels.
template <class T>
constexpr uint32_t ShiftMaskOf(uint32_t k) {
    if constexpr (T::kIndexed) {
        return 0xFFu >> k;
    } else {
        return (T::kRed.Max() >> k) << T::kRed.shift | (T::kGreen.Max() >> k) << T::kGreen.shift |
               (T::kBlue.Max() >> k) << T::kBlue.shift;
    }
}

// The property colour as the loops want it: a pixel value, halved channel-wise for BLIT_MIX.
template <class T>
constexpr uint32_t EffectPixelOf(uint32_t colour, uint32_t flags) {
    const uint32_t p = ColorToPixelOf<T>(colour);
    if constexpr (!T::kIndexed) {
        if ((flags & kBlitColourFlags) == BLIT_MIX) return (p >> 1) & ShiftMaskOf<T>(1);
    }
    return p;
}

// Opacity factor at the format's precision: a >> (8 - bits), against 1 << bits.
template <class T>
constexpr uint32_t OpacityFactorOf(uint32_t a) {
    return a >> (8 - T::kOpacityBits);
}

template <class T>
constexpr uint32_t AddSaturate(uint32_t d, uint32_t s) {
    return CombineFields<T>(d, s, [](uint32_t x, uint32_t y, VChannel ch) {
        return x + y > ch.Max() ? ch.Max() : x + y;
    });
}

template <class T>
constexpr uint32_t SubtractSaturate(uint32_t d, uint32_t s) {
    return CombineFields<T>(d, s,
                            [](uint32_t x, uint32_t y, VChannel) { return x > y ? x - y : 0; });
}

// Blit rule for two pixels of the same format. Returns the pixel to store (d when skipped).
template <class T, class E>
constexpr uint32_t BlitPixel(uint32_t s, uint32_t d, E e, const VBlitParams& p) {
    if (e.Has(BLIT_KEY) && s == p.key) return d;
    if constexpr (T::kIndexed) {
        // Palette indices: the colour flags write the property index (a mix alone has no
        // meaning on indices and leaves the source as it is); opacity is ignored.
        uint32_t v = s;
        if (e.Has(BLIT_FILL)) v = p.pixel & 0xFF;
        if (e.Has(BLIT_ADD)) return d + v > 255 ? 255 : d + v;
        if (e.Has(BLIT_SUBTRACT)) return d > v ? d - v : 0;
        return v;
    } else {
        uint32_t v = s;
        if (e.Has(BLIT_FILL) && e.Has(BLIT_MIX)) {
            v = ColorToPixelOf<T>(ScaleChannels(p.colour, MaxChannel(PixelToColorOf<T>(s))));
        } else if (e.Has(BLIT_FILL)) {
            v = p.pixel;
        } else if (e.Has(BLIT_MIX)) {
            v = ((s >> 1) & ShiftMaskOf<T>(1)) + p.pixel;
        }
        constexpr uint32_t kOne = 1u << T::kOpacityBits;
        const uint32_t a = OpacityFactorOf<T>(p.opacity);
        if (e.Has(BLIT_ADD) || e.Has(BLIT_SUBTRACT)) {
            if (e.Has(BLIT_OPACITY)) {
                v = CombineFields<T>(v, 0, [&](uint32_t x, uint32_t, VChannel) {
                    return (x * a) >> T::kOpacityBits;
                });
            }
            return e.Has(BLIT_ADD) ? AddSaturate<T>(d, v) : SubtractSaturate<T>(d, v);
        }
        if (e.Has(BLIT_OPACITY)) {
            return CombineFields<T>(d, v, [&](uint32_t x, uint32_t y, VChannel) {
                return (x * (kOne - a) + y * a) >> T::kOpacityBits;
            });
        }
        const uint32_t m = ShiftMaskOf<T>(p.shift);
        if (e.Has(BLIT_SHIFT_SOURCE)) return v - ((v >> p.shift) & m) + ((d >> p.shift) & m);
        if (e.Has(BLIT_SHIFT_DEST)) return d - ((d >> p.shift) & m) + ((v >> p.shift) & m);
        return v;
    }
}

// What a fill loop needs: the colour premultiplied by the opacity, as a pixel value.
struct VFillParams {
    uint32_t pixel = 0;
    uint32_t opacity = 0;
    uint32_t shift = 0;
};

// Fill rule: flags hold at most one of BLIT_OPACITY, BLIT_SHIFT_SOURCE, BLIT_SHIFT_DEST,
// BLIT_ADD, BLIT_SUBTRACT. The shift flags here mean: opacity 256 - 256/2^k keeps d >> k,
// opacity 256/2^k keeps d - (d >> k); the colour is already premultiplied.
template <class T, class E>
constexpr uint32_t FillPixel(uint32_t d, E e, const VFillParams& p) {
    const uint32_t c = p.pixel;
    if constexpr (T::kIndexed) {
        if (e.Has(BLIT_ADD)) return d + c > 255 ? 255 : d + c;
        if (e.Has(BLIT_SUBTRACT)) return d > c ? d - c : 0;
        return c;
    } else {
        if (e.Has(BLIT_ADD)) return AddSaturate<T>(d, c);
        if (e.Has(BLIT_SUBTRACT)) return SubtractSaturate<T>(d, c);
        const uint32_t m = ShiftMaskOf<T>(p.shift);
        if (e.Has(BLIT_SHIFT_SOURCE)) return ((d >> p.shift) & m) + c;
        if (e.Has(BLIT_SHIFT_DEST)) return d - ((d >> p.shift) & m) + c;
        if (e.Has(BLIT_OPACITY)) {
            const uint32_t keep = OpacityFactorOf<T>(256 - p.opacity);
            return CombineFields<T>(d, c, [&](uint32_t x, uint32_t y, VChannel) {
                return ((x * keep) >> T::kOpacityBits) + y;
            });
        }
        return c;
    }
}

// Single-pixel rule of PutPixel on colour values: flags hold at most one of BLIT_OPACITY,
// BLIT_ADD, BLIT_SUBTRACT. Returns the colour to store.
constexpr uint32_t ColourRule(uint32_t d, uint32_t c, uint32_t flags, uint32_t opacity) {
    if (flags & BLIT_OPACITY) {
        return CombineChannels(
            d, c, [&](uint32_t x, uint32_t y) { return (x * (256 - opacity) + y * opacity) >> 8; });
    }
    if (flags & BLIT_ADD)
        return CombineChannels(d, c,
                               [](uint32_t x, uint32_t y) { return x + y > 255 ? 255 : x + y; });
    if (flags & BLIT_SUBTRACT)
        return CombineChannels(d, c, [](uint32_t x, uint32_t y) { return x > y ? x - y : 0; });
    return c;
}

// ColourRule on a stored pixel. Palette indices take add and subtract on the index value and
// ignore opacity.
template <class T>
constexpr uint32_t ColourPixel(uint32_t d, uint32_t c, uint32_t flags, uint32_t opacity) {
    if constexpr (T::kIndexed) {
        c &= 0xFF;
        if (flags & BLIT_ADD) return d + c > 255 ? 255 : d + c;
        if (flags & BLIT_SUBTRACT) return d > c ? d - c : 0;
        return c;
    } else {
        return ColorToPixelOf<T>(ColourRule(PixelToColorOf<T>(d), c, flags, opacity));
    }
}
