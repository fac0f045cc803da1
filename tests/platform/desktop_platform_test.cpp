// The desktop layer driving the framework, on SDL's dummy video driver: events pushed into
// SDL's queue reach the application as the framework's messages, the screen service shows the
// framework's pixels, and the window's close box ends the program on the framework's path.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "framework/application_factory.h"
#include "framework/vane.h"
#include "platform/desktop/desktop_platform.h"
#include "platform/desktop/desktop_screen.h"

namespace {

struct Log {
    std::vector<std::string> calls;
    std::vector<int32_t> values;
    std::u16string characters;
    std::string titleAtFrame;
    uint32_t exits = 0;
    uint32_t destroyed = 0;
};

struct Script {
    uint32_t width = 240, height = 320;
    uint8_t statusBar = 1;
    // Suspend and resume are logged too (the dummy driver hides and shows the window once
    // while the renderer is made, so only tests about them look).
    bool logStates = false;
    // Called at each frame with its index; returns false to quit.
    std::function<bool(ClassVane&, uint32_t frame)> frame;
};

Log* log = nullptr;
Script* script = nullptr;

class Probe : public ClassVane {
  public:
    ~Probe() override { ++log->destroyed; }
    int OnConfigureDisplay(VScreenSettings& settings) override {
        const char16_t caption[] = u"probe";
        std::memcpy(settings.caption, caption, sizeof(caption));
        settings.width = script->width;
        settings.height = script->height;
        settings.statusBar = script->statusBar;
        return 0;
    }
    int OnFrame(ClassVScreen&, uint32_t) override {
        for (uint32_t i = 0; i < Input().characterCount; ++i) {
            log->characters += char16_t(Input().characters[i]);
        }
        if (!script->frame(*this, frames_++)) Quit();
        return 0;
    }
    void OnExit(uintptr_t) override { ++log->exits; }
    void OnKeyDown(uint32_t key, VKeyList&) override { Record("down", int32_t(key)); }
    void OnKeyUp(uint32_t key, VKeyList&) override { Record("up", int32_t(key)); }
    void OnPenDown(int32_t x, int32_t y) override { Record("pendown", x, y); }
    void OnPenUp(int32_t x, int32_t y) override { Record("penup", x, y); }
    void OnPenDoubleTap(int32_t x, int32_t y) override { Record("pendouble", x, y); }
    void OnWheel(int32_t direction) override { Record("wheel", direction); }
    int OnSuspend() override {
        if (script->logStates) Record("suspend", 0);
        return 0;
    }
    int OnResume() override {
        if (script->logStates) Record("resume", 0);
        return 0;
    }

  private:
    static void Record(const char* name, int32_t a, int32_t b = 0) {
        log->calls.push_back(name);
        log->values.push_back(a);
        log->values.push_back(b);
    }
    uint32_t frames_ = 0;
};

SDL_Event KeyEvent(uint32_t type, SDL_Keycode key, SDL_Scancode scancode, uint8_t repeat) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym.sym = key;
    e.key.keysym.scancode = scancode;
    e.key.repeat = repeat;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    return e;
}

SDL_Event ButtonEvent(uint32_t type, uint8_t button, int32_t x, int32_t y, uint8_t clicks) {
    SDL_Event e{};
    e.type = type;
    e.button.button = button;
    e.button.x = x;
    e.button.y = y;
    e.button.clicks = clicks;
    return e;
}

SDL_Event WindowEvent(uint8_t which) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = which;
    return e;
}

void Push(SDL_Event e) {
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
}

class DesktopPlatform : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        log = &log_;
        script = &script_;
        options_.messageBox = false;
        options_.scale = 2;
    }
    void TearDown() override {
        log = nullptr;
        script = nullptr;
    }
    uint32_t Run() {
        VApplicationRegistration registration{&MakeApplication<Probe>};
        VDesktopPlatform platform(options_);
        const uint32_t code = platform.Run();
        errorText_.assign(platform.Instance()->errorText);
        return code;
    }

    Log log_;
    Script script_;
    VDesktopOptions options_;
    std::u16string errorText_;
};

TEST_F(DesktopPlatform, KeysArriveOnceAsVirtualKeyCodes) {
    script_.frame = [](ClassVane&, uint32_t frame) {
        if (frame == 0) {
            Push(KeyEvent(SDL_KEYDOWN, SDLK_LEFT, SDL_SCANCODE_LEFT, 0));
            Push(KeyEvent(SDL_KEYDOWN, SDLK_LEFT, SDL_SCANCODE_LEFT, 1));  // auto-repeat
            Push(KeyEvent(SDL_KEYDOWN, SDLK_LEFT, SDL_SCANCODE_LEFT, 1));
            Push(KeyEvent(SDL_KEYUP, SDLK_LEFT, SDL_SCANCODE_LEFT, 0));
            Push(KeyEvent(SDL_KEYDOWN, SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, 0));  // no code
            Push(KeyEvent(SDL_KEYDOWN, SDLK_z, SDL_SCANCODE_Z, 0));
        }
        return frame < 2;
    };
    EXPECT_EQ(Run(), 0u);
    EXPECT_EQ(log_.calls, (std::vector<std::string>{"down", "up", "down"}));
    EXPECT_EQ(log_.values, (std::vector<int32_t>{37, 0, 37, 0, 'Z', 0}));
}

