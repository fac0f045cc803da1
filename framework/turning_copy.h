// The copy of a picture from one memory layout to another: each side gives the address of
// logical pixel (0, 0) and the byte steps to its right and lower neighbours (negative when the
// axis runs backwards), so the same walk serves upright, turned and mirrored layouts.
#pragma once

#include <cstdint>

struct VPixelWalk {
    uint8_t* origin = nullptr;
    int32_t xstep = 0;
    int32_t ystep = 0;
};

// Copies width × height pixels of bytesPerPixel (1 to 4) bytes. When both sides keep one axis
// contiguous in the same direction the pixels move as runs of memory (one block when both are
// packed without gaps); otherwise the picture is walked in 32 × 32 tiles so that turned copies
// stay cache-friendly. With a null source origin the target pixels are cleared to zero.
void TurningCopy(const VPixelWalk& source, const VPixelWalk& target, uint32_t width,
                 uint32_t height, uint32_t bytesPerPixel);
