#include "app/demo_sound.h"

namespace {
constexpr uint32_t kRate = 22050;
constexpr uint32_t kBits = 16;
constexpr bool kStereo = true;
constexpr uint32_t kResampling = HSS_RESAMPLE_LINEAR;
constexpr uint32_t kSoundVolume = 64;
constexpr uint32_t kMusicVolume = 40;
constexpr uint32_t kMusicId = 117;
constexpr uint32_t kSoundIds[kDemoSounds] = {118, 120, 123};
}  // namespace

void VDemoSound::Tell(VDemoSoundCall call, uint32_t a, uint32_t b, uint32_t c, uint32_t d,
                      uint32_t e) {
    if (observer_ != nullptr) observer_->SoundCall(VDemoSoundEvent{call, {a, b, c, d, e}});
}

void VDemoSound::Start(const VResourceModule* module) {
    speaker_.open(kRate, kBits, kStereo, kResampling, output_);
    Tell(VDemoSoundCall::Open, kRate, kBits, kStereo, kResampling, output_);
    speaker_.volumeSounds(kSoundVolume);
    Tell(VDemoSoundCall::VolumeSounds, kSoundVolume);
    speaker_.volumeMusics(kMusicVolume);
    Tell(VDemoSoundCall::VolumeMusics, kMusicVolume);
    music_.load(module, kMusicId);
    Tell(VDemoSoundCall::LoadMusic, kMusicId);
    for (uint32_t i = 0; i < kDemoSounds; ++i) {
        sounds_[i].load(module, kSoundIds[i]);
        Tell(VDemoSoundCall::LoadSound, kSoundIds[i], i + 1);
    }
    music_.loop(true);
    Tell(VDemoSoundCall::LoopMusic, 1);
    speaker_.playMusic(&music_, HSS_GAIN_UNITY);
    Tell(VDemoSoundCall::PlayMusic, HSS_GAIN_UNITY);
}

void VDemoSound::Play(uint32_t sound) {
    if (sound < 1 || sound > kDemoSounds) return;
    speaker_.playSound(&sounds_[sound - 1], HSS_GAIN_UNITY);
    Tell(VDemoSoundCall::PlaySound, sound, HSS_GAIN_UNITY);
}

void VDemoSound::Suspend() {
    speaker_.suspend();
    Tell(VDemoSoundCall::Suspend);
}

void VDemoSound::Resume() {
    speaker_.resume();
    Tell(VDemoSoundCall::Resume);
}

void VDemoSound::Close() {
    if (!speaker_.isOpen()) return;
    speaker_.close();
    Tell(VDemoSoundCall::Close);
}
