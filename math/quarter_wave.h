// The constant quarter-wave sine table the math service's tables are built from:
// Q[i] = the integer part of 65536 * sin(i * 3.14 / 2048) for i = 0 to 1022, and
// Q[1023] = 65536.
//
// The values are computed at compile time with a Taylor series in double precision. Every
// exact value lies at least 9e-5 away from an integer, far beyond the series' error, so the
// truncation is the same on every compiler and does not depend on the C library's sin.
#pragma once

#include <array>
#include <cstdint>

namespace quarter_wave_detail {

// sin(x) for 0 <= x < 1.6, summed until the terms no longer change the result.
constexpr double SineSeries(double x) {
    double term = x;
    double sum = x;
    for (int n = 1; n < 30; ++n) {
        term = -term * x * x / ((2.0 * n) * (2.0 * n + 1.0));
        sum += term;
    }
    return sum;
}

constexpr std::array<int32_t, 1024> BuildQuarterWave() {
    std::array<int32_t, 1024> q{};
    for (int i = 0; i < 1023; ++i) {
        q[i] = static_cast<int32_t>(65536.0 * SineSeries(i * 3.14 / 2048.0));
    }
    q[1023] = 65536;
    return q;
}

}  // namespace quarter_wave_detail

inline constexpr std::array<int32_t, 1024> kQuarterWave = quarter_wave_detail::BuildQuarterWave();

static_assert(kQuarterWave[1] == 100, "the quarter wave follows 3.14, not pi");
static_assert(kQuarterWave[1022] == 65535 && kQuarterWave[1023] == 65536);
