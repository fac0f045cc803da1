// VJpegInput: the bytes of a JPEG file as the decoder reads them, through a 4096-byte buffer
// refilled from a loader's reader. After the last byte of the data the buffer is filled with
// end-of-image markers (0xFF 0xD9 pairs), so anything that reads past the data ends in a
// marker, never in other memory.
//
// The same buffer feeds the bit reader of the entropy-coded segments: stuffed zero bytes after
// 0xFF are dropped, and at a marker no byte is taken and zero bits are supplied instead. Those
// zero bits are counted, so a scan can tell that it used bits its data did not have.
#pragma once

#include <cstdint>
#include <cstring>

#include "imaging/loader_base.h"

class VJpegInput {
  public:
    static constexpr uint32_t BLOCK_SIZE = 4096;
    static constexpr uint32_t END_MARKERS = 64;

    // Reads from source's position on; dataend is the size of source's block.
    void Start(ClassVLoaderBase* source, uint32_t dataend);

    // Bytes of segments. Past the data they are end-of-image markers.
    uint8_t ReadByte() {
        if (m_pos == m_end) Fill();
        return m_buffer[m_pos++];
    }
    uint32_t ReadWord() {
        const uint32_t high = ReadByte();
        return high << 8 | ReadByte();
    }
    void Skip(uint32_t count);
    // True once a byte beyond the data has been read by ReadByte or Skip.
    bool PastEnd() const { return uint64_t(m_base) + m_pos > m_dataend; }

    // Skips to the next marker: bytes up to a 0xFF, further 0xFF fill bytes, and the first
    // byte after them that is not 0 (an 0xFF 0x00 pair is data). Returns the marker's second
    // byte, or 0 when more than limit bytes lie before it. An entropy-coded segment that
    // follows starts with an empty bit buffer.
    uint8_t NextMarker(uint32_t limit);

    // The bit buffer of an entropy-coded segment. A decoder keeps it in a variable of its
    // own while it decodes, so that it can stay in registers, and hands it to Refill.
    struct Bits {
        uint64_t buffer = 0;  // the next bit is the most significant
        uint32_t count = 0;

        uint32_t Peek16() const { return uint32_t(buffer >> 48); }
        void Drop(uint32_t n) {
            buffer <<= n;
            count -= n;
        }
        // n 1 to 16 bits as an unsigned number.
        uint32_t Take(uint32_t n) {
            const uint32_t v = uint32_t(buffer >> (64 - n));
            Drop(n);
            return v;
        }
    };
    // At least 32 bits are buffered after this.
    void NeedBits(Bits& bits) {
        if (bits.count < 32) bits = Refill(bits);
    }
    // True when some of the zero bits supplied at a marker have been used.
    bool UsedMissingBits(const Bits& bits) const { return bits.count < m_zerobits; }

  private:
    void Fill();
    Bits Refill(Bits bits);

    ClassVLoaderBase* m_source = nullptr;
    uint32_t m_dataend = 0;
    uint32_t m_base = 0;  // offset in the data of m_buffer[0]
    uint32_t m_pos = 0;
    uint32_t m_end = 0;
    bool m_exhausted = false;
    uint32_t m_zerobits = 0;  // zero bits supplied at a marker since the segment began
    // Fill keeps up to 7 unread bytes and appends a block or the end markers after them.
    uint8_t m_buffer[8 + BLOCK_SIZE + 8];
};
