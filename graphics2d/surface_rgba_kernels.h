// Row kernels of the alpha blit onto formats whose pixels are three 8-bit channels in their low
// three bytes (888 and X888). Each repeats a rule of surface_rgba_rules.h for one storage and
// effect fixed at compile time, four pixels at a time in 16-bit lanes of the compiler's generic
// vectors (SSE2 on x86-64, NEON on ARM where the target has it, plain code elsewhere). Blocks of
// four pixels that the rule leaves alone are not written, blocks that it copies are not blended.
// The RGBA blit tests check the kernels against the reference over both formats, both storages,
// every alpha, widths and offsets.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "graphics2d/blit_flags.h"
#include "graphics2d/surface_rgba_rules.h"

namespace rgbakernel {

typedef uint8_t Bytes16 __attribute__((vector_size(16)));
typedef uint16_t Shorts8 __attribute__((vector_size(16)));
typedef uint32_t Words4 __attribute__((vector_size(16)));
typedef uint64_t Quads2 __attribute__((vector_size(16)));

// The lane layouts below (a word's low byte in the first byte lane, a 64-bit lane's low word
// first) are those of little-endian machines; elsewhere the per-pixel rules run.
constexpr bool kLittleEndian = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__;

// Scalars in every lane, spelt out: compilers differ in which scalars they widen implicitly.
inline Words4 SplatWords(uint32_t v) {
    return Words4{v, v, v, v};
}
inline Shorts8 SplatShorts(uint32_t v) {
    const uint16_t s = uint16_t(v);
    return Shorts8{s, s, s, s, s, s, s, s};
}

// The alpha bytes of two source words read as one 64-bit number.
constexpr uint64_t kAlphaBytes = 0xFF000000FF000000;

// What a block of four pixels needs, told from its source words alone.
enum class VBlock { kUnchanged, kCopied, kBlended };

// A per-pixel value (at most 256) as the weights of the pixel's even bytes (0 and 2: channels)
// and odd bytes (1, a channel, and 3, the fourth byte, which takes top).
struct Weights {
    Shorts8 even, odd;
};
inline Weights Spread(Words4 channels, Words4 top) {
    return {Shorts8(channels | channels << 16), Shorts8(channels | top << 16)};
}

// Per byte (x × w) >> 8, each byte in place: the even bytes of the 16-bit lanes computed in their
// low half, the odd ones in their high half.
inline Words4 Scale(Words4 w, const Weights& by) {
    const Shorts8 x = Shorts8(w), low = SplatShorts(0xFF), high = SplatShorts(0xFF00);
    return Words4((((x & low) * by.even) >> 8) | (((x >> 8) * by.odd) & high));
}

// Per byte (d × (256 - f) + v × f) >> 8, written as ((d << 8) + (v - d) × f) >> 8: the sum lies in
// 0..65280, so 16-bit lanes that wrap on the way still give it exactly, with one multiplication.
inline Words4 Mix(Words4 d, Words4 v, const Weights& f) {
    const Shorts8 x = Shorts8(d), y = Shorts8(v), low = SplatShorts(0xFF),
                  high = SplatShorts(0xFF00);
    const Shorts8 even = ((x << 8) + ((y & low) - (x & low)) * f.even) >> 8;
    const Shorts8 odd = ((x & high) + ((y >> 8) - (x >> 8)) * f.odd) & high;
    return Words4(even | odd);
}

// The premultiplied rule, t = 255 - alpha: out = ((d × f(t)) >> 8) + s' per channel, with
// f(t) = t + (t == 255); a pixel with t = 255 is not drawn, so its fourth byte keeps its weight of
// 256 while every other pixel's fourth byte becomes 0, as the rule's pixels have nothing there.
struct PremultipliedKernel {
    VBlock Classify(uint64_t first, uint64_t second) const {
        if ((first & second & kAlphaBytes) == kAlphaBytes) return VBlock::kUnchanged;
        if (((first | second) & kAlphaBytes) == 0) return VBlock::kCopied;
        return VBlock::kBlended;
    }
    Words4 Copy(Words4 s) const { return s & SplatWords(kRGBAColourMask); }
    Words4 Blend(Words4 d, Words4 s) const {
        const Words4 t = s >> 24;
        const Words4 clear = Words4(t == SplatWords(255));  // all ones where fully transparent
        const Words4 colour = s & ~clear & SplatWords(kRGBAColourMask);
        const Words4 k = t - clear;
        const Weights w = {Shorts8(k | k << 16), Shorts8(k | (clear & SplatWords(256 << 16)))};
        return Words4(Bytes16(Scale(d, w)) + Bytes16(colour));
    }
};

// The normal rule and the effects that keep it: the source weight f = a + (a == 255) of the
// pixel's alpha a (times the opacity with BLIT_OPACITY), the colour the pixel's own or the one
// the colour flags make of it and the property. A pixel with f = 0 is not drawn; every other
// pixel's fourth byte becomes 0. In premultiplied storage only BLIT_FILL keeps the rule: it needs
// the alpha alone, where the other colour flags and a plain opacity need the colour divided back.
template <uint32_t ColourFlags, bool Opacity, bool Premultiplied>
struct AlphaKernel {
    static_assert(!Premultiplied || ColourFlags == BLIT_FILL);
    uint32_t pixel = 0;    // the property colour as a pixel value, halved for BLIT_MIX
    uint32_t opacity = 0;  // 1 to 254 with BLIT_OPACITY

