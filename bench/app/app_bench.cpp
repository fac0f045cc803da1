// app_bench: the whole Vorlund timeline, frames 0 to 4 500, on the headless layer and one
// processor core, as fast as it goes. Prints frames per second overall and per scene, the
// costliest frames, how many frames took over 1 ms, and the peak resident memory.
//
//   app_bench [--frames N] [--sound]
//
// --sound mixes the demo's sound as a recording would (into /dev/null); without it the sound
// goes nowhere, as in a plain headless run. Frame n is the demo's n-th OnFrame: scene 1 is
// n 0 to 800, scene 2 801 to 3500, scene 3 from 3501. A frame's time runs from the end of the
// frame before it to its own end (the whole loop pass); frame 0, which has no frame before it,
// is left out. Times are the processor time of the program's thread. The demo keeps its state in
// static objects, so one process runs the timeline once.
#include <sched.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "hss/system_output.h"
#include "platform/headless/headless_platform.h"

namespace {

// The processor time of this thread: on a busy machine the wall clock would also count the
// other programs' turns on the core.
uint64_t ThreadNs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return uint64_t(t.tv_sec) * 1000000000u + uint64_t(t.tv_nsec);
}

constexpr uint32_t kTimelineFrames = 4501;
constexpr uint64_t kFrameMicroseconds = 20000;

struct Scene {
    const char* name;
    uint32_t first, last;  // frame numbers, inclusive
};
constexpr Scene kScenes[] = {
    {"scene 1", 0, 800},
    {"scene 2", 801, 3500},
    {"scene 3", 3501, 0xFFFFFFFF},
};

const char* SceneOf(uint32_t frame) {
    for (const Scene& s : kScenes) {
        if (frame >= s.first && frame <= s.last) return s.name;
    }
    return "?";
}

// One run of the timeline: the time of every frame in nanoseconds.
std::vector<uint64_t> RunTimeline(uint32_t frames, bool sound) {
    std::vector<uint64_t> cost(frames, 0);
    VHeadlessOptions options;
    options.recordSleeps = false;
    VHeadlessPlatform platform(options);
    uint32_t done = 0;
    uint64_t last = 0;
    platform.SetFrameObserver([&](VPlatformInstance* instance) {
        if (sound) hssAdvanceSystemOutput((uint64_t(done) + 1) * kFrameMicroseconds);
        const uint64_t now = ThreadNs();
        if (done > 0) cost[done] = now - last;
        last = now;
        if (++done >= frames) PlatformQuit(instance);
    });
    platform.Run();
    cost.resize(done);
    return cost;
}

}  // namespace

int main(int argc, char** argv) {
    uint32_t frames = kTimelineFrames;
    bool sound = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) {
            frames = uint32_t(std::strtoul(argv[++i], nullptr, 10));
        } else if (std::strcmp(argv[i], "--sound") == 0) {
            sound = true;
        } else {
            std::fprintf(stderr, "usage: %s [--frames N] [--sound]\n", argv[0]);
            return 2;
        }
    }
    if (frames < 2) {
        std::fprintf(stderr, "app_bench: --frames must be at least 2\n");
        return 2;
    }
    // One core, as the goal is stated for.
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(0, &one);
    if (sched_setaffinity(0, sizeof one, &one) != 0) std::perror("app_bench: sched_setaffinity");
    hssRouteSystemOutput(sound ? hssSystemRoute::File : hssSystemRoute::Nowhere, "/dev/null");

    const std::vector<uint64_t> best = RunTimeline(frames, sound);
    hssFinishSystemOutput();
    if (best.size() < 2) {
        std::fprintf(stderr, "app_bench: the demo ended after %zu frames\n", best.size());
        return 1;
    }
    // Frame 0 has no previous frame to time from; it is left out of the figures.
    std::printf("app_bench: frames 1 to %zu, %s\n", best.size() - 1,
                sound ? "sound mixed" : "no sound");
    uint64_t total = 0;
    for (size_t i = 1; i < best.size(); ++i) total += best[i];
    std::printf("  overall   %8.0f frames/s  (%.3f s for %zu frames)\n",
                (best.size() - 1) / (total / 1e9), total / 1e9, best.size() - 1);
    for (const Scene& s : kScenes) {
        uint64_t t = 0;
        size_t n = 0;
        uint64_t worst = 0;
        for (size_t i = std::max<size_t>(1, s.first); i < best.size() && i <= s.last; ++i) {
            t += best[i];
            ++n;
            worst = std::max(worst, best[i]);
        }
        if (n == 0) continue;
        std::printf("  %-8s  %8.0f frames/s  (%zu frames, slowest %.3f ms)\n", s.name,
                    n / (t / 1e9), n, worst / 1e6);
    }
    std::vector<size_t> order;
    for (size_t i = 1; i < best.size(); ++i) order.push_back(i);
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return best[a] > best[b]; });
    std::printf("  costliest frames:");
    for (size_t k = 0; k < 5 && k < order.size(); ++k)
        std::printf(" %zu (%s) %.3f ms%s", order[k], SceneOf(uint32_t(order[k])),
                    best[order[k]] / 1e6, k + 1 < 5 ? "," : "");
    std::printf("\n");
    const size_t over =
        size_t(std::count_if(best.begin() + 1, best.end(), [](uint64_t c) { return c > 1000000; }));
    std::printf("  frames over 1 ms: %zu\n", over);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("  peak resident memory: %.1f MiB\n", usage.ru_maxrss / 1024.0);
    return 0;
}
