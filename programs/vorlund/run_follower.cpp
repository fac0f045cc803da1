#include "programs/vorlund/run_follower.h"

#include <cstdio>

#include "framework/vane.h"
#include "hss/hss.h"
#include "hss/system_output.h"
#include "platform/platform_layer.h"
#include "programs/vorlund/ffmpeg_recorder.h"
#include "programs/vorlund/png_file.h"

namespace {

constexpr uint64_t kFrameMicroseconds = 1000000 / kDemoFramesPerSecond;

// Whether the frame step that just ran called OnFrame: a suspended program (or an inactive
// one that suspends when inactive) runs idle passes that draw nothing.
bool FrameWasDrawn(const ClassVane& application) {
    const uint8_t state = application.State();
    return state == VSTATE_RUNNING ||
           (state == VSTATE_INACTIVE && !application.AppSettings().suspendWhenInactive);
}

}  // namespace

VRunFollower::VRunFollower(const VorlundOptions& options, VFfmpegRecorder* recorder,
                           bool soundToFile, bool showProgress)
    : options_(options),
      recorder_(recorder),
      soundToFile_(soundToFile),
      limit_(options.FrameLimit()) {
    if (showProgress) progress_ = std::make_unique<VProgressLine>(limit_);
}

VRunFollower::~VRunFollower() = default;

void VRunFollower::AfterFrame(VPlatformInstance* instance) {
    if (Failed()) return;
    auto* application = static_cast<ClassVane*>(instance->applicationSlots[0]);
    if (application == nullptr || !FrameWasDrawn(*application)) return;
    const uint32_t frame = frames_++;
    if (!FollowFrame(instance, frame)) {
        PlatformQuit(instance);
        return;
    }
    if (progress_) progress_->Update(frames_);
    if (limit_ != 0 && frames_ >= limit_) PlatformQuit(instance);
}

bool VRunFollower::FollowFrame(VPlatformInstance* instance, uint32_t frame) {
    // The sound up to the start of the next frame: what this frame started is in it.
    if (soundToFile_) {
        const unsigned result = hssAdvanceSystemOutput((uint64_t(frame) + 1) * kFrameMicroseconds);
        if (result != HSS_OK) {
            error_ = "the sound file could not be written: " + std::string(hssResultText(result));
            return false;
        }
    }
    const bool shot = nextShot_ < options_.shots.size() && options_.shots[nextShot_] == frame;
    if (!shot && recorder_ == nullptr) return true;
    auto* application = static_cast<ClassVane*>(instance->applicationSlots[0]);
    if (!ReadShownPicture(application->Screen(), &picture_)) {
        error_ = "frame " + std::to_string(frame) + ": the display's picture cannot be read";
        return false;
    }
    if (shot) {
        ++nextShot_;
        if (!WriteShot(frame)) return false;
    }
    if (recorder_ != nullptr) {
        if (frame == 0 &&
            !recorder_->Start(options_.recordPath, picture_.width, picture_.height, &error_))
            return false;
        if (!recorder_->AddFrame(picture_.rgb.data(), &error_)) return false;
    }
    return true;
}

bool VRunFollower::WriteShot(uint32_t frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%06u.png", frame);
    const std::string path = options_.shotDir + "/" + name;
    if (WritePngRgb(path.c_str(), picture_.rgb.data(), picture_.width, picture_.height))
        return true;
    error_ = "could not write " + path;
    return false;
}
