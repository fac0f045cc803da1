// The Windows services under the core: resources of the executable by type and id, the
// fatal-error box and its exit code, files, the program folder and memory blocks.
#include <gtest/gtest.h>
#include <windows.h>
// windows.h names FindResourceW FindResource; here the name is the framework's.
#undef FindResource

#include <cstdio>
#include <cstring>
#include <string>

#include "app/resource_lookup.h"
#include "hss/hss.h"
#include "platform/fatal_error.h"
#include "platform/platform_files.h"
#include "platform/platform_memory.h"
#include "platform/program_folder.h"
#include "platform/resources.h"
#include "platform/win32/resource_table_win32.h"

namespace {

std::string Bytes(const uint8_t* data, size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

TEST(Win32Resources, FoundByTypeAndIdInTheExecutable) {
    struct Case {
        const char* type;
        uint32_t id;
        const char* bytes;  // null: not found
    };
    const Case cases[] = {
        {"TESTDATA", 7, "VANELIB test resource: seven\n"},
        {"WAVE", 118, "WAVE stand-in bytes\n"},
        {"TESTDATA", 118, nullptr},  // the id under another type
        {"WAVE", 7, nullptr},
        {"TESTDATA", 8, nullptr},
        {"IMAGES", 105, nullptr},
    };
    for (const Case& c : cases) {
        const uint8_t* data = nullptr;
        size_t size = 0;
        const bool found = FindResource(ProgramResources(), c.type, c.id, &data, &size);
        ASSERT_EQ(found, c.bytes != nullptr) << c.type << " " << c.id;
        if (c.bytes != nullptr) {
            EXPECT_EQ(Bytes(data, size), c.bytes);
        }
        // The table holds what the executable's resource section holds.
        const uint8_t* direct = nullptr;
        size_t directSize = 0;
        EXPECT_EQ(FindModuleResource(0, c.type, c.id, &direct, &directSize), found);
        if (found) {
            EXPECT_EQ(direct, data);
        }
    }
    // The icon is an icon resource of the executable, for the window class.
    EXPECT_NE(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(101)), nullptr);
    const uint8_t* data = nullptr;
    size_t size = 0;
    EXPECT_FALSE(FindModuleResource(0, "T\xC3\xA9ST", 7, &data, &size));
    EXPECT_FALSE(FindModuleResource(0, "TESTDATA", 0x10007, &data, &size));
}

// Closes the message box as a user would press OK, after writing its caption and text to the
// error stream for the death test to match.
LRESULT CALLBACK CloseTheBox(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        char caption[64] = {};
        GetWindowTextA(box, caption, sizeof(caption));
        std::fprintf(stderr, "box captioned '%s'\n", caption);
        std::fflush(stderr);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void LookUpMissingResource() {
    SetWindowsHookExW(WH_CBT, &CloseTheBox, nullptr, GetCurrentThreadId());
    LookUpResource(ProgramResources(), "IMAGES", 105);
}

TEST(Win32ResourcesDeathTest, MissingResourceEndsWithTheFatalErrorBox) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(LookUpMissingResource(), testing::ExitedWithCode(kResourceMissingExitCode),
                "box captioned 'Fatal Error'");
}

std::u16string TempPath(const char16_t* name) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    std::u16string path(reinterpret_cast<const char16_t*>(folder));
    return path + name;
}

