#include "examples/vorlund_pda/pda_keys.h"

const std::vector<PdaKeyHelp>& PdaKeyList() {
    static const std::vector<PdaKeyHelp> keys{
        {"1 to 6", "hardware buttons 193 to 198"},
        {"arrows", "the direction pad"},
        {"Enter", "the action button"},
        {"P", "power switch (off / on)"},
        {"R", "turn the screen a quarter right"},
        {"E", "turn the screen a quarter left"},
        {"I J K L", "tilt the device; T: level"},
        {"A", "another program in front / back"},
        {"mouse", "the stylus"},
        {"Esc", "close the program"},
    };
    return keys;
}
