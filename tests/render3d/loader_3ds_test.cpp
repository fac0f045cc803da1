// VLoader_3DS on files built chunk by chunk: objects merged into one model, the coordinate and
// texture-coordinate conversions, material colours in both layouts, the limits of the tables,
// and files that are not 3D Studio, truncated or laid out to trap a chunk walk.
#include "render3d/loader_3ds.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/render3d/chunks_3ds.h"
#include "tests/render3d/test_owner.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;

class Loader3ds : public testing::Test {
  protected:
    Loader3ds() { model.SetOwner(&owner.services); }
    // From a block of exactly the file's size, so that the sanitizers see any read past it.
    uint32_t Load(const std::vector<uint8_t>& file, int8_t scale = 0, uint32_t flags = 0) {
        block = std::make_unique<uint8_t[]>(file.size() + 1);
        std::copy(file.begin(), file.end(), block.get());
        return loader.LoadModel(&model, block.get(), uint32_t(file.size()),
                                uint32_t(int32_t(scale)), flags);
    }
    std::array<uint16_t, 3> FaceOf(uint32_t face) const {
        const uint16_t* f = model.Faces() + 3 * face;
        return {f[0], f[1], f[2]};
    }
    TestOwner owner;
    V3DModel model;
    VLoader_3DS loader;
    std::unique_ptr<uint8_t[]> block;
};

TEST_F(Loader3ds, TwoObjectsOfThreeAndFourVerticesMakeOneModelOfSeven) {
    const std::vector<uint8_t> file = File3ds({
        AmbientMaterial("red", 255, 0, 0),
        AmbientMaterial("blue", 0, 0, 255),
        Object("first", {VertexList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}),
                         FaceList({{0, 1, 2}}, {MaterialGroup("red", {0})})}),
        Object("second", {VertexList({{2, 0, 0}, {3, 0, 0}, {3, 1, 0}, {2, 1, 0}}),
                          FaceList({{0, 1, 2}, {0, 2, 3}}, {MaterialGroup("blue", {1})}),
                          TexCoordList({{0, 0}, {0.5f, 0}, {0.5f, 0.5f}, {0, 0.5f}})}),
    });
    ASSERT_EQ(Load(file), 0u);
    EXPECT_EQ(model.VertexCount(), 7u);
    EXPECT_EQ(model.GetFaceCount(), 3u);
    EXPECT_EQ(FaceOf(1), (std::array<uint16_t, 3>{3, 4, 5}));
    EXPECT_EQ(FaceOf(2), (std::array<uint16_t, 3>{3, 5, 6}));
    EXPECT_EQ(PositionOf(model, 3), (Xyz{128, 0, 0}));

    // The second object's texture coordinates land on its own vertices.
    for (uint32_t v = 0; v < 3; ++v) EXPECT_EQ(TexCoordOf(model, v), (Uv{0, 0})) << v;
    EXPECT_EQ(TexCoordOf(model, 3), (Uv{0x10000, -0x10000}));
    EXPECT_EQ(TexCoordOf(model, 5), (Uv{0x18000, -0x18000}));

    // Its group's face 1 is the model's face 2: vertices 3, 5 and 6.
    for (uint32_t v : {0u, 1u, 2u}) EXPECT_EQ(ColourOf(model, v), 0xFF0000FFu) << v;
    for (uint32_t v : {3u, 5u, 6u}) EXPECT_EQ(ColourOf(model, v), 0xFFFF0000u) << v;
    EXPECT_EQ(ColourOf(model, 4), kWhite);
}