TEST_F(DesktopPlatform, TextAndControlKeysBecomeCharacters) {
    script_.frame = [](ClassVane&, uint32_t frame) {
        if (frame == 0) {
            SDL_Event text{};
            text.type = SDL_TEXTINPUT;
            std::strcpy(text.text.text, "a\xC3\xA9\xF0\x9F\x98\x80");  // a, é, an emoji
            Push(text);
            Push(KeyEvent(SDL_KEYDOWN, SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, 0));
            Push(KeyEvent(SDL_KEYDOWN, SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, 1));
        }
        return frame < 2;
    };
    EXPECT_EQ(Run(), 0u);
    // The emoji is a surrogate pair; a held Backspace types again, as a held key does.
    EXPECT_EQ(log_.characters, std::u16string(u"a\u00E9\U0001F600\b\b"));
}

TEST_F(DesktopPlatform, MousePositionsInDisplayPixels) {
    script_.frame = [](ClassVane&, uint32_t frame) {
        if (frame == 0) {
            // The window is twice the display's size.
            Push(ButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 101, 151, 1));
            Push(ButtonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 479, 639, 1));
            Push(ButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 20, 40, 2));
            Push(ButtonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, -3, 40, 2));  // captured
            Push(ButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 20, 40, 1));  // no such pen
            SDL_Event wheel{};
            wheel.type = SDL_MOUSEWHEEL;
            wheel.wheel.y = -3;
            Push(wheel);
            wheel.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
            Push(wheel);
        }
        return frame < 2;
    };
    EXPECT_EQ(Run(), 0u);
    // A double click is a pen-down and a double tap to the application.
    EXPECT_EQ(log_.calls, (std::vector<std::string>{"pendown", "penup", "pendown", "pendouble",
                                                    "penup", "wheel", "wheel"}));
    EXPECT_EQ(log_.values,
              (std::vector<int32_t>{50, 75, 239, 319, 10, 20, 10, 20, -2, 20, -1, 0, 1, 0}));
}

TEST_F(DesktopPlatform, LosingTheFocusLetsGoOfAHeldButton) {
    script_.frame = [](ClassVane&, uint32_t frame) {
        if (frame == 0) {
            Push(ButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 100, 100, 1));
            Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
            Push(ButtonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 100, 100, 1));
            Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));  // frames run again
        }
        return frame < 2;
    };
    EXPECT_EQ(Run(), 0u);
    // One pen-up, at the cursor, when the focus went; the late button-up is not a second one.
    EXPECT_EQ(log_.calls, (std::vector<std::string>{"pendown", "penup"}));
}

TEST_F(DesktopPlatform, MinimisingSuspendsAndRestoringResumes) {
    script_.logStates = true;
    script_.frame = [](ClassVane&, uint32_t frame) {
        if (frame == 0) {
            Push(WindowEvent(SDL_WINDOWEVENT_MINIMIZED));
            Push(WindowEvent(SDL_WINDOWEVENT_RESTORED));
            Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
        }
        return frame < 2;
    };
    EXPECT_EQ(Run(), 0u);
    // Two pairs while the renderer is made, then the minimised window's.
    EXPECT_EQ(log_.calls, (std::vector<std::string>{"suspend", "resume", "suspend", "resume",
                                                    "suspend", "resume"}));
}

TEST_F(DesktopPlatform, TheCloseBoxEndsTheProgramOnce) {
    uint32_t frames = 0;
    script_.frame = [&frames](ClassVane&, uint32_t frame) {
        frames = frame + 1;
        if (frame == 1) {
            Push(WindowEvent(SDL_WINDOWEVENT_CLOSE));
            Push(KeyEvent(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A, 0));  // after the close: unseen
        }
        return true;
    };
    EXPECT_EQ(Run(), 0u);
    EXPECT_EQ(frames, 2u);
    EXPECT_EQ(log_.exits, 1u);
    EXPECT_EQ(log_.destroyed, 1u);
    EXPECT_TRUE(log_.calls.empty());
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

TEST_F(DesktopPlatform, StatusTextFollowsTheCaption) {
    struct Case {
        uint8_t statusBar;
        const char* title;
    };
    for (const Case c : {Case{1, "probe - 12 frames"}, Case{0, "probe"}}) {
        script_.statusBar = c.statusBar;
        std::string title;
        script_.frame = [&title](ClassVane& app, uint32_t frame) {
            if (frame == 0) app.ShowStatus(u" 12 frames");
            if (frame == 1) {
                title = SDL_GetWindowTitle(reinterpret_cast<SDL_Window*>(app.GetWindowHandle()));
            }
            return frame < 1;
        };
        EXPECT_EQ(Run(), 0u);
        EXPECT_EQ(title, c.title);
    }
}

TEST_F(DesktopPlatform, AWindowTooBigForTheDesktopIsRefused) {
    // The dummy driver's desktop is 1024 × 768.
    script_.height = 800;
    script_.frame = [](ClassVane&, uint32_t) { return false; };
    EXPECT_NE(Run(), 0u);
    EXPECT_EQ(errorText_, u"Can't create window, it's too big for the current resolution");
}

}  // namespace
