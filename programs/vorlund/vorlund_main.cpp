// The vorlund program's whole run, from its command line to its exit code: the entry chooses the
// demo's platform layer (a window on the desktop layer, or the headless layer when there is no
// display or when asked), routes the sound it opens as system audio, and writes the shots, the
// recording or the sound file the command line asks for.
#include "programs/vorlund/vorlund_main.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "hss/hss.h"
#include "hss/system_output.h"
#include "platform/desktop/desktop_platform.h"
#include "platform/headless/headless_platform.h"
#include "programs/vorlund/ffmpeg_recorder.h"
#include "programs/vorlund/options.h"
#include "programs/vorlund/run_follower.h"

namespace {

const char* ProgramName(const char* path) {
    const char* name = path;
    for (const char* p = path; p != nullptr && *p != 0; ++p) {
        if (*p == '/') name = p + 1;
    }
    return name;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "vorlund: %s\n", message.c_str());
    return 1;
}

// Where the sound the demo opens as system audio goes; the WAV file it fills, if any.
std::string RouteSound(const VorlundOptions& o) {
    if (o.mute) {
        hssRouteSystemOutput(hssSystemRoute::Nowhere);
        return "";
    }
    std::string wav = o.audioOutPath;
    if (wav.empty() && !o.recordPath.empty()) wav = o.recordPath + ".sound.wav";
    if (!wav.empty()) {
        hssRouteSystemOutput(hssSystemRoute::File, wav.c_str());
    } else {
        hssRouteSystemOutput(o.RunsHeadless() ? hssSystemRoute::Nowhere : hssSystemRoute::Device);
    }
    return wav;
}

uint32_t RunLayer(const VorlundOptions& o, VRunFollower& follower) {
    auto observe = [&follower](VPlatformInstance* instance) { follower.AfterFrame(instance); };
    if (o.RunsHeadless()) {
        VHeadlessOptions headless;  // the virtual clock: every run the same, as fast as it goes
        headless.recordSleeps = false;
        VHeadlessPlatform platform(headless);
        platform.SetFrameObserver(observe);
        return platform.Run();
    }
    VDesktopOptions desktop;
    desktop.scale = o.scale;
    desktop.fullScreen = o.fullScreen;
    VDesktopPlatform platform(desktop);
    platform.SetFrameObserver(observe);
    return platform.Run();
}

}  // namespace

int VorlundMain(int argc, char** argv) {
    const char* program = ProgramName(argv[0]);
    VorlundParse parse = ParseVorlundOptions(argc, argv);
    switch (parse.command) {
        case VorlundCommand::Help:
            std::fputs(VorlundUsage(program).c_str(), stdout);
            return 0;
        case VorlundCommand::Version:
            std::fputs(VorlundVersion().c_str(), stdout);
            return 0;
        case VorlundCommand::Error:
            std::fprintf(stderr, "vorlund: %s\n%s", parse.error.c_str(),
                         VorlundUsage(program).c_str());
            return 2;
        case VorlundCommand::Run:
            break;
    }
    VorlundOptions& o = parse.options;

    std::string reason;
    if (!o.RunsHeadless() && !VDesktopPlatform::VideoAvailable(&reason)) {
        o.headless = true;
        if (o.frames == 0 && !o.shots.empty() && o.shots.back() >= kDefaultHeadlessFrames)
            o.frames = o.shots.back() + 1;
        std::fprintf(stderr, "vorlund: no display (%s): running %u frames headless\n",
                     reason.c_str(), o.FrameLimit());
    }
    if (!o.recordPath.empty() && !VFfmpegRecorder::Available(&reason))
        return Fail("--record: " + reason);
    if (!o.shots.empty()) {
        std::error_code error;
        std::filesystem::create_directories(o.shotDir, error);
        if (error) return Fail("--shot-dir: " + o.shotDir + ": " + error.message());
    }

    const std::string wav = RouteSound(o);
    VFfmpegRecorder recorder;
    VRunFollower follower(o, o.recordPath.empty() ? nullptr : &recorder, !wav.empty(),
                          o.RunsHeadless());
    const uint32_t exitCode = RunLayer(o, follower);

    // The demo's speaker outlives the run (it closes at program exit): the sound file is
    // completed now, while there is still a use for it.
    const unsigned soundResult = hssFinishSystemOutput();
    if (follower.Failed()) return Fail(follower.Error());
    const bool soundWritten = !wav.empty() && soundResult == HSS_OK;
    if (!wav.empty() && soundResult == HSS_NOT_OPEN) {
        if (!o.audioOutPath.empty())
            return Fail("--audio-out: the demo opened no sound; " + wav + " was not written");
        std::fprintf(stderr, "vorlund: the demo opened no sound; the recording is silent\n");
    } else if (!wav.empty() && !soundWritten) {
        return Fail("the sound file " + wav + " could not be completed");
    }
    if (!o.recordPath.empty()) {
        std::string error;
        const bool recorded =
            recorder.Frames() > 0 && recorder.Finish(soundWritten ? wav : "", &error);
        if (o.audioOutPath.empty()) std::remove(wav.c_str());
        if (recorder.Frames() == 0) return Fail("--record: the demo drew no frame");
        if (!recorded) return Fail("--record: " + error);
        std::fprintf(stderr, "vorlund: recorded %u frames (%.2f s) to %s\n", recorder.Frames(),
                     recorder.Frames() / double(kDemoFramesPerSecond), o.recordPath.c_str());
    }
    if (!o.audioOutPath.empty()) {
        std::fprintf(stderr, "vorlund: sound written to %s\n", o.audioOutPath.c_str());
    }
    return int(exitCode);
}
