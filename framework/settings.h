// The two configuration records an application fills in OnConfigure and OnConfigureDisplay.
// Every default is the initialiser of its field; the configuration step resets both records
// to these values, applies the platform's own defaults (VPlatformDefaults) and then calls the
// application.
#pragma once

#include <cstdint>

// Bits of VAppSettings::flags.
constexpr uint32_t kFlagNoAutoPresent = 1u << 0;      // the application presents itself
constexpr uint32_t kFlagWaitVerticalBlank = 1u << 2;  // wait for the vertical blank first
constexpr uint32_t kFlagPresentAfterOpen = 1u << 4;   // present once when the display opens
constexpr uint32_t kFlagNoDefaultTilt = 1u << 5;      // keep the tilt configuration unset
constexpr uint32_t kFlagIgnoreRepaint = 1u << 23;     // ignore the platform's repaint requests

constexpr uint32_t kMaxConnections = 16;

// Framework configuration.
struct VAppSettings {
    uint32_t fastForwardKey = 0;  // held: the frame clock runs at 2500 per mille; 0 = none
    uint32_t slowMotionKey = 0;   // held: 400 per mille (wins over fast forward); 0 = none
    uint32_t fpslimit = 60;       // frame-rate limit; 0 = none; 1 to 4 are refused
    uint32_t flags = 0;           // kFlag... bits
    uint8_t connectionSlots = 1;  // ClassVConnection objects to create, cut to 16
    uint8_t sleepAtLeast1ms = 1;  // the frame limiter never sleeps 0 ms
    // Losing focus suspends and minimises; the platform may change the default (handheld: 1).
    uint8_t minimizeWhenInactive = 0;
    uint8_t reserved1 = 0;
    uint8_t suspendWhenInactive = 1;  // while inactive: no frames, display suspended
    uint8_t keepDisplayOn = 1;        // while running, keep the screen from switching off
    uint8_t reserved2 = 0;
    uint8_t platformOptionA = 1;  // copied to VWindowSetup
    uint8_t platformOptionB = 0;
};

constexpr uint32_t kCaptionCapacity = 256;  // wide characters, terminator included

// Display configuration.
struct VScreenSettings {
    char16_t caption[kCaptionCapacity] = u"VANELIB Application";
    uint32_t icon = 0;     // resource id of the window icon; 0 = the system's
    uint32_t menu = 0;     // resource id of a window menu; 0 = none
    uint32_t dialog = 0;   // resource id of a dialog template; 0 = a window
    uint32_t width = 240;  // logical display size
    uint32_t height = 320;
    int32_t dialogX = 0;  // display area inside the dialog (dialog mode only)
    int32_t dialogY = 0;
    uint8_t displayMode = 32;   // screen pixel format 1 to 6; 32 = the framework's choice (565)
    uint8_t bufferFormat = 32;  // back buffer format; 32 = as the screen; 3 → 4, 5 → 6
    uint8_t orientation = 0;    // 0 to 7
    uint8_t displayMethod = 0;  // preferred screen access method on the handheld
    uint8_t bufferMemory = 1;   // low 4 bits: memory kind of the back buffer
    uint8_t fullScreen = 0;     // the platform may change the default (handheld: 1)
    uint8_t cursorInFullScreen = 0;
    uint8_t acceleratedBlits = 1;
    uint8_t statusBar = 1;     // windowed desktop only
    uint8_t console = 0;       // windowed only: open the console window at start
    uint8_t nativeLayout = 1;  // surfaces may follow the screen's own memory layout
};
