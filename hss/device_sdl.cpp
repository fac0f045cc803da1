// The system output through SDL2 audio. SDL calls Callback on its own audio thread, holding
// the device lock; the speaker takes the same lock (Lock/Unlock) around every change it
// makes, so the two never race. The callback only mixes into SDL's buffer: it allocates
// nothing and waits for nothing.
#include <SDL.h>

#include <new>

#include "hss/device.h"

namespace hss {
namespace {

class SdlDevice final : public Device {
  public:
    ~SdlDevice() override { Stop(); }

    unsigned Open(Mixer* mixer) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return HSS_NO_DEVICE;
        initialised_ = true;
        mixer_ = mixer;
        const MixFormat& f = mixer->Format();
        SDL_AudioSpec want{};
        want.freq = int(f.rate);
        want.format = f.bits == 8 ? AUDIO_U8 : AUDIO_S16SYS;
        want.channels = Uint8(f.channels);
        // About 23 ms of buffer (512 frames at 22 050 Hz): short enough that a sound starts
        // when asked, long enough not to run dry on a busy machine.
        Uint16 samples = 256;
        while (samples < f.rate / 43) samples *= 2;
        want.samples = samples;
        want.callback = &SdlDevice::Callback;
        want.userdata = this;
        SDL_AudioSpec have{};
        id_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (id_ == 0) return HSS_NO_DEVICE;
        frameBytes_ = f.channels * f.bits / 8;
        SDL_PauseAudioDevice(id_, 0);
        return HSS_OK;
    }

    bool Pulls() const override { return true; }
    void Lock() override {
        if (id_) SDL_LockAudioDevice(id_);
    }
    void Unlock() override {
        if (id_) SDL_UnlockAudioDevice(id_);
    }
    unsigned Write(const void*, unsigned) override { return HSS_INVALID; }

    void Stop() override {
        // Closing waits for a callback in progress to return; none runs after it.
        if (id_) SDL_CloseAudioDevice(id_);
        id_ = 0;
        if (initialised_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
        initialised_ = false;
    }

  private:
    static void SDLCALL Callback(void* user, Uint8* stream, int bytes) {
        SdlDevice* self = static_cast<SdlDevice*>(user);
        self->mixer_->Render(stream, unsigned(bytes) / self->frameBytes_);
    }

    Mixer* mixer_ = nullptr;
    SDL_AudioDeviceID id_ = 0;
    unsigned frameBytes_ = 1;
    bool initialised_ = false;
};

}  // namespace

unsigned NewSystemDevice(Mixer* mixer, Device** out) {
    *out = nullptr;
    SdlDevice* device = new (std::nothrow) SdlDevice;
    if (device == nullptr) return HSS_NO_MEMORY;
    unsigned result = device->Open(mixer);
    if (result != HSS_OK) {
        delete device;
        return result;
    }
    *out = device;
    return HSS_OK;
}

}  // namespace hss
