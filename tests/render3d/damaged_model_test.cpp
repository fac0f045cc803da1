// Every truncation and a few hundred corruptions of every generated model (damage_sweep.h).
#include <gtest/gtest.h>

#include "tests/render3d/damage_sweep.h"

namespace {

class DamagedModel : public testing::TestWithParam<ModelFixture> {};

TEST_P(DamagedModel, TruncatedAtEveryLength) {
    LoadEveryTruncation(ReadModelFile(GetParam().model), GetParam().model, GetParam().scale);
}

TEST_P(DamagedModel, CorruptedBytes) {
    LoadCorruptions(ReadModelFile(GetParam().model), GetParam().model, GetParam().scale);
}

INSTANTIATE_TEST_SUITE_P(Models, DamagedModel, testing::ValuesIn(ReadModelManifest()), FixtureName);

}  // namespace
