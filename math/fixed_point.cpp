#include "math/fixed_point.h"

#include <cstdint>

int32_t FloatToFixed(uint32_t bits, int32_t fractionBits) {
    constexpr int32_t kSaturated = 0x7FFFFFFF;
    const bool negative = (bits & 0x80000000u) != 0;
    const int32_t exponent = static_cast<int32_t>((bits >> 23) & 255);
    const uint32_t mantissa = bits & 0x7FFFFF;

    if (exponent == 255) {
        if (mantissa != 0) return 0;  // NaN
        return negative ? -kSaturated : kSaturated;
    }

    // value = significand * 2^shift in units of the target format. Normal numbers carry the
    // hidden leading 1; denormals have none and share the smallest normal exponent, so zero
    // stays zero.
    const uint64_t significand = exponent == 0 ? mantissa : mantissa + 0x800000u;
    const int64_t shift = int64_t{exponent == 0 ? 1 : exponent} - 127 - 23 + fractionBits;

    uint64_t magnitude;
    if (shift < -31) {
        magnitude = 0;
    } else if (shift < 0) {
        magnitude = significand >> -shift;  // bits shifted out are lost: truncation
    } else if (shift <= 31) {
        magnitude = significand << shift;  // at most 55 bits
    } else {
        magnitude = significand == 0 ? 0 : kSaturated;
    }
    if (magnitude > static_cast<uint64_t>(kSaturated)) magnitude = kSaturated;

    const auto result = static_cast<int32_t>(magnitude);
    return negative ? -result : result;
}

int32_t Abs(int32_t value) {
    if (value == INT32_MIN) return INT32_MAX;
    return value < 0 ? -value : value;
}
