// V3DModel::ComputeNormals: each vertex normal is the mean of the cross products of the faces
// around the vertex, normalised to length 88 and pointing to the side from which the corners
// run counter-clockwise on screen.
//
// Every face is visited once and adds its cross product to each vertex it names (a vertex
// named twice by one face counts that face once), so the cost is linear in faces + vertices.
// The sums are 32-bit and wrap; wrapped sums do not depend on the order of the additions, so
// the result is the same as visiting, for every vertex, every face around it.
#include <cstring>

#include "math/fixed_point.h"
#include "math/vector.h"
#include "math/wrap_arith.h"
#include "render3d/model.h"

namespace {

struct NormalSum {
    int32_t x, y, z;
    uint32_t faces;
};

struct Position {
    int32_t x, y, z;
};

// (A - C) x (C - B) for the corners A, B, C of a face, in wrapping 32-bit arithmetic.
Position FaceCross(const Position& a, const Position& b, const Position& c) {
    const int32_t acx = WrapSub(a.x, c.x), acy = WrapSub(a.y, c.y), acz = WrapSub(a.z, c.z);
    const int32_t cbx = WrapSub(c.x, b.x), cby = WrapSub(c.y, b.y), cbz = WrapSub(c.z, b.z);
    return {WrapSub(WrapMul(acy, cbz), WrapMul(acz, cby)),
            WrapSub(WrapMul(acz, cbx), WrapMul(acx, cbz)),
            WrapSub(WrapMul(acx, cby), WrapMul(acy, cbx))};
}

// The pre-shift that keeps the squares of the components within 32 bits: 1 for a highest set
// bit of 14 among their magnitudes, up to 17 for bit 30; 0 below bit 14.
uint32_t PreShift(int32_t x, int32_t y, int32_t z) {
    const uint32_t bits = uint32_t(Abs(x)) | uint32_t(Abs(y)) | uint32_t(Abs(z));
    for (uint32_t bit = 30; bit >= 14; --bit) {
        if (bits & (1u << bit)) return bit - 13;
    }
    return 0;
}

}  // namespace

bool V3DModel::ComputeNormals() {
    if (!Has(V3DATTR_NORMAL) || vertexCount_ == 0) return true;
    auto* sums = static_cast<NormalSum*>(Allocate(uint64_t(vertexCount_) * sizeof(NormalSum)));
    if (sums == nullptr) return false;
    std::memset(sums, 0, size_t(vertexCount_) * sizeof(NormalSum));

    auto position = [this](uint32_t v) {
        Position p;
        std::memcpy(&p, At(V3DATTR_POSITION, v), sizeof(p));
        return p;
    };
    for (uint32_t f = 0; f < faceCount_; ++f) {
        const uint32_t corner[3] = {Corner(f, 0), Corner(f, 1), Corner(f, 2)};
        // Only faces written around SetFace can name a vertex beyond the buffer.
        if (corner[0] >= vertexCapacity_ || corner[1] >= vertexCapacity_ ||
            corner[2] >= vertexCapacity_) {
            continue;
        }
        const Position cross =
            FaceCross(position(corner[0]), position(corner[1]), position(corner[2]));
        for (uint32_t k = 0; k < 3; ++k) {
            const uint32_t v = corner[k];
            const bool namedBefore = (k > 0 && v == corner[0]) || (k == 2 && v == corner[1]);
            if (v >= vertexCount_ || namedBefore) continue;
            NormalSum& s = sums[v];
            s.x = WrapAdd(s.x, cross.x);
            s.y = WrapAdd(s.y, cross.y);
            s.z = WrapAdd(s.z, cross.z);
            ++s.faces;
        }
    }

    for (uint32_t v = 0; v < vertexCount_; ++v) {
        const NormalSum& s = sums[v];
        if (s.faces == 0) continue;  // a vertex no face uses keeps its normal
        const auto mean = [&s](int32_t sum) { return int32_t(int64_t(sum) / s.faces); };
        int32_t x = mean(s.x), y = mean(s.y), z = mean(s.z);
        Normalize(x, y, z, PreShift(x, y, z));
        // The 2.14 unit vector, negated, to a byte of length 88.
        int8_t* normal = reinterpret_cast<int8_t*>(At(V3DATTR_NORMAL, v));
        normal[0] = int8_t((x * -kNormalLength) >> 14);
        normal[1] = int8_t((y * -kNormalLength) >> 14);
        normal[2] = int8_t((z * -kNormalLength) >> 14);
    }
    Release(sums);
    return true;
}
