// The input state: action map, held codes, key repeat, the event queue, characters, names,
// and what the framework feeds it (right button, tilt emulation).
#include "framework/input_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/framework/recorder.h"

namespace {

constexpr uint32_t kEnter = 13, kSpace = 32, kZ = 90, kF6 = 117, kF7 = 118;

struct Fixture : testing::Test {
    Fixture() { input.Initialise(); }
    std::vector<uint8_t> Kinds(uint32_t code) const {
        std::vector<uint8_t> kinds;
        for (uint32_t i = 0; i < input.eventCount; ++i)
            if (input.events[i].code == code) kinds.push_back(input.events[i].kind);
        return kinds;
    }
    ClassVInputState input;
};

using InputState = Fixture;

TEST_F(InputState, CodeStaysHeldWhileAnotherOfItsKeysIsDown) {
    input.KeyDown(kZ);
    input.KeyDown(kSpace);
    input.KeyUp(kZ);
    EXPECT_TRUE(input.Held(196)) << "Space still holds it";
    EXPECT_TRUE(input.Held(212));
    EXPECT_FALSE(input.Held(213)) << "'X' only";
    input.KeyUp(kSpace);
    EXPECT_FALSE(input.Held(196));
    EXPECT_FALSE(input.Held(212));
}

TEST_F(InputState, FunctionKeysMapToTheirGroups) {
    input.KeyDown(kF6);
    input.KeyDown(kF7);
    EXPECT_TRUE(input.Held(198));
    EXPECT_TRUE(input.Held(199));
    input.KeyUp(kF6);
    EXPECT_FALSE(input.Held(198));
    EXPECT_TRUE(input.Held(199));
}

TEST_F(InputState, OneKeyPressesEveryCodeItIsMappedTo) {
    input.KeyDown(kEnter);  // 196, 201 and 214
    EXPECT_EQ(input.eventCount, 3);
    EXPECT_EQ(input.lastKey, kEnter);
    for (uint32_t code : {196u, 201u, 214u}) {
        EXPECT_TRUE(input.Held(code)) << code;
        EXPECT_EQ(Kinds(code), std::vector<uint8_t>{VINPUT_PRESSED}) << code;
    }
    input.FrameEnd();
    input.KeyUp(kEnter);
    EXPECT_EQ(Kinds(201), std::vector<uint8_t>{VINPUT_RELEASED});
}

// Held for a second in 20 ms frames: pressed, a repeat at 300 ms, then every 100 ms.
TEST_F(InputState, RepeatsAfterTheFirstDelayThenAtTheInterval) {
    input.KeyDown(38);  // 160, 192, 208
    std::vector<uint32_t> repeatTimes;
    std::vector<uint8_t> kinds = Kinds(160);
    for (uint32_t t = 20; t <= 1000; t += 20) {
        input.FrameEnd();
        input.FrameBegin(20);
        for (uint8_t kind : Kinds(160)) {
            kinds.push_back(kind);
            repeatTimes.push_back(t);
        }
    }
    EXPECT_EQ(kinds.front(), VINPUT_PRESSED);
    EXPECT_EQ(repeatTimes, (std::vector<uint32_t>{300, 400, 500, 600, 700, 800, 900, 1000}));
    EXPECT_TRUE(input.Repeating(160));
}

TEST_F(InputState, HeldTimeSaturates) {
    input.KeyDown(kZ);
    input.firstRepeatDelay = 0xFFFFFFFF;  // never repeats, so the time only grows
    input.FrameBegin(60000);
    input.FrameBegin(60000);
    EXPECT_EQ(input.HeldTime(196), 65535u);
}

TEST_F(InputState, TheThirtyThirdEventIsDropped) {
    for (uint32_t i = 0; i < 33; ++i) input.PenDown(int32_t(i), 0, 1);
    EXPECT_EQ(input.eventCount, 32);
    EXPECT_EQ(input.events[31].x, 31);
    input.FrameEnd();
    EXPECT_EQ(input.eventCount, 0);
}

TEST_F(InputState, ActionMapLimits) {
    EXPECT_FALSE(input.AddAction(224, 65)) << "stylus codes are not actions";
    while (input.actionCount < kInputActions) ASSERT_TRUE(input.AddAction(5, 65));
    EXPECT_FALSE(input.AddAction(5, 66)) << "map full";
    input.KeyDown(65);
    EXPECT_TRUE(input.Held(5));
    EXPECT_EQ(input.eventCount, 32) << "events stop at the queue size";
}

TEST_F(InputState, CharactersSkipKeysOfCode200AndStopAt32) {
    ASSERT_TRUE(input.AddAction(200, 9));
    input.Character(u'\t', 9);
    EXPECT_EQ(input.characterCount, 0);
    for (uint32_t i = 0; i < 33; ++i) input.Character(char16_t(u'a' + i % 26), 65);
    EXPECT_EQ(input.characterCount, 32);
    EXPECT_EQ(input.characters[1], u'b');
}

TEST_F(InputState, StylusButtonsAndReset) {
    input.PenDouble(3, 4, 1);
    EXPECT_TRUE(input.Held(225));
    EXPECT_EQ(Kinds(225), std::vector<uint8_t>{VINPUT_DOUBLE});
    input.PenDown(0, 0, 4);  // no such button: nothing at all
    EXPECT_EQ(input.stylusX, 3);
    input.Wheel(-5);
    input.Wheel(0);
    input.Wheel(2);
    EXPECT_EQ(input.wheel, 0);
    input.Wheel(-1);
    input.KeyDown(kZ);
    input.Reset();
    EXPECT_FALSE(input.Held(225));
    EXPECT_FALSE(input.Held(196));
    EXPECT_EQ(input.wheel, 0);
    EXPECT_EQ(input.eventCount, 0);
    input.KeyUp(kZ);  // a release after the reset is harmless
    EXPECT_FALSE(input.Held(196));
}

TEST_F(InputState, NameTable) {
    struct Name {
        uint32_t code;
        const char* name;
    };
    for (const Name& n : {Name{33, "A"}, Name{0, " "}, Name{95, "\x7F"}, Name{96, "Up"},
                          Name{113, "Space"}, Name{127, "Scroll lock"}, Name{147, "Stop"}}) {
        ASSERT_NE(input.Name(n.code), nullptr) << n.code;
        EXPECT_STREQ(input.Name(n.code), n.name) << n.code;
    }
    EXPECT_EQ(input.Name(148), nullptr);
    EXPECT_EQ(input.Name(196), nullptr);
}

// Through the framework: a right click changes code 226 but calls no callback.
TEST(InputDispatch, RightClickUpdatesTheStateOnly) {
    VHeadlessOptions options;
    options.frameBudget = 3;
    Harness h(options);
    h.platform.InjectMessage(1, Message(VMSG_PENDOWN, 1, 10, 20));
    h.platform.InjectMessage(2, Message(VMSG_PENUP, 1, 10, 20));
    std::vector<bool> held;
    h.script.frame = [&](ClassVane& app, ClassVScreen&, uint32_t) {
        held.push_back(app.Input().Held(226));
    };
    h.Run();
    EXPECT_EQ(held, (std::vector<bool>{false, true, false}));
    EXPECT_EQ(h.log.Count("OnPenDown"), 0u);
    EXPECT_EQ(h.log.Count("OnPenUp"), 0u);
}

// Tilt beyond the threshold presses the emulated direction key; back inside releases it.
TEST(InputDispatch, TiltEmulatesKeysAndStylus) {
    VHeadlessOptions options;
    options.frameBudget = 4;
    Harness h(options);
    h.script.frame = [&](ClassVane& app, ClassVScreen&, uint32_t frame) {
        if (frame == 0) app.SetTiltSettings(0, 0, 1, 7000, 1, 3000);
    };
    // Raw units are 1/32 of the centre's; tilt x = -4000 is past the -3000 threshold.
    h.platform.InjectMessage(1, Message(VMSG_TILT, uintptr_t(intptr_t(-4000)), 0));
    h.platform.InjectMessage(2, Message(VMSG_TILT, 0, 0));
    h.Run();
    std::vector<std::string> keys;
    for (const std::string& call : h.log.calls)
        if (call.rfind("OnKey", 0) == 0 || call.rfind("OnPen", 0) == 0) keys.push_back(call);
    EXPECT_EQ(keys, (std::vector<std::string>{"OnKeyDown", "OnPenDown", "OnKeyUp", "OnPenMove"}));
}

}  // namespace