TEST_F(Loader3ds, CoordinatesSnapToWholeNumbersAndScaleByPowersOfTwo) {
    struct Case {
        float value;
        int8_t scale;
        int32_t expected;
    } const cases[] = {
        {0.99999f, 0, 64},       // within 1/4096 below 1: snapped up
        {0.99999f, -3, 8},       // 64 * 2^scale
        {1.0f, -3, 8},           //
        {-0.99999f, 0, -64},     //
        {1.0003f, 0, 64},        // 1/4096 above 1: snapped down
        {0.3f, 0, 19},           // 19.2, the shift rounds down
        {-0.3f, 0, -20},         // -19.2
        {2.0f, 6, 8192},         // no shift at all
        {1.0f, 7, 8192},         // a shift left
        {1.0f, 100, 0},          // shifted out to the left
        {-1.0f, -30, -1},        // shifted out to the right
        {1e30f, 0, -0x2000000},  // saturated to 0x7FFFFFFF, the snap wraps it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " at scale " << int(c.scale));
        const std::vector<uint8_t> file =
            File3ds({Object("o", {VertexList({{c.value, -c.value, 0}, {0, 0, 0}, {0, 0, 0}}),
                                  FaceList({{0, 1, 2}})})});
        ASSERT_EQ(Load(file, c.scale), 0u);
        EXPECT_EQ(PositionOf(model, 0).x, c.expected);
    }
}

TEST_F(Loader3ds, TextureCoordinatesGainOneLengthAndSnap) {
    struct Case {
        float u, v;
        Uv stored;  // (u, -v) in 16.16, each with one texture length added first
    } const cases[] = {
        {0.5f, 0.25f, {0x18000, -0x14000}},
        {0.0f, 1.0f, {0x10000, -0x20000}},
        {0.99999f, 1.00002f, {0x20000, -0x20000}},  // within 1/65536 of a length: snapped
        {-0.25f, 2.5f, {0xC000, -0x38000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.u << ", " << c.v);
        const std::vector<uint8_t> file = File3ds(
            {Object("o", {VertexList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}), FaceList({{0, 1, 2}}),
                          TexCoordList({{c.u, c.v}, {0, 0}, {0, 0}})})});
        ASSERT_EQ(Load(file), 0u);
        EXPECT_EQ(TexCoordOf(model, 0), c.stored);
    }
}

TEST_F(Loader3ds, MaterialColoursInEitherLayout) {
    const Chunk3ds diffuse = Chunk3ds(0xA020).Add(ColourFloat(0.1f, 0.9f, 0.1f));
    const Chunk3ds specular = Chunk3ds(0xA030).Add(ColourFloat(1, 1, 1));
    struct Case {
        const char* what;
        std::vector<Chunk3ds> materials;
        std::string group;
        uint32_t colour;
    } const cases[] = {
        {"the name, then a 24-bit ambient colour",
         {AmbientMaterial("paint", 10, 20, 30)},
         "paint",
         0xFF1E140A},
        {"diffuse and specular first, float colours",
         {Material("paint", {diffuse, specular, Chunk3ds(0xA010).Add(ColourFloat(1, 0.5f, 0))})},
         "paint",
         0xFF0080FF},
        {"a 24-bit colour after a float one in the ambient chunk",
         {Material("paint", {Chunk3ds(0xA010).Add(ColourFloat(0, 0, 1)).Add(Colour24(9, 9, 9))})},
         "paint",
         0xFFFF0000},
        {"no ambient colour: black", {Material("paint", {diffuse})}, "paint", 0xFF000000},
        {"a group naming a material the file lacks",
         {AmbientMaterial("paint", 10, 20, 30)},
         "glaze",
         kWhite},
        {"names are case-sensitive", {AmbientMaterial("Paint", 10, 20, 30)}, "paint", kWhite},
        {"names count up to 30 characters",
         {AmbientMaterial(std::string(30, 'm') + "-long", 1, 2, 3)},
         std::string(30, 'm') + "-other",
         0xFF030201},
        {"the first of two materials of the same name",
         {AmbientMaterial("paint", 1, 1, 1), AmbientMaterial("paint", 2, 2, 2)},
         "paint",
         0xFF010101},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<Chunk3ds> parts = c.materials;
        parts.push_back(TriangleObject("o", 0, {MaterialGroup(c.group, {0})}));
        ASSERT_EQ(Load(File3ds(parts)), 0u);
        for (uint32_t v = 0; v < 3; ++v) EXPECT_EQ(ColourOf(model, v), c.colour) << v;
    }
}

