// The simulated device's libraries: the entry points a program finds by name, as plain
// functions that reach the one simulated device.
#include <cstring>
#include <string>
#include <vector>

#include "platform/handheld/sim/sim_device.h"

namespace {

constexpr uintptr_t kNoLibrary = 0, kGameLibrary = 1, kDirectDrawLib = 2, kCoreLib = 3,
                    kShellLib = 4;

VSimDevice& Device() {
    return *VSimDevice::Current();
}

int GameOpenDisplay(uintptr_t window, uint32_t) {
    return Device().GameOpenDisplay(window) ? 1 : 0;
}
int GameCloseDisplay() {
    return 1;
}
VGameDisplayProperties GameGetDisplayProperties() {
    return Device().GameProperties();
}
void* GameBeginDraw() {
    return Device().PanelOrigin();
}
int GameEndDraw() {
    Device().GameEndDraw();
    return 1;
}
int GameSuspend() {
    return 1;
}
int GameResume() {
    return 1;
}
int GameSetViewport(uint32_t top, uint32_t height, uint32_t, uint32_t) {
    Device().GameViewport(top, height);
    return 1;
}
int GameOpenInput() {
    Device().GameInput(true);
    return 1;
}
int GameCloseInput() {
    Device().GameInput(false);
    return 1;
}

// DirectDraw with a 5-6-5 primary of plain rows at the screen's size; the driver writes it to
// the panel on unlock.
class SimDirectDraw final : public VDeviceDirectDraw {
  public:
    int SetCooperativeLevel(uintptr_t window, bool) override { return window != 0 ? 0 : -1; }
    int SetDisplayMode(uint32_t width, uint32_t height, uint32_t bits) override {
        const VSimProfile& p = Device().Profile();
        return width <= p.width && height <= p.height && bits == 16 ? 0 : -1;
    }
    int CreatePrimary() override {
        const VSimProfile& p = Device().Profile();
        primary_.assign(size_t(p.width) * p.height, 0);
        return 0;
    }
    int PrimaryFormat(uint32_t* bits, uint32_t* greenMask) override {
        *bits = 16;
        *greenMask = 0x7E0;
        return 0;
    }
    int PrimaryLayout(uint32_t* width, uint32_t* height, int32_t* pitch) override {
        const VSimProfile& p = Device().Profile();
        *width = p.width;
        *height = p.height;
        *pitch = int32_t(p.width * 2);
        return 0;
    }
    int Lock(uint8_t** address, int32_t* pitch) override {
        if (primary_.empty()) return -1;
        *address = reinterpret_cast<uint8_t*>(primary_.data());
        *pitch = int32_t(Device().Profile().width * 2);
        return 0;
    }
    void Unlock() override {
        Device().DirectDrawPresent(primary_);
        Device().DirectDrawUnlocked();
    }
    void Restore() override {}
    void WaitForVerticalBlank() override {}
    void Release() override { delete this; }

  private:
    std::vector<uint16_t> primary_;
};

int DirectDrawCreate(VDeviceDirectDraw** object) {
    *object = new SimDirectDraw();
    return 0;
}

uint32_t GetSystemPowerState(char16_t*, uint32_t, uint32_t* flags) {
    *flags = Device().PowerFlags();
    return 0;
}

void ShellIdleTimerReset() {
    Device().ShellIdleTimerReset();
}

struct Entry {
    uintptr_t library;
    const char* name;
    void* function;
};

template <class Function>
void* Address(Function function) {
    return reinterpret_cast<void*>(function);
}

const std::vector<Entry>& Entries() {
    static const std::vector<Entry> entries{
        {kGameLibrary, kGameOpenDisplayName, Address(&GameOpenDisplay)},
        {kGameLibrary, kGameCloseDisplayName, Address(&GameCloseDisplay)},
        {kGameLibrary, kGameGetDisplayPropertiesName, Address(&GameGetDisplayProperties)},
        {kGameLibrary, kGameBeginDrawName, Address(&GameBeginDraw)},
        {kGameLibrary, kGameEndDrawName, Address(&GameEndDraw)},
        {kGameLibrary, kGameSuspendName, Address(&GameSuspend)},
        {kGameLibrary, kGameResumeName, Address(&GameResume)},
        {kGameLibrary, kGameSetViewportName, Address(&GameSetViewport)},
        {kGameLibrary, kGameOpenInputName, Address(&GameOpenInput)},
        {kGameLibrary, kGameCloseInputName, Address(&GameCloseInput)},
        {kDirectDrawLib, kDirectDrawCreateName, Address(&DirectDrawCreate)},
        {kCoreLib, kGetSystemPowerStateName, Address(&GetSystemPowerState)},
        {kShellLib, kShellIdleTimerResetName, Address(&ShellIdleTimerReset)},
    };
    return entries;
}

}  // namespace

uintptr_t VSimDevice::LoadLibrary(const char* name) {
    const std::string library(name);
    if (library == kGameInterfaceLibrary) return options_.profile.gameInterface ? kGameLibrary : 0;
    if (library == kDirectDrawLibrary) return options_.profile.directDraw ? kDirectDrawLib : 0;
    if (library == kCoreLibrary) return kCoreLib;
    if (library == kShellLibrary) return kShellLib;
    return kNoLibrary;
}

void* VSimDevice::FindEntry(uintptr_t library, const char* name) {
    if (options_.missingEntries.count(name) != 0) return nullptr;
    for (const Entry& entry : Entries()) {
        if (entry.library == library && std::strcmp(entry.name, name) == 0) return entry.function;
    }
    return nullptr;
}

void VSimDevice::FreeLibrary(uintptr_t) {}
