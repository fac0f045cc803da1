#include "platform/template/template_platform.h"

#include <cstdio>
#include <new>

#include "platform/resources.h"
#include "platform/shared/platform_text.h"
#include "platform/shared/screen_mode.h"

namespace {

// The one window's handle; any value but 0 would do.
constexpr uintptr_t kWindowToken = 1;
constexpr uint32_t kDesktopWidth = 1024;
constexpr uint32_t kDesktopHeight = 768;

}  // namespace

uint32_t VTemplatePlatform::Run(const char16_t* commandLine) {
    instance_.reset(new (std::nothrow) VPlatformInstance());
    if (instance_ == nullptr) {
        std::fprintf(stderr, "Can't run application: Instance create error\n");
        return 1;
    }
    instance_->layer = this;
    instance_->instanceHandle = reinterpret_cast<uintptr_t>(ProgramResources());
    size_t n = 0;
    for (; commandLine != nullptr && commandLine[n] != 0 && n + 1 < kPlatformTextCapacity; ++n) {
        instance_->commandLine[n] = commandLine[n];
    }
    instance_->commandLine[n] = 0;
    return RunProgram(instance_.get());
}

void VTemplatePlatform::Post(const VMessage& message) {
    events_.push_back(message);
}

void VTemplatePlatform::PostClose() {
    closeRequested_ = true;
}

uint32_t VTemplatePlatform::CreateMainWindow(VPlatformInstance* instance,
                                             const VWindowSetup& setup) {
    instance->setup = setup;
    instance->window = kWindowToken;
    instance->destroying = 0;
    Send(instance, VMSG_DISPLAYSTART);
    return kWindowCreated;
}

void VTemplatePlatform::GetDesktopSize(uint32_t* width, uint32_t* height) {
    *width = kDesktopWidth;
    *height = kDesktopHeight;
}

VPlatformScreen* VTemplatePlatform::CreateScreen() {
    return new (std::nothrow) VTemplateScreen();
}

void VTemplatePlatform::DispatchEvents(VPlatformInstance* instance) {
    // Handling a message may post another; it waits for the next pass.
    std::vector<VMessage> pending;
    pending.swap(events_);
    for (VMessage& message : pending) VaneProcessMessage(instance, &message);
    if (closeRequested_) {
        closeRequested_ = false;
        CloseWindow(instance);
    }
}

void VTemplatePlatform::ShowErrorText(VPlatformInstance*, const char16_t* text) {
    std::fprintf(stderr, "Application error: %s\n", PlatformUtf8(text).c_str());
}

uint32_t VTemplateScreen::Open(uint32_t method, uintptr_t window, uint32_t bitsPerPixel,
                               uint32_t width, uint32_t height, bool, bool) {
    Close();
    if (method != 1) return kScreenMethodUnsupported;
    if (window == 0 || width == 0 || height == 0) return kScreenCallFailed;
    if (!PackedScreenMode(PackedFormatForDepth(bitsPerPixel), width, height, &mode_)) {
        return kScreenCallFailed;
    }
    try {
        pixels_.assign(size_t(mode_.yStep) * height, 0);
    } catch (const std::bad_alloc&) {
        return kScreenOutOfMemory;
    }
    open_ = true;
    return kScreenOpened;
}

void VTemplateScreen::Close() {
    open_ = false;
    locked_ = false;
    mode_ = VScreenMode{};
    pixels_ = {};
}

bool VTemplateScreen::Lock(VScreenLock* lock) {
    if (!open_ || locked_ || lock == nullptr) return false;
    lock->address = pixels_.data();
    lock->pitch = mode_.yStep;
    lock->bytesPerPixel = uint32_t(mode_.xStep);
    locked_ = true;
    return true;
}
