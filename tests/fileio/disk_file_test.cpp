#include "fileio/disk_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "fileio/buffer_file.h"
#include "platform/program_folder.h"
#include "tests/fileio/temp_folder.h"

namespace {

const std::vector<uint8_t> kTwoBytes = {0x00, 0x01};

}  // namespace

TEST(ClassVDiskFile, CreateWriteThenOpenReadSeek) {
    TempFolder folder;
    const std::u16string path = folder.Wide("data.bin");
    ClassVDiskFile file;
    ASSERT_TRUE(file.Create(path.c_str()));
    EXPECT_TRUE(file.IsOpen());
    EXPECT_FALSE(file.IsPack());
    EXPECT_TRUE(file.Write("abcdef", 6));
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(folder.Contents("data.bin"), (std::vector<uint8_t>{'a', 'b', 'c', 'd', 'e', 'f'}));

    ASSERT_TRUE(file.Open(path.c_str(), VOPEN_READ));
    char buffer[8] = {};
    file.Seek(4);
    EXPECT_TRUE(file.Read(buffer, 8));  // a short read is a success
    EXPECT_EQ(std::string(buffer), "ef");
    EXPECT_FALSE(file.Read(buffer, 1));  // at the end nothing moves
    uint32_t size = 0;
    EXPECT_TRUE(file.Size(&size));
    EXPECT_EQ(size, 6u);
    EXPECT_FALSE(file.Write("x", 1));  // opened read only
}

TEST(ClassVDiskFile, CreateTruncatesAnExistingFile) {
    TempFolder folder;
    const std::u16string path = folder.Write("old.bin", {1, 2, 3, 4});
    ClassVDiskFile file;
    ASSERT_TRUE(file.Create(path.c_str()));
    file.Close();
    EXPECT_TRUE(folder.Contents("old.bin").empty());
}

TEST(ClassVDiskFile, TwoByteFileIsPlainAndReadsFromTheStart) {
    TempFolder folder;
    const std::u16string path = folder.Write("game_nastr.cfg", kTwoBytes);
    ClassVDiskFile file;
    ASSERT_TRUE(file.Open(path.c_str(), VOPEN_READ));
    EXPECT_FALSE(file.IsPack());
    EXPECT_FALSE(file.IsFreePack());
    uint8_t settings[2] = {9, 9};
    EXPECT_TRUE(file.Read(settings, 2));
    EXPECT_EQ(settings[0], 0x00);
    EXPECT_EQ(settings[1], 0x01);
}

TEST(ClassVDiskFile, ReadAndWriteOfNothingOrWhenClosedFail) {
    TempFolder folder;
    const std::u16string path = folder.Write("f", kTwoBytes);
    ClassVDiskFile file;
    uint8_t b[2];
    EXPECT_FALSE(file.Read(b, 2));
    EXPECT_FALSE(file.Write(b, 2));
    file.Seek(1);
    file.Close();
    uint32_t size;
    EXPECT_FALSE(file.Size(&size));

    ASSERT_TRUE(file.Open(path.c_str(), VOPEN_READWRITE));
    EXPECT_FALSE(file.Read(b, 0));
    EXPECT_FALSE(file.Write(b, 0));
    EXPECT_TRUE(file.Read(b, 1));
}

TEST(ClassVDiskFile, OpenModes) {
    TempFolder folder;
    const std::u16string path = folder.Write("f", kTwoBytes);
    ClassVDiskFile file;
    uint8_t b[2];
    ASSERT_TRUE(file.Open(path.c_str(), VOPEN_WRITE));
    EXPECT_FALSE(file.Read(b, 2));
    EXPECT_TRUE(file.Write("z", 1));  // write only, without truncating
    file.Close();
    EXPECT_EQ(folder.Contents("f"), (std::vector<uint8_t>{'z', 0x01}));

    for (uint8_t mode : {0, 3, 7, 255}) {  // every other mode reads and writes
        ASSERT_TRUE(file.Open(path.c_str(), mode)) << int(mode);
        EXPECT_TRUE(file.Read(b, 1));
        EXPECT_TRUE(file.Write("y", 1));
    }
    file.Close();
    EXPECT_EQ(folder.Contents("f"), (std::vector<uint8_t>{'z', 'y'}));
}

TEST(ClassVDiskFile, FailedOpenLeavesItClosedAndKeepsThePath) {
    TempFolder folder;
    const std::u16string path = folder.Write("here", kTwoBytes);
    ClassVDiskFile file;
    ASSERT_TRUE(file.Open(path.c_str(), VOPEN_READ));
    EXPECT_FALSE(file.Open(folder.Wide("missing").c_str(), VOPEN_READ));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(std::u16string(file.FullPath()), path);
    // A folder is not a file.
    EXPECT_FALSE(file.Open(folder.Wide("").c_str(), VOPEN_READ));
    EXPECT_FALSE(file.Create(folder.Wide("no/such/folder").c_str()));
}

