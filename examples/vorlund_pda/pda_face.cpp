#include "examples/vorlund_pda/pda_face.h"

#include <algorithm>

#include "examples/vorlund_pda/face_font.h"
#include "examples/vorlund_pda/pda_keys.h"
#include "graphics2d/pixel_format.h"

namespace {

constexpr int32_t kSide = 26;     // face border beside the screen
constexpr int32_t kTop = 56;      // above the screen: speaker and brand
constexpr int32_t kBottom = 124;  // below the screen: the buttons
constexpr int32_t kHelpWidth = 330;
constexpr int32_t kTiltStep = 1024;

constexpr SDL_Color kBody{52, 58, 70, 255};
constexpr SDL_Color kBodyEdge{120, 128, 142, 255};
constexpr SDL_Color kButton{30, 34, 42, 255};
constexpr SDL_Color kLabel{210, 215, 225, 255};
constexpr SDL_Color kHelp{230, 230, 230, 255};
constexpr SDL_Color kState{140, 220, 140, 255};

// The four application buttons under the screen and the two on the side, by button number.
struct ButtonPlace {
    uint32_t key;
    const char* label;
};
constexpr ButtonPlace kFrontButtons[4] = {{193, "1"}, {194, "2"}, {195, "3"}, {196, "4"}};

uint32_t Rgb(uint16_t pixel, uint8_t format) {
    uint32_t r, g, b;
    if (format == VPIXELFORMAT_444) {
        r = (pixel >> 8 & 0xF) * 17;
        g = (pixel >> 4 & 0xF) * 17;
        b = (pixel & 0xF) * 17;
    } else {
        r = (pixel >> 11 & 0x1F) * 255 / 31;
        g = (pixel >> 5 & 0x3F) * 255 / 63;
        b = (pixel & 0x1F) * 255 / 31;
    }
    return 0xFF000000u | r << 16 | g << 8 | b;
}

void Fill(SDL_Renderer* renderer, const SDL_Rect& rect, SDL_Color c) {
    SDL_SetRenderDrawColor(renderer, c.r, c.g, c.b, c.a);
    SDL_RenderFillRect(renderer, &rect);
}

void Frame(SDL_Renderer* renderer, const SDL_Rect& rect, SDL_Color c) {
    SDL_SetRenderDrawColor(renderer, c.r, c.g, c.b, c.a);
    SDL_RenderDrawRect(renderer, &rect);
}

}  // namespace

PdaFace::~PdaFace() {
    if (face_ != nullptr) SDL_DestroyTexture(face_);
    if (panel_ != nullptr) SDL_DestroyTexture(panel_);
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool PdaFace::Open(const VSimProfile& profile, uint32_t scale, std::string* reason) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        *reason = SDL_GetError();
        return false;
    }
    videoStarted_ = true;
    width_ = profile.width;
    height_ = profile.height;
    scale_ = scale;
    faceWidth_ = int32_t(width_ * scale_) + 2 * kSide;
    faceHeight_ = int32_t(height_ * scale_) + kTop + kBottom;
    screenX_ = kSide;
    screenY_ = kTop;
    area_ = std::max(faceWidth_, faceHeight_) + 16;
    const int32_t windowHeight = std::max(area_, 420);
    window_ = SDL_CreateWindow("Pocket PC simulator", SDL_WINDOWPOS_CENTERED,
                               SDL_WINDOWPOS_CENTERED, area_ + kHelpWidth, windowHeight, 0);
    if (window_ != nullptr) renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (renderer_ != nullptr) {
        panel_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                   int(width_), int(height_));
        face_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                  faceWidth_, faceHeight_);
    }
    if (panel_ == nullptr || face_ == nullptr) {
        *reason = SDL_GetError();
        return false;
    }
    SDL_SetTextureBlendMode(face_, SDL_BLENDMODE_BLEND);
    rgb_.assign(size_t(width_) * height_, 0);
    return true;
}

void PdaFace::DrawText(int32_t x, int32_t y, const std::string& text, SDL_Color c) {
    SDL_SetRenderDrawColor(renderer_, c.r, c.g, c.b, c.a);
    for (char ch : text) {
        if (ch >= kFaceFontFirst && ch <= kFaceFontLast) {
            const uint8_t* rows = kFaceFont[ch - kFaceFontFirst];
            for (int32_t row = 0; row < kFaceFontHeight; ++row) {
                for (int32_t column = 0; column < kFaceFontWidth; ++column) {
                    if (rows[row] >> (kFaceFontWidth - 1 - column) & 1) {
                        SDL_RenderDrawPoint(renderer_, x + column, y + row);
                    }
                }
            }
        }
        x += kFaceFontWidth;
    }
}

