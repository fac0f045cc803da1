// Hand-shaped row kernels of the blitter table's fast loops and of the fills. Each is an
// optimisation of a rule in pixel_rules.h for one effect with the flags fixed at compile time,
// written so that the compiler turns it into vector code, and must give the same bytes as the
// rule; the fast-path property test checks that. A kernel returns false when it does not cover
// the case, and the rule then runs pixel by pixel.
#pragma once

#include <cstdint>
#include <cstring>

#include "graphics2d/pixel_rules.h"

template <class E>
constexpr bool kIsFixedEffect = false;
template <uint32_t F>
constexpr bool kIsFixedEffect<VFixedEffect<F>> = true;

// Formats whose pixels are whole 8-bit channels in 32-bit words (X888). The byte-wise kernels
// below work on sixteen bytes (four pixels) at a time, every byte alike, and then clear the top
// byte of each pixel, as the rules do: a blended X888 pixel has no bits above blue, whatever
// either input held there.
template <class T>
constexpr bool kByteChannels = [] {
    if constexpr (T::kIndexed) {
        return false;
    } else {
        return T::kBytes == 4 && T::kRed.bits == 8 && T::kGreen.bits == 8 && T::kBlue.bits == 8;
    }
}();

namespace fastkernel {

typedef uint8_t Bytes16 __attribute__((vector_size(16)));
typedef uint16_t Widened16 __attribute__((vector_size(32)));

inline Bytes16 SplatBytes(uint8_t v) {
    return Bytes16{v, v, v, v, v, v, v, v, v, v, v, v, v, v, v, v};
}

// Four pixel words of the given value, as bytes (the top byte of a word is wherever the
// machine keeps it).
inline Bytes16 RepeatWord(uint32_t w) {
    const uint32_t words[4] = {w, w, w, w};
    Bytes16 v;
    std::memcpy(&v, words, sizeof v);
    return v;
}

// d = op(d, s) over n X888 pixels, four at a time, the top byte of each pixel cleared. A row
// that is not a multiple of four ends with the block of its last four pixels, computed before
// any of them is written, so the overlap gets the same bytes twice; rows of fewer than four
// pixels go through a zero-padded block.
template <class Op>
inline void ForPixelBytes(uint8_t* d, const uint8_t* s, uint32_t n, Op op) {
    const Bytes16 channels = RepeatWord(0x00FFFFFFu);
    auto block = [&](uint32_t i) {
        Bytes16 x, y;
        std::memcpy(&x, d + 4 * i, sizeof x);
        std::memcpy(&y, s + 4 * i, sizeof y);
        return op(x, y) & channels;
    };
    if (n < 4) {
        Bytes16 x = {}, y = {};
        std::memcpy(&x, d, size_t(n) * 4);
        std::memcpy(&y, s, size_t(n) * 4);
        x = op(x, y) & channels;
        std::memcpy(d, &x, size_t(n) * 4);
        return;
    }
    const Bytes16 last = block(n - 4);
    for (uint32_t i = 0; i + 4 <= n; i += 4) {
        const Bytes16 r = block(i);
        std::memcpy(d + 4 * i, &r, sizeof r);
    }
    std::memcpy(d + 4 * (n - 4), &last, sizeof last);
}

inline Bytes16 MinBytes(Bytes16 a, Bytes16 b) {
    return a < b ? a : b;
}

// Per channel byte: min(d + s, 255), max(d - s, 0), (d * (256 - a) + s * a) >> 8.
// Written as d + min(s, 255 - d) and d - min(d, s): plain byte minimums.
inline void AddBytes(uint8_t* __restrict d, const uint8_t* __restrict s, uint32_t n) {
    ForPixelBytes(d, s, n,
                  [](Bytes16 x, Bytes16 y) { return x + MinBytes(y, SplatBytes(255) - x); });
}
inline void SubtractBytes(uint8_t* __restrict d, const uint8_t* __restrict s, uint32_t n) {
    ForPixelBytes(d, s, n, [](Bytes16 x, Bytes16 y) { return x - MinBytes(x, y); });
}
inline void BlendBytes(uint8_t* __restrict d, const uint8_t* __restrict s, uint32_t n, uint32_t a) {
    const uint16_t keep = uint16_t(256 - a), take = uint16_t(a);
    ForPixelBytes(d, s, n, [=](Bytes16 x, Bytes16 y) {
        const Widened16 mixed = __builtin_convertvector(x, Widened16) * keep +
                                __builtin_convertvector(y, Widened16) * take;
        return __builtin_convertvector(mixed >> 8, Bytes16);
    });
}

// Per channel byte of a fill: ((d * keep) >> 8) + the channel of c.
inline void FadeBytes(uint8_t* __restrict d, uint32_t n, uint32_t keep, uint32_t c) {
    const Bytes16 colour = RepeatWord(c);
    const uint16_t k = uint16_t(keep);
    ForPixelBytes(d, d, n, [=](Bytes16 x, Bytes16) {
        return __builtin_convertvector((__builtin_convertvector(x, Widened16) * k) >> 8, Bytes16) +
               colour;
    });
}

// Eight 16-bit pixels in one vector (the compiler's generic vectors: SSE2 on x86-64, NEON on
// ARM, plain code elsewhere).
typedef uint16_t Pixels16 __attribute__((vector_size(16)));
// Fields are far below 32768, so signed comparisons (the ones SSE2 has) give the same answers.
typedef int16_t SignedPixels16 __attribute__((vector_size(16)));
constexpr uint32_t kLanes16 = 8;

// A scalar in every lane (spelt out: compilers differ in which scalars they widen implicitly).
inline Pixels16 Splat16(uint32_t v) {
    const uint16_t w = uint16_t(v);
    return Pixels16{w, w, w, w, w, w, w, w};
}

// Per channel field of eight pixels: (x * keep + y * take) >> bits. No field exceeds 16 bits on
// the way.
template <class T>
inline Pixels16 MixFields16(Pixels16 x, Pixels16 y, uint16_t keep, uint16_t take) {
    Pixels16 out = {};
    for (VChannel ch : {T::kRed, T::kGreen, T::kBlue}) {
        const uint16_t max = uint16_t(ch.Max());
        const Pixels16 xf = (x >> ch.shift) & Splat16(max), yf = (y >> ch.shift) & Splat16(max);
        out |= ((xf * Splat16(keep) + yf * Splat16(take)) >> T::kOpacityBits) << ch.shift;
    }
    return out;
}

// Per channel field: (y * take) >> bits.
template <class T>
inline Pixels16 ScaleFields16(Pixels16 y, uint16_t take) {
    Pixels16 out = {};
    for (VChannel ch : {T::kRed, T::kGreen, T::kBlue}) {
        const uint16_t max = uint16_t(ch.Max());
        out |= ((((y >> ch.shift) & Splat16(max)) * Splat16(take)) >> T::kOpacityBits) << ch.shift;
    }
    return out;
}

// Per channel field: min(x + y, max) or max(x - y, 0).
template <class T, bool Add>
inline Pixels16 SaturateFields16(Pixels16 x, Pixels16 y) {
    Pixels16 out = {};
    for (VChannel ch : {T::kRed, T::kGreen, T::kBlue}) {
        const uint16_t max = uint16_t(ch.Max());
        const Pixels16 xf = (x >> ch.shift) & Splat16(max), yf = (y >> ch.shift) & Splat16(max);
        Pixels16 r;
        if constexpr (Add) {
            const Pixels16 sum = xf + yf;
            const Pixels16 over = Pixels16(SignedPixels16(sum) > SignedPixels16(Splat16(max)));
            r = (sum & ~over) | (over & Splat16(max));
        } else {
            r = (xf - yf) & Pixels16(SignedPixels16(xf) > SignedPixels16(yf));
        }
        out |= r << ch.shift;
    }
    return out;
}

// The blit rule on eight 16-bit pixels for a fixed effect without BLIT_TINT: x destination,
// y source.
template <class T, uint32_t F>
inline Pixels16 BlitFields16(Pixels16 x, Pixels16 y, const VBlitParams& p) {
    constexpr uint32_t colourflags = F & kBlitColourFlags;
    Pixels16 v = y;
    if constexpr (colourflags == BLIT_FILL) {
        v = Splat16(p.pixel);
    } else if constexpr (colourflags == BLIT_MIX) {
        v = ((y >> 1) & Splat16(ShiftMaskOf<T>(1))) + Splat16(p.pixel);
    }
    const uint16_t take = uint16_t(OpacityFactorOf<T>(p.opacity));
    if constexpr ((F & (BLIT_ADD | BLIT_SUBTRACT)) != 0) {
        if constexpr ((F & BLIT_OPACITY) != 0) v = ScaleFields16<T>(v, take);
        v = SaturateFields16<T, (F & BLIT_ADD) != 0>(x, v);
    } else if constexpr ((F & BLIT_OPACITY) != 0) {
        v = MixFields16<T>(x, v, uint16_t((1u << T::kOpacityBits) - take), take);
    } else if constexpr ((F & (BLIT_SHIFT_SOURCE | BLIT_SHIFT_DEST)) != 0) {
        const Pixels16 m = Splat16(ShiftMaskOf<T>(p.shift));
        if constexpr ((F & BLIT_SHIFT_SOURCE) != 0)
            v = v - ((v >> p.shift) & m) + ((x >> p.shift) & m);
        else
            v = x - ((x >> p.shift) & m) + ((v >> p.shift) & m);
    }
    if constexpr ((F & BLIT_KEY) != 0) {
        const Pixels16 keyed = Pixels16(y == Splat16(p.key));
        v = (x & keyed) | (v & ~keyed);
    }
    return v;
}

// Per channel field: ((x * keep) >> bits) + c.
template <class T>
inline Pixels16 FadeFields16(Pixels16 x, uint16_t keep, uint32_t c) {
    Pixels16 out = {};
    for (VChannel ch : {T::kRed, T::kGreen, T::kBlue}) {
        const uint16_t max = uint16_t(ch.Max());
        const Pixels16 xf = (x >> ch.shift) & Splat16(max);
        out |= (((xf * Splat16(keep)) >> T::kOpacityBits) + Splat16(c >> ch.shift & max))
               << ch.shift;
    }
    return out;
}

// Row loop over eight pixels at a time; the last few go through the scalar form of the same
// expression (a vector of one live lane).
template <class F>
inline void ForEight16(uint16_t* d, const uint16_t* s, uint32_t n, F f) {
    uint32_t i = 0;
    for (; i + kLanes16 <= n; i += kLanes16) {
        Pixels16 x, y = {};
        std::memcpy(&x, d + i, sizeof x);
        if (s != nullptr) std::memcpy(&y, s + i, sizeof y);
        x = f(x, y);
        std::memcpy(d + i, &x, sizeof x);
    }
    for (; i < n; ++i) {
        Pixels16 x = {d[i]}, y = {s != nullptr ? s[i] : uint16_t(0)};
        d[i] = f(x, y)[0];
    }
}

// A 16-bit row with the effect F.
template <class T, uint32_t F>
inline void Blit16(uint16_t* d, const uint16_t* s, uint32_t n, const VBlitParams& p) {
    ForEight16(d, s, n, [&](Pixels16 x, Pixels16 y) { return BlitFields16<T, F>(x, y, p); });
}

// 16-bit opacity fill with the premultiplied colour c.
template <class T>
inline void Fade16(uint16_t* d, uint32_t n, uint32_t keep, uint32_t c) {
    ForEight16(d, nullptr, n,
               [&](Pixels16 x, Pixels16) { return FadeFields16<T>(x, uint16_t(keep), c); });
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
                fastkernel::AddBytes(d, s, n);
                return true;
            } else if constexpr (F == BLIT_SUBTRACT) {
                fastkernel::SubtractBytes(d, s, n);
                return true;
            } else if constexpr (F == BLIT_OPACITY) {
                fastkernel::BlendBytes(d, s, n, p.opacity);
                return true;
            }
        }
        if constexpr (!T::kIndexed && T::kBytes == 2 && (F & kBlitColourFlags) != BLIT_TINT) {
            fastkernel::Blit16<T, F>(reinterpret_cast<uint16_t*>(d),
                                     reinterpret_cast<const uint16_t*>(s), n, p);
            return true;
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
        if constexpr (!T::kIndexed && T::kBytes == 2 && F == BLIT_OPACITY) {
            fastkernel::Fade16<T>(reinterpret_cast<uint16_t*>(d), n,
                                  OpacityFactorOf<T>(256 - p.opacity), p.pixel);
            return true;
        }
        return false;
    }
}
