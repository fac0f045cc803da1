// Framework messages: how a platform layer drives the framework.
//
// The platform sends each message through VaneProcessMessage, which runs the start-up, a frame
// step, a state change, an input callback or the exit, and may answer in the record itself.
#pragma once

#include <cstdint>

struct VPlatformInstance;

// A framework message: a code and three parameters, answered in place. Parameters are
// pointer-sized because window handles and instance handles travel in them.
struct VMessage {
    uint32_t code = 0;
    uintptr_t param1 = 0;
    uintptr_t param2 = 0;
    uintptr_t param3 = 0;
};

enum : uint32_t {
    VMSG_WINDOWMSG = 0,      // raw window message, its first and second parameter
    VMSG_FRAME = 1,          // run one frame step
    VMSG_VERSION = 2,        // answered with the framework identifier in param1
    VMSG_RESETCLOCK = 3,     // update the frame clock without running a frame
    VMSG_CREATE = 16,        // instance handle: create the application and its window
    VMSG_DESTROY = 17,       // hand over error text and exit code, delete the application
    VMSG_DISPLAYSTART = 18,  // the window exists: start the display and run the main loop
    VMSG_STOP = 19,          // the window is being destroyed
    VMSG_LOOPEND = 20,       // the main loop ended
    VMSG_ROTATE = 21,        // screen angle in degrees
    VMSG_ACTIVATE = 22,      // 0 gained focus, 1 lost focus, 2 hidden
    VMSG_PAINT = 23,         // the platform asks for a repaint
    VMSG_24 = 24,            // handled, nothing done
    VMSG_KEYDOWN = 256,      // key code
    VMSG_KEYUP = 257,        // key code
    VMSG_CHAR = 258,         // character, key code
    VMSG_PENUP = 259,        // button (0 left, 1 right, 2 middle), x, y
    VMSG_PENDOWN = 260,      // button, x, y
    VMSG_PENDOUBLE = 261,    // button, x, y
    VMSG_PENMOVE = 262,      // 0, x, y
    VMSG_WHEEL = 263,        // direction, +1 or -1
    VMSG_TILT = 264,         // x, y
};

// Application states.
enum : uint8_t {
    VSTATE_RUNNING = 0,
    VSTATE_INACTIVE = 1,
    VSTATE_SUSPENDED = 2,
    VSTATE_STARTING = 3,
    VSTATE_STOPPING = 4,
    VSTATE_EXITED = 255,
};

// The framework's message function. Returns true when the message was handled. VMSG_VERSION
// and VMSG_CREATE are handled without an application; every other message goes to the
// application in slot 0 of the instance and is not handled while none exists.
bool VaneProcessMessage(VPlatformInstance* instance, VMessage* message);

// Sends a message with the given parameters; for platform code that has no record at hand.
bool VaneSendMessage(VPlatformInstance* instance, uint32_t code, uintptr_t param1 = 0,
                     uintptr_t param2 = 0, uintptr_t param3 = 0);
