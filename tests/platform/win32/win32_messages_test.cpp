// The window procedure's message table, row by row: each system message sent to a window of
// the layer becomes VMSG_WINDOWMSG and then the framework messages of its row.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "framework/messages.h"
#include "tests/platform/win32/recording_platform.h"

namespace {

using Texts = std::vector<std::string>;

std::string Raw(UINT message) {
    char text[32];
    std::snprintf(text, sizeof(text), "window 0x%x", message);
    return text;
}

struct Row {
    const char* name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    Texts after;  // what follows the raw message
};

TEST(Win32MessageTable, EachRowSendsItsFrameworkMessages) {
    const LPARAM repeat = LPARAM(1) << 30;
    const LPARAM scanCodeOfA = LPARAM(0x1E) << 16;
    const std::vector<Row> rows = {
        {"key down", WM_KEYDOWN, 'A', 0, {"keydown 65"}},
        {"auto-repeat dropped", WM_KEYDOWN, 'A', repeat, {}},
        {"key code 0 dropped", WM_KEYDOWN, 0, 0, {}},
        {"key up", WM_KEYUP, VK_LEFT, 0, {"keyup 37"}},
        {"key up of code 0 dropped", WM_KEYUP, 0, 0, {}},
        {"character with the key of its scan code", WM_CHAR, 'a', scanCodeOfA, {"char 97 65"}},
        {"left down", WM_LBUTTONDOWN, 0, MAKELPARAM(10, 20), {"pendown 0 10 20"}},
        {"left up", WM_LBUTTONUP, 0, MAKELPARAM(11, 21), {"penup 0 11 21"}},
        {"right down", WM_RBUTTONDOWN, 0, MAKELPARAM(1, 2), {"pendown 1 1 2"}},
        {"right up", WM_RBUTTONUP, 0, MAKELPARAM(3, 4), {"penup 1 3 4"}},
        {"middle double click", WM_MBUTTONDBLCLK, 0, MAKELPARAM(5, 6), {"pendouble 2 5 6"}},
        {"middle up", WM_MBUTTONUP, 0, MAKELPARAM(5, 6), {"penup 2 5 6"}},
        {"left double click", WM_LBUTTONDBLCLK, 0, MAKELPARAM(7, 8), {"pendouble 0 7 8"}},
        {"left up after it", WM_LBUTTONUP, 0, MAKELPARAM(7, 8), {"penup 0 7 8"}},
        {"move left of and above the window",
         WM_MOUSEMOVE,
         0,
         MAKELPARAM(-3, -4),
         {"penmove 0 -3 -4"}},
        {"wheel towards the user", WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-120)), 0, {"wheel -1"}},
        {"wheel away", WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0, {"wheel 1"}},
        {"timer", WM_TIMER, 1, 0, {"frame"}},
        {"activated", WM_ACTIVATE, WA_ACTIVE, 0, {"activate 0"}},
        {"activated by a click", WM_ACTIVATE, WA_CLICKACTIVE, 0, {"activate 0"}},
        {"deactivated", WM_ACTIVATE, WA_INACTIVE, 0, {"activate 1"}},
        {"focus lost becomes inactive", WM_KILLFOCUS, 0, 0, {Raw(WM_ACTIVATE), "activate 1"}},
        {"hidden", WM_SHOWWINDOW, FALSE, 0, {"activate 2"}},
        {"shown", WM_SHOWWINDOW, TRUE, 0, {}},
        {"minimised is hidden", WM_SIZE, SIZE_MINIMIZED, 0, {Raw(WM_SHOWWINDOW), "activate 2"}},
        {"restored", WM_SIZE, SIZE_RESTORED, 0, {}},
    };
    LayerWindow window;
    ASSERT_EQ(window.created, kWindowCreated);
    for (const Row& row : rows) {
        window.platform.messages.clear();
        SendMessageW(window.Handle(), row.message, row.wParam, row.lParam);
        Texts expected{Raw(row.message)};
        expected.insert(expected.end(), row.after.begin(), row.after.end());
        Texts seen = window.platform.messages;
        // Capture changes and focus messages of the system may follow the row's own.
        if (seen.size() > expected.size()) seen.resize(expected.size());
        EXPECT_EQ(seen, expected) << row.name;
    }
}

TEST(Win32MessageTable, LostCaptureLetsTheHeldButtonGoAtTheCursor) {
    LayerWindow window;
    SendMessageW(window.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20));
    ASSERT_EQ(GetCapture(), window.Handle());
    window.platform.messages.clear();
    ReleaseCapture();
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(window.Handle(), &cursor);
    RecordingPlatform::Pump();
    const std::string up =
        MessageText(VMSG_PENUP, 0, uintptr_t(intptr_t(cursor.x)), uintptr_t(intptr_t(cursor.y)));
    size_t ups = 0, otherButtons = 0;
    for (const std::string& m : window.platform.messages) {
        if (m == up) ++ups;
        if (m.rfind("penup 1", 0) == 0 || m.rfind("penup 2", 0) == 0) ++otherButtons;
    }
    EXPECT_EQ(ups, 1u) << "expected " << up;
    EXPECT_EQ(otherButtons, 0u) << "only the held button is let go";
    // Taken by another window of ours counts as lost too; nothing is held any more.
    window.platform.messages.clear();
    SetCapture(window.Handle());
    ReleaseCapture();
    RecordingPlatform::Pump();
    for (const std::string& m : window.platform.messages) EXPECT_NE(m.rfind("penup", 0), 0u) << m;
}

TEST(Win32MessageTable, MinimisingSuspendsAndRestoringResumes) {
    LayerWindow window;
    ShowWindow(window.Handle(), SW_MINIMIZE);
    RecordingPlatform::Pump();
    std::string last;
    for (const std::string& m : window.platform.messages) {
        if (m.rfind("activate", 0) == 0) last = m;
    }
    EXPECT_EQ(last, "activate 2");
    window.platform.messages.clear();
    ShowWindow(window.Handle(), SW_RESTORE);
    SetForegroundWindow(window.Handle());
    SendMessageW(window.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    RecordingPlatform::Pump();
    last.clear();
    for (const std::string& m : window.platform.messages) {
        if (m.rfind("activate", 0) == 0) last = m;
    }
    EXPECT_EQ(last, "activate 0");
}

TEST(Win32MessageTable, HandledMessagesSkipTheDefaultHandling) {
    LayerWindow window;
    // A handled key answers 1; a windowed hit test is the system's (the caption is a caption).
    EXPECT_EQ(SendMessageW(window.Handle(), WM_KEYDOWN, 'A', 0), 1);
    RECT frame{};
    GetWindowRect(window.Handle(), &frame);
    const LRESULT onCaption =
        SendMessageW(window.Handle(), WM_NCHITTEST, 0, MAKELPARAM(frame.left + 40, frame.top + 5));
    EXPECT_EQ(onCaption, HTCAPTION);
}

}  // namespace
