#include "platform/desktop/desktop_platform.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "fileio/strings.h"
#include "platform/desktop/desktop_icon.h"
#include "platform/desktop/desktop_keys.h"
#include "platform/desktop/desktop_screen.h"
#include "platform/resources.h"
#include "platform/shared/platform_text.h"

namespace {

constexpr uint32_t kAutoScaleLimit = 4;
constexpr char kIconType[] = "ICON";

// Floor division, so that positions left of or above the picture stay negative.
int32_t FloorDivide(int32_t value, int32_t divisor) {
    const int32_t q = value / divisor;
    return (value % divisor != 0 && value < 0) ? q - 1 : q;
}

// The platform button index of an SDL button: 0 left, 1 right, 2 middle; -1 for others.
int32_t ButtonIndex(uint8_t button) {
    switch (button) {
        case SDL_BUTTON_LEFT:
            return 0;
        case SDL_BUTTON_RIGHT:
            return 1;
        case SDL_BUTTON_MIDDLE:
            return 2;
        default:
            return -1;
    }
}

}  // namespace

VDesktopPlatform::VDesktopPlatform(VDesktopOptions options) : options_(std::move(options)) {}

VDesktopPlatform::~VDesktopPlatform() {
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    // The last SDL user also lets go of what SDL keeps besides (its D-Bus connection).
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

bool VDesktopPlatform::VideoAvailable(std::string* reason) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (reason != nullptr) *reason = SDL_GetError();
        return false;
    }
    // Without a display SDL falls back to drivers that show nothing; they count only when
    // asked for by name (SDL_VIDEODRIVER=dummy for tests).
    const std::string driver = SDL_GetCurrentVideoDriver();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
    const bool invisible = driver == "offscreen" || driver == "dummy";
    if (invisible && SDL_getenv("SDL_VIDEODRIVER") == nullptr) {
        if (reason != nullptr) *reason = "SDL found only its '" + driver + "' video driver";
        return false;
    }
    return true;
}

uint32_t VDesktopPlatform::Run() {
    instance_.reset(new (std::nothrow) VPlatformInstance());
    if (instance_ == nullptr) {
        std::fprintf(stderr, "Can't run application: Instance create error\n");
        if (options_.messageBox) {
            SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Can't run application",
                                     "Instance create error", nullptr);
        }
        return 1;
    }
    instance_->layer = this;
    instance_->instanceHandle = reinterpret_cast<uintptr_t>(ProgramResources());
    const std::u16string commandLine = PlatformUtf16(options_.commandLine.c_str());
    WStrCopy(instance_->commandLine, commandLine.c_str(), kPlatformTextCapacity);

    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
        videoStarted_ = true;
        return RunProgram(instance_.get());
    }
    const std::u16string text = u"Can't open the display: " + PlatformUtf16(SDL_GetError());
    PlatformSetErrorText(instance_.get(), text.c_str());
    PlatformSetExitCode(instance_.get(), 1);
    ShowErrorText(instance_.get(), instance_->errorText);
    return instance_->exitCode;
}

void VDesktopPlatform::ShowErrorText(VPlatformInstance*, const char16_t* text) {
    const std::string utf8 = PlatformUtf8(text);
    std::fprintf(stderr, "Application error: %s\n", utf8.c_str());
    std::fflush(stderr);
    if (options_.messageBox && videoStarted_) {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Application error", utf8.c_str(), nullptr);
    }
}

bool VDesktopPlatform::Deliver(uint32_t code, uintptr_t param1, uintptr_t param2,
                               uintptr_t param3) {
    return Send(instance_.get(), code, param1, param2, param3);
}

uint32_t VDesktopPlatform::ChooseScale(uint32_t width, uint32_t height) const {
    if (options_.scale != 0) return options_.scale;
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0 || width == 0 || height == 0) return 1;
    uint32_t scale = 1;
    while (scale < kAutoScaleLimit && width * (scale + 1) < uint32_t(usable.w) &&
           height * (scale + 1) < uint32_t(usable.h)) {
        ++scale;
    }
    return scale;
}

