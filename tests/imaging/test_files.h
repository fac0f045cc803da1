// Reading the generated test images and their expectations.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

inline std::vector<uint8_t> ReadTestFile(const std::string& name) {
    std::ifstream in(std::string(VANE_IMAGING_DATA) + "/" + name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

struct Fixture {
    std::string image;
    std::string expectation;
    std::string source;  // "pillow" or "samples"
};

inline std::vector<Fixture> ReadManifest() {
    std::ifstream in(std::string(VANE_IMAGING_DATA) + "/manifest.txt");
    std::vector<Fixture> fixtures;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        Fixture f;
        if (fields >> f.image >> f.expectation >> f.source) fixtures.push_back(f);
    }
    return fixtures;
}

struct Expectation {
    uint32_t width = 0, height = 0;
    std::vector<uint32_t> pixels;  // colour values, red in bits 0-7, alpha in 24-31
};

inline Expectation ReadExpectation(const std::string& name) {
    const std::vector<uint8_t> bytes = ReadTestFile(name);
    Expectation e;
    if (bytes.size() < 8) return e;
    e.width = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t(bytes[3]) << 24;
    e.height = bytes[4] | bytes[5] << 8 | bytes[6] << 16 | uint32_t(bytes[7]) << 24;
    for (size_t i = 8; i + 4 <= bytes.size(); i += 4) {
        e.pixels.push_back(bytes[i] | bytes[i + 1] << 8 | bytes[i + 2] << 16 |
                           uint32_t(bytes[i + 3]) << 24);
    }
    return e;
}
