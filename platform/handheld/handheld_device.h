// The services of a Windows CE handheld that the handheld layer uses, as one small interface.
//
// The layer's logic (window modes, the power-aware loop, keeping the backlight on, buttons,
// message translation, the three ways to the screen) is written against this interface only.
// On a device each call is one system call; platform/handheld/sim/ implements it as a
// simulated device on Linux. Libraries are loaded by name and their entry points looked up by
// name, as on the device, so that a device without one of them still runs the program.
#pragma once

#include <cstdint>

// A raw window message as the device's window system delivers it.
struct VDeviceMessage {
    uint32_t message = 0;
    uintptr_t wParam = 0;
    uintptr_t lParam = 0;
};

// Window messages the layer handles, by their system numbers.
constexpr uint32_t kDeviceWmDestroy = 0x0002;
constexpr uint32_t kDeviceWmActivate = 0x0006;
constexpr uint32_t kDeviceWmKillFocus = 0x0008;
constexpr uint32_t kDeviceWmPaint = 0x000F;
constexpr uint32_t kDeviceWmClose = 0x0010;
constexpr uint32_t kDeviceWmSettingChange = 0x001A;
constexpr uint32_t kDeviceWmKeyDown = 0x0100;
constexpr uint32_t kDeviceWmKeyUp = 0x0101;
constexpr uint32_t kDeviceWmChar = 0x0102;
constexpr uint32_t kDeviceWmSysCommand = 0x0112;
constexpr uint32_t kDeviceWmMouseMove = 0x0200;
constexpr uint32_t kDeviceWmLButtonDown = 0x0201;
constexpr uint32_t kDeviceWmLButtonUp = 0x0202;
constexpr uint32_t kDeviceWmLButtonDblClk = 0x0203;
constexpr uint32_t kDeviceWmTilt = 12135;              // the tilt sensor's reading
constexpr uint32_t kDeviceSettingChangeAngle = 12290;  // WM_SETTINGCHANGE: the screen turned
constexpr uintptr_t kDeviceScClose = 0xF060;           // WM_SYSCOMMAND: close
constexpr uint32_t kDeviceWaInactive = 0;              // WM_ACTIVATE's low word
constexpr uint32_t kDeviceKeyRepeatBit = 1u << 30;     // WM_KEYDOWN's lParam: an auto-repeat

// Power state flags that mean the screen is not showing: off, critical, suspended.
constexpr uint32_t kDevicePowerOffFlags = 0x620000;

// The display driver escape that describes the raw frame buffer, and its record (24 bytes on
// the device's 32-bit processor).
constexpr int32_t kDeviceEscapeRawFrameBuffer = 0x20001;
struct VRawFrameBufferRecord {
    uint16_t format = 0;  // bit 1: 5-5-5; 1: 5-6-5 (16 bits)
    uint16_t bitsPerPixel = 0;
    uint8_t* frameBuffer = nullptr;  // pixel (0, 0)
    int32_t xStride = 0;             // bytes between horizontal neighbours; may be negative
    int32_t yStride = 0;             // bytes between vertical neighbours; may be negative
    int32_t width = 0;
    int32_t height = 0;
};

// The game interface (GAPI) of "gx.dll": the display properties and their format flags.
struct VGameDisplayProperties {
    uint32_t width = 0;
    uint32_t height = 0;
    int32_t xPitch = 0;  // bytes between horizontal neighbours
    int32_t yPitch = 0;  // bytes between vertical neighbours
    int32_t bitsPerPixel = 0;
    uint32_t format = 0;  // kGameFormat... flags
};
constexpr uint32_t kGameFormatPalette = 0x10;
constexpr uint32_t kGameFormat555 = 0x40;
constexpr uint32_t kGameFormat565 = 0x80;
constexpr uint32_t kGameFormat888 = 0x100;
constexpr uint32_t kGameFormat444 = 0x200;
constexpr uint32_t kGameFullScreen = 1;  // GXOpenDisplay's flag

