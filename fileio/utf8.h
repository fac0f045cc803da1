// Conversions between wide (UTF-16) texts and UTF-8, for the edges where the framework meets
// the operating system: program paths, command lines, window captions.
#pragma once

#include <cstddef>

// Writes the text as UTF-8 into capacity bytes, terminated, cut at a character boundary.
// Unpaired surrogates become U+FFFD. Returns the bytes written without the terminator.
size_t WideToUtf8(const char16_t* text, char* destination, size_t capacity);

// Decodes length bytes of UTF-8 into UTF-16 units; malformed bytes become U+FFFD. Writes as
// many whole characters as fit into capacity units with a terminator (nothing when capacity is
// 0) and returns the number of units the whole text needs, without the terminator, so that a
// caller can tell a text that did not fit.
size_t Utf8ToWide(const char* text, size_t length, char16_t* destination, size_t capacity);
