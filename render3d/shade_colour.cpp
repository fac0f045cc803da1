#include "render3d/shade_colour.h"

#include <algorithm>

namespace {

// A fifth of 65535: every lit colour keeps at least 20 % of its base.
constexpr uint32_t kFloor = 0x3333;
constexpr int64_t kFullDiffuse = 65535;
constexpr uint32_t kChannelLimit = 0xFFFFFF;

uint32_t Channel(uint32_t colour, int shift) {
    return (colour >> shift) & 0xFF;
}

}  // namespace

uint32_t ShadeColour(const int32_t n[3], uint32_t c, const V3DLightTerm* lights, uint32_t count) {
    if (count == 0) return c;
    uint32_t acc[3];
    for (int ch = 0; ch < 3; ++ch) acc[ch] = Channel(c, ch * 8) * kFloor;
    for (uint32_t i = 0; i < count; ++i) {
        const V3DLightTerm& l = lights[i];
        // Directions set through the display are 131072 long and normals about 88, so the dot
        // product fits 32 bits; 64 bits keep a direction written directly from wrapping.
        const int64_t dot = int64_t(l.direction[0]) * n[0] + int64_t(l.direction[1]) * n[1] -
                            int64_t(l.direction[2]) * n[2];
        const int64_t d = dot >> 7;
        for (int ch = 0; ch < 3; ++ch) {
            const uint32_t base = Channel(c, ch * 8);
            acc[ch] += (Channel(l.ambient, ch * 8) * base) << 8;
            if (d >= 0) {
                const uint32_t diffuse = uint32_t(std::min(d, kFullDiffuse));
                acc[ch] += ((Channel(l.diffuse, ch * 8) * diffuse) / 256) * base;
            }
        }
    }
    uint32_t result = 0;
    for (int ch = 0; ch < 3; ++ch) result |= (std::min(acc[ch], kChannelLimit) >> 16) << (ch * 8);
    return result;
}
