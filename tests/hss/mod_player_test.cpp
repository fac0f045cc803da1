#include "hss/mod_player.h"

#include <gtest/gtest.h>

#include <vector>

#include "hss/hss.h"
#include "tests/hss/test_data.h"

namespace {

constexpr size_t kPatterns = 1084;

TEST(ModPlayer, LoopingSongStartsAgainFromItsRestartOrder) {
    std::vector<uint8_t> bytes = hsstest::DataFile("jump_break.mod");
    hss::ModModule* m = nullptr;
    ASSERT_EQ(hss::ParseModule(bytes.data(), bytes.size(), &m), HSS_OK);
    hss::ModPlayer player(m);
    player.SetLoop(true);
    // jump_break ends by jumping back to order 0: looping, the song carries on there.
    uint64_t rows = 0;
    for (int tick = 0; tick < 20000 && rows < 300; ++tick) {
        ASSERT_GT(player.StepTick(), 0u);
        rows = player.RowsPlayed();
    }
    EXPECT_GE(rows, 300u);
    EXPECT_FALSE(player.Ended());
    hss::FreeModule(m);
}

TEST(ModPlayer, LoopingSongGoesOnFromTheRestartOrderAfterTheLastOrder) {
    std::vector<uint8_t> bytes = hsstest::DataFile("arpeggio.mod");
    bytes[950] = 2;  // two orders, both pattern 0
    bytes[951] = 1;  // restart at the second
    hss::ModModule* m = nullptr;
    ASSERT_EQ(hss::ParseModule(bytes.data(), bytes.size(), &m), HSS_OK);
    hss::ModPlayer player(m);
    player.SetLoop(true);
    while (player.RowsPlayed() < 128) ASSERT_GT(player.StepTick(), 0u);
    EXPECT_EQ(player.Order(), 1);
    while (player.RowsPlayed() < 129) ASSERT_GT(player.StepTick(), 0u);
    EXPECT_EQ(player.Order(), 1) << "after the last order, the restart order";
    EXPECT_EQ(player.Row(), 0);

    hss::ModPlayer once(m);
    uint64_t ticks = 0;
    while (once.StepTick() > 0) ++ticks;
    EXPECT_EQ(once.RowsPlayed(), 128u);
    EXPECT_EQ(ticks, 128u * 4) << "speed 4 throughout";
    hss::FreeModule(m);
}

// Random pattern data (every effect with every parameter, notes of any period, samples that
// do not exist) plays without reading outside the module, and every song ends or loops.
TEST(ModPlayer, PlaysRandomPatternsSafely) {
    const std::vector<uint8_t> good = hsstest::DataFile("song.mod");
    uint32_t seed = 7;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    std::vector<int32_t> buffer(2 * 4096);
    for (int round = 0; round < 40; ++round) {
        std::vector<uint8_t> bytes = good;
        for (size_t i = kPatterns; i < kPatterns + 3 * 1024; ++i)
            if (next() % 3 == 0) bytes[i] = uint8_t(next());
        hss::ModModule* m = nullptr;
        ASSERT_EQ(hss::ParseModule(bytes.data(), bytes.size(), &m), HSS_OK);
        hss::ModPlayer player(m);
        player.SetRate(8000);
        player.SetInterpolation(round % 2 == 0);
        int chunks = 0;
        while (player.Render(buffer.data(), 4096) == 4096 && ++chunks < 200) {
        }
        hss::FreeModule(m);
    }
}

}  // namespace
