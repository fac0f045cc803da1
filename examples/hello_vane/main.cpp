// hello_vane: the smallest complete program on the framework, in a window.
//
// It opens a 240 × 320 display, moves a ball across it, lets the arrow keys move a square and
// the stylus (the mouse) place marks, and shows its frame rate in the picture and after the
// window's caption.
//
//   Arrow keys  move the square        Mouse button  place a mark; drag it while held
//   Space       pause / go on          Double click  clear the marks
//   Wheel       ball faster / slower   D             write the back buffer to the --dump file
//   Esc         quit
//
// Usage: hello_vane [--scale N] [--fullscreen] [--screen-format N] [--dump picture.ppm]
//
// Without a display (no X server, SDL_VIDEODRIVER unusable) it runs 150 frames on the headless
// layer instead, writes the --dump picture at the end and says so.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "examples/hello_vane/canvas.h"
#include "examples/hello_vane/snapshot.h"
#include "framework/application_factory.h"
#include "framework/vane.h"
#include "platform/desktop/desktop_platform.h"
#include "platform/headless/headless_platform.h"

namespace {

// Virtual-key codes of the keys the example answers.
constexpr uint32_t kKeyEscape = 27;
constexpr uint32_t kKeySpace = 32;
constexpr uint32_t kKeyD = 'D';

constexpr int32_t kSquareSize = 24;
constexpr int32_t kSquareStep = 8;
constexpr int32_t kBallSize = 12;
constexpr size_t kMaxMarks = 16;

const char* dumpPath = nullptr;  // where D writes the back buffer

struct Mark {
    int32_t x, y;
};

class ClassHello : public ClassVane {
  public:
    int OnConfigure(VAppSettings& settings) override {
        settings.fpslimit = 50;
        return 0;
    }

    int OnConfigureDisplay(VScreenSettings& settings) override {
        const char16_t caption[] = u"VANELIB hello";
        std::memcpy(settings.caption, caption, sizeof(caption));
        settings.icon = 101;  // ICON 101 of the program's resources
        return 0;
    }

    int OnFrame(ClassVScreen& screen, uint32_t elapsedMs) override {
        if (!paused_) {
            time_ += elapsedMs;
            uint32_t whole = 0, hundredths = 0;
            GetFrameRate(&whole, &hundredths);
            std::snprintf(fps_, sizeof(fps_), "%u.%02u", whole, hundredths);
            if (time_ / 1000 != shownSecond_) {
                shownSecond_ = time_ / 1000;
                std::u16string status;
                for (const char* c = fps_; *c != 0; ++c) status += char16_t(*c);
                status += u" frames per second";
                ShowStatus(status.c_str());
            }
        }
        Draw(screen);
        return 0;
    }

    void OnKeyDown(uint32_t key, VKeyList& keys) override {
        if (key == keys.keys[kKeyRoleLeft]) squareX_ -= kSquareStep;
        if (key == keys.keys[kKeyRoleRight]) squareX_ += kSquareStep;
        if (key == keys.keys[kKeyRoleUp]) squareY_ -= kSquareStep;
        if (key == keys.keys[kKeyRoleDown]) squareY_ += kSquareStep;
        if (key == kKeySpace) paused_ = !paused_;
        if (key == kKeyEscape) Quit();
        if (key == kKeyD) Dump();
    }

    void OnPenDown(int32_t x, int32_t y) override {
        if (marks_.size() == kMaxMarks) marks_.erase(marks_.begin());
        marks_.push_back(Mark{x, y});
        penDown_ = true;
    }
    void OnPenMove(int32_t x, int32_t y) override {
        if (penDown_ && !marks_.empty()) marks_.back() = Mark{x, y};
    }
    void OnPenUp(int32_t, int32_t) override { penDown_ = false; }
    void OnPenDoubleTap(int32_t, int32_t) override { marks_.clear(); }

    void OnWheel(int32_t direction) override {
        ballSpeed_ += direction;
        if (ballSpeed_ < 1) ballSpeed_ = 1;
        if (ballSpeed_ > 8) ballSpeed_ = 8;
    }

