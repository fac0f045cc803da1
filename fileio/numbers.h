// Whole numbers written as text in bases 2 to 36.
#pragma once

#include <cstdint>

// Room IntToStr needs at most: a sign, 32 binary digits and the terminator.
constexpr int32_t kIntTextCapacity = 34;

// Writes value in base (2..36) with digits 0-9 then A-Z, most significant first, followed by a
// terminator; zero is the single digit 0. Signed: value is an int32 and a negative one is
// written as '-' and its magnitude. Unsigned: value is taken as a uint32. A base outside
// 2..36 writes nothing. destination holds at least kIntTextCapacity characters.
void IntToStr(char* destination, int32_t value, uint32_t base, bool isSigned);
void IntToWStr(char16_t* destination, int32_t value, uint32_t base, bool isSigned);

// Append the number as IntToStr writes it, within the destination's capacity maximum (as for
// StrAppend). A base outside 2..36 appends nothing.
void StrAppendInt(char* destination, int32_t value, uint32_t base, bool isSigned, int32_t maximum);
void WStrAppendInt(char16_t* destination, int32_t value, uint32_t base, bool isSigned,
                   int32_t maximum);
