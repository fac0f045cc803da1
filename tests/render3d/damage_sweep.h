// Damaged model files: each variant lies in a heap block of exactly its size, so the asan
// build catches any read past it; the loader must return a result code and leave a
// consistent model that holds no block it does not account for.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "tests/render3d/fixture_check.h"

constexpr uint32_t kCorruptions = 300;

// One model and its owner for all variants of a file: each load replaces the last model.
struct DamageTarget {
    explicit DamageTarget(const std::string& file) : loader(LoaderFor(FormatOf(file))) {
        model.SetOwner(&owner.services);
    }
    TestOwner owner;
    V3DModel model;
    std::unique_ptr<ClassVLoaderBase> loader;
};

// The blocks a model holds: its four buffers, and with bones their array, the animated
// vertices and each bone's vertex list and keys.
inline size_t ModelBlocks(const V3DModel& model) {
    if (model.FaceCapacity() == 0) return 0;
    size_t blocks = 4;
    if (model.BoneCount() > 0) blocks += 2;
    for (uint32_t b = 0; b < model.BoneCount(); ++b) {
        blocks += (model.Bones()[b].vertices != nullptr) + (model.Bones()[b].keys != nullptr);
    }
    return blocks;
}

inline void LoadDamaged(DamageTarget& t, const uint8_t* data, size_t size, int scale,
                        const std::string& what) {
    std::unique_ptr<uint8_t[]> block(new uint8_t[size == 0 ? 1 : size]);
    std::copy(data, data + size, block.get());
    const uint32_t r =
        t.loader->LoadModel(&t.model, block.get(), uint32_t(size), uint32_t(scale), 0);
    ASSERT_TRUE(r == 0 || r == 1 || r == 3 || r == 4) << what << ": result " << r;
    const V3DModel& model = t.model;
    ASSERT_LE(model.GetFaceCount(), model.FaceCapacity()) << what;
    ASSERT_LE(model.VertexCount(), model.VertexCapacity()) << what;
    for (uint32_t i = 0; i < 3 * model.GetFaceCount(); ++i) {
        ASSERT_LT(model.Faces()[i], model.VertexCapacity()) << what << ": face corner " << i;
    }
    ASSERT_EQ(t.owner.memory.Live(), ModelBlocks(model)) << what << ": a block lost";
}

// Loads every truncation of a model file.
inline void LoadEveryTruncation(const std::vector<uint8_t>& data, const std::string& file,
                                int scale) {
    ASSERT_FALSE(data.empty());
    DamageTarget target(file);
    for (size_t length = 0; length < data.size(); ++length) {
        LoadDamaged(target, data.data(), length, scale, "cut at " + std::to_string(length));
    }
}

// Loads kCorruptions variants of a model file with a few bytes or 32-bit fields damaged.
inline void LoadCorruptions(const std::vector<uint8_t>& data, const std::string& file, int scale) {
    ASSERT_FALSE(data.empty());
    DamageTarget target(file);
    uint32_t seed = 54321;
    auto next = [&seed](uint32_t bound) {
        seed = seed * 1103515245 + 12345;
        return (seed >> 8) % bound;
    };
    for (uint32_t v = 0; v < kCorruptions; ++v) {
        std::vector<uint8_t> copy = data;
        // Sizes and counts decide where a reader goes: half of the damage writes a 32-bit value
        // that is tiny, huge or a little off over any four bytes (a chunk length, a count and
        // its neighbour), half a random byte anywhere.
        const uint32_t damage = 1 + next(4);
        for (uint32_t k = 0; k < damage; ++k) {
            const uint32_t at = next(uint32_t(copy.size()));
            if (v & 1) {
                copy[at] = uint8_t(next(256));
            } else {
                const uint32_t values[] = {0, 5, 6, 0xFFFFFFFF, 0x7FFFFFFF, next(64)};
                const uint32_t value = values[next(6)];
                for (uint32_t b = 0; b < 4 && at + b < copy.size(); ++b) {
                    copy[at + b] = uint8_t(value >> (8 * b));
                }
            }
        }
        LoadDamaged(target, copy.data(), copy.size(), scale, "variant " + std::to_string(v));
    }
}
