// The DirectDraw screen service: its Open results, the primary's pixel formats, a frame written
// through it into a window, and the back buffers of every format as a whole program's window
// shows them.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "framework/application_factory.h"
#include "framework/screen.h"
#include "framework/vane.h"
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

// Draws one band per colour into a back buffer of the format asked for, and reads the window's
// pixels a few frames later, when the present has reached the 32-bit desktop.
struct BandCase {
    uint8_t bufferFormat;
    std::vector<uint32_t> colours;  // colour values: red in bits 0-7
    std::vector<COLORREF> shown;
};
const BandCase* bandCase = nullptr;
std::vector<COLORREF>* bandsShown = nullptr;

constexpr int32_t kBandWidth = 240, kBandHeight = 40;

class BandPainter : public ClassVane {
  public:
    int OnConfigureDisplay(VScreenSettings& settings) override {
        const char16_t caption[] = u"win32 band test";
        std::memcpy(settings.caption, caption, sizeof(caption));
        settings.bufferFormat = bandCase->bufferFormat;
        settings.width = kBandWidth;
        settings.height = kBandHeight * int32_t(bandCase->colours.size());
        return 0;
    }
    int OnFrame(ClassVScreen& screen, uint32_t) override {
        if (++frames_ == 4) {
            HWND window = reinterpret_cast<HWND>(GetWindowHandle());
            HDC dc = GetDC(window);
            for (size_t i = 0; i < bandCase->colours.size(); ++i) {
                bandsShown->push_back(GetPixel(dc, kBandWidth / 2, kBandHeight * int32_t(i) + 7));
            }
            ReleaseDC(window, dc);
            Quit();
        }
        for (size_t i = 0; i < bandCase->colours.size(); ++i) {
            const VRect band{0, kBandHeight * int32_t(i), kBandWidth, kBandHeight * int32_t(i + 1)};
            screen.BackBuffer().FillRect(&band, bandCase->colours[i]);
        }
        return 0;
    }

  private:
    uint32_t frames_ = 0;
};

// A back buffer in another format than the screen's reaches it through the present's
// conversion: each channel's bits at the top of its byte, the bits below them zero.
TEST(Win32Screen, BackBufferFormatsAsTheWindowShowsThem) {
    const BandCase cases[] = {
        {32,
         {0xFFFFFF, 0x336699, 0x0F070F},
         {RGB(255, 255, 255), RGB(0x99, 0x66, 0x33), RGB(0x0F, 0x07, 0x0F)}},
        {4,
         {0xFFFFFF, 0x0000FF, 0x0F070F, 0x336699},
         {RGB(248, 252, 248), RGB(248, 0, 0), RGB(8, 4, 8), RGB(0x98, 0x64, 0x30)}},
        {3, {0xFFFFFF, 0x0F070F}, {RGB(248, 252, 248), RGB(8, 4, 8)}},  // taken as 5-6-5
        {2, {0xFFFFFF, 0x336699}, {RGB(240, 240, 240), RGB(0x90, 0x60, 0x30)}},
    };
    VApplicationRegistration registration(&MakeApplication<BandPainter>);
    for (const BandCase& c : cases) {
        std::vector<COLORREF> shown;
        bandCase = &c;
        bandsShown = &shown;
        VWin32Platform platform(GetModuleHandleW(nullptr));
        EXPECT_EQ(platform.Run(L""), 0u) << int(c.bufferFormat);
        EXPECT_EQ(shown, c.shown) << "buffer format " << int(c.bufferFormat);
    }
    bandCase = nullptr;
    bandsShown = nullptr;
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
