#include "platform/web/web_events.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include "platform/web/double_press.h"
#include "platform/web/web_platform.h"

namespace {

struct EventState {
    VWebPlatform* platform = nullptr;
    bool registered = false;
    uint32_t buttonsHeld = 0;  // bit b: framework button b is down
    bool touching = false;
    long touchId = 0;
    int32_t lastX = 0, lastY = 0;
    VDoublePress doublePress;
};
EventState state;

// A page point (client coordinates) in display pixels of the canvas; false when the canvas
// has no size on the page.
// clang-format off
EM_JS(bool, WebCanvasPoint,
      (const char* selector, double clientX, double clientY, int32_t* x, int32_t* y), {
          const canvas = document.querySelector(UTF8ToString(selector));
          if (!canvas) return false;
          const box = canvas.getBoundingClientRect();
          if (box.width <= 0 || box.height <= 0) return false;
          HEAP32[x >> 2] = Math.floor((clientX - box.left) * canvas.width / box.width);
          HEAP32[y >> 2] = Math.floor((clientY - box.top) * canvas.height / box.height);
          return true;
      });
// clang-format on

void Post(uint32_t code, uintptr_t p1 = 0, uintptr_t p2 = 0, uintptr_t p3 = 0) {
    VMessage message;
    message.code = code;
    message.param1 = p1;
    message.param2 = p2;
    message.param3 = p3;
    state.platform->Post(message);
}

void Activate(uint32_t how) {
    VMessage message;
    message.code = VMSG_ACTIVATE;
    message.param1 = how;
    state.platform->Deliver(message);
}

// Signed values travel in the message's pointer-sized parameters as the framework reads them.
uintptr_t Param(int32_t v) {
    return uintptr_t(intptr_t(v));
}

bool Locate(double clientX, double clientY) {
    int32_t x = 0, y = 0;
    if (!WebCanvasPoint(state.platform->CanvasSelector(), clientX, clientY, &x, &y)) return false;
    state.lastX = x;
    state.lastY = y;
    return true;
}

bool Inside() {
    return state.lastX >= 0 && state.lastY >= 0 &&
           uint32_t(state.lastX) < state.platform->ScreenWidth() &&
           uint32_t(state.lastY) < state.platform->ScreenHeight();
}

void Press(uint32_t button) {
    const uint32_t now = state.platform->GetTime();
    const bool twice = state.doublePress.Press(button, state.lastX, state.lastY, now);
    state.buttonsHeld |= 1u << button;
    Post(twice ? VMSG_PENDOUBLE : VMSG_PENDOWN, button, Param(state.lastX), Param(state.lastY));
}

void Release(uint32_t button) {
    if (!(state.buttonsHeld & (1u << button))) return;
    state.buttonsHeld &= ~(1u << button);
    Post(VMSG_PENUP, button, Param(state.lastX), Param(state.lastY));
}

// The UTF-8 text of a key as one UTF-16 character, or 0 when it is a named key ("Enter") or
// lies outside the basic plane.
char16_t KeyCharacter(const char* key) {
    const auto* s = reinterpret_cast<const unsigned char*>(key);
    if (s[0] == 0) return 0;
    if (s[0] < 0x80) return s[1] == 0 ? char16_t(s[0]) : 0;
    if ((s[0] & 0xE0) == 0xC0 && (s[1] & 0xC0) == 0x80 && s[2] == 0) {
        return char16_t((s[0] & 0x1F) << 6 | (s[1] & 0x3F));
    }
    if ((s[0] & 0xF0) == 0xE0 && (s[1] & 0xC0) == 0x80 && (s[2] & 0xC0) == 0x80 && s[3] == 0) {
        return char16_t((s[0] & 0x0F) << 12 | (s[1] & 0x3F) << 6 | (s[2] & 0x3F));
    }
    return 0;
}

// Keys the browser keeps for itself: reload, full screen, the developer tools, and every
// shortcut with Control, Alt or the system key.
bool BrowserKeepsKey(const EmscriptenKeyboardEvent* e) {
    return e->ctrlKey || e->altKey || e->metaKey || e->keyCode == 0x74 || e->keyCode == 0x7A ||
           e->keyCode == 0x7B;
}

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* e, void*) {
    const uint32_t key = e->keyCode;
    // Held keys repeat in the input state, not in messages, as on the desktop.
    if (key != 0 && key < 256 && !e->repeat) {
        if (type == EMSCRIPTEN_EVENT_KEYDOWN) {
            Post(VMSG_KEYDOWN, key);
        } else {
            Post(VMSG_KEYUP, key);
        }
    }
    if (type == EMSCRIPTEN_EVENT_KEYDOWN && key != 0 && !e->ctrlKey && !e->metaKey) {
        if (const char16_t c = KeyCharacter(e->key)) Post(VMSG_CHAR, c, key);
    }
    return !BrowserKeepsKey(e);
}

