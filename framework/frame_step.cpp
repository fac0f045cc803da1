// The frame step (VMSG_FRAME) and the clock update without a frame (VMSG_RESETCLOCK).
#include "connect/connection.h"
#include "framework/vane.h"
#include "platform/platform_layer.h"

namespace {

constexpr uint32_t kIdleSleepMs = 100;
constexpr uint32_t kSlowMotionSpeed = 400;
constexpr uint32_t kFastForwardSpeed = 2500;
constexpr uint32_t kRealTimeSpeed = 1000;

}  // namespace

void ClassVane::FrameStep() {
    VPlatformLayer& platform = *instance_->layer;
    const uint32_t slots = appSettings_.connectionSlots < kMaxConnections
                               ? appSettings_.connectionSlots
                               : kMaxConnections;
    for (uint32_t slot = 0; slot < slots; ++slot) {
        if (connections_[slot] == nullptr) continue;
        connections_[slot]->Poll();
        connections_[slot]->Process();
    }
    if (minimizeRequest_) {
        platform.Minimize(instance_);
        minimizeRequest_ = 0;
    }
    UpdateKeepDisplayOn();

    const bool framesRun = state_ == VSTATE_RUNNING ||
                           (state_ == VSTATE_INACTIVE && !appSettings_.suspendWhenInactive);
    if (!framesRun) {
        if (!DialogMode()) platform.Sleep(kIdleSleepMs);
        clock_.Update(platform.GetTime());
        return;
    }

    if (slowMotionHeld_) {
        clock_.SetSpeed(kSlowMotionSpeed);
    } else if (fastForwardHeld_) {
        clock_.SetSpeed(kFastForwardSpeed);
    } else {
        clock_.SetSpeed(kRealTimeSpeed);
    }
    clock_.Update(platform.GetTime());
    const uint32_t elapsed = clock_.Elapsed();
    if (!DialogMode()) {
        platform.Sleep(limiter_.Step(elapsed, appSettings_.fpslimit, appSettings_.sleepAtLeast1ms));
    }
    frameRate_.Count(platform.GetTime());

    input_.FrameBegin(elapsed);
    OnFrame(screen_, elapsed);
    input_.FrameEnd();
    mixer_.Step(elapsed);
    if (!(appSettings_.flags & kFlagNoAutoPresent)) {
        VDisplay& display = screen_;
        display.Present();
    }
}

void ClassVane::ResetClock() {
    clock_.Update(instance_->layer->GetTime());
}

void ClassVane::UpdateKeepDisplayOn() {
    const bool wanted = state_ == VSTATE_RUNNING && appSettings_.keepDisplayOn;
    if (wanted == (keepDisplayOnRequested_ != 0)) return;
    instance_->layer->SetKeepDisplayOn(instance_, wanted);
    instance_->keepDisplayOn = wanted ? 1 : 0;
    keepDisplayOnRequested_ = wanted ? 1 : 0;
}
