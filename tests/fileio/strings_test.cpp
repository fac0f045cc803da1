#include "fileio/strings.h"

#include <gtest/gtest.h>

#include <string>

#include "fileio/numbers.h"
#include "fileio/string_service.h"

namespace {

constexpr char kGuard = '#';

std::string Bytes(const char* b, size_t n) {
    return std::string(b, n);
}

}  // namespace

TEST(StrCopy, BoundsAtTheirLimits) {
    struct Case {
        int32_t maximum;
        const char* expected;  // the 7 bytes of the destination afterwards
    };
    const Case cases[] = {
        {0, "######\0"},  // writes nothing, not even a terminator
        {1, "\0#####\0"}, {4, "hel\0##\0"}, {5, "hell\0#\0"},
        {6, "hello\0\0"}, {7, "hello\0\0"}, {-1, "hello\0\0"},  // negative: effectively unbounded
    };
    for (const Case& c : cases) {
        char d[7] = {kGuard, kGuard, kGuard, kGuard, kGuard, kGuard, 0};
        StrCopy(d, "hello", c.maximum);
        EXPECT_EQ(Bytes(d, 7), Bytes(c.expected, 7)) << "maximum " << c.maximum;
    }
}

TEST(StrCopy, WideningIsSignedAndNarrowingKeepsTheLowByte) {
    char16_t wide[5] = {};
    StrCopyToWide(wide, "a\x80\xff", 5);
    EXPECT_EQ(wide[0], u'a');
    EXPECT_EQ(wide[1], 0xFF80);
    EXPECT_EQ(wide[2], 0xFFFF);
    EXPECT_EQ(wide[3], 0);

    const char16_t source[] = {0x0141, 0xFF80, u'z', 0};
    char narrow[4] = {kGuard, kGuard, kGuard, kGuard};
    StrCopyFromWide(narrow, source, 3);
    EXPECT_EQ(Bytes(narrow, 4), std::string("\x41\x80\0#", 4));

    char16_t copy[4] = {u'#', u'#', u'#', u'#'};
    WStrCopy(copy, u"wxyz", 3);
    EXPECT_EQ(std::u16string(copy, 4), std::u16string(u"wx\0#", 4));
    WStrCopy(copy, u"q", 0);
    EXPECT_EQ(copy[0], u'w');
}

TEST(StrLen, StopsAtTheMaximum) {
    EXPECT_EQ(StrLen("hello", 3), 3);
    EXPECT_EQ(StrLen("hello", 5), 5);
    EXPECT_EQ(StrLen("hello", 9), 5);
    EXPECT_EQ(StrLen("hello", -1), 5);
    EXPECT_EQ(StrLen("", 4), 0);
    EXPECT_EQ(StrLen(nullptr, 4), 0);
    EXPECT_EQ(WStrLen(u"hello", 2), 2);
    EXPECT_EQ(WStrLen(u"hello", -5), 5);
}

TEST(StrEqual, CaseFoldingCoversOnlyLatinLetters) {
    struct Case {
        const char* a;
        const char* b;
        bool casesensitive;
        bool equal;
    };
    const Case cases[] = {
        {"Abc", "aBC", false, true},    {"Abc", "aBC", true, false}, {"ab", "abc", false, false},
        {"abc", "ab", true, false},     {"", "", true, true},        {"[", "{", false, false},
        {"\xe9", "\xc9", false, false}, {"a1", "A1", false, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StrEqual(c.a, c.b, c.casesensitive), c.equal) << c.a << " / " << c.b;
    }
    EXPECT_TRUE(WStrEqualStr(u"Game_Nastr.CFG", "game_nastr.cfg", false));
    EXPECT_FALSE(WStrEqualStr(u"Game_Nastr.CFG", "game_nastr.cfg", true));
    EXPECT_FALSE(WStrEqualStr(u"ab", "abc", false));
    EXPECT_TRUE(WStrEqualStr(nullptr, "", true));  // null reads as empty
    EXPECT_FALSE(StrEqual(nullptr, "a", true));
    // The 8-bit side is widened as signed bytes.
    EXPECT_TRUE(WStrEqualStr(u"\xFFE9", "\xe9", true));
    EXPECT_FALSE(WStrEqualStr(u"\x00E9", "\xe9", true));
}