// The game interface's entry points, under the decorated names the library exports them by.
using VGameOpenDisplay = int (*)(uintptr_t window, uint32_t flags);
using VGameCall = int (*)();
using VGameGetDisplayProperties = VGameDisplayProperties (*)();
using VGameBeginDraw = void* (*)();
using VGameSetViewport = int (*)(uint32_t top, uint32_t height, uint32_t reserved1,
                                 uint32_t reserved2);
constexpr const char* kGameInterfaceLibrary = "gx.dll";
constexpr const char* kGameOpenDisplayName = "?GXOpenDisplay@@YAHPAUHWND__@@K@Z";
constexpr const char* kGameCloseDisplayName = "?GXCloseDisplay@@YAHXZ";
constexpr const char* kGameGetDisplayPropertiesName =
    "?GXGetDisplayProperties@@YA?AUGXDisplayProperties@@XZ";
constexpr const char* kGameBeginDrawName = "?GXBeginDraw@@YAPAXXZ";
constexpr const char* kGameEndDrawName = "?GXEndDraw@@YAHXZ";
constexpr const char* kGameSuspendName = "?GXSuspend@@YAHXZ";
constexpr const char* kGameResumeName = "?GXResume@@YAHXZ";
constexpr const char* kGameSetViewportName = "?GXSetViewport@@YAHKKKK@Z";
constexpr const char* kGameOpenInputName = "?GXOpenInput@@YAHXZ";
constexpr const char* kGameCloseInputName = "?GXCloseInput@@YAHXZ";

// DirectDraw as the device offers it: one object with a primary surface.
class VDeviceDirectDraw {
  public:
    virtual ~VDeviceDirectDraw() = default;
    // 0 on success for every call that returns an int.
    virtual int SetCooperativeLevel(uintptr_t window, bool fullScreen) = 0;
    virtual int SetDisplayMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel) = 0;
    virtual int CreatePrimary() = 0;
    // The primary's format: bits per pixel and the green channel's mask.
    virtual int PrimaryFormat(uint32_t* bitsPerPixel, uint32_t* greenMask) = 0;
    virtual int PrimaryLayout(uint32_t* width, uint32_t* height, int32_t* pitch) = 0;
    // Waits until the primary is free. kDeviceSurfaceLost when it has to be restored.
    virtual int Lock(uint8_t** address, int32_t* pitch) = 0;
    virtual void Unlock() = 0;
    virtual void Restore() = 0;
    virtual void WaitForVerticalBlank() = 0;
    // Back to the normal cooperative level; releases the primary and the object.
    virtual void Release() = 0;
};
constexpr int kDeviceSurfaceLost = -2;
using VDirectDrawCreate = int (*)(VDeviceDirectDraw** object);
constexpr const char* kDirectDrawLibrary = "ddraw.dll";
constexpr const char* kDirectDrawCreateName = "DirectDrawCreate";

// The power state entry of "coredll.dll": 0 on success, the state's flags in *flags.
using VGetSystemPowerState = uint32_t (*)(char16_t* name, uint32_t nameLength, uint32_t* flags);
constexpr const char* kCoreLibrary = "coredll.dll";
constexpr const char* kGetSystemPowerStateName = "GetSystemPowerState";
// The shell's idle timer reset of "aygshell.dll".
using VShellIdleTimerReset = void (*)();
constexpr const char* kShellLibrary = "aygshell.dll";
constexpr const char* kShellIdleTimerResetName = "SHIdleTimerReset";

// The backlight's timeouts in the registry (current user), and the event that makes the
// system read them again.
constexpr const char* kBacklightKey = "\\ControlPanel\\Backlight";
constexpr const char* kBacklightAcValue = "ACTimeout";
constexpr const char* kBacklightBatteryValue = "BatteryTimeout";
constexpr const char* kBacklightChangeEvent = "BackLightChangeEvent";

