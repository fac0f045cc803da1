#include "fileio/md5.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

std::string Digest(const void* data, size_t length) {
    char hex[kMD5HexCapacity + 1];
    hex[kMD5HexCapacity] = '#';
    MD5Hex(hex, data, length);
    EXPECT_EQ(hex[kMD5HexCapacity], '#');
    return hex;
}

}  // namespace

TEST(MD5Hex, RFC1321TestSuite) {
    struct Case {
        const char* message;
        const char* digest;
    };
    const Case cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890"
         "123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Digest(c.message, std::char_traits<char>::length(c.message)), c.digest)
            << '"' << c.message << '"';
    }
}

// Lengths around the padding boundaries (one or two final blocks) and a run of whole blocks.
// Block i holds the bytes (i * 31 + 7) & 0xFF; the digests are md5sum's, from
// tests/fileio/expected_values.py.
TEST(MD5Hex, MatchesMd5sumAtBlockBoundaries) {
    struct Case {
        size_t length;
        const char* digest;
    };
    const Case cases[] = {
        {55, "c9e512626618c9980ef21a96597af94c"}, {56, "ecde7caa08e9f5657c863df107cac60a"},
        {63, "2f0301069e1c40af7f6c8f843b1b13f2"}, {64, "b6bf87c24b1bc334e2541387a92b981b"},
        {65, "f168246f08b6134d66bd2a10343fa9f1"}, {1000, "2b1e78d5765de9e10495a01412a1cf22"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> block(c.length);
        for (size_t i = 0; i < c.length; ++i) block[i] = static_cast<uint8_t>(i * 31 + 7);
        EXPECT_EQ(Digest(block.data(), block.size()), c.digest) << c.length << " bytes";
    }
}
