#include "platform/win32/win32_platform.h"

#include <cstring>
#include <new>
#include <string>

#include "framework/messages.h"
#include "platform/resources.h"
#include "platform/shared/platform_text.h"
#include "platform/win32/win32_screen.h"

namespace {

// The width a window has before the display sizes it.
constexpr int32_t kInitialWidth = 128;

const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

}  // namespace

VWin32Platform::VWin32Platform(HINSTANCE module) : module_(module) {
    QueryPerformanceFrequency(&counterFrequency_);
}

VWin32Platform::~VWin32Platform() {
    if (instance_ != nullptr && instance_->window != 0) {
        DestroyWindow(reinterpret_cast<HWND>(instance_->window));
    }
    instance_ = nullptr;
}

uint32_t VWin32Platform::Run(const wchar_t* commandLine) {
    owned_.reset(new (std::nothrow) VPlatformInstance());
    instance_ = owned_.get();
    if (instance_ == nullptr) {
        MessageBoxW(nullptr, L"Instance create error", L"Can't run application",
                    MB_OK | MB_ICONERROR);
        return 1;
    }
    instance_->layer = this;
    instance_->instanceHandle = reinterpret_cast<uintptr_t>(ProgramResources());
    size_t n = 0;
    for (; commandLine != nullptr && commandLine[n] != 0 && n + 1 < kPlatformTextCapacity; ++n) {
        instance_->commandLine[n] = char16_t(commandLine[n]);
    }
    instance_->commandLine[n] = 0;
    return RunProgram(instance_);
}

bool VWin32Platform::FullScreen() const {
    return instance_ != nullptr && instance_->setup.windowMode == kWindowModeFullScreen;
}

bool VWin32Platform::DialogMode() const {
    return instance_ != nullptr && instance_->setup.dialog != 0;
}

uint32_t VWin32Platform::CreateMainWindow(VPlatformInstance* instance, const VWindowSetup& setup) {
    instance_ = instance;
    instance->setup = setup;
    instance->window = 0;
    instance->destroying = 0;
    statusText_ = nullptr;
    consoleButton_ = nullptr;
    for (uint8_t& held : buttonsHeld_) held = 0;
    cursorHidden_ = false;

    if (setup.dialog != 0) {
        DialogBoxParamW(module_, MAKEINTRESOURCEW(setup.dialog), nullptr, &DialogProcedure,
                        reinterpret_cast<LPARAM>(instance));
        return kWindowCreated;
    }

    const std::string caption(setup.caption, strnlen(setup.caption, sizeof(setup.caption)));
    const std::u16string windowName = PlatformUtf16(caption.c_str());
    const std::u16string className = windowName + u"_class";
    if (!setup.skipSingleInstanceCheck) {
        HWND other = FindWindowW(Wide(className), Wide(windowName));
        if (other != nullptr) {
            SetForegroundWindow(other);
            return kWindowOtherInstance;
        }
    }
    if (RegisterWindowClass(Wide(className)) != kWindowCreated) return kWindowFailed;

    HWND window = nullptr;
    if (setup.windowMode == kWindowModeFullScreen) {
        window = CreateWindowExW(0, Wide(className), Wide(windowName), WS_POPUP | WS_VISIBLE,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                 nullptr, nullptr, module_, instance);
    } else {
        const VWin32FrameMetrics m = CurrentFrameMetrics();
        const int32_t height = m.caption + 2 * m.fixedFrameY + (setup.menu != 0 ? m.menuBar : 0);
        const int32_t x = GetSystemMetrics(SM_CXSCREEN) / 2 - kInitialWidth / 2;
        const int32_t y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
        window = CreateWindowExW(0, Wide(className), Wide(windowName),
                                 WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, x, y,
                                 kInitialWidth, height, nullptr, nullptr, module_, instance);
    }
    if (window == nullptr) {
        UnregisterClassW(Wide(className), module_);
        return kWindowFailed;
    }
    SetFocus(window);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    Send(instance, VMSG_DISPLAYSTART);
    return kWindowCreated;
}

uint32_t VWin32Platform::RegisterWindowClass(const wchar_t* className) {
    const VWindowSetup& setup = instance_->setup;
    WNDCLASSW windowClass{};
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = &WindowProcedure;
    windowClass.hInstance = module_;
    windowClass.hIcon = setup.icon != 0 ? LoadIconW(module_, MAKEINTRESOURCEW(setup.icon))
                                        : LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszMenuName = setup.menu != 0 ? MAKEINTRESOURCEW(setup.menu) : nullptr;
    windowClass.lpszClassName = className;
    // A class left from an earlier window of this process is that window's; it is made anew
    // so that this window gets its own icon and menu.
    UnregisterClassW(className, module_);
    return RegisterClassW(&windowClass) != 0 ? kWindowCreated : kWindowFailed;
}

void VWin32Platform::Attach(HWND window) {
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(instance_));
    instance_->window = reinterpret_cast<uintptr_t>(window);
}

void VWin32Platform::DispatchEvents(VPlatformInstance*) {
    // Up to the quit message, which the window's own end posts: it must not be left for a
    // later loop of the same thread.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) return;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void VWin32Platform::DestroyPlatformWindow(VPlatformInstance* instance) {
    // The window procedure's WM_DESTROY runs the exit sequence.
    DestroyWindow(reinterpret_cast<HWND>(instance->window));
}

void VWin32Platform::ShowErrorText(VPlatformInstance*, const char16_t* text) {
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text), L"Application error",
                MB_OK | MB_ICONERROR);
}

void VWin32Platform::GetDesktopSize(uint32_t* width, uint32_t* height) {
    *width = uint32_t(GetSystemMetrics(SM_CXSCREEN));
    *height = uint32_t(GetSystemMetrics(SM_CYSCREEN));
}

uint32_t VWin32Platform::GetTime() {
    // The performance counter in milliseconds, wrapping at 32 bits; the tick count where the
    // system has no counter.
    LARGE_INTEGER now;
    if (counterFrequency_.QuadPart <= 0 || !QueryPerformanceCounter(&now)) return GetTickCount();
    const uint64_t ticks = uint64_t(now.QuadPart), frequency = uint64_t(counterFrequency_.QuadPart);
    return uint32_t(ticks / frequency * 1000 + ticks % frequency * 1000 / frequency);
}

void VWin32Platform::Sleep(uint32_t ms) {
    ::Sleep(ms);
}

VPlatformScreen* VWin32Platform::CreateScreen() {
    return new (std::nothrow) VWin32Screen(this);
}

void VWin32Platform::Minimize(VPlatformInstance* instance) {
    if (instance->window != 0) ShowWindow(reinterpret_cast<HWND>(instance->window), SW_MINIMIZE);
}

void VWin32Platform::SetKeepDisplayOn(VPlatformInstance* instance, bool on) {
    // A desktop keeps its screen on while the user works with it; the request is kept.
    instance->keepDisplayOn = on ? 1 : 0;
}
