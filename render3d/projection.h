// The renderer's perspective: the viewpoint at z = 32768 on the z axis, looking toward
// negative z, with F (the display's projection scale) pixels for 8192 model units at z = 0.
//
// The products of the projection are 64-bit: in 32 bits q × F × x wraps for ordinary scenes
// (at z = 25000, q × F is 258960 for F = 240, so any |x| above about 8300 would land on the
// wrong side of the picture). Results are saturated where no fill could use them anyway.
#pragma once

#include <algorithm>
#include <cstdint>

// Projected positions in 20 fraction bits are held within a million pixels of the centre, so
// that in 22.10 they and the centre still fit an i32.
constexpr int64_t kProjectedLimit = int64_t(1) << 40;

// q × F for a vertex in front of the viewpoint (z below kNearDepth): q = 0x800000 / (32768 - z),
// with the depth -32768 counted as -32769 (the rule the scenes were tuned with).
inline int64_t PerspectiveScale(int32_t z, uint32_t projectionScale) {
    int64_t d = -int64_t(z);
    if (d == 32768) d = 32769;
    return (int64_t(0x800000) / (d + 32768)) * projectionScale;
}

// (scale × v) >> 1: the projected coordinate with 20 fraction bits, saturated at
// ±kProjectedLimit. scale is never negative.
inline int64_t Project(int64_t scale, int32_t v) {
    if (scale == 0) return 0;
    // Beyond this |v| the result saturates; below it the product stays under 2^42.
    const int64_t bound = (kProjectedLimit << 1) / scale;
    if (v > bound) return kProjectedLimit;
    if (v < -bound) return -kProjectedLimit;
    return std::clamp((scale * v) >> 1, -kProjectedLimit, kProjectedLimit);
}

// True when the corners run counter-clockwise on screen (Y up), the side a face is seen from;
// clockwise and degenerate faces are culled. Compared at 1/16 pixel, as the scenes were tuned.
inline bool FacesViewer(const int64_t x[3], const int64_t y[3]) {
    const int64_t a = ((y[2] - y[1]) >> 16) * ((x[0] - x[1]) >> 16);
    const int64_t b = ((x[2] - x[1]) >> 16) * ((y[0] - y[1]) >> 16);
    return a - b < 0;
}

// The depth key of a face from its corners' depths: larger is nearer the viewer.
inline int32_t DepthKey(const int32_t z[3]) {
    const int64_t key = int64_t(z[0]) + z[1] + (int64_t(z[0]) + z[1] + z[2]) / 4;
    return int32_t(std::clamp<int64_t>(key, INT32_MIN, INT32_MAX));
}
