// hello_vane's application: the ball, the square, the marks and the frame rate (main.cpp
// is its entry on the SDL desktop layer, platform/win32/win32_main.cpp on Windows).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "examples/hello_vane/hello_app.h"
#include "examples/hello_vane/snapshot.h"
#include "framework/application_factory.h"
#include "framework/key_codes.h"
#include "framework/screen.h"
#include "framework/vane.h"
#include "graphics2d/color_value.h"

namespace {

constexpr int32_t kSquareSize = 24;
constexpr int32_t kSquareStep = 8;
constexpr int32_t kBallSize = 12;
constexpr size_t kMaxMarks = 16;

const char* dumpPath = nullptr;  // where D writes the back buffer
std::string dumpPathFromCommandLine;

struct Mark {
    int32_t x, y;
};

class ClassHello : public ClassVane {
  public:
    int OnConfigure(VAppSettings& settings) override {
        settings.fpslimit = 50;
        // An entry that hands its whole command line to the framework (the Win32 one) passes
        // the --dump option this way.
        if (dumpPath == nullptr) {
            dumpPathFromCommandLine = DumpPathIn(CommandLine());
            if (!dumpPathFromCommandLine.empty()) dumpPath = dumpPathFromCommandLine.c_str();
        }
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
        if (key == VKEY_SPACE) paused_ = !paused_;
        if (key == VKEY_ESCAPE) Quit();
        if (key == 'D') Dump();
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
    // The word after "--dump" in a command line of blank-separated words; empty without one.
    static std::string DumpPathIn(const char* commandLine) {
        std::string line = commandLine != nullptr ? commandLine : "";
        const size_t option = line.find("--dump ");
        if (option == std::string::npos) return "";
        const size_t begin = line.find_first_not_of(' ', option + 7);
        if (begin == std::string::npos) return "";
        return line.substr(begin, line.find(' ', begin) - begin);
    }

    // Everything is drawn with the back buffer's own operations: a gradient fill for the sky,
    // rectangles for the ball and the square, lines for the marks.
    void Draw(ClassVScreen& screen) {
        V2DSurface& s = screen.BackBuffer();
        const int32_t w = int32_t(screen.GetWidth()), h = int32_t(screen.GetHeight());
        s.FillGradientRect(nullptr, VRgb(10, 20, 96), VRgb(52, 104, 140));
        const int32_t travel = int32_t(time_ / 10 * uint32_t(ballSpeed_));
        const int32_t bx = Bounce(travel, w - kBallSize),
                      by = Bounce(travel * 3 / 4, h - kBallSize);
        const VRect ball{bx, by, bx + kBallSize, by + kBallSize};
        s.FillRect(&ball, VRgb(255, 200, 40));
        const VRect square{squareX_, squareY_, squareX_ + kSquareSize, squareY_ + kSquareSize};
        s.FillRect(&square, VRgb(230, 60, 60));
        for (const Mark& m : marks_) {
            s.DrawLine(m.x - 4, m.y, m.x + 4, m.y, VRgb(255, 255, 255));
            s.DrawLine(m.x, m.y - 4, m.x, m.y + 4, VRgb(255, 255, 255));
        }
        const VRect panel{0, 0, 4 + 6 * 2 * 4, 14};
        s.FillRect(&panel, VRgb(0, 0, 0));
        DrawDigits(s, 2, 2, fps_, paused_ ? VRgb(255, 120, 120) : VRgb(120, 255, 120), 2);
    }

    // Digits and '.' in a 3 × 5 pixel font, each font pixel size × size: enough for a frame
    // rate without loading a font picture.
    static void DrawDigits(V2DSurface& s, int32_t x, int32_t y, const char* text, uint32_t colour,
                           int32_t size) {
        static constexpr uint8_t kDigits[10][5] = {
            {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 3, 1, 7}, {5, 5, 7, 1, 1},
            {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
        };
        static constexpr uint8_t kPoint[5] = {0, 0, 0, 0, 2};
        for (; *text != 0; ++text, x += 4 * size) {
            const uint8_t* rows = *text == '.' ? kPoint : nullptr;
            if (*text >= '0' && *text <= '9') rows = kDigits[*text - '0'];
            if (rows == nullptr) continue;
            for (int32_t row = 0; row < 5; ++row) {
                for (int32_t column = 0; column < 3; ++column) {
                    if (!(rows[row] >> (2 - column) & 1)) continue;
                    const VRect dot{x + column * size, y + row * size, x + (column + 1) * size,
                                    y + (row + 1) * size};
                    s.FillRect(&dot, colour);
                }
            }
        }
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

}  // namespace

void SetHelloDumpPath(const char* path) {
    dumpPath = path;
}
