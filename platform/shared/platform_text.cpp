#include "platform/shared/platform_text.h"

#include <cstring>

#include "fileio/utf8.h"

std::string PlatformUtf8(const char16_t* text) {
    size_t units = 0;
    while (text != nullptr && text[units] != 0) ++units;
    // A unit never takes more than three bytes (a surrogate pair takes four for two).
    std::string out(units * 3, '\0');
    out.resize(WideToUtf8(text, out.data(), out.size() + 1));
    return out;
}

std::u16string PlatformUtf16(const char* text) {
    const size_t length = text != nullptr ? std::strlen(text) : 0;
    std::u16string out(Utf8ToWide(text, length, nullptr, 0), u'\0');
    Utf8ToWide(text, length, out.data(), out.size() + 1);
    return out;
}
