// Per-channel arithmetic on colour values (three 8-bit channels in bits 0-23).
#pragma once

#include <cstdint>

// (channel * factor) >> 8 for each channel; factor at most 256.
constexpr uint32_t ScaleChannels(uint32_t c, uint32_t factor) {
    return (((c & 0xFF) * factor) >> 8) | ((((c >> 8) & 0xFF) * factor) >> 8) << 8 |
           ((((c >> 16) & 0xFF) * factor) >> 8) << 16;
}

// The brightest of the three channels.
constexpr uint32_t MaxChannel(uint32_t c) {
    const uint32_t r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
    const uint32_t m = r > g ? r : g;
    return m > b ? m : b;
}

// Each channel halved, truncating.
constexpr uint32_t HalveChannels(uint32_t c) {
    return (c >> 1) & 0x7F7F7F;
}

// Applies op(d, s) to each pair of 8-bit channels.
template <class Op>
constexpr uint32_t CombineChannels(uint32_t d, uint32_t s, Op op) {
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8)
        out |= (op((d >> shift) & 0xFF, (s >> shift) & 0xFF) & 0xFF) << shift;
    return out;
}
