// model_sheet: renders the demo's four models as their scenes show them, on the framework's
// own display and renderer (headless), as a film strip of every 25th frame over the scene's
// gradient, and writes the strips as one PNG.
//
//     model_sheet <assets folder> <output.png>
//
// One strip per model, top to bottom 112, 113, 114, 115; each picture is a 240 × 320 frame
// at half size, twelve to a row, left to right in frame order.
#include <cstdio>
#include <string>
#include <vector>

#include "framework/application_factory.h"
#include "framework/screen.h"
#include "framework/vane.h"
#include "platform/headless/headless_platform.h"
#include "render3d/model.h"
#include "tools/model_sheet/model_scenes.h"
#include "tools/model_sheet/scene_frame.h"
#include "tools/model_sheet/sheet_png.h"

namespace {

constexpr uint32_t kEvery = 25;
constexpr uint32_t kPerRow = 12;
constexpr uint32_t kThumbWidth = 120, kThumbHeight = 160;
constexpr uint32_t kGap = 8;  // between the strips of two models

std::string gAssets, gOutput;
bool gWritten = false;

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        uint8_t buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0)
            bytes.insert(bytes.end(), buffer, buffer + n);
        std::fclose(f);
    }
    return bytes;
}

uint32_t StripRows(uint32_t resource, const ClassVMathTables& math) {
    uint32_t frames = 0, n = 0;
    WalkModelScene(resource, math, [&](const VModelFrame&) { frames += n++ % kEvery == 0; });
    return (frames + kPerRow - 1) / kPerRow;
}

class SheetApp final : public ClassVane {
  public:
    int OnConfigureDisplay(VScreenSettings& s) override {
        s.width = 240;
        s.height = 320;
        return 0;
    }

    int OnFrame(ClassVScreen& screen, uint32_t) override {
        Quit();
        uint32_t rows = 0;
        for (const VModelScene& scene : kModelScenes) rows += StripRows(scene.resource, Math());
        SheetPicture sheet(kPerRow * kThumbWidth,
                           rows * kThumbHeight + kGap * (std::size(kModelScenes) - 1), 0x202020);
        uint32_t top = 0;
        for (const VModelScene& scene : kModelScenes) {
            const std::vector<uint8_t> file = ReadFile(gAssets + "/" + scene.file);
            V3DModel model;
            if (file.empty() ||
                screen.LoadModel(model, file.data(), uint32_t(file.size()), -3, 0) != 0) {
                std::fprintf(stderr, "model_sheet: cannot load %s\n", scene.file);
                return 0;
            }
            uint32_t n = 0, picture = 0;
            WalkModelScene(scene.resource, Math(), [&](const VModelFrame& f) {
                if (n++ % kEvery != 0) return;
                DrawSceneFrame(screen, scene, f, model);
                sheet.Paste(screen.BackBuffer(), (picture % kPerRow) * kThumbWidth,
                            top + (picture / kPerRow) * kThumbHeight, 2);
                ++picture;
            });
            top += StripRows(scene.resource, Math()) * kThumbHeight + kGap;
        }
        gWritten = sheet.Write(gOutput);
        return 0;
    }
};

}  // namespace

VANE_APPLICATION(SheetApp);

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: model_sheet <assets folder> <output.png>\n");
        return 2;
    }
    gAssets = argv[1];
    gOutput = argv[2];
    VHeadlessOptions options;
    options.frameBudget = 1;
    VHeadlessPlatform platform(options);
    platform.Run();
    if (!gWritten) {
        std::fprintf(stderr, "model_sheet: %s not written\n", gOutput.c_str());
        return 1;
    }
    return 0;
}
