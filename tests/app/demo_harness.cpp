#include "tests/app/demo_harness.h"

#include <cstring>

#include "framework/application_factory.h"
#include "graphics2d/color_value.h"
#include "graphics2d/pixel_format.h"

namespace {

DemoRun* watching = nullptr;  // the run the registered factory builds its demo for

class Listener final : public VDemoSoundObserver {
  public:
    void SoundCall(const VDemoSoundEvent& event) override {
        if (watching != nullptr) watching->Heard(event);
    }
};
Listener listener;

// The demo as it is, with the frames and the end watched and, when asked, an X888 display or
// upright surfaces.
class WatchedMain final : public ClassMain {
  public:
    explicit WatchedMain(const VDemoOptions& options) : ClassMain(options) {}

    int OnConfigureDisplay(VScreenSettings& settings) override {
        const int r = ClassMain::OnConfigureDisplay(settings);
        if (watching != nullptr && watching->Options().x888) {
            settings.displayMode = VPIXELFORMAT_X888;
            settings.bufferFormat = VPIXELFORMAT_X888;
        }
        if (watching != nullptr && watching->Options().uprightSurfaces) settings.nativeLayout = 0;
        return r;
    }
    int OnFrame(ClassVScreen& screen, uint32_t elapsedMs) override {
        if (watching != nullptr) watching->FrameStarting(*this);
        const int r = ClassMain::OnFrame(screen, elapsedMs);
        if (watching != nullptr) watching->FrameDone(*this);
        return r;
    }
    int OnSuspend() override {
        const int r = ClassMain::OnSuspend();
        if (watching != nullptr) watching->Suspended(*this);
        return r;
    }
    void OnExit(uintptr_t instanceHandle) override {
        if (watching != nullptr) watching->Ending(*this);
        ClassMain::OnExit(instanceHandle);
    }
};

ClassVane* MakeWatchedMain(VStartRecord*) {
    VDemoOptions options;
    options.speakerOutput = HSS_OUTPUT_NULL;
    options.soundObserver = &listener;
    return new WatchedMain(options);
}

}  // namespace

DemoRun::DemoRun(DemoRunOptions options) : options_(std::move(options)) {
    VHeadlessOptions layer;
    layer.frameBudget = options_.frames;
    layer.screenFormat = options_.x888 ? uint8_t(VPIXELFORMAT_X888) : options_.screenFormat;
    layer.screenWidth = options_.screenWidth;
    layer.screenHeight = options_.screenHeight;
    if (options_.module != nullptr) {
        layer.instanceHandle = reinterpret_cast<uintptr_t>(options_.module);
    }
    layer.defaults = options_.defaults;
    layer.errorStream = nullptr;
    platform_ = std::make_unique<VHeadlessPlatform>(layer);
}

DemoRun::DemoRun(DemoRunOptions options, DemoLayer& layer)
    : options_(std::move(options)), layer_(&layer) {}

DemoRun::~DemoRun() = default;

uint32_t DemoRun::Run() {
    VApplicationRegistration registration(&MakeWatchedMain);
    watching = this;
    const uint32_t code = layer_ != nullptr ? layer_->Run(*this) : platform_->Run();
    watching = nullptr;
    // The picture of the last frame drawn is on the screen now.
    if (framesDrawn_ > 0) TakeShot(uint32_t(framesDrawn_ - 1));
    return code;
}

void DemoRun::TakeShot(uint32_t frame) {
    for (uint32_t wanted : options_.shots) {
        if (wanted != frame) continue;
        shots_[frame] =
            layer_ != nullptr ? layer_->Presented() : PresentedPicture(platform_->Picture());
    }
}

void DemoRun::FrameStarting(ClassMain& demo) {
    if (options_.keepStates) states_.push_back(demo.Scene());
    // The previous frame has been presented.
    if (framesDrawn_ > 0) TakeShot(uint32_t(framesDrawn_ - 1));
    currentFrame_ = framesDrawn_;
}

void DemoRun::FrameDone(ClassMain& demo) {
    ++framesDrawn_;
    lastScene_ = demo.Scene();
    currentFrame_ = -1;
}

void DemoRun::Heard(const VDemoSoundEvent& event) {
    calls_.push_back(HeardCall{currentFrame_, event});
}

void DemoRun::Ending(ClassMain& demo) {
    lastSettings_ = demo.Settings();
    lastPen_ = demo.Pen();
    appSettings_ = demo.AppSettings();
    screenSettings_ = demo.ScreenSettings();
    speakerSuspendedAtEnd_ = demo.Speaker().suspended();
    if (options_.mosaicAtEnd) mosaic_ = SurfacePicture(demo.Mosaic());
}

void DemoRun::Suspended(ClassMain& demo) {
    if (demo.Speaker().suspended()) ++speakerSuspensions_;
}

std::vector<int64_t> DemoRun::SoundFrames(uint32_t sound) const {
    std::vector<int64_t> frames;
    for (const HeardCall& c : calls_) {
        if (c.event.call == VDemoSoundCall::PlaySound && c.event.values[0] == sound) {
            frames.push_back(c.frame);
        }
    }
    return frames;
}

RgbPicture PresentedPicture(const VHeadlessPicture& picture) {
    RgbPicture out;
    out.width = picture.width;
    out.height = picture.height;
    out.rgb.reserve(size_t(out.width) * out.height * 3);
    for (uint32_t y = 0; y < picture.height; ++y) {
        for (uint32_t x = 0; x < picture.width; ++x) {
            const uint8_t* p = picture.pixels.data() + size_t(y) * picture.pitch +
                               size_t(x) * picture.bytesPerPixel;
            uint32_t pixel = 0;
            for (uint32_t i = 0; i < picture.bytesPerPixel; ++i) pixel |= uint32_t(p[i]) << (8 * i);
            const uint32_t c = PixelToShownColor(picture.format, pixel);
            out.rgb.insert(out.rgb.end(),
                           {uint8_t(VRed(c)), uint8_t(VGreen(c)), uint8_t(VBlue(c))});
        }
    }
    return out;
}

RgbPicture SurfacePicture(V2DSurface& surface) {
    RgbPicture out;
    SurfaceLayout l;
    const uint8_t* pixels = surface.Lock(&l);
    if (pixels == nullptr) return out;
    out.width = l.width;
    out.height = l.height;
    const uint32_t bytes = l.bitsperpixel / 8u;
    for (uint32_t y = 0; y < l.height; ++y) {
        for (uint32_t x = 0; x < l.width; ++x) {
            const uint8_t* p = pixels + l.origin + int64_t(x) * l.xstep + int64_t(y) * l.ystep;
            uint32_t pixel = 0;
            for (uint32_t i = 0; i < bytes; ++i) pixel |= uint32_t(p[i]) << (8 * i);
            const uint32_t c = PixelToShownColor(l.pixelformat, pixel);
            out.rgb.insert(out.rgb.end(),
                           {uint8_t(VRed(c)), uint8_t(VGreen(c)), uint8_t(VBlue(c))});
        }
    }
    surface.Unlock();
    return out;
}

ResourceTableWithout::ResourceTableWithout(const char* type, uint32_t id) {
    const VResourceModule* all = ProgramResources();
    for (size_t i = 0; i < all->count; ++i) {
        const VResource& r = all->entries[i];
        if (r.id == id && std::strcmp(r.type, type) == 0) continue;
        entries.push_back(r);
    }
    module = VResourceModule{entries.data(), entries.size()};
}
