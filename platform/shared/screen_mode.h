// The mode of a screen whose memory is packed rows of one pixel format, as the memory screens
// of the layers (headless, desktop, template) report it.
#pragma once

#include <cstdint>

#include "platform/platform_layer.h"

// The format a memory screen takes for a requested depth: 8 bits palette indices, 16 bits
// 5-6-5 (the most common 16-bit layout), 24 and 32 bits 8-8-8; 0 for any other depth.
uint8_t PackedFormatForDepth(uint32_t bitsPerPixel);

// The layout of format (1 to 6) at width × height with rows of width pixels; false for a code
// that names no format.
bool PackedScreenMode(uint8_t format, uint32_t width, uint32_t height, VScreenMode* mode);
