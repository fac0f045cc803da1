// Hand-shaped row kernels of the blitter table's fast loops and of the fills. Each is an
// optimisation of a rule in pixel_rules.h for one effect with the flags fixed at compile time,
// written so that the compiler turns it into vector code, and must give the same bytes as the
// rule; the fast-path property test checks that. A kernel returns false when it does not cover
// the case, and the rule then runs pixel by pixel.
#pragma once

#include <cstdint>

#include "graphics2d/pixel_rules.h"

template <class E>
constexpr bool kIsFixedEffect = false;
template <uint32_t F>
constexpr bool kIsFixedEffect<VFixedEffect<F>> = true;

// Formats whose pixels are whole 8-bit channels in 32-bit words (X888). Valid pixels have a zero
// top byte, which every byte-wise kernel below keeps at zero.
template <class T>
constexpr bool kByteChannels = [] {
    if constexpr (T::kIndexed) {
        return false;
    } else {
        return T::kBytes == 4 && T::kRed.bits == 8 && T::kGreen.bits == 8 && T::kBlue.bits == 8;
    }
}();

namespace fastkernel {

// Per byte: min(d + s, 255), max(d - s, 0), (d * (256 - a) + s * a) >> 8.
// Written as d + min(s, 255 - d) and d - min(d, s): plain byte minimums, which vectorise.
inline void AddBytes(uint8_t* __restrict d, const uint8_t* __restrict s, uint32_t n) {
    for (uint32_t i = 0; i < n; ++i) {
        const uint8_t room = uint8_t(255 - d[i]);
        d[i] = uint8_t(d[i] + (s[i] < room ? s[i] : room));
    }
}
inline void SubtractBytes(uint8_t* __restrict d, const uint8_t* __restrict s, uint32_t n) {
    for (uint32_t i = 0; i < n; ++i) d[i] = uint8_t(d[i] - (s[i] < d[i] ? s[i] : d[i]));
}
inline void BlendBytes(uint8_t* __restrict d, const uint8_t* __restrict s, uint32_t n, uint32_t a) {
    const uint16_t keep = uint16_t(256 - a), take = uint16_t(a);
    for (uint32_t i = 0; i < n; ++i) d[i] = uint8_t(uint16_t(d[i] * keep + s[i] * take) >> 8);
}

// Per byte of a fill: ((d * keep) >> 8) + c, with c repeating every four bytes.
inline void FadeBytes(uint8_t* __restrict d, uint32_t pixels, uint32_t keep, uint32_t c) {
    const uint8_t c0 = uint8_t(c), c1 = uint8_t(c >> 8), c2 = uint8_t(c >> 16),
                  c3 = uint8_t(c >> 24);
    const uint16_t k = uint16_t(keep);
    for (uint32_t i = 0; i < pixels; ++i) {
        uint8_t* p = d + 4 * i;
        p[0] = uint8_t((uint16_t(p[0] * k) >> 8) + c0);
        p[1] = uint8_t((uint16_t(p[1] * k) >> 8) + c1);
        p[2] = uint8_t((uint16_t(p[2] * k) >> 8) + c2);
        p[3] = uint8_t((uint16_t(p[3] * k) >> 8) + c3);
    }
}

// 16-bit pixels with 5- or 6-bit channels, blended field by field in 16-bit lanes.
template <class T>
inline void Blend16(uint16_t* __restrict d, const uint16_t* __restrict s, uint32_t n, uint32_t a) {
    constexpr VChannel r = T::kRed, g = T::kGreen, b = T::kBlue;
    constexpr int bits = T::kOpacityBits;
    const uint16_t take = uint16_t(a >> (8 - bits)), keep = uint16_t((1u << bits) - take);
    for (uint32_t i = 0; i < n; ++i) {
        const uint16_t x = d[i], y = s[i];
        const uint16_t rr =
            uint16_t(((x >> r.shift & r.Max()) * keep + (y >> r.shift & r.Max()) * take) >> bits);
        const uint16_t gg =
            uint16_t(((x >> g.shift & g.Max()) * keep + (y >> g.shift & g.Max()) * take) >> bits);
        const uint16_t bb =
            uint16_t(((x >> b.shift & b.Max()) * keep + (y >> b.shift & b.Max()) * take) >> bits);
        d[i] = uint16_t(rr << r.shift | gg << g.shift | bb << b.shift);
    }
}

}  // namespace fastkernel

template <class T, class E>
inline bool FastBlitRow(uint32_t n, uint8_t* d, const uint8_t* s, E, const VBlitParams& p) {
    if constexpr (!kIsFixedEffect<E>) {
        return false;
    } else {
        constexpr uint32_t F = E::kFlags;
        if constexpr (kByteChannels<T>) {
            if constexpr (F == BLIT_ADD) {
                fastkernel::AddBytes(d, s, n * 4);
                return true;
            } else if constexpr (F == BLIT_SUBTRACT) {
                fastkernel::SubtractBytes(d, s, n * 4);
                return true;
            } else if constexpr (F == BLIT_OPACITY) {
                fastkernel::BlendBytes(d, s, n * 4, p.opacity);
                return true;
            }
        }
        if constexpr (!T::kIndexed && T::kBytes == 2) {
            if constexpr (F == BLIT_OPACITY) {
                fastkernel::Blend16<T>(reinterpret_cast<uint16_t*>(d),
                                       reinterpret_cast<const uint16_t*>(s), n, p.opacity);
                return true;
            }
        }
        return false;
    }
}

template <class T, class E>
inline bool FastFillRow(uint32_t n, uint8_t* d, E, const VFillParams& p) {
    if constexpr (!kIsFixedEffect<E>) {
        return false;
    } else {
        constexpr uint32_t F = E::kFlags;
        if constexpr (kByteChannels<T> && F == BLIT_OPACITY) {
            fastkernel::FadeBytes(d, n, 256 - p.opacity, p.pixel);
            return true;
        }
        return false;
    }
}
