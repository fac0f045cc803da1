// VJpegHuffmanTable: one Huffman table of a JPEG file (T.81 annex C) and its decoding table.
// Codes of up to 8 bits are resolved by one look-up of a 256-entry table indexed by the next
// eight bits; longer codes continue from there down a binary tree kept in the same array.
#pragma once

#include <cstdint>

class VJpegHuffmanTable {
  public:
    // Entries of the decoding table: 0 no code starts with these bits; above 0 a code, its
    // length in bits 8-12 and its symbol in bits 0-7; below 0 the negated index of a tree node,
    // whose two entries (next bit 0, next bit 1) follow each other.
    static constexpr uint32_t LOOKUP_BITS = 8;
    static constexpr uint32_t LOOKUP_ENTRIES = 1u << LOOKUP_BITS;
    // Canonical codes of at most 256 symbols need fewer than 264 tree nodes below 8 bits.
    static constexpr uint32_t TREE_ENTRIES = 2 * 272;

    // counts[i] codes of length i + 1, the symbols in code order. False for a table whose
    // codes do not fit their lengths (too many codes of one length, or a code of all ones),
    // which no decoder can tell apart; the table is then left undefined.
    bool Define(const uint8_t counts[16], const uint8_t* symbols, uint32_t symbolcount);
    bool Defined() const { return m_defined; }

    // The symbol whose code starts the 16 bits given (most significant first) and the code's
    // length, or -1 when no code matches.
    int32_t Decode(uint32_t next16, uint32_t* length) const {
        int32_t entry = m_table[next16 >> 8];
        if (entry > 0) {
            *length = uint32_t(entry) >> 8;
            return entry & 0xFF;
        }
        for (uint32_t bit = 8; entry < 0 && bit-- > 0;) {
            entry = m_table[-entry + ((next16 >> bit) & 1)];
        }
        if (entry <= 0) return -1;
        *length = uint32_t(entry) >> 8;
        return entry & 0xFF;
    }

  private:
    bool m_defined = false;
    int16_t m_table[LOOKUP_ENTRIES + TREE_ENTRIES] = {};
};
