#include "programs/vorlund/ffmpeg_recorder.h"

#include <csignal>
#include <cstdlib>

namespace {

// Only errors, and no questions: the program owns the terminal.
constexpr const char* kFfmpeg = "ffmpeg -nostdin -hide_banner -loglevel error -y";

bool RunCommand(const std::string& command, std::string* error, const char* what) {
    const int status = std::system(command.c_str());
    if (status == 0) return true;
    *error = std::string(what) + " failed (ffmpeg exit status " + std::to_string(status) + ")";
    return false;
}

}  // namespace

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

bool VFfmpegRecorder::Available(std::string* why) {
    if (std::system("ffmpeg -hide_banner -loglevel quiet -version >/dev/null 2>&1") == 0)
        return true;
    *why = "ffmpeg is not installed (Debian package ffmpeg)";
    return false;
}

VFfmpegRecorder::~VFfmpegRecorder() {
    Abandon();
}

void VFfmpegRecorder::Abandon() {
    if (pipe_ != nullptr) {
        pclose(pipe_);
        pipe_ = nullptr;
    }
    if (!videoPath_.empty()) std::remove(videoPath_.c_str());
    videoPath_.clear();
}

bool VFfmpegRecorder::Start(const std::string& path, uint32_t width, uint32_t height,
                            std::string* error) {
    Abandon();
    // A dead encoder must show as a failed write, not end the program.
    std::signal(SIGPIPE, SIG_IGN);
    path_ = path;
    videoPath_ = path + ".video.mp4";
    frameBytes_ = size_t(width) * height * 3;
    frames_ = 0;
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    const std::string scaled = std::to_string(width * 2) + ":" + std::to_string(height * 2);
    // A fixed thread count keeps the encoder's output the same on every machine.
    const std::string command =
        std::string(kFfmpeg) + " -f rawvideo -pixel_format rgb24 -video_size " + size +
        " -framerate " + std::to_string(kRecordFramesPerSecond) + " -i pipe:0 -vf scale=" + scaled +
        ":flags=neighbor -c:v libx264 -preset veryfast -crf 16"
        " -pix_fmt yuv420p -threads 2 -an -f mp4 " +
        ShellQuoted(videoPath_);
    pipe_ = popen(command.c_str(), "w");
    if (pipe_ == nullptr) {
        *error = "could not start ffmpeg";
        videoPath_.clear();
        return false;
    }
    return true;
}

bool VFfmpegRecorder::AddFrame(const uint8_t* rgb, std::string* error) {
    if (pipe_ == nullptr) {
        *error = "the recording has not started";
        return false;
    }
    if (std::fwrite(rgb, 1, frameBytes_, pipe_) != frameBytes_) {
        *error = "ffmpeg stopped taking frames at frame " + std::to_string(frames_);
        return false;
    }
    ++frames_;
    return true;
}

bool VFfmpegRecorder::Finish(const std::string& wavPath, std::string* error) {
    if (pipe_ == nullptr) {
        *error = "the recording has not started";
        return false;
    }
    const int status = pclose(pipe_);
    pipe_ = nullptr;
    if (status != 0) {
        *error = "ffmpeg could not encode the video (exit status " + std::to_string(status) + ")";
        Abandon();
        return false;
    }
    std::string command = std::string(kFfmpeg) + " -i " + ShellQuoted(videoPath_);
    if (!wavPath.empty()) command += " -i " + ShellQuoted(wavPath) + " -map 0:v -map 1:a";
    command += " -c:v copy";
    if (!wavPath.empty()) command += " -c:a aac -b:a 128k";
    command += " -movflags +faststart " + ShellQuoted(path_);
    const bool muxed = RunCommand(command, error, "putting the video and the sound together");
    Abandon();
    return muxed;
}
