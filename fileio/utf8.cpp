#include "fileio/utf8.h"

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

size_t Utf8ToWide(const char* text, size_t length, char16_t* destination, size_t capacity) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* end = p + length;
    size_t needed = 0, written = 0;
    bool fits = capacity > 0;
    while (p < end) {
        uint32_t c = *p++;
        int follow = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (c >= 0x80 && follow == 0) c = 0xFFFD;
        if (follow > 0) c &= 0x3Fu >> follow;
        for (; follow > 0; --follow) {
            if (p == end || (*p & 0xC0) != 0x80) {
                c = 0xFFFD;
                break;
            }
            c = c << 6 | (*p++ & 0x3F);
        }
        if (c > 0x10FFFF) c = 0xFFFD;
        const size_t units = c >= 0x10000 ? 2 : 1;
        needed += units;
        // Characters are written whole, and only while everything before them fitted.
        fits = fits && written + units < capacity;
        if (!fits) continue;
        if (units == 2) {
            destination[written++] = char16_t(0xD800 + ((c - 0x10000) >> 10));
            destination[written++] = char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            destination[written++] = char16_t(c);
        }
    }
    if (capacity > 0) destination[written] = 0;
    return needed;
}
