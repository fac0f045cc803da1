// 32-bit two's-complement arithmetic that wraps instead of overflowing.
//
// The fixed-point math is defined on 32-bit registers: a product or sum that leaves the
// 32-bit range wraps around, exactly as on the handheld processors the formats were made
// for. Signed overflow is undefined in C++, so the wrapping is done in unsigned arithmetic
// and the bits are read back as a signed value.
#pragma once

#include <cstdint>

inline int32_t WrapMul(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

inline int32_t WrapAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

inline int32_t WrapSub(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

inline int32_t WrapNeg(int32_t a) {
    return static_cast<int32_t>(0u - static_cast<uint32_t>(a));
}
