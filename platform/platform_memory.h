// The operating system's block allocator, the lowest level under the framework's MemAlloc.
#pragma once

#include <cstddef>

// Returns a block of at least size bytes, or null when none is available.
void* PlatformMemAlloc(size_t size);
// Releases a block from PlatformMemAlloc; null is ignored.
void PlatformMemFree(void* block);
