// Plays the first second of a module through hss into memory and says whether it was heard:
// the installed sound library, linked through its package, without a sound card.
//
// Usage: sound_check MODULE   (exit code 0 when the second is not silent)
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "hss/hss.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s MODULE\n", argv[0]);
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                     std::istreambuf_iterator<char>()};
    constexpr unsigned kRate = 22050;
    hssSpeaker speaker;
    hssMusic music;
    unsigned result = speaker.open(kRate, 16, false, HSS_RESAMPLE_LINEAR, HSS_OUTPUT_NULL);
    if (result == HSS_OK) result = music.load(bytes.data(), bytes.size());
    if (result == HSS_OK) result = speaker.playMusic(&music);
    std::vector<int16_t> samples(kRate);
    if (result == HSS_OK) result = speaker.render(kRate, samples.data());
    if (result != HSS_OK) {
        std::fprintf(stderr, "%s: %s\n", argv[1], hssResultText(result));
        return 1;
    }
    int peak = 0;
    for (int16_t s : samples) peak = std::max(peak, std::abs(int(s)));
    std::printf("%s: peak %d of 32767 in the first second\n", argv[1], peak);
    return peak > 0 ? 0 : 1;
}
