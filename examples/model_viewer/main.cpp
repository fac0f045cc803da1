// model_viewer: shows any model the framework's loaders read (3D Studio, MilkShape 3D, V3D),
// fitted to the display, in any of the renderer's modes, with its face count and frame rate.
//
//   1 flat   2 lit   3 shaded   4 wireframe   5 textured (with a picture given)
//   Arrow keys or mouse drag  turn        Wheel  nearer / farther        Esc  quit
//
// Usage: model_viewer MODEL [PICTURE] [--mode 1-5] [--scale N] [--fullscreen] [--frames N]
//                     [--shot FILE]
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "examples/example_shell/example_shell.h"
#include "framework/application_factory.h"
#include "framework/key_codes.h"
#include "framework/screen.h"
#include "framework/vane.h"
#include "graphics2d/blit_flags.h"
#include "graphics2d/color_value.h"
#include "graphics2d/font.h"
#include "math/matrix.h"
#include "render3d/model.h"
#include "render3d/render_list.h"

namespace {

constexpr uint32_t kDisplayWidth = 480, kDisplayHeight = 360;
const uint32_t kTextColour = VRgb(240, 240, 240), kHelpColour = VRgb(150, 170, 200);
const uint32_t kSkyTop = VRgb(12, 16, 40), kSkyBottom = VRgb(60, 70, 96);

// The model is scaled by a power of two until its largest half-extent lies in this range:
// large enough for the integer positions to keep their shape, and with the screen's smaller
// side spanning -4096 to 4096 at depth 0, small enough to fit.
constexpr int64_t kFitLow = 1536, kFitHigh = 3072;
constexpr int8_t kMaxScaleSteps = 16;

// Turning: 4096 units a turn.
constexpr int32_t kKeyTurn = 128;     // per arrow key press
constexpr int32_t kDragTurn = 8;      // per pixel of mouse movement
constexpr int32_t kStartPitch = 384;  // a little from above
constexpr int32_t kStartYaw = 512;
// Distance: the view moves the model away from the viewer at depth 32768; nearer than this
// the model would reach the viewer.
constexpr int32_t kZoomStep = 1024;
constexpr int32_t kNearest = -20480, kFarthest = 65536;
constexpr int32_t kStartDistance = -4096;  // an eighth larger than at depth 0

struct Mode {
    const char* name;
    uint32_t flags;
};
const Mode kModes[] = {
    {"flat", 0},
    {"lit", V3DRENDER_LIT},
    {"shaded", V3DRENDER_SHADED},
    {"wireframe", V3DRENDER_WIREFRAME},
    {"textured", V3DRENDER_TEXTURED},
};
constexpr uint32_t kModeCount = sizeof(kModes) / sizeof(kModes[0]);
constexpr uint32_t kTexturedMode = 4;

// From the command line.
std::vector<uint8_t> modelBytes, pictureBytes;
std::string modelName;
uint32_t firstMode = 2;

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad() && !bytes->empty();
}

// The box around every vertex a face uses, in model units.
struct Bounds {
    int64_t low[3] = {INT64_MAX, INT64_MAX, INT64_MAX};
    int64_t high[3] = {INT64_MIN, INT64_MIN, INT64_MIN};
    int64_t Extent() const {
        int64_t e = 0;
        for (int i = 0; i < 3; ++i) e = std::max(e, (high[i] - low[i] + 1) / 2);
        return e;
    }
    int32_t Centre(int i) const { return int32_t((low[i] + high[i]) / 2); }
};

bool MeasureModel(V3DModel& model, Bounds* bounds) {
    V3DModelView view;
    if (!model.Lock(&view)) return false;
    for (uint32_t f = 0; f < model.GetFaceCount() * 3; ++f) {
        int32_t p[3];
        std::memcpy(p, view.position + size_t(view.faces[f]) * view.positionStride, sizeof(p));
        for (int i = 0; i < 3; ++i) {
            bounds->low[i] = std::min<int64_t>(bounds->low[i], p[i]);
            bounds->high[i] = std::max<int64_t>(bounds->high[i], p[i]);
        }
    }
    model.Unlock();
    return true;
}

