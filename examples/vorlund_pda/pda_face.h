// The simulated device in an SDL window: its screen at the panel's native orientation inside
// a drawn device face with its buttons, the whole face turned as the user turned the device,
// and beside it the list of keys and the device's state. Keys and the mouse become the
// device's buttons, power switch, rotation, tilt and stylus.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/handheld/sim/sim_device.h"

class PdaFace {
  public:
    ~PdaFace();

    // Opens the window for the profile's screen at scale; false with the reason when SDL
    // cannot show one.
    bool Open(const VSimProfile& profile, uint32_t scale, std::string* reason);
    // Turns pending SDL events into device input.
    void Poll(VSimDevice& device);
    // Draws the face with the panel as the device shows it now.
    void Draw(VSimDevice& device);

  private:
    void DrawFaceTexture(const VSimDevice& device);
    void DrawText(int32_t x, int32_t y, const std::string& text, SDL_Color colour);
    void Key(VSimDevice& device, const SDL_KeyboardEvent& key);
    void Mouse(VSimDevice& device, uint32_t message, int32_t windowX, int32_t windowY);
    // The screen's place in the window as the viewer sees it (after the face's turn).
    SDL_Rect ScreenRectInWindow(const VSimDevice& device) const;

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* panel_ = nullptr;
    SDL_Texture* face_ = nullptr;
    std::vector<uint32_t> rgb_;
    uint32_t width_ = 0, height_ = 0, scale_ = 1;
    int32_t faceWidth_ = 0, faceHeight_ = 0;  // unturned
    int32_t screenX_ = 0, screenY_ = 0;       // the screen's place in the unturned face
    int32_t area_ = 0;                        // the square the face turns in
    int32_t tiltX_ = 0, tiltY_ = 0;
    std::set<uint32_t> pressed_;  // buttons held, drawn lit
    bool penDown_ = false;
    bool videoStarted_ = false;
};
