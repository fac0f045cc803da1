// ClassVLoaderBase: the base of every image and model loader. It holds a bounded reader over
// the block being decoded and the two virtual entry points the framework calls.
#pragma once

#include <cstdint>

class V2DSurfaceBase;
class V3DModel;

// Result codes of DecodeImage and LoadModel.
constexpr uint32_t VLOAD_OK = 0;
constexpr uint32_t VLOAD_DAMAGED = 1;  // this format, but damaged or inconsistent
constexpr uint32_t VLOAD_OUTOFMEMORY = 2;
constexpr uint32_t VLOAD_NOTTHISFORMAT = 3;  // not this format, or a variant not supported
constexpr uint32_t VLOAD_NOIMAGE = 7;        // GIF: no image before the end or an unknown block
constexpr uint32_t VLOAD_PASSON = 14;        // treated by the dispatch like VLOAD_NOTTHISFORMAT

class ClassVLoaderBase {
  public:
    virtual ~ClassVLoaderBase() = default;

    // a and b are passed through from the caller of the model load. The base knows no format.
    virtual uint32_t LoadModel(V3DModel* model, const uint8_t* data, uint32_t size, uint32_t a,
                               uint32_t b);
    // defaultformat and flags reach the surface untouched through the loader state.
    virtual uint32_t DecodeImage(V2DSurfaceBase* surface, const uint8_t* data, uint32_t size,
                                 uint8_t defaultformat, uint32_t flags);

    // The reader. Every read is bounded by the block; a failing read leaves its output as it
    // was, so a decoder reading into zeroed fields sees 0 for a truncated value.
    void SetSource(const uint8_t* data, uint32_t size);
    void SetBigEndian(bool bigendian) { m_bigendian = bigendian ? 1 : 0; }
    bool ReadByte(uint8_t* out);
    bool ReadWord(uint16_t* out);
    bool ReadDword(uint32_t* out);
    // Copies min(n, bytes left); false only when nothing is left.
    bool ReadBlock(void* out, uint32_t n);
    // No check: reads past the end simply fail.
    void SetPos(uint32_t position) { m_position = position; }
    void Skip(uint32_t n) { m_position += n; }
    uint32_t GetPos() const { return m_position; }
    bool HasData() const { return m_position < m_size; }

  protected:
    // Bytes left from the position (0 once the position is at or past the end).
    uint32_t Remaining() const { return m_position < m_size ? m_size - m_position : 0; }
    const uint8_t* Source() const { return m_data; }
    uint32_t SourceSize() const { return m_size; }

  private:
    uint8_t m_bigendian = 0;
    const uint8_t* m_data = nullptr;
    uint32_t m_position = 0;
    uint32_t m_size = 0;
};
