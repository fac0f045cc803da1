// The generated test models (tools/render3d/make_test_models.py) and what an independent
// reader, assimp, reads from each (for V3D, which no other reader knows, the mesh the
// generator wrote). The format of the expectation files is described in
// tools/render3d/assimp_reading.py.
#pragma once

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

inline std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline std::vector<uint8_t> ReadModelFile(const std::string& name) {
    return ReadFileBytes(std::string(VANE_RENDER3D_DATA) + "/" + name);
}

struct ModelFixture {
    std::string model;
    std::string expectation;
    int scale = 0;
    double units = 64;  // model units per unit of the expectation at scale 0
};

// "model expectation scale [units]" per line: manifest.txt for the models, conversions.txt
// for the sources of the V3D converter's round trip.
inline std::vector<ModelFixture> ReadModelManifest(const std::string& name = "manifest.txt") {
    std::ifstream in(std::string(VANE_RENDER3D_DATA) + "/" + name);
    std::vector<ModelFixture> fixtures;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        ModelFixture f;
        if (!(fields >> f.model >> f.expectation >> f.scale)) continue;
        fields >> f.units;
        fixtures.push_back(f);
    }
    return fixtures;
}

// One face: corner positions, the colour (none when the face has the default material, else
// r, g, b, a of each corner, alpha 1 where the file gives none), texture coordinates and
// normals if any.
struct ExpectedFace {
    std::array<double, 9> positions{};
    bool white = false;
    std::array<std::array<double, 4>, 3> rgba{};
    bool textured = false;
    std::array<double, 6> uv{};
    bool hasNormals = false;
    std::array<double, 9> normals{};
};

struct ExpectedJoint {
    std::string name;
    std::string parent;               // "-" for none
    std::array<double, 16> global{};  // column vectors: row r, column c at 4r + c
};

struct ExpectedModel {
    uint32_t faces = 0;
    uint32_t vertices = 0;
    std::vector<ExpectedFace> faceList;
    std::vector<ExpectedJoint> joints;
};

inline ExpectedFace ReadExpectedFace(std::istringstream& fields) {
    ExpectedFace f;
    std::string word;
    for (double& p : f.positions) fields >> p;
    fields >> word;
    f.white = word == "white";
    if (word == "rgb" || word == "rgba") {
        std::array<double, 4> c{0, 0, 0, 1};
        for (size_t i = 0; i < (word == "rgb" ? 3u : 4u); ++i) fields >> c[i];
        f.rgba = {c, c, c};
    } else if (word == "corners") {
        for (auto& corner : f.rgba) {
            for (double& c : corner) fields >> c;
        }
    }
    fields >> word;
    f.textured = word == "uv";
    if (f.textured) {
        for (double& t : f.uv) fields >> t;
    }
    fields >> word;
    f.hasNormals = word == "normal";
    if (f.hasNormals) {
        for (double& n : f.normals) fields >> n;
    }
    return f;
}

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
        if (word == "face") e.faceList.push_back(ReadExpectedFace(fields));
        if (word == "joint") {
            ExpectedJoint j;
            fields >> j.name >> word >> j.parent;
            for (double& m : j.global) fields >> m;
            e.joints.push_back(j);
        }
    }
    return e;
}
