// Per-row work of the PNG decoder: undoing the row filters and turning unfiltered rows into
// palette indices or colour values (R, G, B, A bytes).
#pragma once

#include <cstdint>

#include "imaging/png_format.h"

// Unfilters one stored row in place: row points at its filter type byte, followed by rowbytes
// bytes; above points at the unfiltered bytes of the row above, or is null for the first row
// of an image or pass (a row of zeros). Unknown filter types leave the row as it is.
void PngUnfilterRow(uint8_t* row, const uint8_t* above, uint64_t rowbytes, uint32_t filterstep);

// Converts one unfiltered row (after its filter byte) of width pixels: one index byte per
// pixel for palette images, four bytes R, G, B, A otherwise. Samples of 16 bits give their
// most significant byte.
void PngConvertRow(const PngFormat& format, const uint8_t* row, uint32_t width, uint8_t* out);

// Gives alpha 0 to the colour values of a row whose red, green and blue equal the key's.
void PngApplyTransparentKey(uint8_t* rgba, uint32_t width, uint32_t key);

// The 8-bit value of a grey sample of bit depth 1, 2 or 4 (the sample repeated).
inline uint8_t PngScaleGrey(uint32_t sample, uint8_t bitdepth) {
    switch (bitdepth) {
        case 1:
            return sample ? 0xFF : 0x00;
        case 2:
            return uint8_t(sample * 0x55);
        case 4:
            return uint8_t(sample * 0x11);
        default:
            return uint8_t(sample);
    }
}
