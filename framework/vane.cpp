// ClassVane: construction, destruction, the default callbacks and the operations
// applications call.
#include "framework/vane.h"

#include <new>

#include "connect/connection.h"
#include "fileio/memory.h"
#include "platform/platform_layer.h"

ClassVane::ClassVane() {
    void* block = MemAlloc(sizeof(VWindowSetup));
    if (block != nullptr) windowSetup_ = new (block) VWindowSetup;
    screen_.SetModelServices(&modelServices_);
}

ClassVane::~ClassVane() {
    if (windowSetup_ != nullptr) {
        windowSetup_->~VWindowSetup();
        MemFree(windowSetup_);
        windowSetup_ = nullptr;
    }
    for (ClassVConnection*& connection : connections_) {
        delete connection;
        connection = nullptr;
    }
    if (keepDisplayOnRequested_ && instance_ != nullptr) {
        instance_->layer->SetKeepDisplayOn(instance_, false);
        instance_->keepDisplayOn = 0;
        keepDisplayOnRequested_ = 0;
    }
    console_.Close();
    // The sound mixer closes before the display; the display member, destroyed last of the
    // services, closes itself if it is still open.
    mixer_.Close();
}

int ClassVane::OnConfigure(VAppSettings&) {
    return 0;
}
int ClassVane::OnConfigureDisplay(VScreenSettings&) {
    return 0;
}
int ClassVane::OnStartup(uintptr_t) {
    return 0;
}
int ClassVane::OnSuspend() {
    return 0;
}
int ClassVane::OnResume() {
    return 0;
}
int ClassVane::OnPrepareDisplay(ClassVScreen&) {
    return 0;
}
int ClassVane::OnInit(uintptr_t, ClassVScreen&) {
    return 0;
}
int ClassVane::OnFrame(ClassVScreen&, uint32_t) {
    return 0;
}
void ClassVane::OnExit(uintptr_t) {}
void ClassVane::OnKeyDown(uint32_t, VKeyList&) {}
void ClassVane::OnKeyUp(uint32_t, VKeyList&) {}
void ClassVane::OnWheel(int32_t) {}
void ClassVane::OnPenUp(int32_t, int32_t) {}
void ClassVane::OnPenDown(int32_t, int32_t) {}
void ClassVane::OnPenDoubleTap(int32_t, int32_t) {}
void ClassVane::OnPenMove(int32_t, int32_t) {}
void ClassVane::OnTilt(int32_t, int32_t) {}
bool ClassVane::OnWindowMessage(uintptr_t, uint32_t, uintptr_t, uintptr_t) {
    return false;
}
void ClassVane::OnConnectionMessage(uint8_t, uint32_t, uint32_t, int32_t, int32_t) {}
void ClassVane::OnDisplayChange(ClassVScreen&) {}

void ClassVane::Attach(VPlatformInstance* instance, uintptr_t instanceHandle,
                       const char* commandLine, uint32_t exitCode) {
    instance_ = instance;
    instanceHandle_ = instanceHandle;
    size_t n = 0;
    while (commandLine != nullptr && commandLine[n] != 0 && n + 1 < kCommandLineBytes) {
        commandLine_[n] = commandLine[n];
        ++n;
    }
    commandLine_[n] = 0;
    programFolder_[0] = 0;
    exitCode_ = exitCode;
}

void ClassVane::Quit() {
    if (instance_ != nullptr) PlatformQuit(instance_);
}

void ClassVane::Minimize() {
    SetState(VSTATE_SUSPENDED);
    minimizeRequest_ = 1;
}

void ClassVane::ReportError(const char16_t* text) {
    strings_.WStrCopy(errorText_, text, int32_t(kErrorTextCapacity));
}

void ClassVane::ShowStatus(const char16_t* text) {
    if (instance_ != nullptr) instance_->layer->SetStatusText(instance_, text ? text : u"");
}

void ClassVane::GetFrameRate(uint32_t* whole, uint32_t* hundredths) const {
    if (whole != nullptr) *whole = frameRate_.Fps100() / 100;
    if (hundredths != nullptr) *hundredths = frameRate_.Fps100() % 100;
}

void ClassVane::SetTiltSettings(int16_t centreX, int16_t centreY, uint8_t stylusEmulation,
                                uint32_t range, uint8_t keyEmulation, uint32_t threshold) {
    tilt_.centreX = int32_t(centreX) * 32;
    tilt_.centreY = int32_t(centreY) * 32;
    tilt_.range = int32_t(range);
    tilt_.stylusEmulation = stylusEmulation;
    tilt_.keyEmulation = keyEmulation;
    tilt_.configuredThresholdX = int32_t(threshold);
    tilt_.configuredThresholdY = int32_t(threshold);
    if (!tilt_.keysEmulated) {
        tilt_.thresholdX = int32_t(threshold);
        tilt_.thresholdY = int32_t(threshold);
    }
}

ClassVConnection* ClassVane::Connection(uint32_t slot) const {
    return slot < kMaxConnections ? connections_[slot] : nullptr;
}

void ClassVane::HandOver() {
    if (instance_ == nullptr) return;
    if (errorText_[0] != 0) PlatformSetErrorText(instance_, errorText_);
    PlatformSetExitCode(instance_, exitCode_);
}
