#include "tests/framework/recorder.h"

#include <algorithm>

namespace {

Harness* running = nullptr;

ClassVane* MakeRecorder(VStartRecord*) {
    auto* app = new Recorder(running->log, running->script);
    app->platform = &running->platform;
    return app;
}

}  // namespace

size_t RecorderLog::Count(const std::string& name) const {
    return size_t(std::count(calls.begin(), calls.end(), name));
}

std::vector<std::string> RecorderLog::Lifecycle() const {
    std::vector<std::string> out;
    for (const std::string& c : calls) {
        if (c != "OnFrame") out.push_back(c);
    }
    return out;
}

int Recorder::OnConfigure(VAppSettings& s) {
    log_.calls.push_back("OnConfigure");
    if (script_.configure) script_.configure(s);
    return script_.configureResult;
}

int Recorder::OnConfigureDisplay(VScreenSettings& s) {
    log_.calls.push_back("OnConfigureDisplay");
    if (script_.configureDisplay) script_.configureDisplay(s);
    return 0;
}

int Recorder::OnStartup(uintptr_t) {
    log_.calls.push_back("OnStartup");
    return script_.startupResult;
}

int Recorder::OnSuspend() {
    log_.calls.push_back("OnSuspend");
    return 0;
}

int Recorder::OnResume() {
    log_.calls.push_back("OnResume");
    return 0;
}

int Recorder::OnPrepareDisplay(ClassVScreen&) {
    log_.calls.push_back("OnPrepareDisplay");
    return script_.prepareResult;
}

int Recorder::OnInit(uintptr_t, ClassVScreen&) {
    log_.calls.push_back("OnInit");
    return script_.initResult;
}

int Recorder::OnFrame(ClassVScreen& screen, uint32_t elapsedMs) {
    log_.calls.push_back("OnFrame");
    log_.elapsed.push_back(elapsedMs);
    log_.frameLengths.push_back(Limiter().LastFrameLength());
    log_.frameTimes.push_back(platform != nullptr ? platform->Now() : 0);
    if (script_.frame) script_.frame(*this, screen, frames_);
    ++frames_;
    return 0;
}

void Recorder::OnExit(uintptr_t) {
    log_.calls.push_back("OnExit");
}

void Recorder::OnKeyDown(uint32_t key, VKeyList&) {
    log_.calls.push_back("OnKeyDown");
    log_.values.push_back(int32_t(key));
}

void Recorder::OnKeyUp(uint32_t key, VKeyList&) {
    log_.calls.push_back("OnKeyUp");
    log_.values.push_back(int32_t(key));
}

void Recorder::OnWheel(int32_t direction) {
    log_.calls.push_back("OnWheel");
    log_.values.push_back(direction);
}

void Recorder::OnPenUp(int32_t x, int32_t y) {
    log_.calls.push_back("OnPenUp");
    log_.values.insert(log_.values.end(), {x, y});
}

void Recorder::OnPenDown(int32_t x, int32_t y) {
    log_.calls.push_back("OnPenDown");
    log_.values.insert(log_.values.end(), {x, y});
}

void Recorder::OnPenDoubleTap(int32_t x, int32_t y) {
    log_.calls.push_back("OnPenDoubleTap");
    log_.values.insert(log_.values.end(), {x, y});
}

void Recorder::OnPenMove(int32_t x, int32_t y) {
    log_.calls.push_back("OnPenMove");
    log_.values.insert(log_.values.end(), {x, y});
}

void Recorder::OnTilt(int32_t x, int32_t y) {
    log_.calls.push_back("OnTilt");
    log_.values.insert(log_.values.end(), {x, y});
}

bool Recorder::OnWindowMessage(uintptr_t window, uint32_t message, uintptr_t, uintptr_t) {
    log_.calls.push_back("OnWindowMessage");
    log_.values.push_back(int32_t(window != 0));
    return message == kRawHandledByApplication;
}

void Recorder::OnDisplayChange(ClassVScreen&) {
    log_.calls.push_back("OnDisplayChange");
}

namespace {

// Harness runs keep the error text off the test output; the tests read it from the instance.
VHeadlessOptions Quiet(VHeadlessOptions options) {
    options.errorStream = nullptr;
    return options;
}

}  // namespace

Harness::Harness(VHeadlessOptions options) : platform(Quiet(std::move(options))) {}

uint32_t Harness::Run() {
    running = this;
    VApplicationRegistration registration(&MakeRecorder);
    const uint32_t code = platform.Run();
    running = nullptr;
    return code;
}

std::u16string Harness::ErrorText() const {
    return platform.Instance() ? std::u16string(platform.Instance()->errorText) : u"";
}

VMessage Message(uint32_t code, uintptr_t p1, uintptr_t p2, uintptr_t p3) {
    VMessage m;
    m.code = code;
    m.param1 = p1;
    m.param2 = p2;
    m.param3 = p3;
    return m;
}
