// The last word of a program in a page: the page shows the message box's caption and text in
// place of the program, the sound stops, and the process ends at once. As everywhere, nothing
// of the program runs after it: no destructors, no exit handlers, no saving; the runtime halts
// and the browser calls none of the program's callbacks again.
#include <emscripten.h>
#include <unistd.h>

#include "platform/fatal_error.h"

namespace {

// clang-format off
EM_JS(void, WebFatalEnd, (const char* caption, const char* text, int code), {
    if (Module.vaneFatalError) Module.vaneFatalError(UTF8ToString(caption), UTF8ToString(text), code);
    for (const audio of Module.vaneAudio || []) {
        if (audio) audio.context.close().catch(() => {});
    }
    // Halted: the runtime calls none of the program's callbacks again and runs no exit code.
    ABORT = true;
});
// clang-format on

}  // namespace

void PlatformFatalError(const char* text, const char* caption, int exitCode) {
    emscripten_cancel_main_loop();
    WebFatalEnd(caption != nullptr ? caption : "", text != nullptr ? text : "", exitCode);
    _exit(exitCode);
}
