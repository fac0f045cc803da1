// The model's integer units from the numbers of model files: positions in whole model units
// scaled by a power of two, and texture coordinates in 16.16 snapped to whole texture lengths.
// One rule for every loader that reads them.
#pragma once

#include <cstdint>

// value * 2^exponent: a wrapping shift left, or an arithmetic shift right (rounding toward
// minus infinity) for a negative exponent. Bits shifted out are lost.
int32_t MultiplyByPowerOfTwo(int32_t value, int32_t exponent);

// A float coordinate in model units: converted with 12 fraction bits, snapped to a whole number
// when within 1/4096 of it, then multiplied by 2^(6 + scale).
int32_t ModelCoordinate(uint32_t floatBits, int8_t scale);

// A 16.16 texture coordinate within 1/65536 of a whole texture length, snapped to it.
int32_t SnapTexCoord(int32_t t);

// A float texture coordinate in 16.16 with one texture length added, then snapped.
int32_t TexCoordPlusOneLength(uint32_t floatBits);
