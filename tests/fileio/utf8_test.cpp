#include "fileio/utf8.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(Utf8ToWide, DecodesAndCountsWhatItNeeds) {
    struct Case {
        const char* name;
        std::string utf8;
        size_t capacity;
        std::u16string written;
        size_t needed;
    };
    const Case cases[] = {
        {"ascii", "abc", 8, u"abc", 3},
        {"cyrillic", "\xD0\x92\xD0\xBE", 8, u"\u0412\u043E", 2},
        {"outside the basic plane", "\xF0\x9F\x8E\xB5", 8, u"\U0001F3B5", 2},
        {"stray continuation byte", "a\x80z", 8, u"a\uFFFDz", 3},
        {"sequence cut by the end", "a\xE2\x82", 8, u"a\uFFFD", 2},
        {"only what fits, with its terminator", "abcdef", 4, u"abc", 6},
        {"a pair is not split", "a\xF0\x9F\x8E\xB5", 3, u"a", 3},
        {"capacity 0 writes nothing", "abc", 0, u"", 3},
    };
    for (const Case& c : cases) {
        char16_t buffer[8];
        std::fill(std::begin(buffer), std::end(buffer), u'#');
        const size_t needed = Utf8ToWide(c.utf8.data(), c.utf8.size(), buffer, c.capacity);
        EXPECT_EQ(needed, c.needed) << c.name;
        if (c.capacity > 0) {
            EXPECT_EQ(std::u16string(buffer), c.written) << c.name;
        } else {
            EXPECT_EQ(buffer[0], u'#') << c.name;
        }
    }
}

TEST(WideToUtf8, EncodesAndCutsAtCharacterBoundaries) {
    struct Case {
        const char* name;
        std::u16string wide;
        size_t capacity;
        std::string utf8;
    };
    const Case cases[] = {
        {"mixed", u"a\u0412\U0001F3B5", 16, "a\xD0\x92\xF0\x9F\x8E\xB5"},
        {"unpaired surrogate", u"a\xD800z", 16, "a\xEF\xBF\xBDz"},
        {"cut before a character that does not fit", u"a\u0412", 3, "a"},
    };
    for (const Case& c : cases) {
        char buffer[16];
        const size_t n = WideToUtf8(c.wide.c_str(), buffer, c.capacity);
        EXPECT_EQ(std::string(buffer), c.utf8) << c.name;
        EXPECT_EQ(n, c.utf8.size()) << c.name;
    }
}
