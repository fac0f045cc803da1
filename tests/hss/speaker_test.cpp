// The library's interface on the null output: everything rendered is looked at directly.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "hss/hss.h"
#include "platform/resources.h"
#include "tests/hss/test_data.h"

namespace {

using hsstest::ConstantWav;
using hsstest::DataFile;
using hsstest::LoadBytes;
using hsstest::MakeWav;

constexpr unsigned kRate = 22050;
constexpr unsigned kRamp = kRate / 200;  // the mixer's fade length

// A speaker on the null output, 16-bit stereo, rendering into vectors.
class NullSpeaker : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(speaker.open(kRate, 16, true, HSS_RESAMPLE_NEAREST, HSS_OUTPUT_NULL), HSS_OK);
    }
    std::vector<int16_t> Render(unsigned frames) {
        std::vector<int16_t> out(frames * 2, 12345);
        EXPECT_EQ(speaker.render(frames, out.data()), HSS_OK);
        return out;
    }
    static int Left(const std::vector<int16_t>& v, size_t frame) { return v[2 * frame]; }
    static int MaxStep(const std::vector<int16_t>& v) {
        int step = 0;
        for (size_t i = 2; i < v.size(); ++i) step = std::max(step, std::abs(v[i] - v[i - 2]));
        return step;
    }
    hssSpeaker speaker;
};

TEST(Speaker, ObjectsWorkWithoutSetUpAndAnswerWithCodes) {
    hssSpeaker speaker;
    hssMusic music;
    hssSound sound;
    EXPECT_FALSE(speaker.isOpen());
    EXPECT_EQ(speaker.playMusic(&music), HSS_NOT_OPEN);
    EXPECT_EQ(speaker.playSound(&sound), HSS_NOT_OPEN);
    EXPECT_EQ(speaker.render(100), HSS_NOT_OPEN);
    EXPECT_EQ(speaker.close(), HSS_OK);
    speaker.volumeMusics(10);
    speaker.volumeSounds(1000);
    speaker.suspend();
    speaker.resume();
    speaker.stopMusic();
    speaker.stopSounds();
    EXPECT_FALSE(speaker.musicPlaying());
    EXPECT_EQ(speaker.soundsPlaying(), 0u);
    music.loop(true);
    EXPECT_TRUE(music.looping());
    EXPECT_EQ(music.songRows(), 0u);
    EXPECT_STREQ(music.title(), "");
    EXPECT_EQ(sound.frames(), 0u);

    ASSERT_EQ(speaker.open(kRate, 16, true, 1, HSS_OUTPUT_NULL), HSS_OK);
    EXPECT_EQ(speaker.playMusic(&music), HSS_NOT_LOADED);
    EXPECT_EQ(speaker.playSound(&sound), HSS_NOT_LOADED);
    EXPECT_EQ(speaker.playMusic(nullptr), HSS_INVALID);
    EXPECT_EQ(speaker.playSound(nullptr), HSS_INVALID);
    EXPECT_EQ(music.load(static_cast<const void*>(nullptr), 10), HSS_DAMAGED);
    EXPECT_EQ(sound.load(static_cast<const void*>(nullptr), 10), HSS_DAMAGED);
    EXPECT_EQ(music.load(static_cast<const VResourceModule*>(nullptr), 117), HSS_NOT_FOUND);
}

TEST(Speaker, OpenRejectsFormatsItCannotProduce) {
    struct Case {
        unsigned rate, bits, output;
    };
    const Case cases[] = {{0, 16, 0},     {7999, 16, 0},  {96001, 16, 0},
                          {22050, 12, 0}, {22050, 24, 0}, {22050, 16, 2}};
    for (const Case& c : cases) {
        hssSpeaker speaker;
        EXPECT_EQ(speaker.open(c.rate, c.bits, true, 1, c.output), HSS_INVALID)
            << c.rate << " " << c.bits << " " << c.output;
        EXPECT_FALSE(speaker.isOpen());
    }
    hssSpeaker speaker;
    EXPECT_EQ(speaker.openFile(nullptr, kRate, 16, true, 1), HSS_INVALID);
    EXPECT_EQ(speaker.openFile("/nonexistent-folder/out.wav", kRate, 16, true, 1), HSS_NO_DEVICE);
    EXPECT_FALSE(speaker.isOpen());
}

