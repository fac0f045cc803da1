// ClassMain, the Vorlund demo: a studio logo, a 3D model flying past four slogans, three more
// models beside eight captioned pieces of the advert picture, and a last scene of spinning
// quads textured with snapshots of the earlier ones, over tracker music and three effects.
// Any key or a double tap ends it.
//
// The callbacks are in class_main.cpp, the frame-by-frame timeline in scene1.cpp, scene2.cpp
// and scene3.cpp (built from the blocks in timeline_blocks.cpp and piece.cpp, with the data
// of timeline_tables.h), the two-byte settings file in settings_file.cpp.
//
// A program runs the demo by linking vorlund_application (which registers ClassMain as the
// application) and a platform layer. A program that needs a say in the sound registers its
// own factory returning ClassMain(options) instead.
#pragma once

#include <cstdint>

#include "app/demo_sound.h"
#include "app/settings_file.h"
#include "framework/vane.h"
#include "graphics2d/surface.h"
#include "graphics2d/surface_rgba.h"

struct VResourceModule;
struct VResourceData;
class V3DModel;

struct VDemoOptions {
    // Where the speaker plays: the system's audio output, as the demo asks for it, or
    // HSS_OUTPUT_NULL for a program that renders the mix itself (Speaker().render).
    uint32_t speakerOutput = HSS_OUTPUT_SYSTEM;
    VDemoSoundObserver* soundObserver = nullptr;  // not owned
};

// The scene variables of the timeline.
struct VSceneState {
    uint16_t scene = 1;           // 1, 2 or 3
    int32_t frame = 0;            // f of the current scene
    int32_t x = 0, y = 0, z = 0;  // model position
    int32_t rx = 0, ry = 0;       // model angles about x and y, 4096 to the turn
    // Render flags of the last model in scene 2; the start frame of the advert piece in scene 3.
    int32_t flagsOrAdvertStart = 0;
    int32_t cellIndex = 0;  // the first of the three mosaic cells scene 3 shows, 0 to 12
    int32_t shrink = 0;     // frames left of the cells shrinking away
    int32_t grow = 0;       // frames left of the next cells growing in
};

// The last stylus position, kept for nothing more than that.
struct VPenPosition {
    int32_t x = 0, y = 0;
};

class ClassMain : public ClassVane {
  public:
    explicit ClassMain(const VDemoOptions& options = {});
    ~ClassMain() override;

    int OnConfigure(VAppSettings& settings) override;
    int OnConfigureDisplay(VScreenSettings& settings) override;
    int OnStartup(uintptr_t instanceHandle) override;
    int OnSuspend() override;
    int OnResume() override;
    int OnInit(uintptr_t instanceHandle, ClassVScreen& screen) override;
    int OnFrame(ClassVScreen& screen, uint32_t elapsedMs) override;
    void OnExit(uintptr_t instanceHandle) override;
    void OnKeyDown(uint32_t key, VKeyList& keys) override;
    void OnKeyUp(uint32_t key, VKeyList& keys) override;
    void OnWheel(int32_t direction) override;
    void OnPenUp(int32_t x, int32_t y) override;
    void OnPenDown(int32_t x, int32_t y) override;
    void OnPenDoubleTap(int32_t x, int32_t y) override;
    void OnPenMove(int32_t x, int32_t y) override;
    void OnDisplayChange(ClassVScreen& screen) override;
    void OnConnectionMessage(uint8_t slot, uint32_t code, uint32_t value, int32_t x,
                             int32_t y) override;

    const VSceneState& Scene() const { return scene_; }
    const VDemoSettings& Settings() const { return settings_; }
    const VPenPosition& Pen() const { return pen_; }
    V2DSurface& Mosaic() { return mosaic_; }
    hssSpeaker& Speaker() { return sound_.Speaker(); }

  private:
    // The timeline (scene1.cpp, scene2.cpp, scene3.cpp).
    void Scene1(V2DSurface& b);
    void Scene2(V2DSurface& b);
    void Scene3(V2DSurface& b);
    void Scene3Quad(V2DSurface& b, int32_t i);

    // Building blocks (timeline_blocks.cpp, piece.cpp).
    void Gradient(V2DSurface& b, uint32_t top, uint32_t bottom);
    void FadeIn(V2DSurface& b, int32_t start);
    void FadeOut(V2DSurface& b, int32_t start);
    void Snapshot(V2DSurface& b, int32_t column, int32_t row);
    // Every snapshot the mosaic table gives for the current scene and frame.
    void SnapshotsDue(V2DSurface& b);
    // Scene 2's one white light, set every frame.
    void Light();
    void Model(int32_t x, int32_t y, int32_t z, int32_t ax, int32_t ay, uint32_t flags);
    void Piece(V2DSurface& b, int32_t start, int32_t x, int32_t y, V2DSurface* surface,
               const VRect& rect, int32_t mode, int32_t effect, double factor, int32_t textX,
               int32_t textY, const char* text);

    // Looks up a resource of the program; a missing one ends the program there.
    VResourceData Resource(const char* type, uint32_t id) const;
    // Frees the model object and puts a newly constructed one in its place, then loads the
    // "MODELS" resource id into it.
    void LoadNextModel(uint32_t id, bool replaceObject);

    VDemoSettings settings_;
    VDemoSound sound_;
    const VResourceModule* module_ = nullptr;
    ClassVScreen* screen_ = nullptr;
    V2DSurface font_;
    V2DSurfaceRGBA logo_;
    V2DSurface slogans_;
    V2DSurface advert_;
    V2DSurface mosaic_;
    V3DModel* model_ = nullptr;  // owned
    VSceneState scene_;
    VPenPosition pen_;
};
