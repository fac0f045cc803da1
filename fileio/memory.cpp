#include "fileio/memory.h"

#include <cstring>

#include "platform/platform_memory.h"

void* MemAlloc(size_t size) {
    return size == 0 ? nullptr : PlatformMemAlloc(size);
}

void MemFree(void* block) {
    if (block != nullptr) PlatformMemFree(block);
}

void MemCopy(void* destination, const void* source, size_t count, bool overlapsafe) {
    if (destination == source || count == 0) return;
    auto* d = static_cast<uint8_t*>(destination);
    auto* s = static_cast<const uint8_t*>(source);
    if (overlapsafe && s < d && d < s + count) {
        std::memmove(d, s, count);
        return;
    }
    // A plain forward copy: with overlapping blocks the result is what a byte-by-byte forward
    // walk gives, which memcpy does not promise.
    if (d < s + count && s < d + count) {
        for (size_t i = 0; i < count; ++i) d[i] = s[i];
        return;
    }
    std::memcpy(d, s, count);
}

void MemFill8(void* destination, uint8_t value, size_t count) {
    std::memset(destination, value, count);
}

void MemFill16(void* destination, uint16_t value, size_t count) {
    if ((value & 0xFF) == (value >> 8)) {
        std::memset(destination, value & 0xFF, count * 2);
        return;
    }
    auto* d = static_cast<uint8_t*>(destination);
    for (size_t i = 0; i < count; ++i) std::memcpy(d + i * 2, &value, 2);
}

void MemFill24(void* destination, uint32_t value, size_t count) {
    const uint8_t b0 = value & 0xFF, b1 = (value >> 8) & 0xFF, b2 = (value >> 16) & 0xFF;
    auto* d = static_cast<uint8_t*>(destination);
    if (b0 == b1 && b1 == b2) {
        std::memset(d, b0, count * 3);
        return;
    }
    for (size_t i = 0; i < count; ++i, d += 3) {
        d[0] = b0;
        d[1] = b1;
        d[2] = b2;
    }
}

void MemFill32(void* destination, uint32_t value, size_t count) {
    const uint8_t b0 = value & 0xFF;
    if (value == b0 * 0x01010101u) {
        std::memset(destination, b0, count * 4);
        return;
    }
    auto* d = static_cast<uint8_t*>(destination);
    for (size_t i = 0; i < count; ++i) std::memcpy(d + i * 4, &value, 4);
}