// The demo's own set-up, with its resources in a resource table of the program's kind.
TEST(Speaker, TheDemoSequencePlaysMusicAndSoundsFromResources) {
    const std::vector<uint8_t> mod = DataFile("song.mod");
    const std::vector<uint8_t> w1 = DataFile("blip_8bit_mono_22050.wav");
    const std::vector<uint8_t> w2 = DataFile("hit_16bit_mono_11025.wav");
    const VResource entries[] = {{"PTMOD", 117, mod.data(), mod.size()},
                                 {"WAVE", 118, w1.data(), w1.size()},
                                 {"WAVE", 120, w2.data(), w2.size()},
                                 {"WAVE", 123, w2.data(), w2.size()}};
    const VResourceModule module{entries, 4};

    hssSpeaker speaker;
    hssMusic music;
    hssSound sounds[3];
    // The system output may be missing on a test machine; the calls after open must then
    // simply do nothing.
    unsigned opened = speaker.open(22050, 16, true, 1, 1);
    EXPECT_TRUE(opened == HSS_OK || opened == HSS_NO_DEVICE) << opened;
    speaker.close();
    ASSERT_EQ(speaker.open(22050, 16, true, 1, HSS_OUTPUT_NULL), HSS_OK);
    speaker.volumeSounds(64);
    speaker.volumeMusics(40);
    EXPECT_EQ(music.load(&module, 117), HSS_OK);
    EXPECT_EQ(sounds[0].load(&module, 118), HSS_OK);
    EXPECT_EQ(sounds[1].load(&module, 120), HSS_OK);
    EXPECT_EQ(sounds[2].load(&module, 123), HSS_OK);
    EXPECT_EQ(sounds[0].rate(), 22050u);
    EXPECT_EQ(sounds[1].rate(), 11025u);
    EXPECT_EQ(music.load(&module, 118), HSS_NOT_FOUND) << "a WAVE id is not a PTMOD";
    EXPECT_TRUE(music.isLoaded()) << "a failed load keeps what was loaded";
    music.loop(true);
    EXPECT_EQ(speaker.playMusic(&music, 0x10000000), HSS_OK);
    EXPECT_TRUE(speaker.musicPlaying());
    EXPECT_EQ(speaker.render(1000), HSS_OK);
    for (hssSound& s : sounds) EXPECT_EQ(speaker.playSound(&s, 0x10000000), HSS_OK);
    EXPECT_EQ(speaker.soundsPlaying(), 3u) << "each sound starts at once, over the others";
    EXPECT_EQ(speaker.render(1000), HSS_OK);
    EXPECT_EQ(speaker.close(), HSS_OK);
}

TEST_F(NullSpeaker, ASoundAtUnityGainComesOutUnchangedAfterAShortFade) {
    hssSound sound;
    ASSERT_EQ(LoadBytes(sound, ConstantWav(kRate, 2000, 10000)), HSS_OK);
    ASSERT_EQ(speaker.playSound(&sound, HSS_GAIN_UNITY), HSS_OK);
    std::vector<int16_t> out = Render(2100);
    EXPECT_LT(std::abs(Left(out, 0)), 10000 / int(kRamp) + 2) << "no click at the start";
    for (unsigned i = kRamp; i < 2000 - kRamp; ++i) {
        ASSERT_EQ(out[2 * i], 10000) << i;
        ASSERT_EQ(out[2 * i + 1], 10000) << i;
    }
    EXPECT_LT(std::abs(Left(out, 1999)), 10000 / int(kRamp) + 2) << "no click at the end";
    EXPECT_EQ(Left(out, 2050), 0);
    EXPECT_LE(MaxStep(out), 10000 / int(kRamp) + 2);
    EXPECT_EQ(speaker.soundsPlaying(), 0u);
}

TEST_F(NullSpeaker, VolumesAndGainsScaleLinearly) {
    hssSound sound;
    ASSERT_EQ(LoadBytes(sound, ConstantWav(kRate, 1000, 8000)), HSS_OK);
    struct Case {
        unsigned volume, gain;
        int expected;
    };
    const Case cases[] = {{64, HSS_GAIN_UNITY, 8000},     {32, HSS_GAIN_UNITY, 4000},
                          {0, HSS_GAIN_UNITY, 0},         {1000, HSS_GAIN_UNITY, 8000},
                          {64, HSS_GAIN_UNITY / 2, 4000}, {64, HSS_GAIN_UNITY * 2, 16000},
                          {64, 0xFFFFFFFFu, 32000}};
    for (const Case& c : cases) {
        speaker.volumeSounds(c.volume);
        ASSERT_EQ(speaker.playSound(&sound, c.gain), HSS_OK);
        std::vector<int16_t> out = Render(1100);
        EXPECT_EQ(Left(out, 500), c.expected) << c.volume << " " << c.gain;
    }
}

