#include "tests/platform/win32/recording_platform.h"

#include <cstdio>
#include <cstring>

#include "framework/messages.h"

std::string MessageText(uint32_t code, uintptr_t p1, uintptr_t p2, uintptr_t p3) {
    const auto i = [](uintptr_t v) { return long(intptr_t(v)); };
    char text[96];
    switch (code) {
        case VMSG_WINDOWMSG:
            std::snprintf(text, sizeof(text), "window 0x%lx", i(p1));
            break;
        case VMSG_KEYDOWN:
            std::snprintf(text, sizeof(text), "keydown %ld", i(p1));
            break;
        case VMSG_KEYUP:
            std::snprintf(text, sizeof(text), "keyup %ld", i(p1));
            break;
        case VMSG_CHAR:
            std::snprintf(text, sizeof(text), "char %ld %ld", i(p1), i(p2));
            break;
        case VMSG_PENDOWN:
        case VMSG_PENUP:
        case VMSG_PENDOUBLE:
        case VMSG_PENMOVE: {
            const char* name = code == VMSG_PENDOWN     ? "pendown"
                               : code == VMSG_PENUP     ? "penup"
                               : code == VMSG_PENDOUBLE ? "pendouble"
                                                        : "penmove";
            std::snprintf(text, sizeof(text), "%s %ld %ld %ld", name, i(p1), i(p2), i(p3));
            break;
        }
        case VMSG_WHEEL:
            std::snprintf(text, sizeof(text), "wheel %ld", i(p1));
            break;
        case VMSG_ACTIVATE:
            std::snprintf(text, sizeof(text), "activate %ld", i(p1));
            break;
        case VMSG_FRAME:
            return "frame";
        case VMSG_PAINT:
            return "paint";
        case VMSG_DISPLAYSTART:
            return "displaystart";
        case VMSG_STOP:
            return "stop";
        case VMSG_DESTROY:
            return "destroy";
        case VMSG_LOOPEND:
            return "loopend";
        case VMSG_CREATE:
            return "create";
        default:
            std::snprintf(text, sizeof(text), "message %u", code);
            break;
    }
    return text;
}

bool RecordingPlatform::Send(VPlatformInstance* instance, uint32_t code, uintptr_t p1, uintptr_t p2,
                             uintptr_t p3) {
    messages.push_back(MessageText(code, p1, p2, p3));
    return forward_ && VWin32Platform::Send(instance, code, p1, p2, p3);
}

LayerWindow::LayerWindow(uint8_t statusLine, uint32_t menu) {
    instance.layer = &platform;
    const char caption[] = "win32 layer test";
    std::memcpy(setup.caption, caption, sizeof(caption));
    setup.width = 240;
    setup.height = 320;
    setup.statusLine = statusLine;
    setup.menu = menu;
    setup.skipSingleInstanceCheck = 1;
    setup.cursorShown = 1;
    created = platform.CreateMainWindow(&instance, setup);
    RecordingPlatform::Pump();
    platform.messages.clear();
}

LayerWindow::~LayerWindow() {
    if (instance.window != 0) {
        instance.destroying = 1;
        DestroyWindow(Handle());
    }
    RecordingPlatform::Pump();
}
