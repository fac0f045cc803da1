// The block allocator on Windows: fixed global memory blocks.
#include <windows.h>

#include "platform/platform_memory.h"

void* PlatformMemAlloc(size_t size) {
    // A zero-byte request still gets a block of its own, as malloc gives one.
    return GlobalAlloc(GMEM_FIXED, size == 0 ? 1 : size);
}

void PlatformMemFree(void* block) {
    if (block != nullptr) GlobalFree(block);
}
