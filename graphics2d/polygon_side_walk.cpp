#include "graphics2d/polygon_side_walk.h"

#include <algorithm>

namespace {

constexpr int64_t kInt32Min = INT32_MIN, kInt32Max = INT32_MAX;

int32_t ToPlane(int64_t v) {
    return int32_t(std::clamp(v, kInt32Min, kInt32Max));
}

// A span pixel kept within what the 16-bit buffers hold; -1 and the width already lie outside
// every clip rectangle, so the cut decides the same way.
int16_t ToSpanPixel(int64_t pixel, int32_t width) {
    return int16_t(std::clamp<int64_t>(pixel, -1, width));
}

// The walk is compiled for each number of values (0 to 3), so that the per-row loops over the
// values unroll.
template <int values>
void ResetRows(const VSpanBuffers& b, const VSpanRows& rows) {
    for (int32_t r = rows.first; r <= rows.last; ++r) {
        b.left[r] = ToSpanPixel(b.physwidth, b.physwidth);
        b.right[r] = -1;
        b.LeftPlane(0, r) = ToPlane(int64_t(b.physwidth) * 1024);
        b.RightPlane(0, r) = -1024;
        for (int k = 1; k <= values; ++k) b.LeftPlane(k, r) = b.RightPlane(k, r) = 0;
    }
}

// Walks the side from a to c into the left or the right buffers.
template <int values>
void WalkSide(const VSpanBuffers& b, const VSpanRows& rows, const VPolygonVertex& a,
              const VPolygonVertex& c, bool leftside) {
    if (a.y == c.y) return;
    const VPolygonVertex& top = a.y < c.y ? a : c;
    const VPolygonVertex& bottom = a.y < c.y ? c : a;
    const int64_t height = bottom.y - top.y;
    const int64_t prestep = 1024 - (top.y & 1023);
    const int64_t slope = PolygonStep(bottom.x - top.x, height);
    const int64_t x0 = top.x + ((prestep * slope) >> 10);
    int64_t step[kPolygonMaxValues] = {}, start[kPolygonMaxValues] = {};
    for (int k = 0; k < values; ++k) {
        step[k] = PolygonStep(bottom.value[k] - top.value[k], height);
        start[k] = top.value[k] + ((prestep * step[k]) >> 10);
    }
    // Rows above the clip are not written, but the side has advanced over them.
    const int64_t rtop = top.y >> 10;
    const int64_t first = std::max<int64_t>(rtop, rows.first);
    const int64_t end = std::min<int64_t>(bottom.y >> 10, int64_t(rows.last) + 1);
    for (int64_t r = first; r < end; ++r) {
        const int64_t n = r - rtop;
        const int64_t x = x0 + n * slope;
        const int32_t row = int32_t(r);
        if (leftside) {
            b.LeftPlane(0, row) = ToPlane(x);
            b.left[row] = ToSpanPixel(x >> 10, b.physwidth);
            for (int k = 0; k < values; ++k)
                b.LeftPlane(k + 1, row) = ToPlane(start[k] + n * step[k]);
        } else {
            b.RightPlane(0, row) = ToPlane(x);
            b.right[row] = ToSpanPixel((x >> 10) - 1, b.physwidth);
            for (int k = 0; k < values; ++k)
                b.RightPlane(k + 1, row) = ToPlane(start[k] + n * step[k]);
        }
    }
}

void CutToClip(const VSpanBuffers& b, const VSpanRows& rows) {
    for (int32_t r = rows.first; r <= rows.last; ++r) {
        if (b.left[r] >= b.clip.right || b.right[r] < b.clip.left) {
            b.right[r] = -1;
            continue;
        }
        b.left[r] = int16_t(std::max<int32_t>(b.left[r], b.clip.left));
        b.right[r] = int16_t(std::min<int32_t>(b.right[r], b.clip.right - 1));
    }
}

// The sign of twice the polygon's signed area. Coordinates relative to the first vertex reach
// 34 bits and their products 68, which no integer of a 32-bit processor holds: each product is
// split at bit 20 of its second factor so that both parts fit 64 bits, and the sum is kept as
// high × 2^20 + low with low in [0, 2^20), exact on every processor.
int AreaSign(const VPolygonVertex* v, int count) {
    constexpr int64_t kLowMask = (int64_t(1) << 20) - 1;
    int64_t high = 0, low = 0;
    const auto add = [&](int64_t a, int64_t b) {
        high += a * (b >> 20);
        low += a * (b & kLowMask);
        high += low >> 20;
        low &= kLowMask;
    };
    for (int i = 1; i + 1 < count; ++i) {
        const int64_t ax = v[i].x - v[0].x, ay = v[i].y - v[0].y;
        const int64_t cx = v[i + 1].x - v[0].x, cy = v[i + 1].y - v[0].y;
        add(ax, cy);
        add(-cx, ay);
    }
    if (high != 0) return high > 0 ? 1 : -1;
    return low != 0 ? 1 : 0;
}

}  // namespace