TEST_F(Loader3ds, TheFaceWrittenLastColoursASharedVertex) {
    const std::vector<uint8_t> file = File3ds({
        AmbientMaterial("a", 1, 1, 1),
        AmbientMaterial("b", 2, 2, 2),
        Object("o", {VertexList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, -1, 0}}),
                     FaceList({{0, 1, 2}, {0, 3, 4}, {0, 2, 3}},
                              {MaterialGroup("b", {2, 0}), MaterialGroup("a", {1})})}),
    });
    ASSERT_EQ(Load(file), 0u);
    EXPECT_EQ(ColourOf(model, 0), 0xFF010101u) << "group a comes last";
    EXPECT_EQ(ColourOf(model, 1), 0xFF020202u);
    EXPECT_EQ(ColourOf(model, 2), 0xFF020202u);
    EXPECT_EQ(ColourOf(model, 4), 0xFF010101u);
}

TEST_F(Loader3ds, WithoutTextureCoordinatesOrMaterialsTheDefaultsStay) {
    ASSERT_EQ(Load(File3ds({TriangleObject("o", 0)})), 0u);
    for (uint32_t v = 0; v < 3; ++v) {
        EXPECT_EQ(TexCoordOf(model, v), (Uv{0, 0}));
        EXPECT_EQ(ColourOf(model, v), kWhite);
    }
}

TEST_F(Loader3ds, AFlatSquareGetsNormalsTowardTheViewer) {
    const std::vector<uint8_t> file =
        File3ds({Object("square", {VertexList({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}),
                                   FaceList({{0, 1, 2}, {0, 2, 3}})})});
    ASSERT_EQ(Load(file), 0u);
    for (uint32_t v = 0; v < 4; ++v) EXPECT_EQ(NormalOf(model, v), (Xyz{0, 0, 88})) << v;
}

TEST_F(Loader3ds, TheCreateFlagsReachTheModel) {
    ASSERT_EQ(Load(File3ds({TriangleObject("o", 0)}), 0, V3DMODEL_SEPARATE | V3DMODEL_NOCOLOURS),
              0u);
    EXPECT_EQ(model.AttributeOffset(V3DATTR_COLOUR), -1);
    EXPECT_EQ(model.AttributeOffset(V3DATTR_NORMAL), 36) << "after three positions";
}

TEST_F(Loader3ds, ExtraObjectsMaterialsAndGroupsAreIgnored) {
    auto name = [](char prefix, int n) { return std::string(1, prefix).append(std::to_string(n)); };
    std::vector<Chunk3ds> parts;
    for (int m = 0; m < 17; ++m) parts.push_back(AmbientMaterial(name('m', m), 0, 0, 0));
    std::vector<Chunk3ds> groups;
    for (int g = 0; g < 16; ++g) groups.push_back(MaterialGroup("m0", {}));
    groups.push_back(MaterialGroup("m1", {0}));  // the 17th group of the object
    parts.push_back(TriangleObject("o0", 0, groups));
    for (int o = 1; o < 33; ++o) {
        parts.push_back(TriangleObject(name('o', o), float(2 * o),
                                       {MaterialGroup("m16", {0})}));  // the 17th material
    }
    ASSERT_EQ(Load(File3ds(parts)), 0u);
    EXPECT_EQ(model.VertexCount(), 96u) << "32 objects of 3 vertices";
    EXPECT_EQ(model.GetFaceCount(), 32u);
    for (uint32_t v = 0; v < 96; ++v) ASSERT_EQ(ColourOf(model, v), kWhite) << v;
}

TEST_F(Loader3ds, AnythingButThe3dsSignatureIsNotThisFormat) {
    ASSERT_EQ(Load(File3ds({TriangleObject("kept", 0)})), 0u);
    const std::vector<std::vector<uint8_t>> others = {
        {}, {'M'}, {'M', 'N'}, {'B', 'M', 0x4D, 0x4D}, {0x4D, 0x3D, 0, 0, 0, 0},
    };
    for (const std::vector<uint8_t>& data : others) {
        EXPECT_EQ(Load(data), VLOAD_NOTTHISFORMAT);
        EXPECT_EQ(model.VertexCount(), 3u) << "the model is untouched";
    }
    EXPECT_EQ(loader.LoadModel(&model, nullptr, 100, 0, 0), VLOAD_NOTTHISFORMAT);
    EXPECT_EQ(loader.LoadModel(nullptr, block.get(), 0, 0, 0), VLOAD_NOTTHISFORMAT);
}

