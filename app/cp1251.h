// Windows-1251 text from UTF-8 literals, converted at compile time.
//
// The font strip holds the glyphs of codes 32 to 255 in the Windows-1251 order, so every text
// the demo draws must be in those bytes. Writing them as UTF-8 literals keeps the Russian text
// readable in the source; Cp1251 turns such a literal into its Windows-1251 bytes while
// compiling, and a character outside ASCII and the Russian alphabet stops the build.
#pragma once

#include <cstddef>

// The bytes of one converted literal: at most as many as the UTF-8 bytes, terminated.
template <size_t N>
struct VCp1251Text {
    char bytes[N] = {};
    const char* c_str() const { return bytes; }
};

namespace cp1251_detail {

// The Windows-1251 byte of one code point, or 0 for a character the demo's texts never use.
constexpr unsigned char ByteFor(char32_t c) {
    if (c < 0x80) return static_cast<unsigned char>(c);
    if (c >= 0x410 && c <= 0x44F) return static_cast<unsigned char>(0xC0 + (c - 0x410));
    if (c == 0x401) return 0xA8;  // Ё
    if (c == 0x451) return 0xB8;  // ё
    return 0;
}

}  // namespace cp1251_detail

// consteval: a text that does not convert is a compile error, never a wrong byte at run time.
template <size_t N>
consteval VCp1251Text<N> Cp1251(const char8_t (&utf8)[N]) {
    VCp1251Text<N> out;
    size_t o = 0;
    for (size_t i = 0; i + 1 < N;) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        char32_t c = lead;
        size_t length = 1;
        if (lead >= 0xC0 && lead < 0xE0) {
            c = lead & 0x1F;
            length = 2;
        } else if (lead >= 0x80) {
            throw "only ASCII and two-byte Cyrillic characters are expected";
        }
        for (size_t k = 1; k < length; ++k) {
            c = c << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        const unsigned char byte = cp1251_detail::ByteFor(c);
        if (byte == 0) throw "a character without a Windows-1251 byte in the font";
        out.bytes[o++] = static_cast<char>(byte);
        i += length;
    }
    out.bytes[o] = 0;
    return out;
}