class ClassModelViewer : public ClassVane {
  public:
    int OnConfigure(VAppSettings& settings) override {
        settings.fpslimit = 60;
        return 0;
    }

    int OnConfigureDisplay(VScreenSettings& settings) override {
        const char16_t caption[] = u"VANELIB model viewer";
        std::memcpy(settings.caption, caption, sizeof(caption));
        settings.icon = 101;
        settings.width = kDisplayWidth;
        settings.height = kDisplayHeight;
        return 0;
    }

    int OnInit(uintptr_t, ClassVScreen& screen) override {
        if (const char16_t* error = LoadExampleFont(screen, &font_)) {
            ReportError(error);
            return 1;
        }
        if (!LoadFitted(screen)) return 1;
        if (!pictureBytes.empty()) {
            if (screen.LoadSurface(texture_, pictureBytes.data(), uint32_t(pictureBytes.size()),
                                   VSURFACE_DEFAULT) != 0) {
                ReportError(u"The picture is not one the image loaders read.");
                return 1;
            }
            screen.SetTexture(&texture_);
        }
        // One white light from the upper left, in front; a dim ambient keeps the far side
        // visible.
        screen.SetLight(0, -4096, -4096, -8192, VRgb(255, 255, 255), VRgb(40, 40, 48), 0);
        screen.EnableLight(0, 1);
        mode_ = firstMode == kTexturedMode && !texture_.IsCreated() ? 2 : firstMode;
        std::printf("%s: %u faces\n", modelName.c_str(), model_.GetFaceCount());
        std::fflush(stdout);
        return 0;
    }

    int OnFrame(ClassVScreen& screen, uint32_t) override {
        V2DSurface& back = screen.BackBuffer();
        back.FillGradientRect(nullptr, kSkyTop, kSkyBottom);
        // The view: the model turned about its vertical axis, then tipped toward the viewer,
        // then moved away. Each view call puts its transform before those made so far.
        screen.ResetView();
        screen.TranslateView(0, 0, -distance_);
        screen.RotateView(pitch_, 0, 0);
        screen.RotateView(0, yaw_, 0);
        screen.SetRenderFlags(kModes[mode_].flags);
        screen.RenderModel(&model_);
        DrawText(screen);
        return 0;
    }

    void OnKeyDown(uint32_t key, VKeyList& keys) override {
        if (key >= '1' && key < '1' + kModeCount) {
            const uint32_t mode = key - '1';
            if (mode != kTexturedMode || texture_.IsCreated())
                mode_ = mode;
            else
                noTextureShown_ = true;
        }
        if (key == keys.keys[kKeyRoleLeft]) yaw_ -= kKeyTurn;
        if (key == keys.keys[kKeyRoleRight]) yaw_ += kKeyTurn;
        if (key == keys.keys[kKeyRoleUp]) pitch_ -= kKeyTurn;
        if (key == keys.keys[kKeyRoleDown]) pitch_ += kKeyTurn;
        if (key == VKEY_ESCAPE) Quit();
    }

    void OnPenDown(int32_t x, int32_t y) override {
        dragging_ = true;
        dragX_ = x;
        dragY_ = y;
    }
    void OnPenMove(int32_t x, int32_t y) override {
        if (!dragging_) return;
        yaw_ += (x - dragX_) * kDragTurn;
        pitch_ += (y - dragY_) * kDragTurn;
        dragX_ = x;
        dragY_ = y;
    }
    void OnPenUp(int32_t, int32_t) override { dragging_ = false; }

    void OnWheel(int32_t direction) override {
        distance_ = std::clamp(distance_ - direction * kZoomStep, kNearest, kFarthest);
    }

  private:
    // Loads the model at the power of two that fits it to the display, and centres it with its
    // model matrix.
    bool LoadFitted(ClassVScreen& screen) {
        Bounds bounds;
        if (!LoadMeasured(screen, 0, &bounds)) return false;
        int8_t scale = 0;
        for (int64_t extent = bounds.Extent(); extent > kFitHigh && scale > -kMaxScaleSteps;
             extent /= 2) {
            --scale;
        }
        for (int64_t extent = bounds.Extent(); extent < kFitLow && scale < kMaxScaleSteps;
             extent *= 2) {
            ++scale;
        }
        // Loaded again rather than scaled here, so that the loaders scale before they round.
        if (scale != 0 && !LoadMeasured(screen, scale, &bounds)) return false;
        MatrixIdentity(model_.ModelMatrix());
        MatrixTranslation(-bounds.Centre(0), -bounds.Centre(1), -bounds.Centre(2),
                          model_.ModelMatrix());
        return true;
    }

