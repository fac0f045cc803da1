#include "fileio/disk_file.h"

#include "fileio/path_resolution.h"
#include "fileio/strings.h"
#include "platform/platform_files.h"
#include "platform/program_folder.h"

static_assert(kFullPathCapacity == kPlatformPathCapacity);
static_assert(kBaseFolderCapacity >= kProgramFolderCapacity);

namespace {

// Widens an 8-bit name into name (kFullPathCapacity characters). A name too long to ever make
// a full path is refused rather than cut; null stays null.
bool WidenName(const char* source, char16_t* name, const char16_t** result) {
    *result = nullptr;
    if (source == nullptr) return true;
    if (StrLen(source, kFullPathCapacity) >= static_cast<int32_t>(kFullPathCapacity)) return false;
    StrCopyToWide(name, source, kFullPathCapacity);
    *result = name;
    return true;
}

}  // namespace

ClassVDiskFile::ClassVDiskFile() = default;

ClassVDiskFile::~ClassVDiskFile() {
    Close();
}

bool ClassVDiskFile::Create(const char16_t* name) {
    return OpenNative(name, VFILE_MODE_CREATE);
}

bool ClassVDiskFile::Open(const char16_t* name, uint8_t mode) {
    const uint8_t platformMode = mode == VOPEN_READ    ? VFILE_MODE_READ
                                 : mode == VOPEN_WRITE ? VFILE_MODE_WRITE
                                                       : 0;
    if (!OpenNative(name, platformMode)) return false;
    const VPackRecognition recognition = RecognisePack(*this, packHeader_);
    pack_ = recognition.isPack;
    freePack_ = recognition.isFree;
    Seek(0);
    return true;
}

bool ClassVDiskFile::Create(const char* name) {
    char16_t wide[kFullPathCapacity];
    const char16_t* widened;
    if (!WidenName(name, wide, &widened)) {
        Close();
        return false;
    }
    return Create(widened);
}

bool ClassVDiskFile::Open(const char* name, uint8_t mode) {
    char16_t wide[kFullPathCapacity];
    const char16_t* widened;
    if (!WidenName(name, wide, &widened)) {
        Close();
        return false;
    }
    return Open(widened, mode);
}

bool ClassVDiskFile::OpenNative(const char16_t* name, uint8_t platformMode) {
    Close();
    char16_t path[kFullPathCapacity];
    if (!Resolve(name, path)) return false;
    uint8_t result;
    native_ = PlatformFileOpen(&result, path, platformMode);
    if (native_ == nullptr) return false;
    open_ = true;
    WStrCopy(fullPath_, path, kFullPathCapacity);
    return true;
}

bool ClassVDiskFile::Resolve(const char16_t* name, char16_t* path) {
    if (name == nullptr) {
        WStrCopy(path, fullPath_, kFullPathCapacity);
        return path[0] != 0;
    }
    const char16_t separator = PlatformPathSeparator();
    if (!IsAbsolutePath(name, separator)) {
        if (baseFolder_[0] == 0) PlatformGetProgramFolder(baseFolder_);
        // Without the program's folder a relative name has nothing to be relative to.
        if (baseFolder_[0] == 0) return false;
    }
    return ResolvePath(path, kFullPathCapacity, baseFolder_, name, separator);
}

bool ClassVDiskFile::Read(void* buffer, uint32_t count) {
    return ReadUpTo(buffer, count) > 0;
}

uint32_t ClassVDiskFile::ReadUpTo(void* buffer, uint32_t count) {
    if (!open_ || count == 0) return 0;
    return PlatformFileRead(native_, buffer, count);
}

bool ClassVDiskFile::Write(const void* buffer, uint32_t count) {
    if (!open_ || count == 0) return false;
    return PlatformFileWrite(native_, buffer, count) > 0;
}

void ClassVDiskFile::Seek(int32_t offset) {
    if (open_) PlatformFileSeek(native_, offset, VFILE_SEEK_START);
}

bool ClassVDiskFile::Size(uint32_t* size) {
    if (!open_) return false;
    const uint32_t position = PlatformFileSeek(native_, 0, VFILE_SEEK_CURRENT);
    if (position == VFILE_SEEK_FAILED) return false;
    const uint32_t end = PlatformFileSeek(native_, 0, VFILE_SEEK_END);
    PlatformFileSeek(native_, static_cast<int32_t>(position), VFILE_SEEK_START);
    if (end == VFILE_SEEK_FAILED) return false;
    *size = end;
    return true;
}

void ClassVDiskFile::Close() {
    if (!open_) return;
    PlatformFileClose(native_);
    native_ = nullptr;
    open_ = false;
    pack_ = false;
    freePack_ = false;
}
