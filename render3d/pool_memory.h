// V3DPoolMemory: the memory service of models over the application's tracked allocation pool,
// so that every live model buffer is recorded in the pool.
#pragma once

#include "fileio/alloc_pool.h"
#include "render3d/model_services.h"

class V3DPoolMemory final : public V3DMemory {
  public:
    explicit V3DPoolMemory(VAllocPool& pool) : pool_(pool) {}
    void* Allocate(size_t size) override { return PoolAlloc(&pool_, size); }
    void Release(void* block) override { PoolFree(&pool_, block); }

  private:
    VAllocPool& pool_;
};
