// Writes pictures as PNG files: 8-bit RGB, one compressed block, no filtering.
#pragma once

#include <cstdint>

bool WritePngRgb(const char* path, const uint8_t* rgb, uint32_t width, uint32_t height);
