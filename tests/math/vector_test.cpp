#include "math/vector.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>

namespace {

using Vec = std::array<int32_t, 3>;

Vec Normalized(Vec v, uint32_t preShift) {
    Normalize(v[0], v[1], v[2], preShift);
    return v;
}

TEST(Normalize, Cases) {
    struct Case {
        const char* name;
        Vec in;
        uint32_t preShift;
        Vec out;
    };
    constexpr int32_t kMin = INT32_MIN;
    const Case cases[] = {
        {"3-4-5 triangle truncates", {3, 4, 0}, 0, {9830, 13107, 0}},
        {"negative components truncate toward zero", {-3, 0, -4}, 0, {-9830, 0, -13107}},
        {"unit axis", {0, 0, -1}, 0, {0, 0, -16384}},
        {"zero vector", {0, 0, 0}, 0, {0, 0, 0}},
        {"shorter than 1 after the shift", {1, 1, 1}, 1, {0, 0, 0}},
        // The shift rounds down, so -1 >> 1 stays -1 and the vector keeps a length of 1.
        {"negative components survive the shift", {-1, -1, -1}, 1, {-8192, -8192, -8192}},
        {"lost low bits", {3, 4, 0}, 2, {12288, 16384, 0}},
        {"long vector with the shift", {1 << 30, 0, 0}, 16, {16384, 0, 0}},
        // Pre-shifts above 14 (long normals) scale down instead of shifting by a negative count.
        {"pre-shift above 14", {1 << 30, 1 << 30, 0}, 17, {11585, 11585, 0}},
        {"pre-shift of 31", {kMin, 0, 0}, 31, {-16384, 0, 0}},
        {"pre-shift beyond 31 acts as 31", {kMin, 0, 0}, 40, {-16384, 0, 0}},
        // Squares beyond 32 bits keep their true length instead of wrapping.
        {"sum of squares beyond 32 bits", {100000, 0, 0}, 0, {16384, 0, 0}},
        {"largest components", {kMin, kMin, kMin}, 0, {-9459, -9459, -9459}},
    };
    for (const Case& c : cases) EXPECT_EQ(Normalized(c.in, c.preShift), c.out) << c.name;
}

TEST(Normalize, ResultHasUnitLength) {
    std::mt19937 random(777);
    std::uniform_int_distribution<int32_t> component(-20000, 20000);
    for (int i = 0; i < 10000; ++i) {
        const Vec v{component(random), component(random), component(random)};
        if (int64_t{v[0]} * v[0] + int64_t{v[1]} * v[1] + int64_t{v[2]} * v[2] < 1000000) {
            continue;  // short vectors carry too few bits for a tight bound
        }
        const Vec n = Normalized(v, 0);
        const int64_t square = int64_t{n[0]} * n[0] + int64_t{n[1]} * n[1] + int64_t{n[2]} * n[2];
        // Each component is truncated toward zero by less than one unit, and the integer
        // length may be short by less than one, so 16384 is approached within a few units.
        ASSERT_GE(square, int64_t{16384 - 4} * (16384 - 4)) << v[0] << " " << v[1] << " " << v[2];
        ASSERT_LE(square, int64_t{16384 + 40} * (16384 + 40)) << v[0] << " " << v[1] << " " << v[2];
        for (int k = 0; k < 3; ++k) {
            ASSERT_TRUE((n[k] >= 0) == (v[k] >= 0) || n[k] == 0) << "sign of component " << k;
        }
    }
}

}  // namespace
