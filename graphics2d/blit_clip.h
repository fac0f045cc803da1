// The clip every blit between two surfaces shares: the source rectangle and the destination
// point, taken to physical coordinates and cut to the source and the destination's clip.
#pragma once

#include <cstdint>

#include "graphics2d/orientation.h"

// The clipped destination top-left and source rectangle, in physical coordinates.
struct VBlitArea {
    int64_t x = 0, y = 0;
    VRect source;
    uint32_t Width() const { return uint32_t(source.right - source.left); }
    uint32_t Height() const { return uint32_t(source.bottom - source.top); }
};

// The physical extent of a surface and, for a destination, its clip rectangle.
struct VBlitExtent {
    uint32_t physwidth = 0, physheight = 0;
    VRect clip;
};

// logical is the source rectangle and (x, y) the destination point, both logical; false when
// nothing is visible.
bool ClipBlit(const VOrientation& o, const VBlitExtent& dst, const VBlitExtent& src, int32_t x,
              int32_t y, const VRect& logical, VBlitArea* area);
