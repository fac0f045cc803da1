// The folder of the running program.
#pragma once

#include <cstddef>

// Capacity, in wide characters, of the buffer PlatformGetProgramFolder fills.
constexpr size_t kProgramFolderCapacity = 260;

// Writes the path of the running program's folder into buffer (at least
// kProgramFolderCapacity wide characters), ending with its path separator and a terminator.
// The program's full path is cut after its last '\' or '/'; a path that ends in a separator
// is kept whole and a path with neither keeps its first character. A path that does not fit
// leaves an empty string.
void PlatformGetProgramFolder(char16_t* buffer);

// The cutting rule on its own, for any full program path (terminated wide string).
void CutToProgramFolder(char16_t* path);
