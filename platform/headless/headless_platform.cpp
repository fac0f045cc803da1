#include "platform/headless/headless_platform.h"

#include <algorithm>
#include <chrono>
#include <new>

#include "platform/headless/headless_screen.h"
#include "platform/resources.h"
#include "platform/shared/platform_text.h"

namespace {

// The one window's handle; any non-zero value would do.
constexpr uintptr_t kWindowHandle = 0x57494E;

uint64_t MonotonicNs() {
    return uint64_t(std::chrono::duration_cast<std::chrono::nanoseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count());
}

}  // namespace

VHeadlessPlatform::VHeadlessPlatform(VHeadlessOptions options) : options_(std::move(options)) {
    virtualNow_ = options_.startTimeMs;
    realStartNs_ = MonotonicNs();
}

VHeadlessPlatform::~VHeadlessPlatform() = default;

void VHeadlessPlatform::InjectMessage(uint32_t beforeFrame, const VMessage& message) {
    AddEvent(Event{beforeFrame, false, message});
}

void VHeadlessPlatform::InjectClose(uint32_t beforeFrame) {
    AddEvent(Event{beforeFrame, true, VMessage{}});
}

void VHeadlessPlatform::AddEvent(const Event& event) {
    // Kept in frame order, events of one frame in the order injected. An event injected while
    // the program runs never lands before those still waiting.
    const auto position =
        std::upper_bound(events_.begin() + ptrdiff_t(nextEvent_), events_.end(), event.beforeFrame,
                         [](uint32_t frame, const Event& e) { return frame < e.beforeFrame; });
    events_.insert(position, event);
}

uint32_t VHeadlessPlatform::Run() {
    instance_ = std::make_unique<VPlatformInstance>();
    instance_->layer = this;
    instance_->instanceHandle = options_.instanceHandle
                                    ? options_.instanceHandle
                                    : reinterpret_cast<uintptr_t>(ProgramResources());
    const size_t n = std::min(options_.commandLine.size(), kPlatformTextCapacity - 1);
    std::copy_n(options_.commandLine.data(), n, instance_->commandLine);
    instance_->commandLine[n] = 0;
    framesSent_ = 0;
    sleeps_.clear();
    sentCodes_.clear();
    queued_.clear();

    return RunProgram(instance_.get());
}

bool VHeadlessPlatform::Send(VPlatformInstance* instance, uint32_t code, uintptr_t param1,
                             uintptr_t param2, uintptr_t param3) {
    if (code != VMSG_FRAME) sentCodes_.push_back(code);
    return VPlatformLoop::Send(instance, code, param1, param2, param3);
}

void VHeadlessPlatform::ShowErrorText(VPlatformInstance*, const char16_t* text) {
    if (options_.errorStream == nullptr) return;
    std::fprintf(options_.errorStream, "Application error: %s\n", PlatformUtf8(text).c_str());
    std::fflush(options_.errorStream);
}

uint32_t VHeadlessPlatform::CreateMainWindow(VPlatformInstance* instance,
                                             const VWindowSetup& setup) {
    if (options_.windowCreateResult != kWindowCreated) return options_.windowCreateResult;
    setup_ = setup;
    instance->setup = setup;
    instance->window = kWindowHandle;
    instance->destroying = 0;
    clientWidth_ = setup.width;
    clientHeight_ = setup.height;
    ++windowsCreated_;
    Send(instance, VMSG_DISPLAYSTART);
    return kWindowCreated;
}

void VHeadlessPlatform::LoopStarting(VPlatformInstance*) {
    DispatchPending(0);
}

void VHeadlessPlatform::FrameSent(VPlatformInstance* instance) {
    ++framesSent_;
    const uint32_t cost =
        options_.frameCost ? options_.frameCost(framesSent_ - 1) : options_.frameCostMs;
    if (!options_.realTime) virtualNow_ += cost;
    if (options_.frameBudget != 0 && framesSent_ >= options_.frameBudget) PlatformQuit(instance);
}

void VHeadlessPlatform::DispatchEvents(VPlatformInstance*) {
    DispatchPending(framesSent_);
}

void VHeadlessPlatform::DispatchPending(uint32_t frame) {
    // Messages the layer queued itself come first: they answer what the last frame did. Each
    // is copied out before it is handled, since handling may queue another.
    for (size_t i = 0; i < queued_.size(); ++i) {
        VMessage message = queued_[i];
        VaneProcessMessage(instance_.get(), &message);
    }
    queued_.clear();

    while (nextEvent_ < events_.size() && events_[nextEvent_].beforeFrame <= frame) {
        const Event event = events_[nextEvent_++];
        if (event.close) {
            CloseWindow(instance_.get());
            return;  // the quit message that follows ends the dispatching
        }
        VMessage message = event.message;
        sentCodes_.push_back(message.code);
        VaneProcessMessage(instance_.get(), &message);
    }
}

uint32_t VHeadlessPlatform::Now() const {
    if (!options_.realTime) return virtualNow_;
    return options_.startTimeMs + uint32_t((MonotonicNs() - realStartNs_) / 1000000);
}

uint32_t VHeadlessPlatform::GetTime() {
    return Now();
}

void VHeadlessPlatform::Sleep(uint32_t ms) {
    if (options_.recordSleeps) sleeps_.push_back(ms);
    if (options_.realTime) {
        PlatformSleep(ms);
    } else {
        virtualNow_ += ms;
    }
}

void VHeadlessPlatform::Minimize(VPlatformInstance*) {
    ++minimizations_;
    // A minimised window is hidden, which the framework hears as focus state 2.
    VMessage hidden;
    hidden.code = VMSG_ACTIVATE;
    hidden.param1 = 2;
    queued_.push_back(hidden);
}

void VHeadlessPlatform::SetKeepDisplayOn(VPlatformInstance*, bool on) {
    keepDisplayOn_ = on;
}

void VHeadlessPlatform::SetStatusText(VPlatformInstance*, const char16_t* text) {
    statusText_ = text;
}

void VHeadlessPlatform::SizeWindowForDisplay(VPlatformInstance*, uint32_t width, uint32_t height) {
    clientWidth_ = width;
    clientHeight_ = height;
}

bool VHeadlessPlatform::GetClientArea(VPlatformInstance* instance, VPlatformRect* area) {
    if (instance->window == 0 || setup_.windowMode == kWindowModeFullScreen) return false;
    // The picture is the client area itself, so it starts at the origin.
    *area = VPlatformRect{0, 0, int32_t(clientWidth_), int32_t(clientHeight_)};
    return true;
}

void VHeadlessPlatform::GetDesktopSize(uint32_t* width, uint32_t* height) {
    *width = options_.desktopWidth;
    *height = options_.desktopHeight;
}

VPlatformScreen* VHeadlessPlatform::CreateScreen() {
    return new (std::nothrow) VHeadlessScreen(*this);
}
