// How the framework's message function runs the steps of ClassVane that are not an
// application's to call: binding, configuration, display start, frame step, state changes,
// input and the platform's events. The state machine's tests drive it the same way.
#pragma once

#include <cstdint>

#include "framework/messages.h"
#include "framework/vane.h"

class VFrameworkDriver {
  public:
    static void Attach(ClassVane& app, VPlatformInstance* instance, uintptr_t instanceHandle,
                       const char* commandLine, uint32_t exitCode) {
        app.Attach(instance, instanceHandle, commandLine, exitCode);
    }
    static uint32_t Configure(ClassVane& app) { return app.Configure(); }
    static uint32_t StartDisplay(ClassVane& app, uintptr_t window) {
        return app.StartDisplay(window);
    }
    static void FrameStep(ClassVane& app) { app.FrameStep(); }
    static void ResetClock(ClassVane& app) { app.ResetClock(); }
    static void SetState(ClassVane& app, uint8_t state) { app.SetState(state); }
    static bool HandleInput(ClassVane& app, const VMessage& message) {
        return app.HandleInput(message);
    }
    static bool HandleWindowMessage(ClassVane& app, VMessage* message) {
        return app.HandleWindowMessage(message);
    }
    static void Rotate(ClassVane& app, uint32_t degrees) { app.Rotate(degrees); }
    static void Repaint(ClassVane& app) { app.Repaint(); }
    static void Activate(ClassVane& app, uintptr_t how) { app.Activate(how); }
    static void HandOver(ClassVane& app) { app.HandOver(); }
};
