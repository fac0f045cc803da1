#include "programs/vorlund/progress_line.h"

#include <unistd.h>

#include <cstdio>

VProgressLine::VProgressLine(uint32_t total)
    : shown_(isatty(STDERR_FILENO) == 1), total_(total), start_(Clock::now()), nextDraw_(start_) {}

VProgressLine::~VProgressLine() {
    if (drawn_) std::fputc('\n', stderr);
}

void VProgressLine::Update(uint32_t done) {
    if (!shown_) return;
    const Clock::time_point now = Clock::now();
    if (now < nextDraw_ && done != total_) return;
    nextDraw_ = now + std::chrono::milliseconds(250);
    const double seconds = std::chrono::duration<double>(now - start_).count();
    const double fps = seconds > 0 ? done / seconds : 0;
    if (total_ != 0) {
        const double left = fps > 0 ? (total_ - done) / fps : 0;
        std::fprintf(stderr, "\rvorlund: frame %u of %u, %.0f frames/s, %.0f s left   ", done,
                     total_, fps, left);
    } else {
        std::fprintf(stderr, "\rvorlund: frame %u, %.0f frames/s   ", done, fps);
    }
    std::fflush(stderr);
    drawn_ = true;
}
