// Records the demo as an MP4 through Debian's ffmpeg. The pictures go to ffmpeg through a pipe
// as raw RGB frames, at a fixed 50 frames per second whatever the machine's speed, and come
// out scaled by 2 without smoothing (every pixel a 2 × 2 block). The sound is written to a
// WAV file in step with the frames during the run; Finish puts the two together.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

constexpr uint32_t kRecordFramesPerSecond = 50;

class VFfmpegRecorder {
  public:
    VFfmpegRecorder() = default;
    ~VFfmpegRecorder();  // a recording not finished is abandoned: its working files go
    VFfmpegRecorder(const VFfmpegRecorder&) = delete;
    VFfmpegRecorder& operator=(const VFfmpegRecorder&) = delete;

    // Whether ffmpeg can be started; when not, why.
    static bool Available(std::string* why);

    // Starts the video encoder for pictures of width × height. The video goes to a working
    // file beside path until Finish.
    bool Start(const std::string& path, uint32_t width, uint32_t height, std::string* error);
    // One frame: width × height × 3 bytes of RGB.
    bool AddFrame(const uint8_t* rgb, std::string* error);
    // Ends the video and writes path: the video with the sound of the WAV file, or without
    // sound when wavPath is empty.
    bool Finish(const std::string& wavPath, std::string* error);

    uint32_t Frames() const { return frames_; }

  private:
    void Abandon();

    std::string path_;
    std::string videoPath_;
    std::FILE* pipe_ = nullptr;
    size_t frameBytes_ = 0;
    uint32_t frames_ = 0;
};

// A path quoted for the shell.
std::string ShellQuoted(const std::string& text);
