// ClassVDiskFile: the framework's way to reach files on disk. Names may be relative to the
// program's folder; an opened file is checked for a pack header (see pack_header.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "fileio/pack_header.h"

struct VPlatformFile;

// Capacity of a full path, terminator included; a longer path is refused, never cut.
constexpr size_t kFullPathCapacity = 512;
// Capacity of the folder relative names are resolved against.
constexpr size_t kBaseFolderCapacity = 768;

// Open modes: Open with 1 reads only, with 2 writes only, with anything else reads and writes
// a file that must exist.
constexpr uint8_t VOPEN_READ = 1;
constexpr uint8_t VOPEN_WRITE = 2;
constexpr uint8_t VOPEN_READWRITE = 0;

class ClassVDiskFile {
  public:
    ClassVDiskFile();
    ~ClassVDiskFile();
    ClassVDiskFile(const ClassVDiskFile&) = delete;
    ClassVDiskFile& operator=(const ClassVDiskFile&) = delete;

    // Create or truncate a file for reading and writing. Packs are not recognised here.
    bool Create(const char16_t* name);
    // Open an existing file in one of the modes above; the file is checked for a pack header
    // and positioned at 0, and the result is true whether or not it is a pack.
    bool Open(const char16_t* name, uint8_t mode);

    // 8-bit names are widened byte by byte as signed values (see strings.h).
    bool Create(const char* name);
    bool Open(const char* name, uint8_t mode);

    // A null name opens again the full path of the last successful Create or Open.
    bool Create(std::nullptr_t) { return Create(static_cast<const char16_t*>(nullptr)); }
    bool Open(std::nullptr_t, uint8_t mode) {
        return Open(static_cast<const char16_t*>(nullptr), mode);
    }

    // True when at least one byte moved: a short transfer counts as success. False when no
    // file is open or count is 0.
    bool Read(void* buffer, uint32_t count);
    bool Write(const void* buffer, uint32_t count);
    // The number of bytes read (0 when closed); for callers that need exact counts.
    uint32_t ReadUpTo(void* buffer, uint32_t count);

    // Moves to offset bytes from the start; nothing happens when no file is open.
    void Seek(int32_t offset);
    // The file's length in bytes, keeping the position; false when closed or not known.
    bool Size(uint32_t* size);

    // Closes the file and clears the pack flags; harmless when nothing is open. The full path
    // is kept for a later reopening.
    void Close();

    bool IsOpen() const { return open_; }
    bool IsPack() const { return pack_; }
    bool IsFreePack() const { return freePack_; }
    const VPackHeader& PackHeader() const { return packHeader_; }
    // The full path of the last file opened successfully; empty before the first.
    const char16_t* FullPath() const { return fullPath_; }

  private:
    // Opens name with the platform mode bits and stores its full path; false leaves the
    // object closed.
    bool OpenNative(const char16_t* name, uint8_t platformMode);
    // The full path of name (see path_resolution.h); false when it cannot be made.
    bool Resolve(const char16_t* name, char16_t* path);

    VPlatformFile* native_ = nullptr;
    VPackHeader packHeader_{};
    char16_t fullPath_[kFullPathCapacity] = {};
    char16_t baseFolder_[kBaseFolderCapacity] = {};
    bool open_ = false;
    bool pack_ = false;
    bool freePack_ = false;
};
