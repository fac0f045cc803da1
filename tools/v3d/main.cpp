// v3d: converts a model any of assimp's importers reads (OBJ, glTF, 3DS, MS3D, PLY, FBX, ...)
// into a V3D file, the framework's own model format, which VLoader_V3D reads back to the same
// mesh.
#include <assimp/scene.h>

#include <assimp/Importer.hpp>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "tools/v3d/scene_mesh.h"
#include "tools/v3d/v3d_writer.h"

namespace {

const char kHelp[] = R"(usage: v3d [options] INPUT OUTPUT.v3d

Converts a model that assimp reads (OBJ, glTF, 3DS, MS3D, PLY, FBX, COLLADA, ...) into a V3D
file for the framework's V3D loader, which gives the model the same mesh.

Kept:
  - every triangle of every mesh, merged into one model, with the scene's node transforms
    applied; polygons are triangulated and identical vertices joined
  - positions, multiplied by --units and rounded to whole model units (the loader's scale
    then multiplies them by a power of two)
  - one colour per vertex: the mesh's first vertex-colour set, else its material's diffuse
    colour with the material's opacity as alpha, else white
  - normals, when every mesh has them, as bytes of the unit normal times 127; the loader
    gives the model normals of length 43, half the 88 of the normals the framework computes
    for a model without them (see --no-normals), so lit faces come out darker
  - the first set of texture coordinates as 16.16 (65536 is one texture length), u and v
    as the input gives them; the model stores (u, -v)

Dropped: textures and images, further texture-coordinate and colour sets, every material
property but the colour, points and lines, bones, skins, animations and morph targets,
cameras, lights, node names and the hierarchy (its transforms are applied).

A model may have at most 65536 vertices (faces name them with u16 indices). The renderer's
fixed-point transforms stay exact for positions well below 2^19 units.

Options:
  --units N       model units per unit of the input, default 64
  --no-colours    write no vertex colours (the model's are white)
  --no-normals    write no normals: the framework computes them from the faces at load
  --no-texcoords  write no texture coordinates
  -h, --help      this text
)";

int Fail(const std::string& message) {
    std::fprintf(stderr, "v3d: %s\n", message.c_str());
    return 1;
}

std::string BaseName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    return file.substr(0, file.find_last_of('.'));
}

bool ReachesTransformLimit(const SceneMesh& mesh, double units) {
    const double limit = std::ldexp(1.0, 19);
    for (const auto& p : mesh.positions) {
        for (float c : p) {
            if (std::fabs(c * units) >= limit) return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    V3dOptions options;
    std::string input, output;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::fputs(kHelp, stdout);
            return 0;
        } else if (arg == "--units" && i + 1 < argc) {
            char* end = nullptr;
            options.units = std::strtod(argv[++i], &end);
            if (*end != 0 || !(options.units > 0) || !std::isfinite(options.units)) {
                return Fail("--units needs a positive number");
            }
        } else if (arg == "--no-colours") {
            options.colours = false;
        } else if (arg == "--no-normals") {
            options.normals = false;
        } else if (arg == "--no-texcoords") {
            options.texCoords = false;
        } else if (!arg.empty() && arg[0] == '-') {
            return Fail("unknown option " + arg + " (see --help)");
        } else if (input.empty()) {
            input = arg;
        } else if (output.empty()) {
            output = arg;
        } else {
            return Fail("one input and one output, please (see --help)");
        }
    }
    if (output.empty()) return Fail("an input and an output file are needed (see --help)");

    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(input, SceneMeshSteps());
    if (scene == nullptr) return Fail(input + ": " + importer.GetErrorString());
    const SceneMesh mesh = MergeScene(*scene);
    options.name = BaseName(input);
    std::vector<uint8_t> bytes;
    std::string error;
    if (!WriteV3d(mesh, options, bytes, error)) return Fail(input + ": " + error);

    std::ofstream out(output, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out.flush()) return Fail(output + ": could not be written");

    if (ReachesTransformLimit(mesh, options.units)) {
        std::fprintf(stderr, "v3d: warning: positions reach 2^19 units; lower --units\n");
    }
    std::printf("%s: %zu vertices, %zu faces%s%s%s%s\n", output.c_str(), mesh.positions.size(),
                mesh.faces.size(), options.colours ? ", colours" : "",
                options.normals && !mesh.normals.empty() ? ", normals" : "",
                options.texCoords && !mesh.texCoords.empty() ? ", texture coordinates" : "",
                mesh.droppedMeshes > 0 ? " (points and lines dropped)" : "");
    return 0;
}