void PdaFace::DrawFaceTexture(const VSimDevice& device) {
    SDL_SetRenderTarget(renderer_, face_);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 0);
    SDL_RenderClear(renderer_);
    Fill(renderer_, {0, 0, faceWidth_, faceHeight_}, kBody);
    Frame(renderer_, {0, 0, faceWidth_, faceHeight_}, kBodyEdge);
    Frame(renderer_, {3, 3, faceWidth_ - 6, faceHeight_ - 6}, kBodyEdge);
    // Speaker slot, brand, and the power light.
    Fill(renderer_, {faceWidth_ / 2 - 30, 14, 60, 5}, kButton);
    DrawText(faceWidth_ / 2 - 4 * kFaceFontWidth, 28, "Pocket PC", kLabel);
    Fill(renderer_, {faceWidth_ - 22, 14, 8, 8},
         device.PowerOn() ? SDL_Color{60, 220, 90, 255} : SDL_Color{90, 40, 40, 255});
    // The screen, with its panel as the device shows it at angle 0.
    const SDL_Rect screen{screenX_, screenY_, int(width_ * scale_), int(height_ * scale_)};
    Fill(renderer_, {screen.x - 4, screen.y - 4, screen.w + 8, screen.h + 8}, kButton);
    SDL_RenderCopy(renderer_, panel_, nullptr, &screen);
    if (!device.PowerOn()) Fill(renderer_, screen, SDL_Color{0, 0, 0, 255});
    // The buttons: four under the screen around the direction pad, two on the left side.
    const int32_t rowY = screen.y + screen.h + 30;
    const int32_t pad = 56;
    // Two buttons on each side of the pad, each taking half of the room left beside it.
    const int32_t room = (faceWidth_ - pad) / 2 - 14, buttonWidth = room / 2 - 8;
    for (int i = 0; i < 4; ++i) {
        const int32_t x =
            i < 2 ? 10 + i * (room / 2) : faceWidth_ / 2 + pad / 2 + 8 + (i - 2) * (room / 2);
        const SDL_Rect b{x, rowY + 13, buttonWidth, 30};
        Fill(renderer_, b, pressed_.count(kFrontButtons[i].key) ? kBodyEdge : kButton);
        Frame(renderer_, b, kBodyEdge);
        DrawText(b.x + b.w / 2 - 3, b.y + 9, kFrontButtons[i].label, kLabel);
    }
    const SDL_Rect dpad{faceWidth_ / 2 - pad / 2, rowY, pad, pad};
    Fill(renderer_, dpad, kButton);
    Frame(renderer_, dpad, kBodyEdge);
    Fill(renderer_, {dpad.x + pad / 2 - 8, dpad.y + pad / 2 - 8, 16, 16}, kBodyEdge);
    for (int i = 0; i < 2; ++i) {
        const SDL_Rect side{0, screen.y + 20 + i * 44, 6, 34};
        Fill(renderer_, side, pressed_.count(197 + uint32_t(i)) ? kLabel : kBodyEdge);
        DrawText(9, side.y + 11, i == 0 ? "5" : "6", kLabel);
    }
    SDL_SetRenderTarget(renderer_, nullptr);
}

void PdaFace::Draw(VSimDevice& device) {
    const std::vector<uint16_t> pixels = device.ScreenPixels();
    const uint8_t format = device.Profile().format;
    for (size_t i = 0; i < pixels.size(); ++i) rgb_[i] = Rgb(pixels[i], format);
    SDL_UpdateTexture(panel_, nullptr, rgb_.data(), int(width_ * 4));
    DrawFaceTexture(device);

    SDL_SetRenderDrawColor(renderer_, 22, 24, 28, 255);
    SDL_RenderClear(renderer_);
    const SDL_Rect place{(area_ - faceWidth_) / 2, (area_ - faceHeight_) / 2, faceWidth_,
                         faceHeight_};
    SDL_RenderCopyEx(renderer_, face_, nullptr, &place, double(device.Angle()), nullptr,
                     SDL_FLIP_NONE);

    int32_t y = 16;
    const int32_t x = area_ + 8;
    DrawText(x, y, "Keys", kHelp);
    y += 18;
    for (const PdaKeyHelp& k : PdaKeyList()) {
        DrawText(x, y, k.keys, kLabel);
        DrawText(x + 9 * kFaceFontWidth, y, k.action, kHelp);
        y += 15;
    }
    y += 14;
    const VSimProfile& p = device.Profile();
    const auto& registry = device.Registry();
    const auto value = [&](const char* name) {
        const auto found = registry.find(std::string(kBacklightKey) + "\\" + name);
        if (found == registry.end()) return std::string("missing");
        return found->second == 0xFFFFFFFFu ? std::string("-1 (never)")
                                            : std::to_string(found->second) + " s";
    };
    const std::string lines[] = {
        std::string("Profile   ") + p.name,
        std::string("Power     ") + (device.PowerOn() ? "on" : "OFF"),
        "Angle     " + std::to_string(device.Angle()),
        "Tilt      " + std::to_string(tiltX_) + ", " + std::to_string(tiltY_),
        std::string("Program   ") + (device.Minimized() ? "behind another" : "in front"),
        "Buttons   " + std::string(device.GameInputOpen() ? "game input"
                                   : device.RegisteredCount() != 0
                                       ? std::to_string(device.RegisteredCount()) + " registered"
                                       : "the shell's"),
        "Backlight " + value(kBacklightAcValue) + " / " + value(kBacklightBatteryValue),
    };
    for (const std::string& line : lines) {
        DrawText(x, y, line, kState);
        y += 15;
    }
    SDL_RenderPresent(renderer_);
}