TEST(ClassVDiskFile, NullNameReopensTheLastPath) {
    TempFolder folder;
    const std::u16string path = folder.Write("f", kTwoBytes);
    ClassVDiskFile file;
    EXPECT_FALSE(file.Open(nullptr, VOPEN_READ));  // nothing opened yet
    ASSERT_TRUE(file.Open(path.c_str(), VOPEN_READ));
    uint8_t b[2];
    EXPECT_TRUE(file.Read(b, 2));
    file.Close();
    ASSERT_TRUE(file.Open(nullptr, VOPEN_READ));
    EXPECT_EQ(std::u16string(file.FullPath()), path);
    b[0] = 7;
    EXPECT_TRUE(file.Read(b, 1));
    EXPECT_EQ(b[0], 0x00);
    ASSERT_TRUE(file.Open(static_cast<const char*>(nullptr), VOPEN_READ));
    ASSERT_TRUE(file.Create(nullptr));
    file.Close();
    EXPECT_TRUE(folder.Contents("f").empty());
}

TEST(ClassVDiskFile, RelativeNamesResolveAgainstTheProgramFolder) {
    char16_t programFolder[kProgramFolderCapacity];
    PlatformGetProgramFolder(programFolder);
    ASSERT_NE(programFolder[0], 0);
    const std::filesystem::path base(std::u16string{programFolder});
    const std::string dir = "fileio_relative_" + std::to_string(getpid());
    std::filesystem::create_directories(base / dir / "sub");

    ClassVDiskFile file;
    const std::string name = dir + "/sub\\file.bin";
    ASSERT_TRUE(file.Create(name.c_str()));
    EXPECT_EQ(std::u16string(file.FullPath()), (base / dir / "sub" / "file.bin").u16string());
    EXPECT_TRUE(file.Write("ok", 2));
    file.Close();
    EXPECT_TRUE(std::filesystem::exists(base / dir / "sub" / "file.bin"));
    EXPECT_TRUE(file.Open(name.c_str(), VOPEN_READ));
    file.Close();
    std::filesystem::remove_all(base / dir);
}

TEST(ClassVDiskFile, LongNarrowNamesWidenWholeAndOverlongPathsAreRefused) {
    TempFolder folder;
    // A name of 300 characters, in folders of 60 characters each.
    std::string name = folder.Path("").string();
    const std::string part(59, 'd');
    while (name.size() + part.size() + 1 < 300) {
        name += part;
        std::filesystem::create_directories(name);
        name += '/';
    }
    name += std::string(300 - name.size(), 'f');
    ASSERT_EQ(name.size(), 300u);
    ClassVDiskFile file;
    ASSERT_TRUE(file.Create(name.c_str()));
    EXPECT_EQ(std::filesystem::path(std::u16string(file.FullPath())), std::filesystem::path(name));
    file.Close();
    EXPECT_TRUE(file.Open(name.c_str(), VOPEN_READ));

    // 511 characters is the longest full path; one more is refused before the system sees it.
    const std::string at = "/" + std::string(510, 'x');
    const std::string over = at + "x";
    EXPECT_FALSE(file.Open(at.c_str(), VOPEN_READ));  // too long for this system, but tried
    EXPECT_FALSE(file.Open(over.c_str(), VOPEN_READ));
    EXPECT_FALSE(file.Create(std::u16string(over.begin(), over.end()).c_str()));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(std::filesystem::path(std::u16string(file.FullPath())), std::filesystem::path(name));
}

TEST(ClassVBufferFile, LoadsAFileWholeAndFreesItOnClose) {
    TempFolder folder;
    const std::u16string path = folder.Write("f", {1, 2, 3});
    ClassVBufferFile buffer;
    EXPECT_FALSE(buffer.InUse());
    EXPECT_EQ(buffer.Data(), nullptr);
    ASSERT_TRUE(buffer.LoadFile(path.c_str()));
    EXPECT_TRUE(buffer.InUse());
    EXPECT_TRUE(buffer.IsOpen());
    ASSERT_EQ(buffer.DataSize(), 3u);
    EXPECT_EQ(buffer.Data()[2], 3);
    buffer.Close();
    EXPECT_FALSE(buffer.InUse());
    EXPECT_FALSE(buffer.IsOpen());
    EXPECT_EQ(buffer.DataSize(), 0u);

    EXPECT_FALSE(buffer.LoadFile(folder.Wide("missing").c_str()));
    EXPECT_FALSE(buffer.IsOpen());
    const std::u16string empty = folder.Write("empty", {});
    ASSERT_TRUE(buffer.LoadFile(empty.c_str()));
    EXPECT_EQ(buffer.DataSize(), 0u);
    // The destructor releases what is still loaded (leak-checked under asan).
    ASSERT_TRUE(buffer.LoadFile(path.c_str()));
}

TEST(ClassVBufferFile, MemoryOnlyLeavesTheCallersBlockAlone) {
    uint8_t block[4] = {5, 6, 7, 8};
    ClassVBufferFile buffer;
    buffer.UseMemory(block, sizeof(block));
    EXPECT_TRUE(buffer.InUse());
    EXPECT_FALSE(buffer.IsOpen());
    EXPECT_EQ(buffer.Data(), block);
    EXPECT_EQ(buffer.DataSize(), 4u);
    buffer.Close();
    EXPECT_FALSE(buffer.InUse());
    EXPECT_EQ(buffer.DataSize(), 0u);
    EXPECT_EQ(block[0], 5);
}
