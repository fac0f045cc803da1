// hello_pda: a small program for the handheld layer, until the demo runs there. A ball
// bounces, the direction pad moves a square, the hardware buttons light their boxes along the
// top, the tilt moves a dot from the centre and the stylus places marks.
#include <cstdint>
#include <vector>

#include "framework/application_factory.h"
#include "framework/screen.h"
#include "framework/vane.h"
#include "graphics2d/color_value.h"

namespace {

constexpr int32_t kBallSize = 12;
constexpr int32_t kStep = 8;
constexpr size_t kMaxMarks = 16;

class ClassHelloPda : public ClassVane {
  public:
    int OnFrame(ClassVScreen& screen, uint32_t elapsedMs) override {
        time_ += elapsedMs;
        V2DSurface& s = screen.BackBuffer();
        const int32_t w = int32_t(screen.GetWidth()), h = int32_t(screen.GetHeight());
        s.FillGradientRect(nullptr, VRgb(10, 60, 30), VRgb(40, 120, 170));
        for (int32_t i = 0; i < 6; ++i) {
            const VRect box{8 + i * 24, 8, 28 + i * 24, 24};
            s.FillRect(&box, held_[i] ? VRgb(255, 220, 60) : VRgb(20, 30, 40));
        }
        const int32_t travel = int32_t(time_ / 12);
        const int32_t bx = Bounce(travel, w - kBallSize),
                      by = Bounce(travel * 3 / 4, h - kBallSize);
        const VRect ball{bx, by, bx + kBallSize, by + kBallSize};
        s.FillRect(&ball, VRgb(255, 170, 40));
        const int32_t sx = Wrap(squareX_, w - 24), sy = Wrap(squareY_, h - 24);
        const VRect square{sx, sy, sx + 24, sy + 24};
        s.FillRect(&square, VRgb(230, 60, 60));
        const int32_t tx = w / 2 + tiltX_, ty = h / 2 - tiltY_;
        s.DrawLine(tx - 6, ty, tx + 6, ty, VRgb(255, 255, 255));
        s.DrawLine(tx, ty - 6, tx, ty + 6, VRgb(255, 255, 255));
        for (const VRect& m : marks_) s.FillRect(&m, VRgb(250, 250, 250));
        // An arrow at the top right that always points up, to show the picture's turn.
        for (int32_t row = 0; row < 12; ++row) {
            s.DrawLine(w - 20 - row / 2, 36 + row, w - 20 + row / 2, 36 + row, VRgb(0, 0, 0));
        }
        return 0;
    }

    void OnKeyDown(uint32_t key, VKeyList& keys) override {
        if (key >= 193 && key <= 198) held_[key - 193] = true;
        if (key == keys.keys[kKeyRoleLeft]) squareX_ -= kStep;
        if (key == keys.keys[kKeyRoleRight]) squareX_ += kStep;
        if (key == keys.keys[kKeyRoleUp]) squareY_ -= kStep;
        if (key == keys.keys[kKeyRoleDown]) squareY_ += kStep;
    }
    void OnKeyUp(uint32_t key, VKeyList&) override {
        if (key >= 193 && key <= 198) held_[key - 193] = false;
    }
    void OnTilt(int32_t x, int32_t y) override {
        tiltX_ = x;
        tiltY_ = y;
    }
    void OnPenDown(int32_t x, int32_t y) override {
        if (marks_.size() == kMaxMarks) marks_.erase(marks_.begin());
        marks_.push_back(VRect{x - 2, y - 2, x + 3, y + 3});
    }
    void OnPenDoubleTap(int32_t, int32_t) override { marks_.clear(); }

  private:
    static int32_t Bounce(int32_t travel, int32_t limit) {
        if (limit <= 0) return 0;
        const int32_t t = travel % (2 * limit);
        return t < limit ? t : 2 * limit - t;
    }
    static int32_t Wrap(int32_t v, int32_t limit) {
        return limit <= 0 ? 0 : (v % limit + limit) % limit;
    }

    uint32_t time_ = 0;
    bool held_[6] = {};
    int32_t squareX_ = 108, squareY_ = 200;
    int32_t tiltX_ = 0, tiltY_ = 0;
    std::vector<VRect> marks_;
};

}  // namespace

VANE_APPLICATION(ClassHelloPda);
