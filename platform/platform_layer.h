// The interface between the framework and a platform layer.
//
// A platform layer (headless, desktop, handheld, ...) owns the process entry, the window, the
// message loop, the clock and the screen. It drives the framework through one function,
// VaneProcessMessage (framework/messages.h), and the framework calls back into it through the
// operations below. Each layer is one folder under platform/ implementing VPlatformLayer (on the
// shared loop of platform/shared/) and VPlatformScreen; the framework includes only this header.
#pragma once

#include <cstddef>
#include <cstdint>

class VPlatformScreen;

// What the framework's configuration step asks of the window (filled before it exists).
struct VWindowSetup {
    uint32_t icon = 0;       // icon resource id; 0 = the system's application icon
    uint32_t menu = 0;       // menu resource id; 0 = none
    uint32_t dialog = 0;     // dialog template id; 0 = a normal window
    char caption[128] = {};  // UTF-8, cut at a character boundary to fit
    uint32_t width = 0;      // client size
    uint32_t height = 0;
    uint8_t windowMode = 0;           // 0 windowed, 2 full screen
    uint8_t platformOrientation = 0;  // 0 from orientation 6/7, 1 portrait, 2 landscape, 3 fixed
    uint8_t skipSingleInstanceCheck = 0;
    uint8_t statusLine = 0;  // show the status line under the display
    uint8_t optionA = 0;     // platform options copied from VAppSettings
    uint8_t optionB = 0;
    uint8_t cursorShown = 0;  // the mouse cursor stays visible
};

constexpr uint8_t kWindowModeWindowed = 0;
constexpr uint8_t kWindowModeFullScreen = 2;

// Results of VPlatformLayer::CreateMainWindow.
constexpr uint32_t kWindowCreated = 0;
constexpr uint32_t kWindowOtherInstance = 1;  // another instance was brought to the front
constexpr uint32_t kWindowFailed = 3;

// Results of VPlatformScreen::Open.
constexpr uint32_t kScreenOpened = 0;
constexpr uint32_t kScreenOutOfMemory = 1;
constexpr uint32_t kScreenMethodUnsupported = 2;
constexpr uint32_t kScreenCallFailed = 3;
constexpr uint32_t kScreenLibraryMissing = 4;

// Answers of VPlatformLayer::ConsoleButtonClicked.
constexpr uint32_t kConsoleButtonNotClicked = 0;
constexpr uint32_t kConsoleButtonChecked = 2;
constexpr uint32_t kConsoleButtonUnchecked = 3;

// The framework identifier a platform instance carries and VMSG_VERSION answers.
constexpr uint32_t kFrameworkIdentifier = 0x10205D9D;

constexpr size_t kPlatformTextCapacity = 4096;  // wide characters (8192 bytes)
constexpr size_t kApplicationSlots = 16;

class VPlatformLayer;

// Defaults of the application's settings that depend on the kind of device: a handheld runs
// full screen and minimises when it loses the focus; a desktop does neither.
struct VPlatformDefaults {
    uint8_t fullScreen = 0;
    uint8_t minimizeWhenInactive = 0;
};

// One per process, created by the platform's entry and handed to every framework message.
struct VPlatformInstance {
    VPlatformLayer* layer = nullptr;  // the operations of the platform that owns this instance
    uintptr_t instanceHandle = 0;     // identifies the program's resource module
    uintptr_t window = 0;             // main window; 0 when none exists
    uint32_t destroying = 0;          // set by the main loop before it destroys the window
    VWindowSetup setup;               // copy of the framework's request
    char16_t commandLine[kPlatformTextCapacity] = {};
    char16_t errorText[kPlatformTextCapacity] = {};  // shown by the entry when not empty
    void* applicationSlots[kApplicationSlots] = {};  // slot 0 holds the application object
    uint32_t frameworkIdentifier = kFrameworkIdentifier;
    uint32_t exitCode = 0;      // returned to the operating system
    uint8_t running = 0;        // the main loop runs while set
    uint8_t keepDisplayOn = 0;  // the framework's last request
};

// Quit: the main loop ends after its current pass.
inline void PlatformQuit(VPlatformInstance* instance) {
    instance->running = 0;
}
inline void PlatformSetExitCode(VPlatformInstance* instance, uint32_t code) {
    instance->exitCode = code;
}
// Copies a terminated wide text into the instance's error text, cut to fit.
inline void PlatformSetErrorText(VPlatformInstance* instance, const char16_t* text) {
    size_t n = 0;
    while (text != nullptr && text[n] != 0 && n + 1 < kPlatformTextCapacity) {
        instance->errorText[n] = text[n];
        ++n;
    }
    instance->errorText[n] = 0;
}

// A client area or rectangle in desktop pixels; right and bottom exclusive.
struct VPlatformRect {
    int32_t left, top, right, bottom;
};

// One way a layer reaches the screen: the method code handed to VPlatformScreen::Open, and
// whether the display keeps its buffer in the screen's format as a platform surface
// (VSURFACE_VIDEO) when the screen was opened this way.
struct VScreenMethod {
    uint8_t code = 1;
    bool platformBuffers = true;
};
constexpr uint32_t kMaxScreenMethods = 4;

