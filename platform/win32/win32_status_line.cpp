// The window's size for its display, the status line under the display (a text control and
// the console button), and the client area the present writes to.
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_screen.h"

namespace {

constexpr int kStatusTextId = 1001;
constexpr int kConsoleButtonId = 1002;

}  // namespace

VWin32FrameMetrics CurrentFrameMetrics() {
    VWin32FrameMetrics m;
    m.fixedFrameX = GetSystemMetrics(SM_CXFIXEDFRAME);
    m.fixedFrameY = GetSystemMetrics(SM_CYFIXEDFRAME);
    m.caption = GetSystemMetrics(SM_CYCAPTION);
    m.menuBar = GetSystemMetrics(SM_CYMENU);
    return m;
}

int32_t StatusLineHeight(const VWin32FrameMetrics& metrics) {
    return metrics.menuBar * 5 / 4;
}

VWin32Size WindowSizeForDisplay(const VWin32FrameMetrics& metrics, uint32_t width, uint32_t height,
                                bool menu, bool statusLine) {
    VWin32Size size;
    size.width = int32_t(width) + 2 * metrics.fixedFrameX;
    size.height = int32_t(height) + metrics.caption + 2 * metrics.fixedFrameY +
                  (menu ? metrics.menuBar : 0) + (statusLine ? StatusLineHeight(metrics) : 0);
    return size;
}

void VWin32Platform::SizeWindowForDisplay(VPlatformInstance* instance, uint32_t width,
                                          uint32_t height) {
    HWND window = reinterpret_cast<HWND>(instance->window);
    if (window == nullptr || FullScreen()) return;
    const VWindowSetup& setup = instance->setup;
    const VWin32FrameMetrics m = CurrentFrameMetrics();
    const VWin32Size size =
        WindowSizeForDisplay(m, width, height, setup.menu != 0, setup.statusLine != 0);
    const int32_t x = (GetSystemMetrics(SM_CXSCREEN) - size.width) / 2;
    const int32_t y = (GetSystemMetrics(SM_CYSCREEN) - size.height) / 2;
    SetWindowPos(window, nullptr, x, y, size.width, size.height, SWP_NOZORDER | SWP_NOACTIVATE);

    // The status line lies under the display; without it the window ends above it.
    const int32_t h = StatusLineHeight(m);
    const int32_t textWidth = int32_t(width) > h ? int32_t(width) - h : 0;
    if (statusText_ == nullptr) MakeStatusLine(window);
    if (statusText_ != nullptr) {
        MoveWindow(statusText_, 0, int32_t(height), textWidth, h, TRUE);
    }
    if (consoleButton_ != nullptr) {
        MoveWindow(consoleButton_, textWidth, int32_t(height), h, h, TRUE);
    }
}

void VWin32Platform::MakeStatusLine(HWND window) {
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    statusText_ =
        CreateWindowExW(0, L"STATIC", L" Starting display...",
                        WS_CHILD | WS_VISIBLE | SS_SUNKEN | SS_LEFTNOWORDWRAP, 0, 0, 0, 0, window,
                        reinterpret_cast<HMENU>(INT_PTR(kStatusTextId)), module_, nullptr);
    consoleButton_ = CreateWindowExW(
        0, L"BUTTON", L"c", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX | BS_PUSHLIKE, 0, 0, 0, 0,
        window, reinterpret_cast<HMENU>(INT_PTR(kConsoleButtonId)), module_, nullptr);
    if (statusText_ != nullptr) SendMessageW(statusText_, WM_SETFONT, WPARAM(font), FALSE);
    if (consoleButton_ != nullptr) SendMessageW(consoleButton_, WM_SETFONT, WPARAM(font), FALSE);
}

void VWin32Platform::SetStatusText(VPlatformInstance*, const char16_t* text) {
    if (statusText_ != nullptr) {
        SetWindowTextW(statusText_, reinterpret_cast<const wchar_t*>(text));
    }
}

bool VWin32Platform::GetClientArea(VPlatformInstance* instance, VPlatformRect* area) {
    HWND window = reinterpret_cast<HWND>(instance->window);
    if (window == nullptr || FullScreen()) return false;
    // Where the client area's corner lies on the desktop, whatever frame the window manager
    // gives the window (the window rectangle less the fixed frame, caption and menu when the
    // frame follows the system metrics), and where the open screen writes the display for it.
    POINT corner{0, 0};
    RECT client{};
    if (!ClientToScreen(window, &corner) || !GetClientRect(window, &client)) return false;
    if (screen_ != nullptr) corner = screen_->Placement(corner);
    *area = VPlatformRect{corner.x, corner.y, corner.x + client.right, corner.y + client.bottom};
    return true;
}

void VWin32Platform::SetConsoleButton(VPlatformInstance*, bool checked) {
    if (consoleButton_ != nullptr) {
        SendMessageW(consoleButton_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

uint32_t VWin32Platform::ConsoleButtonClicked(VPlatformInstance*, uint32_t raw, uintptr_t,
                                              uintptr_t lParam) {
    if (raw != WM_COMMAND || consoleButton_ == nullptr ||
        reinterpret_cast<HWND>(lParam) != consoleButton_) {
        return kConsoleButtonNotClicked;
    }
    const LRESULT state = SendMessageW(consoleButton_, BM_GETCHECK, 0, 0);
    return state == BST_CHECKED ? kConsoleButtonChecked : kConsoleButtonUnchecked;
}
