#include "platform/headless/headless_platform.h"

#include <algorithm>
#include <chrono>
#include <new>
#include <thread>

#include "platform/headless/headless_screen.h"
#include "platform/resources.h"

namespace {

// The one window's handle; any non-zero value would do.
constexpr uintptr_t kWindowHandle = 0x57494E;

uint64_t MonotonicNs() {
    return uint64_t(std::chrono::duration_cast<std::chrono::nanoseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count());
}

// UTF-8 for the error stream.
std::string Utf8(const char16_t* text) {
    std::string out;
    for (size_t i = 0; text[i] != 0; ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
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

    Send(VMSG_CREATE, instance_->instanceHandle);
    Send(VMSG_DESTROY);
    // The process would end here and take a surviving window with it.
    instance_->window = 0;
    WriteErrorText();
    return instance_->exitCode;
}

bool VHeadlessPlatform::Send(uint32_t code, uintptr_t param1, uintptr_t param2, uintptr_t param3) {
    if (code != VMSG_FRAME) sentCodes_.push_back(code);
    return VaneSendMessage(instance_.get(), code, param1, param2, param3);
}

void VHeadlessPlatform::WriteErrorText() const {
    if (options_.errorStream == nullptr || instance_->errorText[0] == 0) return;
    std::fprintf(options_.errorStream, "Application error: %s\n",
                 Utf8(instance_->errorText).c_str());
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
    Send(VMSG_DISPLAYSTART);
    return kWindowCreated;
}

void VHeadlessPlatform::RunMainLoop(VPlatformInstance* instance) {
    instance->running = 1;
    DispatchPending(0);
    for (;;) {
        if (instance->window != 0) {
            Send(VMSG_FRAME);
            ++framesSent_;
            const uint32_t cost =
                options_.frameCost ? options_.frameCost(framesSent_ - 1) : options_.frameCostMs;
            if (!options_.realTime) virtualNow_ += cost;
            if (options_.frameBudget != 0 && framesSent_ >= options_.frameBudget) {
                PlatformQuit(instance);
            }
            DispatchPending(framesSent_);
        }
        if (!instance->running) {
            if (instance->window != 0) {
                instance->destroying = 1;
                DestroyWindow();
            }
            if (!instance->running) break;
        }
    }
    Send(VMSG_LOOPEND);
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
            CloseWindow();
            return;  // the quit message that follows ends the dispatching
        }
        VMessage message = event.message;
        sentCodes_.push_back(message.code);
        VaneProcessMessage(instance_.get(), &message);
    }
}

void VHeadlessPlatform::CloseWindow() {
    if (instance_->window == 0) return;
    // The close command: Quit, then the window's destruction outside the main loop.
    PlatformQuit(instance_.get());
    DestroyWindow();
}

void VHeadlessPlatform::DestroyWindow() {
    VPlatformInstance* instance = instance_.get();
    Send(VMSG_STOP);
    if (instance->destroying) {
        instance->window = 0;
        return;
    }
    // Destroyed by something other than the main loop: the program ends at once.
    instance->window = 0;
    instance->running = 0;
    Send(VMSG_DESTROY);
}

uint32_t VHeadlessPlatform::Now() const {
    if (!options_.realTime) return virtualNow_;
    return options_.startTimeMs + uint32_t((MonotonicNs() - realStartNs_) / 1000000);
}

uint32_t VHeadlessPlatform::GetTime() {
    return Now();
}

void VHeadlessPlatform::Sleep(uint32_t ms) {
    sleeps_.push_back(ms);
    if (!options_.realTime) {
        virtualNow_ += ms;
        return;
    }
    if (ms == 0) {
        std::this_thread::yield();
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
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

void VHeadlessPlatform::SetConsoleButton(VPlatformInstance*, bool checked) {
    consoleButton_ = checked;
}

uint32_t VHeadlessPlatform::ConsoleButtonClicked(VPlatformInstance*, uint32_t, uintptr_t,
                                                 uintptr_t) {
    return kConsoleButtonNotClicked;  // there is no status line to click
}

bool VHeadlessPlatform::IsDialogInitMessage(uint32_t) {
    return false;  // the headless layer never runs a dialog
}

void VHeadlessPlatform::GetDesktopSize(uint32_t* width, uint32_t* height) {
    *width = options_.desktopWidth;
    *height = options_.desktopHeight;
}

VPlatformScreen* VHeadlessPlatform::CreateScreen() {
    return new (std::nothrow) VHeadlessScreen(*this);
}
