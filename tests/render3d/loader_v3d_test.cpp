// VLoader_V3D on files built chunk by chunk: the magics, the chunk loop and its ends, every
// record kind, the scaling by powers of two, chunks that lie about their size, and mesh
// headers whose counts the file cannot hold.
#include "render3d/loader_v3d.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

#include "tests/render3d/test_owner.h"
#include "tests/render3d/v3d_file.h"

namespace {

using Positions = std::vector<std::array<int32_t, 3>>;

class LoaderV3d : public testing::Test {
  protected:
    LoaderV3d() { model.SetOwner(&owner.services); }
    // From a block of exactly the file's size, so that the sanitizers see any read past it.
    uint32_t Load(const std::vector<uint8_t>& bytes, int8_t scale = 0, uint32_t flags = 0) {
        block = std::make_unique<uint8_t[]>(bytes.size() + 1);
        std::copy(bytes.begin(), bytes.end(), block.get());
        return loader.LoadModel(&model, block.get(), uint32_t(bytes.size()),
                                uint32_t(int32_t(scale)), flags);
    }
    uint32_t Load(const V3dFile& file, int8_t scale = 0, uint32_t flags = 0) {
        return Load(file.Bytes(), scale, flags);
    }
    TestOwner owner;
    V3DModel model;
    VLoader_V3D loader;
    std::unique_ptr<uint8_t[]> block;
};

// A triangle of three vertices.
V3dFile Triangle() {
    V3dFile f;
    f.Mesh(3, 1).Vertices({{0, 0, 0}, {64, 0, 0}, {0, 64, 0}}).Faces({{0, 1, 2}});
    return f;
}

TEST_F(LoaderV3d, TheHeaderNeedsBothMagics) {
    const std::vector<uint8_t> whole = Triangle().End().Bytes();
    auto with = [&whole](size_t at, const char* bytes) {
        std::vector<uint8_t> copy = whole;
        for (size_t i = 0; bytes[i] != 0; ++i) copy[at + i] = uint8_t(bytes[i]);
        return copy;
    };
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        uint32_t expected;
    } const cases[] = {
        {"both magics", whole, 0},
        {"an empty block", {}, VLOAD_DAMAGED},
        {"a second magic of another kind", with(4, "VIBX"), VLOAD_NOTTHISFORMAT},
        {"the magics swapped", with(0, "VIBVV3D_"), VLOAD_NOTTHISFORMAT},
        {"a header cut short", {whole.begin(), whole.begin() + 11}, VLOAD_NOTTHISFORMAT},
        {"a 3D Studio file", {0x4D, 0x4D, 6, 0, 0, 0}, VLOAD_NOTTHISFORMAT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        V3dFile before;
        ASSERT_EQ(Load(before.Mesh(5, 1).Vertices({{1, 1, 1}})), 0u);
        EXPECT_EQ(Load(c.bytes), c.expected);
        EXPECT_EQ(model.VertexCapacity(), c.expected == 0 ? 3u : 5u);
    }
    EXPECT_EQ(loader.LoadModel(&model, nullptr, 100, 0, 0), VLOAD_DAMAGED) << "no block at all";
}

TEST_F(LoaderV3d, AFileWithoutAMeshLeavesAnEmptyModel) {
    V3dFile zeroFirst;
    zeroFirst.ChunkClaiming("VMSH", {}, 0).Mesh(3, 1).Vertices({{1, 2, 3}});
    V3dFile recordsOnly;
    recordsOnly.Vertices({{1, 2, 3}}).End();
    const V3dFile headerOnly;
    for (const V3dFile& file : {zeroFirst, recordsOnly, headerOnly}) {
        ASSERT_EQ(Load(Triangle()), 0u);
        EXPECT_EQ(Load(file), 0u);
        EXPECT_EQ(model.VertexCapacity(), 0u) << "not the model loaded before";
        EXPECT_EQ(model.GetFaceCount(), 0u);
    }
}

TEST_F(LoaderV3d, PositionsAreMultipliedByTwoToTheScale) {
    struct Case {
        int32_t stored;
        int8_t scale;
        int32_t expected;
    } const cases[] = {
        {3, 2, 12},         {-3, -1, -2}, {3, -1, 1},    {5, 0, 5},
        {1, 31, INT32_MIN},  // the bits wrap, as in 32-bit registers
        {0x40000001, 2, 4}, {1, 32, 0},   {-5, -40, -1}, {5, -40, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.stored << " at scale " << int(c.scale));
        V3dFile file;
        file.Mesh(3, 1).Vertices({{c.stored, -c.stored, 0}, {0, 0, 0}, {0, 0, 0}});
        ASSERT_EQ(Load(file, c.scale), 0u);
        EXPECT_EQ(PositionOf(model, 0).x, c.expected);
    }
}

TEST_F(LoaderV3d, ANormalByteIsAFractionOf256) {
    struct Case {
        int8_t stored;
        int32_t expected;  // b * 256 * 88 / 65536, toward zero
    } const cases[] = {{127, 43}, {-128, -44}, {64, 22}, {-1, 0}, {0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.stored));
        V3dFile file = Triangle();
        file.Normals({{c.stored, 0, 0}});
        ASSERT_EQ(Load(file), 0u);
        EXPECT_EQ(NormalOf(model, 0), (Xyz{c.expected, 0, 0}));
        EXPECT_FALSE(model.NormalsPending()) << "the file's normals are kept";
    }
}

