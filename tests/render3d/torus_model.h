// A ring (torus) model for pictures and benchmarks: rings × segments × 2 faces, seen from
// outside, with vertex colours in bands around the ring and texture coordinates wrapping the
// texture twice around it.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "render3d/model.h"

struct TorusShape {
    uint32_t rings = 24;     // steps around the big circle
    uint32_t segments = 12;  // steps around the tube
    double radius = 3000, tube = 1200;
    uint32_t createFlags = 0;  // V3DMODEL_... (normals are computed from the faces)
};

// Band colours around the ring, 0x00BBGGRR.
inline uint32_t TorusBand(uint32_t ring) {
    static const uint32_t kBands[] = {0x2040E0, 0x20C0F0, 0x40D040, 0xE0A020, 0xC040C0, 0x4040F0};
    return kBands[(ring / 2) % 6];
}

// Fills model (already bound to its services) with the ring; false when it cannot be created.
inline bool BuildTorus(V3DModel& model, const TorusShape& shape) {
    const uint32_t columns = shape.rings + 1, rows = shape.segments + 1;
    if (model.Create(columns * rows, shape.rings * shape.segments * 2, shape.createFlags) != 0)
        return false;
    V3DModelView view;
    if (!model.Lock(&view)) return false;
    const double kTurn = 6.283185307179586;
    for (uint32_t i = 0; i < columns; ++i) {
        for (uint32_t j = 0; j < rows; ++j) {
            const double u = kTurn * i / shape.rings, v = kTurn * j / shape.segments;
            const double around = shape.radius + shape.tube * std::cos(v);
            const uint32_t index = i * rows + j;
            model.SetVertex(index, int32_t(std::lround(around * std::cos(u))),
                            int32_t(std::lround(around * std::sin(u))),
                            int32_t(std::lround(shape.tube * std::sin(v))));
            if (view.colour != nullptr) {
                const uint32_t c = TorusBand(i);
                const uint8_t rgba[4] = {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16), 255};
                std::memcpy(view.colour + size_t(index) * view.colourStride, rgba, 4);
            }
            if (view.texCoord != nullptr) {
                const int32_t uv[2] = {int32_t(2 * 65536 * i / shape.rings),
                                       -int32_t(65536 * j / shape.segments)};
                std::memcpy(view.texCoord + size_t(index) * view.texCoordStride, uv, 8);
            }
        }
    }
    model.Unlock();
    uint32_t face = 0;
    for (uint32_t i = 0; i < shape.rings; ++i) {
        for (uint32_t j = 0; j < shape.segments; ++j) {
            const uint32_t a = i * rows + j, b = (i + 1) * rows + j;
            // Counter-clockwise seen from outside: along the ring, then around the tube.
            model.SetFace(face++, a, b, b + 1);
            model.SetFace(face++, a, b + 1, a + 1);
        }
    }
    return !model.Has(V3DATTR_NORMAL) || model.ComputeNormals();
}
