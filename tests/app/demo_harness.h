// Runs the demo on the headless layer and watches it: which frame is running, every sound
// call with the frame it fell in, and the presented picture after chosen frames.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "app/class_main.h"
#include "platform/headless/headless_platform.h"
#include "platform/resources.h"

// The presented picture as 8-bit RGB rows, whatever the screen's format.
struct RgbPicture {
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> rgb;
    friend bool operator==(const RgbPicture&, const RgbPicture&) = default;
};

// One sound call and the frame it was made in (-1: before the first frame).
struct HeardCall {
    int64_t frame;
    VDemoSoundEvent event;
};

struct DemoRunOptions {
    uint32_t frames = 1;  // the layer quits after this many frames
    bool x888 = false;    // screen and back buffer X888 instead of the default 565
    // The headless screen's format and size, 0: what the display asks for (565, 240 x 320).
    uint8_t screenFormat = 0;
    uint32_t screenWidth = 0, screenHeight = 0;
    const VResourceModule* module = nullptr;  // null: the program's own resources
    std::vector<uint32_t> shots;              // frames whose presented picture is kept
    bool mosaicAtEnd = false;                 // keep the mosaic surface after the last frame
    bool keepStates = false;                  // keep the scene variables of every frame
    VPlatformDefaults defaults;               // the desktop's; set both to run as a handheld
    // Native layout off: surfaces stay upright and the present turns the picture to the screen.
    bool uprightSurfaces = false;
};

class DemoRun;

// A layer other than the headless one for the watched demo: it runs the program until the run
// has drawn its frames, and shows what the screen shows.
class DemoLayer {
  public:
    virtual ~DemoLayer() = default;
    virtual uint32_t Run(const DemoRun& run) = 0;
    virtual RgbPicture Presented() = 0;
};

class DemoRun {
  public:
    // On the headless layer.
    explicit DemoRun(DemoRunOptions options);
    // On another layer; options.frames is the layer's to keep.
    DemoRun(DemoRunOptions options, DemoLayer& layer);
    ~DemoRun();

    // Only for a run on the headless layer.
    VHeadlessPlatform& Platform() { return *platform_; }
    // Runs the demo to its end; the exit code.
    uint32_t Run();

    int64_t FramesDrawn() const { return framesDrawn_; }
    const std::vector<HeardCall>& Calls() const { return calls_; }
    // The frames in which effect `sound` was started.
    std::vector<int64_t> SoundFrames(uint32_t sound) const;
    const std::map<uint32_t, RgbPicture>& Shots() const { return shots_; }
    const RgbPicture& MosaicPicture() const { return mosaic_; }
    const VSceneState& LastScene() const { return lastScene_; }
    // The scene variables as each frame found them, before it drew (kept when asked).
    const std::vector<VSceneState>& States() const { return states_; }
    const VDemoSettings& LastSettings() const { return lastSettings_; }
    const VPenPosition& LastPen() const { return lastPen_; }
    const VAppSettings& AppSettings() const { return appSettings_; }
    const VScreenSettings& ScreenSettings() const { return screenSettings_; }
    // Suspensions after which the speaker reported itself paused.
    uint32_t SuspendedWhileAway() const { return speakerSuspensions_; }
    bool SpeakerSuspendedAtEnd() const { return speakerSuspendedAtEnd_; }

    // Called by the watched demo.
    void FrameStarting(ClassMain& demo);
    void FrameDone(ClassMain& demo);
    void Heard(const VDemoSoundEvent& event);
    void Ending(ClassMain& demo);
    void Suspended(ClassMain& demo);
    const DemoRunOptions& Options() const { return options_; }

  private:
    void TakeShot(uint32_t frame);

    DemoRunOptions options_;
    std::unique_ptr<VHeadlessPlatform> platform_;
    DemoLayer* layer_ = nullptr;
    int64_t framesDrawn_ = 0;
    int64_t currentFrame_ = -1;
    std::vector<HeardCall> calls_;
    std::map<uint32_t, RgbPicture> shots_;
    RgbPicture mosaic_;
    VSceneState lastScene_;
    std::vector<VSceneState> states_;
    VDemoSettings lastSettings_;
    VPenPosition lastPen_;
    VAppSettings appSettings_;
    VScreenSettings screenSettings_;
    uint32_t speakerSuspensions_ = 0;
    bool speakerSuspendedAtEnd_ = false;
};

// The picture on the screen of a headless platform, as RGB.
RgbPicture PresentedPicture(const VHeadlessPicture& picture);
// A surface's logical pixels as RGB.
RgbPicture SurfacePicture(V2DSurface& surface);

// A copy of the program's resource table without one entry.
struct ResourceTableWithout {
    ResourceTableWithout(const char* type, uint32_t id);
    std::vector<VResource> entries;
    VResourceModule module{nullptr, 0};
};