// The operations of a platform layer. All are called on the one thread that runs the message
// loop. The window, the loop, the clock, the desktop size and the screen are each layer's own;
// the other services have a default that serves a layer without them (no status line, no
// console button, no dialogs, nothing to minimise or keep awake). platform/shared/ holds the loop
// and the exit sequence every layer shares.
class VPlatformLayer {
  public:
    virtual ~VPlatformLayer() = default;

    // Creates the window (or dialog) described by setup and, once it exists, sends
    // VMSG_DISPLAYSTART, which runs the whole program. Returns kWindowCreated,
    // kWindowOtherInstance or kWindowFailed.
    virtual uint32_t CreateMainWindow(VPlatformInstance* instance, const VWindowSetup& setup) = 0;
    // Sets running and loops: VMSG_FRAME, then every pending platform message; when running
    // is clear the window is destroyed (sending VMSG_STOP) and the loop ends with
    // VMSG_LOOPEND.
    virtual void RunMainLoop(VPlatformInstance* instance) = 0;
    // The desktop (current screen mode) size, for the window-fits check.
    virtual void GetDesktopSize(uint32_t* width, uint32_t* height) = 0;
    // Milliseconds as an unsigned 32-bit counter that may wrap.
    virtual uint32_t GetTime() = 0;
    // Gives up the processor for ms milliseconds; 0 gives up the rest of the time slice.
    virtual void Sleep(uint32_t ms) = 0;
    // A new screen service, owned by the caller (delete it); null when out of memory.
    virtual VPlatformScreen* CreateScreen() = 0;
    // The screen access methods the display tries, in order, for the configured preference
    // (the display-method setting); fills methods (kMaxScreenMethods places) and returns how
    // many. A layer with one way to the screen keeps the default: method 1.
    virtual uint32_t ScreenMethods(uint8_t /*preference*/, VScreenMethod* methods) {
        methods[0] = VScreenMethod{};
        return 1;
    }

    virtual void Minimize(VPlatformInstance*) {}
    // The framework keeps its request in the instance; a layer that can keep the screen awake
    // acts on it here.
    virtual void SetKeepDisplayOn(VPlatformInstance*, bool /*on*/) {}
    // Texts of any length, terminated.
    virtual void SetStatusText(VPlatformInstance*, const char16_t* /*text*/) {}
    // Sizes a windowed display so that its client area is width × height, centred.
    virtual void SizeWindowForDisplay(VPlatformInstance*, uint32_t /*width*/, uint32_t /*height*/) {
    }
    // The client area in desktop coordinates; false in full screen or without a window (the
    // present then writes the screen from its origin).
    virtual bool GetClientArea(VPlatformInstance*, VPlatformRect* /*area*/) { return false; }
    virtual void SetConsoleButton(VPlatformInstance*, bool /*checked*/) {}
    // Whether a raw window message is a click on the console button (kConsoleButton...).
    virtual uint32_t ConsoleButtonClicked(VPlatformInstance*, uint32_t /*raw*/, uintptr_t,
                                          uintptr_t) {
        return kConsoleButtonNotClicked;
    }
    // Whether a raw window message is the platform's dialog initialisation message.
    virtual bool IsDialogInitMessage(uint32_t /*raw*/) { return false; }
    // Settings defaults of this kind of device, applied before the application's callbacks.
    virtual VPlatformDefaults Defaults() { return VPlatformDefaults{}; }
};

// The screen's pixel layout as the platform reports it once open.
struct VScreenMode {
    uint32_t bitsPerPixel = 0;                         // 8, 16, 24 or 32
    uint8_t redBits = 0, greenBits = 0, blueBits = 0;  // 0 for a palette screen
    uint32_t width = 0, height = 0;                    // physical size
    int32_t xStep = 0, yStep = 0;  // bytes between horizontal / vertical neighbours
};

// Where a locked screen's memory lies.
struct VScreenLock {
    uint8_t* address = nullptr;
    int32_t pitch = 0;
    uint32_t bytesPerPixel = 0;
};

// Access to the physical screen.
class VPlatformScreen {
  public:
    virtual ~VPlatformScreen() = default;

    // Opens the screen with the given access method (1 on a layer with a single method).
    // Returns kScreenOpened or one of the kScreen... failures.
    virtual uint32_t Open(uint32_t method, uintptr_t window, uint32_t bitsPerPixel, uint32_t width,
                          uint32_t height, bool fullScreen, bool menuShown) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    virtual VScreenMode Mode() const = 0;
    // False when the screen cannot be reached this frame; the frame is then skipped.
    virtual bool Lock(VScreenLock* lock) = 0;
    virtual void Unlock() = 0;

    // The services below have a default for a screen without them: upright, no vertical blank
    // to wait for, nothing to do on suspend and resume.
    // The native orientation of the screen, 0 to 3 (quarter turns).
    virtual uint8_t NativeOrientation() const { return 0; }
    virtual void WaitVerticalBlank() {}
    virtual void Suspend() {}
    virtual void Resume() {}
    // The display's 256 colours (colour values, red in bits 0-7) that an 8-bit screen shows its
    // indices through. A screen that keeps indices as they are (headless) has no use for them.
    virtual void SetPalette(const uint32_t* /*colours*/) {}
};
