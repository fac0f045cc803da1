// SurfaceLayout: how logical pixels of a locked surface lie in its memory.
#pragma once

#include <cstdint>

#include "graphics2d/orientation.h"

struct SurfaceLayout {
    int32_t xstep = 0;                       // bytes from a pixel to its right neighbour (logical)
    int32_t ystep = 0;                       // bytes from a pixel to the one below it (logical)
    uint32_t pitchbytes = 0;                 // bytes per physical row
    uint32_t origin = 0;                     // byte offset of logical (0, 0)
    uint32_t width = 0, height = 0;          // logical size
    uint32_t physwidth = 0, physheight = 0;  // physical size
    uint8_t bitsperpixel = 0;
    uint8_t pixelformat = 0;
};

// The layout of a surface stored in orientation o.
inline SurfaceLayout DescribeLayout(const VOrientation& o, uint32_t physwidth, uint32_t physheight,
                                    uint32_t pitch, uint8_t bitsperpixel, uint8_t pixelformat) {
    SurfaceLayout l;
    const int32_t bytes = bitsperpixel / 8;
    l.pitchbytes = bitsperpixel * pitch / 8;
    if (o.swapped) {
        l.xstep = o.ydirection * int32_t(l.pitchbytes);
        l.ystep = bytes * o.xdirection;
        l.width = physheight;
        l.height = physwidth;
    } else {
        l.xstep = bytes * o.xdirection;
        l.ystep = o.ydirection * int32_t(l.pitchbytes);
        l.width = physwidth;
        l.height = physheight;
    }
    int32_t x = 0, y = 0;
    LogicalToPhysical(o, physwidth, physheight, &x, &y);
    l.origin = uint32_t(bitsperpixel * x / 8) + l.pitchbytes * uint32_t(y);
    l.physwidth = physwidth;
    l.physheight = physheight;
    l.bitsperpixel = bitsperpixel;
    l.pixelformat = pixelformat;
    return l;
}
