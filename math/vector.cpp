#include "math/vector.h"

#include <cmath>
#include <cstdint>

namespace {

uint64_t Square(int32_t v) {
    const auto w = static_cast<int64_t>(v);
    return static_cast<uint64_t>(w * w);
}

// The integer part of the square root of n. The floating-point root is right for every sum
// of three squared 32-bit values below 2^53; the correction covers the rest.
uint64_t IntegerSqrt(uint64_t n) {
    auto r = static_cast<uint64_t>(std::sqrt(static_cast<double>(n)));
    while (r * r > n) --r;
    while ((r + 1) * (r + 1) <= n) ++r;
    return r;
}

// x * 2^14 / (length * 2^shift), truncated toward zero. For shifts up to 14 this is
// (x << (14 - shift)) / length; larger shifts scale down instead of up.
int32_t Scale(int32_t x, uint64_t length, uint32_t shift) {
    const int64_t numerator = int64_t{x} * 16384;
    const auto denominator = static_cast<int64_t>(length << shift);
    return static_cast<int32_t>(numerator / denominator);
}

}  // namespace

void Normalize(int32_t& x, int32_t& y, int32_t& z, uint32_t preShift) {
    const uint32_t s = preShift > 31 ? 31 : preShift;
    // Squared and summed in 64 bits: a sum beyond 32 bits gives the true length rather than a
    // wrapped (possibly negative) one. Three squares of 32-bit values stay below 2^64.
    const uint64_t length = IntegerSqrt(Square(x >> s) + Square(y >> s) + Square(z >> s));
    if (length < 1) {
        x = y = z = 0;
        return;
    }
    x = Scale(x, length, s);
    y = Scale(y, length, s);
    z = Scale(z, length, s);
}
