#include "platform/desktop/desktop_icon.h"

namespace {

uint32_t Read16(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}
uint32_t Read32(const uint8_t* p) {
    return Read16(p) | Read16(p + 2) << 16;
}

constexpr size_t kHeaderBytes = 6;
constexpr size_t kEntryBytes = 16;
constexpr size_t kInfoHeaderBytes = 40;

}  // namespace

bool DecodeIcon(const uint8_t* data, size_t size, VIconImage* image, const char** error) {
    if (data == nullptr || size < kHeaderBytes || Read16(data) != 0 || Read16(data + 2) != 1) {
        *error = "not an icon file";
        return false;
    }
    const uint32_t count = Read16(data + 4);
    if (size < kHeaderBytes + size_t(count) * kEntryBytes) {
        *error = "icon directory cut short";
        return false;
    }
    // The largest entry whose image is an uncompressed 32-bit bitmap.
    const uint8_t* best = nullptr;
    uint32_t bestWidth = 0, bestHeight = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* entry = data + kHeaderBytes + size_t(i) * kEntryBytes;
        const uint32_t bytes = Read32(entry + 8), offset = Read32(entry + 12);
        if (offset > size || bytes > size - offset || bytes < kInfoHeaderBytes) continue;
        const uint8_t* info = data + offset;
        const uint32_t width = Read32(info + 4);
        const uint32_t height = Read32(info + 8) / 2;  // the colour image, then the mask
        if (Read32(info) < kInfoHeaderBytes || Read16(info + 12) != 1 || Read16(info + 14) != 32 ||
            Read32(info + 16) != 0) {
            continue;
        }
        if (width == 0 || height == 0 || width > 256 || height > 256) continue;
        const size_t needed = Read32(info) + size_t(width) * height * 4;
        if (needed > bytes) continue;
        if (best == nullptr || width * height > bestWidth * bestHeight) {
            best = info;
            bestWidth = width;
            bestHeight = height;
        }
    }
    if (best == nullptr) {
        *error = "the icon holds no 32-bit bitmap image";
        return false;
    }
    image->width = bestWidth;
    image->height = bestHeight;
    image->pixels.resize(size_t(bestWidth) * bestHeight);
    const uint8_t* pixels = best + Read32(best);
    for (uint32_t y = 0; y < bestHeight; ++y) {
        // Rows are stored bottom up, each pixel blue, green, red, alpha.
        const uint8_t* row = pixels + size_t(bestHeight - 1 - y) * bestWidth * 4;
        for (uint32_t x = 0; x < bestWidth; ++x) {
            const uint8_t* p = row + size_t(x) * 4;
            image->pixels[size_t(y) * bestWidth + x] =
                uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
        }
    }
    return true;
}
