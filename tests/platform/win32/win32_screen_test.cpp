// The DirectDraw screen service: its Open results, the primary's pixel formats, and a frame
// written through it into a window.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/win32_screen.h"
#include "tests/platform/win32/recording_platform.h"

namespace {

TEST(Win32Screen, OpenResults) {
    LayerWindow window;
    const uintptr_t hwnd = window.instance.window;
    // A library without the entry, and no library at all: the display is missing.
    VWin32Screen noEntry(nullptr, L"kernel32.dll", "DirectDrawCreate");
    EXPECT_EQ(noEntry.Open(1, hwnd, 16, 240, 320, false, false), kScreenLibraryMissing);
    VWin32Screen noLibrary(nullptr, L"no_such_ddraw_here.dll");
    EXPECT_EQ(noLibrary.Open(1, hwnd, 16, 240, 320, false, false), kScreenLibraryMissing);
    VWin32Screen ddraw(nullptr);
    for (uint32_t method : {0u, 2u, 3u}) {
        EXPECT_EQ(ddraw.Open(method, hwnd, 16, 240, 320, false, false), kScreenMethodUnsupported);
    }
    EXPECT_FALSE(ddraw.IsOpen());
    EXPECT_EQ(ddraw.Open(1, 0, 16, 240, 320, false, false), kScreenCallFailed);
    ASSERT_EQ(ddraw.Open(1, hwnd, 16, 240, 320, false, false), kScreenOpened);
    EXPECT_TRUE(ddraw.IsOpen());
    ddraw.Close();
    EXPECT_FALSE(ddraw.IsOpen());
}

TEST(Win32Screen, WindowedFrameReachesTheDesktopAtTheClientArea) {
    LayerWindow window;
    window.platform.SizeWindowForDisplay(&window.instance, 240, 320);
    VWin32Screen screen(&window.platform);
    ASSERT_EQ(screen.Open(1, window.instance.window, 32, 240, 320, false, false), kScreenOpened);
    const VScreenMode mode = screen.Mode();
    EXPECT_EQ(mode.width, 240u);
    EXPECT_EQ(mode.height, 320u);
    EXPECT_EQ(mode.xStep, int32_t((mode.bitsPerPixel + 7) / 8));
    EXPECT_GE(mode.yStep, int32_t(GetSystemMetrics(SM_CXSCREEN)) * mode.xStep);
    ASSERT_EQ(mode.bitsPerPixel, 32u) << "the X server runs at 24 bits, shown as 32";

    VPlatformRect area{};
    ASSERT_TRUE(window.platform.GetClientArea(&window.instance, &area));
    VScreenLock lock;
    ASSERT_TRUE(screen.Lock(&lock));
    EXPECT_FALSE(screen.Lock(&lock)) << "locked twice";
    for (int32_t y = 0; y < 320; ++y) {
        auto* row =
            reinterpret_cast<uint32_t*>(lock.address + (area.top + y) * lock.pitch) + area.left;
        for (int32_t x = 0; x < 240; ++x) row[x] = 0x00336699;
    }
    screen.Unlock();
    HDC dc = GetDC(window.Handle());
    const COLORREF shown = GetPixel(dc, 120, 160);
    ReleaseDC(window.Handle(), dc);
    EXPECT_EQ(shown, RGB(0x33, 0x66, 0x99));
}

TEST(Win32Screen, PixelFormatsOfThePrimary) {
    struct Case {
        DWORD bits, green;
        bool known;
        uint8_t r, g, b;
        int32_t step;
    };
    const Case cases[] = {
        {8, 0, true, 0, 0, 0, 1},       {16, 0x3E0, true, 5, 5, 5, 2},
        {16, 0x7E0, true, 5, 6, 5, 2},  {24, 0xFF00, true, 8, 8, 8, 3},
        {32, 0xFF00, true, 8, 8, 8, 4}, {15, 0x3E0, false, 0, 0, 0, 0},
        {12, 0xF0, false, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        DDPIXELFORMAT format{};
        format.dwSize = sizeof(format);
        format.dwRGBBitCount = c.bits;
        format.dwGBitMask = c.green;
        VScreenMode mode;
        ASSERT_EQ(ScreenModeForPixelFormat(format, &mode), c.known) << c.bits;
        if (!c.known) continue;
        EXPECT_EQ(mode.redBits, c.r) << c.bits;
        EXPECT_EQ(mode.greenBits, c.g) << c.bits;
        EXPECT_EQ(mode.blueBits, c.b) << c.bits;
        EXPECT_EQ(mode.xStep, c.step) << c.bits;
    }
}

TEST(Win32Screen, DisplayPlacementStaysInsideTheScreenMemory) {
    struct Case {
        POINT corner;
        POINT placed;
    };
    const Case cases[] = {
        {{100, 50}, {100, 50}},   {{-30, -5}, {0, 0}},    {{900, 600}, {784, 448}},
        {{784, 448}, {784, 448}}, {{-10, 700}, {0, 448}},
    };
    for (const Case& c : cases) {
        const POINT p = DisplayPlacement(c.corner, 240, 320, 1024, 768);
        EXPECT_EQ(p.x, c.placed.x) << c.corner.x << "," << c.corner.y;
        EXPECT_EQ(p.y, c.placed.y) << c.corner.x << "," << c.corner.y;
    }
    // A display larger than the memory starts at its origin.
    const POINT big = DisplayPlacement(POINT{50, 50}, 2000, 2000, 1024, 768);
    EXPECT_EQ(big.x, 0);
    EXPECT_EQ(big.y, 0);
}

}  // namespace
