// Row kernel of the alpha blit for formats with 8-bit channels in 32-bit pixels (X888). It is the
// rule of surface_rgba_rules.h computed byte by byte in 16-bit arithmetic, which the compiler runs
// many bytes at once; the rule on whole pixels needs 32-bit multiplications that the baseline
// vector units lack. The RGBA blit tests check it against the reference over every format.
#pragma once

#include <cstdint>
#include <cstring>

#include "graphics2d/surface_rgba_rules.h"

template <bool Premultiplied>
void AlphaRowBytes32(uint32_t* dst, const uint32_t* src, uint32_t width) {
    constexpr uint32_t kChunk = 64;
    // Per byte of the chunk: the weight of the destination and of the source (or the mask of the
    // premultiplied source). The fourth byte of a pixel gets 0 in both, as the rule clears it.
    uint16_t keep[kChunk * 4], take[kChunk * 4];
    for (uint32_t start = 0; start < width; start += kChunk) {
        const uint32_t n = width - start < kChunk ? width - start : kChunk;
        for (uint32_t i = 0; i < n; ++i) {
            const uint32_t a = src[start + i] >> kRGBAAlphaShift;
            const uint16_t f = uint16_t(a + (a == 255 ? 1 : 0));
            const uint16_t k = Premultiplied ? f : uint16_t(256 - f);
            const uint16_t t = Premultiplied ? uint16_t(a == 255 ? 0 : 0xFF) : f;
            // Three 16-bit copies of the weight, the fourth lane 0, stored at once.
            const uint64_t k4 = k * 0x0000000100010001ull, t4 = t * 0x0000000100010001ull;
            std::memcpy(&keep[i * 4], &k4, 8);
            std::memcpy(&take[i * 4], &t4, 8);
        }
        uint8_t* d = reinterpret_cast<uint8_t*>(dst + start);
        const uint8_t* s = reinterpret_cast<const uint8_t*>(src + start);
        for (uint32_t j = 0; j < n * 4; ++j) {
            const uint16_t kept = uint16_t(d[j] * keep[j]);
            if constexpr (Premultiplied) {
                d[j] = uint8_t((kept >> 8) + (s[j] & take[j]));
            } else {
                d[j] = uint8_t(uint16_t(kept + uint16_t(s[j] * take[j])) >> 8);
            }
        }
    }
}
