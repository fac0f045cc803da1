#include "app/class_main.h"

#include <new>

#include "app/resource_lookup.h"
#include "render3d/model.h"

namespace {
constexpr char16_t kCaption[] = u"Vorlund";
constexpr uint32_t kIconId = 101;
constexpr uint32_t kWidth = 240;
constexpr uint32_t kHeight = 320;
constexpr uint8_t kFollowTheDevice = 6;
constexpr uint32_t kMosaicSide = 512;
constexpr uint32_t kMainMemory = 0;
constexpr uint16_t kFirstGlyph = 32;
constexpr uint16_t kLastGlyph = 255;
constexpr uint32_t kFontBackground = 0xF8F8F8;
}  // namespace

ClassMain::ClassMain(const VDemoOptions& options)
    : sound_(options.speakerOutput, options.soundObserver) {}

// The model is the demo's own; its buffers go back to the framework's pool, which outlives
// this destructor (it belongs to the base class).
ClassMain::~ClassMain() {
    delete model_;
}

int ClassMain::OnConfigure(VAppSettings& settings) {
    LoadDemoSettings(&settings_);
    settings.fpslimit = 50;
    settings.flags = 0;
    settings.connectionSlots = 1;
    settings.sleepAtLeast1ms = 1;
    settings.minimizeWhenInactive = 1;
    settings.reserved1 = 1;
    settings.suspendWhenInactive = 1;
    settings.reserved2 = 1;
    settings.platformOptionA = 1;
    settings.platformOptionB = 0;
    return 0;
}

int ClassMain::OnConfigureDisplay(VScreenSettings& settings) {
    // A platform that runs full screen by default is a handheld: the demo stays full screen
    // there, without a cursor; on a desktop it is a window, with the cursor kept in full
    // screen.
    const bool handheld = settings.fullScreen != 0;
    static_assert(sizeof(kCaption) <= sizeof(settings.caption));
    for (size_t i = 0; i < sizeof(kCaption) / sizeof(kCaption[0]); ++i) {
        settings.caption[i] = kCaption[i];
    }
    settings.displayMode = 32;
    settings.bufferFormat = 32;
    settings.icon = kIconId;
    settings.menu = 0;
    settings.dialog = 0;
    settings.width = kWidth;
    settings.height = kHeight;
    settings.orientation = kFollowTheDevice;
    settings.displayMethod = 0;
    settings.bufferMemory = 1;
    settings.fullScreen = handheld ? 1 : 0;
    settings.cursorInFullScreen = handheld ? 0 : 1;
    settings.acceleratedBlits = 1;
    settings.statusBar = 0;
    settings.console = 0;
    settings.nativeLayout = 1;
    return 0;
}

int ClassMain::OnStartup(uintptr_t) {
    return 0;
}

int ClassMain::OnSuspend() {
    sound_.Suspend();
    return 0;
}

int ClassMain::OnResume() {
    sound_.Resume();
    return 0;
}

VResourceData ClassMain::Resource(const char* type, uint32_t id) const {
    return LookUpResource(module_, type, id);
}

// No result of the loads is checked: a surface that failed to load draws nothing, and the
// sound library keeps quiet when it cannot play.
int ClassMain::OnInit(uintptr_t instanceHandle, ClassVScreen& screen) {
    module_ = reinterpret_cast<const VResourceModule*>(instanceHandle);
    screen_ = &screen;
    scene_.scene = 1;

    const VResourceData font = Resource("IMAGES", 108);
    screen.LoadSurface(font_, font.data, uint32_t(font.size), kMainMemory);
    font_.SetFontRange(kFirstGlyph, kLastGlyph);
    font_.ScanFont(false, kFontBackground);

    const VResourceData logo = Resource("IMAGES", 105);
    screen.LoadSurfaceRGBA(logo_, logo.data, uint32_t(logo.size), kMainMemory);

    screen.CreateSurface(mosaic_, kMosaicSide, kMosaicSide, kMainMemory);

    const VResourceData advert = Resource("IMAGES", 116);
    screen.LoadSurface(advert_, advert.data, uint32_t(advert.size), kMainMemory);

    model_ = new (std::nothrow) V3DModel();
    scene_.frame = 0;
    sound_.Start(module_);
    return 0;
}

int ClassMain::OnFrame(ClassVScreen& screen, uint32_t) {
    V2DSurface& b = screen.BackBuffer();
    switch (scene_.scene) {
        case 1:
            Scene1(b);
            break;
        case 2:
            Scene2(b);
            break;
        default:
            Scene3(b);
            break;
    }
    return 0;
}

void ClassMain::OnExit(uintptr_t) {
    SaveDemoSettings(settings_);
}

void ClassMain::OnKeyDown(uint32_t, VKeyList&) {
    Quit();
}
void ClassMain::OnKeyUp(uint32_t, VKeyList&) {}
void ClassMain::OnWheel(int32_t) {}
void ClassMain::OnPenUp(int32_t x, int32_t y) {
    pen_ = VPenPosition{x, y};
}
void ClassMain::OnPenDown(int32_t x, int32_t y) {
    pen_ = VPenPosition{x, y};
}
void ClassMain::OnPenDoubleTap(int32_t, int32_t) {
    Quit();
}
void ClassMain::OnPenMove(int32_t x, int32_t y) {
    pen_ = VPenPosition{x, y};
}
void ClassMain::OnDisplayChange(ClassVScreen&) {}
void ClassMain::OnConnectionMessage(uint8_t, uint32_t, uint32_t, int32_t, int32_t) {}

void ClassMain::LoadNextModel(uint32_t id, bool replaceObject) {
    if (replaceObject) {
        // The object made in OnInit is freed, not left behind; the destructor frees the last.
        delete model_;
        model_ = new (std::nothrow) V3DModel();
    }
    const VResourceData data = Resource("MODELS", id);
    if (model_ != nullptr) {
        screen_->LoadModel(*model_, data.data, uint32_t(data.size), -3, 0);
    }
}