void LogicalToPhysicalFixed(const VOrientation& o, uint32_t physwidth, uint32_t physheight,
                            int64_t* x, int64_t* y) {
    if (o.swapped) std::swap(*x, *y);
    if (o.xdirection < 0) *x = int64_t(physwidth) * 1024 + 1023 - *x;
    if (o.ydirection < 0) *y = int64_t(physheight) * 1024 + 1023 - *y;
}

void LogicalToPhysicalTexel(const VOrientation& o, uint32_t physwidth, uint32_t physheight,
                            int64_t* u, int64_t* v) {
    if (o.swapped) std::swap(*u, *v);
    if (o.xdirection < 0) *u = int64_t(physwidth) * 1024 - 1 - *u;
    if (o.ydirection < 0) *v = int64_t(physheight) * 1024 - 1 - *v;
}

bool WalkPolygon(const VSpanBuffers& b, const VPolygonVertex* v, int count, int values,
                 VSpanRows* rows) {
    int64_t minx = v[0].x, maxx = v[0].x, miny = v[0].y, maxy = v[0].y;
    for (int i = 1; i < count; ++i) {
        minx = std::min(minx, v[i].x), maxx = std::max(maxx, v[i].x);
        miny = std::min(miny, v[i].y), maxy = std::max(maxy, v[i].y);
    }
    if ((maxy >> 10) - 1 < 0 || (maxx >> 10) - 1 < 0 || (miny >> 10) >= b.physheight ||
        (minx >> 10) >= b.physwidth)
        return false;
    const int64_t first = std::max<int64_t>(miny >> 10, b.clip.top);
    const int64_t last = std::min<int64_t>((maxy >> 10) - 1, b.clip.bottom - 1);
    if (first > last) return false;
    rows->first = int32_t(first);
    rows->last = int32_t(last);
    // Twice the signed area: positive when the vertices run clockwise on the screen. Each side
    // then belongs to the left or the right of every row it crosses by its direction alone, so
    // where rounding makes a sliver's sides cross, its span is empty rather than reversed and
    // no pixel is drawn twice by two polygons that share a side.
    const int area = AreaSign(v, count);
    if (area == 0) return false;
    const auto walk = [&]<int n>() {
        ResetRows<n>(b, *rows);
        for (int i = 0; i < count; ++i) {
            const VPolygonVertex& a = v[i];
            const VPolygonVertex& c = v[(i + 1) % count];
            WalkSide<n>(b, *rows, a, c, (a.y > c.y) == (area > 0));
        }
    };
    switch (values) {
        case 0:
            walk.template operator()<0>();
            break;
        case 1:
            walk.template operator()<1>();
            break;
        case 2:
            walk.template operator()<2>();
            break;
        default:
            walk.template operator()<kPolygonMaxValues>();
            break;
    }
    CutToClip(b, *rows);
    return true;
}
