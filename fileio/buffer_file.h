// ClassVBufferFile: a file whose contents are held in one memory block, either read whole from
// disk (the block is owned and the file stays open) or lent by the caller (memory only).
#pragma once

#include <cstdint>

#include "fileio/disk_file.h"

class ClassVBufferFile : public ClassVDiskFile {
  public:
    ClassVBufferFile() = default;
    ~ClassVBufferFile();

    // Opens name for reading and reads it whole into a block of its own. False, with the
    // object closed, when the file cannot be opened, is too large for memory or reads short.
    bool LoadFile(const char16_t* name);
    // Uses a caller's block of size bytes, which stays the caller's: closing leaves it alone.
    void UseMemory(void* block, uint32_t size);

    // In use and loaded from disk: frees the block and closes the file. In use from memory:
    // leaves the block alone. Either way the size becomes 0 and the object is no longer in use.
    void Close();

    bool InUse() const { return inUse_; }
    // The contents while in use, else null.
    const uint8_t* Data() const { return inUse_ ? static_cast<const uint8_t*>(block_) : nullptr; }
    // The size word: the contents' length in bytes while in use, 0 after closing.
    uint32_t DataSize() const { return size_; }

  private:
    uint32_t size_ = 0;
    void* block_ = nullptr;
    bool inUse_ = false;
    bool memoryOnly_ = false;
};