uint32_t VDesktopPlatform::CreateMainWindow(VPlatformInstance* instance,
                                            const VWindowSetup& setup) {
    if (setup.dialog != 0) {
        // Dialog templates are Windows resources; there is nothing to build one from here.
        std::fprintf(stderr, "desktop layer: dialog windows (template %u) are not supported\n",
                     setup.dialog);
        return kWindowFailed;
    }
    instance->setup = setup;
    instance->destroying = 0;
    std::fill(std::begin(buttonsHeld_), std::end(buttonsHeld_), 0);
    caption_.assign(setup.caption, strnlen(setup.caption, sizeof(setup.caption)));
    status_.clear();
    displayWidth_ = setup.width;
    displayHeight_ = setup.height;
    scale_ = ChooseScale(setup.width, setup.height);
    fullScreen_ = options_.fullScreen || setup.windowMode == kWindowModeFullScreen;

    const uint32_t flags = SDL_WINDOW_SHOWN | (fullScreen_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    window_ = SDL_CreateWindow(caption_.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               int(std::max(1u, setup.width * scale_)),
                               int(std::max(1u, setup.height * scale_)), flags);
    if (window_ == nullptr) {
        std::fprintf(stderr, "desktop layer: no window: %s\n", SDL_GetError());
        return kWindowFailed;
    }
    if (setup.icon != 0) SetIcon(setup.icon);
    SDL_ShowCursor(setup.cursorShown ? SDL_ENABLE : SDL_DISABLE);
    SDL_RaiseWindow(window_);
    SDL_StartTextInput();
    instance->window = reinterpret_cast<uintptr_t>(window_);
    Send(instance, VMSG_DISPLAYSTART);
    return kWindowCreated;
}

void VDesktopPlatform::SetIcon(uint32_t id) {
    const auto* module = reinterpret_cast<const VResourceModule*>(instance_->instanceHandle);
    const uint8_t* data = nullptr;
    size_t size = 0;
    if (!FindResource(module, kIconType, id, &data, &size)) {
        std::fprintf(stderr, "desktop layer: icon %u is not among the program's resources\n", id);
        return;
    }
    VIconImage image;
    const char* error = nullptr;
    if (!DecodeIcon(data, size, &image, &error)) {
        std::fprintf(stderr, "desktop layer: icon %u: %s\n", id, error);
        return;
    }
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormatFrom(image.pixels.data(), int(image.width), int(image.height),
                                           32, int(image.width * 4), SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr) return;
    SDL_SetWindowIcon(window_, surface);  // SDL keeps its own copy
    SDL_FreeSurface(surface);
}

void VDesktopPlatform::DispatchEvents(VPlatformInstance*) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        Deliver(VMSG_WINDOWMSG, event.type, reinterpret_cast<uintptr_t>(&event));
        if (!Translate(event)) return;
    }
}

bool VDesktopPlatform::Translate(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN: {
            const uint32_t key = VirtualKeyFor(event.key.keysym.sym, event.key.keysym.scancode);
            if (key != 0) lastKey_ = key;
            // A held key sends one key-down; the input state makes the repeats.
            if (key != 0 && !event.key.repeat) Deliver(VMSG_KEYDOWN, key);
            const char16_t control = ControlCharacterFor(event.key.keysym.sym);
            if (control != 0) Deliver(VMSG_CHAR, control, key);
            return true;
        }
        case SDL_KEYUP: {
            const uint32_t key = VirtualKeyFor(event.key.keysym.sym, event.key.keysym.scancode);
            if (key != 0) Deliver(VMSG_KEYUP, key);
            return true;
        }
        case SDL_TEXTINPUT:
            for (const char16_t unit : PlatformUtf16(event.text.text))
                Deliver(VMSG_CHAR, unit, lastKey_);
            return true;
        case SDL_MOUSEBUTTONDOWN: {
            const int32_t button = ButtonIndex(event.button.button);
            if (button < 0 || event.button.which == SDL_TOUCH_MOUSEID) return true;
            SDL_CaptureMouse(SDL_TRUE);
            buttonsHeld_[button] = 1;
            // Every second click of a run is a double click, as the system counts them.
            const uint32_t code = event.button.clicks % 2 == 0 ? VMSG_PENDOUBLE : VMSG_PENDOWN;
            SendPen(code, uint32_t(button), event.button.x, event.button.y);
            return true;
        }
        case SDL_MOUSEBUTTONUP: {
            const int32_t button = ButtonIndex(event.button.button);
            if (button < 0 || event.button.which == SDL_TOUCH_MOUSEID) return true;
            if (!buttonsHeld_[button]) return true;  // already released when the focus went
            buttonsHeld_[button] = 0;
            SendPen(VMSG_PENUP, uint32_t(button), event.button.x, event.button.y);
            if (!buttonsHeld_[0] && !buttonsHeld_[1] && !buttonsHeld_[2]) {
                SDL_CaptureMouse(SDL_FALSE);
            }
            return true;
        }
        case SDL_MOUSEMOTION:
            if (event.motion.which == SDL_TOUCH_MOUSEID) return true;
            SendPen(VMSG_PENMOVE, 0, event.motion.x, event.motion.y);
            return true;
        case SDL_MOUSEWHEEL: {
            int32_t y = event.wheel.y;
            if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) y = -y;
            if (y != 0) Deliver(VMSG_WHEEL, uintptr_t(intptr_t(y < 0 ? -1 : 1)));
            return true;
        }
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                // Shown again or restored: the program runs; some window systems (and SDL's
                // dummy driver) never send a focus event for a window that reappears.
                case SDL_WINDOWEVENT_SHOWN:
                case SDL_WINDOWEVENT_RESTORED:
                    Deliver(VMSG_ACTIVATE, 0);
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    ReleaseHeldButtons();
                    Deliver(VMSG_ACTIVATE, 1);
                    break;
                case SDL_WINDOWEVENT_MINIMIZED:
                case SDL_WINDOWEVENT_HIDDEN:
                    Deliver(VMSG_ACTIVATE, 2);
                    break;
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    Deliver(VMSG_PAINT);
                    break;
                case SDL_WINDOWEVENT_CLOSE:
                    CloseWindow(instance_.get());
                    return false;
                default:
                    break;
            }
            return true;
        case SDL_QUIT:
            CloseWindow(instance_.get());
            return false;
        default:
            return true;
    }
}