TEST(WStrFind, FirstOccurrenceOrMinusOne) {
    EXPECT_EQ(WStrFind(u"a/b/c", u'/'), 1);
    EXPECT_EQ(WStrFind(u"abc", u'a'), 0);
    EXPECT_EQ(WStrFind(u"abc", u'x'), -1);
    EXPECT_EQ(WStrFind(u"", u'x'), -1);
    EXPECT_EQ(WStrFind(u"", 0), -1);
}

TEST(StrAppend, StaysWithinTheDestination) {
    char d[8] = "ab";
    StrAppend(d, "cd", 8);
    EXPECT_STREQ(d, "abcd");
    StrAppend(d, "efghij", 8);  // room for three more characters and the terminator
    EXPECT_STREQ(d, "abcdefg");
    StrAppend(d, "x", 8);
    EXPECT_STREQ(d, "abcdefg");

    char16_t w[8] = u"ab";
    WStrAppendStr(w, "\xff!", -1);
    EXPECT_EQ(std::u16string(w), std::u16string(u"ab\xFFFF!"));

    char n[16] = "x=";
    StrAppendInt(n, -42, 10, true, 16);
    EXPECT_STREQ(n, "x=-42");
    StrAppendInt(n, 1, 37, true, 16);
    EXPECT_STREQ(n, "x=-42");
    StrAppendInt(n, 0x7FFFFFFF, 2, false, 16);  // only 10 of the 31 digits fit
    EXPECT_STREQ(n, "x=-421111111111");

    char16_t wn[16] = u"#";
    WStrAppendInt(wn, 255, 16, false, 16);
    EXPECT_EQ(std::u16string(wn), std::u16string(u"#FF"));
}

TEST(IntToStr, FormatsInEveryBase) {
    struct Case {
        int32_t value;
        uint32_t base;
        bool isSigned;
        const char* expected;
    };
    const Case cases[] = {
        {-255, 16, true, "-FF"},
        {-255, 16, false, "FFFFFF01"},
        {static_cast<int32_t>(4294967295u), 10, false, "4294967295"},
        {-1, 10, true, "-1"},
        {INT32_MIN, 10, true, "-2147483648"},
        {INT32_MIN, 2, true, "-10000000000000000000000000000000"},
        {-1, 2, false, "11111111111111111111111111111111"},
        {0, 10, true, "0"},
        {0, 2, false, "0"},
        {35, 36, false, "Z"},
        {36, 36, false, "10"},
        {123456789, 10, true, "123456789"},
        {7, 8, false, "7"},
    };
    for (const Case& c : cases) {
        char d[kIntTextCapacity + 1];
        d[kIntTextCapacity] = kGuard;
        IntToStr(d, c.value, c.base, c.isSigned);
        EXPECT_STREQ(d, c.expected) << c.value << " base " << c.base;
        EXPECT_EQ(d[kIntTextCapacity], kGuard);

        char16_t w[kIntTextCapacity];
        IntToWStr(w, c.value, c.base, c.isSigned);
        std::u16string expected;
        for (const char* p = c.expected; *p != 0; ++p) expected += static_cast<char16_t>(*p);
        EXPECT_EQ(std::u16string(w), expected);
    }
}

TEST(IntToStr, BaseOutsideTwoToThirtySixWritesNothing) {
    for (uint32_t base : {0u, 1u, 37u, 1000u}) {
        char d[4] = {kGuard, kGuard, kGuard, 0};
        IntToStr(d, 5, base, false);
        EXPECT_STREQ(d, "###") << base;
        char16_t w[2] = {u'#', 0};
        IntToWStr(w, 5, base, true);
        EXPECT_EQ(w[0], u'#') << base;
    }
}

TEST(ClassVStringService, NegativeMaximumMeansTheServicesBound) {
    const std::string text(20000, 'x');
    const ClassVStringService framework(kStrUnbounded);
    const ClassVStringService platform(kPlatformStrUnbounded);
    EXPECT_EQ(framework.StrLen(text.c_str(), -1), 20000);
    EXPECT_EQ(platform.StrLen(text.c_str(), -1), 16384);
    EXPECT_EQ(platform.StrLen(text.c_str(), 10), 10);

    std::u16string wide(20001, u'#');
    platform.StrCopyToWide(wide.data(), text.c_str(), -7);
    EXPECT_EQ(wide[16382], u'x');
    EXPECT_EQ(wide[16383], 0);
    framework.StrCopyToWide(wide.data(), text.c_str(), -7);
    EXPECT_EQ(wide[19999], u'x');
    EXPECT_EQ(wide[20000], 0);
    EXPECT_EQ(platform.WStrLen(wide.c_str(), -1), 16384);
}
