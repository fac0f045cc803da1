#include "programs/vorlund/png_file.h"

#include <zlib.h>

#include <cstdio>
#include <vector>

namespace {

void PutBe32(std::vector<uint8_t>* out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out->push_back(uint8_t(v >> shift));
}

// A chunk: length, type, data, and the CRC of type and data.
void PutChunk(std::vector<uint8_t>* out, const char type[4], const uint8_t* data, size_t size) {
    PutBe32(out, uint32_t(size));
    const size_t start = out->size();
    out->insert(out->end(), type, type + 4);
    out->insert(out->end(), data, data + size);
    const uLong crc = crc32(0, out->data() + start, uInt(size + 4));
    PutBe32(out, uint32_t(crc));
}

}  // namespace

bool WritePngRgb(const char* path, const uint8_t* rgb, uint32_t width, uint32_t height) {
    if (width == 0 || height == 0) return false;
    const size_t row = size_t(width) * 3;
    std::vector<uint8_t> raw;
    raw.reserve((row + 1) * height);
    for (uint32_t y = 0; y < height; ++y) {
        raw.push_back(0);  // filter type: none
        raw.insert(raw.end(), rgb + y * row, rgb + (y + 1) * row);
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), 6) != Z_OK)
        return false;

    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBe32(&header, width);
    PutBe32(&header, height);
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace
    PutChunk(&file, "IHDR", header.data(), header.size());
    PutChunk(&file, "IDAT", packed.data(), packedSize);
    PutChunk(&file, "IEND", nullptr, 0);

    std::FILE* out = std::fopen(path, "wb");
    if (out == nullptr) return false;
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}
