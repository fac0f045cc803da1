// The last word of a program that cannot go on: the user is told why and the process ends.
#pragma once

// Shows text under caption to the user (a message box where the platform has one, the error
// stream otherwise) and ends the process at once with exit code: no destructors, no exit
// handlers, no saving. Both strings are UTF-8. Never returns.
[[noreturn]] void PlatformFatalError(const char* text, const char* caption, int exitCode);
