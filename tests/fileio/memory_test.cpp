#include "fileio/memory.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

TEST(MemAlloc, SizeZeroIsNull) {
    EXPECT_EQ(MemAlloc(0), nullptr);
}

TEST(MemFree, NullIsIgnored) {
    MemFree(nullptr);
}

TEST(MemFill, WritesValuesLowByteFirst) {
    std::array<uint8_t, 8> b{};
    MemFill24(b.data(), 0x112233, 2);
    EXPECT_EQ((std::array<uint8_t, 6>{0x33, 0x22, 0x11, 0x33, 0x22, 0x11}),
              (std::array<uint8_t, 6>{b[0], b[1], b[2], b[3], b[4], b[5]}));
    EXPECT_EQ(b[6], 0);

    std::array<uint16_t, 3> h{};
    MemFill16(h.data(), 0xABCD, 2);
    EXPECT_EQ(h[0], 0xABCD);
    EXPECT_EQ(h[1], 0xABCD);
    EXPECT_EQ(h[2], 0);

    std::array<uint32_t, 3> w{};
    MemFill32(w.data(), 0x7F7F7F7F, 2);
    EXPECT_EQ(w[1], 0x7F7F7F7Fu);
    EXPECT_EQ(w[2], 0u);
}

TEST(MemCopy, OverlapRule) {
    struct Case {
        bool overlapsafe;
        const char* expected;
    };
    // Copy 5 bytes from offset 0 to offset 2 of "abcdefgh".
    for (const Case& c : {Case{true, "ababcdeh"}, Case{false, "abababah"}}) {
        std::vector<char> b{'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 0};
        MemCopy(b.data() + 2, b.data(), 5, c.overlapsafe);
        EXPECT_STREQ(b.data(), c.expected) << "overlapsafe=" << c.overlapsafe;
    }
}