TEST_F(NullSpeaker, SixteenSoundsMixAndTheMixSaturates) {
    hssSound sound;
    ASSERT_EQ(LoadBytes(sound, ConstantWav(kRate, 3000, 1000)), HSS_OK);
    for (int i = 0; i < 16; ++i) ASSERT_EQ(speaker.playSound(&sound), HSS_OK);
    EXPECT_EQ(speaker.soundsPlaying(), 16u);
    std::vector<int16_t> out = Render(500);
    EXPECT_EQ(Left(out, 300), 16000);
    // A seventeenth takes over the oldest voice, which fades out instead of stopping dead.
    ASSERT_EQ(speaker.playSound(&sound), HSS_OK);
    EXPECT_EQ(speaker.soundsPlaying(), 16u);
    out = Render(500);
    EXPECT_EQ(Left(out, 300), 16000);
    EXPECT_LE(MaxStep(out), 1000 / int(kRamp) + 2);

    hssSound loud;
    ASSERT_EQ(LoadBytes(loud, ConstantWav(kRate, 3000, 30000)), HSS_OK);
    ASSERT_EQ(speaker.playSound(&loud), HSS_OK);
    out = Render(500);
    EXPECT_EQ(Left(out, 300), 32767) << "clipped, not wrapped round";
}

TEST_F(NullSpeaker, SoundsAddToTheMusic) {
    hssMusic music;
    ASSERT_EQ(LoadBytes(music, DataFile("song.mod")), HSS_OK);
    hssSound sound;
    ASSERT_EQ(LoadBytes(sound, DataFile("blip_8bit_mono_22050.wav")), HSS_OK);
    speaker.volumeMusics(20);  // quiet enough that the sum does not saturate

    ASSERT_EQ(speaker.playMusic(&music), HSS_OK);
    std::vector<int16_t> musicOnly = Render(6000);
    ASSERT_EQ(speaker.playMusic(&music), HSS_OK);  // from the start again
    ASSERT_EQ(speaker.playSound(&sound), HSS_OK);
    std::vector<int16_t> both = Render(6000);
    speaker.stopMusic();
    Render(kRamp + 1);
    ASSERT_EQ(speaker.playSound(&sound), HSS_OK);
    std::vector<int16_t> soundOnly = Render(6000);
    for (size_t i = 0; i < both.size(); ++i)
        ASSERT_NEAR(both[i], musicOnly[i] + soundOnly[i], 1) << i;
}

TEST_F(NullSpeaker, SoundsAreResampledToTheOutputRate) {
    struct Case {
        unsigned rate;
        unsigned resampling;
        int at150, at151;  // output frames 150 and 151 (past the fade in) of a ramp 0, 30, 60...
    };
    std::vector<int> ramp;
    for (int i = 0; i < 1000; ++i) ramp.push_back(i * 30);
    const Case cases[] = {{11025, HSS_RESAMPLE_NEAREST, 75 * 30, 75 * 30},
                          {11025, HSS_RESAMPLE_LINEAR, 75 * 30, 75 * 30 + 15},
                          {44100, HSS_RESAMPLE_NEAREST, 300 * 30, 302 * 30}};
    for (const Case& c : cases) {
        ASSERT_EQ(speaker.open(kRate, 16, true, c.resampling, HSS_OUTPUT_NULL), HSS_OK);
        hssSound sound;
        ASSERT_EQ(LoadBytes(sound, MakeWav(c.rate, 16, 1, ramp)), HSS_OK);
        ASSERT_EQ(speaker.playSound(&sound), HSS_OK);
        std::vector<int16_t> out = Render(200);
        EXPECT_EQ(Left(out, 150), c.at150) << c.rate;
        EXPECT_EQ(Left(out, 151), c.at151) << c.rate;
    }
    // 1000 frames at 11 025 Hz last 2000 frames at 22 050 Hz, the last few of them fading.
    ASSERT_EQ(speaker.open(kRate, 16, true, 1, HSS_OUTPUT_NULL), HSS_OK);
    hssSound slow;
    ASSERT_EQ(LoadBytes(slow, MakeWav(11025, 16, 1, ramp)), HSS_OK);
    ASSERT_EQ(speaker.playSound(&slow), HSS_OK);
    std::vector<int16_t> out = Render(2000 - kRamp - 1);
    EXPECT_EQ(speaker.soundsPlaying(), 1u);
    out = Render(kRamp + 1);
    EXPECT_EQ(speaker.soundsPlaying(), 0u);
    EXPECT_NE(Left(out, kRamp - 1), 0);
    out = Render(10);
    EXPECT_EQ(Left(out, 0), 0);
}

