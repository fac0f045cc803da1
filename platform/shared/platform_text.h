// Wide texts as UTF-8 and back, for the layers' edges (captions, status lines, error boxes,
// command lines), through fileio's conversions.
#pragma once

#include <string>

// Unpaired surrogates become U+FFFD.
std::string PlatformUtf8(const char16_t* text);
// Malformed bytes become U+FFFD.
std::u16string PlatformUtf16(const char* text);
