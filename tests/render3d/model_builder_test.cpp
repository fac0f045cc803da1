// The builder operations: where each block lands, what is dropped, what still counts, and the
// conversions of texture coordinates and normals.
#include <gtest/gtest.h>

#include <array>
#include <climits>

#include "render3d/model.h"
#include "tests/render3d/test_owner.h"

namespace {

using Face = std::array<uint32_t, 4>;
using Vertex = std::array<int32_t, 3>;

class Builder : public testing::Test {
  protected:
    void Start(uint32_t vertices, uint32_t faces, uint32_t flags) {
        model.SetOwner(&owner.services);
        ASSERT_EQ(model.Create(vertices, faces, flags), V3DMODEL_OK);
    }
    TestOwner owner;
    V3DModel model;
    ModelChunk chunk;
};

TEST_F(Builder, ARejectedFaceStillCountsSoTheNextLandsAtTheFollowingIndex) {
    Start(4, 5, 0);
    const std::vector<Face> faces = {{0, 1, 2, 0}, {1, 2, 4, 0}, {3, 2, 1, 0}};
    SetBlock(chunk, faces);
    chunk.nextFace = 1;
    EXPECT_EQ(model.AddFaces(chunk), V3DMODEL_OK);
    EXPECT_EQ(chunk.nextFace, 4u);
    EXPECT_EQ(model.GetFaceCount(), 4u);
    const uint16_t expected[] = {0, 0, 0, 0, 1, 2, 0, 0, 0, 3, 2, 1};
    for (uint32_t i = 0; i < 12; ++i) EXPECT_EQ(model.Faces()[i], expected[i]) << i;
}

TEST_F(Builder, VerticesLandFromTheCounterAndAnIncompleteRecordIsNoRecord) {
    Start(3, 1, 0);
    const std::vector<Vertex> vertices = {{1, 2, 3}, {-4, 5, -6}, {7, 8, 9}};
    SetBlock(chunk, vertices);
    chunk.dataSize -= 1;  // the third record is cut
    chunk.nextVertex = 1;
    model.AddVertices(chunk);
    EXPECT_EQ(chunk.nextVertex, 3u);
    EXPECT_EQ(model.VertexCount(), 3u);
    EXPECT_EQ(PositionOf(model, 1), (Xyz{1, 2, 3}));
    EXPECT_EQ(PositionOf(model, 2), (Xyz{-4, 5, -6}));

    SetBlock(chunk, vertices);
    model.AddVertices(chunk);
    EXPECT_EQ(chunk.nextVertex, 6u) << "records beyond the capacity are dropped but counted";
    EXPECT_EQ(model.VertexCount(), 3u);
}

TEST_F(Builder, TextureCoordinatesAreStoredWithVNegated) {
    Start(4, 2, 0);
    model.SetFace(1, 3, 0, 2);
    struct Case {
        const char* what;
        uint8_t perVertex;
        std::vector<int32_t> records;
        uint32_t next;
        std::vector<std::pair<uint32_t, Uv>> stored;
    } const cases[] = {
        {"(0.5, 0.25) per vertex", 1, {32768, 16384, 0}, 1, {{1, {32768, -16384}}}},
        {"the most negative v wraps", 1, {0, INT32_MIN, 0}, 0, {{0, {0, INT32_MIN}}}},
        {"per face, one pair per corner",
         0,
         {1, 2, 3, 4, 5, 6},
         1,
         {{3, {1, -2}}, {0, {3, -4}}, {2, {5, -6}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        chunk.texCoordsPerVertex = c.perVertex;
        chunk.nextTexCoord = c.next;
        SetBlock(chunk, c.records);
        model.AddTexCoords(chunk);
        EXPECT_EQ(chunk.nextTexCoord, c.next + 1);
        for (const auto& [vertex, uv] : c.stored) EXPECT_EQ(TexCoordOf(model, vertex), uv);
    }
}

TEST_F(Builder, ABlockOfAnAttributeTheModelLacksIsSkippedWithItsCounter) {
    Start(4, 2, V3DMODEL_NOTEXCOORDS | V3DMODEL_NOCOLOURS | V3DMODEL_NONORMALS);
    const std::vector<int32_t> records(18, 7);
    SetBlock(chunk, records);
    chunk.nextTexCoord = chunk.nextColour = chunk.nextNormal = 1;
    EXPECT_EQ(model.AddTexCoords(chunk), V3DMODEL_OK);
    EXPECT_EQ(model.AddColours(chunk), V3DMODEL_OK);
    EXPECT_EQ(model.AddNormals(chunk), V3DMODEL_OK);
    EXPECT_EQ(chunk.nextTexCoord, 1u);
    EXPECT_EQ(chunk.nextColour, 1u);
    EXPECT_EQ(chunk.nextNormal, 1u);
}

TEST_F(Builder, ColoursPerVertexAndPerFace) {
    Start(5, 3, 0);
    model.SetFace(2, 4, 1, 3);
    const std::vector<uint32_t> perVertex = {0x11223344, 0x55667788};
    SetBlock(chunk, perVertex);
    chunk.coloursPerVertex = 1;
    chunk.nextColour = 3;
    model.AddColours(chunk);
    EXPECT_EQ(ColourOf(model, 3), 0x11223344u);
    EXPECT_EQ(ColourOf(model, 4), 0x55667788u);
    EXPECT_EQ(chunk.nextColour, 5u);

    const std::vector<uint32_t> perFace = {0xFF0000FF};
    SetBlock(chunk, perFace);
    chunk.coloursPerVertex = 0;
    chunk.nextColour = 2;
    model.AddColours(chunk);
    for (uint32_t v : {4u, 1u, 3u}) EXPECT_EQ(ColourOf(model, v), 0xFF0000FFu) << v;
    EXPECT_EQ(ColourOf(model, 0), 0xFFFFFFFFu);
    EXPECT_EQ(ColourOf(model, 2), 0xFFFFFFFFu);
}

TEST_F(Builder, NormalsAreScaledTo88AndTruncatedTowardZero) {
    Start(3, 1, 0);
    model.SetFace(0, 2, 0, 1);
    struct Case {
        int32_t value;
        int8_t stored;
    } const cases[] = {
        {65536, 88}, {-65536, -88}, {32768, 44}, {-32768, -44}, {745, 1},
        {-745, -1},  {744, 0},      {-744, 0},   {0, 0},
    };
    chunk.normalsPerVertex = 1;
    for (const Case& c : cases) {
        const std::vector<int32_t> record = {c.value, -c.value, 0};
        SetBlock(chunk, record);
        chunk.nextNormal = 1;
        model.AddNormals(chunk);
        EXPECT_EQ(NormalOf(model, 1), (Xyz{c.stored, -c.stored, 0})) << c.value;
    }

    // Per face: one normal per corner, in corner order.
    const std::vector<int32_t> perFace = {65536, 0, 0, 0, 65536, 0, 0, 0, -65536};
    SetBlock(chunk, perFace);
    chunk.normalsPerVertex = 0;
    chunk.nextNormal = 0;
    model.AddNormals(chunk);
    EXPECT_EQ(NormalOf(model, 2), (Xyz{88, 0, 0}));
    EXPECT_EQ(NormalOf(model, 0), (Xyz{0, 88, 0}));
    EXPECT_EQ(NormalOf(model, 1), (Xyz{0, 0, -88}));
}

TEST_F(Builder, DeliveredNormalsAreKeptByFinishBuild) {
    model.SetOwner(&owner.services);
    chunk.vertexCount = 3;
    chunk.faceCount = 1;
    ASSERT_EQ(model.CreateFromChunk(chunk), V3DMODEL_OK);
    EXPECT_TRUE(model.NormalsPending());
    const std::vector<Vertex> vertices = {{0, 0, 0}, {64, 0, 0}, {0, 64, 0}};
    SetBlock(chunk, vertices);
    model.AddVertices(chunk);
    model.SetFace(0, 0, 1, 2);
    const std::vector<int32_t> normals = {65536, 0, 0, 65536, 0, 0, 65536, 0, 0};
    SetBlock(chunk, normals);
    chunk.normalsPerVertex = 1;
    model.AddNormals(chunk);
    EXPECT_FALSE(model.NormalsPending());
    EXPECT_EQ(model.FinishBuild(), V3DMODEL_OK);
    EXPECT_EQ(NormalOf(model, 0), (Xyz{88, 0, 0})) << "not recomputed as (0, 0, 88)";
}

TEST_F(Builder, CountersNearTheTopNeitherWrapNorWriteLowIndices) {
    Start(3, 1, 0);
    const std::vector<Vertex> vertices = {{1, 1, 1}, {2, 2, 2}};
    SetBlock(chunk, vertices);
    chunk.nextVertex = UINT32_MAX;
    model.AddVertices(chunk);
    EXPECT_EQ(chunk.nextVertex, UINT32_MAX);
    EXPECT_EQ(model.VertexCount(), 0u);
    EXPECT_EQ(PositionOf(model, 0), (Xyz{0, 0, 0}));
}

}  // namespace
