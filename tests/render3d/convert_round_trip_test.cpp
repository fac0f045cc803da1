// The V3D converter's round trip: run_converter.py has converted each source of
// conversions.txt (an OBJ, a glTF) with tools/v3d; our V3D loader must give the mesh assimp
// reads from the source (fixture_check.h), and every truncation and corruption of the
// converted files must load safely (damage_sweep.h).
#include <gtest/gtest.h>

#include <cmath>

#include "tests/render3d/damage_sweep.h"
#include "tests/render3d/fixture_check.h"

namespace {

std::vector<uint8_t> ReadConverted(const ModelFixture& fixture) {
    return ReadFileBytes(std::string(VANE_CONVERTED_DIR) + "/" + fixture.model + ".v3d");
}

class ConvertedModel : public testing::TestWithParam<ModelFixture> {};

TEST_P(ConvertedModel, ReadsAsAssimpReadsTheSource) {
    const ModelFixture& fixture = GetParam();
    const std::vector<uint8_t> file = ReadConverted(fixture);
    ASSERT_FALSE(file.empty()) << "converted by the test Render3D.ConvertSourcesToV3d";
    TestOwner owner;
    V3DModel model;
    model.SetOwner(&owner.services);
    VLoader_V3D loader;
    ASSERT_EQ(
        loader.LoadModel(&model, file.data(), uint32_t(file.size()), uint32_t(fixture.scale), 0),
        0u);
    ExpectFacesMatch(model, ReadExpectedModel(fixture.expectation), ModelFormat::kV3d,
                     fixture.units * std::ldexp(1.0, fixture.scale));
}

TEST_P(ConvertedModel, TruncatedAtEveryLength) {
    LoadEveryTruncation(ReadConverted(GetParam()), ".v3d", GetParam().scale);
}

TEST_P(ConvertedModel, CorruptedBytes) {
    LoadCorruptions(ReadConverted(GetParam()), ".v3d", GetParam().scale);
}

INSTANTIATE_TEST_SUITE_P(Sources, ConvertedModel,
                         testing::ValuesIn(ReadModelManifest("conversions.txt")), FixtureName);

}  // namespace
