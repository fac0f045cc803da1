// Input messages reach the callbacks only while the application runs, in the order the
// platform sent them, turned for the display orientation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/framework/recorder.h"

namespace {

using Calls = std::vector<std::string>;

struct InputCase {
    const char* name;
    std::vector<VMessage> messages;
    Calls calls;
    std::vector<int32_t> values;
};

class InputCallbacks : public testing::TestWithParam<InputCase> {};

TEST_P(InputCallbacks, WhileRunning) {
    const InputCase& c = GetParam();
    VHeadlessOptions options;
    options.frameBudget = 3;
    Harness h(options);
    for (const VMessage& m : c.messages) h.platform.InjectMessage(1, m);
    h.Run();
    Calls calls;
    for (const std::string& call : h.log.Lifecycle()) {
        if (call.rfind("OnKey", 0) == 0 || call.rfind("OnPen", 0) == 0 || call == "OnWheel" ||
            call == "OnTilt") {
            calls.push_back(call);
        }
    }
    EXPECT_EQ(calls, c.calls);
    EXPECT_EQ(h.log.values, c.values);
}

const uintptr_t kMinusOne = uintptr_t(intptr_t(-1));

INSTANTIATE_TEST_SUITE_P(
    Input, InputCallbacks,
    testing::Values(
        InputCase{"Keys",
                  {Message(VMSG_KEYDOWN, 38), Message(VMSG_KEYUP, 38)},
                  {"OnKeyDown", "OnKeyUp"},
                  {38, 38}},
        InputCase{"KeyCodeZeroIgnored", {Message(VMSG_KEYDOWN, 0)}, {}, {}},
        InputCase{"LeftButton",
                  {Message(VMSG_PENDOWN, 0, 10, 20), Message(VMSG_PENUP, 0, 11, 21)},
                  {"OnPenDown", "OnPenUp"},
                  {10, 20, 11, 21}},
        // Right and middle buttons update the input state only.
        InputCase{"RightAndMiddleButtons",
                  {Message(VMSG_PENDOWN, 1, 5, 5), Message(VMSG_PENUP, 2, 5, 5)},
                  {},
                  {}},
        InputCase{"DoubleTapIsDownThenDouble",
                  {Message(VMSG_PENDOUBLE, 0, 3, 4)},
                  {"OnPenDown", "OnPenDoubleTap"},
                  {3, 4, 3, 4}},
        InputCase{"MoveWithAnyButton", {Message(VMSG_PENMOVE, 0, 7, 8)}, {"OnPenMove"}, {7, 8}},
        InputCase{"Wheel",
                  {Message(VMSG_WHEEL, 1), Message(VMSG_WHEEL, kMinusOne)},
                  {"OnWheel", "OnWheel"},
                  {1, -1}},
        // Tilt values arrive in units of 1/32, shifted arithmetically. The default settings
        // emulate the stylus: centre (0, 675 × 32), range 7000 over the 320-pixel side, so x 64
        // lands at (64 + 7000) × 320 / 14000 − 40 = 121 and y, clamped to −7000, at 0.
        InputCase{"Tilt",
                  {Message(VMSG_TILT, 64, uintptr_t(intptr_t(-65)))},
                  {"OnTilt", "OnPenDown"},
                  {2, -3, 121, 0}}),
    [](const testing::TestParamInfo<InputCase>& info) { return info.param.name; });

TEST(Input, NothingReachesTheApplicationUnlessRunning) {
    VHeadlessOptions options;
    options.frameBudget = 6;
    Harness h(options);
    h.platform.InjectMessage(2, Message(VMSG_ACTIVATE, 2));
    for (uint32_t code : {VMSG_KEYDOWN, VMSG_PENDOWN, VMSG_PENMOVE, VMSG_WHEEL, VMSG_TILT}) {
        h.platform.InjectMessage(3, Message(code, 1, 1, 1));
    }
    h.platform.InjectMessage(4, Message(VMSG_ACTIVATE, 1));  // inactive is not running either
    h.platform.InjectMessage(4, Message(VMSG_KEYDOWN, 65));
    h.Run();
    EXPECT_TRUE(h.log.values.empty());
}

TEST(Input, StateFollowsTheCallbacks) {
    VHeadlessOptions options;
    options.frameBudget = 3;
    Harness h(options);
    h.platform.InjectMessage(1, Message(VMSG_KEYDOWN, 90));
    h.platform.InjectMessage(1, Message(VMSG_PENDOWN, 1, 30, 40));
    h.platform.InjectMessage(1, Message(VMSG_WHEEL, uintptr_t(intptr_t(-1))));
    h.platform.InjectMessage(1, Message(VMSG_CHAR, 'z', 90));
    bool keyHeld = false, rightHeld = false;
    int32_t x = 0, wheel = 0;
    uint32_t characters = 0;
    h.script.frame = [&](ClassVane& app, ClassVScreen&, uint32_t frame) {
        if (frame != 1) return;
        keyHeld = app.Input().Held(196);
        rightHeld = app.Input().Held(226);
        x = app.Input().stylusX;
        wheel = app.Input().wheel;
        characters = app.Input().characterCount;
    };
    h.Run();
    EXPECT_TRUE(keyHeld);
    EXPECT_TRUE(rightHeld);
    EXPECT_EQ(x, 30);
    EXPECT_EQ(wheel, -1);
    EXPECT_EQ(characters, 1u);
}

}  // namespace
