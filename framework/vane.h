// ClassVane, the application class. A program is one class derived from it: it fills the two
// configuration records and overrides the callbacks it needs; the framework runs the
// start-up, the main loop, the display, the input and the exit, and calls the callbacks at
// fixed moments. The platform layer creates the one object through CreateApplication
// (framework/application_factory.h) and drives it with framework messages
// (framework/messages.h).
#pragma once

#include <cstdint>

#include "connect/log_window.h"
#include "fileio/alloc_pool.h"
#include "fileio/buffer_file.h"
#include "fileio/disk_file.h"
#include "fileio/string_service.h"
#include "framework/clock.h"
#include "framework/frame_limiter.h"
#include "framework/input_state.h"
#include "framework/key_list.h"
#include "framework/messages.h"
#include "framework/screen.h"
#include "framework/settings.h"
#include "framework/sound_mixer.h"
#include "math/math_tables.h"
#include "render3d/model_services.h"
#include "render3d/pool_memory.h"

struct VPlatformInstance;
struct VWindowSetup;
struct VMessage;
class ClassVConnection;

constexpr uint32_t kErrorTextCapacity = 257;   // 256 wide characters and the terminator
constexpr uint32_t kProgramFolderChars = 260;  // wide characters, terminator included
constexpr uint32_t kCommandLineBytes = 4096;   // UTF-8, terminator included

// Tilt calibration and key/stylus emulation (SetTiltSettings).
struct VTiltSettings {
    int32_t centreX = 0, centreY = 0;  // raw tilt units
    uint8_t stylusEmulation = 0;
    uint8_t keyEmulation = 0;
    uint8_t stylusHeld = 0;    // the stylus is held down by the emulation
    uint8_t keysEmulated = 0;  // a key is held down by the emulation
    int32_t previousX = 0, previousY = 0;
    int32_t thresholdX = 0, thresholdY = 0;  // current key thresholds
    int32_t configuredThresholdX = 0, configuredThresholdY = 0;
    int32_t range = 0;
};

class ClassVane {
  public:
    ClassVane();
    ClassVane(const ClassVane&) = delete;
    ClassVane& operator=(const ClassVane&) = delete;

    // The callbacks, in slot order. Results of int callbacks: 0 for success; any other
    // value stops the start-up and becomes its result.
    virtual int OnConfigure(VAppSettings& settings);                     // 0
    virtual int OnConfigureDisplay(VScreenSettings& settings);           // 1
    virtual int OnStartup(uintptr_t instanceHandle);                     // 2
    virtual int OnSuspend();                                             // 3, result ignored
    virtual int OnResume();                                              // 4, result ignored
    virtual int OnPrepareDisplay(ClassVScreen& screen);                  // 5
    virtual int OnInit(uintptr_t instanceHandle, ClassVScreen& screen);  // 6
    virtual int OnFrame(ClassVScreen& screen, uint32_t elapsedMs);       // 7, result ignored
    virtual void OnExit(uintptr_t instanceHandle);                       // 8
    virtual void OnKeyDown(uint32_t key, VKeyList& keys);                // 9
    virtual void OnKeyUp(uint32_t key, VKeyList& keys);                  // 10
    virtual void OnWheel(int32_t direction);                             // 11
    virtual void OnPenUp(int32_t x, int32_t y);                          // 12
    virtual void OnPenDown(int32_t x, int32_t y);                        // 13
    virtual void OnPenDoubleTap(int32_t x, int32_t y);                   // 14
    virtual void OnPenMove(int32_t x, int32_t y);                        // 15
    virtual void OnTilt(int32_t x, int32_t y);                           // 16
    // Every raw platform window message before the framework handles it; true: handled.
    virtual bool OnWindowMessage(uintptr_t window, uint32_t message, uintptr_t param1,
                                 uintptr_t param2);  // 17
    virtual ~ClassVane();                            // 18
    virtual void OnConnectionMessage(uint8_t slot, uint32_t code, uint32_t value, int32_t x,
                                     int32_t y);         // 19
    virtual void OnDisplayChange(ClassVScreen& screen);  // 20

    // Operations for applications.
    void Quit();      // the main loop ends after its current pass
    void Minimize();  // suspend now; the next frame step minimises the window
    void ReportError(const char16_t* text);  // kept (up to 256 characters) for the platform
    void ShowStatus(const char16_t* text);   // status line text, passed whole
    void GetFrameRate(uint32_t* whole, uint32_t* hundredths) const;
    void SetTiltSettings(int16_t centreX, int16_t centreY, uint8_t stylusEmulation, uint32_t range,
                         uint8_t keyEmulation, uint32_t threshold);
    uintptr_t GetWindowHandle() const { return window_; }

