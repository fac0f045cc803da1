// The window the layer makes: its size for the display with and without the status line and
// menu, the status line's controls and the console button's answers, and the end of a whole
// program through the close command.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/application_factory.h"
#include "framework/messages.h"
#include "framework/vane.h"
#include "tests/platform/win32/recording_platform.h"

namespace {

constexpr uint32_t kMenuId = 200;  // test_menu.rc

struct SizeCase {
    uint8_t statusLine;
    uint32_t menu;
};

TEST(Win32Window, SizedForTheDisplayWithAndWithoutStatusLineAndMenu) {
    for (const SizeCase c :
         {SizeCase{0, 0}, SizeCase{1, 0}, SizeCase{0, kMenuId}, SizeCase{1, kMenuId}}) {
        SCOPED_TRACE("status line " + std::to_string(c.statusLine) + ", menu " +
                     std::to_string(c.menu));
        LayerWindow window(c.statusLine, c.menu);
        ASSERT_EQ(window.created, kWindowCreated);
        window.platform.SizeWindowForDisplay(&window.instance, 240, 320);
        const HWND hwnd = window.Handle();
        const int32_t status = c.statusLine ? GetSystemMetrics(SM_CYMENU) * 5 / 4 : 0;

        // The system's own rule for the outer size of a client area, and the layer's.
        RECT expected{0, 0, 240, 320 + status};
        AdjustWindowRectEx(&expected, DWORD(GetWindowLongPtrW(hwnd, GWL_STYLE)), c.menu != 0, 0);
        RECT outer{};
        GetWindowRect(hwnd, &outer);
        EXPECT_EQ(outer.right - outer.left, expected.right - expected.left);
        EXPECT_EQ(outer.bottom - outer.top, expected.bottom - expected.top);
        const VWin32Size computed =
            WindowSizeForDisplay(CurrentFrameMetrics(), 240, 320, c.menu != 0, c.statusLine != 0);
        EXPECT_EQ(computed.width, expected.right - expected.left);
        EXPECT_EQ(computed.height, expected.bottom - expected.top);
        RECT client{};
        GetClientRect(hwnd, &client);
        EXPECT_EQ(client.right, 240);
        EXPECT_EQ(client.bottom, 320 + status);
        // Centred on the desktop.
        EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2);

        // The status line lies under the display: text across, the button h × h at its end;
        // without the status line both lie below the client area.
        const int32_t h = GetSystemMetrics(SM_CYMENU) * 5 / 4;
        RECT text{}, button{};
        GetWindowRect(window.platform.StatusText(), &text);
        GetWindowRect(window.platform.ConsoleButtonWindow(), &button);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&text), 2);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&button), 2);
        EXPECT_EQ(text.top, 320);
        EXPECT_EQ(text.left, 0);
        EXPECT_EQ(text.right, 240 - h);
        EXPECT_EQ(button.left, 240 - h);
        EXPECT_EQ(button.right - button.left, h);
        EXPECT_EQ(button.bottom - button.top, h);
        wchar_t shown[64] = {};
        GetWindowTextW(window.platform.StatusText(), shown, 64);
        EXPECT_STREQ(shown, L" Starting display...");

        // A second call moves rather than makes the controls.
        const HWND first = window.platform.StatusText();
        window.platform.SizeWindowForDisplay(&window.instance, 320, 240);
        EXPECT_EQ(window.platform.StatusText(), first);
        GetClientRect(hwnd, &client);
        EXPECT_EQ(client.right, 320);
        EXPECT_EQ(client.bottom, 240 + status);
    }
}

TEST(Win32Window, StatusTextAndClientArea) {
    LayerWindow window;
    window.platform.SizeWindowForDisplay(&window.instance, 240, 320);
    window.platform.SetStatusText(&window.instance, u"12.50 frames per second");
    wchar_t shown[64] = {};
    GetWindowTextW(window.platform.StatusText(), shown, 64);
    EXPECT_STREQ(shown, L"12.50 frames per second");

    POINT corner{0, 0};
    ClientToScreen(window.Handle(), &corner);
    VPlatformRect area{};
    ASSERT_TRUE(window.platform.GetClientArea(&window.instance, &area));
    EXPECT_EQ(area.left, corner.x);
    EXPECT_EQ(area.top, corner.y);
    EXPECT_EQ(area.right - area.left, 240);
}

