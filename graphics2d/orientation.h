// The display orientation that every surface follows, and the mapping between the logical
// coordinates callers use and the physical layout in which pixels are stored.
#pragma once

#include <climits>
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

// The part of a inside b; empty (right <= left or bottom <= top) when they do not meet.
inline VRect IntersectRect(const VRect& a, const VRect& b) {
    return VRect{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
                 a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
}

// Coordinates far outside any surface are kept, saturated, instead of wrapping around.
inline int32_t SaturateCoordinate(int64_t v) {
    return v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : int32_t(v);
}

// size - v - 1: a point position mirrored in a row or column of size pixels.
inline int32_t MirrorPoint(uint32_t size, int32_t v) {
    return SaturateCoordinate(int64_t(size) - v - 1);
}

// size - v: a rectangle edge mirrored.
inline int32_t MirrorEdge(uint32_t size, int32_t v) {
    return SaturateCoordinate(int64_t(size) - v);
}

// Logical point to physical, for a surface of the given physical size.
inline void LogicalToPhysical(const VOrientation& o, uint32_t physwidth, uint32_t physheight,
                              int32_t* x, int32_t* y) {
    if (o.swapped) {
        const int32_t t = *x;
        *x = *y;
        *y = t;
    }
    if (o.xdirection < 0) *x = MirrorPoint(physwidth, *x);
    if (o.ydirection < 0) *y = MirrorPoint(physheight, *y);
}

inline void PhysicalToLogical(const VOrientation& o, uint32_t physwidth, uint32_t physheight,
                              int32_t* x, int32_t* y) {
    if (o.xdirection < 0) *x = MirrorPoint(physwidth, *x);
    if (o.ydirection < 0) *y = MirrorPoint(physheight, *y);
    if (o.swapped) {
        const int32_t t = *x;
        *x = *y;
        *y = t;
    }
}

inline VRect MirrorX(uint32_t physwidth, VRect r) {
    return VRect{MirrorEdge(physwidth, r.right), r.top, MirrorEdge(physwidth, r.left), r.bottom};
}

inline VRect MirrorY(uint32_t physheight, VRect r) {
    return VRect{r.left, MirrorEdge(physheight, r.bottom), r.right, MirrorEdge(physheight, r.top)};
}

// Logical rectangle to physical.
inline VRect LogicalToPhysical(const VOrientation& o, uint32_t physwidth, uint32_t physheight,
                               VRect r) {
    if (o.swapped) r = VRect{r.top, r.left, r.bottom, r.right};
    if (o.xdirection < 0) r = MirrorX(physwidth, r);
    if (o.ydirection < 0) r = MirrorY(physheight, r);
    return r;
}

// Physical rectangle to logical: the same steps in reverse order.
inline VRect PhysicalToLogical(const VOrientation& o, uint32_t physwidth, uint32_t physheight,
                               VRect r) {
    if (o.ydirection < 0) r = MirrorY(physheight, r);
    if (o.xdirection < 0) r = MirrorX(physwidth, r);
    if (o.swapped) r = VRect{r.top, r.left, r.bottom, r.right};
    return r;
}

// The physical clip rectangle for a logical one (null: the whole surface), cut to the surface.
// An inverted or wholly outside rectangle leaves an empty clip, not a negative one.
inline VRect PhysicalClipRect(const VOrientation& o, uint32_t physwidth, uint32_t physheight,
                              const VRect* logical) {
    const VRect whole{0, 0, int32_t(physwidth), int32_t(physheight)};
    if (logical == nullptr) return whole;
    VRect p = LogicalToPhysical(o, physwidth, physheight, *logical);
    if (p.left < whole.left) p.left = whole.left;
    if (p.top < whole.top) p.top = whole.top;
    if (p.right > whole.right) p.right = whole.right;
    if (p.bottom > whole.bottom) p.bottom = whole.bottom;
    if (p.right < p.left) p.right = p.left;
    if (p.bottom < p.top) p.bottom = p.top;
    return p;
}
