// A test application that records every callback, and a harness that runs it on the headless
// layer.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/application_factory.h"
#include "framework/vane.h"
#include "platform/headless/headless_platform.h"

// What a Recorder saw; owned by the test, so it outlives the application object.
struct RecorderLog {
    std::vector<std::string> calls;      // callback names in order
    std::vector<uint32_t> elapsed;       // OnFrame's elapsed game time, per frame
    std::vector<uint32_t> frameLengths;  // the limiter's frame length at each OnFrame, µs
    std::vector<uint32_t> frameTimes;    // platform time at each OnFrame
    std::vector<int32_t> values;         // arguments of input callbacks, in order
    uint32_t destroyed = 0;
    bool displayOpenWhenDestroyed = false;

    size_t Count(const std::string& name) const;
    // The calls without OnFrame, for order checks.
    std::vector<std::string> Lifecycle() const;
};

// What a Recorder does; every hook is optional.
struct RecorderScript {
    std::function<void(VAppSettings&)> configure;
    std::function<void(VScreenSettings&)> configureDisplay;
    int configureResult = 0;
    int startupResult = 0;
    int prepareResult = 0;
    int initResult = 0;
    // Called at each OnFrame with the frame index (from 0).
    std::function<void(ClassVane&, ClassVScreen&, uint32_t frame)> frame;
};

class Recorder : public ClassVane {
  public:
    Recorder(RecorderLog& log, const RecorderScript& script) : log_(log), script_(script) {}
    ~Recorder() override {
        ++log_.destroyed;
        log_.displayOpenWhenDestroyed = Screen().IsOpen();
    }

    int OnConfigure(VAppSettings& s) override;
    int OnConfigureDisplay(VScreenSettings& s) override;
    int OnStartup(uintptr_t) override;
    int OnSuspend() override;
    int OnResume() override;
    int OnPrepareDisplay(ClassVScreen&) override;
    int OnInit(uintptr_t, ClassVScreen&) override;
    int OnFrame(ClassVScreen& screen, uint32_t elapsedMs) override;
    void OnExit(uintptr_t) override;
    void OnKeyDown(uint32_t key, VKeyList&) override;
    void OnKeyUp(uint32_t key, VKeyList&) override;
    void OnWheel(int32_t direction) override;
    void OnPenUp(int32_t x, int32_t y) override;
    void OnPenDown(int32_t x, int32_t y) override;
    void OnPenDoubleTap(int32_t x, int32_t y) override;
    void OnPenMove(int32_t x, int32_t y) override;
    void OnTilt(int32_t x, int32_t y) override;
    // Answers true for raw message kRawHandledByApplication only.
    bool OnWindowMessage(uintptr_t window, uint32_t message, uintptr_t, uintptr_t) override;
    void OnDisplayChange(ClassVScreen&) override;

    static constexpr uint32_t kRawHandledByApplication = 0x0F;

    VHeadlessPlatform* platform = nullptr;

  private:
    RecorderLog& log_;
    const RecorderScript& script_;
    uint32_t frames_ = 0;
};

// Runs one program on the headless layer with the Recorder as its application.
struct Harness {
    explicit Harness(VHeadlessOptions options = {});
    // Runs and returns the exit code.
    uint32_t Run();
    // The error text the platform received.
    std::u16string ErrorText() const;

    RecorderLog log;
    RecorderScript script;
    VHeadlessPlatform platform;
};

// Message helper.
VMessage Message(uint32_t code, uintptr_t p1 = 0, uintptr_t p2 = 0, uintptr_t p3 = 0);
