#include "fileio/pack_header.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "fileio/disk_file.h"
#include "tests/fileio/temp_folder.h"

// Stored and kept checksums below come from tests/fileio/expected_values.py (hashlib).
namespace {

void Put32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A VPK2 header of kind "GAME" (or "FREE"), header size 28, pack field 0x12345678, followed by
// a few bytes of pack contents.
std::vector<uint8_t> VPK2File(const char (&kind)[5], uint32_t checksum) {
    std::vector<uint8_t> bytes(40, 0xEE);
    std::memset(bytes.data(), 0, kPackHeaderSize);
    Put32(bytes, 0, FourCC("VPK2"));
    Put32(bytes, 4, FourCC(kind));
    Put32(bytes, 8, 28);
    bytes[12] = 200;
    Put32(bytes, 16, 0x12345678);
    Put32(bytes, 20, checksum);
    return bytes;
}

constexpr uint32_t kGameChecksum = 0x383AF56A;
constexpr uint32_t kFreeChecksum = 0x6642CA9B;

struct Opened {
    bool ok;
    bool pack;
    bool free;
    VPackHeader header;
    uint8_t first;  // the first byte read after opening
};

Opened OpenBytes(const TempFolder& folder, const std::vector<uint8_t>& bytes) {
    const std::u16string path = folder.Write("pack", bytes);
    ClassVDiskFile file;
    Opened result{};
    result.ok = file.Open(path.c_str(), VOPEN_READ);
    result.pack = file.IsPack();
    result.free = file.IsFreePack();
    result.header = file.PackHeader();
    result.first = 0xAA;
    file.Read(&result.first, 1);
    return result;
}

}  // namespace

TEST(PackHeaderChecksum, OfAbc) {
    EXPECT_EQ(PackHeaderChecksum("abc", 3), 0x3342CB68u);
}

TEST(FourCC, FirstCharacterInTheLowByte) {
    EXPECT_EQ(FourCC("VPK2"), 0x324B5056u);
}

TEST(RecognisePack, VPK2WithMatchingChecksum) {
    TempFolder folder;
    const Opened game = OpenBytes(folder, VPK2File("GAME", kGameChecksum));
    ASSERT_TRUE(game.ok);
    EXPECT_TRUE(game.pack);
    EXPECT_FALSE(game.free);
    EXPECT_EQ(game.header.magic, FourCC("VPK2"));
    EXPECT_EQ(game.header.kind, FourCC("GAME"));
    EXPECT_EQ(game.header.version, 200);
    EXPECT_EQ(game.header.packField, 0x12345678u);
    EXPECT_EQ(game.header.checksum, kGameChecksum);
    EXPECT_EQ(game.first, 'V');  // positioned at 0 afterwards

    const Opened free = OpenBytes(folder, VPK2File("FREE", kFreeChecksum));
    EXPECT_TRUE(free.pack);
    EXPECT_TRUE(free.free);
}

TEST(RecognisePack, VPK2WithAnyHeaderByteChangedIsPlain) {
    TempFolder folder;
    for (size_t offset = 0; offset < kPackHeaderSize; ++offset) {
        if (offset >= 20 && offset < 24) continue;  // the checksum itself
        std::vector<uint8_t> bytes = VPK2File("GAME", kGameChecksum);
        bytes[offset] ^= 0x01;
        const Opened o = OpenBytes(folder, bytes);
        EXPECT_TRUE(o.ok);
        EXPECT_FALSE(o.pack) << "byte " << offset;
        EXPECT_FALSE(o.free) << "byte " << offset;
        EXPECT_EQ(o.first, bytes[0]);
    }
    const Opened wrong = OpenBytes(folder, VPK2File("FREE", kGameChecksum));
    EXPECT_FALSE(wrong.pack);
    EXPECT_FALSE(wrong.free);
}