TEST_F(NullSpeaker, StereoSoundsAndOutputFormats) {
    hssSound stereo;
    ASSERT_EQ(LoadBytes(stereo, MakeWav(kRate, 16, 2,
                                        std::vector<int>{1000, -3000, 1000, -3000, 1000, -3000,
                                                         1000, -3000, 1000, -3000, 1000, -3000})),
              HSS_OK);
    std::vector<int> frames(2000 * 2);
    for (size_t i = 0; i < frames.size(); ++i) frames[i] = i % 2 ? -3000 : 1000;
    ASSERT_EQ(LoadBytes(stereo, MakeWav(kRate, 16, 2, frames)), HSS_OK);
    ASSERT_EQ(speaker.playSound(&stereo), HSS_OK);
    std::vector<int16_t> out = Render(1000);
    EXPECT_EQ(out[1000], 1000);
    EXPECT_EQ(out[1001], -3000);

    ASSERT_EQ(speaker.open(kRate, 16, false, 0, HSS_OUTPUT_NULL), HSS_OK);
    ASSERT_EQ(speaker.playSound(&stereo), HSS_OK);
    std::vector<int16_t> mono(1000);
    ASSERT_EQ(speaker.render(1000, mono.data()), HSS_OK);
    EXPECT_EQ(mono[500], -1000) << "mono output is the mean of both sides";

    ASSERT_EQ(speaker.open(kRate, 8, true, 0, HSS_OUTPUT_NULL), HSS_OK);
    hssSound loud;
    ASSERT_EQ(LoadBytes(loud, ConstantWav(kRate, 2000, 32767)), HSS_OK);
    ASSERT_EQ(speaker.playSound(&loud, HSS_GAIN_UNITY * 2), HSS_OK);
    ASSERT_EQ(speaker.playSound(&stereo), HSS_OK);
    std::vector<uint8_t> bytes(2000);
    ASSERT_EQ(speaker.render(1000, bytes.data()), HSS_OK);
    EXPECT_EQ(bytes[1000], 255) << "8-bit output saturates too";
    EXPECT_EQ(bytes[1001], 255);
}

TEST_F(NullSpeaker, StopsFadeOut) {
    hssSound sound;
    ASSERT_EQ(LoadBytes(sound, ConstantWav(kRate, 20000, 12000)), HSS_OK);
    hssMusic music;
    ASSERT_EQ(LoadBytes(music, DataFile("song.mod")), HSS_OK);
    ASSERT_EQ(speaker.playSound(&sound), HSS_OK);
    Render(500);
    speaker.stopSounds();
    EXPECT_EQ(speaker.soundsPlaying(), 0u);
    std::vector<int16_t> out = Render(500);
    EXPECT_GT(Left(out, 0), 10000);
    EXPECT_EQ(Left(out, kRamp + 1), 0);
    EXPECT_LE(MaxStep(out), 12000 / int(kRamp) + 2);

    ASSERT_EQ(speaker.playMusic(&music), HSS_OK);
    Render(5000);
    speaker.stopMusic();
    EXPECT_FALSE(speaker.musicPlaying());
    out = Render(kRamp + 10);
    EXPECT_EQ(Left(out, kRamp + 5), 0);
}

TEST_F(NullSpeaker, AMusicLoopsOnlyWhenAsked) {
    ASSERT_EQ(speaker.open(8000, 16, true, 1, HSS_OUTPUT_NULL), HSS_OK);
    hssMusic music;
    ASSERT_EQ(LoadBytes(music, DataFile("arpeggio.mod")), HSS_OK);
    uint64_t length = music.songFrames(8000);
    EXPECT_EQ(length, 64u * 4 * 160) << "64 rows of 4 ticks of 160 frames";
    EXPECT_EQ(music.songRows(), 64u);

    ASSERT_EQ(speaker.playMusic(&music), HSS_OK);
    ASSERT_EQ(speaker.render(unsigned(length) - 100), HSS_OK);
    EXPECT_TRUE(speaker.musicPlaying());
    ASSERT_EQ(speaker.render(200), HSS_OK);
    EXPECT_FALSE(speaker.musicPlaying());

    music.loop(true);
    ASSERT_EQ(speaker.playMusic(&music), HSS_OK);
    std::vector<int16_t> out(2 * 1000);
    for (int pass = 0; pass < 3; ++pass) ASSERT_EQ(speaker.render(unsigned(length)), HSS_OK);
    ASSERT_EQ(speaker.render(1000, out.data()), HSS_OK);
    EXPECT_TRUE(speaker.musicPlaying()) << "three passes on, still playing";
    int peak = 0;
    for (int16_t v : out) peak = std::max(peak, std::abs(int(v)));
    EXPECT_GT(peak, 1000);

    // Switching looping off while it plays lets it end at the end of the current pass.
    music.loop(false);
    ASSERT_EQ(speaker.render(unsigned(length)), HSS_OK);
    EXPECT_FALSE(speaker.musicPlaying());
}