TEST_F(Loader3ds, AFileWithoutVerticesOrFacesIsRefusedByTheModel) {
    EXPECT_EQ(Load({0x4D, 0x4D}), V3DMODEL_INVALID);
    EXPECT_EQ(Load(File3ds({Object("o", {VertexList({{0, 0, 0}})})})), V3DMODEL_INVALID);
    owner.memory.failFrom = owner.memory.allocations + 1;
    EXPECT_EQ(Load(File3ds({TriangleObject("o", 0)})), V3DMODEL_FAILED) << "out of memory";
}

TEST_F(Loader3ds, AFileWithoutAVersionChunkReadsTheSame) {
    Chunk3ds editor(0x3D3D);
    editor.Add(AmbientMaterial("red", 255, 0, 0))
        .Add(TriangleObject("o", 0, {MaterialGroup("red", {0})}));
    ASSERT_EQ(Load(Chunk3ds(0x4D4D).Add(editor).Bytes()), 0u);
    EXPECT_EQ(model.VertexCount(), 3u);
    EXPECT_EQ(ColourOf(model, 1), 0xFF0000FFu);
}

TEST_F(Loader3ds, ChunkLengthsThatWouldStallOrWrapTheWalkEndIt) {
    struct Case {
        const char* what;
        uint32_t length;
    } const cases[] = {
        {"length 0", 0},
        {"length 5", 5},
        {"a length past the end of the block", 0xFFFFFFF0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // The trap sits after the first object, inside the editor and at the top level; the
        // second object after it is never reached.
        Chunk3ds trap = Chunk3ds(0x1234).U32(0).ClaimLength(c.length);
        const std::vector<uint8_t> file =
            File3ds({TriangleObject("first", 0), trap, TriangleObject("second", 2)}, {trap});
        ASSERT_EQ(Load(file), 0u);
        EXPECT_EQ(model.VertexCount(), 3u);
    }
}

TEST_F(Loader3ds, ATruncatedFileLoadsTheWholeRecordsItHolds) {
    // Faces before vertices, so that the cut falls into the vertex data.
    const std::vector<uint8_t> whole =
        File3ds({Object("o", {FaceList({{0, 1, 2}, {1, 2, 3}}),
                              VertexList({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}})})});
    const std::vector<uint8_t> cut(whole.begin(), whole.end() - 12 - 6);  // 2.5 vertices left
    ASSERT_EQ(Load(cut), 0u);
    EXPECT_EQ(model.VertexCapacity(), 4u);
    EXPECT_EQ(model.VertexCount(), 2u);
    EXPECT_EQ(model.GetFaceCount(), 2u);
    EXPECT_EQ(PositionOf(model, 1), (Xyz{64, 0, 0}));
}

TEST_F(Loader3ds, ALayoutThatWouldMakeTheWalksRevisitChunksEndlesslyIsDamaged) {
    // Every mesh walk runs to the end of the block; a few thousand empty meshes in one object
    // would make it visit their chunks millions of times over.
    auto objectWithEmptyMeshes = [](int meshes) {
        Chunk3ds object(0x4000);
        object.Name("o").Add(
            Chunk3ds(0x4100).Add(VertexList({{0, 0, 0}})).Add(FaceList({{0, 0, 0}})));
        for (int m = 0; m < meshes; ++m) object.Add(Chunk3ds(0x4100));
        return object;
    };
    ASSERT_EQ(Load(File3ds({objectWithEmptyMeshes(100)})), 0u);
    EXPECT_EQ(Load(File3ds({objectWithEmptyMeshes(4000)})), VLOAD_DAMAGED);
    EXPECT_EQ(model.VertexCapacity(), 1u) << "the model was not touched";
}

}  // namespace
