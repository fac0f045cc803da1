// Where the renderer puts vertices: the projection (its 64-bit products and their limit), the
// near plane, and the picture of a face at the origin.
#include <gtest/gtest.h>

#include "render3d/render_list.h"
#include "tests/render3d/render_fixture.h"

namespace {

constexpr uint32_t kBare = V3DMODEL_NONORMALS | V3DMODEL_NOCOLOURS | V3DMODEL_NOTEXCOORDS;

struct ProjectionCase {
    const char* name;
    int32_t x, y, z;
    int32_t screenX, screenY;  // 22.10 from the projection centre, Y up
};

// F = 240. Expected values worked out by hand: q = 0x800000 / (32768 - z) truncated,
// X = floor(q * F * x / 2 / 1024).
const ProjectionCase kProjections[] = {
    // At z = 0 (q = 256) 4096 units are F / 2 = 120 pixels.
    {"RightOfCentre", 4096, 0, 0, 120 << 10, 0},
    {"AboveCentre", 0, 4096, 0, 0, 120 << 10},
    {"LeftOfCentre", -4096, 0, 0, -(120 << 10), 0},
    // z = -32768 counts as -32769: q = 0x800000 / 65537 = 127.
    {"DepthOfTheViewpointBehind", 4096, 0, -32768, 60960, 0},
    // The first scene's hover: q × F = 258960, and q × F × x needs more than 32 bits.
    {"HoverOfTheFirstScene", -12900, -1500, 25000, -1631145, -189668},
    // Just in front of the viewpoint (q × F = 2013265920) a vertex is held a million pixels
    // out.
    {"HeldAtTheLimit", 500000, -500000, 32767, 1 << 30, -(1 << 30)},
};

class Projection : public testing::TestWithParam<ProjectionCase> {};

TEST_P(Projection, PutsCornerZeroWhereTheArithmeticSays) {
    const ProjectionCase& c = GetParam();
    RenderRig rig;
    V3DModel model;
    BuildTriangles(model, rig.owner.services,
                   {{c.x, c.y, c.z}, {c.x + 10, c.y, c.z}, {c.x, c.y + 10, c.z}}, kBare);
    ASSERT_EQ(model.BuildTriangleList(false, true, false, false, false), 1u);
    const int32_t* e = model.RenderList() + model.SortList()[0].index * 7;
    EXPECT_EQ(e[0], c.screenX);
    EXPECT_EQ(e[1], c.screenY);
}

INSTANTIATE_TEST_SUITE_P(Renderer, Projection, testing::ValuesIn(kProjections),
                         [](const auto& info) { return std::string(info.param.name); });

struct NearCase {
    const char* name;
    int32_t z;  // of corner 1
    uint32_t entries;
};

const NearCase kNearCases[] = {
    {"JustInFront", 32767, 1}, {"AtTheViewpoint", 32768, 0}, {"Behind", 40000, 0},
    {"FarBehind", 500000, 0},  {"FarAway", -500000, 1},
};

class NearPlane : public testing::TestWithParam<NearCase> {};

TEST_P(NearPlane, DropsFacesReachingTheViewpoint) {
    const NearCase& c = GetParam();
    RenderRig rig;
    V3DModel model;
    BuildTriangles(model, rig.owner.services, {{0, 0, 0}, {100, 0, c.z}, {0, 100, 0}}, kBare);
    EXPECT_EQ(model.BuildTriangleList(false, true, false, false, false), c.entries);
    // Drawn or not, nothing lands mirrored on the far side of the picture.
    ASSERT_EQ(model.DrawInto(rig.surface, 0, 0, V3DRENDER_WIREFRAME, 0), 0u);
    for (int32_t y = 0; y < 320; ++y)
        for (int32_t x = 0; x < 120; ++x)
            ASSERT_EQ(rig.surface.GetPixel(x, y), 0u) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Renderer, NearPlane, testing::ValuesIn(kNearCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Renderer, FaceAtTheOriginSpansHalfTheSmallerSide) {
    // Corners on screen at the centre (120, 160), 120 pixels right (240, 160) and 120 above
    // (120, 40).
    RenderRig rig;
    V3DModel model;
    BuildTriangles(model, rig.owner.services, {{0, 0, 0}, {4096, 0, 0}, {0, 4096, 0}}, kBare);
    ASSERT_EQ(model.DrawInto(rig.surface, 0, 0, 0, 0), 0u);
    V2DSurface& s = rig.surface;
    int32_t right = -1, top = 320;
    for (int32_t x = 0; x < 240; ++x)
        if (s.GetPixel(x, 159) != 0) right = x;
    for (int32_t y = 319; y >= 0; --y)
        if (s.GetPixel(120, y) != 0) top = y;
    // The fills sample each row at its lower boundary with slopes rounded toward zero, so
    // the slanted side gives its last pixel to row 159 at x = 238 and its first to row 41.
    EXPECT_EQ(right, 238);
    EXPECT_EQ(top, 41);
    EXPECT_EQ(s.GetPixel(119, 100), 0u);
    EXPECT_EQ(s.GetPixel(120, 160), 0u);
    EXPECT_EQ(s.GetPixel(120, 159), 0xFFFFFFu);
}

TEST(Renderer, OffsetMovesTheProjectionCentreInWholePixels) {
    RenderRig rig;
    V3DModel model;
    BuildTriangles(model, rig.owner.services, {{0, 0, 0}, {4096, 0, 0}, {0, 4096, 0}}, kBare);
    ASSERT_EQ(model.DrawInto(rig.surface, -20, 30, 0, 0), 0u);
    EXPECT_EQ(rig.surface.GetPixel(100, 189), 0xFFFFFFu);
    EXPECT_EQ(rig.surface.GetPixel(99, 189), 0u);
    EXPECT_EQ(rig.surface.GetPixel(100, 190), 0u);
}

}  // namespace