TEST(RecognisePack, VPK2HeaderSizeDecidesWhatTheChecksumCovers) {
    TempFolder folder;
    std::vector<uint8_t> bytes = VPK2File("GAME", 0x3041C86F);
    Put32(bytes, 8, 20);
    const Opened o = OpenBytes(folder, bytes);
    EXPECT_TRUE(o.pack);
    EXPECT_EQ(o.header.checksum, 0x333DF69Cu);  // kept: over all 28 bytes

    // Sizes above the kept header's 28 bytes are outside the format, whatever the checksum.
    for (uint32_t size : {29u, 32u, 0xFFFFFFFFu}) {
        Put32(bytes, 8, size);
        EXPECT_FALSE(OpenBytes(folder, bytes).pack) << size;
    }
}

TEST(RecognisePack, VPCKNeedsNoChecksum) {
    TempFolder folder;
    std::vector<uint8_t> bytes(32, 0x5A);  // the bytes VPCK does not use are left arbitrary
    Put32(bytes, 0, FourCC("VPCK"));
    Put32(bytes, 4, FourCC("GAME"));
    Put32(bytes, 16, 0x0BADF00D);
    const Opened o = OpenBytes(folder, bytes);
    EXPECT_TRUE(o.pack);
    EXPECT_FALSE(o.free);
    EXPECT_EQ(o.header.magic, FourCC("VPCK"));
    EXPECT_EQ(o.header.headerSize, 28u);
    EXPECT_EQ(o.header.version, 100);
    EXPECT_EQ(o.header.packField, 0x0BADF00Du);
    EXPECT_EQ(o.header.reserved24, 0);
    EXPECT_EQ(o.header.checksum, 0x383AF66Du);
    EXPECT_EQ(o.first, 'V');

    Put32(bytes, 4, FourCC("FREE"));
    EXPECT_TRUE(OpenBytes(folder, bytes).free);
}

TEST(RecognisePack, ShortFilesArePlain) {
    TempFolder folder;
    const std::vector<uint8_t> vpk2 = VPK2File("GAME", kGameChecksum);
    std::vector<uint8_t> vpck(32, 0);
    Put32(vpck, 0, FourCC("VPCK"));
    struct Case {
        const std::vector<uint8_t>* whole;
        size_t length;
    };
    const Case cases[] = {{&vpk2, 0},  {&vpk2, 2}, {&vpk2, 4}, {&vpk2, 12},
                          {&vpk2, 27}, {&vpck, 4}, {&vpck, 31}};
    for (const Case& c : cases) {
        const std::vector<uint8_t> bytes(c.whole->begin(), c.whole->begin() + c.length);
        const Opened o = OpenBytes(folder, bytes);
        EXPECT_TRUE(o.ok);
        EXPECT_FALSE(o.pack) << c.length << " bytes";
        if (c.length > 0) {
            EXPECT_EQ(o.first, 'V');
        }
    }
    // Exactly the header is enough.
    EXPECT_TRUE(OpenBytes(folder, std::vector<uint8_t>(vpk2.begin(), vpk2.begin() + 28)).pack);
    EXPECT_TRUE(OpenBytes(folder, vpck).pack);
}

TEST(RecognisePack, CreateNeverRecognisesAndCloseClearsTheFlags) {
    TempFolder folder;
    const std::u16string path = folder.Write("pack", VPK2File("FREE", kFreeChecksum));
    ClassVDiskFile file;
    ASSERT_TRUE(file.Open(path.c_str(), VOPEN_READ));
    EXPECT_TRUE(file.IsFreePack());
    file.Close();
    EXPECT_FALSE(file.IsPack());
    EXPECT_FALSE(file.IsFreePack());
    ASSERT_TRUE(file.Open(path.c_str(), VOPEN_READ));
    ASSERT_TRUE(file.Create(path.c_str()));
    EXPECT_FALSE(file.IsPack());
    EXPECT_FALSE(file.IsFreePack());
    // A plain file opened next keeps nothing of the earlier pack's header.
    file.Close();
    ASSERT_TRUE(file.Open(folder.Write("plain", {1, 2, 3}).c_str(), VOPEN_READ));
    EXPECT_EQ(file.PackHeader().magic, 0u);
}
