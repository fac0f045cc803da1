#include "imaging/jpeg_huffman.h"

#include <cstring>

bool VJpegHuffmanTable::Define(const uint8_t counts[16], const uint8_t* symbols,
                               uint32_t symbolcount) {
    m_defined = false;
    std::memset(m_table, 0, sizeof(m_table));
    uint32_t nextnode = LOOKUP_ENTRIES;
    uint32_t code = 0, s = 0;
    for (uint32_t length = 1; length <= 16; ++length, code <<= 1) {
        for (uint32_t n = 0; n < counts[length - 1]; ++n, ++code, ++s) {
            // Canonical codes count up within a length; the last may not be all ones.
            if (s >= symbolcount || code + 1 >= (1u << length)) return false;
            const int16_t leaf = int16_t(length << 8 | symbols[s]);
            if (length <= LOOKUP_BITS) {
                const uint32_t first = code << (LOOKUP_BITS - length);
                const uint32_t last = (code + 1) << (LOOKUP_BITS - length);
                for (uint32_t i = first; i < last; ++i) m_table[i] = leaf;
                continue;
            }
            // Down the tree from the entry of the code's first eight bits, one bit per level.
            int16_t* entry = &m_table[code >> (length - LOOKUP_BITS)];
            for (uint32_t bit = length - LOOKUP_BITS; bit-- > 0;) {
                if (*entry == 0) {
                    if (nextnode + 2 > LOOKUP_ENTRIES + TREE_ENTRIES) return false;
                    *entry = int16_t(-int32_t(nextnode));
                    nextnode += 2;
                }
                entry = &m_table[-*entry + ((code >> bit) & 1)];
            }
            *entry = leaf;
        }
    }
    m_defined = true;
    return true;
}