// DOM buttons 0 left, 1 middle, 2 right; the framework's 0 left, 1 right, 2 middle.
bool FrameworkButton(unsigned short domButton, uint32_t* button) {
    static constexpr uint32_t kButtons[3] = {0, 2, 1};
    if (domButton > 2) return false;
    *button = kButtons[domButton];
    return true;
}

EM_BOOL OnMouse(int type, const EmscriptenMouseEvent* e, void*) {
    const bool located = Locate(double(e->clientX), double(e->clientY));
    uint32_t button = 0;
    switch (type) {
        case EMSCRIPTEN_EVENT_MOUSEDOWN:
            if (!located || !Inside() || !FrameworkButton(e->button, &button)) return false;
            Press(button);
            return true;
        case EMSCRIPTEN_EVENT_MOUSEUP:
            // Heard on the whole page, so that a button let go beside the canvas still ends
            // its press, as a captured mouse does.
            if (FrameworkButton(e->button, &button)) Release(button);
            return false;
        case EMSCRIPTEN_EVENT_MOUSEMOVE:
            if (located && (Inside() || state.buttonsHeld != 0)) {
                Post(VMSG_PENMOVE, 0, Param(state.lastX), Param(state.lastY));
            }
            return false;
        default:
            return false;
    }
}

EM_BOOL OnWheel(int, const EmscriptenWheelEvent* e, void*) {
    if (e->deltaY == 0) return false;
    // Away from the user (up) is a positive step, as the desktop's wheel counts.
    Post(VMSG_WHEEL, Param(e->deltaY < 0 ? 1 : -1));
    return true;
}

// One finger is the stylus: the first to touch, until it lifts.
EM_BOOL OnTouch(int type, const EmscriptenTouchEvent* e, void*) {
    for (int i = 0; i < e->numTouches; ++i) {
        const EmscriptenTouchPoint& t = e->touches[i];
        if (!t.isChanged) continue;
        if (type == EMSCRIPTEN_EVENT_TOUCHSTART) {
            if (state.touching) continue;
            if (!Locate(double(t.clientX), double(t.clientY)) || !Inside()) continue;
            state.touching = true;
            state.touchId = t.identifier;
            Press(0);
        } else if (state.touching && t.identifier == state.touchId) {
            Locate(double(t.clientX), double(t.clientY));
            if (type == EMSCRIPTEN_EVENT_TOUCHMOVE) {
                Post(VMSG_PENMOVE, 0, Param(state.lastX), Param(state.lastY));
            } else {
                state.touching = false;
                Release(0);
            }
        }
    }
    // Taken by the program: no scrolling, zooming or mouse events made up from touches.
    return true;
}

EM_BOOL OnFocus(int type, const EmscriptenFocusEvent*, void*) {
    Activate(type == EMSCRIPTEN_EVENT_FOCUS ? 0 : 1);
    return false;
}

EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent* e, void*) {
    // A hidden page runs no animation frames: the program hears it at once and suspends.
    Activate(e->hidden ? 2 : 0);
    return false;
}

void SetAll(const char* canvas, bool on) {
    const char* page = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(page, nullptr, true, on ? OnKey : nullptr);
    emscripten_set_keyup_callback(page, nullptr, true, on ? OnKey : nullptr);
    emscripten_set_mousedown_callback(canvas, nullptr, true, on ? OnMouse : nullptr);
    emscripten_set_mouseup_callback(page, nullptr, true, on ? OnMouse : nullptr);
    emscripten_set_mousemove_callback(page, nullptr, true, on ? OnMouse : nullptr);
    emscripten_set_wheel_callback(canvas, nullptr, true, on ? OnWheel : nullptr);
    emscripten_set_touchstart_callback(canvas, nullptr, true, on ? OnTouch : nullptr);
    emscripten_set_touchmove_callback(canvas, nullptr, true, on ? OnTouch : nullptr);
    emscripten_set_touchend_callback(canvas, nullptr, true, on ? OnTouch : nullptr);
    emscripten_set_touchcancel_callback(canvas, nullptr, true, on ? OnTouch : nullptr);
    emscripten_set_focus_callback(page, nullptr, true, on ? OnFocus : nullptr);
    emscripten_set_blur_callback(page, nullptr, true, on ? OnFocus : nullptr);
    emscripten_set_visibilitychange_callback(nullptr, true, on ? OnVisibility : nullptr);
}

}  // namespace

bool RegisterWebEvents(VWebPlatform& platform) {
    if (state.registered) UnregisterWebEvents(*state.platform);
    const int r =
        emscripten_set_mousedown_callback(platform.CanvasSelector(), nullptr, true, OnMouse);
    if (r != EMSCRIPTEN_RESULT_SUCCESS) return false;
    state = EventState{};
    state.platform = &platform;
    state.registered = true;
    SetAll(platform.CanvasSelector(), true);
    return true;
}

void UnregisterWebEvents(VWebPlatform& platform) {
    if (!state.registered || state.platform != &platform) return;
    SetAll(platform.CanvasSelector(), false);
    state = EventState{};
}
