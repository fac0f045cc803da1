// The window and dialog procedures and the message handler: every system message is first
// offered to the framework as VMSG_WINDOWMSG (its answer is the default), then translated by
// the rows below, in this order.
#include <windowsx.h>

#include "framework/messages.h"
#include "platform/win32/win32_platform.h"

namespace {

// Timer of the dialog mode, which drives frames every 10 ms.
constexpr UINT_PTR kFrameTimer = 1;
constexpr UINT kFrameTimerMs = 10;
// Application slot of the dialog's own window procedure while it is subclassed.
constexpr size_t kDialogProcedureSlot = 8;
// Bit 30 of a key message's second parameter: the key was already down (auto-repeat).
constexpr LPARAM kKeyWasDown = LPARAM(1) << 30;

VPlatformInstance* InstanceOf(HWND window) {
    return reinterpret_cast<VPlatformInstance*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

VWin32Platform* PlatformOf(VPlatformInstance* instance) {
    return instance != nullptr ? static_cast<VWin32Platform*>(instance->layer) : nullptr;
}

// The button index of a mouse message: 0 left, 1 right, 2 middle.
uint32_t ButtonOf(UINT message) {
    switch (message) {
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
            return 1;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK:
            return 2;
        default:
            return 0;
    }
}

// A framework coordinate from a signed 16-bit position (a captured mouse may lie left of or
// above the window).
uintptr_t Coordinate(int32_t value) {
    return uintptr_t(intptr_t(value));
}

// Answers WM_GETDLGCODE so that arrow keys and Enter reach the program instead of moving the
// dialog's focus; everything else goes to the dialog's own procedure.
LRESULT CALLBACK DialogSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETDLGCODE) return DLGC_WANTALLKEYS;
    VPlatformInstance* instance = InstanceOf(window);
    auto previous = reinterpret_cast<WNDPROC>(
        instance != nullptr ? instance->applicationSlots[kDialogProcedureSlot] : nullptr);
    if (previous == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return CallWindowProcW(previous, window, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK VWin32Platform::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* instance = static_cast<VPlatformInstance*>(create->lpCreateParams);
        if (VWin32Platform* platform = PlatformOf(instance)) platform->Attach(window);
    }
    VWin32Platform* platform = PlatformOf(InstanceOf(window));
    LRESULT result = 1;
    if (platform != nullptr && platform->HandleMessage(window, message, wParam, lParam, &result)) {
        return result;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

INT_PTR CALLBACK VWin32Platform::DialogProcedure(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* instance = reinterpret_cast<VPlatformInstance*>(lParam);
        if (VWin32Platform* platform = PlatformOf(instance)) {
            platform->Attach(window);
            instance->applicationSlots[kDialogProcedureSlot] =
                reinterpret_cast<void*>(SetWindowLongPtrW(
                    window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DialogSubclass)));
        }
    }
    VPlatformInstance* instance = InstanceOf(window);
    VWin32Platform* platform = PlatformOf(instance);
    if (message == WM_DESTROY && instance != nullptr &&
        instance->applicationSlots[kDialogProcedureSlot] != nullptr) {
        SetWindowLongPtrW(
            window, GWLP_WNDPROC,
            reinterpret_cast<LONG_PTR>(instance->applicationSlots[kDialogProcedureSlot]));
        instance->applicationSlots[kDialogProcedureSlot] = nullptr;
    }
    LRESULT result = 1;
    if (platform == nullptr) return FALSE;
    return platform->HandleMessage(window, message, wParam, lParam, &result) ? TRUE : FALSE;
}

bool VWin32Platform::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                   LRESULT* result) {
    VPlatformInstance* instance = instance_;
    bool handled = Send(instance, VMSG_WINDOWMSG, message, wParam, uintptr_t(lParam));
    *result = 1;
    switch (message) {
        case WM_KEYDOWN:
            // A held key sends one key-down; the input state makes the repeats.
            if (wParam != 0 && !(lParam & kKeyWasDown)) Send(instance, VMSG_KEYDOWN, wParam);
            return true;
        case WM_KEYUP:
            if (wParam != 0) Send(instance, VMSG_KEYUP, wParam);
            return true;
        case WM_CHAR:
            Send(instance, VMSG_CHAR, wParam,
                 MapVirtualKeyW(UINT(lParam >> 16) & 0xFF, MAPVK_VSC_TO_VK));
            return true;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK: {
            const uint32_t button = ButtonOf(message);
            SetCapture(window);
            buttonsHeld_[button] = 1;
            const bool twice = message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK ||
                               message == WM_MBUTTONDBLCLK;
            SendPen(twice ? VMSG_PENDOUBLE : VMSG_PENDOWN, button, lParam);
            return true;
        }
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            const uint32_t button = ButtonOf(message);
            buttonsHeld_[button] = 0;
            SendPen(VMSG_PENUP, button, lParam);
            ReleaseCapture();
            return true;
        }
        case WM_MOUSEMOVE:
            SendPen(VMSG_PENMOVE, 0, lParam);
            return true;
        case WM_MOUSEWHEEL:
            Send(instance, VMSG_WHEEL, Coordinate(GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? -1 : 1));
            return true;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != window) PostHeldButtonsUp(window);
            return handled;
        case WM_INITDIALOG:
            // The dialog is the loop: its timer drives the frames until Quit or its close.
            instance->running = 1;
            Send(instance, VMSG_DISPLAYSTART);
            SetTimer(window, kFrameTimer, kFrameTimerMs, nullptr);
            return handled;
        case WM_TIMER:
            Send(instance, VMSG_FRAME);
            if (DialogMode() && !instance->running && instance->window != 0) {
                EndDialog(window, 3);
            }
            return handled;
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_CLOSE:
                    // The default handling closes and destroys the window; WM_DESTROY then
                    // ends the program.
                    PlatformQuit(instance);
                    return false;
                case SC_SIZE:
                case SC_MOVE:
                case SC_MAXIMIZE:
                case SC_KEYMENU:
                case SC_MONITORPOWER:
                    if (FullScreen()) return true;
                    return false;
                default:
                    return handled;
            }
        case WM_CREATE:
            if (!instance->setup.cursorShown) {
                ShowCursor(FALSE);
                cursorHidden_ = true;
            }
            return handled;
        case WM_DESTROY:
            if (DialogMode()) KillTimer(window, kFrameTimer);
            if (cursorHidden_) {
                SetCursor(LoadCursorW(nullptr, IDC_ARROW));
                ShowCursor(TRUE);
                cursorHidden_ = false;
            }
            statusText_ = nullptr;
            consoleButton_ = nullptr;
            if (instance->window == 0) return handled;
            {
                const bool byTheLoop = instance->destroying != 0;
                WindowDestroyed(instance);
                if (byTheLoop) return true;
            }
            PostQuitMessage(int(instance->exitCode));
            return handled;
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED || wParam == SIZE_MAXHIDE) {
                SendMessageW(window, WM_SHOWWINDOW, FALSE, 0);
            }
            return false;
        case WM_ACTIVATE:
            Send(instance, VMSG_ACTIVATE, LOWORD(wParam) == WA_INACTIVE ? 1 : 0);
            return handled;
        case WM_KILLFOCUS:
            SendMessageW(window, WM_ACTIVATE, WA_INACTIVE, 0);
            return false;
        case WM_PAINT:
            // The default handling validates the window afterwards.
            Send(instance, VMSG_PAINT);
            return handled;
        case WM_CLOSE:
            // The dialog's WM_DESTROY clears the window handle on the exit sequence's path.
            if (DialogMode()) {
                EndDialog(window, 3);
                return true;
            }
            return handled;
        case WM_SHOWWINDOW:
            if (!wParam) Send(instance, VMSG_ACTIVATE, 2);
            return false;
        case WM_SETCURSOR:
            if (!instance->setup.cursorShown && LOWORD(lParam) == HTCLIENT) {
                SetCursor(nullptr);
                return true;
            }
            return handled;
        case WM_NCHITTEST:
            if (FullScreen()) {
                *result = HTCLIENT;
                return true;
            }
            return handled;
        default:
            return handled;
    }
}

void VWin32Platform::SendPen(uint32_t code, uint32_t button, LPARAM position) {
    Send(instance_, code, button, Coordinate(GET_X_LPARAM(position)),
         Coordinate(GET_Y_LPARAM(position)));
}

void VWin32Platform::PostHeldButtonsUp(HWND window) {
    // The window no longer sees the mouse: each button still held is let go where the cursor
    // is now.
    static constexpr UINT kUp[3] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(window, &cursor);
    for (uint32_t button = 0; button < 3; ++button) {
        if (!buttonsHeld_[button]) continue;
        PostMessageW(window, kUp[button], 0, MAKELPARAM(cursor.x, cursor.y));
    }
}
