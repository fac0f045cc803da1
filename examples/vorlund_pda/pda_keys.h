// The simulator's keys: what each does to the simulated device.
#pragma once

#include <vector>

struct PdaKeyHelp {
    const char* keys;
    const char* action;
};

// In the order --help and the window list them.
const std::vector<PdaKeyHelp>& PdaKeyList();
