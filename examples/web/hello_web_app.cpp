// hello_web: a small program for the web layer's page while the demo is not there, shaped like
// the demo: a 240 × 320 display at 50 frames per second, a font and music from its resources,
// the two-byte settings file "game_nastr.cfg" read at start and written at the end, any key or
// a double tap to end, and the sound suspended with the program.
//
// Its picture is a function of the frame number alone, so that a screenshot can be compared
// with the headless layer's picture of a given frame: frames 0 to 30 slide a panel in, frames 31
// to 169 show the same still picture, and from frame 170 on a ball moves and the frame rate
// shows.
#include <cstdio>
#include <cstring>

#include "fileio/disk_file.h"
#include "framework/application_factory.h"
#include "framework/screen.h"
#include "framework/vane.h"
#include "graphics2d/blit_flags.h"
#include "graphics2d/color_value.h"
#include "hss/hss.h"
#include "platform/resources.h"

namespace {

constexpr char16_t kSettingsFile[] = u"game_nastr.cfg";
constexpr int32_t kSlideFrames = 31;  // frames 0 to 30 slide in
constexpr int32_t kStillUntil = 170;  // frames 31 to 169 are one picture
constexpr int32_t kBallSize = 10;

// The program's objects of static lifetime, as the demo keeps its own: destroyed after the
// application, the speaker closing first.
hssSpeaker speaker;
hssMusic music;
V2DSurface font;
uint8_t settings[2] = {1, 1};

struct SpeakerCloser {
    ~SpeakerCloser() { speaker.close(); }
} speakerCloser;

class ClassHelloWeb : public ClassVane {
  public:
    int OnConfigure(VAppSettings& s) override {
        LoadSettings();
        s.fpslimit = 50;
        s.minimizeWhenInactive = 1;
        s.suspendWhenInactive = 1;
        return 0;
    }

    int OnConfigureDisplay(VScreenSettings& s) override {
        const char16_t caption[] = u"VANELIB on the web";
        std::memcpy(s.caption, caption, sizeof(caption));
        s.width = 240;
        s.height = 320;
        return 0;
    }

    int OnInit(uintptr_t, ClassVScreen& screen) override {
        const uint8_t* data = nullptr;
        size_t size = 0;
        if (FindResource(ProgramResources(), "IMAGES", 108, &data, &size)) {
            screen.LoadSurface(font, data, uint32_t(size), 0);
            font.SetFontRange(32, 255);
            font.ScanFont(false, 0xF8F8F8);
        }
        speaker.open(22050, 16, true, HSS_RESAMPLE_LINEAR, HSS_OUTPUT_SYSTEM);
        speaker.volumeMusics(40);
        music.load(ProgramResources(), 117);
        music.loop(true);
        speaker.playMusic(&music, HSS_GAIN_UNITY);
        return 0;
    }

    int OnSuspend() override {
        speaker.suspend();
        return 0;
    }
    int OnResume() override {
        speaker.resume();
        return 0;
    }

    int OnFrame(ClassVScreen& screen, uint32_t elapsedMs) override {
        Draw(screen.BackBuffer(), elapsedMs);
        ++frame_;
        return 0;
    }

    void OnExit(uintptr_t) override { SaveSettings(); }
    void OnKeyDown(uint32_t, VKeyList&) override { Quit(); }
    void OnPenDoubleTap(int32_t, int32_t) override { Quit(); }

  private:
    static void LoadSettings() {
        settings[0] = settings[1] = 1;
        ClassVDiskFile file;
        if (!file.Open(kSettingsFile, 1)) return;
        file.ReadUpTo(settings, sizeof(settings));
        file.Close();
    }
    static void SaveSettings() {
        ClassVDiskFile file;
        if (!file.Create(kSettingsFile)) return;
        file.Write(settings, sizeof(settings));
        file.Close();
    }

    // The font's glyphs in one colour.
    void Text(V2DSurface& s, int32_t x, int32_t y, const char* text, uint32_t colour) {
        s.DrawString(x, y, &font, text, BLIT_KEY | BLIT_FILL, colour);
    }

    void Draw(V2DSurface& s, uint32_t elapsedMs) {
        s.FillGradientRect(nullptr, VRgb(12, 18, 60), VRgb(40, 90, 130));
        // The panel slides in from the left, then stays.
        const int32_t slide = frame_ < kSlideFrames ? kSlideFrames - 1 - frame_ : 0;
        const int32_t left = 20 - slide * 8;
        const VRect panel{left, 40, left + 200, 200};
        s.FillRect(&panel, VRgb(230, 220, 190));
        const VRect inner{left + 6, 46, left + 194, 194};
        s.FillGradientRect(&inner, VRgb(250, 246, 230), VRgb(200, 180, 140));
        for (int32_t i = 0; i < 8; ++i) {
            s.DrawLine(left + 30 + i * 12, 184, left + 70 + i * 12, 100,
                       VRgb(150 + i * 12, 60, 40));
        }
        const uint32_t ink = VRgb(40, 30, 24), light = VRgb(236, 236, 226);
        Text(s, left + 16, 60, "VANELIB", ink);
        Text(s, left + 16, 76, "in the browser", ink);
        char line[48];
        std::snprintf(line, sizeof(line), "settings %02X %02X", settings[0], settings[1]);
        Text(s, 20, 220, line, light);
        Text(s, 20, 300, "any key ends", light);
        if (frame_ < kStillUntil) return;

        time_ += elapsedMs;
        const int32_t travel = int32_t(time_ / 8 % 400);
        const int32_t x = travel < 200 ? travel : 400 - travel;
        const VRect ball{20 + x, 250, 20 + x + kBallSize, 250 + kBallSize};
        s.FillRect(&ball, VRgb(255, 200, 40));
        uint32_t whole = 0, hundredths = 0;
        GetFrameRate(&whole, &hundredths);
        std::snprintf(line, sizeof(line), "%u.%02u frames/s", whole, hundredths);
        Text(s, 20, 276, line, light);
    }

    int32_t frame_ = 0;
    uint32_t time_ = 0;
};

}  // namespace

VANE_APPLICATION(ClassHelloWeb);
