// ClassVSoundMixer, the framework's own sound object. Its device operations make no sound on
// any platform of this system (programs use an external sound library), but the framework
// still suspends, resumes, steps and closes it with the application, and those calls keep its
// flags and its running time right.
#pragma once

#include <cstdint>

constexpr uint32_t kMixerSounds = 256;
constexpr uint32_t kMixerChannels = 32;

class ClassVSoundMixer {
  public:
    struct Sound {
        const uint8_t* data = nullptr;
        uint32_t size = 0;
    };
    struct Channel {
        uint16_t sound = 0;
        uint8_t playing = 0;
    };

    void Suspend() { suspended_ = 1; }
    void Resume() { suspended_ = 0; }
    // Advances the mixer's time; nothing moves while suspended or closed.
    void Step(uint32_t elapsedMs);
    // Stops every channel; a closed mixer stays closed until the application ends.
    void Close();

    bool Suspended() const { return suspended_ != 0; }
    bool Closed() const { return closed_ != 0; }
    uint32_t Time() const { return time_; }

  private:
    Sound sounds_[kMixerSounds];
    Channel channels_[kMixerChannels];
    uint32_t time_ = 0;
    uint8_t suspended_ = 0;
    uint8_t closed_ = 0;
};
