// The side walk of the polygon filler: which pixels belong to a triangle (or to the
// quadrilateral of a turned blit), row by row, with up to three values interpolated along
// the sides and then along each span.
//
// Coordinates and values are fixed point with 10 fraction bits (1.0 = 1024), in the physical
// layout of the destination. A side is sampled at the lower boundary of each row it crosses;
// a row's span covers pixels floor(left) to floor(right) - 1, so a side shared by two
// polygons gives its pixels to only one of them.
#pragma once

#include <cstdint>

#include "graphics2d/orientation.h"

constexpr int kPolygonMaxValues = 3;

struct VPolygonVertex {
    int64_t x = 0, y = 0;  // physical, 22.10
    int64_t value[kPolygonMaxValues] =
        {};  // interpolants (colour channels or u, v), 10 fraction bits
};

// The span buffers of a surface and the area they serve.
struct VSpanBuffers {
    int16_t* left = nullptr;        // first pixel of each row's span
    int16_t* right = nullptr;       // last pixel of each row's span; negative when the row is empty
    int32_t* leftvalues = nullptr;  // plane 0: exact x of the left side; planes 1-3: its values
    int32_t* rightvalues = nullptr;
    uint32_t planerows = 0;  // entries per plane
    int32_t physwidth = 0, physheight = 0;
    VRect clip;  // physical

    int32_t& LeftPlane(int plane, int32_t row) const { return leftvalues[plane * planerows + row]; }
    int32_t& RightPlane(int plane, int32_t row) const {
        return rightvalues[plane * planerows + row];
    }
};

// Rows a polygon covers after clipping, inclusive; empty when first > last.
struct VSpanRows {
    int32_t first = 0, last = -1;
};

// A logical 22.10 vertex in physical 22.10 coordinates. A mirrored axis maps x to
// width × 1024 + 1023 - x rather than width × 1024 - x: sides are sampled at the right and
// lower boundaries of physical pixels, which are the left and upper ones of logical pixels
// there, and the 1023 moves the sampling to 1/1024 of a pixel before where an unmirrored axis
// samples. A polygon then covers the same logical pixels whichever way the display is
// mirrored, except where a side meets a sampling point exactly and the rounding of its slope,
// walked from the other end, decides the pixel the other way.
void LogicalToPhysicalFixed(const VOrientation& o, uint32_t physwidth, uint32_t physheight,
                            int64_t* x, int64_t* y);

// A logical 22.10 texture position in the texture's physical layout, as a point: a mirrored
// axis maps u to width × 1024 - 1 - u, so that texel floor(u) of the logical picture is the
// physical texel width - 1 - floor(u).
void LogicalToPhysicalTexel(const VOrientation& o, uint32_t physwidth, uint32_t physheight,
                            int64_t* u, int64_t* v);

// Bounding-box test, row range, reset of those rows, the walk of every side (vertex i to
// vertex i + 1, the last back to the first) and the cut of each span to the clip rectangle.
// Returns false when nothing of the polygon can be visible.
bool WalkPolygon(const VSpanBuffers& b, const VPolygonVertex* v, int count, int values,
                 VSpanRows* rows);

// One row of a walked polygon, ready to draw: pixels left to right inclusive, each value at
// the first pixel with its step per pixel.
struct VSpan {
    int32_t row = 0, left = 0, right = 0;
    int32_t first = 0;  // the span's first pixel before the cut to the clip rectangle
    int64_t value[kPolygonMaxValues] = {};
    int64_t step[kPolygonMaxValues] = {};
    uint32_t Count() const { return uint32_t(right - left + 1); }
};

// The step of a value along a side or a span: the difference × 512 over half the distance
// plus one, truncated toward zero.
inline int64_t PolygonStep(int64_t difference, int64_t distance) {
    return difference * 512 / ((distance >> 1) + 1);
}

// Calls draw(span) for every row of rows that has pixels. A span cut at the clip's left side
// starts with its values advanced to the first visible pixel, so a cut span keeps its gradient.
template <class Draw>
void ForEachSpan(const VSpanBuffers& b, const VSpanRows& rows, int values, Draw&& draw) {
    for (int32_t r = rows.first; r <= rows.last; ++r) {
        VSpan s;
        s.row = r;
        s.left = b.left[r];
        s.right = b.right[r];
        if (s.right < 0 || s.right < s.left) continue;
        const int64_t xl = b.LeftPlane(0, r), xr = b.RightPlane(0, r);
        s.first = int32_t(xl >> 10);
        for (int k = 0; k < values; ++k) {
            const int64_t lv = b.LeftPlane(k + 1, r), rv = b.RightPlane(k + 1, r);
            s.step[k] = PolygonStep(rv - lv, xr - xl);
            s.value[k] = lv + (((1024 - (xl & 1023)) * s.step[k]) >> 10);
            if (s.first < s.left) s.value[k] += int64_t(s.left - s.first) * s.step[k];
        }
        draw(s);
    }
}
