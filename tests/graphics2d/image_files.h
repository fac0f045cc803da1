// Test-only image files: a reader for uncompressed 24-bit BMP files (the font strip) and a
// writer of 8-bit RGB PNG files (pictures of rendered output to look at).
#pragma once

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct TestImage {
    uint32_t width = 0, height = 0;
    std::vector<uint32_t> colours;  // colour values (red in bits 0-7), alpha 255, top row first
};

// Reads a bottom-up 24-bit BMP; false when the file is missing or not such a BMP.
inline bool ReadBmp24(const std::string& path, TestImage* image) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    std::vector<uint8_t> bytes;
    uint8_t buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
        bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
    auto u16 = [&](size_t at) { return uint32_t(bytes[at] | bytes[at + 1] << 8); };
    auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M' || u16(28) != 24) return false;
    const uint32_t offset = u32(10), w = u32(18), h = u32(22);
    const uint32_t rowbytes = (w * 3 + 3) & ~3u;
    if (w == 0 || h == 0 || h > 0x7FFFFFFF || offset + size_t(rowbytes) * h > bytes.size())
        return false;
    image->width = w;
    image->height = h;
    image->colours.resize(size_t(w) * h);
    for (uint32_t y = 0; y < h; ++y) {
        const uint8_t* row = &bytes[offset + size_t(h - 1 - y) * rowbytes];
        for (uint32_t x = 0; x < w; ++x) {
            const uint8_t* p = row + x * 3;
            image->colours[size_t(y) * w + x] = 0xFF000000u | p[2] | p[1] << 8 | p[0] << 16;
        }
    }
    return true;
}

// Writes colour values (red in bits 0-7) as an 8-bit RGB PNG; false on any failure.
inline bool WritePngRGB(const std::string& path, uint32_t w, uint32_t h,
                        const std::vector<uint32_t>& colours) {
    std::vector<uint8_t> raw;
    raw.reserve(size_t(w * 3 + 1) * h);
    for (uint32_t y = 0; y < h; ++y) {
        raw.push_back(0);  // filter: none
        for (uint32_t x = 0; x < w; ++x) {
            const uint32_t c = colours[size_t(y) * w + x];
            raw.push_back(uint8_t(c));
            raw.push_back(uint8_t(c >> 8));
            raw.push_back(uint8_t(c >> 16));
        }
    }
    uLongf packedsize = compressBound(uLong(raw.size()));
    std::vector<uint8_t> packed(packedsize);
    if (compress(packed.data(), &packedsize, raw.data(), uLong(raw.size())) != Z_OK) return false;
    packed.resize(packedsize);

    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto put32 = [](std::vector<uint8_t>& v, uint32_t x) {
        for (int s = 24; s >= 0; s -= 8) v.push_back(uint8_t(x >> s));
    };
    auto chunk = [&](const char* type, const std::vector<uint8_t>& data) {
        put32(file, uint32_t(data.size()));
        std::vector<uint8_t> body(type, type + 4);
        body.insert(body.end(), data.begin(), data.end());
        file.insert(file.end(), body.begin(), body.end());
        put32(file, uint32_t(crc32(0, body.data(), uInt(body.size()))));
    };
    std::vector<uint8_t> header;
    put32(header, w);
    put32(header, h);
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
    chunk("IHDR", header);
    chunk("IDAT", packed);
    chunk("IEND", {});
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    return std::fclose(f) == 0 && ok;
}
