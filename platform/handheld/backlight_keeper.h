// Keeping the handheld's backlight on: the timeouts in the registry are saved, set to "never"
// and put back afterwards, and the system is told to read them again each time.
#pragma once

#include <cstdint>

#include "platform/handheld/handheld_device.h"

class VBacklightKeeper {
  public:
    // Saves both timeouts (a missing value counts as −1, each limited to 65535), writes −1 to
    // both and signals the change. Nothing when the backlight is kept on already.
    void Keep(VHandheldDevice& device);
    // Writes the saved timeouts back (65535 becomes −1 again), signals the change and lets go
    // of a power requirement. Nothing when the backlight is not kept on.
    void Restore(VHandheldDevice& device);

    bool Kept() const { return kept_; }
    // AC timeout in the high 16 bits, battery timeout in the low 16 bits; 0 when none is saved.
    uint32_t Saved() const { return saved_; }

  private:
    uint32_t saved_ = 0;
    bool kept_ = false;
};
