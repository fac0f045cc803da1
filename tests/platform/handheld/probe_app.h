// A small application that notes what reaches it, run on the handheld layer over a simulated
// device (or on the headless layer, for comparison).
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "framework/vane.h"
#include "platform/handheld/handheld_platform.h"
#include "platform/handheld/sim/sim_device.h"

struct ProbeLog {
    // Set before the run.
    uint8_t displayMethod = 0;
    uint8_t keepDisplayOn = 0;
    uint32_t width = 240, height = 320;
    uint8_t nativeLayout = 1;  // surfaces may follow the screen's memory layout
    std::function<void(ClassVScreen& screen, uint32_t frame)> draw;

    // What arrived.
    std::vector<uint32_t> frameTimes;  // the device clock at each frame
    std::vector<uint32_t> elapsed;     // each frame's elapsed time
    std::vector<uint32_t> keys;        // key-downs
    std::vector<std::pair<int32_t, int32_t>> tilts;
    std::vector<std::pair<uint32_t, uint32_t>> displayChanges;  // logical size after each
    uint8_t screenMethod = 255;                                 // the method that opened
    uint32_t inits = 0, exits = 0;
};

// Runs the probe on the handheld layer over a simulated device.
struct HandheldRun {
    explicit HandheldRun(VSimOptions options) : device(std::move(options)), platform(device) {}
    // Runs until the program ends (the options' onPass closes it) and returns the exit code.
    uint32_t Run();

    ProbeLog log;
    VSimDevice device;
    VHandheldPlatform platform;
};

// Runs the probe on the given layer's Run (a function that runs the program).
uint32_t RunProbe(ProbeLog& log, const std::function<uint32_t()>& run);
