// ComputeNormals: the flat square, and the one-pass sums against the literal rule (for every
// vertex, visit every face) on random meshes with degenerate faces, faces that name a vertex
// twice, vertices no face uses and coordinates whose products wrap.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "math/fixed_point.h"
#include "math/vector.h"
#include "render3d/model.h"
#include "tests/render3d/test_owner.h"

namespace {

int32_t Wrap(int64_t v) {
    return int32_t(uint32_t(uint64_t(v)));
}

// The rule as written: for vertex v, the sum over every face that has v as any corner of
// (A - C) x (C - B), all in wrapping 32-bit integers; the sum divided by the number of such
// faces; the pre-shift from the first of the masks 2^30 ... 2^14 any component's magnitude
// hits; normalised; each component stored as (n * -88) >> 14. A vertex of no face keeps its
// normal.
void LiteralNormals(const V3DModel& model, std::vector<Xyz>& normals) {
    const uint16_t* faces = model.Faces();
    for (uint32_t v = 0; v < model.VertexCount(); ++v) {
        int32_t sx = 0, sy = 0, sz = 0;
        int64_t count = 0;
        for (uint32_t f = 0; f < model.GetFaceCount(); ++f) {
            const uint16_t* corner = faces + 3 * f;
            if (corner[0] != v && corner[1] != v && corner[2] != v) continue;
            const Xyz a = PositionOf(model, corner[0]);
            const Xyz b = PositionOf(model, corner[1]);
            const Xyz c = PositionOf(model, corner[2]);
            const int64_t acx = Wrap(int64_t(a.x) - c.x), acy = Wrap(int64_t(a.y) - c.y),
                          acz = Wrap(int64_t(a.z) - c.z);
            const int64_t cbx = Wrap(int64_t(c.x) - b.x), cby = Wrap(int64_t(c.y) - b.y),
                          cbz = Wrap(int64_t(c.z) - b.z);
            sx = Wrap(sx + int64_t(Wrap(Wrap(acy * cbz) - int64_t(Wrap(acz * cby)))));
            sy = Wrap(sy + int64_t(Wrap(Wrap(acz * cbx) - int64_t(Wrap(acx * cbz)))));
            sz = Wrap(sz + int64_t(Wrap(Wrap(acx * cby) - int64_t(Wrap(acy * cbx)))));
            ++count;
        }
        if (count == 0) continue;
        int32_t x = int32_t(sx / count), y = int32_t(sy / count), z = int32_t(sz / count);
        uint32_t shift = 0;
        for (int k = 0; k <= 16; ++k) {
            const int32_t mask = 1 << (30 - k);
            if ((Abs(x) & mask) || (Abs(y) & mask) || (Abs(z) & mask)) {
                shift = uint32_t(17 - k);
                break;
            }
        }
        Normalize(x, y, z, shift);
        normals[v] = {(x * -88) >> 14, (y * -88) >> 14, (z * -88) >> 14};
    }
}

class Normals : public testing::Test {
  protected:
    void Start(uint32_t vertices, uint32_t faces) {
        model.SetOwner(&owner.services);
        ASSERT_EQ(model.Create(vertices, faces, 0), V3DMODEL_OK);
    }
    TestOwner owner;
    V3DModel model;
};

TEST_F(Normals, AFlatCounterClockwiseSquareFacesTheViewer) {
    Start(4, 2);
    model.SetVertex(0, 0, 0, 0);
    model.SetVertex(1, 64, 0, 0);
    model.SetVertex(2, 64, 64, 0);
    model.SetVertex(3, 0, 64, 0);
    model.SetFace(0, 0, 1, 2);
    model.SetFace(1, 0, 2, 3);
    ASSERT_TRUE(model.ComputeNormals());
    for (uint32_t v = 0; v < 4; ++v) EXPECT_EQ(NormalOf(model, v), (Xyz{0, 0, 88})) << v;
}

TEST_F(Normals, OnePassEqualsTheLiteralVisitOnRandomMeshes) {
    std::mt19937 random(20240613);
    for (int mesh = 0; mesh < 60; ++mesh) {
        SCOPED_TRACE(mesh);
        V3DModel m;
        m.SetOwner(&owner.services);
        const uint32_t capacity = 2 + random() % 40;
        const uint32_t faces = 1 + random() % 80;
        ASSERT_EQ(m.Create(capacity, faces, 0), V3DMODEL_OK);
        // Magnitudes from a few units to far beyond what a product of two can hold.
        const int32_t span = int32_t(1) << (2 + mesh % 29);
        std::uniform_int_distribution<int32_t> coordinate(-span, span - 1);
        // Some vertices are never set: faces may still name them (below the capacity).
        const uint32_t set = 1 + random() % capacity;
        for (uint32_t v = 0; v < set; ++v) {
            m.SetVertex(v, coordinate(random), coordinate(random), coordinate(random));
        }
        for (uint32_t f = 0; f < faces; ++f) {
            uint32_t a = random() % capacity, b = random() % capacity, c = random() % capacity;
            switch (random() % 6) {
                case 0:
                    b = a;  // a vertex named twice
                    break;
                case 1:
                    c = b = a;  // every corner the same vertex
                    break;
                case 2:
                    c = a;
                    break;
                default:
                    break;
            }
            m.SetFace(f, a, b, c);
        }
        // Normals the faces do not reach must survive.
        std::vector<int32_t> initial(3 * capacity);
        for (int32_t& n : initial) n = int32_t(random() % 131072) - 65536;
        ModelChunk chunk;
        chunk.normalsPerVertex = 1;
        SetBlock(chunk, initial);
        m.AddNormals(chunk);

        std::vector<Xyz> expected(capacity);
        for (uint32_t v = 0; v < capacity; ++v) expected[v] = NormalOf(m, v);
        LiteralNormals(m, expected);
        ASSERT_TRUE(m.ComputeNormals());
        for (uint32_t v = 0; v < capacity; ++v) ASSERT_EQ(NormalOf(m, v), expected[v]) << v;
    }
}

TEST_F(Normals, FacesWrittenPastTheCapacityThroughALockAreSkipped) {
    Start(3, 2);
    model.SetVertex(0, 0, 0, 0);
    model.SetVertex(1, 64, 0, 0);
    model.SetVertex(2, 0, 64, 0);
    model.SetFace(0, 0, 1, 2);
    model.SetFace(1, 0, 0, 0);
    V3DModelView view;
    ASSERT_TRUE(model.Lock(&view));
    view.faces[5] = 60000;
    model.Unlock();
    ASSERT_TRUE(model.ComputeNormals());
    EXPECT_EQ(NormalOf(model, 0), (Xyz{0, 0, 88}));
}

TEST_F(Normals, WithoutMemoryForTheSumsNothingChangesAndTheBuildSaysSo) {
    model.SetOwner(&owner.services);
    ModelChunk chunk;
    chunk.vertexCount = 3;
    chunk.faceCount = 1;
    ASSERT_EQ(model.CreateFromChunk(chunk), V3DMODEL_OK);
    model.SetVertex(0, 0, 0, 0);
    model.SetVertex(1, 64, 0, 0);
    model.SetVertex(2, 0, 64, 0);
    model.SetFace(0, 0, 1, 2);
    owner.memory.failFrom = owner.memory.allocations + 1;
    EXPECT_EQ(model.FinishBuild(), V3DMODEL_FAILED);
    EXPECT_TRUE(model.NormalsPending());
    EXPECT_EQ(NormalOf(model, 0), (Xyz{0, 0, 0}));
    owner.memory.failFrom = 0;
    EXPECT_EQ(model.FinishBuild(), V3DMODEL_OK);
    EXPECT_EQ(NormalOf(model, 0), (Xyz{0, 0, 88}));
}

TEST_F(Normals, AModelWithoutNormalsHasNothingToCompute) {
    model.SetOwner(&owner.services);
    ASSERT_EQ(model.Create(3, 1, V3DMODEL_NONORMALS), V3DMODEL_OK);
    model.SetFace(0, 0, 1, 2);
    const uint32_t before = owner.memory.allocations;
    EXPECT_TRUE(model.ComputeNormals());
    EXPECT_EQ(owner.memory.allocations, before);
}

}  // namespace
