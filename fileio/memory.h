// Memory operations over the platform's block allocator.
#pragma once

#include <cstddef>
#include <cstdint>

// Size 0 returns null without asking the platform; otherwise the platform's allocation.
void* MemAlloc(size_t size);
// Null is ignored.
void MemFree(void* block);

// Copies count bytes. Nothing happens when destination equals source or count is 0. With
// overlapsafe set and the source lying below an overlapping destination, the copy runs back
// to front (a move); otherwise it is a plain forward copy.
void MemCopy(void* destination, const void* source, size_t count, bool overlapsafe);

// Fill count values of 1, 2, 3 or 4 bytes. MemFill24 stores the low, middle and high byte of
// the value in that order.
void MemFill8(void* destination, uint8_t value, size_t count);
void MemFill16(void* destination, uint16_t value, size_t count);
void MemFill24(void* destination, uint32_t value, size_t count);
void MemFill32(void* destination, uint32_t value, size_t count);
