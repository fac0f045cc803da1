// Bounded operations on zero-terminated 8-bit (char) and wide (char16_t) strings.
//
// A maximum counts characters including the terminator; a negative maximum stands for
// kStrUnbounded. 8-bit characters are widened as signed bytes: 0x80-0xFF become
// 0xFF80-0xFFFF, which keeps them distinct from the wide characters 0x0080-0x00FF.
// A null string reads as empty; nothing is written through a null destination.
#pragma once

#include <cstdint>

// What a negative maximum means.
constexpr int32_t kStrUnbounded = 0xFFFFFF;

// A byte widened to a wide character (sign-extended).
constexpr char16_t WidenChar(char c) {
    return static_cast<char16_t>(static_cast<int16_t>(static_cast<int8_t>(c)));
}

// Copies at most maximum - 1 characters and always a terminator; a maximum of 0 writes
// nothing at all. StrCopyFromWide keeps the low byte of each wide character.
void StrCopy(char* destination, const char* source, int32_t maximum);
void StrCopyToWide(char16_t* destination, const char* source, int32_t maximum);
void StrCopyFromWide(char* destination, const char16_t* source, int32_t maximum);
void WStrCopy(char16_t* destination, const char16_t* source, int32_t maximum);

// Characters before the terminator, counting no further than maximum.
int32_t StrLen(const char* string, int32_t maximum);
int32_t WStrLen(const char16_t* string, int32_t maximum);

// True when both strings have the same length and every character matches. Without case
// sensitivity a-z compare equal to A-Z and nothing else is folded. WStrEqualStr widens the
// 8-bit string's characters as above.
bool StrEqual(const char* a, const char* b, bool casesensitive);
bool WStrEqualStr(const char16_t* a, const char* b, bool casesensitive);

// Index of the first occurrence of character, or -1.
int32_t WStrFind(const char16_t* string, char16_t character);

// Append source after the destination's text. maximum is the capacity of the whole
// destination, terminator included: what does not fit is left out and a terminator is always
// kept; a destination that is already full (or whose text reaches maximum) is left untouched.
void StrAppend(char* destination, const char* source, int32_t maximum);
void WStrAppendStr(char16_t* destination, const char* source, int32_t maximum);
