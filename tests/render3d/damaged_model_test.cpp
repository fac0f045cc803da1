// Every truncation and a few hundred corruptions of every generated model: the loader returns
// a result code, never reads outside the block (each variant lies in a heap block of exactly
// its size, so the asan build catches any read past it) and leaves a consistent model.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <memory>

#include "render3d/loader_3ds.h"
#include "tests/render3d/model_files.h"
#include "tests/render3d/test_owner.h"

namespace {

constexpr uint32_t kCorruptions = 300;

// One model and its owner for all variants of a file: each load replaces the last model.
struct Target {
    Target() { model.SetOwner(&services); }
    TestMemory memory;
    V3DServices services{&memory, nullptr, nullptr};
    V3DModel model;
    VLoader_3DS loader;
};

void LoadDamaged(Target& t, const uint8_t* data, size_t size, int scale, const std::string& what) {
    std::unique_ptr<uint8_t[]> block(new uint8_t[size == 0 ? 1 : size]);
    std::copy(data, data + size, block.get());
    const uint32_t r =
        t.loader.LoadModel(&t.model, block.get(), uint32_t(size), uint32_t(scale), 0);
    ASSERT_TRUE(r == 0 || r == 1 || r == 3 || r == 4) << what << ": result " << r;
    const V3DModel& model = t.model;
    ASSERT_LE(model.GetFaceCount(), model.FaceCapacity()) << what;
    ASSERT_LE(model.VertexCount(), model.VertexCapacity()) << what;
    for (uint32_t i = 0; i < 3 * model.GetFaceCount(); ++i) {
        ASSERT_LT(model.Faces()[i], model.VertexCapacity()) << what << ": face corner " << i;
    }
    ASSERT_EQ(t.memory.Live(), model.FaceCapacity() != 0 ? 4u : 0u) << what << ": a block lost";
}

class DamagedModel : public testing::TestWithParam<ModelFixture> {};

TEST_P(DamagedModel, TruncatedAtEveryLength) {
    const std::vector<uint8_t> data = ReadModelFile(GetParam().model);
    ASSERT_FALSE(data.empty());
    Target target;
    for (size_t length = 0; length < data.size(); ++length) {
        LoadDamaged(target, data.data(), length, GetParam().scale,
                    "cut at " + std::to_string(length));
    }
}

TEST_P(DamagedModel, CorruptedBytes) {
    const std::vector<uint8_t> data = ReadModelFile(GetParam().model);
    ASSERT_FALSE(data.empty());
    Target target;
    uint32_t seed = 54321;
    auto next = [&seed](uint32_t bound) {
        seed = seed * 1103515245 + 12345;
        return (seed >> 8) % bound;
    };
    for (uint32_t v = 0; v < kCorruptions; ++v) {
        std::vector<uint8_t> copy = data;
        // Chunk headers and counts cluster in the first bytes of each chunk: aim half of the
        // damage at the headers' fields (ids, lengths, counts) and half anywhere.
        const uint32_t damage = 1 + next(4);
        for (uint32_t k = 0; k < damage; ++k) {
            const uint32_t at = next(uint32_t(copy.size()));
            if (v & 1) {
                copy[at] = uint8_t(next(256));
            } else {
                // A chunk length made tiny, huge or off by a little.
                const uint32_t values[] = {0, 5, 6, 0xFFFFFFFF, 0x7FFFFFFF, next(64)};
                const uint32_t value = values[next(6)];
                for (uint32_t b = 0; b < 4 && at + b < copy.size(); ++b) {
                    copy[at + b] = uint8_t(value >> (8 * b));
                }
            }
        }
        LoadDamaged(target, copy.data(), copy.size(), GetParam().scale,
                    "variant " + std::to_string(v));
    }
}

std::string FixtureName(const testing::TestParamInfo<ModelFixture>& info) {
    std::string name = info.param.model;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Models, DamagedModel, testing::ValuesIn(ReadModelManifest()), FixtureName);

}  // namespace