TEST_F(NullSpeaker, SuspendPausesEverythingAndResumeContinues) {
    hssSound sound;
    ASSERT_EQ(LoadBytes(sound, ConstantWav(kRate, 4000, 9000)), HSS_OK);
    ASSERT_EQ(speaker.playSound(&sound), HSS_OK);
    Render(1000);
    speaker.suspend();
    EXPECT_TRUE(speaker.suspended());
    std::vector<int16_t> out = Render(3000);
    EXPECT_LE(MaxStep(out), 9000 / int(kRamp) + 2) << "fades out";
    for (unsigned i = kRamp + 1; i < 3000; ++i) ASSERT_EQ(Left(out, i), 0) << i;
    EXPECT_EQ(speaker.soundsPlaying(), 1u) << "paused, not stopped";
    speaker.resume();
    out = Render(2500);
    EXPECT_EQ(Left(out, 1000), 9000);
    EXPECT_EQ(speaker.soundsPlaying(), 1u) << "the paused time did not count";
    Render(700);
    EXPECT_EQ(speaker.soundsPlaying(), 0u);
}

TEST(SpeakerLifetimes, ObjectsMayGoAwayInAnyOrder) {
    const std::vector<uint8_t> mod = DataFile("song.mod");
    const std::vector<uint8_t> wav = ConstantWav(kRate, 50000, 5000);
    {
        // A sound destroyed while it plays is taken off first.
        hssSpeaker speaker;
        ASSERT_EQ(speaker.open(kRate, 16, true, 1, HSS_OUTPUT_NULL), HSS_OK);
        {
            hssSound sound;
            ASSERT_EQ(LoadBytes(sound, wav), HSS_OK);
            ASSERT_EQ(speaker.playSound(&sound), HSS_OK);
            ASSERT_EQ(speaker.render(100), HSS_OK);
        }
        EXPECT_EQ(speaker.soundsPlaying(), 0u);
        std::vector<int16_t> out(200);
        ASSERT_EQ(speaker.render(100, out.data()), HSS_OK);
        EXPECT_EQ(out[100], 0);
    }
    {
        // The speaker goes first; the music and sound it played outlive it.
        hssMusic music;
        hssSound sound;
        ASSERT_EQ(LoadBytes(music, mod), HSS_OK);
        ASSERT_EQ(LoadBytes(sound, wav), HSS_OK);
        {
            hssSpeaker speaker;
            ASSERT_EQ(speaker.open(kRate, 16, true, 1, HSS_OUTPUT_NULL), HSS_OK);
            ASSERT_EQ(speaker.playMusic(&music), HSS_OK);
            ASSERT_EQ(speaker.playSound(&sound), HSS_OK);
            ASSERT_EQ(speaker.render(100), HSS_OK);
        }
        music.loop(true);
        EXPECT_EQ(LoadBytes(music, mod), HSS_OK);
        sound.unload();
    }
    {
        // Reloading a music that plays stops it; close before the objects go.
        hssSpeaker speaker;
        hssMusic music;
        ASSERT_EQ(speaker.open(kRate, 16, true, 1, HSS_OUTPUT_NULL), HSS_OK);
        ASSERT_EQ(LoadBytes(music, mod), HSS_OK);
        ASSERT_EQ(speaker.playMusic(&music), HSS_OK);
        ASSERT_EQ(LoadBytes(music, mod), HSS_OK);
        EXPECT_FALSE(speaker.musicPlaying());
        ASSERT_EQ(speaker.playMusic(&music), HSS_OK);
        EXPECT_EQ(speaker.close(), HSS_OK);
        EXPECT_EQ(speaker.render(10), HSS_NOT_OPEN);
    }
    {
        // A sound played on a second speaker leaves the first.
        hssSpeaker a, b;
        hssSound sound;
        ASSERT_EQ(LoadBytes(sound, wav), HSS_OK);
        ASSERT_EQ(a.open(kRate, 16, true, 1, HSS_OUTPUT_NULL), HSS_OK);
        ASSERT_EQ(b.open(kRate, 16, true, 1, HSS_OUTPUT_NULL), HSS_OK);
        ASSERT_EQ(a.playSound(&sound), HSS_OK);
        ASSERT_EQ(b.playSound(&sound), HSS_OK);
        EXPECT_EQ(a.soundsPlaying(), 0u);
        EXPECT_EQ(b.soundsPlaying(), 1u);
    }
}

}  // namespace
