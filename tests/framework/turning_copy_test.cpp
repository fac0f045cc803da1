// The present's copy against a pixel-by-pixel reference, for layouts that take each of its
// paths: one block, rows, backward rows, columns and tiles, and the clearing walk.
#include "framework/turning_copy.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr uint32_t kW = 37;  // more than one tile wide, not a multiple of it
constexpr uint32_t kH = 35;

// A layout of a kW × kH logical picture in a buffer: upright, mirrored or turned, with pitch
// padding in bytes.
struct Layout {
    uint8_t turns;  // 0 to 3
    bool mirrored;  // x runs backwards after the turn
    uint32_t pad;
};

VPixelWalk Walk(const Layout& l, std::vector<uint8_t>& memory, uint32_t bytes) {
    const bool swapped = l.turns % 2 != 0;
    const uint32_t pw = swapped ? kH : kW, ph = swapped ? kW : kH;
    const int32_t sx = int32_t(bytes), sy = int32_t(pw * bytes + l.pad);
    memory.assign(size_t(sy) * ph, 0xEE);
    uint8_t* m = memory.data();
    VPixelWalk w{m, sx, sy};
    if (l.turns == 1) w = {m + (pw - 1) * sx, sy, -sx};
    if (l.turns == 2) w = {m + (ph - 1) * sy + (pw - 1) * sx, -sx, -sy};
    if (l.turns == 3) w = {m + (ph - 1) * sy, -sy, sx};
    if (l.mirrored) {
        w.origin += intptr_t(kW - 1) * w.xstep;
        w.xstep = -w.xstep;
    }
    return w;
}

struct CopyCase {
    Layout from, to;
};

class Copy : public testing::TestWithParam<CopyCase> {};

TEST_P(Copy, MatchesThePixelWalk) {
    const CopyCase& c = GetParam();
    for (uint32_t bytes = 1; bytes <= 4; ++bytes) {
        std::vector<uint8_t> src, dst, expect;
        const VPixelWalk s = Walk(c.from, src, bytes);
        for (size_t i = 0; i < src.size(); ++i) src[i] = uint8_t(i * 31 + i / 7);
        const VPixelWalk d = Walk(c.to, dst, bytes);
        const VPixelWalk e = Walk(c.to, expect, bytes);
        for (uint32_t y = 0; y < kH; ++y)
            for (uint32_t x = 0; x < kW; ++x)
                for (uint32_t b = 0; b < bytes; ++b)
                    e.origin[intptr_t(x) * e.xstep + intptr_t(y) * e.ystep + b] =
                        s.origin[intptr_t(x) * s.xstep + intptr_t(y) * s.ystep + b];
        TurningCopy(s, d, kW, kH, bytes);
        EXPECT_EQ(dst, expect) << bytes << " bytes";  // padding untouched too

        std::vector<uint8_t> cleared;
        const VPixelWalk z = Walk(c.to, cleared, bytes);
        TurningCopy(VPixelWalk{}, z, kW, kH, bytes);
        for (uint32_t y = 0; y < kH; ++y)
            for (uint32_t x = 0; x < kW; ++x)
                ASSERT_EQ(z.origin[intptr_t(x) * z.xstep + intptr_t(y) * z.ystep], 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    TurningCopy, Copy,
    testing::Values(CopyCase{{0, false, 0}, {0, false, 0}},   // one block
                    CopyCase{{0, false, 8}, {0, false, 0}},   // rows, source padded
                    CopyCase{{2, false, 0}, {2, false, 0}},   // one block, backwards
                    CopyCase{{2, false, 4}, {2, false, 12}},  // backward rows
                    CopyCase{{0, true, 0}, {0, true, 4}},     // mirrored rows
                    CopyCase{{1, false, 0}, {1, false, 8}},   // columns
                    CopyCase{{3, false, 0}, {3, false, 0}},   // one block along y
                    CopyCase{{0, false, 0}, {1, false, 0}},   // tiles, turned a quarter
                    CopyCase{{0, false, 4}, {2, false, 0}},   // tiles, half a turn
                    CopyCase{{1, false, 0}, {3, true, 8}}));  // tiles, turned and mirrored

}  // namespace