void VDesktopPlatform::SendPen(uint32_t code, uint32_t button, int32_t windowX, int32_t windowY) {
    int32_t x = 0, y = 0;
    WindowToDisplay(windowX, windowY, &x, &y);
    Deliver(code, button, uintptr_t(intptr_t(x)), uintptr_t(intptr_t(y)));
}

void VDesktopPlatform::WindowToDisplay(int32_t windowX, int32_t windowY, int32_t* x,
                                       int32_t* y) const {
    int width = 0, height = 0;
    if (window_ != nullptr) SDL_GetWindowSize(window_, &width, &height);
    const VPictureRect fit =
        FitPicture(uint32_t(width), uint32_t(height), displayWidth_, displayHeight_);
    *x = FloorDivide(windowX - fit.x, int32_t(fit.scale));
    *y = FloorDivide(windowY - fit.y, int32_t(fit.scale));
}

void VDesktopPlatform::ReleaseHeldButtons() {
    // The window no longer sees the mouse: a button still held is let go where the cursor is.
    int windowX = 0, windowY = 0;
    SDL_GetMouseState(&windowX, &windowY);
    for (uint32_t button = 0; button < 3; ++button) {
        if (!buttonsHeld_[button]) continue;
        buttonsHeld_[button] = 0;
        SendPen(VMSG_PENUP, button, windowX, windowY);
    }
    SDL_CaptureMouse(SDL_FALSE);
}

void VDesktopPlatform::DestroyPlatformWindow(VPlatformInstance* instance) {
    SDL_ShowCursor(SDL_ENABLE);
    WindowDestroyed(instance);
}

void VDesktopPlatform::ReleaseWindow(VPlatformInstance*) {
    // The window takes its renderer with it; a screen the program left open goes first.
    if (screen_ != nullptr) screen_->Close();
    SDL_DestroyWindow(window_);
    window_ = nullptr;
}

void VDesktopPlatform::ScreenOpened(VDesktopScreen* screen) {
    screen_ = screen;
}

void VDesktopPlatform::ScreenClosed(VDesktopScreen* screen) {
    if (screen_ == screen) screen_ = nullptr;
}

void VDesktopPlatform::Minimize(VPlatformInstance*) {
    if (window_ != nullptr) SDL_MinimizeWindow(window_);
}

void VDesktopPlatform::SetKeepDisplayOn(VPlatformInstance* instance, bool on) {
    // SDL keeps the screen saver off while a window is open; the request is only kept.
    instance->keepDisplayOn = on ? 1 : 0;
}

void VDesktopPlatform::SetStatusText(VPlatformInstance* instance, const char16_t* text) {
    if (!instance->setup.statusLine) return;
    status_ = PlatformUtf8(text);
    UpdateTitle();
}

void VDesktopPlatform::UpdateTitle() {
    if (window_ == nullptr) return;
    // The status line has no place of its own: it follows the caption in the title.
    size_t begin = status_.find_first_not_of(' ');
    const std::string status = begin == std::string::npos ? "" : status_.substr(begin);
    const std::string title = status.empty() ? caption_ : caption_ + " - " + status;
    SDL_SetWindowTitle(window_, title.c_str());
}

void VDesktopPlatform::SizeWindowForDisplay(VPlatformInstance* instance, uint32_t width,
                                            uint32_t height) {
    displayWidth_ = width;
    displayHeight_ = height;
    if (window_ == nullptr || fullScreen_) return;
    scale_ = ChooseScale(width, height);
    SDL_SetWindowSize(window_, int(width * scale_), int(height * scale_));
    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    if (instance->setup.statusLine && status_.empty()) {
        status_ = " Starting display...";
        UpdateTitle();
    }
}

bool VDesktopPlatform::GetClientArea(VPlatformInstance* instance, VPlatformRect* area) {
    if (instance->window == 0 || fullScreen_) return false;
    // The screen service's memory is the client area itself, in display pixels, so it starts
    // at the origin whatever the window's place and scale.
    *area = VPlatformRect{0, 0, int32_t(displayWidth_), int32_t(displayHeight_)};
    return true;
}

void VDesktopPlatform::GetDesktopSize(uint32_t* width, uint32_t* height) {
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) {
        *width = 0;
        *height = 0;
        return;
    }
    *width = uint32_t(mode.w);
    *height = uint32_t(mode.h);
}

VPlatformScreen* VDesktopPlatform::CreateScreen() {
    return new (std::nothrow) VDesktopScreen(*this);
}
