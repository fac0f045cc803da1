// VDecodeBuffer: working memory of one decode, taken from the framework's allocator and given
// back when the buffer goes out of scope, so every early return of a decoder frees it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fileio/memory.h"

class VDecodeBuffer {
  public:
    VDecodeBuffer() = default;
    VDecodeBuffer(const VDecodeBuffer&) = delete;
    VDecodeBuffer& operator=(const VDecodeBuffer&) = delete;
    ~VDecodeBuffer() { MemFree(m_data); }

    // Replaces any earlier block with size bytes, zero-filled unless the caller is about to
    // write every byte; false when the allocator has no block of that size (size 0 counts as
    // a failure: a decoder never needs an empty buffer).
    bool Allocate(uint64_t size, bool zerofill = true) {
        Release();
        if (size == 0 || size > SIZE_MAX) return false;
        m_data = static_cast<uint8_t*>(MemAlloc(size_t(size)));
        if (m_data == nullptr) return false;
        if (zerofill) std::memset(m_data, 0, size_t(size));
        m_size = size_t(size);
        return true;
    }
    void Release() {
        MemFree(m_data);
        m_data = nullptr;
        m_size = 0;
    }
    uint8_t* Data() const { return m_data; }
    size_t Size() const { return m_size; }

  private:
    uint8_t* m_data = nullptr;
    size_t m_size = 0;
};
