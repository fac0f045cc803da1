// Window icons from the program's resources: a Windows icon file (.ico) whose largest 32-bit
// image becomes the window's icon.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct VIconImage {
    uint32_t width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0xAARRGGBB, rows top to bottom
};

// Decodes the largest uncompressed 32-bit image of an icon file. Returns false, with the
// reason in *error, for data that is not an icon, is cut short, or holds no such image (icons
// made only of PNG or palette images).
bool DecodeIcon(const uint8_t* data, size_t size, VIconImage* image, const char** error);
