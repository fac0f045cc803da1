// The WAV file output and the system output (SDL2 audio through its "dummy" driver, which
// runs the real callback thread without a sound card).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "hss/hss.h"
#include "hss/wav_data.h"
#include "tests/hss/test_data.h"

namespace {

using hsstest::ConstantWav;
using hsstest::DataFile;
using hsstest::LoadBytes;
using hsstest::ReadFile;

std::string TempPath(const char* name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir ? dir : "/tmp") + "/hss_" + std::to_string(::getpid()) + "_" + name;
}

TEST(WavFileOutput, WritesExactlyTheFramesRenderedAndMatchesTheNullOutput) {
    hssMusic music;
    hssSound sound;
    ASSERT_EQ(LoadBytes(music, DataFile("song.mod")), HSS_OK);
    ASSERT_EQ(LoadBytes(sound, DataFile("hit_16bit_mono_11025.wav")), HSS_OK);
    struct Case {
        unsigned bits;
        bool stereo;
    };
    for (Case c : {Case{16, true}, Case{8, false}}) {
        const std::string path = TempPath("out.wav");
        const unsigned frameBytes = (c.stereo ? 2 : 1) * c.bits / 8;
        std::vector<uint8_t> expected(10000 * frameBytes);
        {
            hssSpeaker reference;
            ASSERT_EQ(reference.open(22050, c.bits, c.stereo, 1, HSS_OUTPUT_NULL), HSS_OK);
            ASSERT_EQ(reference.playMusic(&music), HSS_OK);
            ASSERT_EQ(reference.playSound(&sound), HSS_OK);
            for (int i = 0; i < 10; ++i)
                ASSERT_EQ(reference.render(1000, expected.data() + i * 1000 * frameBytes), HSS_OK);
        }
        hssSpeaker speaker;
        ASSERT_EQ(speaker.openFile(path.c_str(), 22050, c.bits, c.stereo, 1), HSS_OK);
        ASSERT_EQ(speaker.playMusic(&music), HSS_OK);
        ASSERT_EQ(speaker.playSound(&sound), HSS_OK);
        for (unsigned n : {1u, 999u, 4000u, 5000u}) ASSERT_EQ(speaker.render(n), HSS_OK);
        ASSERT_EQ(speaker.close(), HSS_OK);

        std::vector<uint8_t> file = ReadFile(path);
        std::remove(path.c_str());
        ASSERT_EQ(file.size(), 44 + expected.size());
        hss::WavData* wav = nullptr;
        ASSERT_EQ(hss::ParseWav(file.data(), file.size(), &wav), HSS_OK);
        EXPECT_EQ(wav->frames, 10000u);
        EXPECT_EQ(wav->rate, 22050u);
        EXPECT_EQ(wav->channels, c.stereo ? 2u : 1u);
        hss::FreeWav(wav);
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), file.begin() + 44))
            << "the file holds the same frames as the null output";
    }
}

TEST(WavFileOutput, AnUnfinishedFileIsCompletedWhenTheSpeakerGoes) {
    const std::string path = TempPath("unclosed.wav");
    {
        hssSpeaker speaker;
        ASSERT_EQ(speaker.openFile(path.c_str(), 8000, 16, false, 0), HSS_OK);
        ASSERT_EQ(speaker.render(800), HSS_OK);
    }
    std::vector<uint8_t> file = ReadFile(path);
    std::remove(path.c_str());
    hss::WavData* wav = nullptr;
    ASSERT_EQ(hss::ParseWav(file.data(), file.size(), &wav), HSS_OK);
    EXPECT_EQ(wav->frames, 800u);
    hss::FreeWav(wav);
}

class SystemOutput : public testing::Test {
  protected:
    void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }
    void TearDown() override { unsetenv("SDL_AUDIODRIVER"); }
};

// Everything the main thread does while the device's thread mixes; run under the address
// sanitizer this catches use of freed data by the mixing thread.
TEST_F(SystemOutput, PlaysWhileTheMainThreadChangesEverything) {
    hssSpeaker speaker;
    ASSERT_EQ(speaker.open(22050, 16, true, 1, HSS_OUTPUT_SYSTEM), HSS_OK);
    EXPECT_EQ(speaker.render(100), HSS_INVALID) << "the system output pulls by itself";
    hssMusic music;
    ASSERT_EQ(LoadBytes(music, DataFile("song.mod")), HSS_OK);
    music.loop(true);
    ASSERT_EQ(speaker.playMusic(&music, 0x10000000), HSS_OK);
    const std::vector<uint8_t> wav = DataFile("blip_8bit_mono_22050.wav");
    for (int round = 0; round < 20; ++round) {
        hssSound sound;
        ASSERT_EQ(LoadBytes(sound, wav), HSS_OK);
        ASSERT_EQ(speaker.playSound(&sound), HSS_OK);
        speaker.volumeSounds(unsigned(round * 3));
        speaker.volumeMusics(unsigned(64 - round));
        if (round % 5 == 0) speaker.suspend();
        if (round % 5 == 2) speaker.resume();
        if (round % 7 == 0) {
            ASSERT_EQ(LoadBytes(music, DataFile("arpeggio.mod")), HSS_OK);
        }
        if (round % 7 == 1) {
            ASSERT_EQ(speaker.playMusic(&music), HSS_OK);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(speaker.close(), HSS_OK);
    EXPECT_FALSE(speaker.isOpen());
    // Open again after a close.
    ASSERT_EQ(speaker.open(11025, 8, false, 0, HSS_OUTPUT_SYSTEM), HSS_OK);
    ASSERT_EQ(speaker.playMusic(&music), HSS_OK);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

TEST_F(SystemOutput, AMissingDeviceLeavesTheSpeakerClosed) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    hssSpeaker speaker;
    EXPECT_EQ(speaker.open(22050, 16, true, 1, HSS_OUTPUT_SYSTEM), HSS_NO_DEVICE);
    EXPECT_FALSE(speaker.isOpen());
    hssSound sound;
    ASSERT_EQ(LoadBytes(sound, ConstantWav(22050, 100, 1)), HSS_OK);
    EXPECT_EQ(speaker.playSound(&sound), HSS_NOT_OPEN);
}

}  // namespace
