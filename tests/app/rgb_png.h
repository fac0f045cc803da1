// 8-bit RGB PNG files for the golden pictures: written compressed with zlib, read back with
// every row filter, so that a golden re-saved by another tool still reads.
#pragma once

#include <string>

#include "tests/app/demo_harness.h"

bool WriteRgbPng(const std::string& path, const RgbPicture& picture);
// False for a missing file or one that is not 8-bit RGB without interlacing.
bool ReadRgbPng(const std::string& path, RgbPicture* picture);
