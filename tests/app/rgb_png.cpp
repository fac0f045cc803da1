#include "tests/app/rgb_png.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

uint32_t Get32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
    Put32(out, uint32_t(body.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    Put32(out, uint32_t(crc32(0, out.data() + start, uInt(out.size() - start))));
}

uint8_t Paeth(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return uint8_t(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

}  // namespace

bool WriteRgbPng(const std::string& path, const RgbPicture& picture) {
    const size_t row = size_t(picture.width) * 3;
    std::vector<uint8_t> raw;
    for (uint32_t y = 0; y < picture.height; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), picture.rgb.begin() + y * row, picture.rgb.begin() + (y + 1) * row);
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), 9) != Z_OK) {
        return false;
    }
    packed.resize(packedSize);
    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    Put32(header, picture.width);
    Put32(header, picture.height);
    header.insert(header.end(), {8, 2, 0, 0, 0});
    Chunk(file, "IHDR", header);
    Chunk(file, "IDAT", packed);
    Chunk(file, "IEND", {});
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    return bool(out);
}

bool ReadRgbPng(const std::string& path, RgbPicture* picture) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), {});
    if (file.size() < 8 + 25) return false;
    std::vector<uint8_t> packed;
    uint32_t width = 0, height = 0;
    for (size_t pos = 8; pos + 12 <= file.size();) {
        const uint32_t length = Get32(&file[pos]);
        if (pos + 12 + length > file.size()) return false;
        const std::string type(file.begin() + long(pos) + 4, file.begin() + long(pos) + 8);
        const uint8_t* body = &file[pos + 8];
        if (type == "IHDR") {
            width = Get32(body);
            height = Get32(body + 4);
            if (body[8] != 8 || body[9] != 2 || body[12] != 0) return false;
        } else if (type == "IDAT") {
            packed.insert(packed.end(), body, body + length);
        }
        pos += 12 + length;
    }
    const size_t row = size_t(width) * 3;
    std::vector<uint8_t> raw(height * (row + 1));
    uLongf rawSize = uLongf(raw.size());
    if (width == 0 ||
        uncompress(raw.data(), &rawSize, packed.data(), uLong(packed.size())) != Z_OK ||
        rawSize != raw.size()) {
        return false;
    }
    picture->width = width;
    picture->height = height;
    picture->rgb.assign(height * row, 0);
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t filter = raw[y * (row + 1)];
        const uint8_t* src = &raw[y * (row + 1) + 1];
        uint8_t* out = &picture->rgb[y * row];
        const uint8_t* up = y > 0 ? out - row : nullptr;
        for (size_t i = 0; i < row; ++i) {
            const int a = i >= 3 ? out[i - 3] : 0, b = up ? up[i] : 0,
                      c = up && i >= 3 ? up[i - 3] : 0;
            int predicted = 0;
            switch (filter) {
                case 0:
                    predicted = 0;
                    break;
                case 1:
                    predicted = a;
                    break;
                case 2:
                    predicted = b;
                    break;
                case 3:
                    predicted = (a + b) / 2;
                    break;
                case 4:
                    predicted = Paeth(a, b, c);
                    break;
                default:
                    return false;
            }
            out[i] = uint8_t(src[i] + predicted);
        }
    }
    return true;
}
