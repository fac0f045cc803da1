// Row loops of blits and fills over a pixel format: the general loops run the per-pixel rules
// with effect flags known at run time; the fast loops of the blitter table are the same rules
// with the flags fixed at compile time, plus hand-packed kernels where those are faster.
#pragma once

#include <array>
#include <cstdint>
#include <utility>

#include "graphics2d/fast_kernels.h"
#include "graphics2d/pixel_rules.h"

template <class T, class E>
void BlitRows(uint32_t width, uint32_t height, uint8_t* dst, const uint8_t* src,
              int32_t dstrowbytes, int32_t srcrowbytes, E e, const VBlitParams& p) {
    for (uint32_t j = 0; j < height; ++j, dst += dstrowbytes, src += srcrowbytes) {
        if (FastBlitRow<T>(width, dst, src, e, p)) continue;
        uint8_t* d = dst;
        const uint8_t* s = src;
        for (uint32_t i = 0; i < width; ++i, d += T::kBytes, s += T::kBytes)
            T::Store(d, BlitPixel<T>(T::Load(s), T::Load(d), e, p));
    }
}

// The reference: the rule pixel by pixel with the flags read at run time.
template <class T>
void BlitReference(uint32_t width, uint32_t height, uint8_t* dst, const uint8_t* src,
                   int32_t dstrowbytes, int32_t srcrowbytes, uint32_t flags, const VBlitParams& p) {
    BlitRows<T>(width, height, dst, src, dstrowbytes, srcrowbytes, VDynamicEffect{flags}, p);
}

using VGeneralBlitLoop = void (*)(uint32_t, uint32_t, uint8_t*, const uint8_t*, int32_t, int32_t,
                                  const VBlitParams&);

template <class T, uint32_t Flags>
void BlitWithEffect(uint32_t width, uint32_t height, uint8_t* dst, const uint8_t* src,
                    int32_t dstrowbytes, int32_t srcrowbytes, const VBlitParams& p) {
    BlitRows<T>(width, height, dst, src, dstrowbytes, srcrowbytes, VFixedEffect<Flags>{}, p);
}

template <class T, uint32_t... Flags>
constexpr std::array<VGeneralBlitLoop, sizeof...(Flags)> GeneralBlitLoops(
    std::integer_sequence<uint32_t, Flags...>) {
    return {&BlitWithEffect<T, Flags>...};
}

// The general loop for every effect of bits 0-5 (the shift effects exist only as fast loops):
// the rule compiled once per effect combination, so that no flag is tested per pixel.
template <class T>
void BlitGeneral(uint32_t width, uint32_t height, uint8_t* dst, const uint8_t* src,
                 int32_t dstrowbytes, int32_t srcrowbytes, uint32_t flags, const VBlitParams& p) {
    static constexpr auto kLoops = GeneralBlitLoops<T>(std::make_integer_sequence<uint32_t, 64>{});
    if (flags < kLoops.size()) {
        kLoops[flags](width, height, dst, src, dstrowbytes, srcrowbytes, p);
        return;
    }
    BlitReference<T>(width, height, dst, src, dstrowbytes, srcrowbytes, flags, p);
}

// The loop parameters of a normalised blit effect, and in *run the effect to run: a plain
// opacity that a shift gives exactly becomes that shift effect.
template <class T>
VBlitParams BlitParamsFor(const VEffect& e, uint32_t key, uint32_t* run) {
    VBlitParams p;
    p.key = key;
    p.colour = e.colour;
    p.pixel = EffectPixelOf<T>(e.colour, e.flags);
    p.opacity = e.opacity;
    *run = e.flags;
    if ((e.flags & BLIT_OPACITY) && !(e.flags & (BLIT_ADD | BLIT_SUBTRACT))) {
        const uint32_t kind = ShiftEffectFor(e.opacity, &p.shift);
        if (kind != 0) *run = (e.flags & ~BLIT_OPACITY) | kind;
    }
    return p;
}

// A fast loop of the blitter table for the effect Flags.
template <class T, uint32_t Flags>
bool BlitFast(uint32_t width, uint32_t height, uint8_t* dst, const uint8_t* src,
              int32_t dstrowbytes, int32_t srcrowbytes, uint32_t key, uint32_t colour,
              uint32_t opacity) {
    VBlitParams p;
    p.key = key;
    p.pixel = colour;
    p.opacity = opacity;
    if constexpr ((Flags & (BLIT_SHIFT_SOURCE | BLIT_SHIFT_DEST)) != 0) {
        const uint32_t kind = ShiftEffectFor(opacity, &p.shift);
        if (!(kind & Flags)) return false;
    }
    BlitRows<T>(width, height, dst, src, dstrowbytes, srcrowbytes, VFixedEffect<Flags>{}, p);
    return true;
}

template <class T, class E>
void FillRows(uint32_t width, uint32_t height, uint8_t* dst, int32_t dstrowbytes, E e,
              const VFillParams& p) {
    for (uint32_t j = 0; j < height; ++j, dst += dstrowbytes) {
        if (FastFillRow<T>(width, dst, e, p)) continue;
        uint8_t* d = dst;
        for (uint32_t i = 0; i < width; ++i, d += T::kBytes)
            T::Store(d, FillPixel<T>(T::Load(d), e, p));
    }
}

// Stepped copy of the quarter-turn blit, with or without the colour key.
template <class T, bool Keyed>
bool SteppedCopy(uint32_t width, uint32_t height, uint8_t* dst, int32_t dstrowbytes,
                 const uint8_t* src, int32_t srccolumnstep, int32_t srcrowstep, uint32_t key) {
    for (uint32_t j = 0; j < height; ++j, dst += dstrowbytes, src += srcrowstep) {
        uint8_t* d = dst;
        const uint8_t* s = src;
        for (uint32_t i = 0; i < width; ++i, d += T::kBytes, s += srccolumnstep) {
            const uint32_t v = T::Load(s);
            if (!Keyed || v != key) T::Store(d, v);
        }
    }
    return true;
}
