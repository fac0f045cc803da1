// The simulated handhelds: screen size and orientation, pixel format, how the raw frame
// buffer's memory is laid out, and which libraries and services the device has.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// How the display driver reports the frame buffer's memory.
enum class VSimLayout : uint8_t {
    Rows,      // row after row from the top left: x stride 2, y stride one row
    BottomUp,  // rows from the bottom: negative y stride
    Columns,   // a panel scanned across the screen: negative x stride of one column, y stride 2
};

struct VSimProfile {
    const char* name;
    const char* description;
    uint32_t width, height;  // the screen at angle 0
    uint8_t format;          // VPIXELFORMAT_565 or VPIXELFORMAT_444
    VSimLayout layout;
    bool gameInterface;   // "gx.dll"
    bool directDraw;      // "ddraw.dll"
    bool rawFrameBuffer;  // the display driver answers the escape
};

// Every profile, the first being the default.
const std::vector<VSimProfile>& SimProfiles();
// The profile of that name; null when there is none.
const VSimProfile* FindSimProfile(const std::string& name);
