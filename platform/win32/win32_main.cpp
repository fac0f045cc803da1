// The process entry of a Windows program: the Win32 layer runs whatever application the
// program registered with the framework's factory (VANE_APPLICATION), with the command line
// after the program's name.
#include <windows.h>

#include "platform/win32/win32_platform.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    VWin32Platform platform(instance);
    return int(platform.Run(commandLine));
}
