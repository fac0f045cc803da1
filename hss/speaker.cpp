#include <new>

#include "hss/device.h"
#include "hss/hss.h"
#include "hss/mixer.h"
#include "hss/mod_player.h"

namespace {

constexpr unsigned kMinRate = 8000;
constexpr unsigned kMaxRate = 96000;
constexpr unsigned kRenderChunk = 1024;  // frames per write to a file output

bool ValidFormat(unsigned rate, unsigned bits) {
    return rate >= kMinRate && rate <= kMaxRate && (bits == 8 || bits == 16);
}

hss::MixFormat MakeFormat(unsigned rate, unsigned bits, bool stereo, unsigned resampling) {
    hss::MixFormat f;
    f.rate = rate;
    f.bits = bits;
    f.channels = stereo ? 2 : 1;
    f.linear = resampling != HSS_RESAMPLE_NEAREST;
    return f;
}

// Holds the device lock for one scope: the changes inside never race with the mixing.
class OutputLock {
  public:
    explicit OutputLock(hss::Device* device) : device_(device) {
        if (device_) device_->Lock();
    }
    ~OutputLock() {
        if (device_) device_->Unlock();
    }
    OutputLock(const OutputLock&) = delete;
    OutputLock& operator=(const OutputLock&) = delete;

  private:
    hss::Device* device_;
};

}  // namespace

hssSpeaker::hssSpeaker() = default;

hssSpeaker::~hssSpeaker() {
    close();
}

unsigned hssSpeaker::open(unsigned rate, unsigned bits, bool stereo, unsigned resampling,
                          unsigned output) {
    if (!ValidFormat(rate, bits) || output > HSS_OUTPUT_SYSTEM) return HSS_INVALID;
    close();
    hss::MixFormat format = MakeFormat(rate, bits, stereo, resampling);
    mixer_ = new (std::nothrow) hss::Mixer(format);
    if (mixer_ == nullptr) return HSS_NO_MEMORY;
    hss::Device* device = nullptr;
    unsigned result = HSS_OK;
    if (output == HSS_OUTPUT_SYSTEM) {
        result = hss::NewRoutedSystemDevice(this, mixer_, &device);
    } else {
        device = hss::NewNullDevice();
        if (device == nullptr) result = HSS_NO_MEMORY;
    }
    return openOn(device, result, format);
}

unsigned hssSpeaker::openFile(const char* path, unsigned rate, unsigned bits, bool stereo,
                              unsigned resampling) {
    if (path == nullptr || !ValidFormat(rate, bits)) return HSS_INVALID;
    close();
    hss::MixFormat format = MakeFormat(rate, bits, stereo, resampling);
    mixer_ = new (std::nothrow) hss::Mixer(format);
    if (mixer_ == nullptr) return HSS_NO_MEMORY;
    hss::Device* device = nullptr;
    unsigned result = hss::NewFileDevice(path, format, &device);
    return openOn(device, result, format);
}

unsigned hssSpeaker::openOn(hss::Device* device, unsigned result, const hss::MixFormat& format) {
    if (result != HSS_OK) {
        delete device;
        delete mixer_;
        mixer_ = nullptr;
        return result;
    }
    {
        // The system device is already mixing (silence) on its thread.
        OutputLock lock(device);
        mixer_->SetMusicVolume(volumeMusics_);
        mixer_->SetSoundVolume(volumeSounds_);
        if (suspended_) mixer_->SetSuspended(true);
    }
    device_ = device;
    rate_ = format.rate;
    channels_ = format.channels;
    bits_ = format.bits;
    return HSS_OK;
}

unsigned hssSpeaker::close() {
    if (device_ == nullptr) return HSS_OK;
    hss::SystemOutputClosed(this);
    device_->Stop();
    delete device_;
    device_ = nullptr;
    delete mixer_;
    mixer_ = nullptr;
    rate_ = channels_ = bits_ = 0;
    while (musics_) {
        hssMusic* m = musics_;
        musics_ = m->next_;
        m->speaker_ = nullptr;
        m->prev_ = m->next_ = nullptr;
    }
    while (sounds_) {
        hssSound* s = sounds_;
        sounds_ = s->next_;
        s->speaker_ = nullptr;
        s->prev_ = s->next_ = nullptr;
    }
    return HSS_OK;
}

unsigned hssSpeaker::render(unsigned frames, void* out) {
    if (device_ == nullptr) return HSS_NOT_OPEN;
    if (device_->Pulls()) return HSS_INVALID;
    unsigned frameBytes = channels_ * bits_ / 8;
    uint8_t* o = static_cast<uint8_t*>(out);
    // Room for kRenderChunk frames of the widest format (16-bit stereo).
    int16_t chunk[kRenderChunk * 2];
    while (frames > 0) {
        unsigned n = frames < kRenderChunk ? frames : kRenderChunk;
        mixer_->Render(chunk, n);
        unsigned result = device_->Write(chunk, n);
        if (result != HSS_OK) return result;
        if (o) {
            const uint8_t* from = reinterpret_cast<const uint8_t*>(chunk);
            for (unsigned i = 0; i < n * frameBytes; ++i) o[i] = from[i];
            o += n * frameBytes;
        }
        frames -= n;
    }
    return HSS_OK;
}

