#include "platform/handheld/sim/sim_device.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "graphics2d/pixel_format.h"
#include "platform/shared/platform_loop.h"

namespace {

constexpr uintptr_t kWindowHandle = 0x5000;
constexpr uint32_t kPowerStateOn = 0x10000;
constexpr uint32_t kPowerStateSuspend = 0x200000;

VSimDevice* current = nullptr;

uint64_t MonotonicMs() {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

std::string RegistryPath(const char* key, const char* value) {
    return std::string(key) + "\\" + value;
}

// 5-6-5 to the panel's 4-4-4, keeping the high bits of each channel.
uint16_t To444(uint16_t pixel) {
    return uint16_t((pixel >> 12 & 0xF) << 8 | (pixel >> 7 & 0xF) << 4 | (pixel >> 1 & 0xF));
}

}  // namespace

VSimDevice::VSimDevice(VSimOptions options) : options_(std::move(options)) {
    current = this;
    const VSimProfile& p = options_.profile;
    panel_.assign(size_t(p.width) * p.height * 2, 0);
    const int32_t row = int32_t(p.width) * 2;
    switch (p.layout) {
        case VSimLayout::Rows:
            xStride_ = 2;
            yStride_ = row;
            originOffset_ = 0;
            break;
        case VSimLayout::BottomUp:
            xStride_ = 2;
            yStride_ = -row;
            originOffset_ = int64_t(p.height - 1) * row;
            break;
        case VSimLayout::Columns:
            // The panel's lines run down the screen, the last line at the left.
            xStride_ = -int32_t(p.height) * 2;
            yStride_ = 2;
            originOffset_ = int64_t(p.width - 1) * p.height * 2;
            break;
    }
    realStartMs_ = MonotonicMs();
    LoadRegistry();
}

VSimDevice::~VSimDevice() {
    if (current == this) current = nullptr;
}

VSimDevice* VSimDevice::Current() {
    return current;
}

uint32_t VSimDevice::Now() const {
    if (!options_.realTime) return virtualNow_;
    return uint32_t(MonotonicMs() - realStartMs_);
}

void VSimDevice::Sleep(uint32_t ms) {
    if (options_.realTime) {
        PlatformSleep(ms);
    } else {
        virtualNow_ += ms;
    }
}

void VSimDevice::Queue(uint32_t message, uintptr_t wParam, uintptr_t lParam) {
    if (window_ == 0) return;
    VDeviceMessage m;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    messages_.push_back(m);
}

void VSimDevice::SetPower(bool on) {
    powerOn_ = on;
}

uint32_t VSimDevice::PowerFlags() const {
    return powerOn_ ? kPowerStateOn : kPowerStateSuspend;
}

void VSimDevice::PressKey(uint32_t key, bool down, bool repeat) {
    const bool button = key >= kDeviceFirstButton && key <= kDeviceLastButton;
    if (button && !Registered(key) && !gameInputOpen_) {
        if (down) ++counters_.buttonsToShell;
        return;
    }
    const uintptr_t lParam = (repeat ? kDeviceKeyRepeatBit : 0) | (down ? 0 : 0xC0000000u);
    Queue(down ? kDeviceWmKeyDown : kDeviceWmKeyUp, key, lParam);
}

void VSimDevice::Tilt(int32_t x, int32_t y) {
    const uint32_t low = uint32_t(32768 + x) & 0xFFFF;
    const uint32_t high = uint32_t(32768 - y) & 0xFFFF;
    Queue(kDeviceWmTilt, high << 16 | low, 0);
}

void VSimDevice::Rotate(uint32_t degrees) {
    angle_ = degrees % 360;
    Queue(kDeviceWmSettingChange, kDeviceSettingChangeAngle, 0);
}

void VSimDevice::Pen(uint32_t message, int32_t x, int32_t y) {
    Queue(message, 0, (uint32_t(y) & 0xFFFF) << 16 | (uint32_t(x) & 0xFFFF));
}

void VSimDevice::Activate(bool active) {
    if (active) minimized_ = false;
    Queue(kDeviceWmActivate, active ? 1 : kDeviceWaInactive, 0);
}

void VSimDevice::Close() {
    Queue(kDeviceWmClose, 0, 0);
}

void VSimDevice::SystemMenuClose() {
    Queue(kDeviceWmSysCommand, kDeviceScClose, 0);
}

int64_t VSimDevice::PixelOffset(uint32_t x, uint32_t y) const {
    return originOffset_ + int64_t(x) * xStride_ + int64_t(y) * yStride_;
}

std::vector<uint16_t> VSimDevice::ScreenPixels() const {
    const VSimProfile& p = options_.profile;
    std::vector<uint16_t> pixels(size_t(p.width) * p.height);
    for (uint32_t y = 0; y < p.height; ++y) {
        for (uint32_t x = 0; x < p.width; ++x) {
            const uint8_t* at = panel_.data() + PixelOffset(x, y);
            pixels[size_t(y) * p.width + x] = uint16_t(at[0] | at[1] << 8);
        }
    }
    return pixels;
}

void VSimDevice::DirectDrawPresent(const std::vector<uint16_t>& primary) {
    const VSimProfile& p = options_.profile;
    for (uint32_t y = 0; y < p.height; ++y) {
        for (uint32_t x = 0; x < p.width; ++x) {
            uint16_t pixel = primary[size_t(y) * p.width + x];
            if (p.format == VPIXELFORMAT_444) pixel = To444(pixel);
            uint8_t* at = panel_.data() + PixelOffset(x, y);
            at[0] = uint8_t(pixel);
            at[1] = uint8_t(pixel >> 8);
        }
    }
}

bool VSimDevice::GameOpenDisplay(uintptr_t window) {
    if (window == 0 || window != window_) return false;
    ++counters_.gameDisplayOpens;
    return true;
}

VGameDisplayProperties VSimDevice::GameProperties() const {
    const VSimProfile& p = options_.profile;
    VGameDisplayProperties properties;
    properties.width = p.width;
    properties.height = p.height;
    properties.xPitch = xStride_;
    properties.yPitch = yStride_;
    properties.bitsPerPixel = 16;
    properties.format = p.format == VPIXELFORMAT_444 ? kGameFormat444 : kGameFormat565;
    return properties;
}

void VSimDevice::GameViewport(uint32_t top, uint32_t height) {
    counters_.viewportTop = top;
    counters_.viewportHeight = height;
}

uintptr_t VSimDevice::FindWindow(const char* className, const char* caption) {
    if (options_.runningWindow.empty()) return 0;
    return options_.runningWindow == std::string(className) + "\n" + caption ? kWindowHandle + 1
                                                                             : 0;
}

void VSimDevice::BringToFront(uintptr_t) {}

uintptr_t VSimDevice::CreateWindow(const char*, const char*, int32_t x, int32_t y, int32_t width,
                                   int32_t height, bool) {
    if (window_ != 0 || width <= 0 || height <= 0) return 0;
    window_ = kWindowHandle;
    MoveWindow(window_, x, y, width, height);
    // A new window comes to the front.
    Activate(true);
    return window_;
}

void VSimDevice::DestroyWindow(uintptr_t window) {
    if (window != window_) return;
    window_ = 0;
    messages_.clear();
}

void VSimDevice::MoveWindow(uintptr_t window, int32_t x, int32_t y, int32_t width, int32_t height) {
    if (window != window_) return;
    windowRect_[0] = x;
    windowRect_[1] = y;
    windowRect_[2] = x + width;
    windowRect_[3] = y + height;
}

void VSimDevice::MinimizeWindow(uintptr_t window) {
    if (window != window_ || minimized_) return;
    minimized_ = true;
    ++counters_.minimized;
}

void VSimDevice::WindowRect(uintptr_t, int32_t* left, int32_t* top, int32_t* right,
                            int32_t* bottom) {
    *left = windowRect_[0];
    *top = windowRect_[1];
    *right = windowRect_[2];
    *bottom = windowRect_[3];
}

bool VSimDevice::NextMessage(uintptr_t window, VDeviceMessage* message) {
    if (window != window_) return false;
    if (messages_.empty() && !passScriptRan_) {
        passScriptRan_ = true;
        if (options_.onPass) options_.onPass(*this, passes_);
    }
    if (messages_.empty() || window_ == 0) {
        ++passes_;
        passScriptRan_ = false;
        return false;
    }
    *message = messages_.front();
    messages_.pop_front();
    return true;
}

void VSimDevice::ScreenSize(uint32_t* width, uint32_t* height) {
    const VSimProfile& p = options_.profile;
    const bool turned = angle_ == 90 || angle_ == 270;
    *width = turned ? p.height : p.width;
    *height = turned ? p.width : p.height;
}

void VSimDevice::ShowMessageBox(const char* text, const char* caption) {
    counters_.messageBoxes.push_back(std::string(caption) + ": " + text);
    std::fprintf(stderr, "%s: %s\n", caption, text);
}

void VSimDevice::ShellFullScreen(uintptr_t) {
    ++counters_.shellFullScreen;
}

void VSimDevice::ShellRegisterKey(uintptr_t window, uint32_t key, bool registered) {
    if (window != window_) return;
    if (registered) {
        registeredKeys_.insert(key);
    } else {
        registeredKeys_.erase(key);
    }
}

int32_t VSimDevice::Escape(uintptr_t context, int32_t code, void* out, uint32_t outSize) {
    if (context == 0 || code != kDeviceEscapeRawFrameBuffer || !options_.profile.rawFrameBuffer ||
        out == nullptr || outSize < sizeof(VRawFrameBufferRecord)) {
        return 0;
    }
    VRawFrameBufferRecord record;
    record.format = options_.profile.format == VPIXELFORMAT_444 ? 0 : 1;
    record.bitsPerPixel = 16;
    record.frameBuffer = PanelOrigin();
    record.xStride = xStride_;
    record.yStride = yStride_;
    record.width = int32_t(options_.profile.width);
    record.height = int32_t(options_.profile.height);
    *static_cast<VRawFrameBufferRecord*>(out) = record;
    return 1;
}

bool VSimDevice::ProgramHasResource(const char* name, const char* type) {
    return options_.highResolutionAware && std::string(name) == "HI_RES_AWARE" &&
           std::string(type) == "CEUX";
}

bool VSimDevice::ReadRegistry(const char* key, const char* value, uint32_t* data) {
    const auto found = registry_.find(RegistryPath(key, value));
    if (found == registry_.end()) return false;
    *data = found->second;
    return true;
}

void VSimDevice::WriteRegistry(const char* key, const char* value, uint32_t data) {
    SetRegistry(RegistryPath(key, value), data);
}

void VSimDevice::SetRegistry(const std::string& path, uint32_t data) {
    registry_[path] = data;
    SaveRegistry();
}

void VSimDevice::EraseRegistry(const std::string& path) {
    registry_.erase(path);
    SaveRegistry();
}

void VSimDevice::SignalNamedEvent(const char* name) {
    counters_.signalledEvents.push_back(name);
}

void VSimDevice::LoadRegistry() {
    registry_.clear();
    if (options_.registryFile.empty()) return;
    std::ifstream in(options_.registryFile);
    if (!in) {
        // A device fresh from the factory: the backlight goes off after a minute on mains
        // power and after half a minute on battery.
        registry_[RegistryPath(kBacklightKey, kBacklightAcValue)] = 60;
        registry_[RegistryPath(kBacklightKey, kBacklightBatteryValue)] = 30;
        SaveRegistry();
        return;
    }
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string path;
        uint64_t data = 0;
        if (fields >> path >> data && data <= 0xFFFFFFFFu) registry_[path] = uint32_t(data);
    }
}

void VSimDevice::SaveRegistry() const {
    if (options_.registryFile.empty()) return;
    std::ofstream out(options_.registryFile, std::ios::trunc);
    for (const auto& [path, data] : registry_) out << path << ' ' << data << '\n';
}
