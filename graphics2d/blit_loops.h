// Row loops of blits and fills over a pixel format, all from the per-pixel rules of
// pixel_rules.h: the rule read at run time (the flags tested per pixel), the rule compiled per
// effect (the flags fixed at compile time, with the hand-packed kernels of fast_kernels.h where
// they are faster), the general loop that picks the compiled rule for the flags, and the
// entries of the blitter table (blitter_table.h says which of them are a rule of their own).
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

// The rule read at run time: pixel by pixel, every flag tested per pixel. The reference every
// other loop is held to.
template <class T>
void BlitRuleAtRunTime(uint32_t width, uint32_t height, uint8_t* dst, const uint8_t* src,
                       int32_t dstrowbytes, int32_t srcrowbytes, uint32_t flags,
                       const VBlitParams& p) {
    BlitRows<T>(width, height, dst, src, dstrowbytes, srcrowbytes, VDynamicEffect{flags}, p);
}

// The rule compiled for the effect Flags: the same bytes as the rule read at run time.
template <class T, uint32_t Flags>
void BlitRuleCompiled(uint32_t width, uint32_t height, uint8_t* dst, const uint8_t* src,
                      int32_t dstrowbytes, int32_t srcrowbytes, const VBlitParams& p) {
    BlitRows<T>(width, height, dst, src, dstrowbytes, srcrowbytes, VFixedEffect<Flags>{}, p);
}

using VCompiledRuleLoop = void (*)(uint32_t, uint32_t, uint8_t*, const uint8_t*, int32_t, int32_t,
                                   const VBlitParams&);

template <class T, uint32_t... Flags>
constexpr std::array<VCompiledRuleLoop, sizeof...(Flags)> CompiledRuleLoops(
    std::integer_sequence<uint32_t, Flags...>) {
    return {&BlitRuleCompiled<T, Flags>...};
}

// The general loop: the rule compiled for each of the 64 effects of bits 0-5, picked by the
// flags, so that no flag is tested per pixel; any other flags run the rule read at run time.
template <class T>
void BlitGeneral(uint32_t width, uint32_t height, uint8_t* dst, const uint8_t* src,
                 int32_t dstrowbytes, int32_t srcrowbytes, uint32_t flags, const VBlitParams& p) {
    static constexpr auto kLoops = CompiledRuleLoops<T>(std::make_integer_sequence<uint32_t, 64>{});
    if (flags < kLoops.size()) {
        kLoops[flags](width, height, dst, src, dstrowbytes, srcrowbytes, p);
        return;
    }
    BlitRuleAtRunTime<T>(width, height, dst, src, dstrowbytes, srcrowbytes, flags, p);
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

// A blitter table entry that is the rule compiled for the effect Flags (a VBlitLoop): the same
// bytes as the general loop.
template <class T, uint32_t Flags>
bool TableRuleLoop(uint32_t width, uint32_t height, uint8_t* dst, const uint8_t* src,
                   int32_t dstrowbytes, int32_t srcrowbytes, uint32_t key, uint32_t colour,
                   uint32_t opacity) {
    static_assert((Flags & (BLIT_SHIFT_SOURCE | BLIT_SHIFT_DEST)) == 0);
    VBlitParams p;
    p.key = key;
    p.pixel = colour;
    p.opacity = opacity;
    BlitRuleCompiled<T, Flags>(width, height, dst, src, dstrowbytes, srcrowbytes, p);
    return true;
}

// A blitter table entry that is a rule of its own: the shift blend of Flags (BLIT_SHIFT_SOURCE
// or BLIT_SHIFT_DEST, with or without the key) for the opacities it names, which gives other
// bytes than the opacity rule at the same opacity. Declines every other opacity, so that the
// opacity rule runs for it.
template <class T, uint32_t Flags>
bool TableShiftLoop(uint32_t width, uint32_t height, uint8_t* dst, const uint8_t* src,
                    int32_t dstrowbytes, int32_t srcrowbytes, uint32_t key, uint32_t colour,
                    uint32_t opacity) {
    static_assert((Flags & (BLIT_SHIFT_SOURCE | BLIT_SHIFT_DEST)) != 0);
    VBlitParams p;
    p.key = key;
    p.pixel = colour;
    p.opacity = opacity;
    if (!(ShiftEffectFor(opacity, &p.shift) & Flags)) return false;
    BlitRuleCompiled<T, Flags>(width, height, dst, src, dstrowbytes, srcrowbytes, p);
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