SDL_Rect PdaFace::ScreenRectInWindow(const VSimDevice& device) const {
    const int32_t w = int32_t(width_ * scale_), h = int32_t(height_ * scale_);
    // The screen's centre relative to the face's, turned with the face.
    const int32_t dx = screenX_ + w / 2 - faceWidth_ / 2, dy = screenY_ + h / 2 - faceHeight_ / 2;
    int32_t tx = dx, ty = dy, tw = w, th = h;
    switch (device.Angle()) {
        case 90:
            tx = -dy, ty = dx, tw = h, th = w;
            break;
        case 180:
            tx = -dx, ty = -dy;
            break;
        case 270:
            tx = dy, ty = -dx, tw = h, th = w;
            break;
        default:
            break;
    }
    return SDL_Rect{area_ / 2 + tx - tw / 2, area_ / 2 + ty - th / 2, tw, th};
}

void PdaFace::Mouse(VSimDevice& device, uint32_t message, int32_t windowX, int32_t windowY) {
    const SDL_Rect r = ScreenRectInWindow(device);
    if (message != kDeviceWmLButtonUp &&
        (windowX < r.x || windowY < r.y || windowX >= r.x + r.w || windowY >= r.y + r.h)) {
        return;
    }
    // The stylus arrives in the screen's coordinates as the user sees it.
    device.Pen(message, (windowX - r.x) / int32_t(scale_), (windowY - r.y) / int32_t(scale_));
}

void PdaFace::Key(VSimDevice& device, const SDL_KeyboardEvent& key) {
    const bool down = key.type == SDL_KEYDOWN;
    const SDL_Keycode k = key.keysym.sym;
    uint32_t deviceKey = 0;
    if (k >= SDLK_1 && k <= SDLK_6) deviceKey = kDeviceFirstButton + uint32_t(k - SDLK_1);
    if (k == SDLK_LEFT) deviceKey = 0x25;
    if (k == SDLK_UP) deviceKey = 0x26;
    if (k == SDLK_RIGHT) deviceKey = 0x27;
    if (k == SDLK_DOWN) deviceKey = 0x28;
    if (k == SDLK_RETURN) deviceKey = 0x0D;
    if (deviceKey != 0) {
        if (down) {
            pressed_.insert(deviceKey);
        } else {
            pressed_.erase(deviceKey);
        }
        device.PressKey(deviceKey, down, key.repeat != 0);
        return;
    }
    if (!down || key.repeat) return;
    switch (k) {
        case SDLK_p:
            device.SetPower(!device.PowerOn());
            break;
        case SDLK_r:
            device.Rotate((device.Angle() + 90) % 360);
            break;
        case SDLK_e:
            device.Rotate((device.Angle() + 270) % 360);
            break;
        case SDLK_i:
        case SDLK_k:
        case SDLK_j:
        case SDLK_l:
            tiltY_ += k == SDLK_i ? kTiltStep : k == SDLK_k ? -kTiltStep : 0;
            tiltX_ += k == SDLK_l ? kTiltStep : k == SDLK_j ? -kTiltStep : 0;
            device.Tilt(tiltX_, tiltY_);
            break;
        case SDLK_t:
            tiltX_ = tiltY_ = 0;
            device.Tilt(0, 0);
            break;
        case SDLK_a:
            device.Activate(device.Minimized());
            break;
        case SDLK_ESCAPE:
            device.Close();
            break;
        default:
            break;
    }
}

void PdaFace::Poll(VSimDevice& device) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
            case SDL_QUIT:
                device.Close();
                break;
            case SDL_KEYDOWN:
            case SDL_KEYUP:
                Key(device, event.key);
                break;
            case SDL_MOUSEBUTTONDOWN:
                if (event.button.button != SDL_BUTTON_LEFT) break;
                penDown_ = true;
                Mouse(device,
                      event.button.clicks >= 2 ? kDeviceWmLButtonDblClk : kDeviceWmLButtonDown,
                      event.button.x, event.button.y);
                break;
            case SDL_MOUSEBUTTONUP:
                if (event.button.button != SDL_BUTTON_LEFT || !penDown_) break;
                penDown_ = false;
                Mouse(device, kDeviceWmLButtonUp, event.button.x, event.button.y);
                break;
            case SDL_MOUSEMOTION:
                if (penDown_) Mouse(device, kDeviceWmMouseMove, event.motion.x, event.motion.y);
                break;
            default:
                break;
        }
    }
}
