// What the application framework needs of its display device.
//
// The start-up, the frame step, the state changes and the VMSG_PAINT and VMSG_ROTATE handling
// reach the display only through this interface, so the display device can grow (surfaces,
// loaders, blitters, 3D state) without touching the application spine.
#pragma once

#include <cstdint>

struct VPlatformInstance;
struct VWindowSetup;
struct VAppSettings;
struct VScreenSettings;
class ClassVMathTables;
class ClassVScreen;

// Results of VDisplay::Open and the other display operations.
constexpr uint32_t kDisplayOk = 0;
constexpr uint32_t kDisplayNotOpened = 1;  // the screen could not be opened, or a buffer made
constexpr uint32_t kDisplayOutOfMemory = 2;
constexpr uint32_t kDisplayUnusable = 3;  // pixel format or orientation cannot be used
constexpr uint32_t kDisplayInvalidParameters = 4;

// The configuration the display reads: both settings records, how it tells its owner that the
// orientation changed while running (the application's OnDisplayChange, called with context),
// and the sine tables its surfaces turn with (the application's 3D math service).
struct VDisplayConfig {
    const VAppSettings* app = nullptr;
    const VScreenSettings* screen = nullptr;
    void (*displayChanged)(void* context, ClassVScreen& screen) = nullptr;
    void* context = nullptr;
    const ClassVMathTables* turnTables = nullptr;
};

class VDisplay {
  public:
    virtual ~VDisplay() = default;

    // Opens the platform screen and creates the back buffer; kDisplay... result.
    virtual uint32_t Open(VPlatformInstance* instance, const VWindowSetup* setup,
                          const VDisplayConfig& config) = 0;
    // Frees everything Open made; nothing happens when closed.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Copies the back buffer to the screen; nothing while suspended or closed.
    virtual void Present() = 0;
    virtual void Suspend() = 0;
    virtual void Resume() = 0;
    virtual bool IsSuspended() const = 0;
    virtual bool IsFullScreen() const = 0;
    // Orientation codes 0 to 7; false (nothing changed) for an unknown code or a layout that
    // cannot be applied.
    virtual bool SetOrientation(uint8_t code) = 0;
    // The orientation in force and the screen's own, 0 to 3 (quarter turns); the picture is
    // turned by their difference.
    virtual uint8_t Orientation() const = 0;
    virtual uint8_t NativeOrientation() const = 0;
    virtual void SetNativeOrientation(uint8_t quarterTurns) = 0;
    // Logical size, as the application sees it.
    virtual uint32_t GetWidth() const = 0;
    virtual uint32_t GetHeight() const = 0;
};
