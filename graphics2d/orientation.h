// The display orientation that every surface follows, and the mapping between the logical
// coordinates callers use and the physical layout in which pixels are stored.
#pragma once

#include <cstdint>

// Rectangle: left, top, right, bottom; right and bottom exclusive.
struct VRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const VRect&, const VRect&) = default;
};

struct VOrientation {
    int32_t xdirection = 1;  // +1 or -1
    int32_t ydirection = 1;  // +1 or -1
    uint8_t swapped = 0;     // 1 when logical x runs along physical y
    friend bool operator==(const VOrientation&, const VOrientation&) = default;
};

// Logical point to physical, for a surface of the given physical size.
inline void LogicalToPhysical(const VOrientation& o, uint32_t physwidth, uint32_t physheight,
                              int32_t* x, int32_t* y) {
    if (o.swapped) {
        const int32_t t = *x;
        *x = *y;
        *y = t;
    }
    if (o.xdirection < 0) *x = int32_t(physwidth) - *x - 1;
    if (o.ydirection < 0) *y = int32_t(physheight) - *y - 1;
}

inline void PhysicalToLogical(const VOrientation& o, uint32_t physwidth, uint32_t physheight,
                              int32_t* x, int32_t* y) {
    if (o.xdirection < 0) *x = int32_t(physwidth) - *x - 1;
    if (o.ydirection < 0) *y = int32_t(physheight) - *y - 1;
    if (o.swapped) {
        const int32_t t = *x;
        *x = *y;
        *y = t;
    }
}

// Logical rectangle to physical (and back: the mapping of rectangles is its own inverse once
// the order of the steps is reversed).
inline VRect LogicalToPhysical(const VOrientation& o, uint32_t physwidth, uint32_t physheight,
                               VRect r) {
    if (o.swapped) r = VRect{r.top, r.left, r.bottom, r.right};
    if (o.xdirection < 0) {
        const int32_t left = int32_t(physwidth) - r.right;
        r.right = int32_t(physwidth) - r.left;
        r.left = left;
    }
    if (o.ydirection < 0) {
        const int32_t top = int32_t(physheight) - r.bottom;
        r.bottom = int32_t(physheight) - r.top;
        r.top = top;
    }
    return r;
}

inline VRect PhysicalToLogical(const VOrientation& o, uint32_t physwidth, uint32_t physheight,
                               VRect r) {
    if (o.ydirection < 0) {
        const int32_t top = int32_t(physheight) - r.bottom;
        r.bottom = int32_t(physheight) - r.top;
        r.top = top;
    }
    if (o.xdirection < 0) {
        const int32_t left = int32_t(physwidth) - r.right;
        r.right = int32_t(physwidth) - r.left;
        r.left = left;
    }
    if (o.swapped) r = VRect{r.top, r.left, r.bottom, r.right};
    return r;
}
