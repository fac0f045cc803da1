// Conversions into the fixed-point formats of the 3D math.
#pragma once

#include <cstdint>

// Converts the IEEE single-precision float whose 32 bits are given into fixed point with
// fractionBits fraction bits, using integer operations only. The result truncates toward
// zero. NaN gives 0; infinities and values whose magnitude does not fit in 31 bits saturate
// to +-0x7FFFFFFF; zero and denormals give 0 for any sensible fractionBits.
int32_t FloatToFixed(uint32_t bits, int32_t fractionBits);

// |value|; the one value without a positive counterpart, -2^31, gives 0x7FFFFFFF.
int32_t Abs(int32_t value);
