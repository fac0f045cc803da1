// Small operations on terminated 16-bit wide texts that the application spine needs.
#pragma once

#include <cstddef>

// Length in 16-bit units, without the terminator; 0 for null.
size_t WideLength(const char16_t* text);
// Copies at most capacity − 1 units and terminates; a null source gives an empty text.
// Returns the units copied.
size_t WideCopy(char16_t* destination, const char16_t* source, size_t capacity);
// Writes the text as UTF-8 into capacity bytes, terminated, cut at a character boundary.
// Unpaired surrogates become U+FFFD. Returns the bytes written without the terminator.
size_t WideToUtf8(const char16_t* text, char* destination, size_t capacity);
