// hss: the sound library. A speaker (the output), musics (ProTracker modules) and sounds (PCM
// WAV data), mixed together in software.
//
//   hssSpeaker speaker;  hssMusic music;  hssSound shot;
//   speaker.open(22050, 16, true, 1, 1);
//   music.load(ProgramResources(), 117);   // the "PTMOD" resource 117
//   shot.load(ProgramResources(), 118);    // the "WAVE" resource 118
//   music.loop(true);
//   speaker.playMusic(&music, HSS_GAIN_UNITY);
//   speaker.playSound(&shot, HSS_GAIN_UNITY);
//
// Every object is usable as soon as it is constructed. No call aborts or throws: each returns
// one of the HSS_ result codes below or does nothing when it cannot act, and a failed load
// keeps what was loaded before, so a program whose sound fails keeps running in silence.
//
// The demo's open(22050, 16, true, 1, 1) asks for 22 050 Hz, 16 bits, stereo, linear
// resampling, the system's audio output; the 0x10000000 it passes to playMusic and playSound
// is unity gain (HSS_GAIN_UNITY).
//
// Threads. All calls are made from one thread (the program's main thread). A speaker opened on
// the system's audio device mixes on that device's own thread; every change the main thread
// makes to what is playing is done under the device's lock, and the mixing never allocates.
//
// Lifetimes. A music or sound that is playing may be unloaded, reloaded or destroyed at any
// time: it is first taken off its speaker. A speaker may be closed or destroyed before or after
// the objects it plays.
#pragma once

#include <cstddef>
#include <cstdint>

struct VResourceModule;

namespace hss {
class Device;
class Mixer;
struct MixFormat;
struct ModModule;
class ModPlayer;
struct WavData;
}  // namespace hss

class hssMusic;
class hssSound;

// Result codes, 0 for success.
enum : unsigned {
    HSS_OK = 0,
    HSS_DAMAGED = 1,        // the data is not a well-formed module or WAV file
    HSS_NO_MEMORY = 2,      // an allocation failed
    HSS_NOT_SUPPORTED = 3,  // a well-formed file of a kind this library does not play
    HSS_INVALID = 4,        // an argument is out of range, or a null object or pointer
    HSS_NO_DEVICE = 5,      // the output device (or file) could not be opened
    HSS_NOT_OPEN = 6,       // the speaker is not open
    HSS_NOT_LOADED = 7,     // the music or sound holds no data
    HSS_NOT_FOUND = 8,      // no resource of that type and id in the module
};

// A short English description of a result code, for messages.
const char* hssResultText(unsigned result);

// Per-play gain, unsigned 4.28 fixed point: HSS_GAIN_UNITY (0x10000000) plays at the volume set
// with volumeMusics/volumeSounds, 0x08000000 at half of it, 0x20000000 at twice it (the mixer
// saturates). Values above HSS_GAIN_MAX are taken as HSS_GAIN_MAX.
constexpr unsigned HSS_GAIN_UNITY = 0x10000000u;
constexpr unsigned HSS_GAIN_MAX = 0x40000000u;

// The two volumes run from 0 (silent) to HSS_VOLUME_MAX (full); larger values are taken as full.
constexpr unsigned HSS_VOLUME_MAX = 64;

// The fourth argument of open: how sounds and the music's samples are resampled to the output
// rate. Any value other than HSS_RESAMPLE_NEAREST is taken as linear.
enum : unsigned {
    HSS_RESAMPLE_NEAREST = 0,  // nearest source sample (the plain Amiga-style output)
    HSS_RESAMPLE_LINEAR = 1,   // linear interpolation between neighbouring samples
};

// The fifth argument of open: where the output goes.
enum : unsigned {
    HSS_OUTPUT_NULL = 0,    // nowhere; the program advances the mix itself with render()
    HSS_OUTPUT_SYSTEM = 1,  // the system's audio device, mixed on its own thread; the program's
                            // starter may route it elsewhere (hss/system_output.h)
};

// Sounds that can play at once on one speaker. Starting one more takes over the voice of the
// one that has played longest (faded out, not cut).
constexpr unsigned HSS_MAX_SOUNDS = 16;

class hssSpeaker {
  public:
    hssSpeaker();
    ~hssSpeaker();  // closes
    hssSpeaker(const hssSpeaker&) = delete;
    hssSpeaker& operator=(const hssSpeaker&) = delete;

    // Opens the output: rate in Hz (8000 to 96000), bits per sample (8 or 16), stereo or mono,
    // resampling (HSS_RESAMPLE_*), output (HSS_OUTPUT_*). A speaker that is already open is
    // closed first. On failure the speaker stays closed and every play call returns
    // HSS_NOT_OPEN.
    unsigned open(unsigned rate, unsigned bits, bool stereo, unsigned resampling, unsigned output);

