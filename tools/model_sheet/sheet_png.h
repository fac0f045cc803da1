// Contact sheets as PNG files: an RGB picture assembled from surfaces and written with zlib
// (rows stored with the "up" filter, which suits the vertical gradients behind the models).
#pragma once

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "graphics2d/surface.h"

class SheetPicture {
  public:
    SheetPicture(uint32_t width, uint32_t height, uint32_t background = 0)
        : width_(width), height_(height), rgb_(size_t(width) * height * 3) {
        for (size_t i = 0; i < size_t(width) * height; ++i) Put(i, background);
    }

    // The surface's logical pixels with their top-left corner at (x, y), every step-th pixel
    // in both directions averaged over its step × step block.
    void Paste(V2DSurface& s, uint32_t x, uint32_t y, uint32_t step = 1) {
        for (uint32_t sy = 0; sy + step <= s.GetHeight(); sy += step) {
            for (uint32_t sx = 0; sx + step <= s.GetWidth(); sx += step) {
                uint32_t sum[3] = {};
                for (uint32_t j = 0; j < step; ++j)
                    for (uint32_t i = 0; i < step; ++i) {
                        const uint32_t c = s.GetPixel(int32_t(sx + i), int32_t(sy + j));
                        for (int ch = 0; ch < 3; ++ch) sum[ch] += (c >> (8 * ch)) & 0xFF;
                    }
                const uint32_t n = step * step;
                const uint32_t px = x + sx / step, py = y + sy / step;
                if (px < width_ && py < height_) {
                    Put(size_t(py) * width_ + px,
                        sum[0] / n | (sum[1] / n) << 8 | (sum[2] / n) << 16);
                }
            }
        }
    }

    // False when the file cannot be written.
    bool Write(const std::string& path) const {
        std::vector<uint8_t> raw;
        raw.reserve(size_t(width_ * 3 + 1) * height_);
        const size_t rowBytes = size_t(width_) * 3;
        for (uint32_t y = 0; y < height_; ++y) {
            raw.push_back(y == 0 ? 0 : 2);  // none for the first row, then "up"
            for (size_t i = 0; i < rowBytes; ++i) {
                const uint8_t above = y == 0 ? 0 : rgb_[(y - 1) * rowBytes + i];
                raw.push_back(uint8_t(rgb_[y * rowBytes + i] - above));
            }
        }
        uLongf size = compressBound(uLong(raw.size()));
        std::vector<uint8_t> z(size);
        if (compress2(z.data(), &size, raw.data(), uLong(raw.size()), 9) != Z_OK) return false;
        z.resize(size);

        std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        std::vector<uint8_t> header;
        Put32(header, width_);
        Put32(header, height_);
        header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, no interlace
        Chunk(file, "IHDR", header);
        Chunk(file, "IDAT", z);
        Chunk(file, "IEND", {});
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (f == nullptr) return false;
        const bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
        return std::fclose(f) == 0 && ok;
    }

  private:
    void Put(size_t pixel, uint32_t colour) {
        for (int ch = 0; ch < 3; ++ch) rgb_[pixel * 3 + ch] = uint8_t(colour >> (8 * ch));
    }
    static void Put32(std::vector<uint8_t>& out, uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
    }
    static void Chunk(std::vector<uint8_t>& out, const char* type,
                      const std::vector<uint8_t>& body) {
        Put32(out, uint32_t(body.size()));
        std::vector<uint8_t> typed(type, type + 4);
        typed.insert(typed.end(), body.begin(), body.end());
        out.insert(out.end(), typed.begin(), typed.end());
        Put32(out, uint32_t(crc32(0, typed.data(), uInt(typed.size()))));
    }

    uint32_t width_, height_;
    std::vector<uint8_t> rgb_;
};