    // Alpha 0 (or t = 255) stays 0 whatever the opacity; only without an opacity does 255 copy.
    VBlock Classify(uint64_t first, uint64_t second) const {
        const uint64_t none = Premultiplied ? kAlphaBytes : 0, whole = kAlphaBytes - none;
        if (((Premultiplied ? first & second : first | second) & kAlphaBytes) == none)
            return VBlock::kUnchanged;
        if (!Opacity && ((Premultiplied ? first | second : first & second) & kAlphaBytes) == whole)
            return VBlock::kCopied;
        return VBlock::kBlended;
    }
    Words4 Copy(Words4 s) const { return Colour(s); }
    Words4 Blend(Words4 d, Words4 s) const {
        Words4 a = s >> 24;
        if constexpr (Premultiplied) a = SplatWords(255) - a;
        // Alpha and opacity are below 256, so their product fits the low 16 bits of each word.
        if constexpr (Opacity) a = Words4((Shorts8(a) * SplatShorts(opacity)) >> 8);
        const Words4 f = a - Words4(a == SplatWords(255));
        const Words4 drawn = ~Words4(f == Words4{});
        return Mix(d, Colour(s), Spread(f, drawn & SplatWords(256)));
    }

    // The colour to blend, its fourth byte 0.
    Words4 Colour(Words4 s) const {
        if constexpr (ColourFlags == BLIT_TINT) {
            // The property colour scaled by the brightest of the pixel's three channels.
            const Bytes16 c0 = Bytes16(s), c1 = Bytes16(s >> 8), c2 = Bytes16(s >> 16);
            const Bytes16 m01 = c0 > c1 ? c0 : c1;
            const Bytes16 m = m01 > c2 ? m01 : c2;
            return Scale(SplatWords(pixel), Spread(Words4(m) & SplatWords(0xFF), Words4{}));
        } else if constexpr (ColourFlags == BLIT_FILL) {
            return SplatWords(pixel);
        } else if constexpr (ColourFlags == BLIT_MIX) {
            return ((s >> 1) & SplatWords(0x7F7F7F)) + SplatWords(pixel);
        } else {
            return s & SplatWords(kRGBAColourMask);
        }
    }
};

// Destination pixels as words: X888 as they are, 888 three bytes each, the fourth byte 0.
struct Pixels32 {
    static constexpr uint32_t kBytes = 4;
    static Words4 Load(const uint8_t* p) {
        Words4 w;
        std::memcpy(&w, p, sizeof w);
        return w;
    }
    static void Store(uint8_t* p, Words4 w) { std::memcpy(p, &w, sizeof w); }
};

struct Pixels24 {
    static constexpr uint32_t kBytes = 3;
    // Bytes 0-7 and 6-11 (read as 4-11 so that nothing past the twelve bytes is touched) give
    // pixels 0 and 1 and pixels 2 and 3, each pair moved into the two words of a 64-bit lane.
    static Words4 Load(const uint8_t* p) {
        uint64_t first, second;
        std::memcpy(&first, p, 8);
        std::memcpy(&second, p + 4, 8);
        const Quads2 q = {first, second >> 16};
        const Quads2 low = {0xFFFFFF, 0xFFFFFF}, high = {0xFFFFFF00000000, 0xFFFFFF00000000};
        return Words4((q & low) | ((q << 8) & high));
    }
    static void Store(uint8_t* p, Words4 w) {
        const Quads2 q = Quads2(w);
        const Quads2 low = {0xFFFFFF, 0xFFFFFF}, high = {0xFFFFFF000000, 0xFFFFFF000000};
        const Quads2 packed = (q & low) | ((q >> 8) & high);  // six bytes a lane
        const uint64_t first = packed[0] | packed[1] << 48;
        const uint32_t second = uint32_t(packed[1] >> 16);
        std::memcpy(p, &first, 8);
        std::memcpy(p + 8, &second, 4);
    }
};

// One block of four pixels at d from the source words at s; false when it stays as it is.
template <class P, class K>
inline bool KernelBlock(const K& kernel, const uint8_t* d, const uint32_t* s, Words4* out) {
    uint64_t first, second;
    std::memcpy(&first, s, 8);
    std::memcpy(&second, s + 2, 8);
    const VBlock kind = kernel.Classify(first, second);
    if (kind == VBlock::kUnchanged) return false;
    Words4 words;
    std::memcpy(&words, s, sizeof words);
    *out = kind == VBlock::kCopied ? kernel.Copy(words) : kernel.Blend(P::Load(d), words);
    return true;
}

// One row of n pixels through the kernel, in blocks of four. A row that is not a multiple of four
// ends with the block of its last four pixels, worked out before anything is written so that the
// pixels it shares with the block before get the same values twice; rows of fewer than four
// pixels go through a zero-padded block.
template <class P, class K>
inline void KernelRow(uint8_t* d, const uint32_t* s, uint32_t n, const K& kernel) {
    Words4 r;
    if (n < 4) {
        uint8_t pixels[16] = {};
        uint32_t words[4] = {};
        std::memcpy(pixels, d, n * P::kBytes);
        std::memcpy(words, s, n * 4);
        if (KernelBlock<P>(kernel, pixels, words, &r)) {
            P::Store(pixels, r);
            std::memcpy(d, pixels, n * P::kBytes);
        }
        return;
    }
    const uint32_t end = n - 4;
    Words4 last;
    const bool lastchanged =
        n % 4 != 0 && KernelBlock<P>(kernel, d + end * P::kBytes, s + end, &last);
    uint8_t* const lastd = d + end * P::kBytes;
    // Two blocks a pass, so that the work of one overlaps the other's branches.
    for (; n >= 8; n -= 8, d += 8 * P::kBytes, s += 8) {
        if (KernelBlock<P>(kernel, d, s, &r)) P::Store(d, r);
        if (KernelBlock<P>(kernel, d + 4 * P::kBytes, s + 4, &r)) P::Store(d + 4 * P::kBytes, r);
    }
    if (n >= 4 && KernelBlock<P>(kernel, d, s, &r)) P::Store(d, r);
    if (lastchanged) P::Store(lastd, last);
}

}  // namespace rgbakernel

