// Fixed-size file records read in blocks, as every model loader hands them to the builder
// operations: a block of whole records at a time, a record cut by the end of the data dropped.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "imaging/loader_base.h"

// Little-endian fields of file records.
inline uint16_t LeU16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}

inline uint32_t LeU32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// A field of a builder record, which the model reads in the machine's own order.
inline void PutI32(uint8_t* p, int32_t value) {
    std::memcpy(p, &value, sizeof(value));
}

// Reads up to total records of recordBytes each from the reader's position into buffer, at
// most perBlock at a time (buffer holds perBlock records), and hands each block's whole
// records to add(count). Stops at the end of the data, or when add returns false.
template <typename Add>
void ReadRecordBlocks(ClassVLoaderBase& reader, uint8_t* buffer, uint32_t total, uint32_t perBlock,
                      uint32_t recordBytes, Add add) {
    for (uint32_t left = total; left > 0;) {
        const uint32_t n = left < perBlock ? left : perBlock;
        const uint32_t before = reader.GetPos();
        const bool read = reader.ReadBlock(buffer, n * recordBytes);
        const uint32_t got = read ? (reader.GetPos() - before) / recordBytes : 0;
        if (got > 0) {
            if constexpr (std::is_same_v<decltype(add(got)), bool>) {
                if (!add(got)) return;
            } else {
                add(got);
            }
        }
        if (got < n) return;
        left -= n;
    }
}
