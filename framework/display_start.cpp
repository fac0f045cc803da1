// The display start (VMSG_DISPLAYSTART): from the window's existence to the main loop.
#include "framework/framework_loaders.h"
#include "framework/vane.h"
#include "platform/platform_layer.h"
#include "platform/program_folder.h"

static_assert(kProgramFolderChars >= kProgramFolderCapacity);

namespace {

// The default tilt configuration: centre (0, 675), stylus emulation on over a range of
// 7000, key emulation off with a threshold of 3000.
constexpr int16_t kTiltCentreX = 0;
constexpr int16_t kTiltCentreY = 675;
constexpr uint32_t kTiltRange = 7000;
constexpr uint32_t kTiltThreshold = 3000;

void TellDisplayChange(void* application, ClassVScreen& screen) {
    static_cast<ClassVane*>(application)->OnDisplayChange(screen);
}

const char16_t* DisplayOpenMessage(uint32_t result) {
    switch (result) {
        case kDisplayNotOpened:
            return u"Couldn't open the display device";
        case kDisplayUnusable:
            return u"Display couldn't be opened by VANELIB";
        case kDisplayInvalidParameters:
            return u"Display has received invalid parameters";
        default:
            return nullptr;  // out of memory has no message of its own
    }
}

}  // namespace

uint32_t ClassVane::StartDisplay(uintptr_t window) {
    window_ = window;
    PlatformGetProgramFolder(programFolder_);
    const uint32_t result = RunDisplayStart();
    if (result != 0) {
        // A failed start must not look like a clean exit to whoever started the program.
        if (exitCode_ == 0) exitCode_ = result;
        Quit();
    }
    return result;
}

uint32_t ClassVane::RunDisplayStart() {
    keyList_ = VKeyList{};
    input_.Initialise();
    clock_.Restart(instance_->layer->GetTime());
    clock_.SetSpeed(1000);
    math_.BuildTables();

    if (const int r = OnStartup(instanceHandle_)) return uint32_t(r);
    RegisterFrameworkLoaders(screen_);
    if (const int r = OnPrepareDisplay(screen_)) return uint32_t(r);

    const VDisplayConfig config{&appSettings_, &screenSettings_, &TellDisplayChange, this, &math_};
    VDisplay& display = screen_;
    if (const uint32_t r = display.Open(instance_, windowSetup_, config)) {
        if (const char16_t* message = DisplayOpenMessage(r)) ReportError(message);
        return r;
    }
    if (const int r = OnInit(instanceHandle_, screen_)) {
        display.Close();
        return uint32_t(r);
    }
    if (screenSettings_.console && !display.IsFullScreen()) {
        console_.Open();
        instance_->layer->SetConsoleButton(instance_, true);
    }
    ShowStatus(u"Running VANELIB...");
    SetState(VSTATE_RUNNING);
    if (!(appSettings_.flags & kFlagNoDefaultTilt)) {
        SetTiltSettings(kTiltCentreX, kTiltCentreY, 1, kTiltRange, 0, kTiltThreshold);
    }
    if (!DialogMode()) instance_->layer->RunMainLoop(instance_);
    return 0;
}