TEST(Win32Files, WriteSeekReadAndRefusals) {
    std::u16string path = TempPath(u"vane_win32_files.bin");
    // Forward slashes are taken as separators too.
    for (char16_t& c : path) {
        if (c == u'\\') c = u'/';
    }
    uint8_t result = 99;
    VPlatformFile* file =
        PlatformFileOpen(&result, path.c_str(), VFILE_MODE_WRITE | VFILE_MODE_CREATE);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(result, VFILE_OK);
    EXPECT_EQ(PlatformFileWrite(file, "0123456789", 10), 10u);
    PlatformFileClose(file);

    file = PlatformFileOpen(&result, path.c_str(), VFILE_MODE_READ);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(PlatformFileSeek(file, -3, VFILE_SEEK_END), 7u);
    char buffer[16] = {};
    EXPECT_EQ(PlatformFileRead(file, buffer, sizeof(buffer)), 3u);
    EXPECT_STREQ(buffer, "789");
    EXPECT_EQ(PlatformFileSeek(file, 2, VFILE_SEEK_START), 2u);
    EXPECT_EQ(PlatformFileSeek(file, 3, VFILE_SEEK_CURRENT), 5u);
    EXPECT_EQ(PlatformFileSeek(file, -6, VFILE_SEEK_CURRENT), VFILE_SEEK_FAILED);
    EXPECT_EQ(PlatformFileSeek(file, 0, 7), VFILE_SEEK_FAILED);
    EXPECT_EQ(PlatformFileWrite(file, "x", 1), 0u) << "opened for reading";
    PlatformFileClose(file);
    PlatformFileClose(nullptr);

    const std::u16string folder = TempPath(u"");
    const std::u16string missing = TempPath(u"vane_win32_no_such_file.bin");
    const std::u16string tooLong(kPlatformPathCapacity, u'a');
    for (const std::u16string* refused : {&folder, &missing, &tooLong}) {
        result = 99;
        EXPECT_EQ(PlatformFileOpen(&result, refused->c_str(), VFILE_MODE_READ), nullptr);
        EXPECT_EQ(result, VFILE_REFUSED);
    }
    EXPECT_EQ(PlatformPathSeparator(), u'\\');
    DeleteFileW(reinterpret_cast<const wchar_t*>(TempPath(u"vane_win32_files.bin").c_str()));
}

TEST(Win32ProgramFolder, IsTheExecutablesFolder) {
    char16_t folder[kProgramFolderCapacity];
    PlatformGetProgramFolder(folder);
    wchar_t module[MAX_PATH];
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::u16string expected(reinterpret_cast<const char16_t*>(module));
    expected.erase(expected.find_last_of(u'\\') + 1);
    EXPECT_EQ(std::u16string(folder), expected);
}

TEST(Win32Memory, BlocksAreUsableAndFreed) {
    for (size_t size : {size_t(0), size_t(1), size_t(1) << 20}) {
        void* block = PlatformMemAlloc(size);
        ASSERT_NE(block, nullptr) << size;
        std::memset(block, 0x5A, size);
        PlatformMemFree(block);
    }
    PlatformMemFree(nullptr);
}

}  // namespace

namespace {

// The sound library's system output on waveOut: it plays where there is a wave device and
// says HSS_NO_DEVICE where there is none (the program then runs silently); either way it opens
// and closes without hanging, each format in turn.
TEST(Win32WaveOut, OpensPlaysAndClosesOrReportsNoDevice) {
    struct Format {
        unsigned rate, bits;
        bool stereo;
    };
    for (const Format f : {Format{22050, 16, true}, Format{11025, 8, false}}) {
        hssSpeaker speaker;
        const unsigned opened =
            speaker.open(f.rate, f.bits, f.stereo, HSS_RESAMPLE_LINEAR, HSS_OUTPUT_SYSTEM);
        ASSERT_TRUE(opened == HSS_OK || opened == HSS_NO_DEVICE) << hssResultText(opened);
        if (opened == HSS_NO_DEVICE) {
            EXPECT_FALSE(speaker.isOpen());
            std::printf("no wave output device here: the speaker stays closed\n");
            continue;
        }
        EXPECT_TRUE(speaker.isOpen());
        Sleep(150);  // the device's thread mixes and queues its buffers meanwhile
        EXPECT_EQ(speaker.close(), HSS_OK);
        EXPECT_FALSE(speaker.isOpen());
    }
}

}  // namespace
