// The protocol every platform layer shares: the entry's message sequence, the main loop and its
// frame pass, the sleep, and the exit sequence running → the window destroyed → VMSG_STOP →
// VMSG_DESTROY. A layer derives from VPlatformLoop and adds only what is its own: its window,
// its events, its clock and its screen service (platform/template/ is the smallest example).
//
// The frame pass is callable on its own, so that a layer whose system owns the loop (a browser
// calls back once per animation frame) drives the same protocol: StartLoop once, FramePass per
// callback until it returns false, then EndLoop.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/platform_layer.h"

// Gives up the processor for ms milliseconds; 0 gives up the rest of the time slice.
void PlatformSleep(uint32_t ms);

class VPlatformLoop : public VPlatformLayer {
  public:
    // StartLoop, FramePass until the loop ends, EndLoop.
    void RunMainLoop(VPlatformInstance* instance) override;

    // Sets running and lets the layer deliver what is due before the first frame.
    void StartLoop(VPlatformInstance* instance);
    // One pass: VMSG_FRAME while the window exists, then every pending platform event; once
    // running is clear, the window is destroyed (when it still exists). False when the loop
    // is to end.
    bool FramePass(VPlatformInstance* instance);
    // VMSG_LOOPEND.
    void EndLoop(VPlatformInstance* instance);

    // Called after every VMSG_FRAME, before the events of that pass are dispatched: what a
    // program's starter follows the run by (pictures, sound, progress, a frame budget). It
    // may call PlatformQuit; the pass ends the loop as usual.
    using FrameObserver = std::function<void(VPlatformInstance* instance)>;
    void SetFrameObserver(FrameObserver observer) { frameObserver_ = std::move(observer); }

    // A monotonic millisecond clock and the sleep of PlatformSleep; a layer with a clock of its
    // own (virtual time, the system's tick count) overrides them.
    uint32_t GetTime() override;
    void Sleep(uint32_t ms) override;

  protected:
    // The entry's part once the instance exists: VMSG_CREATE (which creates the window and,
    // outside dialog mode, runs the main loop inside it), VMSG_DESTROY, the end of a window
    // that outlived the program, then the error text. Returns the exit code.
    uint32_t RunProgram(VPlatformInstance* instance);
    // RunProgram's part after VMSG_CREATE, for a layer whose VMSG_CREATE returns while the
    // program still runs (the browser's loop): called once the main loop has ended.
    uint32_t FinishProgram(VPlatformInstance* instance);
    // The user or the system closes the window while the program runs: Quit, then the window
    // is destroyed outside the main loop's own path, which ends the program at once.
    void CloseWindow(VPlatformInstance* instance);
    // The exit sequence, run as the window goes: VMSG_STOP, the layer lets go of its window,
    // the handle is cleared, and unless the main loop is destroying the window itself, running
    // is cleared and VMSG_DESTROY deletes the application.
    void WindowDestroyed(VPlatformInstance* instance);

    // Every message the protocol sends passes here.
    virtual bool Send(VPlatformInstance* instance, uint32_t code, uintptr_t param1 = 0,
                      uintptr_t param2 = 0, uintptr_t param3 = 0);

    // What a layer adds.
    // Translates and dispatches every pending platform event; returns early after one that
    // closed the window.
    virtual void DispatchEvents(VPlatformInstance* instance) = 0;
    // Shows a non-empty error text at the end of the program.
    virtual void ShowErrorText(VPlatformInstance* instance, const char16_t* text) = 0;
    // Destroys the window. A layer whose system reports the destruction later (a window
    // procedure) runs WindowDestroyed from there; the default runs it at once.
    virtual void DestroyPlatformWindow(VPlatformInstance* instance);
    // Lets go of the window's own resources, between VMSG_STOP and the handle's end.
    virtual void ReleaseWindow(VPlatformInstance* instance);
    // Delivers what is due before the first frame.
    virtual void LoopStarting(VPlatformInstance* instance);
    // Called at the top of each pass while the window exists; false skips this pass's frame
    // (a device whose screen is off only resets the frame clock and waits).
    virtual bool FrameWanted(VPlatformInstance* instance);
    // Called after each VMSG_FRAME.
    virtual void FrameSent(VPlatformInstance* instance);

  private:
    FrameObserver frameObserver_;
};
