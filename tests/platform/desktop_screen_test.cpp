// The desktop screen service on SDL's dummy video driver: what the framework writes through a
// lock is what the window shows after the unlock, in every pixel format, scaled to the window.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/desktop/desktop_platform.h"
#include "platform/desktop/desktop_screen.h"

namespace {

constexpr uint32_t kWidth = 8, kHeight = 6;

struct Format {
    uint32_t bits;
    uint8_t sixteenBitFormat;
    uint8_t red, green, blue;  // channel widths; 0 for the palette format
};

uint32_t Channel(uint32_t x, uint32_t y, uint32_t c) {
    return (x * 37 + y * 53 + c * 91) & 0xFF;
}

// A channel cut to its width and widened again, as a screen shows it.
uint32_t Shown(uint32_t value, uint32_t bits) {
    const uint32_t top = value >> (8 - bits);
    uint32_t out = top << (8 - bits);
    for (uint32_t filled = bits; filled < 8; filled += bits) out |= out >> filled;
    return out;
}

class DesktopScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        // Twice the screen's size: every screen pixel is a 2 × 2 square.
        window_ = SDL_CreateWindow("screen", 0, 0, kWidth * 2, kHeight * 2, 0);
        ASSERT_NE(window_, nullptr) << SDL_GetError();
    }
    void TearDown() override {
        if (window_ != nullptr) SDL_DestroyWindow(window_);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    uintptr_t Window() const { return reinterpret_cast<uintptr_t>(window_); }

    SDL_Window* window_ = nullptr;
};

TEST_F(DesktopScreen, ShowsTheLockedPixelsInEveryFormat) {
    const Format formats[] = {
        {8, 0, 0, 0, 0},  {16, 2, 4, 4, 4}, {16, 3, 5, 5, 5},
        {16, 0, 5, 6, 5}, {24, 0, 8, 8, 8}, {32, 0, 8, 8, 8},
    };
    for (const Format& f : formats) {
        SCOPED_TRACE(testing::Message() << f.bits << " bits, format " << int(f.sixteenBitFormat));
        VDesktopOptions options;
        options.sixteenBitFormat = f.sixteenBitFormat;
        VDesktopPlatform platform(options);
        VDesktopScreen screen(platform);
        ASSERT_EQ(screen.Open(1, Window(), f.bits, kWidth, kHeight, false, false), kScreenOpened);
        const VScreenMode mode = screen.Mode();
        EXPECT_EQ(mode.bitsPerPixel, f.bits);
        EXPECT_EQ(mode.redBits, f.red);
        EXPECT_EQ(mode.greenBits, f.green);
        EXPECT_EQ(mode.blueBits, f.blue);
        EXPECT_EQ(mode.width, kWidth);
        EXPECT_EQ(mode.yStep, int32_t(kWidth * ((f.bits + 7) / 8)));

        // The palette screen shows index i as palette colour i.
        uint32_t palette[256];
        for (uint32_t i = 0; i < 256; ++i) {
            palette[i] = Channel(i, 0, 0) | Channel(i, 0, 1) << 8 | Channel(i, 0, 2) << 16;
        }
        screen.SetPalette(palette);

        VScreenLock lock;
        ASSERT_TRUE(screen.Lock(&lock));
        EXPECT_FALSE(screen.Lock(&lock)) << "locked twice";
        for (uint32_t y = 0; y < kHeight; ++y) {
            for (uint32_t x = 0; x < kWidth; ++x) {
                const uint32_t r = Channel(x, y, 0), g = Channel(x, y, 1), b = Channel(x, y, 2);
                uint32_t pixel = y * kWidth + x;  // a palette index
                if (f.bits != 8) {
                    pixel = (r >> (8 - f.red)) << (f.green + f.blue) |
                            (g >> (8 - f.green)) << f.blue | b >> (8 - f.blue);
                }
                uint8_t* p = lock.address + y * uint32_t(lock.pitch) + x * lock.bytesPerPixel;
                for (uint32_t i = 0; i < lock.bytesPerPixel; ++i) p[i] = uint8_t(pixel >> (8 * i));
            }
        }
        screen.Unlock();

        uint32_t shown[kWidth * 2 * kHeight * 2] = {};
        ASSERT_EQ(SDL_RenderReadPixels(SDL_GetRenderer(window_), nullptr, SDL_PIXELFORMAT_ARGB8888,
                                       shown, kWidth * 2 * 4),
                  0)
            << SDL_GetError();
        for (uint32_t wy = 0; wy < kHeight * 2; ++wy) {
            for (uint32_t wx = 0; wx < kWidth * 2; ++wx) {
                const uint32_t x = wx / 2, y = wy / 2;
                uint32_t r = Channel(x, y, 0), g = Channel(x, y, 1), b = Channel(x, y, 2);
                if (f.bits == 8) {
                    const uint32_t i = y * kWidth + x;
                    r = Channel(i, 0, 0);
                    g = Channel(i, 0, 1);
                    b = Channel(i, 0, 2);
                } else {
                    r = Shown(r, f.red);
                    g = Shown(g, f.green);
                    b = Shown(b, f.blue);
                }
                const uint32_t got = shown[wy * kWidth * 2 + wx];
                EXPECT_NEAR(double((got >> 16) & 0xFF), double(r), 1.0) << wx << "," << wy;
                EXPECT_NEAR(double((got >> 8) & 0xFF), double(g), 1.0) << wx << "," << wy;
                EXPECT_NEAR(double(got & 0xFF), double(b), 1.0) << wx << "," << wy;
            }
        }
        screen.Close();
        EXPECT_FALSE(screen.IsOpen());
    }
}

TEST_F(DesktopScreen, OpenFailures) {
    VDesktopPlatform platform;
    VDesktopScreen screen(platform);
    EXPECT_EQ(screen.Open(2, Window(), 16, kWidth, kHeight, false, false),
              kScreenMethodUnsupported);
    EXPECT_EQ(screen.Open(1, 0, 16, kWidth, kHeight, false, false), kScreenCallFailed);
    EXPECT_EQ(screen.Open(1, Window(), 12, kWidth, kHeight, false, false), kScreenCallFailed);
    EXPECT_EQ(screen.Open(1, Window(), 16, 0, kHeight, false, false), kScreenCallFailed);
    EXPECT_FALSE(screen.IsOpen());
    VScreenLock lock;
    EXPECT_FALSE(screen.Lock(&lock));
}

TEST_F(DesktopScreen, NoLockWhileSuspended) {
    VDesktopPlatform platform;
    VDesktopScreen screen(platform);
    ASSERT_EQ(screen.Open(1, Window(), 16, kWidth, kHeight, false, false), kScreenOpened);
    VScreenLock lock;
    screen.Suspend();
    EXPECT_FALSE(screen.Lock(&lock));
    screen.Resume();
    EXPECT_TRUE(screen.Lock(&lock));
    screen.Unlock();
}

}  // namespace
