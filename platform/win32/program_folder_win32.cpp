// The program folder on Windows: the executable's path from GetModuleFileNameW, cut after its
// last separator.
#include <windows.h>

#include "platform/program_folder.h"

void PlatformGetProgramFolder(char16_t* buffer) {
    buffer[0] = 0;
    wchar_t* path = reinterpret_cast<wchar_t*>(buffer);
    const DWORD n = GetModuleFileNameW(nullptr, path, DWORD(kProgramFolderCapacity));
    // A path that does not fit comes back cut short (n equal to the capacity); it is refused
    // rather than taken for another folder.
    if (n == 0 || n >= kProgramFolderCapacity) {
        buffer[0] = 0;
        return;
    }
    CutToProgramFolder(buffer);
}
