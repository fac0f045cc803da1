// The demo's two bytes of settings, kept in "game_nastr.cfg" in the program's folder. The demo
// does not interpret them; it reads them before anything else and writes them back at exit,
// so they belong to the game it advertises.
#pragma once

#include <cstdint>

// Side by side, in file order, so that one transfer of two bytes moves both.
struct VDemoSettings {
    uint8_t a = 1;
    uint8_t b = 1;
};
static_assert(sizeof(VDemoSettings) == 2);

inline constexpr const char* kSettingsFileName = "game_nastr.cfg";

// Sets both bytes to 1, then reads as many of the two as the file holds. No file, or one that
// cannot be read, leaves the defaults; nothing is reported.
void LoadDemoSettings(VDemoSettings* settings);
// Creates (or truncates) the file and writes both bytes. A file that cannot be written is
// simply not written.
void SaveDemoSettings(const VDemoSettings& settings);
