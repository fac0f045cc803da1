#include "fileio/alloc_pool.h"

#include <cstdlib>
#include <cstring>

namespace {

// Grows both slot arrays by kPoolSlotStep empty slots; false (pool unchanged) when memory runs
// out.
bool Grow(VAllocPool* pool) {
    const size_t count = static_cast<size_t>(pool->slotCount) + kPoolSlotStep;
    if (count > UINT32_MAX) return false;
    auto* blocks = static_cast<void**>(std::calloc(count, sizeof(void*)));
    auto* sizes = static_cast<size_t*>(std::calloc(count, sizeof(size_t)));
    if (blocks == nullptr || sizes == nullptr) {
        std::free(blocks);
        std::free(sizes);
        return false;
    }
    if (pool->slotCount > 0) {
        std::memcpy(blocks, pool->blocks, pool->slotCount * sizeof(void*));
        std::memcpy(sizes, pool->sizes, pool->slotCount * sizeof(size_t));
    }
    std::free(pool->blocks);
    std::free(pool->sizes);
    pool->blocks = blocks;
    pool->sizes = sizes;
    pool->slotCount = static_cast<uint32_t>(count);
    return true;
}

// Index of the first empty slot, growing the pool when there is none; slotCount on failure.
uint32_t TakeSlot(VAllocPool* pool) {
    for (uint32_t i = 0; i < pool->slotCount; ++i) {
        if (pool->sizes[i] == 0) return i;
    }
    const uint32_t first = pool->slotCount;
    return Grow(pool) ? first : pool->slotCount;
}

}  // namespace

VAllocPool::~VAllocPool() {
    PoolDestroy(this);
}

void PoolDestroy(VAllocPool* pool) {
    std::free(pool->blocks);
    std::free(pool->sizes);
    pool->blocks = nullptr;
    pool->sizes = nullptr;
    pool->slotCount = 0;
}

void* PoolAlloc(VAllocPool* pool, size_t size) {
    if (size == 0 || size > SIZE_MAX - kPoolPrefix) return nullptr;
    const uint32_t slot = TakeSlot(pool);
    if (slot == pool->slotCount) return nullptr;
    auto* block = static_cast<uint8_t*>(std::malloc(size + kPoolPrefix));
    if (block == nullptr) return nullptr;
    std::memcpy(block, &slot, sizeof(slot));
    pool->blocks[slot] = block;
    pool->sizes[slot] = size + kPoolPrefix;
    return block + kPoolPrefix;
}

void PoolFree(VAllocPool* pool, void* pointer) {
    if (pointer == nullptr) return;
    auto* block = static_cast<uint8_t*>(pointer) - kPoolPrefix;
    if (pool->slotCount > 0) {
        uint32_t slot;
        std::memcpy(&slot, block, sizeof(slot));
        if (slot >= pool->slotCount || pool->blocks[slot] != block || pool->sizes[slot] == 0)
            return;
        pool->blocks[slot] = nullptr;
        pool->sizes[slot] = 0;
    }
    std::free(block);
}
