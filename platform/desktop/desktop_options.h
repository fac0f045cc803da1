// What the desktop layer takes from the program's command line, and what a program or test
// may set besides.
#pragma once

#include <cstdint>
#include <string>

struct VDesktopOptions {
    // Display pixels per screen pixel; 0 = the largest that fits the desktop (at most 4).
    uint32_t scale = 0;
    // Full screen on the whole desktop, the picture scaled and centred, whatever the program
    // asks for.
    bool fullScreen = false;
    // Pixel format code 1 to 6 of a 16-bit screen (2 444, 3 555, 4 565); 0 = 565. Other sizes
    // have one format each (8 bits: palette, 24: 888, 32: X888).
    uint8_t sixteenBitFormat = 0;
    // The error text at the end also goes to a message box (tests turn it off).
    bool messageBox = true;
    // Everything on the command line that is not an option of the layer, for the program.
    std::string commandLine;
};

constexpr uint32_t kMaxDesktopScale = 16;

// Reads --scale N (1 to 16), --fullscreen and --screen-format N (2 to 4) from the arguments;
// the other arguments, joined by spaces, become the program's command line. Returns false
// with a message in *error for a bad option value.
bool ParseDesktopOptions(int argc, const char* const* argv, VDesktopOptions* options,
                         std::string* error);
