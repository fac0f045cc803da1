// blit_effects: every blit effect side by side, with its property animated and its name and
// property written below it in the demo's font. The page to read to learn the effect flags.
//
// Each cell blits the same sprite (the studio logo, its transparent pixels turned into the
// colour key) onto the same piece of the advert with one set of flags. Opacities sweep from 0
// to 255 and back every four seconds; colours turn round the colour wheel every six.
//
//   Space  pause / go on        Esc  quit
//
// Usage: blit_effects [--scale N] [--fullscreen] [--frames N] [--shot FILE]
#include <cstdio>
#include <cstring>
#include <string>

#include "examples/example_shell/example_shell.h"
#include "framework/application_factory.h"
#include "framework/key_codes.h"
#include "framework/screen.h"
#include "framework/vane.h"
#include "graphics2d/blit_flags.h"
#include "graphics2d/color_value.h"
#include "graphics2d/font.h"
#include "graphics2d/surface_rgba.h"
#include "platform/resources.h"

namespace {

constexpr uint32_t kLogoId = 105, kFontId = 108, kAdvertId = 116;
constexpr uint32_t kFontKey = 0xF8F8F8;

// The layout: 4 × 4 cells; in each, the ground at the top and two lines of text below it.
constexpr int32_t kColumns = 4, kRows = 4;
constexpr int32_t kCellWidth = 160, kCellHeight = 120;
constexpr int32_t kGroundLeft = 5, kGroundTop = 4, kGroundWidth = 150, kGroundHeight = 92;
constexpr int32_t kGroundSourceX = 0, kGroundSourceY = 125;  // where the advert gives the ground
constexpr int32_t kSpriteWidth = 101, kSpriteHeight = 70;    // the logo at half size
constexpr int32_t kFirstLineY = 99, kSecondLineY = 109;
const uint32_t kKey = VRgb(0, 0, 0);
const uint32_t kPageColour = VRgb(16, 16, 24);
const uint32_t kNameColour = VRgb(255, 255, 255), kPropertyColour = VRgb(255, 216, 96);

enum class Property { kNone, kOpacity, kColour, kColourAndOpacity };

struct Effect {
    const char* name;
    uint32_t flags;
    Property property;
};

const Effect kEffects[kColumns * kRows] = {
    {"no effect", 0, Property::kNone},
    {"BLIT_KEY", BLIT_KEY, Property::kNone},
    {"BLIT_FILL", BLIT_FILL, Property::kColour},
    {"KEY | FILL", BLIT_KEY | BLIT_FILL, Property::kColour},
    {"BLIT_MIX", BLIT_MIX, Property::kColour},
    {"KEY | MIX", BLIT_KEY | BLIT_MIX, Property::kColour},
    {"BLIT_TINT", BLIT_TINT, Property::kColour},
    {"KEY | TINT", BLIT_KEY | BLIT_TINT, Property::kColour},
    {"BLIT_OPACITY", BLIT_OPACITY, Property::kOpacity},
    {"KEY | OPACITY", BLIT_KEY | BLIT_OPACITY, Property::kOpacity},
    {"BLIT_ADD", BLIT_ADD, Property::kNone},
    {"ADD | OPACITY", BLIT_ADD | BLIT_OPACITY, Property::kOpacity},
    {"BLIT_SUBTRACT", BLIT_SUBTRACT, Property::kNone},
    {"SUBTRACT | OPACITY", BLIT_SUBTRACT | BLIT_OPACITY, Property::kOpacity},
    {"KEY | MIX | OPACITY", BLIT_KEY | BLIT_MIX | BLIT_OPACITY, Property::kColourAndOpacity},
    {"KEY | FILL | OPACITY", BLIT_KEY | BLIT_FILL | BLIT_OPACITY, Property::kColourAndOpacity},
};

// 0 → 255 → 0 over four seconds.
uint32_t OpacityAt(uint32_t timeMs) {
    const uint32_t phase = timeMs % 4000;
    return (phase < 2000 ? phase : 4000 - phase) * 255 / 2000;
}

// Round the colour wheel in six seconds: one of the six edges of the RGB cube per second.
uint32_t ColourAt(uint32_t timeMs) {
    const uint32_t phase = timeMs % 6000;
    const uint32_t up = (phase % 1000) * 255 / 1000, down = 255 - up;
    switch (phase / 1000) {
        case 0:
            return VRgb(255, up, 0);
        case 1:
            return VRgb(down, 255, 0);
        case 2:
            return VRgb(0, 255, up);
        case 3:
            return VRgb(0, down, 255);
        case 4:
            return VRgb(up, 0, 255);
        default:
            return VRgb(255, 0, down);
    }
}

bool LoadResource(ClassVScreen& screen, uint32_t id, V2DSurfaceFrame& surface, bool rgba) {
    const uint8_t* data = nullptr;
    size_t size = 0;
    if (!FindResource(ProgramResources(), "IMAGES", id, &data, &size)) return false;
    if (rgba) {
        return screen.LoadSurfaceRGBA(static_cast<V2DSurfaceRGBA&>(surface), data, uint32_t(size),
                                      0) == 0;
    }
    return screen.LoadSurface(static_cast<V2DSurface&>(surface), data, uint32_t(size),
                              VSURFACE_DEFAULT) == 0;
}

class ClassBlitEffects : public ClassVane {
  public:
    int OnConfigure(VAppSettings& settings) override {
        settings.fpslimit = 50;
        return 0;
    }

