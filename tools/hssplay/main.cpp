// hssplay: plays a ProTracker module or a WAV file with the hss library, or renders it to a
// WAV file.
//
//   hssplay [options] FILE
//     -o OUT.wav   render to OUT.wav instead of playing
//     -r RATE      output rate in Hz (default 22050)
//     -b BITS      8 or 16 bits per sample (default 16)
//     -m           mono output
//     -n           no interpolation when resampling sounds
//     -l           loop the music (playing: until interrupted or -s; rendering needs -s)
//     -s SECONDS   play or render this long instead of to the end
//     -v VOLUME    volume 0 to 64 (default 64)
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "hss/hss.h"

namespace {

volatile std::sig_atomic_t interrupted = 0;

void OnInterrupt(int) {
    interrupted = 1;
}

struct Options {
    const char* input = nullptr;
    const char* output = nullptr;
    unsigned rate = 22050;
    unsigned bits = 16;
    bool stereo = true;
    unsigned resampling = HSS_RESAMPLE_LINEAR;
    bool loop = false;
    double seconds = 0;  // 0: to the end
    unsigned volume = HSS_VOLUME_MAX;
};

int Usage() {
    std::fprintf(stderr,
                 "usage: hssplay [-o OUT.wav] [-r RATE] [-b 8|16] [-m] [-n] [-l] [-s SECONDS] "
                 "[-v 0-64] FILE\n"
                 "Plays a ProTracker module or a WAV file, or renders it to OUT.wav.\n");
    return 1;
}

bool ParseUnsigned(const char* text, unsigned* out) {
    char* end = nullptr;
    unsigned long v = std::strtoul(text, &end, 10);
    if (end == text || *end != 0 || v > 1000000) return false;
    *out = unsigned(v);
    return true;
}

bool ParseOptions(int argc, char** argv, Options* o) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        bool hasValue = i + 1 < argc;
        if (a == "-o" && hasValue) {
            o->output = argv[++i];
        } else if (a == "-r" && hasValue) {
            if (!ParseUnsigned(argv[++i], &o->rate)) return false;
        } else if (a == "-b" && hasValue) {
            if (!ParseUnsigned(argv[++i], &o->bits)) return false;
        } else if (a == "-v" && hasValue) {
            if (!ParseUnsigned(argv[++i], &o->volume)) return false;
        } else if (a == "-s" && hasValue) {
            char* end = nullptr;
            o->seconds = std::strtod(argv[++i], &end);
            if (*end != 0 || !(o->seconds > 0 && o->seconds < 86400)) return false;
        } else if (a == "-m") {
            o->stereo = false;
        } else if (a == "-n") {
            o->resampling = HSS_RESAMPLE_NEAREST;
        } else if (a == "-l") {
            o->loop = true;
        } else if (!a.empty() && a[0] != '-' && o->input == nullptr) {
            o->input = argv[i];
        } else {
            return false;
        }
    }
    return o->input != nullptr && !(o->output && o->loop && o->seconds == 0);
}

// What plays: a music or a sound, and how long it lasts at the output rate.
struct Piece {
    hssMusic music;
    hssSound sound;
    bool isMusic = false;
    uint64_t frames = 0;
};

unsigned LoadPiece(const std::vector<char>& bytes, const Options& o, Piece* p) {
    unsigned musicResult = p->music.load(bytes.data(), bytes.size());
    if (musicResult == HSS_OK) {
        p->isMusic = true;
        p->music.loop(o.loop);
        p->frames = p->music.songFrames(o.rate);
        return HSS_OK;
    }
    unsigned soundResult = p->sound.load(bytes.data(), bytes.size());
    if (soundResult != HSS_OK) return musicResult == HSS_NOT_SUPPORTED ? musicResult : soundResult;
    p->frames = (uint64_t(p->sound.frames()) * o.rate + p->sound.rate() - 1) / p->sound.rate();
    return HSS_OK;
}

unsigned Start(hssSpeaker& speaker, Piece& p) {
    return p.isMusic ? speaker.playMusic(&p.music) : speaker.playSound(&p.sound);
}

int Render(const Options& o, Piece& p, uint64_t frames) {
    hssSpeaker speaker;
    unsigned r = speaker.openFile(o.output, o.rate, o.bits, o.stereo, o.resampling);
    if (r != HSS_OK) {
        std::fprintf(stderr, "hssplay: %s: %s\n", o.output, hssResultText(r));
        return 3;
    }
    speaker.volumeMusics(o.volume);
    speaker.volumeSounds(o.volume);
    Start(speaker, p);
    for (uint64_t done = 0; done < frames && !interrupted;) {
        unsigned n = unsigned(frames - done < 4096 ? frames - done : 4096);
        r = speaker.render(n);
        if (r != HSS_OK) {
            std::fprintf(stderr, "hssplay: %s: %s\n", o.output, hssResultText(r));
            return 3;
        }
        done += n;
    }
    speaker.close();
    std::printf("%s: %llu frames at %u Hz written to %s\n", o.input, (unsigned long long)frames,
                o.rate, o.output);
    return 0;
}

int Play(const Options& o, Piece& p) {
    hssSpeaker speaker;
    unsigned r = speaker.open(o.rate, o.bits, o.stereo, o.resampling, HSS_OUTPUT_SYSTEM);
    if (r != HSS_OK) {
        std::fprintf(stderr, "hssplay: audio output: %s\n", hssResultText(r));
        return 3;
    }
    speaker.volumeMusics(o.volume);
    speaker.volumeSounds(o.volume);
    Start(speaker, p);
    auto start = std::chrono::steady_clock::now();
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        double elapsed =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        bool playing = p.isMusic ? speaker.musicPlaying() : speaker.soundsPlaying() > 0;
        if (interrupted || !playing || (o.seconds > 0 && elapsed >= o.seconds)) break;
    }
    // Let the last fade out reach the device before it closes.
    speaker.stopMusic();
    speaker.stopSounds();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    speaker.close();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!ParseOptions(argc, argv, &o)) return Usage();
    std::ifstream in(o.input, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "hssplay: %s: cannot open\n", o.input);
        return 2;
    }
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    Piece piece;
    unsigned r = LoadPiece(bytes, o, &piece);
    if (r != HSS_OK) {
        std::fprintf(stderr, "hssplay: %s: %s\n", o.input, hssResultText(r));
        return 2;
    }
    if (piece.isMusic)
        std::printf("%s: \"%s\", %u rows, %.2f s\n", o.input, piece.music.title(),
                    piece.music.songRows(), double(piece.frames) / o.rate);
    std::signal(SIGINT, OnInterrupt);
    uint64_t frames = o.seconds > 0 ? uint64_t(o.seconds * o.rate) : piece.frames;
    return o.output ? Render(o, piece, frames) : Play(o, piece);
}
