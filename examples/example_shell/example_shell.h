// What every example shares: its command line and the choice of platform layer.
//
// An example runs in a window on the desktop layer. With --frames N or --shot FILE it runs N
// frames (150 when only --shot is given) on the headless layer instead and writes the last
// picture shown as a binary PPM file: that is how CI runs each example once and checks what
// it drew. Without a display it says so and runs headless as well.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/desktop/desktop_options.h"

class ClassVScreen;
class V2DSurface;

struct VExampleRun {
    VDesktopOptions desktop;             // --scale, --fullscreen, --screen-format
    bool headless = false;               // --frames or --shot given
    uint32_t frames = 150;               // frames of a headless run
    std::string shot;                    // where the last picture goes; empty = nowhere
    std::vector<std::string> arguments;  // everything else, in order, for the example
};

// Reads the shared options; false with a message in *error for a bad or incomplete one.
bool ParseExampleArgs(int argc, const char* const* argv, VExampleRun* run, std::string* error);

// The usage line of the shared options, to follow an example's own arguments.
const char* ExampleOptionsUsage();

// Runs the registered application on the layer the options chose and returns the exit code;
// a shot that cannot be written makes it 1.
int RunExample(const VExampleRun& run);

// Loads the demo's font (picture 108 of the program's resources, glyphs 32 to 255 on a key of
// 0xF8F8F8) into *font for the examples' captions. Null when it worked, else the message.
const char16_t* LoadExampleFont(ClassVScreen& screen, V2DSurface* font);
