// Hand-packed row kernels of the blitter table's fast loops. Each is an optimisation of a rule
// in pixel_rules.h for one effect and must give the same bytes; the property test checks that.
// A kernel returns false when it does not cover the case, and the rule runs pixel by pixel.
#pragma once

#include <cstdint>

#include "graphics2d/pixel_rules.h"

template <class E>
constexpr bool kIsFixedEffect = false;
template <uint32_t F>
constexpr bool kIsFixedEffect<VFixedEffect<F>> = true;

template <class T, class E>
inline bool FastBlitRow(uint32_t, uint8_t*, const uint8_t*, E, const VBlitParams&) {
    return false;
}

template <class T, class E>
inline bool FastFillRow(uint32_t, uint8_t*, E, const VFillParams&) {
    return false;
}
