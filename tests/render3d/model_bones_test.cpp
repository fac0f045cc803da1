// Bones: creation with the animated vertex buffer, the matrices of a parent chain, key arrays,
// and vertex lists filled from blocks sorted by bone.
#include <gtest/gtest.h>

#include <array>

#include "render3d/model.h"
#include "tests/render3d/test_owner.h"

namespace {

class Bones : public testing::Test {
  protected:
    void SetUp() override {
        model.SetOwner(&owner.services);
        ASSERT_EQ(model.Create(8, 4, 0), V3DMODEL_OK);
    }
    std::vector<uint16_t> VerticesOf(uint32_t bone) const {
        const V3DBone& b = model.Bones()[bone];
        return std::vector<uint16_t>(b.vertices, b.vertices + b.vertexCount);
    }
    TestOwner owner;
    V3DModel model;
    ModelChunk chunk;
};

TEST_F(Bones, CreateBonesNeedsFacesAndReplacesTheBones) {
    V3DModel empty;
    empty.SetOwner(&owner.services);
    empty.CreateBones(2);
    EXPECT_EQ(empty.BoneCount(), 0u) << "no faces allocated";

    model.CreateBones(3);
    ASSERT_EQ(model.BoneCount(), 3u);
    ASSERT_NE(model.AnimatedVertexBuffer(), nullptr);
    VMatrix identity;
    MatrixIdentity(identity);
    for (uint32_t b = 0; b < 3; ++b) {
        const V3DBone& bone = model.Bones()[b];
        EXPECT_EQ(bone.global, identity);
        EXPECT_EQ(bone.local, identity);
        EXPECT_EQ(bone.inverseGlobal, identity);
        EXPECT_EQ(bone.parent, -1);
        EXPECT_EQ(bone.vertexCount, 0);
        EXPECT_EQ(bone.keys, nullptr);
    }
    model.SetBoneKeyCounts(1, 2, 2);
    model.CreateBones(0);
    EXPECT_EQ(model.BoneCount(), 0u);
    EXPECT_EQ(model.AnimatedVertexBuffer(), nullptr);
    EXPECT_EQ(owner.memory.Live(), 4u) << "bones, keys and animated vertices all given back";
}

TEST_F(Bones, WithoutMemoryForTheAnimatedVerticesThereAreNoBones) {
    owner.memory.failAt = owner.memory.allocations + 2;
    model.CreateBones(2);
    EXPECT_EQ(model.BoneCount(), 0u);
    EXPECT_EQ(model.Bones(), nullptr);
    EXPECT_EQ(owner.memory.Live(), 4u);
}

TEST_F(Bones, AChildsGlobalMatrixIsItsLocalOneFollowedByItsParents) {
    model.CreateBones(3);
    const int32_t origin[3] = {100, 0, 0}, step[3] = {0, 50, 0};
    const int32_t quarterAboutZ[3] = {0, 0, 1024}, none[3] = {0, 0, 0};
    model.SetBone(0, origin, quarterAboutZ, -1);
    model.SetBone(1, step, none, 0);
    model.SetBone(2, step, none, 7);  // no such bone: a root
    const V3DBone* bones = model.Bones();
    EXPECT_EQ(bones[1].parent, 0);
    EXPECT_EQ(bones[2].parent, -1);
    EXPECT_EQ(bones[2].global, bones[2].local);

    // The child's origin: moved by (0, 50, 0), then turned a quarter about z and moved by
    // (100, 0, 0).
    int32_t x, y, z;
    TransformPoint(x, y, z, 0, 0, 0, bones[1].global);
    EXPECT_EQ(x, 50);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(z, 0);
    TransformPoint(x, y, z, x, y, z, bones[1].inverseGlobal);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(z, 0);

    model.SetBone(3, origin, none, -1);  // past the bones: ignored
}

TEST_F(Bones, KeyCountsReplaceTheKeys) {
    model.CreateBones(2);
    model.SetBoneKeyCounts(0, 2, 3);
    const V3DBone& bone = model.Bones()[0];
    EXPECT_EQ(bone.translationKeyCount, 2u);
    EXPECT_EQ(bone.rotationKeyCount, 3u);
    ASSERT_NE(bone.keys, nullptr);
    model.SetBoneKeyCounts(0, 0, 0);
    EXPECT_EQ(bone.keys, nullptr);
    EXPECT_EQ(bone.translationKeyCount + bone.rotationKeyCount, 0u);
    owner.memory.failAt = owner.memory.allocations + 1;
    model.SetBoneKeyCounts(0, 1, 1);
    EXPECT_EQ(bone.keys, nullptr);
    EXPECT_EQ(bone.translationKeyCount + bone.rotationKeyCount, 0u);
}

TEST_F(Bones, BoneVerticesAreSortedByBoneKeepingTheirOrder) {
    const std::vector<std::array<uint16_t, 2>> records = {{5, 1}, {3, 0}, {7, 1},
                                                          {2, 0}, {9, 9}, {4, 1}};
    SetBlock(chunk, records);
    EXPECT_EQ(model.AddBoneVertices(chunk), V3DMODEL_NOTHING) << "no bones yet";

    model.CreateBones(3);
    const uint16_t earlier[] = {6};
    model.AppendBoneVertices(1, earlier, 1);
    EXPECT_EQ(model.AddBoneVertices(chunk), V3DMODEL_OK);
    EXPECT_EQ(VerticesOf(0), (std::vector<uint16_t>{3, 2}));
    EXPECT_EQ(VerticesOf(1), (std::vector<uint16_t>{6, 5, 7, 4}));
    EXPECT_EQ(model.Bones()[2].vertexCount, 0) << "bone 9 does not exist";

    chunk.dataSize = 3;
    EXPECT_EQ(model.AddBoneVertices(chunk), V3DMODEL_NOTHING) << "no whole record";
}

TEST_F(Bones, AVertexListNeverOutgrowsItsCount) {
    model.CreateBones(1);
    const std::vector<uint16_t> many(40000, 1);
    model.AppendBoneVertices(0, many.data(), uint32_t(many.size()));
    model.AppendBoneVertices(0, many.data(), uint32_t(many.size()));
    EXPECT_EQ(model.Bones()[0].vertexCount, 40000) << "the old list is kept";
    owner.memory.failAt = owner.memory.allocations + 1;
    model.AppendBoneVertices(0, many.data(), 5);
    EXPECT_EQ(model.Bones()[0].vertexCount, 40000);
}

TEST_F(Bones, KeysLandWithinTheirKind) {
    auto key = [](uint8_t tag) {
        std::array<uint8_t, 16> k;
        k.fill(tag);
        return k;
    };
    const std::vector<std::array<uint8_t, 16>> keys = {key(1), key(2), key(3)};
    SetBlock(chunk, keys);
    EXPECT_EQ(model.AddBoneKeys(chunk), V3DMODEL_FAILED) << "no bones";
    model.CreateBones(2);
    EXPECT_EQ(model.AddBoneKeys(chunk), V3DMODEL_FAILED) << "no key array";
    chunk.boneIndex = 2;
    EXPECT_EQ(model.AddBoneKeys(chunk), V3DMODEL_FAILED) << "no such bone";

    chunk.boneIndex = 1;
    model.SetBoneKeyCounts(1, 2, 3);
    const uint8_t* stored = model.Bones()[1].keys;
    chunk.nextKey = 1;
    chunk.keyKind = 0;
    EXPECT_EQ(model.AddBoneKeys(chunk), V3DMODEL_OK);
    EXPECT_EQ(chunk.nextKey, 4u);
    chunk.nextKey = 1;
    chunk.keyKind = 1;
    EXPECT_EQ(model.AddBoneKeys(chunk), V3DMODEL_OK);
    // Translation keys 0 and 1, then rotation keys 0 to 2: the second translation key, then
    // rotation keys 1 and 2; keys past each kind are dropped.
    const uint8_t expected[] = {0, 1, 0, 1, 2};
    for (uint32_t k = 0; k < 5; ++k) EXPECT_EQ(stored[16 * k], expected[k]) << k;
}

}  // namespace
