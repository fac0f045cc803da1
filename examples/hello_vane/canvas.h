// The few drawing operations the example needs, written straight into the display's back
// buffer. Kept apart from the example so that it can move to the framework's surface
// primitives without touching the program.
#pragma once

#include <cstdint>

class ClassVScreen;

// Colours are colour values: red in bits 0-7, green 8-15, blue 16-23.
constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) {
    return r | g << 8 | b << 16;
}

class ExampleCanvas {
  public:
    explicit ExampleCanvas(ClassVScreen& screen);

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    // Fills [x0, x1) × [y0, y1), clipped to the display.
    void FillRect(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour);
    // Digits, '.' and ' ' in a 3 × 5 pixel font, each font pixel size × size.
    void Text(int32_t x, int32_t y, const char* text, uint32_t colour, int32_t size);

  private:
    uint32_t PixelFor(uint32_t colour) const;

    uint8_t* pixels_;
    uint32_t pitch_;
    uint32_t bytes_;
    uint8_t format_;
    int32_t width_, height_;
};
