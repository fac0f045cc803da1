#include "imaging/gif_lzw.h"

#include <cstring>

#include "imaging/decode_buffer.h"
#include "imaging/loader_base.h"

namespace {

constexpr uint32_t MAX_CODES = 4096;
constexpr uint32_t MAX_CODE_SIZE = 12;

// Codes are packed least significant bit first into the bytes of the sub-blocks; the bytes
// are gathered without their size bytes first, so the code reader runs over one array.
class CodeReader {
  public:
    CodeReader(const uint8_t* bytes, uint32_t count) : m_bytes(bytes), m_count(count) {}

    // False when fewer than size bits are left.
    bool Read(uint32_t size, uint32_t* code) {
        while (m_bits <= 56 && m_pos < m_count) {
            m_buffer |= uint64_t(m_bytes[m_pos++]) << m_bits;
            m_bits += 8;
        }
        if (m_bits < size) return false;
        *code = uint32_t(m_buffer) & ((1u << size) - 1);
        m_buffer >>= size;
        m_bits -= size;
        return true;
    }

  private:
    const uint8_t* m_bytes;
    uint32_t m_count;
    uint32_t m_pos = 0;
    uint64_t m_buffer = 0;
    uint32_t m_bits = 0;
};

uint32_t GatherSubBlocks(const uint8_t* data, uint32_t length, uint8_t* out) {
    uint32_t pos = 0, filled = 0;
    while (pos < length) {
        const uint32_t block = data[pos++];
        if (block == 0) break;
        const uint32_t n = block < length - pos ? block : length - pos;
        std::memcpy(out + filled, data + pos, n);
        filled += n;
        pos += n;
    }
    return filled;
}

// Copies a string of the output to the output position, clipped at the end of the buffer.
inline void CopyString(uint8_t* out, uint32_t outsize, uint32_t from, uint32_t to,
                       uint32_t length) {
    if (to >= outsize) return;
    if (length > outsize - to) length = outsize - to;
    if (length <= 16) {
        for (uint32_t i = 0; i < length; ++i) out[to + i] = out[from + i];
    } else {
        std::memcpy(out + to, out + from, length);
    }
}

}  // namespace

uint32_t GifDecompress(const uint8_t* data, uint32_t length, uint8_t mincodesize, uint8_t* out,
                       uint32_t outsize) {
    // Literal codes must fit a byte.
    if (mincodesize < 1 || mincodesize > 8) return VLOAD_DAMAGED;
    if (data == nullptr || length == 0) return VLOAD_DAMAGED;

    // The string table keeps each entry as an (offset, length) of bytes already output.
    VDecodeBuffer offsets, lengths, bytes;
    if (!offsets.Allocate(MAX_CODES * sizeof(uint32_t), false) ||
        !lengths.Allocate(MAX_CODES * sizeof(uint32_t), false) || !bytes.Allocate(length, false)) {
        return VLOAD_OUTOFMEMORY;
    }
    auto* entryoffset = reinterpret_cast<uint32_t*>(offsets.Data());
    auto* entrylength = reinterpret_cast<uint32_t*>(lengths.Data());
    CodeReader reader(bytes.Data(), GatherSubBlocks(data, length, bytes.Data()));

    const uint32_t clear = 1u << mincodesize;
    const uint32_t end = clear + 1;
    uint32_t codesize = mincodesize + 1;
    uint32_t limit = 1u << codesize;
    uint32_t next = clear + 2;  // the code the next table entry gets
    bool first = true;
    uint32_t prevoffset = 0, prevlength = 0;
    uint32_t pos = 0;
    uint32_t code = 0;
    while (pos < outsize && reader.Read(codesize, &code)) {
        if (code == clear) {
            codesize = mincodesize + 1;
            limit = 1u << codesize;
            next = clear + 2;
            first = true;
            continue;
        }
        if (code == end) break;
        if (first) {
            if (code > clear) return VLOAD_DAMAGED;
            out[pos] = uint8_t(code);
            prevoffset = pos++;
            prevlength = 1;
            first = false;
            continue;
        }
        uint32_t length = 0;
        if (code < clear) {
            out[pos] = uint8_t(code);
            length = 1;
        } else if (code < next) {
            length = entrylength[code - clear - 2];
            CopyString(out, outsize, entryoffset[code - clear - 2], pos, length);
        } else if (code == next) {
            // The string being defined: the previous one and its own first byte.
            length = prevlength + 1;
            CopyString(out, outsize, prevoffset, pos, prevlength);
            if (pos + prevlength < outsize) out[pos + prevlength] = out[prevoffset];
        } else {
            return VLOAD_DAMAGED;
        }
        // The new entry is the previous string and the first byte of this one, which follow
        // each other in the output.
        if (next < MAX_CODES) {
            entryoffset[next - clear - 2] = prevoffset;
            entrylength[next - clear - 2] = prevlength + 1;
            ++next;
            if (next >= limit && codesize < MAX_CODE_SIZE) {
                ++codesize;
                limit <<= 1;
            }
        }
        prevoffset = pos;
        prevlength = length;
        pos = length < outsize - pos ? pos + length : outsize;
    }
    return VLOAD_OK;
}