    // Opens the output as a WAV file at path (created or truncated). Nothing is written until
    // render() is called; close() completes the file.
    unsigned openFile(const char* path, unsigned rate, unsigned bits, bool stereo,
                      unsigned resampling);

    // Stops all output, takes every music and sound off the speaker and releases the device.
    // Closing a closed speaker is harmless.
    unsigned close();
    bool isOpen() const { return device_ != nullptr; }

    // For the null and file outputs: mixes exactly `frames` frames (a frame is one sample per
    // output channel), writes them to the file (file output) and, when out is not null, also
    // into out (frames × channels samples of the output format: uint8_t for 8 bits, int16_t
    // for 16). While suspended the frames are silent and nothing advances. The system output
    // pulls frames by itself and returns HSS_INVALID here.
    unsigned render(unsigned frames, void* out = nullptr);

    void volumeSounds(unsigned volume);
    void volumeMusics(unsigned volume);

    // Starts the music from its beginning with the given gain, replacing the music playing
    // before (which fades out).
    unsigned playMusic(hssMusic* music, unsigned gain = HSS_GAIN_UNITY);
    // Starts the sound from its beginning with the given gain, mixed over the music and every
    // sound still playing; a sound already playing may be started again over itself.
    unsigned playSound(hssSound* sound, unsigned gain = HSS_GAIN_UNITY);
    void stopMusic();
    void stopSounds();
    bool musicPlaying() const;
    unsigned soundsPlaying() const;

    // Pause and continue all output. The output fades out and in over a few milliseconds.
    void suspend();
    void resume();
    bool suspended() const { return suspended_; }

    unsigned rate() const { return rate_; }
    unsigned channels() const { return channels_; }
    unsigned bits() const { return bits_; }

  private:
    friend class hssMusic;
    friend class hssSound;
    void attach(hssMusic* music);
    void attach(hssSound* sound);
    void detach(hssMusic* music);
    void detach(hssSound* sound);
    unsigned openOn(hss::Device* device, unsigned result, const hss::MixFormat& format);
    void lockOutput();
    void unlockOutput();

    hss::Device* device_ = nullptr;
    hss::Mixer* mixer_ = nullptr;
    unsigned rate_ = 0;
    unsigned channels_ = 0;
    unsigned bits_ = 0;
    unsigned volumeSounds_ = HSS_VOLUME_MAX;
    unsigned volumeMusics_ = HSS_VOLUME_MAX;
    bool suspended_ = false;
    hssMusic* musics_ = nullptr;  // every music and sound that holds a pointer to this speaker
    hssSound* sounds_ = nullptr;
};

// A ProTracker module: "M.K." and its 4-channel variants ("M!K!", "FLT4", "4CHN"), 31 samples.
class hssMusic {
  public:
    hssMusic() = default;
    ~hssMusic();  // unloads
    hssMusic(const hssMusic&) = delete;
    hssMusic& operator=(const hssMusic&) = delete;

    // Loads a module from memory; the bytes are copied, so the caller may free them after.
    unsigned load(const void* data, size_t size);
    // Loads the "PTMOD" resource with this id from a resource module.
    unsigned load(const VResourceModule* module, unsigned id);
    void unload();
    bool isLoaded() const { return module_ != nullptr; }

    // Whether the music starts again from its restart position when it ends (default false:
    // it plays once and then falls silent). May be changed while it plays.
    void loop(bool enable);
    bool looping() const { return loop_; }

    // Length of one pass through the song: rows played and, at the given output rate, frames.
    unsigned songRows() const;
    uint64_t songFrames(unsigned rate) const;
    const char* title() const;

  private:
    friend class hssSpeaker;
    hss::ModModule* module_ = nullptr;
    hss::ModPlayer* player_ = nullptr;
    hssSpeaker* speaker_ = nullptr;  // the speaker this music was last played on
    hssMusic* prev_ = nullptr;       // neighbours in that speaker's list
    hssMusic* next_ = nullptr;
    bool loop_ = false;
};

// PCM sound data from a RIFF WAV file: 8 or 16 bits, mono or stereo, any rate.
class hssSound {
  public:
    hssSound() = default;
    ~hssSound();  // unloads
    hssSound(const hssSound&) = delete;
    hssSound& operator=(const hssSound&) = delete;

    // Loads a WAV file from memory; the samples are copied.
    unsigned load(const void* data, size_t size);
    // Loads the "WAVE" resource with this id from a resource module.
    unsigned load(const VResourceModule* module, unsigned id);
    void unload();
    bool isLoaded() const { return wav_ != nullptr; }

    unsigned frames() const;
    unsigned rate() const;
    unsigned channels() const;

  private:
    friend class hssSpeaker;
    hss::WavData* wav_ = nullptr;
    hssSpeaker* speaker_ = nullptr;  // the speaker this sound was last played on
    hssSound* prev_ = nullptr;       // neighbours in that speaker's list
    hssSound* next_ = nullptr;
};
