#include <unistd.h>

#include <cstring>

#include "platform/fatal_error.h"

namespace {

// Writes all of text to the error stream, retrying short writes; errors are ignored because
// the process is about to end and has no one else to tell.
void WriteToErrorStream(const char* text) {
    size_t left = std::strlen(text);
    while (left > 0) {
        const ssize_t n = write(STDERR_FILENO, text, left);
        if (n <= 0) return;
        text += n;
        left -= static_cast<size_t>(n);
    }
}

}  // namespace

void PlatformFatalError(const char* text, const char* caption, int exitCode) {
    // Unbuffered writes and _exit: nothing of the program's own state is run or flushed, so a
    // half-initialised program cannot fail again on the way out.
    WriteToErrorStream(caption != nullptr ? caption : "");
    WriteToErrorStream(": ");
    WriteToErrorStream(text != nullptr ? text : "");
    WriteToErrorStream("\n");
    _exit(exitCode);
}
