// A loaded model against its expectation file: the same faces and vertices, positions equal to
// the expected ones times the unit up to each loader's rounding, every corner's colour, its
// texture coordinates and a normal pointing the same way, and for MilkShape 3D files each
// bone's parent and global transform.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <memory>
#include <string>

#include "render3d/loader_3ds.h"
#include "render3d/loader_ms3d.h"
#include "render3d/loader_v3d.h"
#include "tests/render3d/model_files.h"
#include "tests/render3d/test_owner.h"

// A test name from a fixture's file name.
inline std::string FixtureName(const testing::TestParamInfo<ModelFixture>& info) {
    std::string name = info.param.model;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

enum class ModelFormat { k3ds, kMs3d, kV3d };

// By the file's extension; the converter's sources are read as the V3D files it makes.
inline ModelFormat FormatOf(const std::string& file) {
    auto endsWith = [&file](const std::string& end) {
        return file.size() >= end.size() &&
               file.compare(file.size() - end.size(), end.size(), end) == 0;
    };
    if (endsWith(".3ds")) return ModelFormat::k3ds;
    if (endsWith(".ms3d")) return ModelFormat::kMs3d;
    return ModelFormat::kV3d;
}

inline std::unique_ptr<ClassVLoaderBase> LoaderFor(ModelFormat format) {
    switch (format) {
        case ModelFormat::k3ds:
            return std::make_unique<VLoader_3DS>();
        case ModelFormat::kMs3d:
            return std::make_unique<VLoader_MS3D>();
        case ModelFormat::kV3d:
            break;
    }
    return std::make_unique<VLoader_V3D>();
}

// How each loader keeps what the expectation gives.
struct FormatRules {
    // 3D Studio and MilkShape 3D truncate to 12 fraction bits and shift right (rounding down),
    // or snap a value within 1/4096 of a whole number to it; the V3D converter rounds to whole
    // units and the scale's shift rounds down.
    double positionTolerance;
    // Texture coordinates are stored as (u + du, -(v + dv)) in 16.16: 3D Studio adds one
    // texture length to both, MilkShape 3D adds one to s and keeps t - 1 where assimp reads
    // 1 - t, V3D keeps them as they are.
    double du, dv;
    // Normals of length 88; V3D normal bytes of a unit normal times 127 reach the model as
    // b * 88 / 256.
    double normalLength;
};

inline FormatRules RulesOf(ModelFormat format) {
    switch (format) {
        case ModelFormat::k3ds:
            return {1.001, 1, 1, 88};
        case ModelFormat::kMs3d:
            return {1.001, 1, 0, 88};
        case ModelFormat::kV3d:
            break;
    }
    return {1.5, 0, 0, 127.0 * 88 / 256};
}

// The colour value a loader gives corner k: 3D Studio and V3D colours are bytes (c * 255),
// MilkShape 3D converts c with 8 fraction bits and limits it to 0..255.
inline uint32_t ExpectedColour(ModelFormat format, const ExpectedFace& e, uint32_t k) {
    if (e.white) return 0xFFFFFFFF;
    uint32_t colour = 0;
    for (uint32_t c = 0; c < 4; ++c) {
        const double value = e.rgba[k][c];
        const double byte =
            format == ModelFormat::kMs3d ? std::floor(value * 256) : std::round(value * 255);
        colour |= uint32_t(byte < 0 ? 0 : byte > 255 ? 255 : byte) << (8 * c);
    }
    return colour;
}

// 16.16, the last unit moved by the snap.
constexpr double kTexCoordTolerance = 3.0 / 65536;
// Normals of rounded positions or bytes point within 18 degrees of the expected ones.
constexpr double kNormalCosine = 0.95;
// Bone rotations per level of the tree: angles are whole units of 1/4096 turn (up to 0.0015
// radians off each) and the elements 20.12, truncated again by every multiplication.
constexpr double kRotationPerLevel = 0.004;

inline bool CornersMatch(const V3DModel& model, uint32_t face, const ExpectedFace& e, double unit,
                         double tolerance) {
    for (uint32_t k = 0; k < 3; ++k) {
        const Xyz p = PositionOf(model, model.Faces()[3 * face + k]);
        const int32_t ours[3] = {p.x, p.y, p.z};
        for (uint32_t i = 0; i < 3; ++i) {
            if (std::fabs(ours[i] - e.positions[3 * k + i] * unit) > tolerance) return false;
        }
    }
    return true;
}

inline void ExpectCornerMatches(const V3DModel& model, uint32_t vertex, const ExpectedFace& e,
                                uint32_t k, ModelFormat format) {
    const FormatRules rules = RulesOf(format);
    EXPECT_EQ(ColourOf(model, vertex), ExpectedColour(format, e, k));

    const Uv uv = TexCoordOf(model, vertex);
    if (e.textured) {
        EXPECT_NEAR(uv.u / 65536.0 - rules.du, e.uv[2 * k], kTexCoordTolerance);
        EXPECT_NEAR(-uv.v / 65536.0 - rules.dv, e.uv[2 * k + 1], kTexCoordTolerance);
    } else {
        EXPECT_EQ(uv, (Uv{0, 0}));
    }

    if (!e.hasNormals) return;
    const Xyz n = NormalOf(model, vertex);
    const double length = std::sqrt(double(n.x) * n.x + double(n.y) * n.y + double(n.z) * n.z);
    EXPECT_NEAR(length, rules.normalLength, 2);
    const double* expected = &e.normals[3 * k];
    const double expectedLength = std::sqrt(expected[0] * expected[0] + expected[1] * expected[1] +
                                            expected[2] * expected[2]);
    const double cosine =
        (n.x * expected[0] + n.y * expected[1] + n.z * expected[2]) / (length * expectedLength);
    EXPECT_GT(cosine, kNormalCosine);
}

// Faces are matched by their corners: readers order and split meshes their own way.
inline void ExpectFacesMatch(const V3DModel& model, const ExpectedModel& expected,
                             ModelFormat format, double unit) {
    ASSERT_EQ(expected.faceList.size(), expected.faces);
    EXPECT_EQ(model.GetFaceCount(), expected.faces);
    EXPECT_EQ(model.VertexCount(), expected.vertices);
    const double tolerance = RulesOf(format).positionTolerance;
    std::vector<bool> matched(model.GetFaceCount());
    for (size_t i = 0; i < expected.faceList.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "expected face " << i);
        const ExpectedFace& e = expected.faceList[i];
        uint32_t face = 0;
        while (face < model.GetFaceCount() &&
               (matched[face] || !CornersMatch(model, face, e, unit, tolerance)))
            ++face;
        ASSERT_LT(face, model.GetFaceCount()) << "no face of ours has these corners";
        matched[face] = true;
        for (uint32_t k = 0; k < 3; ++k) {
            SCOPED_TRACE(testing::Message() << "corner " << k);
            ExpectCornerMatches(model, model.Faces()[3 * face + k], e, k, format);
        }
    }
}

