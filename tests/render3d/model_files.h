// The generated 3D Studio models (tools/render3d/make_test_models.py) and what assimp reads
// from each.
#pragma once

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

inline std::vector<uint8_t> ReadModelFile(const std::string& name) {
    std::ifstream in(std::string(VANE_RENDER3D_DATA) + "/" + name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

struct ModelFixture {
    std::string model;
    std::string expectation;
    int scale = 0;
};

inline std::vector<ModelFixture> ReadModelManifest() {
    std::ifstream in(std::string(VANE_RENDER3D_DATA) + "/manifest.txt");
    std::vector<ModelFixture> fixtures;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        ModelFixture f;
        if (fields >> f.model >> f.expectation >> f.scale) fixtures.push_back(f);
    }
    return fixtures;
}

// One face as assimp reads it: corner positions, the material's ambient colour (or none when
// assimp gives the face its default material), texture coordinates if any, normals.
struct ExpectedFace {
    std::array<double, 9> positions{};
    bool white = false;
    std::array<double, 3> rgb{};
    bool textured = false;
    std::array<double, 6> uv{};
    std::array<double, 9> normals{};
};

struct ExpectedModel {
    uint32_t faces = 0;
    uint32_t vertices = 0;
    std::vector<ExpectedFace> faceList;
};

inline ExpectedModel ReadExpectedModel(const std::string& name) {
    std::ifstream in(std::string(VANE_RENDER3D_DATA) + "/" + name);
    ExpectedModel e;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string word;
        fields >> word;
        if (word == "faces") fields >> e.faces;
        if (word == "vertices") fields >> e.vertices;
        if (word != "face") continue;
        ExpectedFace f;
        for (double& p : f.positions) fields >> p;
        fields >> word;
        f.white = word == "white";
        if (!f.white) {
            for (double& c : f.rgb) fields >> c;
        }
        fields >> word;
        f.textured = word == "uv";
        if (f.textured) {
            for (double& t : f.uv) fields >> t;
        }
        fields >> word;  // "normal"
        for (double& n : f.normals) fields >> n;
        e.faceList.push_back(f);
    }
    return e;
}
