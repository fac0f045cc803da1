// Follows a run of the demo frame by frame, on either platform layer: counts the frames the
// demo drew (frame n is its n-th OnFrame, from 0), writes the listed shots, feeds the
// recording, keeps a sound file in step (frame n's sound starts at n × 20 ms of output),
// shows progress and ends the run after its last frame. A failure to write anything ends the
// run at once, with the reason kept for the program's exit.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "programs/vorlund/options.h"
#include "programs/vorlund/progress_line.h"
#include "programs/vorlund/shown_picture.h"

struct VPlatformInstance;
class VFfmpegRecorder;

// The demo's frame rate, and so the recording's and the sound's step.
constexpr uint32_t kDemoFramesPerSecond = 50;

class VRunFollower {
  public:
    // recorder: null when not recording; started by the follower at the first frame.
    // soundToFile: the system output is routed to a file that the follower advances.
    VRunFollower(const VorlundOptions& options, VFfmpegRecorder* recorder, bool soundToFile,
                 bool showProgress);
    ~VRunFollower();

    // The platform loop's frame observer.
    void AfterFrame(VPlatformInstance* instance);

    uint32_t FramesDrawn() const { return frames_; }
    bool Failed() const { return !error_.empty(); }
    const std::string& Error() const { return error_; }

  private:
    bool FollowFrame(VPlatformInstance* instance, uint32_t frame);
    bool WriteShot(uint32_t frame);

    const VorlundOptions& options_;
    VFfmpegRecorder* recorder_;
    bool soundToFile_;
    uint32_t limit_;
    uint32_t frames_ = 0;
    size_t nextShot_ = 0;
    VShownPicture picture_;
    std::unique_ptr<VProgressLine> progress_;
    std::string error_;
};
