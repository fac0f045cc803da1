#include "platform/shared/platform_loop.h"

#include <chrono>
#include <thread>

#include "framework/messages.h"

void PlatformSleep(uint32_t ms) {
    if (ms == 0) {
        std::this_thread::yield();
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
}

void VPlatformLoop::RunMainLoop(VPlatformInstance* instance) {
    StartLoop(instance);
    while (FramePass(instance)) {
    }
    EndLoop(instance);
}

void VPlatformLoop::StartLoop(VPlatformInstance* instance) {
    instance->running = 1;
    LoopStarting(instance);
}

bool VPlatformLoop::FramePass(VPlatformInstance* instance) {
    // Without a window (closed before the first frame) there is nothing to run a frame for.
    if (instance->window != 0) {
        if (FrameWanted(instance)) {
            Send(instance, VMSG_FRAME);
            FrameSent(instance);
            if (frameObserver_) frameObserver_(instance);
        }
        DispatchEvents(instance);
    }
    if (instance->running) return true;
    if (instance->window != 0) {
        instance->destroying = 1;
        DestroyPlatformWindow(instance);
    }
    return false;
}

void VPlatformLoop::EndLoop(VPlatformInstance* instance) {
    Send(instance, VMSG_LOOPEND);
}

uint32_t VPlatformLoop::RunProgram(VPlatformInstance* instance) {
    Send(instance, VMSG_CREATE, instance->instanceHandle);
    return FinishProgram(instance);
}

uint32_t VPlatformLoop::FinishProgram(VPlatformInstance* instance) {
    Send(instance, VMSG_DESTROY);
    // The process would end here and take a window that outlived the program with it.
    if (instance->window != 0) {
        ReleaseWindow(instance);
        instance->window = 0;
    }
    if (instance->errorText[0] != 0) ShowErrorText(instance, instance->errorText);
    return instance->exitCode;
}

void VPlatformLoop::CloseWindow(VPlatformInstance* instance) {
    if (instance->window == 0) return;
    PlatformQuit(instance);
    DestroyPlatformWindow(instance);
}

void VPlatformLoop::WindowDestroyed(VPlatformInstance* instance) {
    Send(instance, VMSG_STOP);
    ReleaseWindow(instance);
    instance->window = 0;
    if (instance->destroying) return;
    // Destroyed by something other than the main loop: the program ends at once.
    instance->running = 0;
    Send(instance, VMSG_DESTROY);
}

bool VPlatformLoop::Send(VPlatformInstance* instance, uint32_t code, uintptr_t param1,
                         uintptr_t param2, uintptr_t param3) {
    return VaneSendMessage(instance, code, param1, param2, param3);
}

void VPlatformLoop::DestroyPlatformWindow(VPlatformInstance* instance) {
    WindowDestroyed(instance);
}

void VPlatformLoop::ReleaseWindow(VPlatformInstance*) {}

void VPlatformLoop::LoopStarting(VPlatformInstance*) {}

bool VPlatformLoop::FrameWanted(VPlatformInstance*) {
    return true;
}

void VPlatformLoop::FrameSent(VPlatformInstance*) {}

uint32_t VPlatformLoop::GetTime() {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return uint32_t(uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(since).count()));
}

void VPlatformLoop::Sleep(uint32_t ms) {
    PlatformSleep(ms);
}
