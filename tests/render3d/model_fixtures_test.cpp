// Every generated model, from our own writer and from assimp's, against what assimp reads from
// it: the same faces and vertices, positions equal to assimp's floats times 2^(6 + scale) up
// to the fixed-point rounding and snapping, each face's material colour, its texture
// coordinates and normals pointing the same way.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>

#include "render3d/loader_3ds.h"
#include "tests/render3d/model_files.h"
#include "tests/render3d/test_owner.h"

namespace {

// Our conversion truncates to 12 fraction bits and then shifts right (rounding down), and may
// snap a value within 1/4096 of a whole number to it.
constexpr double kPositionTolerance = 1.001;
// 16 fraction bits, the snap moves by one more unit.
constexpr double kTexCoordTolerance = 3.0 / 65536;
// Normals of length 88 from rounded positions point within 18 degrees of assimp's.
constexpr double kNormalCosine = 0.95;

class ModelFile : public testing::TestWithParam<ModelFixture> {};

bool CornersMatch(const V3DModel& model, uint32_t face, const ExpectedFace& e, double unit) {
    for (uint32_t k = 0; k < 3; ++k) {
        const Xyz p = PositionOf(model, model.Faces()[3 * face + k]);
        const int32_t ours[3] = {p.x, p.y, p.z};
        for (uint32_t i = 0; i < 3; ++i) {
            if (std::fabs(ours[i] - e.positions[3 * k + i] * unit) > kPositionTolerance) {
                return false;
            }
        }
    }
    return true;
}

TEST_P(ModelFile, ReadsAsAssimpReadsIt) {
    const ModelFixture& fixture = GetParam();
    const std::vector<uint8_t> file = ReadModelFile(fixture.model);
    const ExpectedModel expected = ReadExpectedModel(fixture.expectation);
    ASSERT_FALSE(file.empty());
    ASSERT_EQ(expected.faceList.size(), expected.faces);

    TestOwner owner;
    V3DModel model;
    model.SetOwner(&owner.services);
    VLoader_3DS loader;
    ASSERT_EQ(
        loader.LoadModel(&model, file.data(), uint32_t(file.size()), uint32_t(fixture.scale), 0),
        0u);
    EXPECT_EQ(model.GetFaceCount(), expected.faces);
    EXPECT_EQ(model.VertexCount(), expected.vertices);

    // assimp groups each object's faces by material, so faces are matched by their corners.
    const double unit = std::ldexp(1.0, 6 + fixture.scale);
    std::vector<bool> matched(model.GetFaceCount());
    for (size_t i = 0; i < expected.faceList.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "expected face " << i);
        const ExpectedFace& e = expected.faceList[i];
        uint32_t face = 0;
        while (face < model.GetFaceCount() &&
               (matched[face] || !CornersMatch(model, face, e, unit)))
            ++face;
        ASSERT_LT(face, model.GetFaceCount()) << "no face of ours has these corners";
        matched[face] = true;

        for (uint32_t k = 0; k < 3; ++k) {
            SCOPED_TRACE(testing::Message() << "corner " << k);
            const uint32_t vertex = model.Faces()[3 * face + k];
            uint32_t colour = 0xFFFFFFFF;
            if (!e.white) {
                colour = 0xFF000000;
                for (uint32_t c = 0; c < 3; ++c)
                    colour |= uint32_t(std::lround(e.rgb[c] * 255)) << 8 * c;
            }
            EXPECT_EQ(ColourOf(model, vertex), colour);

            // Stored as (u + 1, -(v + 1)) in 16.16; nothing without texture coordinates.
            const Uv uv = TexCoordOf(model, vertex);
            if (e.textured) {
                EXPECT_NEAR(uv.u / 65536.0 - 1, e.uv[2 * k], kTexCoordTolerance);
                EXPECT_NEAR(-uv.v / 65536.0 - 1, e.uv[2 * k + 1], kTexCoordTolerance);
            } else {
                EXPECT_EQ(uv, (Uv{0, 0}));
            }

            const Xyz n = NormalOf(model, vertex);
            const double length = std::sqrt(double(n.x) * n.x + double(n.y) * n.y + n.z * n.z);
            EXPECT_NEAR(length, 88, 2);
            const double cosine =
                (n.x * e.normals[3 * k] + n.y * e.normals[3 * k + 1] + n.z * e.normals[3 * k + 2]) /
                length;
            EXPECT_GT(cosine, kNormalCosine);
        }
    }
}

std::string FixtureName(const testing::TestParamInfo<ModelFixture>& info) {
    std::string name = info.param.model;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Models, ModelFile, testing::ValuesIn(ReadModelManifest()), FixtureName);

}  // namespace