  private:
    void Draw(ClassVScreen& screen) {
        ExampleCanvas canvas(screen);
        const int32_t w = canvas.Width(), h = canvas.Height();
        // Sky bands, the ball on its zig-zag path, the square, the marks, the frame rate.
        for (int32_t band = 0; band < 8; ++band) {
            const uint32_t shade = uint32_t(20 + band * 12);
            canvas.FillRect(0, band * h / 8, w, (band + 1) * h / 8, Rgb(shade / 2, shade, 96));
        }
        const int32_t travel = int32_t(time_ / 10 * uint32_t(ballSpeed_));
        const int32_t bx = Bounce(travel, w - kBallSize),
                      by = Bounce(travel * 3 / 4, h - kBallSize);
        canvas.FillRect(bx, by, bx + kBallSize, by + kBallSize, Rgb(255, 200, 40));
        canvas.FillRect(squareX_, squareY_, squareX_ + kSquareSize, squareY_ + kSquareSize,
                        Rgb(230, 60, 60));
        for (const Mark& m : marks_) {
            canvas.FillRect(m.x - 4, m.y, m.x + 5, m.y + 1, Rgb(255, 255, 255));
            canvas.FillRect(m.x, m.y - 4, m.x + 1, m.y + 5, Rgb(255, 255, 255));
        }
        canvas.FillRect(0, 0, 4 + 6 * 2 * 4, 14, Rgb(0, 0, 0));
        canvas.Text(2, 2, fps_, paused_ ? Rgb(255, 120, 120) : Rgb(120, 255, 120), 2);
    }

    // A position going back and forth between 0 and limit.
    static int32_t Bounce(int32_t travel, int32_t limit) {
        if (limit <= 0) return 0;
        const int32_t t = travel % (2 * limit);
        return t < limit ? t : 2 * limit - t;
    }

    void Dump() {
        if (dumpPath == nullptr) return;
        const bool written = WriteBackBufferPpm(Screen(), dumpPath);
        std::printf("back buffer %s %s: square %d,%d; %zu marks",
                    written ? "written to" : "NOT written to", dumpPath, squareX_, squareY_,
                    marks_.size());
        if (!marks_.empty()) std::printf(", last at %d,%d", marks_.back().x, marks_.back().y);
        std::printf("\n");
        std::fflush(stdout);
    }

    uint32_t time_ = 0;
    uint32_t shownSecond_ = ~0u;
    char fps_[16] = "0.00";
    bool paused_ = false;
    bool penDown_ = false;
    int32_t ballSpeed_ = 2;
    int32_t squareX_ = 108, squareY_ = 200;
    std::vector<Mark> marks_;
};

VANE_APPLICATION(ClassHello);

uint32_t RunHeadless(const std::string& reason) {
    constexpr uint32_t kFrames = 150;
    std::printf("no display (%s): running %u frames on the headless layer\n", reason.c_str(),
                kFrames);
    VHeadlessOptions options;
    options.frameBudget = kFrames + 1;
    VHeadlessPlatform platform(options);
    VMessage key;
    key.code = VMSG_KEYDOWN;
    key.param1 = kKeyD;
    platform.InjectMessage(kFrames, key);
    key.param1 = kKeyEscape;
    platform.InjectMessage(kFrames, key);
    return platform.Run();
}

}  // namespace

int main(int argc, char** argv) {
    // --dump is the example's own option; everything else goes to the platform layer.
    std::vector<const char*> layerArgs{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--dump") == 0 && i + 1 < argc) {
            dumpPath = argv[++i];
        } else {
            layerArgs.push_back(argv[i]);
        }
    }
    VDesktopOptions options;
    std::string error;
    if (!ParseDesktopOptions(int(layerArgs.size()), layerArgs.data(), &options, &error)) {
        std::fprintf(stderr,
                     "%s\nusage: %s [--scale N] [--fullscreen] [--screen-format N] "
                     "[--dump picture.ppm]\n",
                     error.c_str(), argv[0]);
        return 2;
    }
    std::string reason;
    if (!VDesktopPlatform::VideoAvailable(&reason)) return int(RunHeadless(reason));
    VDesktopPlatform platform(options);
    return int(platform.Run());
}
