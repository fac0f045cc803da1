// The picture a display shows, read from its back buffer after a frame was presented: 8-bit
// RGB in logical rows, each channel widened the way screens widen them (its top bits
// repeated), so that it equals a screenshot of the window.
#pragma once

#include <cstdint>
#include <vector>

class ClassVScreen;

struct VShownPicture {
    std::vector<uint8_t> rgb;  // width × height × 3; kept between reads, so a run reuses it
    uint32_t width = 0, height = 0;
};

// False when the display has no readable back buffer (not open, or palette pixels).
bool ReadShownPicture(ClassVScreen& screen, VShownPicture* picture);
