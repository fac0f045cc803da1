// The lighting of one colour and the depth sort, on their own.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "render3d/depth_sort.h"
#include "render3d/shade_colour.h"

namespace {

struct ShadeCase {
    const char* name;
    int32_t direction[3];
    uint32_t ambient, diffuse;
    int32_t normal[3];
    uint32_t base;
    uint32_t expected;
};

// Worked by hand per channel: (base × 13107 + ambient × base << 8 + (diffuse × d / 256) × base)
// limited to 0xFFFFFF, >> 16, with d = (Lx·nx + Ly·ny - Lz·nz) >> 7.
const ShadeCase kShadeCases[] = {
    // d = 45056: (255 × 13107 + 44880 × 255) >> 16 = 225.
    {"DefaultLightFacingNormal", {0, 0, -65536}, 0, 0xFFFFFF, {0, 0, 88}, 0xFFFFFF, 0xE1E1E1},
    // d = 90112 is limited to 65535: the sum passes 0xFFFFFF and is limited to 255.
    {"SetLightLengthIsLimited", {0, 0, -131072}, 0, 0xFFFFFF, {0, 0, 88}, 0xFFFFFF, 0xFFFFFF},
    // d < 0: only the floor of a fifth, (255 × 13107) >> 16 = 50.
    {"TurnedAwayKeepsTheFloor", {0, 0, -65536}, 0, 0xFFFFFF, {0, 0, -88}, 0xFFFFFF, 0x323232},
    // Red: 255 × 13107 + (128 × 255) << 8 = 11698125, >> 16 = 178; the other channels are 0.
    {"AmbientOnly", {0, 0, 65536}, 0x000080, 0, {0, 0, 88}, 0x0000FF, 0x0000B2},
    // A blue diffuse lights only the blue of the base: green keeps its floor, 50.
    {"DiffuseChannelByChannel", {0, 0, -65536}, 0, 0xFF0000, {0, 0, 88}, 0xFFFF00, 0xE13200},
};

class Shade : public testing::TestWithParam<ShadeCase> {};

TEST_P(Shade, MatchesTheWorkedFigure) {
    const ShadeCase& c = GetParam();
    const V3DLightTerm light{
        {c.direction[0], c.direction[1], c.direction[2]}, c.ambient, c.diffuse};
    EXPECT_EQ(ShadeColour(c.normal, c.base, &light, 1), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Renderer, Shade, testing::ValuesIn(kShadeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Renderer, ShadeWithoutLightsIsTheBaseColour) {
    const int32_t n[3] = {0, 0, 88};
    EXPECT_EQ(ShadeColour(n, 0x123456, nullptr, 0), 0x123456u);
}

TEST(Renderer, DepthSortOrdersWholeKeysInPlace) {
    std::mt19937 random(7);
    for (uint32_t count : {0u, 1u, 2u, 3u, 17u, 1000u}) {
        std::vector<V3DSortEntry> entries(count);
        for (uint32_t i = 0; i < count; ++i) {
            const int32_t extremes[] = {INT32_MIN, INT32_MAX, 0, -1, 65536, -65536};
            entries[i] = {i, i % 7 == 0 ? extremes[(i / 7) % 6] : int32_t(random())};
        }
        std::vector<V3DSortEntry> expected = entries;
        SortByDepth(entries.data(), count);
        EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end(),
                                   [](const auto& a, const auto& b) { return a.key < b.key; }));
        // Every entry is still there with its own key.
        std::vector<bool> seen(count);
        for (const V3DSortEntry& e : entries) {
            ASSERT_LT(e.index, count);
            EXPECT_FALSE(seen[e.index]);
            seen[e.index] = true;
            EXPECT_EQ(e.key, expected[e.index].key);
        }
    }
}

}  // namespace
