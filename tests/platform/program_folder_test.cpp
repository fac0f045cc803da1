#include "platform/program_folder.h"

#include <gtest/gtest.h>

#include <string>

TEST(CutToProgramFolder, KeepsUpToLastSeparator) {
    struct Case {
        std::u16string path, folder;
    };
    const Case cases[] = {
        {u"C:\\Games\\vorlund.exe", u"C:\\Games\\"},
        {u"/opt/vorlund/bin/vorlund", u"/opt/vorlund/bin/"},
        {u"C:\\Games\\", u"C:\\Games\\"},
        {u"mixed\\dir/name", u"mixed\\dir/"},
        {u"noseparator", u"n"},
    };
    for (const Case& c : cases) {
        std::u16string buffer = c.path;
        CutToProgramFolder(buffer.data());
        EXPECT_EQ(std::u16string(buffer.c_str()), c.folder);
    }
}

TEST(PlatformGetProgramFolder, IsTheTestProgramsFolder) {
    char16_t folder[kProgramFolderCapacity];
    PlatformGetProgramFolder(folder);
    std::u16string f(folder);
    ASSERT_FALSE(f.empty());
    EXPECT_EQ(f.front(), u'/');
    EXPECT_EQ(f.back(), u'/');
}
