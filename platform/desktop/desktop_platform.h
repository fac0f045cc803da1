// The desktop platform layer on SDL2: the process entry, one window, the translation of SDL
// events into framework messages, the main loop, the window title as status line, a screen
// service over an SDL texture and the monotonic millisecond clock.
//
// Keys arrive as the virtual-key codes of the framework's key lists; mouse positions arrive in
// display pixels, whatever the window's scale. The window is the display's size times a whole
// number (--scale N, or the largest that fits the desktop); --fullscreen fills the desktop.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>

#include "framework/messages.h"
#include "platform/desktop/desktop_options.h"
#include "platform/platform_layer.h"
#include "platform/shared/platform_loop.h"

class VDesktopScreen;

class VDesktopPlatform final : public VPlatformLoop {
  public:
    explicit VDesktopPlatform(VDesktopOptions options = {});
    ~VDesktopPlatform() override;

    // Whether SDL can show a window here; when not, the reason. Drivers that show nothing
    // (offscreen, dummy) count only when SDL_VIDEODRIVER names them.
    static bool VideoAvailable(std::string* reason);

    // The process entry: creates the instance, sends VMSG_CREATE (which runs the program) and
    // VMSG_DESTROY, shows the error text, returns the exit code.
    uint32_t Run();

    const VDesktopOptions& Options() const { return options_; }
    const VPlatformInstance* Instance() const { return instance_.get(); }
    uint32_t Scale() const { return scale_; }
    SDL_Window* Window() const { return window_; }
    // Display pixels of a window position, by the picture's place in the window.
    void WindowToDisplay(int32_t windowX, int32_t windowY, int32_t* x, int32_t* y) const;

    // Called by the screen service.
    void ScreenOpened(VDesktopScreen* screen);
    void ScreenClosed(VDesktopScreen* screen);

    // VPlatformLayer
    uint32_t CreateMainWindow(VPlatformInstance* instance, const VWindowSetup& setup) override;
    void Minimize(VPlatformInstance* instance) override;
    void SetKeepDisplayOn(VPlatformInstance* instance, bool on) override;
    void SetStatusText(VPlatformInstance* instance, const char16_t* text) override;
    void SizeWindowForDisplay(VPlatformInstance* instance, uint32_t width,
                              uint32_t height) override;
    bool GetClientArea(VPlatformInstance* instance, VPlatformRect* area) override;
    void GetDesktopSize(uint32_t* width, uint32_t* height) override;
    VPlatformScreen* CreateScreen() override;

  protected:
    // VPlatformLoop
    // Dispatches every pending event; stops after one that closed the window.
    void DispatchEvents(VPlatformInstance* instance) override;
    void ShowErrorText(VPlatformInstance* instance, const char16_t* text) override;
    void DestroyPlatformWindow(VPlatformInstance* instance) override;
    void ReleaseWindow(VPlatformInstance* instance) override;

  private:
    // A framework message from the translation of an event.
    bool Deliver(uint32_t code, uintptr_t param1 = 0, uintptr_t param2 = 0, uintptr_t param3 = 0);
    // Translates one event; false when it closed the window.
    bool Translate(const SDL_Event& event);
    void SendPen(uint32_t code, uint32_t button, int32_t windowX, int32_t windowY);
    void ReleaseHeldButtons();
    uint32_t ChooseScale(uint32_t width, uint32_t height) const;
    void SetIcon(uint32_t id);
    void UpdateTitle();

    VDesktopOptions options_;
    std::unique_ptr<VPlatformInstance> instance_;
    SDL_Window* window_ = nullptr;
    VDesktopScreen* screen_ = nullptr;  // the open screen service, if any
    bool videoStarted_ = false;
    bool fullScreen_ = false;
    uint32_t scale_ = 1;
    uint32_t displayWidth_ = 0, displayHeight_ = 0;
    uint8_t buttonsHeld_[3] = {};
    uint32_t lastKey_ = 0;  // the key of the characters that follow
    std::string caption_;
    std::string status_;  // empty: the title is the caption alone
};