// The hardware buttons and the keys the shell routes to a full-screen program when asked.
constexpr uint32_t kDeviceFirstButton = 193;
constexpr uint32_t kDeviceLastButton = 198;
constexpr uint32_t kDeviceFirstShellKey = 112;
constexpr uint32_t kDeviceLastShellKey = 115;

class VHandheldDevice {
  public:
    virtual ~VHandheldDevice() = default;

    // Libraries by name; 0 when the device lacks one. Entry points by name; null when missing.
    virtual uintptr_t LoadLibrary(const char* name) = 0;
    virtual void* FindEntry(uintptr_t library, const char* name) = 0;
    virtual void FreeLibrary(uintptr_t library) = 0;

    // Windows. FindWindow gives 0 when no window of that class and caption exists.
    virtual uintptr_t FindWindow(const char* className, const char* caption) = 0;
    virtual void BringToFront(uintptr_t window) = 0;
    // A visible window; 0 when it cannot be made.
    virtual uintptr_t CreateWindow(const char* className, const char* caption, int32_t x, int32_t y,
                                   int32_t width, int32_t height, bool captioned) = 0;
    virtual void DestroyWindow(uintptr_t window) = 0;
    virtual void MoveWindow(uintptr_t window, int32_t x, int32_t y, int32_t width,
                            int32_t height) = 0;
    virtual void MinimizeWindow(uintptr_t window) = 0;
    // Client area in screen coordinates of a window.
    virtual void WindowRect(uintptr_t window, int32_t* left, int32_t* top, int32_t* right,
                            int32_t* bottom) = 0;
    // Takes the next pending message for the window; false when there is none.
    virtual bool NextMessage(uintptr_t window, VDeviceMessage* message) = 0;
    virtual void ScreenSize(uint32_t* width, uint32_t* height) = 0;
    virtual uint32_t MenuBarHeight() = 0;
    virtual uint32_t CaptionHeight() = 0;
    // The key code of a keyboard scan code (MapVirtualKey, mode 1).
    virtual uint32_t KeyOfScanCode(uint32_t scanCode) = 0;
    virtual void ShowMessageBox(const char* text, const char* caption) = 0;

    // The shell (aygshell by ordinal): full-screen mode, button registration, and its own
    // handling of activation and setting changes.
    virtual void ShellFullScreen(uintptr_t window) = 0;
    virtual void ShellRegisterKey(uintptr_t window, uint32_t key, bool registered) = 0;
    virtual void ShellHandleActivate(uintptr_t window, uintptr_t wParam, uintptr_t lParam) = 0;
    virtual void ShellHandleSettingChange(uintptr_t window, uintptr_t wParam, uintptr_t lParam) = 0;

    // The display settings' screen angle in degrees (0, 90, 180, 270).
    virtual uint32_t ScreenAngle() = 0;
    // The screen's device context and the display driver's escape; the escape returns > 0
    // when it filled out.
    virtual uintptr_t GetScreenContext() = 0;
    virtual void ReleaseScreenContext(uintptr_t context) = 0;
    virtual int32_t Escape(uintptr_t context, int32_t code, void* out, uint32_t outSize) = 0;
    // Whether the program carries a resource of that name and type ("HI_RES_AWARE", "CEUX").
    virtual bool ProgramHasResource(const char* name, const char* type) = 0;

    // The registry under the current user: false when the value is missing.
    virtual bool ReadRegistry(const char* key, const char* value, uint32_t* data) = 0;
    virtual void WriteRegistry(const char* key, const char* value, uint32_t data) = 0;
    virtual void SignalNamedEvent(const char* name) = 0;
    virtual void SystemIdleTimerReset() = 0;
    // Lets go of a power requirement (the display kept on through the power manager).
    virtual void ReleasePowerRequirement() = 0;

    virtual uint32_t TickCount() = 0;
    virtual void Sleep(uint32_t ms) = 0;
};
