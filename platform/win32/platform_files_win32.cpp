// The file calls on Windows: CreateFileW, ReadFile, WriteFile, SetFilePointer, CloseHandle.
#include <windows.h>

#include <new>

#include "platform/platform_files.h"

struct VPlatformFile {
    HANDLE handle;
};

namespace {

// Copies a wide path with '/' turned into '\'. False for an empty path or one of
// kPlatformPathCapacity characters or more.
bool ToNativePath(const char16_t* path, wchar_t (&out)[kPlatformPathCapacity]) {
    size_t i = 0;
    for (; path[i] != 0; ++i) {
        if (i + 1 >= kPlatformPathCapacity) return false;
        out[i] = path[i] == u'/' ? L'\\' : wchar_t(path[i]);
    }
    out[i] = 0;
    return i > 0;
}

DWORD Access(uint8_t mode) {
    if (mode & VFILE_MODE_READ) return GENERIC_READ;
    if (mode & VFILE_MODE_WRITE) return GENERIC_WRITE;
    return GENERIC_READ | GENERIC_WRITE;
}

}  // namespace

char16_t PlatformPathSeparator() {
    return u'\\';
}

VPlatformFile* PlatformFileOpen(uint8_t* result, const char16_t* path, uint8_t mode) {
    wchar_t native[kPlatformPathCapacity];
    if (path == nullptr || !ToNativePath(path, native)) {
        *result = VFILE_REFUSED;
        return nullptr;
    }
    auto* file = new (std::nothrow) VPlatformFile;
    if (file == nullptr) {
        *result = VFILE_NO_MEMORY;
        return nullptr;
    }
    // A folder does not open without FILE_FLAG_BACKUP_SEMANTICS, so it is refused here.
    file->handle = CreateFileW(native, Access(mode), FILE_SHARE_READ, nullptr,
                               (mode & VFILE_MODE_CREATE) ? CREATE_ALWAYS : OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file->handle == INVALID_HANDLE_VALUE) {
        delete file;
        *result = VFILE_REFUSED;
        return nullptr;
    }
    *result = VFILE_OK;
    return file;
}

void PlatformFileClose(VPlatformFile* file) {
    if (file == nullptr) return;
    CloseHandle(file->handle);
    delete file;
}

uint32_t PlatformFileRead(VPlatformFile* file, void* buffer, uint32_t count) {
    auto* bytes = static_cast<char*>(buffer);
    uint32_t done = 0;
    while (done < count) {
        DWORD n = 0;
        if (!ReadFile(file->handle, bytes + done, count - done, &n, nullptr) || n == 0) break;
        done += n;
    }
    return done;
}

uint32_t PlatformFileWrite(VPlatformFile* file, const void* buffer, uint32_t count) {
    const auto* bytes = static_cast<const char*>(buffer);
    uint32_t done = 0;
    while (done < count) {
        DWORD n = 0;
        if (!WriteFile(file->handle, bytes + done, count - done, &n, nullptr) || n == 0) break;
        done += n;
    }
    return done;
}

uint32_t PlatformFileSeek(VPlatformFile* file, int32_t offset, uint8_t origin) {
    DWORD method;
    switch (origin) {
        case VFILE_SEEK_START:
            method = FILE_BEGIN;
            break;
        case VFILE_SEEK_CURRENT:
            method = FILE_CURRENT;
            break;
        case VFILE_SEEK_END:
            method = FILE_END;
            break;
        default:
            return VFILE_SEEK_FAILED;
    }
    // The high half carries the offset's sign in and tells a position past 4 GiB on the way
    // out, which cannot be answered in 32 bits.
    LONG high = offset < 0 ? -1 : 0;
    SetLastError(NO_ERROR);
    const DWORD low = SetFilePointer(file->handle, offset, &high, method);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return VFILE_SEEK_FAILED;
    if (high != 0 || low == VFILE_SEEK_FAILED) return VFILE_SEEK_FAILED;
    return low;
}
