// Output devices: where the mixer's frames go. The null device discards them, the file device
// writes them to a WAV file as the program renders them, and the system device (SDL2 audio;
// winmm's waveOut on Windows) pulls them on its own thread.
#pragma once

#include "hss/mixer.h"

class hssSpeaker;

namespace hss {

class Device {
  public:
    virtual ~Device() = default;
    // True when the device pulls frames from the mixer by itself; false when the program
    // pushes them with Write.
    virtual bool Pulls() const = 0;
    // Guard every change the main thread makes to the mixer while the device may be mixing.
    virtual void Lock() {}
    virtual void Unlock() {}
    // Takes rendered frames (the mixer's output format). Returns HSS_OK or HSS_NO_DEVICE when
    // they could not be written.
    virtual unsigned Write(const void* data, unsigned frames) = 0;
    // Stops the output for good: once it returns the mixer is no longer touched, and a file
    // is complete.
    virtual void Stop() = 0;
};

Device* NewNullDevice();
// Creates (or truncates) a WAV file for the format and writes its header.
unsigned NewFileDevice(const char* path, const MixFormat& format, Device** out);
// Opens the system's audio device in the mixer's format and starts pulling from the mixer.
unsigned NewSystemDevice(Mixer* mixer, Device** out);
// The device of a speaker opening on the system output, by the route the program chose
// (hss/system_output.h): the system's device, a WAV file, or the null device.
unsigned NewRoutedSystemDevice(hssSpeaker* speaker, Mixer* mixer, Device** out);
// The speaker closed: it no longer holds the routed file.
void SystemOutputClosed(hssSpeaker* speaker);

}  // namespace hss
