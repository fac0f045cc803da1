// A model memory service for the model fuzz targets that refuses more than 8 MiB in all, so
// that out-of-memory paths are reached too and no input can exhaust the fuzzer's memory.
#pragma once

#include <cstddef>
#include <cstdlib>

#include "render3d/model_services.h"

class CappedMemory final : public V3DMemory {
  public:
    void* Allocate(size_t size) override {
        if (size > kCap - used_) return nullptr;
        auto* block = static_cast<size_t*>(std::malloc(size + sizeof(size_t)));
        if (block == nullptr) return nullptr;
        *block = size;
        used_ += size;
        return block + 1;
    }
    void Release(void* p) override {
        if (p == nullptr) return;
        size_t* block = static_cast<size_t*>(p) - 1;
        used_ -= *block;
        std::free(block);
    }

  private:
    static constexpr size_t kCap = size_t(8) << 20;
    size_t used_ = 0;
};
