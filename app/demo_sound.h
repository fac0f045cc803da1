// The demo's sound: one speaker, the background music and the three effects, played through
// the hss library. Every call the demo makes goes through here, so that an observer (a test,
// a recording program) sees each one with its arguments.
#pragma once

#include <cstdint>

#include "hss/hss.h"

struct VResourceModule;

// The three effects, numbered as the timeline names them.
constexpr uint32_t kSoundPieceComesIn = 1;  // "WAVE" 118
constexpr uint32_t kSoundNewModel = 2;      // "WAVE" 120, also every mosaic cell change
constexpr uint32_t kSoundFadeIn = 3;        // "WAVE" 123
constexpr uint32_t kDemoSounds = 3;

enum class VDemoSoundCall : uint8_t {
    Open,          // values: rate, bits, stereo, resampling, output
    VolumeSounds,  // volume
    VolumeMusics,  // volume
    LoadMusic,     // resource id
    LoadSound,     // resource id, sound number
    LoopMusic,     // 1 or 0
    PlayMusic,     // gain
    PlaySound,     // sound number, gain
    Suspend,
    Resume,
    Close,
};

struct VDemoSoundEvent {
    VDemoSoundCall call;
    uint32_t values[5];
};

class VDemoSoundObserver {
  public:
    virtual ~VDemoSoundObserver() = default;
    // Called after the library call was made.
    virtual void SoundCall(const VDemoSoundEvent& event) = 0;
};

class VDemoSound {
  public:
    // output: where the speaker plays, HSS_OUTPUT_SYSTEM as the demo asks for it, or
    // HSS_OUTPUT_NULL for a program that renders (and records) the mix itself.
    explicit VDemoSound(uint32_t output, VDemoSoundObserver* observer)
        : output_(output), observer_(observer) {}
    // The output stops before the effects, the music and the speaker are destroyed, in that
    // order (the reverse of their declaration below).
    ~VDemoSound() { Close(); }
    VDemoSound(const VDemoSound&) = delete;
    VDemoSound& operator=(const VDemoSound&) = delete;

    // Opens the speaker, sets the volumes, loads the music ("PTMOD" 117) and the effects
    // ("WAVE" 118, 120, 123) from module and starts the music, looping. Failures leave the
    // demo silent and are not reported.
    void Start(const VResourceModule* module);
    // Starts effect 1, 2 or 3 over whatever plays.
    void Play(uint32_t sound);
    void Suspend();
    void Resume();
    void Close();

    hssSpeaker& Speaker() { return speaker_; }

  private:
    void Tell(VDemoSoundCall call, uint32_t a = 0, uint32_t b = 0, uint32_t c = 0, uint32_t d = 0,
              uint32_t e = 0);

    uint32_t output_;
    VDemoSoundObserver* observer_;  // not owned; may be null
    hssSpeaker speaker_;
    hssMusic music_;
    hssSound sounds_[kDemoSounds];
};
