#include "fileio/pack_header.h"

#include <cstring>

#include "fileio/disk_file.h"
#include "fileio/md5.h"

namespace {

constexpr uint32_t kPackChecksumBias = 0xA9238;

// Packs demand whole headers: a read that comes short ends the recognition.
bool ReadExact(ClassVDiskFile& file, void* buffer, uint32_t count) {
    return file.ReadUpTo(buffer, count) == count;
}

uint32_t Load32(const uint8_t* p) {
    uint32_t value;
    std::memcpy(&value, p, sizeof(value));
    return value;
}

VPackRecognition Recognised(VPackHeader& header) {
    header.checksum = 0;
    header.checksum = PackHeaderChecksum(&header, kPackHeaderSize);
    return {true, header.kind == kPackKindFree};
}

VPackRecognition RecogniseVPCK(ClassVDiskFile& file, VPackHeader& header) {
    uint8_t start[kVPCKFileHeaderSize];
    file.Seek(0);
    if (!ReadExact(file, start, sizeof(start)) || Load32(start) != kPackMagicVPCK) return {};
    header.magic = kPackMagicVPCK;
    header.kind = Load32(start + 4);
    header.headerSize = kPackHeaderSize;
    header.version = kPackVersionVPCK;
    header.packField = Load32(start + 16);
    return Recognised(header);
}

VPackRecognition RecogniseVPK2(ClassVDiskFile& file, VPackHeader& header) {
    uint8_t start[12];
    file.Seek(0);
    if (!ReadExact(file, start, sizeof(start)) || Load32(start) != kPackMagicVPK2) return {};
    file.Seek(0);
    header.magic = kPackMagicVPK2;
    header.kind = kPackKindFree;
    header.headerSize = kPackHeaderSize;
    header.version = kPackVersionVPK2;
    if (!ReadExact(file, &header, kPackHeaderSize)) return {};
    const uint32_t stored = header.checksum;
    header.checksum = 0;
    // The header size says how much the checksum covers; more than the header itself is
    // outside the format.
    if (header.headerSize > kPackHeaderSize) return {};
    if (PackHeaderChecksum(&header, header.headerSize) != stored) return {};
    return Recognised(header);
}

}  // namespace

uint32_t PackHeaderChecksum(const void* bytes, size_t count) {
    char hex[kMD5HexCapacity];
    MD5Hex(hex, bytes, count);
    return Load32(reinterpret_cast<const uint8_t*>(hex + 5)) + kPackChecksumBias;
}

VPackRecognition RecognisePack(ClassVDiskFile& file, VPackHeader& header) {
    header = VPackHeader{};
    uint8_t magic[4];
    if (!ReadExact(file, magic, sizeof(magic))) return {};
    return Load32(magic) == kPackMagicVPCK ? RecogniseVPCK(file, header)
                                           : RecogniseVPK2(file, header);
}
