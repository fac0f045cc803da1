#include "fileio/path_resolution.h"

namespace {

bool IsSeparator(char16_t c) {
    return c == u'/' || c == u'\\';
}

// Appends the characters of text, turning separators into separator when asked; false when
// the text does not fit (with the terminator) in capacity.
bool Put(char16_t* destination, size_t capacity, size_t& used, const char16_t* text, bool convert,
         char16_t separator) {
    for (; *text != 0; ++text) {
        if (used + 1 >= capacity) return false;
        destination[used++] = convert && IsSeparator(*text) ? separator : *text;
    }
    return true;
}

}  // namespace

bool IsAbsolutePath(const char16_t* name, char16_t separator) {
    if (IsSeparator(name[0])) return true;
    return separator == u'\\' && name[0] != 0 && name[1] == u':' && IsSeparator(name[2]);
}

bool ResolvePath(char16_t* destination, size_t capacity, const char16_t* folder,
                 const char16_t* name, char16_t separator) {
    if (capacity == 0) return false;
    size_t used = 0;
    bool fits = true;
    if (!IsAbsolutePath(name, separator) && folder[0] != 0) {
        fits = Put(destination, capacity, used, folder, false, separator);
        if (fits && !IsSeparator(destination[used - 1])) {
            const char16_t joint[] = {separator, 0};
            fits = Put(destination, capacity, used, joint, false, separator);
        }
    }
    fits = fits && Put(destination, capacity, used, name, true, separator);
    destination[fits ? used : 0] = 0;
    return fits;
}