TEST(Win32Window, ConsoleButtonAnswers) {
    LayerWindow window;
    window.platform.SizeWindowForDisplay(&window.instance, 240, 320);
    VWin32Platform& layer = window.platform;
    const HWND button = layer.ConsoleButtonWindow();
    const HWND text = layer.StatusText();
    ASSERT_NE(button, nullptr);
    const auto clicked = [&](HWND from) {
        return layer.ConsoleButtonClicked(&window.instance, WM_COMMAND, BN_CLICKED,
                                          reinterpret_cast<uintptr_t>(from));
    };
    layer.SetConsoleButton(&window.instance, true);
    EXPECT_EQ(clicked(button), kConsoleButtonChecked);
    layer.SetConsoleButton(&window.instance, false);
    EXPECT_EQ(clicked(button), kConsoleButtonUnchecked);
    EXPECT_EQ(clicked(text), kConsoleButtonNotClicked);
    EXPECT_EQ(layer.ConsoleButtonClicked(&window.instance, WM_KEYDOWN, 'C',
                                         reinterpret_cast<uintptr_t>(button)),
              kConsoleButtonNotClicked);
    // A real click checks the push-like box and reaches the window as WM_COMMAND.
    window.platform.messages.clear();
    SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageW(button, BM_GETCHECK, 0, 0), BST_CHECKED);
    bool command = false;
    for (const std::string& m : window.platform.messages) command |= m == "window 0x111";
    EXPECT_TRUE(command);
}

TEST(Win32Window, SecondInstanceIsFoundByClassAndCaption) {
    LayerWindow first;
    LayerWindow second;  // skips the check
    VPlatformInstance instance;
    RecordingPlatform platform(false);
    instance.layer = &platform;
    VWindowSetup setup = first.setup;
    setup.skipSingleInstanceCheck = 0;
    EXPECT_EQ(platform.CreateMainWindow(&instance, setup), kWindowOtherInstance);
    EXPECT_EQ(instance.window, 0u);
}

// The close command ends a whole program: Quit, the window goes at once, OnExit runs once and
// the application is handed over (VMSG_DESTROY) before the main loop ends; the framework
// deletes it as VMSG_CREATE, which the loop runs inside, unwinds.
std::vector<std::string>* events = nullptr;

class Closer : public ClassVane {
  public:
    ~Closer() override { events->push_back("deleted"); }
    int OnConfigureDisplay(VScreenSettings& settings) override {
        const char16_t caption[] = u"win32 close test";
        std::memcpy(settings.caption, caption, sizeof(caption));
        return 0;
    }
    int OnFrame(ClassVScreen&, uint32_t) override {
        if (++frames_ == 3) {
            PostMessageW(reinterpret_cast<HWND>(GetWindowHandle()), WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return 0;
    }
    void OnExit(uintptr_t) override { events->push_back("exit"); }

  private:
    uint32_t frames_ = 0;
};

class EventPlatform : public RecordingPlatform {
  public:
    EventPlatform() : RecordingPlatform(true) {}

  protected:
    bool Send(VPlatformInstance* instance, uint32_t code, uintptr_t p1, uintptr_t p2,
              uintptr_t p3) override {
        if (code == VMSG_STOP || code == VMSG_DESTROY || code == VMSG_LOOPEND) {
            events->push_back(MessageText(code, p1, p2, p3));
        }
        return RecordingPlatform::Send(instance, code, p1, p2, p3);
    }
};

TEST(Win32Window, CloseCommandEndsTheProgramOnTheFrameworksPath) {
    std::vector<std::string> log;
    events = &log;
    VApplicationRegistration registration(&MakeApplication<Closer>);
    EventPlatform platform;
    EXPECT_EQ(platform.Run(L""), 0u);
    events = nullptr;
    // After the loop: VMSG_DESTROY once more from the entry, with nothing left to delete.
    const std::vector<std::string> expected = {"stop",    "exit",    "destroy",
                                               "loopend", "deleted", "destroy"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(platform.Instance()->window, 0u);
}

}  // namespace
