// The mixer: one music and up to HSS_MAX_SOUNDS sounds, each with its own gain, summed into
// the output format with saturation. Every start, stop, gain change and pause is a short
// linear ramp, so nothing clicks.
//
// The mixer is not thread-safe by itself: the speaker calls everything but Render under the
// device's lock, and Render runs on the device's thread (or the main thread for the null and
// file outputs). Nothing here allocates after construction.
#pragma once

#include <cstdint>

#include "hss/hss.h"

namespace hss {

class ModPlayer;
struct WavData;

struct MixFormat {
    unsigned rate = 22050;
    unsigned channels = 2;  // 1 or 2
    unsigned bits = 16;     // 8 (unsigned samples) or 16 (signed)
    bool linear = true;     // linear interpolation when resampling
};

class Mixer {
  public:
    explicit Mixer(const MixFormat& format);

    const MixFormat& Format() const { return format_; }
    unsigned RampFrames() const { return rampFrames_; }

    // Volumes 0 to 64, applied to what plays now and later.
    void SetMusicVolume(unsigned volume);
    void SetSoundVolume(unsigned volume);

    // Plays the player (already restarted by the caller) with a 4.28 gain; the music playing
    // before fades out. owner identifies the object the player belongs to.
    void PlayMusic(ModPlayer* player, const void* owner, unsigned gain);
    void StopMusic();
    void PlaySound(const WavData* wav, const void* owner, unsigned gain);
    void StopSounds();
    // Drops at once everything that reads the owner's data (the owner is about to free it).
    void Forget(const void* owner);

    void SetSuspended(bool suspended);

    bool MusicPlaying() const;
    unsigned SoundsPlaying() const;

    // Mixes frames into out (frames × channels samples of the output format), or mixes and
    // discards them when out is null.
    void Render(void* out, unsigned frames);

  private:
    static constexpr unsigned kChunk = 256;
    static constexpr unsigned kSlots = HSS_MAX_SOUNDS + 8;  // playing sounds plus fading ones

    // A gain that moves towards its target by at most `step` per frame (Q16).
    struct Ramp {
        int32_t current = 0;
        int32_t target = 0;
        int32_t step = 1;
        int32_t Next() {
            if (current < target)
                current = current + step > target ? target : current + step;
            else if (current > target)
                current = current - step < target ? target : current - step;
            return current;
        }
        bool Silent() const { return current == 0 && target == 0; }
        // Heads for `to`, arriving in about `frames` frames.
        void To(int32_t to, unsigned frames) {
            target = to;
            int32_t distance = to > current ? to - current : current - to;
            step = distance / int32_t(frames ? frames : 1);
            if (step < 1) step = 1;
        }
    };

    struct MusicSlot {
        ModPlayer* player = nullptr;
        const void* owner = nullptr;
        unsigned gain = 0;  // 4.28
        bool stopping = false;
        Ramp ramp;
    };

    struct Voice {
        const WavData* wav = nullptr;
        const void* owner = nullptr;
        unsigned gain = 0;  // 4.28
        uint64_t pos = 0;   // 32.32 source frames
        uint64_t step = 0;
        uint32_t started = 0;  // start order, to find the oldest
        unsigned fade = 1;     // frames of the fade in and of the fade out at the end
        bool stopping = false;
        Ramp ramp;
    };

    int32_t GainQ16(unsigned volume, unsigned gain) const;
    void FadeOut(Voice& voice, unsigned frames);
    void AddMusic(MusicSlot& slot, unsigned from, unsigned to);
    void MixMusic(MusicSlot& slot, unsigned frames);
    void MixVoice(Voice& voice, unsigned frames);
    void Output(void* out, unsigned frames);

    MixFormat format_;
    unsigned rampFrames_;
    unsigned musicVolume_ = HSS_VOLUME_MAX;
    unsigned soundVolume_ = HSS_VOLUME_MAX;
    MusicSlot music_[2];  // [0] the music playing, [1] one fading out
    Voice voices_[kSlots];
    uint32_t started_ = 0;
    Ramp master_;
    int32_t accum_[2 * kChunk];
    int32_t scratch_[2 * kChunk];
};

}  // namespace hss
