// The system output in a browser, through Web Audio. The page's audio context pulls the mix
// through a script processor whose callback runs on the page's one thread, between the
// program's frames, so the device needs no lock. Browsers start a page's audio only after a
// user gesture: the context is created suspended and resumed on the first key press, click or
// touch on the page.
#include <emscripten.h>

#include <new>
#include <vector>

#include "hss/device.h"

namespace hss {
namespace {

// Frames per callback: about 46 ms at 22 050 Hz, enough not to run dry while a frame is
// drawn on the same thread.
constexpr unsigned kChunkFrames = 1024;

// Opens an audio context at the mixer's rate with a processor that calls render(device,
// frames) for each chunk and reads the samples from buffer. Returns a handle above 0, or 0
// when the page has no Web Audio or refuses the rate.
// clang-format off
EM_JS(int, WebAudioOpen,
      (unsigned rate, unsigned channels, unsigned bits, unsigned chunk,
       void* render, void* device, const void* buffer),
      {
          const Context = window.AudioContext || window.webkitAudioContext;
          if (!Context) return 0;
          let context;
          try {
              context = new Context({sampleRate : rate});
          } catch (e) {
              return 0;
          }
          const node = context.createScriptProcessor(chunk, 0, channels);
          const mix = getWasmTableEntry(render);
          node.onaudioprocess = (event) => {
              const out = event.outputBuffer;
              const frames = Math.min(out.length, chunk);
              mix(device, frames);
              for (let c = 0; c < channels; ++c) {
                  const data = out.getChannelData(c);
                  if (bits == 16) {
                      const s = HEAP16.subarray(buffer >> 1, (buffer >> 1) + frames * channels);
                      for (let i = 0; i < frames; ++i) data[i] = s[i * channels + c] / 32768;
                  } else {
                      const s = HEAPU8.subarray(buffer, buffer + frames * channels);
                      for (let i = 0; i < frames; ++i) data[i] = (s[i * channels + c] - 128) / 128;
                  }
              }
          };
          node.connect(context.destination);
          const start = () => {
              // A context closed meanwhile refuses; that is no fault.
              if (context.state == "suspended") context.resume().catch(() => {});
          };
          const gestures = [ "keydown", "mousedown", "pointerdown", "touchend" ];
          for (const g of gestures) document.addEventListener(g, start, true);
          start();
          Module.vaneAudio = Module.vaneAudio || [];
          Module.vaneAudio.push({context, node, start, gestures});
          return Module.vaneAudio.length;
      });
// clang-format on

// clang-format off
EM_JS(void, WebAudioClose, (int handle), {
    const audio = Module.vaneAudio && Module.vaneAudio[handle - 1];
    if (!audio) return;
    Module.vaneAudio[handle - 1] = null;
    for (const g of audio.gestures) document.removeEventListener(g, audio.start, true);
    audio.node.onaudioprocess = null;
    audio.node.disconnect();
    audio.context.close();
});
// clang-format on

class WebAudioDevice final : public Device {
  public:
    ~WebAudioDevice() override { Stop(); }

    unsigned Open(Mixer* mixer) {
        mixer_ = mixer;
        const MixFormat& f = mixer->Format();
        try {
            buffer_.assign(size_t(kChunkFrames) * f.channels * f.bits / 8, 0);
        } catch (const std::bad_alloc&) {
            return HSS_NO_MEMORY;
        }
        handle_ =
            WebAudioOpen(f.rate, f.channels, f.bits, kChunkFrames,
                         reinterpret_cast<void*>(&WebAudioDevice::Render), this, buffer_.data());
        return handle_ > 0 ? HSS_OK : HSS_NO_DEVICE;
    }

    bool Pulls() const override { return true; }
    unsigned Write(const void*, unsigned) override { return HSS_INVALID; }

    void Stop() override {
        // After the close no callback runs, so the mixer is no longer touched.
        if (handle_ > 0) WebAudioClose(handle_);
        handle_ = 0;
    }

  private:
    static void Render(void* user, unsigned frames) {
        WebAudioDevice* self = static_cast<WebAudioDevice*>(user);
        self->mixer_->Render(self->buffer_.data(), frames);
    }

    Mixer* mixer_ = nullptr;
    std::vector<uint8_t> buffer_;
    int handle_ = 0;
};

}  // namespace

unsigned NewSystemDevice(Mixer* mixer, Device** out) {
    *out = nullptr;
    WebAudioDevice* device = new (std::nothrow) WebAudioDevice;
    if (device == nullptr) return HSS_NO_MEMORY;
    const unsigned result = device->Open(mixer);
    if (result != HSS_OK) {
        delete device;
        return result;
    }
    *out = device;
    return HSS_OK;
}

}  // namespace hss
