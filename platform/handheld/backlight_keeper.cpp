#include "platform/handheld/backlight_keeper.h"

namespace {

constexpr uint32_t kNever = 0xFFFFFFFF;  // −1: the backlight never switches off
constexpr uint32_t kSavedLimit = 65535;

uint32_t SavedTimeout(VHandheldDevice& device, const char* value) {
    uint32_t data = kNever;
    if (!device.ReadRegistry(kBacklightKey, value, &data)) data = kNever;
    return data > kSavedLimit ? kSavedLimit : data;
}

uint32_t RestoredTimeout(uint32_t saved) {
    return saved == kSavedLimit ? kNever : saved;
}

}  // namespace

void VBacklightKeeper::Keep(VHandheldDevice& device) {
    if (kept_) return;
    saved_ = SavedTimeout(device, kBacklightAcValue) << 16 |
             SavedTimeout(device, kBacklightBatteryValue);
    device.WriteRegistry(kBacklightKey, kBacklightAcValue, kNever);
    device.WriteRegistry(kBacklightKey, kBacklightBatteryValue, kNever);
    device.SignalNamedEvent(kBacklightChangeEvent);
    kept_ = true;
}

void VBacklightKeeper::Restore(VHandheldDevice& device) {
    if (!kept_) return;
    device.WriteRegistry(kBacklightKey, kBacklightAcValue, RestoredTimeout(saved_ >> 16));
    device.WriteRegistry(kBacklightKey, kBacklightBatteryValue, RestoredTimeout(saved_ & 0xFFFF));
    device.SignalNamedEvent(kBacklightChangeEvent);
    device.ReleasePowerRequirement();
    saved_ = 0;
    kept_ = false;
}
