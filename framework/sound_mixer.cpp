#include "framework/sound_mixer.h"

void ClassVSoundMixer::Step(uint32_t elapsedMs) {
    if (suspended_ || closed_) return;
    time_ += elapsedMs;
}

void ClassVSoundMixer::Close() {
    for (Channel& channel : channels_) channel = Channel{};
    closed_ = 1;
}
