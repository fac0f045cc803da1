// Every generated model, from our own writers and from assimp's, against what assimp reads
// from it (for V3D, the mesh the generator wrote): see fixture_check.h.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/render3d/fixture_check.h"

namespace {

class ModelFile : public testing::TestWithParam<ModelFixture> {};

TEST_P(ModelFile, ReadsAsTheIndependentReaderReadsIt) {
    const ModelFixture& fixture = GetParam();
    const std::vector<uint8_t> file = ReadModelFile(fixture.model);
    const ExpectedModel expected = ReadExpectedModel(fixture.expectation);
    ASSERT_FALSE(file.empty());

    TestOwner owner;
    V3DModel model;
    model.SetOwner(&owner.services);
    const ModelFormat format = FormatOf(fixture.model);
    const std::unique_ptr<ClassVLoaderBase> loader = LoaderFor(format);
    ASSERT_EQ(
        loader->LoadModel(&model, file.data(), uint32_t(file.size()), uint32_t(fixture.scale), 0),
        0u);
    const double unit = fixture.units * std::ldexp(1.0, fixture.scale);
    ExpectFacesMatch(model, expected, format, unit);
    ExpectBonesMatch(model, expected, unit);
}

INSTANTIATE_TEST_SUITE_P(Models, ModelFile, testing::ValuesIn(ReadModelManifest()), FixtureName);

}  // namespace