    uint8_t State() const { return state_; }
    const VAppSettings& AppSettings() const { return appSettings_; }
    const VScreenSettings& ScreenSettings() const { return screenSettings_; }
    const VTiltSettings& TiltSettings() const { return tilt_; }
    ClassVScreen& Screen() { return screen_; }
    ClassVInputState& Input() { return input_; }
    const ClassVClock& Clock() const { return clock_; }
    const VFrameLimiter& Limiter() const { return limiter_; }
    const ClassVSoundMixer& Mixer() const { return mixer_; }
    const ClassVLogWindow& Console() const { return console_; }
    // The framework services every application owns.
    ClassVDiskFile& DiskFile() { return diskFile_; }
    ClassVBufferFile& BufferFile() { return bufferFile_; }
    const ClassVStringService& Strings() const { return strings_; }
    // The platform layer's string operations, with its own unbounded length.
    const ClassVStringService& PlatformStrings() const { return platformStrings_; }
    VAllocPool& Pool() { return pool_; }
    const ClassVMathTables& Math() const { return math_; }
    // What every model the display loads is bound to: the pool for its buffers, the math
    // tables and the display's 3D settings.
    V3DServices& ModelServices() { return modelServices_; }
    // The connection object of a slot; null for an empty or out-of-range slot.
    ClassVConnection* Connection(uint32_t slot) const;
    const VWindowSetup* WindowSetup() const { return windowSetup_; }
    const char16_t* ErrorText() const { return errorText_; }
    uintptr_t InstanceHandle() const { return instanceHandle_; }
    const char16_t* ProgramFolder() const { return programFolder_; }
    const char* CommandLine() const { return commandLine_; }
    uint32_t ExitCode() const { return exitCode_; }
    void SetExitCode(uint32_t code) { exitCode_ = code; }

  private:
    // The framework's own steps, run by its message function (framework/messages.h) through
    // VFrameworkDriver (framework/framework_driver.h); applications only override callbacks.
    friend class VFrameworkDriver;

    // Binds a new object to its platform instance and start record values.
    void Attach(VPlatformInstance* instance, uintptr_t instanceHandle, const char* commandLine,
                uint32_t exitCode);
    // Defaults, OnConfigure/OnConfigureDisplay, checks, window set-up, connections, window.
    uint32_t Configure();
    // Display start, then (outside dialog mode) the main loop until it ends.
    uint32_t StartDisplay(uintptr_t window);
    void FrameStep();
    void ResetClock();
    // Moves to a new state when the transition is allowed; anything else is ignored.
    void SetState(uint8_t state);
    // VMSG_KEYDOWN to VMSG_TILT.
    bool HandleInput(const VMessage& message);
    bool HandleWindowMessage(VMessage* message);
    void Rotate(uint32_t degrees);
    void Repaint();
    void Activate(uintptr_t how);
    // Hands the error text and the exit code to the platform instance.
    void HandOver();

    uint32_t ConfigureChecks();
    void FillWindowSetup();
    void CreateConnections();
    uint32_t RunDisplayStart();
    void RunFrameLimiter();
    void UpdateKeepDisplayOn();
    uint8_t OrientationTurn() const;
    void TurnPen(int32_t* x, int32_t* y) const;
    uint32_t RemapDirectionKey(uint32_t key) const;
    void HandleTilt(int32_t rawX, int32_t rawY);
    // The direction key a tilt leaves (current thresholds) or enters (configured ones); 0: none.
    uint32_t TiltKeyLeaving(int32_t x, int32_t y) const;
    uint32_t TiltKeyEntering(int32_t x, int32_t y) const;
    void EmulateTiltKeys(int32_t x, int32_t y);
    // Moves the emulated stylus; x and y are clamped to the tilt range.
    void EmulateTiltStylus(int32_t* x, int32_t* y);
    void EndTiltStep(int32_t x, int32_t y);
    bool DialogMode() const { return screenSettings_.dialog != 0; }

    VPlatformInstance* instance_ = nullptr;  // not owned
    VWindowSetup* windowSetup_ = nullptr;    // owned
    uintptr_t instanceHandle_ = 0;
    char16_t programFolder_[kProgramFolderChars] = {};
    char commandLine_[kCommandLineBytes] = {};
    uint32_t exitCode_ = 0;
    uintptr_t window_ = 0;
    VAppSettings appSettings_;
    VScreenSettings screenSettings_;
    ClassVScreen screen_;
    ClassVDiskFile diskFile_;
    ClassVBufferFile bufferFile_;
    ClassVStringService strings_{kStrUnbounded};
    ClassVStringService platformStrings_{kPlatformStrUnbounded};
    VAllocPool pool_;
    ClassVMathTables math_;
    V3DPoolMemory modelMemory_{pool_};
    V3DServices modelServices_{&modelMemory_, &math_, &screen_};
    ClassVSoundMixer mixer_;
    ClassVInputState input_;
    ClassVClock clock_;
    ClassVLogWindow console_;
    char16_t errorText_[kErrorTextCapacity] = {};
    uint8_t minimizeRequest_ = 0;
    uint8_t fastForwardHeld_ = 0;
    uint8_t slowMotionHeld_ = 0;
    uint8_t keepDisplayOnRequested_ = 0;
    VFrameRateMeter frameRate_;
    VFrameLimiter limiter_;
    uint8_t state_ = VSTATE_STARTING;
    ClassVConnection* connections_[kMaxConnections] = {};
    VTiltSettings tilt_;
    VKeyList keyList_;
};
