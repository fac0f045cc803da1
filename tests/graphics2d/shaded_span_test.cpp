// The run-filling shaded span against the pixel-by-pixel rule in every format: same spans,
// identical bytes, nothing written past the span.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "graphics2d/display_palette.h"
#include "graphics2d/pixel_format.h"
#include "graphics2d/polygon_span_loops.h"

namespace {

struct SpanCase {
    const char* what;
    int64_t value[3];
    int64_t step[3];
    uint32_t count;
};

// Whole parts met exactly, steps that divide 1024, values leaving 0..255 at either end (the
// rule clamps them), and the full-width rows of a vertical gradient (steps 0 or nearly).
const SpanCase kCases[] = {
    {"flat", {100 << 10, 50 << 10, 7 << 10}, {0, 0, 0}, 240},
    {"boundary up", {(9 << 10) - 1, 10 << 10, 0}, {1, 0, 0}, 5},
    {"boundary down", {9 << 10, 10 << 10, 0}, {0, -1, 0}, 5},
    {"divides 1024", {0, 1 << 10, 2 << 10}, {256, -256, 128}, 64},
    {"above 255", {(255 << 10) + 900, 0, 0}, {100, 0, 0}, 40},
    {"below 0", {-3000, 0, 0}, {150, 0, 0}, 60},
    {"steep", {0, 0, 255 << 10}, {5000, 1024, -3000}, 50},
    {"gradient row", {80 << 10, 80 << 10, 80 << 10}, {1, -2, 1}, 240},
    {"one pixel", {123456, 234567, 34567}, {-7, 9, 11}, 1},
};

template <class T>
void CheckRunsMatchTheRule(const uint8_t* inverse) {
    std::mt19937 rng(uint32_t(T::kCode) * 7919u);
    std::vector<SpanCase> cases(std::begin(kCases), std::end(kCases));
    for (int i = 0; i < 400; ++i) {
        SpanCase c{"random", {}, {}, uint32_t(1 + rng() % 300)};
        for (int k = 0; k < 3; ++k) {
            c.value[k] = int64_t(rng() % (270 << 10)) - 5000;
            const int64_t reach = (i % 3 == 0) ? 1024 : (i % 3 == 1) ? 64 : 3;
            c.step[k] = int64_t(rng() % (2 * reach + 1)) - reach;
        }
        cases.push_back(c);
    }
    constexpr uint8_t kMargin = 0xA5;
    for (const SpanCase& c : cases) {
        VSpan s;
        s.row = 3;
        s.left = 0;
        s.right = int32_t(c.count) - 1;
        for (int k = 0; k < 3; ++k) s.value[k] = c.value[k], s.step[k] = c.step[k];
        std::vector<uint8_t> rule((c.count + 2) * T::kBytes, kMargin), runs = rule;
        ShadedSpanPixels<T>(rule.data() + T::kBytes, s, false, inverse);
        ShadedSpanRuns<T>(runs.data() + T::kBytes, s, inverse);
        ASSERT_EQ(runs, rule) << "format " << int(T::kCode) << ", " << c.what << " span of "
                              << c.count << " from " << c.value[0] << "/" << c.value[1] << "/"
                              << c.value[2] << " by " << c.step[0] << "/" << c.step[1] << "/"
                              << c.step[2];
        // The dispatcher keeps the rule for dithered spans, whose pixels depend on position.
        std::vector<uint8_t> ditheredRule = rule, dithered = rule;
        ShadedSpanPixels<T>(ditheredRule.data() + T::kBytes, s, true, inverse);
        ShadedSpan<T>(dithered.data() + T::kBytes, s, true, inverse);
        ASSERT_EQ(dithered, ditheredRule) << "format " << int(T::kCode) << ", " << c.what;
    }
}

TEST(ShadedSpan, RunsGiveTheRulesBytesInEveryFormat) {
    VDisplayPalette palette;
    uint32_t entries[256];
    for (uint32_t i = 0; i < 256; ++i) entries[i] = (i * 0x010307u) & 0xFFFFFF;
    palette.SetEntries(entries, 0, 256);
    const uint8_t* inverse = palette.InverseTable();
    ASSERT_NE(inverse, nullptr);
    CheckRunsMatchTheRule<VFormat8>(inverse);
    CheckRunsMatchTheRule<VFormat444>(inverse);
    CheckRunsMatchTheRule<VFormat555>(inverse);
    CheckRunsMatchTheRule<VFormat565>(inverse);
    CheckRunsMatchTheRule<VFormat888>(inverse);
    CheckRunsMatchTheRule<VFormatX888>(inverse);
}

}  // namespace
