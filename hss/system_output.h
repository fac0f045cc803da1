// Where the sound of a speaker opened on the system output (HSS_OUTPUT_SYSTEM) goes. A program
// calls open(..., HSS_OUTPUT_SYSTEM) and leaves the choice of the real output to whoever starts
// it: the system's audio device (the default), nowhere, or a WAV file that the starter fills in
// step with its own clock. The route is chosen once, before a speaker opens on it; speakers
// already open keep the output they got.
//
// With the nowhere and file routes nothing pulls the sound by itself: the starter calls
// hssAdvanceSystemOutput after every step of its clock, so the sound stays in step with the
// pictures to the sample however fast the program runs.
#pragma once

#include <cstdint>

enum class hssSystemRoute {
    Device,   // the system's audio device, mixed on its own thread
    Nowhere,  // discarded; nothing is mixed
    File,     // a WAV file in the speaker's own format
};

// Chooses the route. path is the WAV file of the File route (copied); it is created when a
// speaker opens on the route. Returns false (and changes nothing) for File without a path.
bool hssRouteSystemOutput(hssSystemRoute route, const char* path = nullptr);
hssSystemRoute hssSystemOutputRoute();

// File route: mixes the speaker holding the file up to `microseconds` of output since it
// opened and writes the frames. A time already reached writes nothing. HSS_OK also when no
// speaker holds the file; HSS_NO_DEVICE when the file could not take the frames.
unsigned hssAdvanceSystemOutput(uint64_t microseconds);

// Frames written to the routed file so far (0 when no speaker holds it).
uint64_t hssSystemOutputFrames();

// Closes the speaker holding the file, which completes the file; the speaker stays closed, as
// after its own close(). HSS_OK also when the speaker had closed by itself; HSS_NOT_OPEN when
// the route is File and no speaker ever opened on it (there is no file).
unsigned hssFinishSystemOutput();
