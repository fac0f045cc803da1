#include "framework/wide_text.h"

#include <cstdint>

size_t WideToUtf8(const char16_t* text, char* destination, size_t capacity) {
    if (capacity == 0) return 0;
    size_t out = 0;
    for (size_t i = 0; text != nullptr && text[i] != 0; ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        char bytes[4];
        size_t n;
        if (c < 0x80) {
            bytes[0] = char(c);
            n = 1;
        } else if (c < 0x800) {
            bytes[0] = char(0xC0 | (c >> 6));
            bytes[1] = char(0x80 | (c & 0x3F));
            n = 2;
        } else if (c < 0x10000) {
            bytes[0] = char(0xE0 | (c >> 12));
            bytes[1] = char(0x80 | ((c >> 6) & 0x3F));
            bytes[2] = char(0x80 | (c & 0x3F));
            n = 3;
        } else {
            bytes[0] = char(0xF0 | (c >> 18));
            bytes[1] = char(0x80 | ((c >> 12) & 0x3F));
            bytes[2] = char(0x80 | ((c >> 6) & 0x3F));
            bytes[3] = char(0x80 | (c & 0x3F));
            n = 4;
        }
        if (out + n + 1 > capacity) break;
        for (size_t k = 0; k < n; ++k) destination[out++] = bytes[k];
    }
    destination[out] = 0;
    return out;
}
