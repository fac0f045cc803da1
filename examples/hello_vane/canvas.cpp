#include "examples/hello_vane/canvas.h"

#include <algorithm>

#include "framework/screen.h"

namespace {

// Rows of 3 bits, top row first, for '0' to '9'.
constexpr uint8_t kDigits[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 3, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};
constexpr uint8_t kPoint[5] = {0, 0, 0, 0, 2};

}  // namespace

ExampleCanvas::ExampleCanvas(ClassVScreen& screen)
    : pixels_(screen.BackBuffer()),
      pitch_(screen.BackBufferPitch()),
      bytes_(screen.BytesPerPixel()),
      format_(screen.BufferFormat()),
      width_(int32_t(screen.GetWidth())),
      height_(int32_t(screen.GetHeight())) {}

uint32_t ExampleCanvas::PixelFor(uint32_t colour) const {
    const uint32_t r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
    switch (format_) {
        case 1:
            return colour & 0xFF;  // a palette index
        case 2:
            return (r >> 4) << 8 | (g >> 4) << 4 | b >> 4;
        case 3:
            return (r >> 3) << 10 | (g >> 3) << 5 | b >> 3;
        case 4:
            return (r >> 3) << 11 | (g >> 2) << 5 | b >> 3;
        default:
            return r << 16 | g << 8 | b;
    }
}

void ExampleCanvas::FillRect(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour) {
    if (pixels_ == nullptr) return;
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, width_);
    y1 = std::min(y1, height_);
    const uint32_t pixel = PixelFor(colour);
    for (int32_t y = y0; y < y1; ++y) {
        uint8_t* p = pixels_ + size_t(y) * pitch_ + size_t(x0) * bytes_;
        for (int32_t x = x0; x < x1; ++x, p += bytes_) {
            for (uint32_t i = 0; i < bytes_; ++i) p[i] = uint8_t(pixel >> (8 * i));
        }
    }
}

void ExampleCanvas::Text(int32_t x, int32_t y, const char* text, uint32_t colour, int32_t size) {
    for (; *text != 0; ++text, x += 4 * size) {
        const uint8_t* rows = nullptr;
        if (*text >= '0' && *text <= '9') rows = kDigits[*text - '0'];
        if (*text == '.') rows = kPoint;
        if (rows == nullptr) continue;
        for (int32_t row = 0; row < 5; ++row) {
            for (int32_t column = 0; column < 3; ++column) {
                if (!(rows[row] >> (2 - column) & 1)) continue;
                const int32_t px = x + column * size, py = y + row * size;
                FillRect(px, py, px + size, py + size, colour);
            }
        }
    }
}
