#include "imaging/loader_base.h"

#include <cstring>

uint32_t ClassVLoaderBase::LoadModel(V3DModel* model, const uint8_t* data, uint32_t size,
                                     uint32_t a, uint32_t b) {
    (void)model, (void)data, (void)size, (void)a, (void)b;
    return VLOAD_NOTTHISFORMAT;
}

uint32_t ClassVLoaderBase::DecodeImage(V2DSurfaceBase* surface, const uint8_t* data, uint32_t size,
                                       uint8_t defaultformat, uint32_t flags) {
    (void)surface, (void)data, (void)size, (void)defaultformat, (void)flags;
    return VLOAD_NOTTHISFORMAT;
}

void ClassVLoaderBase::SetSource(const uint8_t* data, uint32_t size) {
    m_data = data;
    m_size = data != nullptr ? size : 0;
    m_position = 0;
}

bool ClassVLoaderBase::ReadByte(uint8_t* out) {
    if (Remaining() < 1) return false;
    *out = m_data[m_position++];
    return true;
}

bool ClassVLoaderBase::ReadWord(uint16_t* out) {
    if (Remaining() < 2) return false;
    const uint8_t* p = m_data + m_position;
    *out = m_bigendian ? uint16_t(p[0] << 8 | p[1]) : uint16_t(p[1] << 8 | p[0]);
    m_position += 2;
    return true;
}

bool ClassVLoaderBase::ReadDword(uint32_t* out) {
    if (Remaining() < 4) return false;
    const uint8_t* p = m_data + m_position;
    *out = m_bigendian ? uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]
                       : uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    m_position += 4;
    return true;
}

bool ClassVLoaderBase::ReadBlock(void* out, uint32_t n) {
    const uint32_t left = Remaining();
    if (left == 0) return false;
    const uint32_t count = n < left ? n : left;
    if (count == 0) return true;
    std::memcpy(out, m_data + m_position, count);
    m_position += count;
    return true;
}
