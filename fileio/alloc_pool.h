// The tracked allocation pool: every block handed out is recorded in a slot until it is freed,
// so the owner can tell which blocks are live. Used for model data and textures.
#pragma once

#include <cstddef>
#include <cstdint>

struct VAllocPool {
    VAllocPool() = default;
    VAllocPool(const VAllocPool&) = delete;
    VAllocPool& operator=(const VAllocPool&) = delete;
    ~VAllocPool();

    // Parallel slot arrays: the block (prefix included) and its size in bytes with the
    // prefix; a size of 0 marks an empty slot.
    void** blocks = nullptr;
    size_t* sizes = nullptr;
    uint32_t slotCount = 0;
};

// Slots the pool takes on first use and adds whenever all are taken.
constexpr uint32_t kPoolSlotStep = 256;

// Bytes in front of every block handed out. The first four hold the slot index; the rest keep
// the caller's address aligned for any type.
constexpr size_t kPoolPrefix = alignof(std::max_align_t);

// Returns size bytes from the program heap, recorded in the first empty slot (the pool grows by
// kPoolSlotStep slots when none is empty). Null for size 0 or when memory runs out.
void* PoolAlloc(VAllocPool* pool, size_t size);

// Frees the two slot arrays (not the blocks still recorded in them) and leaves the pool with no
// slots, ready to be used again. The destructor does the same.
void PoolDestroy(VAllocPool* pool);

// Releases a block from PoolAlloc and empties its slot. Null is ignored, and so is a pointer
// whose slot does not record it (freed already, or from another pool); once the pool has been
// destroyed its remaining blocks can still be released here.
void PoolFree(VAllocPool* pool, void* pointer);
