#include "fileio/buffer_file.h"

#include "fileio/memory.h"

ClassVBufferFile::~ClassVBufferFile() {
    Close();
}

bool ClassVBufferFile::LoadFile(const char16_t* name) {
    Close();
    uint32_t size = 0;
    if (!Open(name, VOPEN_READ) || !Size(&size)) {
        ClassVDiskFile::Close();
        return false;
    }
    void* block = MemAlloc(size);
    if ((size > 0 && block == nullptr) || ReadUpTo(block, size) != size) {
        MemFree(block);
        ClassVDiskFile::Close();
        return false;
    }
    block_ = block;
    size_ = size;
    inUse_ = true;
    memoryOnly_ = false;
    return true;
}

void ClassVBufferFile::UseMemory(void* block, uint32_t size) {
    Close();
    block_ = block;
    size_ = size;
    inUse_ = true;
    memoryOnly_ = true;
}

void ClassVBufferFile::Close() {
    if (inUse_ && !memoryOnly_) {
        MemFree(block_);
        block_ = nullptr;
        ClassVDiskFile::Close();
    }
    size_ = 0;
    inUse_ = false;
    memoryOnly_ = false;
}
