// VLoader_MS3D on files built section by section: the header check, triangles with their
// corner normals and texture coordinates, material and group colours, joints as bones with
// parents found by name, key frames, the table limits, and memory running out.
#include "render3d/loader_ms3d.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/render3d/ms3d_file.h"
#include "tests/render3d/test_owner.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr float kQuarterTurn = 1.5707964f;

class LoaderMs3d : public testing::Test {
  protected:
    LoaderMs3d() { model.SetOwner(&owner.services); }
    uint32_t Load(const Ms3dFile& file, int8_t scale = 0) { return LoadBytes(file.Bytes(), scale); }
    // From a block of exactly the file's size, so that the sanitizers see any read past it.
    uint32_t LoadBytes(const std::vector<uint8_t>& bytes, int8_t scale = 0) {
        block = std::make_unique<uint8_t[]>(bytes.size() + 1);
        std::copy(bytes.begin(), bytes.end(), block.get());
        return loader.LoadModel(&model, block.get(), uint32_t(bytes.size()),
                                uint32_t(int32_t(scale)), 0);
    }
    const V3DBone& Bone(uint32_t b) const { return model.Bones()[b]; }
    std::vector<uint16_t> BoneVertices(uint32_t b) const {
        return {Bone(b).vertices, Bone(b).vertices + Bone(b).vertexCount};
    }
    // Key k of a bone as (milliseconds, x, y, z); translation keys come first.
    std::array<int32_t, 4> Key(uint32_t b, uint32_t k) const {
        std::array<int32_t, 4> key;
        std::memcpy(key.data(), Bone(b).keys + kBoneKeyBytes * k, sizeof(key));
        return key;
    }
    TestOwner owner;
    V3DModel model;
    VLoader_MS3D loader;
    std::unique_ptr<uint8_t[]> block;
};

// "j" and the number; appended, as g++ 12 warns falsely about "j" + std::to_string(j).
std::string JointName(int j) {
    return std::string("j").append(std::to_string(j));
}

// n triangles of their own three vertices each, triangle i at x = 2i.
Ms3dFile SeparateTriangles(uint32_t n) {
    Ms3dFile f;
    for (uint32_t i = 0; i < n; ++i) {
        const float x = 2.0f * i;
        f.vertices.insert(f.vertices.end(), {{x, 0, 0}, {x + 1, 0, 0}, {x, 1, 0}});
        const auto v = uint16_t(3 * i);
        f.triangles.push_back({{v, uint16_t(v + 1), uint16_t(v + 2)}});
    }
    return f;
}

