#include "hss/mod_module.h"

#include <gtest/gtest.h>

#include <cstring>

#include "hss/hss.h"
#include "tests/hss/test_data.h"

namespace {

using hsstest::DataFile;

constexpr size_t kTag = 1080;
constexpr size_t kSongLength = 950;
constexpr size_t kOrders = 952;
constexpr size_t kPatterns = 1084;

unsigned Parse(const std::vector<uint8_t>& bytes, hss::ModModule** out) {
    return hss::ParseModule(bytes.data(), bytes.size(), out);
}

TEST(ParseModule, ReadsTheGeneratedSong) {
    std::vector<uint8_t> bytes = DataFile("song.mod");
    hss::ModModule* m = nullptr;
    ASSERT_EQ(Parse(bytes, &m), HSS_OK);
    EXPECT_STREQ(m->title, "song");
    EXPECT_EQ(m->songLength, 3);
    EXPECT_EQ(m->patternCount, 3);
    EXPECT_EQ(m->restart, 0) << "127 is ProTracker's 'no restart position'";
    const hss::ModSample& tone = m->samples[1];
    EXPECT_EQ(tone.length, 512u);
    EXPECT_EQ(tone.loopStart, 2u);
    EXPECT_EQ(tone.loopLength, 510u);
    EXPECT_EQ(tone.data[0], -100);
    EXPECT_EQ(m->samples[2].loopLength, 0u) << "a one-word loop is no loop";
    const hss::ModNote& first = m->At(0, 0, 0);
    EXPECT_EQ(first.period, 856);
    EXPECT_EQ(first.sample, 1);
    hss::FreeModule(m);
}

struct TagCase {
    const char* tag;
    unsigned result;
};

TEST(ParseModule, AcceptsFourChannelTagsOnly) {
    const TagCase cases[] = {
        {"M.K.", HSS_OK},
        {"M!K!", HSS_OK},
        {"FLT4", HSS_OK},
        {"4CHN", HSS_OK},
        {"6CHN", HSS_NOT_SUPPORTED},
        {"8CHN", HSS_NOT_SUPPORTED},
        {"FLT8", HSS_NOT_SUPPORTED},
        {"16CH", HSS_NOT_SUPPORTED},
        {"OCTA", HSS_NOT_SUPPORTED},
        {"ABCD", HSS_DAMAGED},
        {"\0\0\0\0", HSS_DAMAGED},
    };
    for (const TagCase& c : cases) {
        std::vector<uint8_t> bytes = DataFile("song.mod");
        std::memcpy(&bytes[kTag], c.tag, 4);
        hss::ModModule* m = nullptr;
        EXPECT_EQ(Parse(bytes, &m), c.result) << c.tag;
        EXPECT_EQ(m != nullptr, c.result == HSS_OK) << c.tag;
        hss::FreeModule(m);
    }
}

TEST(ParseModule, RejectsBrokenHeadersAndPatterns) {
    const std::vector<uint8_t> good = DataFile("song.mod");
    struct Case {
        const char* what;
        size_t keep;  // bytes kept from the start
        size_t at;    // byte to change (0: none)
        uint8_t value;
    };
    const Case cases[] = {
        {"empty", 0, 0, 0},
        {"header cut short", 1083, 0, 0},
        {"patterns cut short", kPatterns + 3 * 1024 - 1, 0, 0},
        {"song length 0", good.size(), kSongLength, 0},
        {"song length 129", good.size(), kSongLength, 129},
        {"order 128", good.size(), kOrders + 5, 128},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes(good.begin(), good.begin() + c.keep);
        if (c.at) bytes[c.at] = c.value;
        hss::ModModule* m = nullptr;
        EXPECT_EQ(Parse(bytes, &m), HSS_DAMAGED) << c.what;
        EXPECT_EQ(m, nullptr) << c.what;
    }
    hss::ModModule* m = nullptr;
    EXPECT_EQ(hss::ParseModule(nullptr, 5000, &m), HSS_DAMAGED);
}

TEST(ParseModule, OrdersBeyondTheSongLengthStillCountAsPatterns) {
    // ProTracker stores as many patterns as the highest entry of all 128 orders names.
    std::vector<uint8_t> bytes = DataFile("song.mod");
    bytes[kOrders + 100] = 3;
    bytes.insert(bytes.begin() + kPatterns + 3 * 1024, 1024, 0);
    hss::ModModule* m = nullptr;
    ASSERT_EQ(Parse(bytes, &m), HSS_OK);
    EXPECT_EQ(m->patternCount, 4);
    EXPECT_EQ(m->samples[1].data[0], -100) << "sample data starts after the fourth pattern";
    hss::FreeModule(m);
}

TEST(ParseModule, KeepsWhatIsLeftOfTruncatedSampleData) {
    std::vector<uint8_t> bytes = DataFile("song.mod");
    bytes.resize(kPatterns + 3 * 1024 + 512 + 100);  // sample 1 whole, 100 bytes of sample 2
    hss::ModModule* m = nullptr;
    ASSERT_EQ(Parse(bytes, &m), HSS_OK);
    EXPECT_EQ(m->samples[1].length, 512u);
    EXPECT_EQ(m->samples[2].length, 100u);
    EXPECT_EQ(m->samples[3].length, 0u);
    EXPECT_EQ(m->samples[3].data, nullptr);
    EXPECT_EQ(m->samples[3].loopLength, 0u) << "a loop outside the data is dropped";
    hss::FreeModule(m);
}

TEST(ParseModule, ClipsLoopsToTheSampleAndVolumesTo64) {
    std::vector<uint8_t> bytes = DataFile("song.mod");
    uint8_t* header = &bytes[20];  // sample 1: 512 bytes, loop 2 + 510
    header[25] = 99;               // volume
    header[28] = 0x01;             // loop length 0x100 words = 512 bytes, past the end
    header[29] = 0x00;
    hss::ModModule* m = nullptr;
    ASSERT_EQ(Parse(bytes, &m), HSS_OK);
    EXPECT_EQ(m->samples[1].volume, 64);
    EXPECT_EQ(m->samples[1].loopStart + m->samples[1].loopLength, 512u);
    hss::FreeModule(m);
}

// Every truncation and a few thousand corruptions of a valid file parse or fail cleanly.
TEST(ParseModule, SurvivesTruncationAndCorruption) {
    const std::vector<uint8_t> good = DataFile("song.mod");
    for (size_t keep = 0; keep < good.size(); keep += 7) {
        hss::ModModule* m = nullptr;
        unsigned r = hss::ParseModule(good.data(), keep, &m);
        EXPECT_TRUE(r == HSS_OK || r == HSS_DAMAGED) << keep;
        hss::FreeModule(m);
    }
    uint32_t seed = 1;
    for (int i = 0; i < 2000; ++i) {
        std::vector<uint8_t> bytes = good;
        for (int k = 0; k < 8; ++k) {
            seed = seed * 1103515245u + 12345u;
            bytes[(seed >> 8) % kPatterns] = uint8_t(seed >> 24);
        }
        hss::ModModule* m = nullptr;
        hss::ParseModule(bytes.data(), bytes.size(), &m);
        hss::FreeModule(m);
    }
}

}  // namespace
