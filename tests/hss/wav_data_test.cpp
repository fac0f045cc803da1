#include "hss/wav_data.h"

#include <gtest/gtest.h>

#include "hss/hss.h"
#include "tests/hss/test_data.h"

namespace {

using hsstest::MakeWav;

struct Loaded {
    hss::WavData* wav = nullptr;  // declared first: result's initialiser fills it
    unsigned result;
    explicit Loaded(const std::vector<uint8_t>& bytes)
        : result(hss::ParseWav(bytes.data(), bytes.size(), &wav)) {}
    ~Loaded() { hss::FreeWav(wav); }
};

TEST(ParseWav, ConvertsEveryLayoutToSixteenBits) {
    struct Case {
        unsigned rate, bits, channels;
        std::vector<int> in;
        std::vector<int16_t> out;
    };
    const Case cases[] = {
        {22050, 8, 1, {0, 128, 255}, {-32768, 0, 32512}},
        {11025, 16, 1, {-32768, 0, 32767}, {-32768, 0, 32767}},
        {44100, 16, 2, {1, -1, 300, -300}, {1, -1, 300, -300}},
        {8000, 8, 2, {129, 127, 128, 128}, {256, -256, 0, 0}},
        {96000, 8, 1, {200}, {(200 - 128) * 256}},
    };
    for (const Case& c : cases) {
        Loaded l(MakeWav(c.rate, c.bits, c.channels, c.in));
        ASSERT_EQ(l.result, HSS_OK) << c.bits << " bits";
        EXPECT_EQ(l.wav->rate, c.rate);
        EXPECT_EQ(l.wav->channels, c.channels);
        ASSERT_EQ(l.wav->frames, c.out.size() / c.channels);
        for (size_t i = 0; i < c.out.size(); ++i) EXPECT_EQ(l.wav->samples[i], c.out[i]) << i;
    }
}

TEST(ParseWav, SkipsOtherChunksAndPadding) {
    std::vector<uint8_t> bytes = MakeWav(22050, 8, 1, {10, 20, 30});
    // A "LIST" chunk of odd size (padded) before "fmt ".
    std::vector<uint8_t> list = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    bytes.insert(bytes.begin() + 12, list.begin(), list.end());
    Loaded l(bytes);
    ASSERT_EQ(l.result, HSS_OK);
    EXPECT_EQ(l.wav->frames, 3u);
    EXPECT_EQ(l.wav->samples[2], (30 - 128) * 256);
}

TEST(ParseWav, ReadsExtensiblePcm) {
    std::vector<uint8_t> bytes = MakeWav(22050, 16, 1, {5, 6}, 0xFFFE);
    // Grow "fmt " to 40 bytes with the sub-format (PCM) at its offset 24.
    bytes[16] = 40;
    std::vector<uint8_t> extension(24, 0);
    extension[8] = 1;  // sub-format tag: PCM
    bytes.insert(bytes.begin() + 36, extension.begin(), extension.end());
    Loaded l(bytes);
    ASSERT_EQ(l.result, HSS_OK);
    EXPECT_EQ(l.wav->frames, 2u);
}

TEST(ParseWav, TruncatedDataKeepsWholeFrames) {
    std::vector<uint8_t> bytes = MakeWav(22050, 16, 2, {1, 2, 3, 4, 5, 6});
    bytes.resize(bytes.size() - 3);  // the last frame loses 3 of its 4 bytes
    Loaded l(bytes);
    ASSERT_EQ(l.result, HSS_OK);
    EXPECT_EQ(l.wav->frames, 2u);
}

TEST(ParseWav, ReportsWhatItCannotRead) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        unsigned result;
    };
    std::vector<uint8_t> noData = MakeWav(22050, 8, 1, {});
    noData.resize(36);  // RIFF header and "fmt ", no "data"
    std::vector<uint8_t> badAlign = MakeWav(22050, 16, 1, {1});
    badAlign[32] = 3;
    std::vector<uint8_t> noFormat = MakeWav(22050, 8, 1, {1, 2});
    noFormat.erase(noFormat.begin() + 12, noFormat.begin() + 36);
    const Case cases[] = {
        {"empty", {}, HSS_DAMAGED},
        {"not RIFF", {'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}, HSS_DAMAGED},
        {"no data chunk", noData, HSS_DAMAGED},
        {"data before fmt", noFormat, HSS_DAMAGED},
        {"block size disagrees", badAlign, HSS_DAMAGED},
        {"zero channels", MakeWav(22050, 8, 0, {}), HSS_DAMAGED},
        {"zero rate", MakeWav(0, 8, 1, {1}), HSS_DAMAGED},
        {"24 bits", MakeWav(22050, 24, 1, {}), HSS_NOT_SUPPORTED},
        {"float", MakeWav(22050, 16, 1, {1}, 3), HSS_NOT_SUPPORTED},
        {"ADPCM", MakeWav(22050, 16, 1, {1}, 2), HSS_NOT_SUPPORTED},
        {"three channels", MakeWav(22050, 8, 3, {1, 2, 3}), HSS_NOT_SUPPORTED},
    };
    for (const Case& c : cases) {
        Loaded l(c.bytes);
        EXPECT_EQ(l.result, c.result) << c.what;
        EXPECT_EQ(l.wav, nullptr) << c.what;
    }
}

TEST(ParseWav, SurvivesEveryTruncation) {
    std::vector<uint8_t> good = hsstest::DataFile("tick_8bit_stereo_8000.wav");
    ASSERT_FALSE(good.empty());
    for (size_t keep = 0; keep <= good.size(); ++keep) {
        hss::WavData* wav = nullptr;
        unsigned r = hss::ParseWav(good.data(), keep, &wav);
        EXPECT_TRUE(r == HSS_OK || r == HSS_DAMAGED) << keep;
        hss::FreeWav(wav);
    }
}

}  // namespace
