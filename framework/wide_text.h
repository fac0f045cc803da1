// Wide texts to UTF-8 for the platform layer (window captions, the command line). Copies and
// lengths of wide texts are the string helpers' (fileio/strings.h).
#pragma once

#include <cstddef>

// Writes the text as UTF-8 into capacity bytes, terminated, cut at a character boundary.
// Unpaired surrogates become U+FFFD. Returns the bytes written without the terminator.
size_t WideToUtf8(const char16_t* text, char* destination, size_t capacity);
