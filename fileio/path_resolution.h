// How a file name becomes a full path: absolute names stand as they are, relative names are
// joined to a base folder. Both '/' and '\' in a name become the separator.
//
// With '\' as the separator (Windows) a name is absolute when it starts with a separator or
// with a drive letter, a colon and a separator ("C:\x", "C:/x"); "C:x" is relative. With '/'
// (POSIX) a name is absolute when it starts with a separator; drive letters mean nothing.
#pragma once

#include <cstddef>

bool IsAbsolutePath(const char16_t* name, char16_t separator);

// Writes the full path of name into destination (capacity wide characters with the
// terminator): an absolute name alone, otherwise folder, a separator unless folder is empty or
// already ends in '\' or '/', and the name. The folder is copied as it is. Returns false, with
// destination empty, when the path does not fit; nothing is cut short.
bool ResolvePath(char16_t* destination, size_t capacity, const char16_t* folder,
                 const char16_t* name, char16_t separator);
