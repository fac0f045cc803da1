// The transform record of V2DSurface::BlitTransformed.
#pragma once

#include <cstdint>

// Flip bits, applied to the source before the turn.
constexpr uint8_t VFLIP_LEFTRIGHT = 0x01;
constexpr uint8_t VFLIP_TOPBOTTOM = 0x02;

// One unit of the 16.16 scales.
constexpr int32_t kTransformScaleOne = 0x10000;

struct VBlitTransform {
    uint32_t flags = 0;                   // effect flags of Blit
    uint32_t property = 0;                // property word of Blit
    int32_t xscale = kTransformScaleOne;  // 16.16
    int32_t yscale = kTransformScaleOne;  // 16.16
    uint32_t angle = 0;                   // 4096 units per turn, clockwise on the screen
    uint8_t flip = 0;                     // VFLIP_LEFTRIGHT, VFLIP_TOPBOTTOM
};
