// Scene 3's mosaic cells: which three cells the quads show and how much of each, frame by
// frame around a cell change and around the wrap after the last cell. The expected values are
// worked out by hand from the timeline: a change starts at every f that is a multiple of 250
// (sound 2, shrink countdown 50), the cell index moves on when the shrink ends, and the grow
// countdown then runs from 49 to 0.
#include <gtest/gtest.h>

#include <vector>

#include "tests/app/demo_harness.h"

namespace {

constexpr int64_t kScene3 = 3500;  // run frame of scene 3's f = 0

TEST(Scene3Cells, CountdownsAndCellIndexAroundTheChanges) {
    DemoRunOptions options;
    options.frames = uint32_t(kScene3 + 3400);
    options.keepStates = true;
    DemoRun run(options);
    ASSERT_EQ(run.Run(), 0u);
    struct Case {
        int32_t f;
        int32_t cellIndex, shrink, grow;
        int32_t side;  // the side of the texture square each quad shows
    };
    const Case cases[] = {
        {1, 0, 0, 0, 128},      // both countdowns 0: whole 128 × 128 cells
        {249, 0, 0, 0, 128},    //
        {250, 0, 0, 0, 128},    // the change is started at the end of this frame
        {251, 0, 50, 0, 128},   // shrinking: 50 × 128 / 50
        {275, 0, 26, 0, 66},    // 26 × 128 / 50 = 66.56, truncated
        {300, 0, 1, 0, 2},      // the last shrinking frame
        {301, 1, 0, 49, 2},     // the next cells, growing: (50 − 49) × 128 / 50
        {349, 1, 0, 1, 125},    //
        {350, 1, 0, 0, 128},    // whole again
        {3051, 12, 0, 49, 2},   // the twelfth change: cells 12, 0, 1
        {3100, 12, 0, 0, 128},  //
        {3300, 12, 1, 0, 2},    //
        {3301, 0, 0, 49, 2},    // after 12 comes 0: cells 0, 1, 2 again
        {3399, 0, 0, 0, 128},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.f);
        const VSceneState& s = run.States().at(size_t(kScene3 + c.f));
        ASSERT_EQ(s.scene, 3);
        ASSERT_EQ(s.frame, c.f);
        EXPECT_EQ(s.cellIndex, c.cellIndex);
        EXPECT_EQ(s.shrink, c.shrink);
        EXPECT_EQ(s.grow, c.grow);
        const int32_t side = s.grow != 0     ? (50 - s.grow) * 128 / 50
                             : s.shrink != 0 ? s.shrink * 128 / 50
                                             : 128;
        EXPECT_EQ(side, c.side);
    }
}

}  // namespace