    int OnConfigureDisplay(VScreenSettings& settings) override {
        const char16_t caption[] = u"VANELIB blit effects";
        std::memcpy(settings.caption, caption, sizeof(caption));
        settings.icon = 101;
        settings.width = kColumns * kCellWidth;
        settings.height = kRows * kCellHeight;
        return 0;
    }

    int OnInit(uintptr_t, ClassVScreen& screen) override {
        V2DSurfaceRGBA logo;
        if (!LoadResource(screen, kFontId, font_, false) ||
            !LoadResource(screen, kAdvertId, advert_, false) ||
            !LoadResource(screen, kLogoId, logo, true)) {
            ReportError(u"A picture resource could not be loaded.");
            return 1;
        }
        font_.SetFontRange(32, 255);
        const bool made = font_.ScanFont(false, kFontKey) == 0 && MakeSprite(screen, logo);
        logo.Free();
        if (!made) {
            ReportError(u"Out of memory.");
            return 1;
        }
        return 0;
    }

    int OnFrame(ClassVScreen& screen, uint32_t elapsedMs) override {
        if (!paused_) time_ += elapsedMs;
        const uint32_t opacity = OpacityAt(time_), colour = ColourAt(time_);
        V2DSurface& back = screen.BackBuffer();
        back.FillRect(nullptr, kPageColour);
        const VRect ground{kGroundSourceX, kGroundSourceY, kGroundSourceX + kGroundWidth,
                           kGroundSourceY + kGroundHeight};
        for (int32_t i = 0; i < kColumns * kRows; ++i) {
            const Effect& effect = kEffects[i];
            const int32_t left = (i % kColumns) * kCellWidth, top = (i / kColumns) * kCellHeight;
            back.Blit(left + kGroundLeft, top + kGroundTop, &advert_, &ground, 0, 0);
            uint32_t property = 0;
            std::string text;
            char number[32];
            switch (effect.property) {
                case Property::kNone:
                    break;
                case Property::kOpacity:
                    property = opacity;
                    std::snprintf(number, sizeof(number), "opacity %u", opacity);
                    text = number;
                    break;
                case Property::kColour:
                case Property::kColourAndOpacity:
                    property = colour;
                    std::snprintf(number, sizeof(number), "colour %02X%02X%02X", VRed(colour),
                                  VGreen(colour), VBlue(colour));
                    text = number;
                    if (effect.property == Property::kColour) break;
                    property |= opacity << 24;
                    std::snprintf(number, sizeof(number), " opacity %u", opacity);
                    text += number;
                    break;
            }
            back.Blit(left + kGroundLeft + (kGroundWidth - kSpriteWidth) / 2,
                      top + kGroundTop + (kGroundHeight - kSpriteHeight) / 2, &sprite_, nullptr,
                      effect.flags, property);
            const int32_t middle = left + kCellWidth / 2;
            back.DrawString(middle, top + kFirstLineY, &font_, effect.name,
                            BLIT_KEY | BLIT_FILL | VTEXT_CENTRE, kNameColour);
            back.DrawString(middle, top + kSecondLineY, &font_, text.c_str(),
                            BLIT_KEY | BLIT_FILL | VTEXT_CENTRE, kPropertyColour);
        }
        return 0;
    }

    void OnKeyDown(uint32_t key, VKeyList&) override {
        if (key == VKEY_SPACE) paused_ = !paused_;
        if (key == VKEY_ESCAPE) Quit();
    }

  private:
    // The logo at half size on a surface of the display's format: pixels at least half opaque
    // keep their colour, the rest become the colour key, which no pixel of the logo has.
    bool MakeSprite(ClassVScreen& screen, V2DSurfaceRGBA& logo) {
        if (screen.CreateSurface(sprite_, kSpriteWidth, kSpriteHeight, VSURFACE_DEFAULT) != 0) {
            return false;
        }
        sprite_.SetColorKey(kKey);
        for (int32_t y = 0; y < kSpriteHeight; ++y) {
            for (int32_t x = 0; x < kSpriteWidth; ++x) {
                const uint32_t c = logo.GetPixel(x * 2, y * 2);
                sprite_.PutPixel(x, y, (c >> 24) >= 128 ? c & 0xFFFFFF : kKey);
            }
        }
        return true;
    }

    V2DSurface font_, advert_, sprite_;
    uint32_t time_ = 0;
    bool paused_ = false;
};

VANE_APPLICATION(ClassBlitEffects);

}  // namespace

int main(int argc, char** argv) {
    VExampleRun run;
    std::string error;
    if (!ParseExampleArgs(argc, argv, &run, &error) || !run.arguments.empty()) {
        if (!error.empty()) std::fprintf(stderr, "%s\n", error.c_str());
        std::fprintf(stderr, "usage: %s %s\n", argv[0], ExampleOptionsUsage());
        return 2;
    }
    return RunExample(run);
}
