#include "platform/platform_memory.h"

#include <cstdlib>

void* PlatformMemAlloc(size_t size) {
    return std::malloc(size);
}

void PlatformMemFree(void* block) {
    std::free(block);
}