TEST_F(LoaderV3d, WithoutNormalsTheModelComputesThem) {
    V3dFile file;
    file.Mesh(4, 2)
        .Vertices({{0, 0, 0}, {64, 0, 0}, {64, 64, 0}, {0, 64, 0}})
        .Faces({{0, 1, 2}, {0, 2, 3}});
    ASSERT_EQ(Load(file), 0u);
    for (uint32_t v = 0; v < 4; ++v) EXPECT_EQ(NormalOf(model, v), (Xyz{0, 0, 88})) << v;
}

TEST_F(LoaderV3d, ChunksOfAKindContinueWhereTheLastStopped) {
    V3dFile file;
    file.Mesh(5, 2)
        .Vertices({{0, 0, 0}, {1, 0, 0}})
        .Colours({0xFF000001, 0xFF000002})
        .Vertices({{2, 0, 0}, {3, 0, 0}, {4, 0, 0}})
        .Faces({{0, 1, 2}})
        .Colours({0xFF000003, 0xFF000004, 0xFF000005})
        .Faces({{2, 3, 4}});
    ASSERT_EQ(Load(file), 0u);
    EXPECT_EQ(model.VertexCount(), 5u);
    EXPECT_EQ(model.GetFaceCount(), 2u);
    for (uint32_t v = 0; v < 5; ++v) {
        EXPECT_EQ(PositionOf(model, v).x, int32_t(v));
        EXPECT_EQ(ColourOf(model, v), 0xFF000001 + v);
    }
    EXPECT_EQ(model.Faces()[3], 2u);
}

TEST_F(LoaderV3d, TexCoordsAndColoursAreTakenPerVertex) {
    V3dFile file = Triangle();
    file.TexCoords({{32768, 16384}, {-65536, 0}}).Colours({0x80402010});
    ASSERT_EQ(Load(file), 0u);
    EXPECT_EQ(TexCoordOf(model, 0), (Uv{32768, -16384}));
    EXPECT_EQ(TexCoordOf(model, 1), (Uv{-65536, 0}));
    EXPECT_EQ(TexCoordOf(model, 2), (Uv{0, 0}));
    EXPECT_EQ(ColourOf(model, 0), 0x80402010u);
    EXPECT_EQ(ColourOf(model, 1), 0xFFFFFFFFu);

    ASSERT_EQ(Load(file, 0, V3DMODEL_NOCOLOURS | V3DMODEL_NOTEXCOORDS), 0u);
    EXPECT_FALSE(model.Has(V3DATTR_COLOUR));
    EXPECT_EQ(PositionOf(model, 1).x, 64) << "the create flags reach the model";
}

TEST_F(LoaderV3d, UnknownTagsAndChunksBeforeTheMeshAreSkipped) {
    V3dFile file;
    file.Vertices({{9, 9, 9}})
        .Chunk("vXYZ", {1, 2, 3, 4, 5})
        .Mesh(2, 1)
        .Chunk("VVTx", std::vector<uint8_t>(12, 7))
        .Vertices({{1, 0, 0}, {2, 0, 0}});
    ASSERT_EQ(Load(file), 0u);
    EXPECT_EQ(model.VertexCount(), 2u);
    EXPECT_EQ(PositionOf(model, 0), (Xyz{1, 0, 0}));
    EXPECT_EQ(PositionOf(model, 1), (Xyz{2, 0, 0}));
}

