#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <new>
#include <string>

#include "platform/platform_files.h"

struct VPlatformFile {
    int descriptor;
};

namespace {

// Turns a wide path into the UTF-8 bytes the system takes, with '\' as '/'. False for a path
// that is too long or holds a lone surrogate.
bool ToNativePath(const char16_t* path, std::string& out) {
    size_t i = 0;
    for (; path[i] != 0; ++i) {
        if (i + 1 >= kPlatformPathCapacity) return false;
        uint32_t c = path[i];
        if (c >= 0xD800 && c <= 0xDFFF) {
            const uint32_t low = path[i + 1];
            if (c > 0xDBFF || low < 0xDC00 || low > 0xDFFF) return false;
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            ++i;
        }
        if (c == u'\\') c = u'/';
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return i > 0;
}

int OpenFlags(uint8_t mode) {
    int flags = O_CLOEXEC;
    if (mode & VFILE_MODE_READ) {
        flags |= O_RDONLY;
    } else if (mode & VFILE_MODE_WRITE) {
        flags |= O_WRONLY;
    } else {
        flags |= O_RDWR;
    }
    if (mode & VFILE_MODE_CREATE) flags |= O_CREAT | O_TRUNC;
    return flags;
}

}  // namespace

char16_t PlatformPathSeparator() {
    return u'/';
}

VPlatformFile* PlatformFileOpen(uint8_t* result, const char16_t* path, uint8_t mode) {
    std::string native;
    if (path == nullptr || !ToNativePath(path, native)) {
        *result = VFILE_REFUSED;
        return nullptr;
    }
    auto* file = new (std::nothrow) VPlatformFile;
    if (file == nullptr) {
        *result = VFILE_NO_MEMORY;
        return nullptr;
    }
    file->descriptor = open(native.c_str(), OpenFlags(mode), 0666);
    // A folder opens on POSIX systems but is not a file to read or write.
    struct stat info;
    if (file->descriptor >= 0 && (fstat(file->descriptor, &info) != 0 || S_ISDIR(info.st_mode))) {
        close(file->descriptor);
        file->descriptor = -1;
    }
    if (file->descriptor < 0) {
        delete file;
        *result = VFILE_REFUSED;
        return nullptr;
    }
    *result = VFILE_OK;
    return file;
}

void PlatformFileClose(VPlatformFile* file) {
    if (file == nullptr) return;
    close(file->descriptor);
    delete file;
}

uint32_t PlatformFileRead(VPlatformFile* file, void* buffer, uint32_t count) {
    auto* bytes = static_cast<char*>(buffer);
    uint32_t done = 0;
    while (done < count) {
        const ssize_t n = read(file->descriptor, bytes + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<uint32_t>(n);
    }
    return done;
}

uint32_t PlatformFileWrite(VPlatformFile* file, const void* buffer, uint32_t count) {
    const auto* bytes = static_cast<const char*>(buffer);
    uint32_t done = 0;
    while (done < count) {
        const ssize_t n = write(file->descriptor, bytes + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<uint32_t>(n);
    }
    return done;
}

uint32_t PlatformFileSeek(VPlatformFile* file, int32_t offset, uint8_t origin) {
    int whence;
    switch (origin) {
        case VFILE_SEEK_START:
            whence = SEEK_SET;
            break;
        case VFILE_SEEK_CURRENT:
            whence = SEEK_CUR;
            break;
        case VFILE_SEEK_END:
            whence = SEEK_END;
            break;
        default:
            return VFILE_SEEK_FAILED;
    }
    const off_t position = lseek(file->descriptor, offset, whence);
    // Positions past 4 GiB cannot be answered in 32 bits. Compared unsigned: where off_t has
    // 32 bits (32-bit ARM), the failure value cast to it is −1 and every seek would fail.
    if (position < 0 || static_cast<uint64_t>(position) >= VFILE_SEEK_FAILED) {
        return VFILE_SEEK_FAILED;
    }
    return static_cast<uint32_t>(position);
}
