#include <unistd.h>

#include "fileio/utf8.h"
#include "platform/program_folder.h"

void PlatformGetProgramFolder(char16_t* buffer) {
    buffer[0] = 0;
    char path[kProgramFolderCapacity * 4];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (n <= 0) return;
    // A path that does not fit is refused rather than cut short.
    if (Utf8ToWide(path, size_t(n), buffer, kProgramFolderCapacity) >= kProgramFolderCapacity) {
        buffer[0] = 0;
        return;
    }
    CutToProgramFolder(buffer);
}
