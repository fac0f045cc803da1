// vorlund_probe: the vorlund entry around a small application whose every output is known in
// advance, so that the tests can check what the entry writes against independent tools.
//
// Frame n fills the display with red (n mod 32) × 8, green (n ÷ 32 mod 64) × 4 and blue 255
// on odd frames, 0 on even ones. A click (441 frames of a square wave, 20 ms at 22 050 Hz)
// starts at frames 10 and 60, on a speaker opened as the demo opens its own.
#include <cstdint>
#include <vector>

#include "framework/application_factory.h"
#include "framework/screen.h"
#include "framework/vane.h"
#include "graphics2d/color_value.h"
#include "hss/hss.h"
#include "programs/vorlund/vorlund_main.h"

namespace {

constexpr uint32_t kClickFrames[] = {10, 60};

// A RIFF WAV file: 16-bit mono 22 050 Hz, 441 samples of a square wave.
std::vector<uint8_t> ClickWav() {
    constexpr uint32_t kSamples = 441, kRate = 22050;
    std::vector<uint8_t> w;
    auto le = [&w](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) w.push_back(uint8_t(v >> (8 * i)));
    };
    auto tag = [&w](const char* t) { w.insert(w.end(), t, t + 4); };
    tag("RIFF");
    le(36 + kSamples * 2, 4);
    tag("WAVE");
    tag("fmt ");
    le(16, 4);
    le(1, 2);
    le(1, 2);
    le(kRate, 4);
    le(kRate * 2, 4);
    le(2, 2);
    le(16, 2);
    tag("data");
    le(kSamples * 2, 4);
    for (uint32_t i = 0; i < kSamples; ++i) le(uint16_t(int16_t((i / 20) % 2 ? 20000 : -20000)), 2);
    return w;
}

hssSpeaker speaker;
hssSound click;

class ClassProbe : public ClassVane {
  public:
    int OnConfigure(VAppSettings& settings) override {
        settings.fpslimit = 50;
        return 0;
    }
    int OnInit(uintptr_t, ClassVScreen&) override {
        const std::vector<uint8_t> wav = ClickWav();
        speaker.open(22050, 16, true, 1, HSS_OUTPUT_SYSTEM);
        click.load(wav.data(), wav.size());
        return 0;
    }
    int OnFrame(ClassVScreen& screen, uint32_t) override {
        const uint32_t n = frame_++;
        screen.BackBuffer().FillRect(nullptr,
                                     VRgb((n % 32) * 8, (n / 32 % 64) * 4, n % 2 ? 255 : 0));
        for (const uint32_t at : kClickFrames) {
            if (n == at) speaker.playSound(&click, HSS_GAIN_UNITY);
        }
        return 0;
    }
    void OnKeyDown(uint32_t, VKeyList&) override { Quit(); }

  private:
    uint32_t frame_ = 0;
};

VANE_APPLICATION(ClassProbe);

}  // namespace

int main(int argc, char** argv) {
    return VorlundMain(argc, argv);
}
