// The framework's message function: the one entry through which a platform layer drives the
// framework.
#include "framework/messages.h"

#include <new>

#include "fileio/memory.h"
#include "fileio/utf8.h"
#include "framework/application_factory.h"
#include "framework/framework_driver.h"
#include "platform/platform_layer.h"

namespace {

ClassVane* ApplicationOf(VPlatformInstance* instance) {
    return static_cast<ClassVane*>(instance->applicationSlots[0]);
}

// The application whose creation is on the stack, if any. A platform may destroy the window
// (and send VMSG_DESTROY) from inside the main loop, which runs within VMSG_CREATE; the object
// is then deleted when VMSG_CREATE unwinds instead of under its own feet.
ClassVane* applicationStarting = nullptr;
bool destroyDeferred = false;

void Create(VPlatformInstance* instance, uintptr_t instanceHandle) {
    void* block = MemAlloc(sizeof(VStartRecord));
    if (block == nullptr) return;  // out of memory: no object and nothing to show
    VStartRecord* start = new (block) VStartRecord;
    start->instanceHandle = instanceHandle;
    WideToUtf8(instance->commandLine, start->commandLine, sizeof(start->commandLine));
    start->resultCode = 0;

    ClassVane* application = CreateApplication(start);
    if (application != nullptr) {
        VFrameworkDriver::Attach(*application, instance, start->instanceHandle, start->commandLine,
                                 start->resultCode);
        instance->applicationSlots[0] = application;
    } else {
        PlatformSetExitCode(instance, start->resultCode);
    }
    start->~VStartRecord();
    MemFree(block);
    if (application == nullptr) return;

    ClassVane* const outer = applicationStarting;
    applicationStarting = application;
    const uint32_t result = VFrameworkDriver::Configure(*application);
    applicationStarting = outer;
    if (destroyDeferred) {
        destroyDeferred = false;
        delete application;
        return;
    }
    // A start-up that failed must not look like a clean exit.
    if (result != 0 && application->ExitCode() == 0) application->SetExitCode(result);
}

void Destroy(VPlatformInstance* instance, ClassVane* application) {
    VFrameworkDriver::HandOver(*application);
    instance->applicationSlots[0] = nullptr;
    if (application == applicationStarting) {
        destroyDeferred = true;
        return;
    }
    delete application;
}

}  // namespace

bool VaneProcessMessage(VPlatformInstance* instance, VMessage* message) {
    if (instance == nullptr || message == nullptr) return false;
    if (message->code == VMSG_VERSION) {
        message->param1 = kFrameworkIdentifier;
        return true;
    }
    if (message->code == VMSG_CREATE) {
        if (ApplicationOf(instance) == nullptr) Create(instance, message->param1);
        return true;
    }
    ClassVane* application = ApplicationOf(instance);
    if (application == nullptr) return false;

    switch (message->code) {
        case VMSG_WINDOWMSG:
            return VFrameworkDriver::HandleWindowMessage(*application, message);
        case VMSG_FRAME:
            VFrameworkDriver::FrameStep(*application);
            return true;
        case VMSG_RESETCLOCK:
            VFrameworkDriver::ResetClock(*application);
            return true;
        case VMSG_DESTROY:
            Destroy(instance, application);
            return true;
        case VMSG_DISPLAYSTART:
            VFrameworkDriver::StartDisplay(*application, instance->window);
            return true;
        case VMSG_STOP:
            VFrameworkDriver::SetState(*application, VSTATE_STOPPING);
            VFrameworkDriver::SetState(*application, VSTATE_EXITED);
            return true;
        case VMSG_ROTATE:
            VFrameworkDriver::Rotate(*application, uint32_t(message->param1));
            return true;
        case VMSG_ACTIVATE:
            VFrameworkDriver::Activate(*application, message->param1);
            return true;
        case VMSG_PAINT:
            VFrameworkDriver::Repaint(*application);
            return false;
        case VMSG_24:
            return true;
        case VMSG_KEYDOWN:
        case VMSG_KEYUP:
        case VMSG_CHAR:
        case VMSG_PENUP:
        case VMSG_PENDOWN:
        case VMSG_PENDOUBLE:
        case VMSG_PENMOVE:
        case VMSG_WHEEL:
        case VMSG_TILT:
            return VFrameworkDriver::HandleInput(*application, *message);
        default:
            return false;
    }
}

bool VaneSendMessage(VPlatformInstance* instance, uint32_t code, uintptr_t param1, uintptr_t param2,
                     uintptr_t param3) {
    VMessage message;
    message.code = code;
    message.param1 = param1;
    message.param2 = param2;
    message.param3 = param3;
    return VaneProcessMessage(instance, &message);
}
