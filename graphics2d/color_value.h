// Colour values for programs: 32 bits with red in bits 0-7, green in 8-15, blue in 16-23 and,
// where a picture carries it, alpha in 24-31 (255 opaque). Every drawing operation takes its
// colours in this form.
#pragma once

#include <cstdint>

constexpr uint32_t VRgb(uint32_t red, uint32_t green, uint32_t blue) {
    return (red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16;
}
constexpr uint32_t VRgba(uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha) {
    return VRgb(red, green, blue) | (alpha & 0xFF) << 24;
}

constexpr uint32_t VRed(uint32_t colour) {
    return colour & 0xFF;
}
constexpr uint32_t VGreen(uint32_t colour) {
    return (colour >> 8) & 0xFF;
}
constexpr uint32_t VBlue(uint32_t colour) {
    return (colour >> 16) & 0xFF;
}
constexpr uint32_t VAlpha(uint32_t colour) {
    return colour >> 24;
}
