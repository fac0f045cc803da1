#include "tests/platform/handheld/probe_app.h"

#include "framework/application_factory.h"
#include "framework/screen.h"

namespace {

ProbeLog* current = nullptr;

class ProbeApp : public ClassVane {
  public:
    int OnConfigure(VAppSettings& settings) override {
        settings.keepDisplayOn = current->keepDisplayOn;
        return 0;
    }
    int OnConfigureDisplay(VScreenSettings& settings) override {
        settings.displayMethod = current->displayMethod;
        settings.width = current->width;
        settings.height = current->height;
        settings.nativeLayout = current->nativeLayout;
        return 0;
    }
    int OnInit(uintptr_t, ClassVScreen& screen) override {
        ++current->inits;
        current->screenMethod = screen.ScreenMethod();
        return 0;
    }
    int OnFrame(ClassVScreen& screen, uint32_t elapsedMs) override {
        current->frameTimes.push_back(VSimDevice::Current() ? VSimDevice::Current()->Now() : 0);
        current->elapsed.push_back(elapsedMs);
        if (current->draw) current->draw(screen, frames_);
        ++frames_;
        return 0;
    }
    void OnExit(uintptr_t) override { ++current->exits; }
    void OnKeyDown(uint32_t key, VKeyList&) override { current->keys.push_back(key); }
    void OnTilt(int32_t x, int32_t y) override { current->tilts.emplace_back(x, y); }
    void OnDisplayChange(ClassVScreen& screen) override {
        current->displayChanges.emplace_back(screen.GetWidth(), screen.GetHeight());
    }

  private:
    uint32_t frames_ = 0;
};

ClassVane* MakeProbe(VStartRecord*) {
    return new ProbeApp();
}

}  // namespace

uint32_t RunProbe(ProbeLog& log, const std::function<uint32_t()>& run) {
    current = &log;
    VApplicationRegistration registration(&MakeProbe);
    const uint32_t code = run();
    current = nullptr;
    return code;
}

uint32_t HandheldRun::Run() {
    return RunProbe(log, [this] { return platform.Run(u""); });
}