// Joints in file order: bones have no names, so a parent is found by name among the
// expected joints. The loader reads 128 joints; bones beyond keep the identity pose.
inline void ExpectBonesMatch(const V3DModel& model, const ExpectedModel& expected, double unit) {
    ASSERT_EQ(model.BoneCount(), expected.joints.size());
    VMatrix identity;
    MatrixIdentity(identity);
    std::vector<int32_t> parents;
    for (const ExpectedJoint& joint : expected.joints) {
        int32_t parent = -1;
        for (uint32_t i = 0; i < expected.joints.size() && parent < 0; ++i) {
            if (expected.joints[i].name == joint.parent) parent = int32_t(i);
        }
        parents.push_back(parent);
    }
    for (uint32_t j = 0; j < model.BoneCount(); ++j) {
        SCOPED_TRACE(testing::Message() << "joint " << j << ", " << expected.joints[j].name);
        const V3DBone& bone = model.Bones()[j];
        if (j >= kMaxMs3dJoints) {
            EXPECT_EQ(bone.global, identity);
            EXPECT_EQ(bone.parent, -1);
            continue;
        }
        EXPECT_EQ(bone.parent, parents[j]);
        // Every level of the tree truncates its position (a unit) and the three products of
        // the multiplication (a unit each), and turns what lies below by a rotation a little
        // off.
        uint32_t depth = 0;
        for (int32_t k = int32_t(j); k >= 0; k = parents[k]) ++depth;
        const double rotationTolerance = kRotationPerLevel * depth;
        const std::array<double, 16>& m = expected.joints[j].global;
        for (uint32_t r = 0; r < 3; ++r) {
            for (uint32_t c = 0; c < 3; ++c) {
                // Row vectors: our row r is assimp's column r.
                EXPECT_NEAR(bone.global[4 * r + c] / 4096.0, m[4 * c + r], rotationTolerance);
            }
            const double translation = m[4 * r + 3] * unit;
            EXPECT_NEAR(bone.global[12 + r], translation,
                        4.0 * depth + rotationTolerance * std::fabs(translation));
        }
    }
}
