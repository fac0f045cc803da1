#include "fileio/path_resolution.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Resolved {
    bool ok;
    std::u16string path;
};

Resolved Resolve(const char16_t* folder, const char16_t* name, char16_t separator,
                 size_t capacity = 512) {
    std::u16string out(capacity, u'#');
    const bool ok = ResolvePath(out.data(), capacity, folder, name, separator);
    return {ok, out.c_str()};
}

}  // namespace

TEST(ResolvePath, WindowsRules) {
    struct Case {
        const char16_t* folder;
        const char16_t* name;
        const char16_t* expected;
    };
    const Case cases[] = {
        {u"D:\\Apps\\Demo\\", u"game_nastr.cfg", u"D:\\Apps\\Demo\\game_nastr.cfg"},
        {u"D:\\Apps\\Demo\\", u"sub/dir/file.bin", u"D:\\Apps\\Demo\\sub\\dir\\file.bin"},
        {u"D:\\Apps\\Demo", u"f", u"D:\\Apps\\Demo\\f"},   // a separator is added
        {u"D:/Apps/Demo/", u"a/b", u"D:/Apps/Demo/a\\b"},  // the folder is copied as it is
        {u"", u"a/b", u"a\\b"},
        {u"D:\\Apps\\", u"/root/x", u"\\root\\x"},
        {u"D:\\Apps\\", u"\\root", u"\\root"},
        {u"D:\\Apps\\", u"C:/x/y", u"C:\\x\\y"},
        {u"D:\\Apps\\", u"C:\\x", u"C:\\x"},
        {u"D:\\Apps\\", u"C:x", u"D:\\Apps\\C:x"},  // drive-relative names are relative
        {u"D:\\Apps\\", u"C", u"D:\\Apps\\C"},
    };
    for (const Case& c : cases) {
        const Resolved r = Resolve(c.folder, c.name, u'\\');
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.path, c.expected);
    }
}

TEST(ResolvePath, PosixRules) {
    struct Case {
        const char16_t* folder;
        const char16_t* name;
        const char16_t* expected;
    };
    const Case cases[] = {
        {u"/opt/demo/", u"game_nastr.cfg", u"/opt/demo/game_nastr.cfg"},
        {u"/opt/demo/", u"sub\\dir/file.bin", u"/opt/demo/sub/dir/file.bin"},
        {u"/opt/demo", u"f", u"/opt/demo/f"},
        {u"/opt/demo/", u"/etc/x", u"/etc/x"},
        {u"/opt/demo/", u"\\etc\\x", u"/etc/x"},
        {u"/opt/demo/", u"C:/x", u"/opt/demo/C:/x"},  // no drive letters here
    };
    for (const Case& c : cases) {
        const Resolved r = Resolve(c.folder, c.name, u'/');
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.path, c.expected);
    }
}

TEST(ResolvePath, RefusesPathsThatDoNotFit) {
    // "/f/" and "abcd" make 7 characters: they fit in 8 with the terminator, not in 7.
    EXPECT_TRUE(Resolve(u"/f", u"abcd", u'/', 8).ok);
    const Resolved over = Resolve(u"/f", u"abcd", u'/', 7);
    EXPECT_FALSE(over.ok);
    EXPECT_EQ(over.path, u"");
    EXPECT_FALSE(Resolve(u"/folder/", u"x", u'/', 5).ok);  // the folder alone is too long
    EXPECT_TRUE(Resolve(u"/x", u"/abc", u'/', 5).ok);      // an absolute name ignores it

    const std::u16string name(511 - 5, u'n');
    EXPECT_TRUE(Resolve(u"/tmp/", name.c_str(), u'/').ok);
    EXPECT_FALSE(Resolve(u"/tmp/", (name + u'n').c_str(), u'/').ok);
}
