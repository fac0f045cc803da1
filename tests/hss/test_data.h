// Small builders for the hss tests: WAV files in memory and the generated files under data/.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/hss/module_oracle.h"

namespace hsstest {

// A RIFF WAV file: samples are interleaved and given in the file's own range (0..255 for 8
// bits, -32768..32767 for 16).
inline std::vector<uint8_t> MakeWav(unsigned rate, unsigned bits, unsigned channels,
                                    const std::vector<int>& samples, unsigned formatTag = 1) {
    auto put16 = [](std::vector<uint8_t>& v, unsigned x) {
        v.push_back(uint8_t(x));
        v.push_back(uint8_t(x >> 8));
    };
    auto put32 = [&](std::vector<uint8_t>& v, uint32_t x) {
        put16(v, x & 0xFFFF);
        put16(v, x >> 16);
    };
    std::vector<uint8_t> data;
    for (int s : samples) {
        if (bits == 8)
            data.push_back(uint8_t(s));
        else
            put16(data, unsigned(s) & 0xFFFF);
    }
    std::vector<uint8_t> w = {'R', 'I', 'F', 'F'};
    put32(w, uint32_t(36 + data.size() + (data.size() & 1)));
    for (char c : std::string("WAVEfmt ")) w.push_back(uint8_t(c));
    put32(w, 16);
    put16(w, formatTag);
    put16(w, channels);
    put32(w, rate);
    put32(w, rate * channels * bits / 8);
    put16(w, channels * bits / 8);
    put16(w, bits);
    for (char c : std::string("data")) w.push_back(uint8_t(c));
    put32(w, uint32_t(data.size()));
    w.insert(w.end(), data.begin(), data.end());
    if (data.size() & 1) w.push_back(0);
    return w;
}

// A 16-bit mono WAV holding `frames` copies of one value.
inline std::vector<uint8_t> ConstantWav(unsigned rate, unsigned frames, int value) {
    return MakeWav(rate, 16, 1, std::vector<int>(frames, value));
}

// Loads a music or sound from bytes in memory.
template <class Object>
unsigned LoadBytes(Object& object, const std::vector<uint8_t>& bytes) {
    return object.load(bytes.data(), bytes.size());
}

inline std::vector<uint8_t> DataFile(const std::string& name) {
    return ReadFile("data/" + name);
}

}  // namespace hsstest