void hssSpeaker::volumeSounds(unsigned volume) {
    volumeSounds_ = volume > HSS_VOLUME_MAX ? HSS_VOLUME_MAX : volume;
    if (mixer_ == nullptr) return;
    OutputLock lock(device_);
    mixer_->SetSoundVolume(volumeSounds_);
}

void hssSpeaker::volumeMusics(unsigned volume) {
    volumeMusics_ = volume > HSS_VOLUME_MAX ? HSS_VOLUME_MAX : volume;
    if (mixer_ == nullptr) return;
    OutputLock lock(device_);
    mixer_->SetMusicVolume(volumeMusics_);
}

unsigned hssSpeaker::playMusic(hssMusic* music, unsigned gain) {
    if (music == nullptr) return HSS_INVALID;
    if (device_ == nullptr) return HSS_NOT_OPEN;
    if (!music->isLoaded()) return HSS_NOT_LOADED;
    attach(music);
    OutputLock lock(device_);
    hss::ModPlayer* player = music->player_;
    player->SetRate(rate_);
    player->SetInterpolation(mixer_->Format().linear);
    player->SetLoop(music->loop_);
    player->Restart();
    mixer_->PlayMusic(player, music, gain);
    return HSS_OK;
}

unsigned hssSpeaker::playSound(hssSound* sound, unsigned gain) {
    if (sound == nullptr) return HSS_INVALID;
    if (device_ == nullptr) return HSS_NOT_OPEN;
    if (!sound->isLoaded()) return HSS_NOT_LOADED;
    attach(sound);
    OutputLock lock(device_);
    mixer_->PlaySound(sound->wav_, sound, gain);
    return HSS_OK;
}

void hssSpeaker::stopMusic() {
    if (mixer_ == nullptr) return;
    OutputLock lock(device_);
    mixer_->StopMusic();
}

void hssSpeaker::stopSounds() {
    if (mixer_ == nullptr) return;
    OutputLock lock(device_);
    mixer_->StopSounds();
}

bool hssSpeaker::musicPlaying() const {
    if (mixer_ == nullptr) return false;
    OutputLock lock(device_);
    return mixer_->MusicPlaying();
}

unsigned hssSpeaker::soundsPlaying() const {
    if (mixer_ == nullptr) return 0;
    OutputLock lock(device_);
    return mixer_->SoundsPlaying();
}

void hssSpeaker::suspend() {
    suspended_ = true;
    if (mixer_ == nullptr) return;
    OutputLock lock(device_);
    mixer_->SetSuspended(true);
}

void hssSpeaker::resume() {
    suspended_ = false;
    if (mixer_ == nullptr) return;
    OutputLock lock(device_);
    mixer_->SetSuspended(false);
}

void hssSpeaker::lockOutput() {
    if (device_) device_->Lock();
}

void hssSpeaker::unlockOutput() {
    if (device_) device_->Unlock();
}

void hssSpeaker::attach(hssMusic* music) {
    if (music->speaker_ == this) return;
    if (music->speaker_) music->speaker_->detach(music);
    music->speaker_ = this;
    music->prev_ = nullptr;
    music->next_ = musics_;
    if (musics_) musics_->prev_ = music;
    musics_ = music;
}

void hssSpeaker::attach(hssSound* sound) {
    if (sound->speaker_ == this) return;
    if (sound->speaker_) sound->speaker_->detach(sound);
    sound->speaker_ = this;
    sound->prev_ = nullptr;
    sound->next_ = sounds_;
    if (sounds_) sounds_->prev_ = sound;
    sounds_ = sound;
}

void hssSpeaker::detach(hssMusic* music) {
    if (mixer_) {
        OutputLock lock(device_);
        mixer_->Forget(music);
    }
    if (music->prev_) music->prev_->next_ = music->next_;
    if (music->next_) music->next_->prev_ = music->prev_;
    if (musics_ == music) musics_ = music->next_;
    music->speaker_ = nullptr;
    music->prev_ = music->next_ = nullptr;
}

void hssSpeaker::detach(hssSound* sound) {
    if (mixer_) {
        OutputLock lock(device_);
        mixer_->Forget(sound);
    }
    if (sound->prev_) sound->prev_->next_ = sound->next_;
    if (sound->next_) sound->next_->prev_ = sound->prev_;
    if (sounds_ == sound) sounds_ = sound->next_;
    sound->speaker_ = nullptr;
    sound->prev_ = sound->next_ = nullptr;
}
