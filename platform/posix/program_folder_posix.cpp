#include <unistd.h>

#include <cstdint>

#include "platform/program_folder.h"

void PlatformGetProgramFolder(char16_t* buffer) {
    buffer[0] = 0;
    char path[kProgramFolderCapacity * 4];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (n <= 0) return;
    // Decode UTF-8 into UTF-16; a path that does not fit is refused rather than cut short.
    size_t out = 0;
    for (ssize_t i = 0; i < n;) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        uint32_t cp = c;
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (extra > 0) cp = c & (0x3F >> extra);
        ++i;
        for (; extra > 0 && i < n; --extra, ++i) cp = (cp << 6) | (path[i] & 0x3F);
        const size_t units = cp >= 0x10000 ? 2 : 1;
        if (out + units >= kProgramFolderCapacity) {
            buffer[0] = 0;
            return;
        }
        if (units == 2) {
            cp -= 0x10000;
            buffer[out++] = static_cast<char16_t>(0xD800 + (cp >> 10));
            buffer[out++] = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            buffer[out++] = static_cast<char16_t>(cp);
        }
    }
    buffer[out] = 0;
    CutToProgramFolder(buffer);
}
