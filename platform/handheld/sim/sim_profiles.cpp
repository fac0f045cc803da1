#include "platform/handheld/sim/sim_profiles.h"

#include "graphics2d/pixel_format.h"

const std::vector<VSimProfile>& SimProfiles() {
    static const std::vector<VSimProfile> profiles{
        {"pocketpc", "240 x 320 portrait, 5-6-5, rows from the top, GAPI, DirectDraw, raw buffer",
         240, 320, VPIXELFORMAT_565, VSimLayout::Rows, true, true, true},
        {"landscape444",
         "320 x 240 landscape-native, 4-4-4, scanned in columns (negative x stride), all libraries",
         320, 240, VPIXELFORMAT_444, VSimLayout::Columns, true, true, true},
        {"bottomup", "240 x 320 portrait, 5-6-5, rows from the bottom (negative y stride)", 240,
         320, VPIXELFORMAT_565, VSimLayout::BottomUp, true, true, true},
        {"nogapi", "240 x 320 portrait, 5-6-5, without gx.dll", 240, 320, VPIXELFORMAT_565,
         VSimLayout::Rows, false, true, true},
        {"noddraw", "240 x 320 portrait, 5-6-5, without ddraw.dll", 240, 320, VPIXELFORMAT_565,
         VSimLayout::Rows, true, false, true},
        {"norawbuffer", "240 x 320 portrait, 5-6-5, a driver without the raw frame buffer", 240,
         320, VPIXELFORMAT_565, VSimLayout::Rows, true, true, false},
        {"bare", "240 x 320 portrait, 5-6-5, none of the three ways to the screen", 240, 320,
         VPIXELFORMAT_565, VSimLayout::Rows, false, false, false},
    };
    return profiles;
}

const VSimProfile* FindSimProfile(const std::string& name) {
    for (const VSimProfile& profile : SimProfiles()) {
        if (name == profile.name) return &profile;
    }
    return nullptr;
}
