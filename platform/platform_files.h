// The operating system's file calls: the only place files are opened, read, written and
// positioned. One implementation per platform.
#pragma once

#include <cstddef>
#include <cstdint>

// An open native file, owned by whoever opened it until PlatformFileClose.
struct VPlatformFile;

// Capacity, in wide characters with the terminator, of a path the file layer accepts.
constexpr size_t kPlatformPathCapacity = 512;

// Open modes (bits): read only, write only, create or truncate. Neither of the first two bits
// means reading and writing; without the create bit the file must exist.
constexpr uint8_t VFILE_MODE_READ = 1;
constexpr uint8_t VFILE_MODE_WRITE = 2;
constexpr uint8_t VFILE_MODE_CREATE = 4;

// Result codes of PlatformFileOpen.
constexpr uint8_t VFILE_OK = 0;
constexpr uint8_t VFILE_NO_MEMORY = 1;
constexpr uint8_t VFILE_REFUSED = 3;

// Seek origins.
constexpr uint8_t VFILE_SEEK_START = 0;
constexpr uint8_t VFILE_SEEK_CURRENT = 1;
constexpr uint8_t VFILE_SEEK_END = 2;

// PlatformFileSeek's answer when the position could not be set.
constexpr uint32_t VFILE_SEEK_FAILED = 0xFFFFFFFF;

// The separator of the native paths ('\' on Windows, '/' on POSIX systems).
char16_t PlatformPathSeparator();

// Opens path (terminated wide string) with the given mode bits. Both '/' and '\' are taken as
// separators and turned into the native one. Sets *result to VFILE_OK and returns the file, or
// sets VFILE_NO_MEMORY or VFILE_REFUSED (missing file, a folder, a path of
// kPlatformPathCapacity characters or more, access denied) and returns null.
VPlatformFile* PlatformFileOpen(uint8_t* result, const char16_t* path, uint8_t mode);

// Closes the native file and releases the record; null is ignored.
void PlatformFileClose(VPlatformFile* file);

// Transfers up to count bytes, stopping early only at the end of the file or on an error;
// returns the number of bytes moved (0 when nothing could be).
uint32_t PlatformFileRead(VPlatformFile* file, void* buffer, uint32_t count);
uint32_t PlatformFileWrite(VPlatformFile* file, const void* buffer, uint32_t count);

// Moves to offset from the origin and returns the new position, or VFILE_SEEK_FAILED.
uint32_t PlatformFileSeek(VPlatformFile* file, int32_t offset, uint8_t origin);
