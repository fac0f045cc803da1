// The application's state machine. Each transition is allowed only from the states listed;
// any other request leaves the state as it was.
#include "framework/vane.h"
#include "platform/platform_layer.h"

void ClassVane::SetState(uint8_t next) {
    const uint8_t old = state_;
    VDisplay& display = screen_;
    switch (next) {
        case VSTATE_RUNNING:
            if (old == VSTATE_STARTING) {
                state_ = next;
            } else if (old == VSTATE_INACTIVE || old == VSTATE_SUSPENDED) {
                state_ = next;
                mixer_.Resume();
                display.Resume();
                input_.Reset();
                if (old == VSTATE_SUSPENDED || appSettings_.suspendWhenInactive) {
                    clock_.Resume(instance_->layer->GetTime());
                    OnResume();
                }
            }
            break;
        case VSTATE_INACTIVE:
            if (old != VSTATE_RUNNING) break;
            state_ = next;
            if (!appSettings_.suspendWhenInactive && !display.IsFullScreen()) break;
            if (display.IsFullScreen()) instance_->layer->Minimize(instance_);
            display.Suspend();
            break;
        case VSTATE_SUSPENDED:
            if (old != VSTATE_RUNNING && old != VSTATE_INACTIVE) break;
            state_ = next;
            OnSuspend();
            clock_.Pause();
            display.Suspend();
            mixer_.Suspend();
            break;
        case VSTATE_STARTING:
            state_ = next;
            break;
        case VSTATE_STOPPING:
            if (old == VSTATE_RUNNING || old == VSTATE_INACTIVE || old == VSTATE_SUSPENDED ||
                old == VSTATE_STARTING) {
                state_ = next;
            }
            break;
        case VSTATE_EXITED:
            if (old == VSTATE_STOPPING) {
                state_ = next;
                OnExit(instanceHandle_);
                display.Close();
                mixer_.Close();
            } else if (old == VSTATE_STARTING) {
                state_ = next;
            }
            break;
        default:
            break;
    }
}