TEST_F(LoaderMs3d, OnlyVersionsThreeAndFourOfTheMilkShapeHeaderAreThisFormat) {
    struct Case {
        const char* what;
        int32_t version;
        uint32_t expected;
    } const cases[] = {
        {"version 3", 3, 0},
        {"version 4", 4, 0},
        {"version 2", 2, VLOAD_NOTTHISFORMAT},
        {"version 5", 5, VLOAD_NOTTHISFORMAT},
        {"version -1", -1, VLOAD_NOTTHISFORMAT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(Load(SeparateTriangles(2)), 0u);
        Ms3dFile file = Ms3dTriangleFile();
        file.version = c.version;
        const uint32_t allocations = owner.memory.allocations;
        EXPECT_EQ(Load(file), c.expected);
        if (c.expected == VLOAD_NOTTHISFORMAT) {
            EXPECT_EQ(model.VertexCount(), 6u) << "the model is untouched";
            EXPECT_EQ(owner.memory.allocations, allocations) << "nothing was allocated";
        } else {
            EXPECT_EQ(model.VertexCount(), 3u);
        }
    }

    ASSERT_EQ(Load(Ms3dTriangleFile()), 0u);
    const std::vector<uint8_t> whole = Ms3dTriangleFile().Bytes();
    std::vector<uint8_t> otherId = whole;
    otherId[9] = '1';
    const std::vector<std::vector<uint8_t>> others = {
        {}, otherId, {whole.begin(), whole.begin() + 13}, {'M', 'S', '3', 'D'}};
    for (const std::vector<uint8_t>& data : others) {
        EXPECT_EQ(LoadBytes(data), VLOAD_NOTTHISFORMAT);
        EXPECT_EQ(model.VertexCount(), 3u) << "the model is untouched";
    }
    EXPECT_EQ(loader.LoadModel(&model, nullptr, 100, 0, 0), VLOAD_NOTTHISFORMAT);
}

TEST_F(LoaderMs3d, WithoutWorkingTablesTheModelIsUntouched) {
    ASSERT_EQ(Load(SeparateTriangles(2)), 0u);
    owner.memory.failAt = owner.memory.allocations + 1;
    EXPECT_EQ(Load(Ms3dTriangleFile()), VLOAD_OUTOFMEMORY);
    EXPECT_EQ(model.VertexCount(), 6u);

    V3DModel ownerless;
    const std::vector<uint8_t> file = Ms3dTriangleFile().Bytes();
    EXPECT_EQ(loader.LoadModel(&ownerless, file.data(), uint32_t(file.size()), 0, 0),
              VLOAD_OUTOFMEMORY);
}

TEST_F(LoaderMs3d, EveryCornerGivesItsVertexItsNormalAndTextureCoordinate) {
    Ms3dFile file = Ms3dTriangleFile();
    Ms3dTriangle& t = file.triangles[0];
    t.normals = {{{1, 0, 0}, {0, -0.5f, 0}, {0, 0, 1}}};
    t.s = {0.5f, 0.0f, 0.99999f};
    t.t = {0.25f, 1.0f, 0.99999f};
    ASSERT_EQ(Load(file), 0u);
    EXPECT_EQ(model.GetFaceCount(), 1u);
    EXPECT_EQ(PositionOf(model, 1), (Xyz{64, 0, 0}));
    EXPECT_FALSE(model.NormalsPending()) << "the file's normals are kept";
    EXPECT_EQ(NormalOf(model, 0), (Xyz{88, 0, 0}));
    EXPECT_EQ(NormalOf(model, 1), (Xyz{0, -44, 0}));
    EXPECT_EQ(NormalOf(model, 2), (Xyz{0, 0, 88}));
    // Kept as (s + 1, t - 1) in 16.16, each within 1/65536 of a whole length snapped to it.
    EXPECT_EQ(TexCoordOf(model, 0), (Uv{0x18000, -0xC000}));
    EXPECT_EQ(TexCoordOf(model, 1), (Uv{0x10000, 0}));
    EXPECT_EQ(TexCoordOf(model, 2), (Uv{0x20000, 0}));

    // Vertex 0 in a second triangle: the triangle written last wins.
    file.vertices.push_back({0, -1, 0});
    Ms3dTriangle second{{0, 3, 1}};
    second.normals = {{{0, 1, 0}, {0, 1, 0}, {0, 1, 0}}};
    second.s = {0.75f, 0, 0};
    file.triangles.push_back(second);
    ASSERT_EQ(Load(file), 0u);
    EXPECT_EQ(NormalOf(model, 0), (Xyz{0, 88, 0}));
    EXPECT_EQ(TexCoordOf(model, 0), (Uv{0x1C000, -0x10000}));
}

TEST_F(LoaderMs3d, PositionsSnapToWholeUnitsAndScaleByPowersOfTwo) {
    struct Case {
        float value;
        int8_t scale;
        int32_t expected;
    } const cases[] = {
        {0.99999f, 0, 64}, {1.0f, -3, 8}, {-0.3f, 0, -20}, {2.0f, 6, 8192}, {1.0f, 100, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " at scale " << int(c.scale));
        Ms3dFile file = Ms3dTriangleFile();
        file.vertices[0] = {c.value, 0, 0};
        ASSERT_EQ(Load(file, c.scale), 0u);
        EXPECT_EQ(PositionOf(model, 0).x, c.expected);
    }
}

TEST_F(LoaderMs3d, AGroupTakesTheAmbientColourOfItsMaterial) {
    struct Case {
        const char* what;
        std::vector<Ms3dMaterial> materials;
        int8_t material;
        uint32_t colour;
    } const cases[] = {
        {"(1.0, 0.5, 0.0, 1.0)", {{"m", {1.0f, 0.5f, 0.0f, 1.0f}}}, 0, 0xFF0080FF},
        {"channels limited to 0 and 255", {{"m", {2.0f, -0.5f, 0.25f, 0.0f}}}, 0, 0x004000FF},
        {"the second material", {{"a", {1, 1, 1, 1}}, {"b", {0, 0, 1, 1}}}, 1, 0xFFFF0000},
        {"no material", {{"m", {1.0f, 0.5f, 0.0f, 1.0f}}}, -1, kWhite},
        {"a material the file lacks", {{"m", {1.0f, 0.5f, 0.0f, 1.0f}}}, 1, kWhite},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Ms3dFile file = Ms3dTriangleFile();
        file.materials = c.materials;
        file.groups[0].material = c.material;
        ASSERT_EQ(Load(file), 0u);
        for (uint32_t v = 0; v < 3; ++v) EXPECT_EQ(ColourOf(model, v), c.colour) << v;
    }
}

TEST_F(LoaderMs3d, GroupsColourRunsInAnyOrderAndTheLastGroupWinsASharedVertex) {
    Ms3dFile file = SeparateTriangles(6);
    file.triangles[5].corners = {0, 16, 17};  // shares vertex 0 with triangle 0
    file.materials = {{"red", {1, 0, 0, 1}}, {"blue", {0, 0, 1, 1}}};
    file.groups = {{"first", {3, 4, 5, 1}, 0}, {"second", {0, 2}, 1}};
    ASSERT_EQ(Load(file), 0u);
    const uint32_t red = 0xFF0000FF, blue = 0xFFFF0000;
    const uint32_t expected[6] = {blue, red, blue, red, red, red};
    for (uint32_t t = 1; t < 6; ++t) {
        for (uint32_t k = 0; k < 3; ++k) {
            const uint32_t v = model.Faces()[3 * t + k];
            if (v != 0) {
                EXPECT_EQ(ColourOf(model, v), expected[t]) << "triangle " << t;
            }
        }
    }
    EXPECT_EQ(ColourOf(model, 0), blue) << "the second group comes last";
    EXPECT_EQ(ColourOf(model, 16), red);
}

TEST_F(LoaderMs3d, OnlyTheFirst64MaterialsAnd32GroupsAreTaken) {
    Ms3dFile file = SeparateTriangles(33);
    for (uint32_t m = 0; m < 65; ++m) file.materials.push_back({"m", {0, 1, 0, 1}});
    for (uint16_t g = 0; g < 33; ++g) {
        file.groups.push_back({"g", {g}, int8_t(g == 0 ? 64 : 0)});
    }
    ASSERT_EQ(Load(file), 0u);
    EXPECT_EQ(ColourOf(model, 0), kWhite) << "the 65th material";
    for (uint32_t v = 3; v < 96; ++v) ASSERT_EQ(ColourOf(model, v), 0xFF00FF00) << v;
    for (uint32_t v = 96; v < 99; ++v) EXPECT_EQ(ColourOf(model, v), kWhite) << "the 33rd group";
}

TEST_F(LoaderMs3d, AFileWithoutJointsHasNoBones) {
    // Its vertices name bones, but with no bones to give them to the model would refuse them
    // (8), and the load succeeds.
    Ms3dFile file = Ms3dTriangleFile();
    file.vertices[0].bone = 0;
    ASSERT_EQ(Load(file), 0u);
    EXPECT_EQ(model.BoneCount(), 0u);
    EXPECT_EQ(model.Bones(), nullptr);
}

TEST_F(LoaderMs3d, JointsFindTheirParentsByName) {
    const std::string full(32, 'A');  // fills the name's 32 bytes without a zero
    struct Case {
        const char* what;
        std::vector<std::string> names, parents;
        std::vector<int16_t> expected;
    } const cases[] = {
        {"a root and its child", {"root", "child"}, {"", "root"}, {-1, 0}},
        {"an unknown parent: a root", {"a", "b"}, {"nobody", "a"}, {-1, 0}},
        {"never its own parent", {"a", "b"}, {"a", "a"}, {-1, 0}},
        {"the first other joint of the name", {"x", "x", "c"}, {"", "x", "x"}, {-1, 0, 0}},
        {"names are case-sensitive", {"Arm", "hand"}, {"", "arm"}, {-1, -1}},
        {"names of 32 bytes", {full + "-cut", "hand"}, {"", full + "-off"}, {-1, 0}},
        {"a child before its parent", {"child", "root"}, {"root", ""}, {1, -1}},
        {"an empty parent name names none", {"", "b"}, {"", ""}, {-1, -1}},
        {"two that name each other: the first is a root", {"x", "x"}, {"x", "x"}, {-1, 0}},
        {"a ring of three: the first is a root", {"a", "b", "c"}, {"c", "a", "b"}, {-1, 0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Ms3dFile file = Ms3dTriangleFile();
        for (size_t j = 0; j < c.names.size(); ++j) {
            file.joints.push_back({c.names[j], c.parents[j]});
        }
        ASSERT_EQ(Load(file), 0u);
        ASSERT_EQ(model.BoneCount(), c.expected.size());
        for (uint32_t j = 0; j < model.BoneCount(); ++j) {
            EXPECT_EQ(Bone(j).parent, c.expected[j]) << "joint " << j;
        }
    }
}

TEST_F(LoaderMs3d, BonesTakeTheJointsPoseWhateverTheirOrder) {
    Ms3dJoint root{"root", "", {0, kQuarterTurn, 0}, {1, 2, 3}};
    Ms3dJoint child{"child", "root", {0, 0, 0}, {1, 0, 0}};
    Ms3dFile file = Ms3dTriangleFile();
    file.joints = {root, child};
    ASSERT_EQ(Load(file), 0u);
    const VMatrix& local = Bone(0).local;
    EXPECT_EQ((std::array<int32_t, 3>{local[12], local[13], local[14]}),
              (std::array<int32_t, 3>{64, 128, 192}));
    // A quarter turn (1024 units) about y: x goes to -z, z to x.
    EXPECT_EQ(local[2], -4096);
    EXPECT_EQ(local[8], 4096);
    EXPECT_EQ(local[0], 0);
    // The child's (1, 0, 0) turned with its parent lands on -z.
    const VMatrix& global = Bone(1).global;
    EXPECT_EQ((std::array<int32_t, 3>{global[12], global[13], global[14]}),
              (std::array<int32_t, 3>{64, 128, 128}));
    const VMatrix inOrder = Bone(1).global;

    file.joints = {child, root};
    ASSERT_EQ(Load(file), 0u);
    EXPECT_EQ(Bone(0).parent, 1);
    EXPECT_EQ(Bone(0).global, inOrder) << "the parent is set first";
}

TEST_F(LoaderMs3d, KeysConvertTimeAnglesAndPositions) {
    struct Case {
        float seconds, value;
        int32_t milliseconds, angle;
    } const rotations[] = {
        {0.5f, kQuarterTurn, 500, 1024},  // 6433 * 100 / 628
        {1.0f, -kQuarterTurn, 1000, -1024},
        {0.001f, 6.2831855f, 0, 4097},          // a turn of 6.28 is a little less than 2 pi
        {3000.0f, 10000.0f, 3000000, 6522292},  // products beyond 32 bits
    };
    Ms3dJoint joint{"j", ""};
    for (const Case& c : rotations) joint.rotationKeys.push_back({c.seconds, c.value, 0, -c.value});
    joint.translationKeys = {{0.25f, 1.5f, -1.0f, 0.0f}};
    Ms3dFile file = Ms3dTriangleFile();
    file.joints = {joint};
    for (int8_t scale : {int8_t(0), int8_t(-3)}) {
        SCOPED_TRACE(testing::Message() << "scale " << int(scale));
        ASSERT_EQ(Load(file, scale), 0u);
        ASSERT_EQ(Bone(0).translationKeyCount, 1u);
        ASSERT_EQ(Bone(0).rotationKeyCount, 4u);
        const int32_t unit = scale == 0 ? 64 : 8;
        EXPECT_EQ(Key(0, 0), (std::array<int32_t, 4>{250, unit * 3 / 2, -unit, 0}));
        for (uint32_t k = 0; k < 4; ++k) {
            const Case& c = rotations[k];
            EXPECT_EQ(Key(0, 1 + k), (std::array<int32_t, 4>{c.milliseconds, c.angle, 0, -c.angle}))
                << "rotation key " << k;
        }
    }
}

TEST_F(LoaderMs3d, CountsBeyondTheFileGetNoRoom) {
    Ms3dJoint joint{"j", ""};
    joint.rotationKeys = {{0, 1, 0, 0}, {1, 1, 0, 0}, {2, 1, 0, 0}};
    Ms3dFile file = Ms3dTriangleFile();
    file.joints = {joint};
    std::vector<uint8_t> cut = file.Bytes();
    cut.resize(cut.size() - 24);  // one and a half keys short
    ASSERT_EQ(LoadBytes(cut), 0u);
    ASSERT_EQ(model.BoneCount(), 1u);
    EXPECT_EQ(Bone(0).rotationKeyCount, 1u);
    EXPECT_EQ(Key(0, 0), (std::array<int32_t, 4>{0, 652, 0, 0}));

    // 65 535 joints promised, one there.
    file.joints = {{"j", ""}};
    file.claimedJoints = 65535;
    ASSERT_EQ(Load(file), 0u);
    EXPECT_EQ(model.BoneCount(), 1u);

    // 65 535 triangles promised, one there.
    std::vector<uint8_t> triangles = Ms3dTriangleFile().Bytes();
    const size_t triangleCount = 14 + 2 + 3 * 15;
    triangles[triangleCount] = 0xFF;
    triangles[triangleCount + 1] = 0xFF;
    ASSERT_EQ(LoadBytes(triangles), 0u);
    EXPECT_EQ(model.FaceCapacity(), 1u);
}

TEST_F(LoaderMs3d, JointsBeyond128KeepTheirIdentityPose) {
    Ms3dFile file = Ms3dTriangleFile();
    for (int j = 0; j < 130; ++j) {
        file.joints.push_back({JointName(j), j == 0 ? "" : "j0", {}, {1, 1, 1}});
    }
    file.joints[129].translationKeys = {{0, 1, 1, 1}};
    file.vertices[0].bone = 129;
    file.vertices[1].bone = 127;
    ASSERT_EQ(Load(file), 0u);
    ASSERT_EQ(model.BoneCount(), 130u);
    EXPECT_EQ(Bone(127).parent, 0);
    EXPECT_EQ(Bone(127).local[12], 64);
    VMatrix identity;
    MatrixIdentity(identity);
    for (uint32_t b : {128u, 129u}) {
        EXPECT_EQ(Bone(b).parent, -1) << b;
        EXPECT_EQ(Bone(b).local, identity) << b;
        EXPECT_EQ(Bone(b).keys, nullptr) << b;
    }
    EXPECT_EQ(BoneVertices(129), std::vector<uint16_t>{0}) << "its vertices are still its own";
    EXPECT_EQ(BoneVertices(127), std::vector<uint16_t>{1});
}

TEST_F(LoaderMs3d, EveryBoneListsItsVerticesInOrder) {
    // More vertices than one block holds; bone 255 is none, even with 300 bones.
    Ms3dFile file = SeparateTriangles(30);
    std::vector<uint16_t> expected[2];
    for (uint16_t v = 0; v < 90; ++v) {
        const uint8_t bone = v % 7 == 6 ? 255 : v % 2;
        file.vertices[v].bone = bone;
        if (bone != 255) expected[bone].push_back(v);
    }
    for (int j = 0; j < 300; ++j) file.joints.push_back({JointName(j), ""});
    ASSERT_EQ(Load(file), 0u);
    EXPECT_EQ(BoneVertices(0), expected[0]);
    EXPECT_EQ(BoneVertices(1), expected[1]);
    EXPECT_EQ(Bone(255).vertexCount, 0u);
}

TEST_F(LoaderMs3d, AFailingModelOperationEndsTheLoadAndTheTablesAreFreed) {
    // The allocations of this load, in order: the tables; the model's vertices, faces, sort
    // list and render list; the bones and the animated vertices; the sort of the first block
    // of bone vertices (two) and bone 0's list; bone 0's keys.
    Ms3dJoint joint{"j", ""};
    joint.rotationKeys = {{0, 1, 0, 0}};
    Ms3dFile file = Ms3dTriangleFile();
    file.vertices[0].bone = 0;
    file.joints = {joint};
    struct Case {
        const char* what;
        uint32_t failAt;
        uint32_t expected;
    } const cases[] = {
        {"the vertex buffer", 2, V3DMODEL_FAILED},
        {"the bones", 6, V3DMODEL_NOTHING},
        {"the animated vertex buffer", 7, V3DMODEL_NOTHING},
        {"the sort of bone vertices", 8, V3DMODEL_FAILED},
        {"the key array", 11, V3DMODEL_FAILED},
        {"nothing", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        model.Free();
        ASSERT_EQ(owner.memory.Live(), 0u);
        owner.memory.allocations = 0;
        owner.memory.failAt = c.failAt;
        EXPECT_EQ(Load(file), c.expected);
        model.Free();
        EXPECT_EQ(owner.memory.Live(), 0u) << "a block outlived the load";
    }
    owner.memory.failAt = 0;
    file.triangles.clear();
    EXPECT_EQ(Load(file), V3DMODEL_INVALID) << "no triangles";
}

TEST_F(LoaderMs3d, ATruncatedFileKeepsTheWholeRecordsItHolds) {
    const std::vector<uint8_t> whole = SeparateTriangles(3).Bytes();
    // Cut in the middle of the third triangle: header, 9 vertices, 2.5 triangles.
    const size_t cutAt = 14 + 2 + 9 * 15 + 2 + 2 * 70 + 35;
    const std::vector<uint8_t> cut(whole.begin(), whole.begin() + cutAt);
    ASSERT_EQ(LoadBytes(cut), 0u);
    EXPECT_EQ(model.VertexCount(), 9u);
    EXPECT_EQ(model.FaceCapacity(), 2u) << "room for the triangles the file holds";
    EXPECT_EQ(model.GetFaceCount(), 2u);
}

}  // namespace