TEST_F(LoaderV3d, TheLoadEndsAtTheEndChunkOrASecondMesh) {
    struct Case {
        const char* what;
        V3dFile file;
    } cases[] = {{"_END", Triangle()}, {"a second VMSH", Triangle()}};
    cases[0].file.End().Vertices({{5, 5, 5}});
    cases[1].file.Mesh(8, 8).Vertices({{5, 5, 5}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(Load(c.file), 0u);
        EXPECT_EQ(model.VertexCapacity(), 3u);
        EXPECT_EQ(PositionOf(model, 0), (Xyz{0, 0, 0})) << "nothing after it is read";
    }
}

TEST_F(LoaderV3d, RecordsStayWithinTheirChunk) {
    // 30 bytes of positions: two and a half records; the faces after them are read.
    std::vector<uint8_t> positions = V3dFile().Vertices({{1, 0, 0}, {2, 0, 0}, {3, 0, 0}}).Bytes();
    positions.erase(positions.begin(), positions.begin() + 20);  // header and chunk header
    positions.resize(30);
    V3dFile file;
    file.Mesh(3, 1).Chunk("VVTX", positions).Faces({{0, 1, 1}});
    ASSERT_EQ(Load(file), 0u);
    EXPECT_EQ(model.VertexCount(), 2u);
    EXPECT_EQ(model.GetFaceCount(), 1u);

    // A chunk claiming more than the block holds gives the records there are.
    V3dFile claiming;
    claiming.Mesh(3, 1).ChunkClaiming("VVTX", positions, 1000);
    ASSERT_EQ(Load(claiming), 0u);
    EXPECT_EQ(model.VertexCount(), 2u);
}

TEST_F(LoaderV3d, AChunkSizeThatWouldWrapThePositionEndsTheLoop) {
    // The end of the data, start + 8 + size, wraps in 32 bits to the chunk's own start: the
    // chunk would be read again and again.
    V3dFile file;
    file.Mesh(5, 1).Vertices({{0, 0, 0}, {64, 0, 0}, {0, 64, 0}}).Faces({{0, 1, 2}});
    file.ChunkClaiming("VVTX", std::vector<uint8_t>(24, 1), uint32_t(0) - 8);
    ASSERT_EQ(Load(file), 0u);
    EXPECT_EQ(model.VertexCount(), 5u) << "its two records were read once";
    EXPECT_EQ(PositionOf(model, 4), (Xyz{0x01010101, 0x01010101, 0x01010101}));
}

TEST_F(LoaderV3d, MeshCountsTheFileCannotHoldAreCapped) {
    std::vector<uint8_t> shortMesh(8, 0);
    shortMesh[0] = 3;  // where a full header would have its vertex count at byte 36
    V3dFile cut;
    cut.Chunk("VMSH", shortMesh).Vertices({{1, 0, 0}});
    EXPECT_EQ(Load(cut), V3DMODEL_INVALID) << "counts outside the mesh header read as 0";

    V3dFile none;
    none.Mesh(0, 1).Vertices({{1, 0, 0}});
    EXPECT_EQ(Load(none), V3DMODEL_INVALID);

    // 2^31 vertices and 2^30 faces promised; 3 vertices and 1 face there. No more can receive
    // a record than the bytes after the mesh hold records of 3 (a normal) and 6 bytes.
    V3dFile huge;
    huge.Mesh(0x80000000u, 0x40000000u)
        .Vertices({{1, 0, 0}, {2, 0, 0}, {3, 0, 0}})
        .Faces({{0, 1, 2}});
    ASSERT_EQ(Load(huge), 0u);
    const uint32_t after = uint32_t(huge.Bytes().size()) - 12 - 8 - 44;
    EXPECT_EQ(model.VertexCapacity(), after / 3);
    EXPECT_EQ(model.FaceCapacity(), after / 6);
    EXPECT_EQ(model.VertexCount(), 3u);
    EXPECT_EQ(model.GetFaceCount(), 1u);

    // Faces name at most 65536 vertices.
    std::vector<uint8_t> colours(4 * 70000, 0xFF);
    V3dFile wide;
    wide.Mesh(70000, 1).Chunk("vCOL", colours);
    ASSERT_EQ(Load(wide), 0u);
    EXPECT_EQ(model.VertexCapacity(), 0x10000u);

    owner.memory.failFrom = owner.memory.allocations + 1;
    EXPECT_EQ(Load(Triangle()), V3DMODEL_FAILED) << "out of memory";
}

TEST_F(LoaderV3d, ChunksLargerThanOneBlock) {
    Positions positions;
    std::vector<std::array<uint16_t, 3>> faces;
    std::vector<uint32_t> colours;
    std::vector<std::array<int8_t, 3>> normals;
    for (int32_t v = 0; v < 300; ++v) {
        positions.push_back({v, -v, 2 * v});
        colours.push_back(0xFF000000u | uint32_t(v));
        normals.push_back({int8_t(v % 100), 0, 0});
        if (v < 200) faces.push_back({uint16_t(v), uint16_t(v + 1), uint16_t(v + 2)});
    }
    V3dFile file;
    file.Mesh(300, 200).Vertices(positions).Faces(faces).Colours(colours).Normals(normals);
    ASSERT_EQ(Load(file), 0u);
    EXPECT_EQ(model.VertexCount(), 300u);
    EXPECT_EQ(model.GetFaceCount(), 200u);
    for (uint32_t v = 0; v < 300; ++v) {
        ASSERT_EQ(PositionOf(model, v), (Xyz{int32_t(v), -int32_t(v), 2 * int32_t(v)})) << v;
        ASSERT_EQ(ColourOf(model, v), 0xFF000000u | v) << v;
        ASSERT_EQ(NormalOf(model, v).x, int32_t(v % 100) * 88 / 256) << v;
    }
    EXPECT_EQ(model.Faces()[3 * 199 + 2], 201u);
}

}  // namespace
