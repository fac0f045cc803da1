#include "fileio/alloc_pool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// The slot a live pointer occupies, found by its recorded block.
int64_t SlotOf(const VAllocPool& pool, const void* pointer) {
    for (uint32_t i = 0; i < pool.slotCount; ++i) {
        if (pool.sizes[i] != 0 &&
            static_cast<const uint8_t*>(pool.blocks[i]) + kPoolPrefix == pointer) {
            return i;
        }
    }
    return -1;
}

}  // namespace

TEST(PoolAlloc, SizeZeroIsNullAndTakesNoSlots) {
    VAllocPool pool;
    EXPECT_EQ(PoolAlloc(&pool, 0), nullptr);
    EXPECT_EQ(pool.slotCount, 0u);
}

TEST(PoolAlloc, RecordsBlocksAndReusesFreedSlots) {
    VAllocPool pool;
    void* a = PoolAlloc(&pool, 10);
    void* b = PoolAlloc(&pool, 20);
    void* c = PoolAlloc(&pool, 30);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(pool.slotCount, kPoolSlotStep);
    EXPECT_EQ(SlotOf(pool, a), 0);
    EXPECT_EQ(SlotOf(pool, b), 1);
    EXPECT_EQ(pool.sizes[1], 20 + kPoolPrefix);
    // Blocks are usable for any type.
    EXPECT_EQ(reinterpret_cast<uintptr_t>(b) % alignof(std::max_align_t), 0u);

    PoolFree(&pool, b);
    EXPECT_EQ(pool.sizes[1], 0u);
    EXPECT_EQ(pool.sizes[0], 10 + kPoolPrefix);
    EXPECT_EQ(pool.sizes[2], 30 + kPoolPrefix);
    void* d = PoolAlloc(&pool, 40);
    EXPECT_EQ(SlotOf(pool, d), 1);

    PoolFree(&pool, a);
    PoolFree(&pool, c);
    PoolFree(&pool, d);
    PoolFree(&pool, nullptr);
}

TEST(PoolAlloc, GrowsWhenEverySlotIsTaken) {
    VAllocPool pool;
    std::vector<void*> blocks;
    for (uint32_t i = 0; i < kPoolSlotStep + 1; ++i) blocks.push_back(PoolAlloc(&pool, 1));
    EXPECT_EQ(pool.slotCount, 2 * kPoolSlotStep);
    // The records of the first slots survived the move into the larger arrays.
    EXPECT_EQ(SlotOf(pool, blocks[0]), 0);
    EXPECT_EQ(SlotOf(pool, blocks[kPoolSlotStep]), kPoolSlotStep);
    for (void* block : blocks) PoolFree(&pool, block);
    for (uint32_t i = 0; i < pool.slotCount; ++i) EXPECT_EQ(pool.sizes[i], 0u);
}

TEST(PoolFree, IgnoresAPointerFromAnotherPool) {
    VAllocPool mine, other;
    void* a = PoolAlloc(&mine, 8);
    void* b = PoolAlloc(&other, 8);
    // a's prefix names slot 0, which in the other pool records b: nothing is emptied or freed.
    PoolFree(&other, a);
    EXPECT_EQ(SlotOf(other, b), 0);
    EXPECT_EQ(SlotOf(mine, a), 0);
    PoolFree(&mine, a);
    PoolFree(&other, b);
}

TEST(PoolDestroy, KeepsBlocksReleasable) {
    VAllocPool pool;
    void* a = PoolAlloc(&pool, 16);
    PoolDestroy(&pool);
    EXPECT_EQ(pool.slotCount, 0u);
    EXPECT_EQ(pool.blocks, nullptr);
    PoolFree(&pool, a);  // released without a slot to empty (leak-checked under asan)
}
