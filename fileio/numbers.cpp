#include "fileio/numbers.h"

#include "fileio/strings.h"

namespace {

bool IsValidBase(uint32_t base) {
    return base >= 2 && base <= 36;
}

}  // namespace

void IntToStr(char* destination, int32_t value, uint32_t base, bool isSigned) {
    if (!IsValidBase(base)) return;
    uint32_t magnitude = static_cast<uint32_t>(value);
    if (isSigned && value < 0) {
        *destination++ = '-';
        magnitude = 0u - magnitude;
    }
    char digits[32];
    int n = 0;
    do {
        const uint32_t digit = magnitude % base;
        digits[n++] = static_cast<char>(digit < 10 ? '0' + digit : 'A' + digit - 10);
        magnitude /= base;
    } while (magnitude != 0);
    while (n > 0) *destination++ = digits[--n];
    *destination = 0;
}

void IntToWStr(char16_t* destination, int32_t value, uint32_t base, bool isSigned) {
    if (!IsValidBase(base)) return;
    char text[kIntTextCapacity];
    IntToStr(text, value, base, isSigned);
    StrCopyToWide(destination, text, kIntTextCapacity);
}

void StrAppendInt(char* destination, int32_t value, uint32_t base, bool isSigned, int32_t maximum) {
    if (!IsValidBase(base)) return;
    char text[kIntTextCapacity];
    IntToStr(text, value, base, isSigned);
    StrAppend(destination, text, maximum);
}

void WStrAppendInt(char16_t* destination, int32_t value, uint32_t base, bool isSigned,
                   int32_t maximum) {
    if (!IsValidBase(base)) return;
    char text[kIntTextCapacity];
    IntToStr(text, value, base, isSigned);
    WStrAppendStr(destination, text, maximum);
}
