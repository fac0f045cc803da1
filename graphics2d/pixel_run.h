// A run of one stored pixel value: what solid rectangle rows and the one-colour runs of shaded
// spans store.
#pragma once

#include <cstddef>
#include <cstdint>

#include "fileio/memory.h"

// True when every byte of the stored pixel is the same, so a byte fill stores it.
template <class T>
bool PixelBytesAlike(uint32_t pixel) {
    const uint32_t b = pixel & 0xFF;
    if constexpr (T::kBytes == 2) return (pixel >> 8 & 0xFF) == b;
    if constexpr (T::kBytes == 4) return pixel == b * 0x01010101u;
    return true;
}

// count pixels from d, which lies on a pixel boundary.
template <class T>
void StorePixelRun(uint8_t* d, size_t count, uint32_t pixel) {
    if constexpr (T::kBytes == 3) {
        MemFill24(d, pixel, count);
    } else if (PixelBytesAlike<T>(pixel)) {
        MemFill8(d, uint8_t(pixel), count * T::kBytes);  // clearing to black, white, ...
    } else {
        // Rows start on pixel boundaries, so the row is an array of pixels; a plain loop
        // becomes vector stores.
        using P = typename T::Pixel;
        P* p = reinterpret_cast<P*>(d);
        const P v = P(pixel);
#pragma GCC unroll 16
        for (size_t i = 0; i < count; ++i) p[i] = v;
    }
}
