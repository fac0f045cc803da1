#include "platform/web/web_platform.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <new>

#include "platform/resources.h"
#include "platform/shared/platform_text.h"
#include "platform/web/web_events.h"
#include "platform/web/web_screen.h"

namespace {

// The one window's handle; any value but 0 would do.
constexpr uintptr_t kWindowToken = 1;
// The page offers no desktop to fit into; any display the framework accepts fits.
constexpr uint32_t kDesktopWidth = 4096;
constexpr uint32_t kDesktopHeight = 4096;
// A pass falls due at an animation frame up to this much before the time asked for: the
// frames' times jitter by a fraction of a millisecond, and the frame limiter makes up the
// difference over the next frames.
constexpr double kDueSlackMs = 2.0;

// Page hooks (vane_web_page.js): the status line, the end of the program with its exit code
// and error text (UTF-8), after which the program folder is saved.
// clang-format off
EM_JS(void, WebPageStatus, (const char* text), {
    if (Module.vaneStatus) Module.vaneStatus(UTF8ToString(text));
});
// clang-format on
// clang-format off
EM_JS(void, WebPageProgramEnded, (uint32_t code, const char* errorText), {
    const error = UTF8ToString(errorText);
    const tell = (saved) => {
        if (Module.vaneProgramEnded) Module.vaneProgramEnded(code, error, saved);
    };
    if (!Module.vaneSaveProgramFolder) {
        tell(false);
        return;
    }
    Module.vaneSaveProgramFolder(tell);
});
// clang-format on

}  // namespace

VWebPlatform::VWebPlatform(const char* canvasSelector) : canvasSelector_(canvasSelector) {}

VWebPlatform::~VWebPlatform() = default;

void VWebPlatform::Run() {
    instance_.reset(new (std::nothrow) VPlatformInstance());
    if (instance_ == nullptr) {
        WebPageProgramEnded(1, "Can't run application: Instance create error");
        emscripten_force_exit(1);
    }
    instance_->layer = this;
    instance_->instanceHandle = reinterpret_cast<uintptr_t>(ProgramResources());
    Send(instance_.get(), VMSG_CREATE, instance_->instanceHandle);
    // A start that failed ended the program inside VMSG_CREATE; otherwise the frames run from
    // the browser's callbacks from now on and the page keeps the runtime.
    if (!loopRunning_) Finish();
    emscripten_exit_with_live_runtime();
    __builtin_unreachable();
}

void VWebPlatform::Post(const VMessage& message) {
    events_.push_back(message);
}

void VWebPlatform::Deliver(const VMessage& message) {
    if (instance_ == nullptr || instance_->window == 0) return;
    VMessage copy = message;
    VaneProcessMessage(instance_.get(), &copy);
}

void VWebPlatform::ScreenOpened(uint32_t width, uint32_t height) {
    screenWidth_ = width;
    screenHeight_ = height;
}

uint32_t VWebPlatform::CreateMainWindow(VPlatformInstance* instance, const VWindowSetup& setup) {
    instance->setup = setup;
    if (!RegisterWebEvents(*this)) return kWindowFailed;
    instance->window = kWindowToken;
    instance->destroying = 0;
    Send(instance, VMSG_DISPLAYSTART);
    return kWindowCreated;
}

void VWebPlatform::RunMainLoop(VPlatformInstance* instance) {
    StartLoop(instance);
    nextPassMs_ = emscripten_get_now();
    loopRunning_ = true;
    // 0 frames per second: the browser's animation frames drive the loop; Tick keeps the
    // frame-rate limit. Not simulating an endless loop: the framework's start-up returns.
    emscripten_set_main_loop_arg(&VWebPlatform::AnimationFrame, this, 0, 0);
}

void VWebPlatform::AnimationFrame(void* self) {
    static_cast<VWebPlatform*>(self)->Tick();
}

void VWebPlatform::Tick() {
    if (!loopRunning_) return;
    const double now = emscripten_get_now();
    if (now + kDueSlackMs < nextPassMs_) return;
    nextPassMs_ = now;  // the pass's sleep moves it on
    if (!FramePass(instance_.get())) Finish();
}

void VWebPlatform::Finish() {
    if (loopRunning_) {
        loopRunning_ = false;
        emscripten_cancel_main_loop();
        EndLoop(instance_.get());
    }
    const uint32_t code = FinishProgram(instance_.get());
    UnregisterWebEvents(*this);
    WebPageProgramEnded(code, PlatformUtf8(instance_->errorText).c_str());
    emscripten_force_exit(int(code));
    __builtin_unreachable();
}

void VWebPlatform::GetDesktopSize(uint32_t* width, uint32_t* height) {
    *width = kDesktopWidth;
    *height = kDesktopHeight;
}

uint32_t VWebPlatform::GetTime() {
    return uint32_t(uint64_t(emscripten_get_now()));
}

void VWebPlatform::Sleep(uint32_t ms) {
    nextPassMs_ = emscripten_get_now() + double(ms);
}

VPlatformScreen* VWebPlatform::CreateScreen() {
    return new (std::nothrow) VWebScreen(*this);
}

void VWebPlatform::Minimize(VPlatformInstance*) {
    // A page cannot be minimised; it is put aside as a minimised window is, which the
    // framework hears as hidden.
    VMessage hidden;
    hidden.code = VMSG_ACTIVATE;
    hidden.param1 = 2;
    Post(hidden);
}

void VWebPlatform::SetStatusText(VPlatformInstance*, const char16_t* text) {
    WebPageStatus(PlatformUtf8(text).c_str());
}

void VWebPlatform::DispatchEvents(VPlatformInstance* instance) {
    // Handling a message may post another; it waits for the next pass.
    dispatching_.swap(events_);
    for (VMessage& message : dispatching_) {
        VaneProcessMessage(instance, &message);
        if (instance->window == 0) break;
    }
    dispatching_.clear();
}

void VWebPlatform::ShowErrorText(VPlatformInstance*, const char16_t*) {
    // The page shows it with the end of the program (Finish).
}

void VWebPlatform::ReleaseWindow(VPlatformInstance*) {
    UnregisterWebEvents(*this);
}
