#include "imaging/jpeg_input.h"

namespace {

constexpr uint8_t MARKER_PREFIX = 0xFF;
constexpr uint8_t END_OF_IMAGE = 0xD9;

bool HasPrefixByte(uint64_t eightbytes) {
    const uint64_t inverted = ~eightbytes;  // an 0xFF byte becomes a zero byte
    return ((inverted - 0x0101010101010101ull) & ~inverted & 0x8080808080808080ull) != 0;
}

}  // namespace

void VJpegInput::Start(ClassVLoaderBase* source, uint32_t dataend) {
    m_source = source;
    m_dataend = dataend;
    m_base = source->GetPos();
    m_pos = m_end = 0;
    m_exhausted = false;
    m_zerobits = 0;
    Fill();
}

void VJpegInput::Fill() {
    const uint32_t kept = m_end - m_pos;
    std::memmove(m_buffer, m_buffer + m_pos, kept);
    m_base += m_pos;
    m_pos = 0;
    m_end = kept;
    const uint32_t before = m_source->GetPos();
    if (!m_exhausted && m_source->ReadBlock(m_buffer + m_end, BLOCK_SIZE)) {
        m_end += m_source->GetPos() - before;
        return;
    }
    m_exhausted = true;
    for (uint32_t i = 0; i < END_MARKERS; ++i) {
        m_buffer[m_end++] = MARKER_PREFIX;
        m_buffer[m_end++] = END_OF_IMAGE;
    }
}

void VJpegInput::Skip(uint32_t count) {
    while (count > 0) {
        if (m_pos == m_end) Fill();
        const uint32_t step = count < m_end - m_pos ? count : m_end - m_pos;
        m_pos += step;
        count -= step;
        // Past the data nothing more is to be skipped: the end markers follow.
        if (m_exhausted && PastEnd()) return;
    }
}

uint8_t VJpegInput::NextMarker(uint32_t limit) {
    m_zerobits = 0;
    uint32_t read = 0;
    for (;;) {
        if (read++ > limit) return 0;
        if (ReadByte() != MARKER_PREFIX) continue;
        uint8_t code = MARKER_PREFIX;
        while (code == MARKER_PREFIX) {
            code = ReadByte();
            ++read;
        }
        if (code != 0) return code;
    }
}

VJpegInput::Bits VJpegInput::Refill(Bits bits) {
    if (m_end - m_pos < 8) Fill();
    uint64_t next = 0;
    for (int i = 0; i < 8; ++i) next = next << 8 | m_buffer[m_pos + i];
    if (!HasPrefixByte(next)) {
        const uint32_t bytes = (64 - bits.count) / 8;
        bits.buffer |= (next & (~0ull << (64 - 8 * bytes))) >> bits.count;
        bits.count += 8 * bytes;
        m_pos += bytes;
        return bits;
    }
    while (bits.count <= 56) {
        if (m_end - m_pos < 2) Fill();
        uint64_t byte = m_buffer[m_pos];
        if (byte == MARKER_PREFIX) {
            if (m_buffer[m_pos + 1] == 0) {
                m_pos += 2;
            } else {
                byte = 0;  // a marker: it stays unread, and zero bits stand in for data
                m_zerobits += 8;
            }
        } else {
            ++m_pos;
        }
        bits.buffer |= byte << (56 - bits.count);
        bits.count += 8;
    }
    return bits;
}
