// The display: where the back buffer's pixels land on the screen for each orientation, the
// repaint requests and the screen rotation message.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "tests/framework/recorder.h"

namespace {

constexpr uint32_t kWidth = 8;
constexpr uint32_t kHeight = 12;

uint16_t PixelAt(const VHeadlessPicture& p, uint32_t x, uint32_t y) {
    uint16_t v;
    std::memcpy(&v, &p.pixels[size_t(y) * p.pitch + size_t(x) * 2], 2);
    return v;
}

struct TurnCase {
    const char* name;
    uint8_t orientation;
    uint8_t native;
    uint32_t logicalWidth;
    // Physical position of logical (x, y) on the 8 × 12 screen.
    std::function<void(uint32_t x, uint32_t y, uint32_t* px, uint32_t* py)> place;
};

class Orientation : public testing::TestWithParam<TurnCase> {};

TEST_P(Orientation, BackBufferLandsTurned) {
    const TurnCase& c = GetParam();
    VHeadlessOptions options;
    options.frameBudget = 1;
    options.nativeOrientation = c.native;
    Harness h(options);
    h.script.configureDisplay = [&](VScreenSettings& s) {
        s.width = kWidth;
        s.height = kHeight;
        s.orientation = c.orientation;
    };
    uint32_t logicalWidth = 0, logicalHeight = 0;
    h.script.frame = [&](ClassVane&, ClassVScreen& screen, uint32_t) {
        logicalWidth = screen.GetWidth();
        logicalHeight = screen.GetHeight();
        SurfaceLayout l;
        uint8_t* pixels = screen.BackBuffer().Lock(&l);
        for (uint32_t y = 0; y < logicalHeight; ++y) {
            for (uint32_t x = 0; x < logicalWidth; ++x) {
                const uint16_t v = uint16_t(y * 100 + x + 1);
                std::memcpy(pixels + l.origin + intptr_t(x) * l.xstep + intptr_t(y) * l.ystep, &v,
                            2);
            }
        }
        screen.BackBuffer().Unlock();
    };
    h.Run();
    ASSERT_EQ(logicalWidth, c.logicalWidth);
    ASSERT_EQ(logicalWidth * logicalHeight, kWidth * kHeight);
    const VHeadlessPicture& picture = h.platform.Picture();
    ASSERT_EQ(picture.width, kWidth);
    for (uint32_t y = 0; y < logicalHeight; ++y) {
        for (uint32_t x = 0; x < logicalWidth; ++x) {
            uint32_t px, py;
            c.place(x, y, &px, &py);
            ASSERT_EQ(PixelAt(picture, px, py), y * 100 + x + 1) << "logical " << x << "," << y;
        }
    }
}

void Upright(uint32_t x, uint32_t y, uint32_t* px, uint32_t* py) {
    *px = x;
    *py = y;
}
void Quarter(uint32_t x, uint32_t y, uint32_t* px, uint32_t* py) {
    *px = kWidth - 1 - y;
    *py = x;
}
void Half(uint32_t x, uint32_t y, uint32_t* px, uint32_t* py) {
    *px = kWidth - 1 - x;
    *py = kHeight - 1 - y;
}
void ThreeQuarters(uint32_t x, uint32_t y, uint32_t* px, uint32_t* py) {
    *px = y;
    *py = kHeight - 1 - x;
}

INSTANTIATE_TEST_SUITE_P(Screen, Orientation,
                         testing::Values(TurnCase{"None", 0, 0, kWidth, Upright},
                                         TurnCase{"Turn90", 1, 0, kHeight, Quarter},
                                         TurnCase{"Turn180", 2, 0, kWidth, Half},
                                         TurnCase{"Turn270", 3, 0, kHeight, ThreeQuarters},
                                         // The screen is already turned as wanted: nothing to turn.
                                         TurnCase{"AlreadyTurned", 1, 1, kWidth, Upright},
                                         TurnCase{"FollowScreen", 6, 3, kWidth, Upright},
                                         // Portrait on a screen higher than wide: upright.
                                         TurnCase{"Portrait", 4, 0, kWidth, Upright},
                                         // Landscape on a screen higher than wide: a quarter turn.
                                         TurnCase{"Landscape", 5, 0, kHeight, Quarter}),
                         [](const testing::TestParamInfo<TurnCase>& info) {
                             return info.param.name;
                         });

struct PaintCase {
    const char* name;
    uint8_t fullScreen;
    uint32_t flags;
    bool suspended;
    uint32_t extraPresents;
};

class Repaint : public testing::TestWithParam<PaintCase> {};

TEST_P(Repaint, PresentsOnlyInAWindow) {
    const PaintCase& c = GetParam();
    VHeadlessOptions options;
    options.frameBudget = 2;
    Harness h(options);
    h.script.configure = [&](VAppSettings& a) {
        a.flags = c.flags | kFlagNoAutoPresent;
        a.suspendWhenInactive = 1;
    };
    h.script.configureDisplay = [&](VScreenSettings& s) { s.fullScreen = c.fullScreen; };
    bool stillSuspended = false;
    h.script.frame = [&](ClassVane&, ClassVScreen& screen, uint32_t frame) {
        if (frame != 0) return;
        if (c.suspended) screen.Suspend();
        VPlatformInstance* instance = const_cast<VPlatformInstance*>(h.platform.Instance());
        VMessage paint = Message(VMSG_PAINT);
        EXPECT_FALSE(VaneProcessMessage(instance, &paint)) << "never reported as handled";
        stillSuspended = screen.IsSuspended();
        screen.Resume();
    };
    h.Run();
    EXPECT_EQ(h.platform.Picture().presents, c.extraPresents);
    EXPECT_EQ(stillSuspended, c.suspended);
}

INSTANTIATE_TEST_SUITE_P(Screen, Repaint,
                         testing::Values(PaintCase{"Window", 0, 0, false, 1},
                                         PaintCase{"WindowSuspended", 0, 0, true, 1},
                                         PaintCase{"FullScreen", 1, 0, false, 0},
                                         PaintCase{"Ignored", 0, kFlagIgnoreRepaint, false, 0}),
                         [](const testing::TestParamInfo<PaintCase>& info) {
                             return info.param.name;
                         });

struct RotateCase {
    const char* name;
    uint8_t fullScreen;
    uint8_t orientation;
    uint32_t degrees;
    uint32_t logicalWidth;  // after the rotation, on an 8 × 12 screen
};

class Rotate : public testing::TestWithParam<RotateCase> {};

TEST_P(Rotate, ReappliesTheOrientation) {
    const RotateCase& c = GetParam();
    VHeadlessOptions options;
    options.frameBudget = 3;
    Harness h(options);
    h.script.configureDisplay = [&](VScreenSettings& s) {
        s.width = kWidth;
        s.height = kHeight;
        s.fullScreen = c.fullScreen;
        s.orientation = c.orientation;
    };
    uint32_t width = 0;
    h.script.frame = [&](ClassVane&, ClassVScreen& screen, uint32_t) { width = screen.GetWidth(); };
    h.platform.InjectMessage(1, Message(VMSG_ROTATE, c.degrees));
    h.Run();
    EXPECT_EQ(width, c.logicalWidth);
    EXPECT_EQ(h.log.Count("OnDisplayChange"), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Screen, Rotate,
    testing::Values(
        // In a window the new native orientation is applied: the picture stays upright.
        RotateCase{"Window90", 0, 0, 90, kWidth},
        // In full screen the orientation in force is kept, so the picture turns back.
        RotateCase{"FullScreen90", 1, 0, 90, kHeight},
        RotateCase{"FullScreen180", 1, 0, 180, kWidth},
        RotateCase{"FullScreenFollowScreen", 1, 6, 270, kWidth},
        RotateCase{"OddAngleIsNone", 1, 0, 45, kWidth}),
    [](const testing::TestParamInfo<RotateCase>& info) { return info.param.name; });

TEST(Screen, UnknownOrientationChangesNothing) {
    VHeadlessOptions options;
    options.frameBudget = 1;
    Harness h(options);
    bool accepted = true;
    uint8_t orientation = 9;
    h.script.frame = [&](ClassVane&, ClassVScreen& screen, uint32_t) {
        accepted = screen.SetOrientation(8);
        orientation = screen.Orientation();
    };
    h.Run();
    EXPECT_FALSE(accepted);
    EXPECT_EQ(orientation, 0);
    EXPECT_EQ(h.log.Count("OnDisplayChange"), 0u);
}

TEST(Screen, DirectionKeysFollowTheTurn) {
    VHeadlessOptions options;
    options.frameBudget = 3;
    Harness h(options);
    h.script.configureDisplay = [](VScreenSettings& s) {
        s.width = kWidth;
        s.height = kHeight;
        s.orientation = 1;
    };
    for (uint32_t key : {38u, 37u, 40u, 39u, 65u})
        h.platform.InjectMessage(1, Message(VMSG_KEYDOWN, key));
    h.Run();
    // Up → left, left → down, down → right, right → up; other keys unchanged.
    EXPECT_EQ(h.log.values, (std::vector<int32_t>{37, 40, 39, 38, 65}));
}

}  // namespace
