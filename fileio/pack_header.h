// Pack files: recognising the VPK2 and VPCK headers when a file is opened.
//
// A pack bundles other files; here only its header is read and checked. A VPK2 file begins
// with a VPackHeader whose checksum must match; a VPCK file (the older generation) begins with
// a 32-byte header from which a VPackHeader is built, with no checksum test.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

class ClassVDiskFile;

// A four-character code: the characters as a little-endian 32-bit number.
constexpr uint32_t FourCC(const char (&code)[5]) {
    return static_cast<uint8_t>(code[0]) | static_cast<uint8_t>(code[1]) << 8 |
           static_cast<uint8_t>(code[2]) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(code[3])) << 24;
}

constexpr uint32_t kPackMagicVPK2 = FourCC("VPK2");
constexpr uint32_t kPackMagicVPCK = FourCC("VPCK");
constexpr uint32_t kPackKindFree = FourCC("FREE");
constexpr uint8_t kPackVersionVPK2 = 200;
constexpr uint8_t kPackVersionVPCK = 100;
constexpr uint32_t kPackHeaderSize = 28;
constexpr uint32_t kVPCKFileHeaderSize = 32;

// The header as kept by an open file, byte for byte as stored in a VPK2 file (little-endian).
struct VPackHeader {
    uint32_t magic;
    uint32_t kind;  // kPackKindFree marks a free pack
    uint32_t headerSize;
    uint8_t version;
    uint8_t reserved13[3];
    uint32_t packField;
    uint32_t checksum;
    uint16_t reserved24;
    uint16_t reserved26;
};
static_assert(sizeof(VPackHeader) == kPackHeaderSize);
static_assert(std::endian::native == std::endian::little,
              "VPackHeader is read and written as little-endian bytes");

// The header checksum over count bytes (the checksum field among them set to 0): characters 5
// to 8 of their MD5 digest in hexadecimal, read as a little-endian number, plus 0xA9238.
uint32_t PackHeaderChecksum(const void* bytes, size_t count);

struct VPackRecognition {
    bool isPack = false;
    bool isFree = false;
};

// Reads the start of an open file through its Read and Seek and fills header, which starts
// from all zeros. A header that is
// short, damaged, of a header size above 28 or (VPK2) with a wrong checksum is no pack.
// The file's position afterwards is not defined; the caller seeks where it wants.
VPackRecognition RecognisePack(ClassVDiskFile& file, VPackHeader& header);
