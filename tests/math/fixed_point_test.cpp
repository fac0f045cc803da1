#include "math/fixed_point.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>

namespace {

uint32_t Bits(float value) {
    return std::bit_cast<uint32_t>(value);
}

TEST(FloatToFixed, Cases) {
    struct Case {
        const char* name;
        uint32_t bits;
        int32_t fractionBits;
        int32_t expected;
    };
    const Case cases[] = {
        {"one in 20.12", Bits(1.0f), 12, 4096},
        {"minus 2.5 in 16.16", Bits(-2.5f), 16, -163840},
        {"2^60 is far out of range", Bits(0x1p60f), 12, 0x7FFFFFFF},
        {"-2^60 saturates negative", Bits(-0x1p60f), 12, -0x7FFFFFFF},
        {"quiet NaN", 0x7FC00000, 12, 0},
        {"negative NaN", 0xFFC00001, 12, 0},
        {"infinity", 0x7F800000, 12, 0x7FFFFFFF},
        {"minus infinity", 0xFF800000, 12, -0x7FFFFFFF},
        {"zero", Bits(0.0f), 16, 0},
        {"minus zero", Bits(-0.0f), 16, 0},
        {"positive truncates toward zero", Bits(1.5f), 0, 1},
        {"negative truncates toward zero", Bits(-1.5f), 0, -1},
        {"just below one", Bits(0.999999f), 0, 0},
        {"0.1 in 16.16", Bits(0.1f), 16, 6553},
        {"negative fraction bits divide", Bits(1024.0f), -4, 64},
        {"largest value that fits", Bits(524287.96875f), 12, 0x7FFFFF80},
        // The plain shift would lose the top bits here and give 0x80000000, a negative number.
        {"2^31 saturates instead of wrapping", Bits(524288.0f), 12, 0x7FFFFFFF},
        {"-2^31 saturates symmetrically", Bits(-524288.0f), 12, -0x7FFFFFFF},
        {"2^20 saturates instead of wrapping to 0", Bits(0x1p20f), 12, 0x7FFFFFFF},
        // Zero and denormals have no hidden leading bit.
        {"zero with many fraction bits", Bits(0.0f), 130, 0},
        {"smallest denormal", 0x00000001, 149, 1},
        {"largest denormal", 0x007FFFFF, 149, 0x7FFFFF},
        {"smallest normal", 0x00800000, 149, 0x800000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FloatToFixed(c.bits, c.fractionBits), c.expected) << c.name;
    }
}

// Every float in and around the useful range, against the exact product in double precision:
// truncated toward zero, saturated outside 31 bits.
TEST(FloatToFixed, MatchesExactArithmetic) {
    std::mt19937 random(12345);
    std::uniform_int_distribution<uint32_t> mantissa(0, 0x7FFFFF);
    std::uniform_int_distribution<uint32_t> exponent(90, 170);
    std::uniform_int_distribution<uint32_t> sign(0, 1);
    for (int32_t fractionBits : {-4, 0, 6, 8, 12, 16}) {
        for (int i = 0; i < 20000; ++i) {
            const uint32_t bits = sign(random) << 31 | exponent(random) << 23 | mantissa(random);
            const double exact =
                std::ldexp(static_cast<double>(std::bit_cast<float>(bits)), fractionBits);
            const int32_t expected = std::fabs(exact) >= 0x1p31
                                         ? (exact < 0 ? -0x7FFFFFFF : 0x7FFFFFFF)
                                         : static_cast<int32_t>(std::trunc(exact));
            ASSERT_EQ(FloatToFixed(bits, fractionBits), expected)
                << std::hex << "bits 0x" << bits << std::dec << " fraction " << fractionBits;
        }
    }
}

TEST(Abs, Cases) {
    struct Case {
        int32_t value;
        int32_t expected;
    };
    const Case cases[] = {
        {0, 0},
        {5, 5},
        {-5, 5},
        {INT32_MAX, INT32_MAX},
        {-INT32_MAX, INT32_MAX},
        {INT32_MIN, INT32_MAX},  // the one value whose negation does not fit
    };
    for (const Case& c : cases) EXPECT_EQ(Abs(c.value), c.expected) << c.value;
}

}  // namespace