// Formats the kernels serve.
template <class T>
constexpr bool kRGBAKernelFormat = [] {
    if constexpr (T::kIndexed || !rgbakernel::kLittleEndian) {
        return false;
    } else {
        constexpr uint32_t kLowBytes = T::kRed.Mask() | T::kGreen.Mask() | T::kBlue.Mask();
        return (T::kBytes == 3 || T::kBytes == 4) && kLowBytes == 0xFFFFFF && T::kRed.bits == 8 &&
               T::kGreen.bits == 8 && T::kBlue.bits == 8;
    }
}();

// Rows of a blit through the kernel, onto destination rows of format T.
template <class T, class K>
inline void KernelRows(uint8_t* dst, int32_t dstrowbytes, const uint32_t* src, uint32_t srcpitch,
                       uint32_t width, uint32_t height, const K& kernel) {
    using P = std::conditional_t<T::kBytes == 4, rgbakernel::Pixels32, rgbakernel::Pixels24>;
    for (uint32_t j = 0; j < height; ++j, dst += dstrowbytes, src += srcpitch)
        rgbakernel::KernelRow<P>(dst, src, width, kernel);
}

// The effect rows through a kernel when one keeps the alpha rule for e (flags as normalised,
// without the colour key); false when none does and the per-pixel rule must run.
template <class T>
bool EffectKernelRows(uint8_t* dst, int32_t dstrowbytes, const uint32_t* src, uint32_t srcpitch,
                      uint32_t width, uint32_t height, const VEffect& e, bool premultiplied) {
    if (e.flags & ~(kBlitColourFlags | BLIT_OPACITY)) return false;
    const uint32_t colourflags = e.flags & kBlitColourFlags;
    const bool opacity = (e.flags & BLIT_OPACITY) != 0;
    if (premultiplied && colourflags != BLIT_FILL) return false;
    const uint32_t pixel = EffectPixelOf<T>(e.colour, e.flags);
    auto run = [&]<uint32_t C, bool O, bool P>() {
        KernelRows<T>(dst, dstrowbytes, src, srcpitch, width, height,
                      rgbakernel::AlphaKernel<C, O, P>{pixel, e.opacity});
        return true;
    };
    if (premultiplied)
        return opacity ? run.template operator()<BLIT_FILL, true, true>()
                       : run.template operator()<BLIT_FILL, false, true>();
    switch (colourflags | (opacity ? BLIT_OPACITY : 0)) {
        case BLIT_OPACITY:
            return run.template operator()<0, true, false>();
        case BLIT_FILL:
            return run.template operator()<BLIT_FILL, false, false>();
        case BLIT_FILL | BLIT_OPACITY:
            return run.template operator()<BLIT_FILL, true, false>();
        case BLIT_MIX:
            return run.template operator()<BLIT_MIX, false, false>();
        case BLIT_MIX | BLIT_OPACITY:
            return run.template operator()<BLIT_MIX, true, false>();
        case BLIT_TINT:
            return run.template operator()<BLIT_TINT, false, false>();
        case BLIT_TINT | BLIT_OPACITY:
            return run.template operator()<BLIT_TINT, true, false>();
        default:
            return false;
    }
}
