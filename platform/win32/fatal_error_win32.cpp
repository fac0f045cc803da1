// The fatal-error box on Windows: a modal message box with the error icon, then the process
// ends at once.
#include <windows.h>

#include "platform/fatal_error.h"

namespace {

constexpr int kTextCapacity = 2048;

// UTF-8 to the system's wide text, into a fixed buffer so that nothing is allocated on the
// way out; a text that does not fit is shown up to the last whole character that does.
void ToWide(const char* text, wchar_t (&out)[kTextCapacity]) {
    out[0] = 0;
    if (text == nullptr) return;
    int length = lstrlenA(text);
    while (length > 0) {
        const int n = MultiByteToWideChar(CP_UTF8, 0, text, length, out, kTextCapacity - 1);
        if (n > 0) {
            out[n] = 0;
            return;
        }
        // Too long: drop the last byte and any continuation bytes before it.
        --length;
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
    }
}

}  // namespace

void PlatformFatalError(const char* text, const char* caption, int exitCode) {
    static wchar_t wideText[kTextCapacity];
    static wchar_t wideCaption[kTextCapacity];
    ToWide(text, wideText);
    ToWide(caption, wideCaption);
    MessageBoxW(nullptr, wideText, wideCaption,
                MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
    // Nothing of the program's own state is run or flushed on the way out, so a
    // half-initialised program cannot fail again.
    ExitProcess(UINT(exitCode));
}
