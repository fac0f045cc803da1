// What the render flags decide: culling and its wireframe exception, the colour of a face
// with and without lights, textured faces with and without a texture, and the depth order.
#include <gtest/gtest.h>

#include "graphics2d/blit_flags.h"
#include "render3d/render_list.h"
#include "tests/render3d/render_fixture.h"

namespace {

constexpr uint32_t kBare = V3DMODEL_NONORMALS | V3DMODEL_NOCOLOURS | V3DMODEL_NOTEXCOORDS;
constexpr uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

// A face seen from the front (counter-clockwise on screen) or from behind.
std::vector<Corner> Face(bool front, int32_t z = 0, uint32_t colour = 0xFFFFFF) {
    Corner a{-2000, -2000, z, colour}, b{2000, -2000, z, colour}, c{0, 2000, z, colour};
    if (front) return {a, b, c};
    return {a, c, b};
}

struct CullCase {
    const char* name;
    uint32_t flags;
    bool backDrawn;
};

const CullCase kCullCases[] = {
    {"Flat", 0, false},
    {"Wireframe", V3DRENDER_WIREFRAME, true},
    {"WireframeWithEffects", V3DRENDER_WIREFRAME | BLIT_OPACITY, true},
    {"WireframeLitPerFace", V3DRENDER_WIREFRAME | V3DRENDER_LIT, true},
    {"LitPerFace", V3DRENDER_LIT, false},
    {"Shaded", V3DRENDER_SHADED, false},
    {"ShadedDithered", V3DRENDER_SHADED | V3DRENDER_WIREFRAME, false},
    // No texture coordinates: drawn as wireframe, but the textured bit keeps culling on.
    {"WireframeTexturedWithoutCoordinates", V3DRENDER_WIREFRAME | V3DRENDER_TEXTURED, false},
};

class Culling : public testing::TestWithParam<CullCase> {};

TEST_P(Culling, DropsBackFacesUnlessOnlyWireframe) {
    const CullCase& c = GetParam();
    for (bool front : {true, false}) {
        RenderRig rig;
        V3DModel model;
        BuildTriangles(model, rig.owner.services, Face(front), kBare);
        ASSERT_EQ(model.DrawInto(rig.surface, 0, 0, c.flags, 128), 0u);
        const bool drawn = CountPixelsNot(rig.surface, 0) != 0;
        EXPECT_EQ(drawn, front || c.backDrawn) << (front ? "front" : "back");
    }
}

INSTANTIATE_TEST_SUITE_P(Renderer, Culling, testing::ValuesIn(kCullCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Renderer, TexturedBitOnAModelWithoutCoordinatesDrawsWireframeLines) {
    uint32_t pixels[2] = {};
    const uint32_t flags[2] = {V3DRENDER_WIREFRAME, V3DRENDER_WIREFRAME | V3DRENDER_TEXTURED};
    for (int i = 0; i < 2; ++i) {
        RenderRig rig;
        V3DModel model;
        BuildTriangles(model, rig.owner.services, Face(true), kBare);
        model.DrawInto(rig.surface, 0, 0, flags[i], 0);
        pixels[i] = CountPixelsNot(rig.surface, 0);
    }
    EXPECT_GT(pixels[0], 0u);
    EXPECT_EQ(pixels[1], pixels[0]);
}

struct ColourCase {
    const char* name;
    uint32_t flags;
    bool vertexColours;
    bool lightOn;
    std::vector<uint32_t> expected;  // the entry's colour values
};

// Corners coloured red, green, blue; the face lies in z = 0 facing the viewer, so its normals
// are (0, 0, 88) and the default light gives d = 45056: 255 becomes
// (255 × 13107 + (255 × 45056 / 256) × 255) >> 16 = 225.
const ColourCase kColourCases[] = {
    {"FlatWhite", 0, false, false, {0xFFFFFF}},
    {"FlatTakesCornerTwo", 0, true, false, {kBlue}},
    {"ShadedTakesEachCorner", V3DRENDER_SHADED, true, false, {kRed, kGreen, kBlue}},
    {"LitWithoutLightIsVertexColour", V3DRENDER_LIT, true, false, {kBlue}},
    {"ShadedWithoutLightIsVertexColour", V3DRENDER_SHADED, true, false, {kRed, kGreen, kBlue}},
    {"LitWithoutLightOrColoursIsWhite", V3DRENDER_LIT, false, false, {0xFFFFFF}},
    {"LitWhite", V3DRENDER_LIT, false, true, {0xE1E1E1}},
    {"LitCornerTwo", V3DRENDER_LIT, true, true, {0xE10000}},
    {"ShadedLit", V3DRENDER_SHADED, true, true, {0x0000E1, 0x00E100, 0xE10000}},
};

class FaceColour : public testing::TestWithParam<ColourCase> {};

TEST_P(FaceColour, FollowsFlagsLightsAndVertexColours) {
    const ColourCase& c = GetParam();
    RenderRig rig;
    rig.display.lights[0].enabled = c.lightOn;
    std::vector<Corner> corners = Face(true);
    corners[0].colour = kRed, corners[1].colour = kGreen, corners[2].colour = kBlue;
    V3DModel model;
    BuildTriangles(model, rig.owner.services, corners,
                   V3DMODEL_NOTEXCOORDS | (c.vertexColours ? 0 : V3DMODEL_NOCOLOURS));
    ASSERT_EQ(model.DrawInto(rig.surface, 0, 0, c.flags, 0), 0u);
    const int32_t* e = model.RenderList();
    for (size_t k = 0; k < c.expected.size(); ++k) {
        EXPECT_EQ(uint32_t(e[6 + k]), c.expected[k]) << "colour " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Renderer, FaceColour, testing::ValuesIn(kColourCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct TextureCase {
    const char* name;
    uint32_t flags;
    bool withTexture;
    bool withCoordinates;
    uint32_t centre;  // colour value at the picture's centre
};

const TextureCase kTextureCases[] = {
    {"NoTextureDrawsNothing", V3DRENDER_TEXTURED, false, true, 0},
    {"NoCoordinatesDrawsFlat", V3DRENDER_TEXTURED, true, false, 0xFFFFFF},
    {"NoCoordinatesDrawsShaded", V3DRENDER_TEXTURED | V3DRENDER_SHADED, true, false, 0xFFFFFF},
    // Texture coordinates 0 everywhere: every pixel takes texel (0, 0), the checkerboard's
    // second colour.
    {"TexturedTakesTexels", V3DRENDER_TEXTURED, true, true, 0x0000FF},
};

class Texturing : public testing::TestWithParam<TextureCase> {};

TEST_P(Texturing, NeedsTextureAndCoordinates) {
    const TextureCase& c = GetParam();
    RenderRig rig;
    V2DSurface texture;
    if (c.withTexture) {
        rig.MakeTexture(texture, 16, 16, kGreen, kRed);
        rig.display.texture = &texture;
    }
    V3DModel model;
    BuildTriangles(
        model, rig.owner.services, Face(true),
        V3DMODEL_NONORMALS | V3DMODEL_NOCOLOURS | (c.withCoordinates ? 0 : V3DMODEL_NOTEXCOORDS));
    ASSERT_EQ(model.DrawInto(rig.surface, 0, 0, c.flags, 0), 0u);
    EXPECT_EQ(rig.surface.GetPixel(120, 160), c.centre);
    if (c.centre == 0) {
        EXPECT_EQ(CountPixelsNot(rig.surface, 0), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Renderer, Texturing, testing::ValuesIn(kTextureCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Renderer, TextureCoordinatesScaleByTheTextureSize) {
    RenderRig rig;
    V2DSurface texture;
    rig.MakeTexture(texture, 32, 16, kGreen, kRed);
    rig.display.texture = &texture;
    std::vector<Corner> corners = Face(true);
    corners[1].u = 65536;   // the whole width: 32 texels
    corners[2].v = -32768;  // half the height, stored negated: -8 texels
    V3DModel model;
    BuildTriangles(model, rig.owner.services, corners, V3DMODEL_NONORMALS | V3DMODEL_NOCOLOURS);
    ASSERT_EQ(model.BuildTriangleList(false, false, false, true, true), 1u);
    const int32_t* e = model.RenderList();
    EXPECT_EQ(e[6], 0);
    EXPECT_EQ(e[8], 32 << 10);
    EXPECT_EQ(e[11], -(8 << 10));
}

struct DepthCase {
    const char* name;
    int32_t nearZ, farZ;
    bool nearFirstInModel;
};

const DepthCase kDepthCases[] = {
    {"NearFirstInModel", 100, -100, true},
    {"FarFirstInModel", 100, -100, false},
    // Keys 41250 and -13750: the near one would wrap below the far one in 16 bits.
    {"KeysBeyondSixteenBits", 15000, -5000, true},
    {"FarBehindTheScene", 0, -50000, true},
};

class DepthOrder : public testing::TestWithParam<DepthCase> {};

TEST_P(DepthOrder, DrawsSmallerKeysFirst) {
    const DepthCase& c = GetParam();
    RenderRig rig;
    // The far face is made large enough to cover the near one at any of the depths.
    std::vector<Corner> nearFace = Face(true, c.nearZ, kGreen);
    std::vector<Corner> farFace = Face(true, c.farZ, kRed);
    for (Corner& k : farFace) k.x *= 4, k.y *= 4;
    std::vector<Corner> corners = c.nearFirstInModel ? nearFace : farFace;
    const std::vector<Corner>& second = c.nearFirstInModel ? farFace : nearFace;
    corners.insert(corners.end(), second.begin(), second.end());
    V3DModel model;
    BuildTriangles(model, rig.owner.services, corners, kBare & ~V3DMODEL_NOCOLOURS);
    ASSERT_EQ(model.DrawInto(rig.surface, 0, 0, 0, 0), 0u);
    EXPECT_EQ(rig.surface.GetPixel(120, 160), kGreen);
    const V3DSortEntry* sorted = model.SortList();
    EXPECT_LT(sorted[0].key, sorted[1].key);
}

INSTANTIATE_TEST_SUITE_P(Renderer, DepthOrder, testing::ValuesIn(kDepthCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Renderer, ModelWithoutBuffersOrDisplayDrawsNothing) {
    RenderRig rig;
    V3DModel empty;
    EXPECT_EQ(rig.surface.DrawModel(0, 0, &empty, 0, 0), VSURF_NOTCREATED);
    EXPECT_EQ(rig.surface.DrawModel(0, 0, nullptr, 0, 0), VSURF_INVALID);

    V3DModel model;
    BuildTriangles(model, rig.owner.services, Face(true), V3DMODEL_NONORMALS | V3DMODEL_NOCOLOURS);
    V2DSurface uncreated;
    EXPECT_EQ(uncreated.DrawModel(0, 0, &model, 0, 0), VSURF_LOCKFAILED);
    rig.owner.services.display = nullptr;
    for (uint32_t flags : {0u, V3DRENDER_SHADED, V3DRENDER_TEXTURED}) {
        EXPECT_EQ(rig.surface.DrawModel(0, 0, &model, flags, 0), VSURF_OK);
    }
    EXPECT_EQ(CountPixelsNot(rig.surface, 0), 0u);
}

}  // namespace
