// The inverse DCT of an 8 × 8 block of dequantised coefficients: the accurate integer method
// of the Independent JPEG Group (Loeffler, Ligtenberg and Moschytz) with 13-bit constants. The
// first pass runs down the columns and keeps two extra bits (descaling by 11 bits), the second
// along the rows and descales by 18 bits; both round. Then 128 is added and each sample is
// limited to 0..255.
//
// The arithmetic wraps around in 32 bits, so coefficients of any value give a defined result
// (garbage in, garbage out); for the coefficients of real pictures nothing wraps.
#pragma once

#include <cstdint>

// coefficients: 64 values, row by row (vertical frequency by horizontal frequency). The
// samples go to 8 rows of 8 bytes, stride bytes apart.
using JpegIdctFunction = void (*)(const int32_t* coefficients, uint8_t* out, uint32_t stride);

// One column and one row at a time: the rule the fast versions are checked against.
void JpegIdctReference(const int32_t* coefficients, uint8_t* out, uint32_t stride);

// The fast versions this processor runs, fastest last (vectors of four lanes everywhere, of
// eight where the processor has AVX2); returns how many.
uint32_t JpegIdctVersions(JpegIdctFunction versions[2]);
// The fastest of them.
JpegIdctFunction JpegIdctForThisProcessor();

// A block whose coefficients other than the first are all zero is flat; this gives the value
// both passes above give for it.
inline uint8_t JpegIdctFlatValue(int32_t dc) {
    const int32_t columns = int32_t((uint32_t(dc) << 13) + (1u << 10)) >> 11;
    const int32_t rows = int32_t((uint32_t(columns) << 13) + (1u << 17)) >> 18;
    const int32_t sample = rows + 128;
    return uint8_t(sample < 0 ? 0 : sample > 255 ? 255 : sample);
}