    bool LoadMeasured(ClassVScreen& screen, int8_t scale, Bounds* bounds) {
        if (screen.LoadModel(model_, modelBytes.data(), uint32_t(modelBytes.size()), scale, 0) !=
            0) {
            ReportError(
                u"The model is not one the model loaders read (3D Studio, MilkShape 3D, "
                u"V3D).");
            return false;
        }
        *bounds = Bounds();
        if (!MeasureModel(model_, bounds)) {
            ReportError(u"The model has no faces.");
            return false;
        }
        return true;
    }

    void DrawText(ClassVScreen& screen) {
        uint32_t whole = 0, hundredths = 0;
        GetFrameRate(&whole, &hundredths);
        char line[160];
        std::snprintf(line, sizeof(line), "%u faces   %u.%02u frames per second   %u %s",
                      model_.GetFaceCount(), whole, hundredths, mode_ + 1, kModes[mode_].name);
        V2DSurface& back = screen.BackBuffer();
        back.DrawString(4, 4, &font_, line, BLIT_KEY | BLIT_FILL, kTextColour);
        const char* help = noTextureShown_
                               ? "5 textured needs a picture after the model on the command line"
                               : "1 flat   2 lit   3 shaded   4 wireframe   5 textured\n"
                                 "arrows or drag: turn   wheel: nearer, farther   Esc: quit";
        back.DrawString(4, int32_t(screen.GetHeight()) - 4, &font_, help,
                        BLIT_KEY | BLIT_FILL | VTEXT_BOTTOM, kHelpColour);
    }

    V3DModel model_;
    V2DSurface font_, texture_;
    uint32_t mode_ = 2;
    int32_t yaw_ = kStartYaw, pitch_ = kStartPitch;
    int32_t distance_ = kStartDistance;
    bool dragging_ = false;
    int32_t dragX_ = 0, dragY_ = 0;
    bool noTextureShown_ = false;
};

VANE_APPLICATION(ClassModelViewer);

// Takes --mode N from the example's own arguments.
bool TakeMode(std::vector<std::string>* arguments, std::string* error) {
    for (size_t i = 0; i < arguments->size(); ++i) {
        if ((*arguments)[i] != "--mode") continue;
        const std::string value = i + 1 < arguments->size() ? (*arguments)[i + 1] : "";
        if (value.size() != 1 || value[0] < '1' || value[0] > char('0' + kModeCount)) {
            *error = "--mode takes 1 to 5";
            return false;
        }
        firstMode = uint32_t(value[0] - '1');
        arguments->erase(arguments->begin() + long(i), arguments->begin() + long(i) + 2);
        return true;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    VExampleRun run;
    std::string error;
    if (!ParseExampleArgs(argc, argv, &run, &error) || !TakeMode(&run.arguments, &error) ||
        run.arguments.empty() || run.arguments.size() > 2) {
        if (!error.empty()) std::fprintf(stderr, "%s\n", error.c_str());
        std::fprintf(stderr, "usage: %s MODEL [PICTURE] [--mode 1-5] %s\n", argv[0],
                     ExampleOptionsUsage());
        return 2;
    }
    modelName = run.arguments[0];
    if (!ReadWholeFile(run.arguments[0], &modelBytes)) {
        std::fprintf(stderr, "%s: cannot be read\n", run.arguments[0].c_str());
        return 1;
    }
    if (run.arguments.size() == 2 && !ReadWholeFile(run.arguments[1], &pictureBytes)) {
        std::fprintf(stderr, "%s: cannot be read\n", run.arguments[1].c_str());
        return 1;
    }
    if (firstMode == kTexturedMode && pictureBytes.empty()) {
        std::fprintf(stderr, "--mode 5 (textured) needs a picture after the model\n");
        return 2;
    }
    return RunExample(run);
}
