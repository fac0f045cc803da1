// V3DModel's life: the two vertex layouts, what Create leaves, its failures, Free, the owner's
// memory, locking, and single vertex and face writes.
#include <gtest/gtest.h>

#include "render3d/model.h"
#include "tests/render3d/test_owner.h"

namespace {

struct LayoutCase {
    const char* what;
    uint32_t flags;
    uint32_t vertexBytes;
    // Offsets and strides: position, texture coordinate, normal, colour.
    int32_t offsets[4];
    uint32_t strides[4];
};

constexpr uint32_t kVertices = 10;

// Interleaved records are position, normal, colour, texture coordinate; separate arrays come
// in the same order, each kVertices entries long.
const LayoutCase kLayouts[] = {
    {"everything", 0, 28, {0, 20, 12, 16}, {28, 28, 28, 28}},
    {"no normals", 0x100, 24, {0, 16, -1, 12}, {24, 24, 24, 24}},
    {"no colours", 0x200, 24, {0, 16, 12, -1}, {24, 24, 24, 24}},
    {"no texture coordinates", 0x400, 20, {0, -1, 12, 16}, {20, 20, 20, 20}},
    {"colour only: a 16-byte record, colour at 12", 0x500, 16, {0, -1, -1, 12}, {16, 16, 16, 16}},
    {"positions only", 0x700, 12, {0, -1, -1, -1}, {12, 12, 12, 12}},
    {"bits the model does not know", 0x10000 | 0x80, 28, {0, 20, 12, 16}, {28, 28, 28, 28}},
    {"separate", 0x800, 28, {0, 200, 120, 160}, {12, 8, 4, 4}},
    {"separate, no normals", 0x900, 24, {0, 160, -1, 120}, {12, 8, 4, 4}},
    {"separate, colour only", 0xD00, 16, {0, -1, -1, 120}, {12, 8, 4, 4}},
};

TEST(ModelCreate, LaysOutBothLayouts) {
    for (const LayoutCase& c : kLayouts) {
        SCOPED_TRACE(c.what);
        TestOwner owner;
        V3DModel model;
        model.SetOwner(&owner.services);
        ASSERT_EQ(model.Create(kVertices, 4, c.flags), V3DMODEL_OK);
        EXPECT_EQ(model.VertexBufferSize(), kVertices * c.vertexBytes);
        for (uint32_t a = 0; a < V3DATTR_COUNT; ++a) {
            EXPECT_EQ(model.AttributeOffset(V3DAttribute(a)), c.offsets[a]) << "attribute " << a;
            EXPECT_EQ(model.AttributeStride(V3DAttribute(a)), c.strides[a]) << "attribute " << a;
        }
        V3DModelView view;
        ASSERT_TRUE(model.Lock(&view));
        const uint8_t* base = model.VertexBuffer();
        auto expected = [&](V3DAttribute a) {
            return c.offsets[a] < 0 ? nullptr : base + c.offsets[a];
        };
        EXPECT_EQ(view.position, expected(V3DATTR_POSITION));
        EXPECT_EQ(view.texCoord, expected(V3DATTR_TEXCOORD));
        EXPECT_EQ(view.normal, expected(V3DATTR_NORMAL));
        EXPECT_EQ(view.colour, expected(V3DATTR_COLOUR));
        EXPECT_EQ(view.faces, model.Faces());
        EXPECT_EQ(view.positionStride, c.strides[0]);
        EXPECT_EQ(view.texCoordStride, c.strides[1]);
        EXPECT_EQ(view.normalStride, c.strides[2]);
        EXPECT_EQ(view.colourStride, c.strides[3]);
    }
}

TEST(ModelCreate, StartsWhiteWithIdentityAndEverythingElseZero) {
    for (uint32_t flags : {0u, 0x800u}) {
        SCOPED_TRACE(flags);
        TestOwner owner;
        V3DModel model;
        model.SetOwner(&owner.services);
        ASSERT_EQ(model.Create(kVertices, 6, flags), V3DMODEL_OK);
        for (uint32_t v = 0; v < kVertices; ++v) {
            EXPECT_EQ(ColourOf(model, v), 0xFFFFFFFFu);
            EXPECT_EQ(PositionOf(model, v), (Xyz{0, 0, 0}));
            EXPECT_EQ(NormalOf(model, v), (Xyz{0, 0, 0}));
            EXPECT_EQ(TexCoordOf(model, v), (Uv{0, 0}));
        }
        for (uint32_t i = 0; i < 18; ++i) EXPECT_EQ(model.Faces()[i], 0);
        VMatrix identity;
        MatrixIdentity(identity);
        EXPECT_EQ(model.ModelMatrix(), identity);
        EXPECT_EQ(model.ViewMatrix(), nullptr);
        EXPECT_EQ(model.GetFaceCount(), 0u);
        EXPECT_EQ(model.VertexCount(), 0u);
        EXPECT_EQ(model.FaceCapacity(), 6u);
        EXPECT_EQ(model.VertexCapacity(), kVertices);
        EXPECT_NE(model.SortList(), nullptr);
        EXPECT_NE(model.RenderList(), nullptr);
        EXPECT_EQ(owner.memory.Live(), 4u) << "vertices, faces, sort list, render list";
    }
}

TEST(ModelCreate, FailsWithoutCapacityOrMemory) {
    struct Case {
        const char* what;
        uint32_t vertices, faces;
        uint32_t failAt;
        uint32_t result;
    } const cases[] = {
        {"no vertices", 0, 5, 0, V3DMODEL_INVALID},
        {"no faces", 5, 0, 0, V3DMODEL_INVALID},
        {"vertex buffer refused", 5, 5, 1, V3DMODEL_FAILED},
        {"faces refused", 5, 5, 2, V3DMODEL_FAILED},
        {"sort list refused", 5, 5, 3, V3DMODEL_FAILED},
        {"render list refused", 5, 5, 4, V3DMODEL_FAILED},
        {"a vertex buffer beyond its i32 offsets", 0x7FFFFFFF, 5, 0, V3DMODEL_FAILED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestOwner owner;
        owner.memory.failAt = c.failAt;
        V3DModel model;
        model.SetOwner(&owner.services);
        EXPECT_EQ(model.Create(c.vertices, c.faces, 0), c.result);
        EXPECT_EQ(owner.memory.Live(), 0u) << "everything allocated is given back";
        EXPECT_EQ(model.FaceCapacity(), 0u);
        EXPECT_EQ(model.VertexCapacity(), 0u);
        V3DModelView view;
        EXPECT_FALSE(model.Lock(&view));
    }
}

TEST(ModelCreate, AModelWithoutOwnerOrMemoryServiceAllocatesNothing) {
    V3DModel alone;
    EXPECT_EQ(alone.Create(3, 1, 0), V3DMODEL_FAILED);
    V3DServices noMemory;
    V3DModel model;
    model.SetOwner(&noMemory);
    EXPECT_EQ(model.Create(3, 1, 0), V3DMODEL_FAILED);
    EXPECT_EQ(model.VertexBuffer(), nullptr);
}

TEST(ModelLife, CreateFreeAndDestructionGiveEveryBlockBack) {
    TestOwner owner;
    {
        V3DModel model;
        model.SetOwner(&owner.services);
        ASSERT_EQ(model.Create(8, 4, 0), V3DMODEL_OK);
        model.CreateBones(2);
        ASSERT_EQ(owner.memory.Live(), 6u) << "four buffers, the bones, the animated vertices";
        ASSERT_EQ(model.Create(3, 1, 0x700), V3DMODEL_OK);
        EXPECT_EQ(owner.memory.Live(), 4u) << "the previous contents were freed first";
        EXPECT_EQ(model.BoneCount(), 0u);

        V3DModelView view;
        ASSERT_TRUE(model.Lock(&view));
        ASSERT_TRUE(model.Lock(&view));
        model.Free();
        EXPECT_EQ(owner.memory.Live(), 0u);
        EXPECT_EQ(model.LockCount(), 0u);
        EXPECT_EQ(model.FaceCapacity(), 0u);
        EXPECT_EQ(model.VertexCapacity(), 0u);
        EXPECT_EQ(model.GetFaceCount(), 0u);
        ASSERT_EQ(model.Create(3, 1, 0), V3DMODEL_OK);
    }
    EXPECT_EQ(owner.memory.Live(), 0u) << "the destructor frees the model";
}

TEST(ModelLife, ANewOwnerMakesTheOldOneTakeItsBuffersBack) {
    TestOwner first, second;
    V3DModel model;
    model.SetOwner(&first.services);
    ASSERT_EQ(model.Create(3, 1, 0), V3DMODEL_OK);
    model.SetOwner(&first.services);
    EXPECT_EQ(first.memory.Live(), 4u) << "the same owner keeps the model as it is";
    model.SetOwner(&second.services);
    EXPECT_EQ(first.memory.Live(), 0u);
    EXPECT_EQ(model.FaceCapacity(), 0u);
    ASSERT_EQ(model.Create(3, 1, 0), V3DMODEL_OK);
    EXPECT_EQ(second.memory.Live(), 4u);
    EXPECT_EQ(model.Owner(), &second.services);
}

TEST(ModelLock, NestsAndFailsWithoutFacesOrView) {
    TestOwner owner;
    V3DModel model;
    model.SetOwner(&owner.services);
    V3DModelView view;
    EXPECT_FALSE(model.Lock(&view)) << "no faces allocated";
    ASSERT_EQ(model.Create(3, 1, 0), V3DMODEL_OK);
    EXPECT_FALSE(model.Lock(nullptr));
    EXPECT_TRUE(model.Lock(&view));
    EXPECT_TRUE(model.Lock(&view));
    EXPECT_EQ(model.LockCount(), 2u);
    model.Unlock();
    model.Unlock();
    model.Unlock();
    EXPECT_EQ(model.LockCount(), 0u) << "never below 0";
    ASSERT_TRUE(model.Lock(&view));
    EXPECT_EQ(model.FinishBuild(), V3DMODEL_OK);
    EXPECT_EQ(model.LockCount(), 0u) << "FinishBuild ends every lock";
}

TEST(ModelElements, OutOfRangeWritesAreDroppedAndCountsOnlyGrow) {
    TestOwner owner;
    V3DModel model;
    model.SetOwner(&owner.services);
    ASSERT_EQ(model.Create(4, 3, 0), V3DMODEL_OK);

    model.SetVertex(4, 1, 1, 1);
    EXPECT_EQ(model.VertexCount(), 0u) << "index = capacity";
    model.SetVertex(2, -5, 6, 7);
    model.SetVertex(0, 1, 2, 3);
    EXPECT_EQ(model.VertexCount(), 3u) << "one more than the highest index set";
    EXPECT_EQ(PositionOf(model, 2), (Xyz{-5, 6, 7}));

    struct Face {
        uint32_t index, a, b, c;
        bool taken;
    } const faces[] = {
        {3, 0, 1, 2, false},  // index = face capacity
        {0, 0, 1, 4, false},  // a corner = vertex capacity
        {1, 3, 2, 1, true},  {0, 0, 0, 0, true}, {2, 4, 0, 0, false},
    };
    for (const Face& f : faces) model.SetFace(f.index, f.a, f.b, f.c);
    EXPECT_EQ(model.GetFaceCount(), 2u);
    EXPECT_EQ(model.Faces()[3], 3);
    EXPECT_EQ(model.Faces()[4], 2);
    EXPECT_EQ(model.Faces()[5], 1);
    EXPECT_EQ(model.Faces()[6], 0) << "face 2 untouched";
}

TEST(ModelElements, AFaceCornerBeyondU16IsRejectedEvenWithinTheCapacity) {
    TestOwner owner;
    V3DModel model;
    model.SetOwner(&owner.services);
    ASSERT_EQ(model.Create(70000, 2, 0x700), V3DMODEL_OK);
    model.SetFace(0, 1, 2, 65536);  // would be stored as vertex 0
    model.SetFace(1, 1, 2, 65535);
    EXPECT_EQ(model.GetFaceCount(), 2u);
    EXPECT_EQ(model.Faces()[2], 0) << "face 0 was not written";
    EXPECT_EQ(model.Faces()[5], 65535);
}

}  // namespace
