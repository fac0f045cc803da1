// Vector operations of the 3D math.
#pragma once

#include <cstdint>

// Scales (x, y, z) in place to length 16384 (a 2.14 unit vector), each component truncated
// toward zero. preShift drops low bits of the components before their squares are summed,
// for vectors too long to square in 32 bits; it divides out again, so the result does not
// depend on it beyond the lost bits. A vector shorter than 1 after the shift becomes
// (0, 0, 0).
void Normalize(int32_t& x, int32_t& y, int32_t& z, uint32_t preShift);
