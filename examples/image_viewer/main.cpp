// image_viewer: shows any picture the framework's loaders read (BMP, GIF, PNG, JPEG, TGA),
// fitted to the display, over a checkerboard where the picture is transparent.
//
//   Left / Right  previous / next picture of the folder   Home / End  first / last
//   Esc           quit
//
// Usage: image_viewer FILE-OR-FOLDER [--scale N] [--fullscreen] [--frames N] [--shot FILE]
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "examples/example_shell/example_shell.h"
#include "fileio/utf8.h"
#include "framework/application_factory.h"
#include "framework/key_codes.h"
#include "framework/screen.h"
#include "framework/vane.h"
#include "graphics2d/color_value.h"
#include "graphics2d/font.h"
#include "graphics2d/surface_rgba.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kDisplayWidth = 640, kDisplayHeight = 480;
constexpr uint32_t kLineHeight = 12;  // the file name line below the picture
constexpr int32_t kCheckerCell = 8;
const uint32_t kCheckerLight = VRgb(204, 204, 204), kCheckerDark = VRgb(153, 153, 153);
const uint32_t kBackground = VRgb(32, 32, 40), kTextColour = VRgb(240, 240, 240);
constexpr size_t kStatusCapacity = 512;

// The pictures of the folder, in name order, and the one shown first.
std::vector<fs::path> pictures;
size_t firstShown = 0;

bool HasPictureExtension(const fs::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    for (const char* known : {".bmp", ".gif", ".png", ".jpg", ".jpeg", ".tga"}) {
        if (ext == known) return true;
    }
    return false;
}

// The folder's pictures; a file given by name is shown first even without a known extension.
bool FindPictures(const fs::path& given, std::string* error) {
    std::error_code ec;
    const bool isFolder = fs::is_directory(given, ec);
    if (!isFolder && !fs::is_regular_file(given, ec)) {
        *error = given.string() + ": no such file or folder";
        return false;
    }
    fs::path folder = isFolder ? given : given.parent_path();
    if (folder.empty()) folder = ".";
    // The given file as the folder listing names it.
    const fs::path file = isFolder ? fs::path() : folder / given.filename();
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        if (entry.path() != file && entry.is_regular_file(ec) &&
            HasPictureExtension(entry.path())) {
            pictures.push_back(entry.path());
        }
    }
    if (!isFolder) pictures.push_back(file);
    std::sort(pictures.begin(), pictures.end());
    if (pictures.empty()) {
        *error = given.string() + ": no BMP, GIF, PNG, JPEG or TGA pictures in this folder";
        return false;
    }
    if (!isFolder) {
        firstShown = size_t(std::find(pictures.begin(), pictures.end(), file) - pictures.begin());
    }
    return true;
}

bool ReadWholeFile(const fs::path& path, std::vector<uint8_t>* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

class ClassImageViewer : public ClassVane {
  public:
    int OnConfigure(VAppSettings& settings) override {
        settings.fpslimit = 30;
        return 0;
    }

    int OnConfigureDisplay(VScreenSettings& settings) override {
        const char16_t caption[] = u"VANELIB image viewer";
        std::memcpy(settings.caption, caption, sizeof(caption));
        settings.icon = 101;
        settings.width = kDisplayWidth;
        settings.height = kDisplayHeight;
        return 0;
    }

    int OnInit(uintptr_t, ClassVScreen& screen) override {
        if (const char16_t* error = LoadExampleFont(screen, &font_)) {
            ReportError(error);
            return 1;
        }
        Show(screen, firstShown);
        return 0;
    }

    int OnFrame(ClassVScreen& screen, uint32_t) override {
        V2DSurface& back = screen.BackBuffer();
        back.FillRect(nullptr, kBackground);
        if (shown_.IsCreated()) back.Blit(shownX_, shownY_, &shown_, nullptr, 0, 0);
        back.DrawString(int32_t(screen.GetWidth() / 2), int32_t(screen.GetHeight()) - 2, &font_,
                        line_.c_str(), BLIT_KEY | BLIT_FILL | VTEXT_CENTRE | VTEXT_BOTTOM,
                        kTextColour);
        return 0;
    }

    void OnKeyDown(uint32_t key, VKeyList& keys) override {
        const size_t count = pictures.size();
        if (key == keys.keys[kKeyRoleLeft]) Show(Screen(), (index_ + count - 1) % count);
        if (key == keys.keys[kKeyRoleRight]) Show(Screen(), (index_ + 1) % count);
        if (key == VKEY_HOME) Show(Screen(), 0);
        if (key == VKEY_END) Show(Screen(), count - 1);
        if (key == VKEY_ESCAPE) Quit();
    }

  private:
    // Decodes picture index, fits it to the display and lays it over the checkerboard once, so
    // that a frame is one copy.
    void Show(ClassVScreen& screen, size_t index) {
        index_ = index;
        shown_.Free();
        const fs::path& path = pictures[index];
        std::vector<uint8_t> bytes;
        V2DSurfaceRGBA picture;
        const std::string name = path.filename().string();
        const std::string place =
            "  (" + std::to_string(index + 1) + " of " + std::to_string(pictures.size()) + ")";
        uint32_t result = 0;
        if (!ReadWholeFile(path, &bytes)) {
            line_ = name + ": cannot be read" + place;
        } else if ((result = screen.LoadSurfaceRGBA(picture, bytes.data(), uint32_t(bytes.size()),
                                                    0)) != 0) {
            line_ = name + ": not a picture the loaders read (result " + std::to_string(result) +
                    ")" + place;
        } else {
            line_ = name + "  " + std::to_string(picture.GetWidth()) + " x " +
                    std::to_string(picture.GetHeight()) + place;
            Compose(screen, picture);
        }
        picture.Free();
        // The title takes the name as it is; the line in the picture has the font's characters.
        char16_t status[kStatusCapacity];
        Utf8ToWide(line_.c_str(), line_.size(), status, kStatusCapacity);
        ShowStatus(status);
    }

    // The largest size with the picture's proportions that fits above the file name line.
    void Compose(ClassVScreen& screen, V2DSurfaceRGBA& picture) {
        const uint64_t w = picture.GetWidth(), h = picture.GetHeight();
        const uint64_t areaW = screen.GetWidth(), areaH = screen.GetHeight() - kLineHeight;
        uint64_t fitW = areaW, fitH = areaH;
        if (w * areaH > h * areaW) {
            fitH = std::max<uint64_t>(1, h * areaW / w);
        } else {
            fitW = std::max<uint64_t>(1, w * areaH / h);
        }
        V2DSurfaceRGBA fitted;
        if (screen.CreateSurfaceRGBA(fitted, uint32_t(fitW), uint32_t(fitH), 0) != 0 ||
            screen.CreateSurface(shown_, uint32_t(fitW), uint32_t(fitH), VSURFACE_DEFAULT) != 0) {
            line_ += ": out of memory";
            fitted.Free();
            shown_.Free();
            return;
        }
        // Nearest source pixel for each fitted one.
        for (uint32_t y = 0; y < fitH; ++y) {
            const int32_t sy = int32_t(y * h / fitH);
            for (uint32_t x = 0; x < fitW; ++x) {
                const uint32_t c = picture.GetPixel(int32_t(x * w / fitW), sy);
                fitted.PutPixelAlpha(int32_t(x), int32_t(y), c & 0xFFFFFF, c >> 24);
            }
        }
        for (int32_t y = 0; y < int32_t(fitH); y += kCheckerCell) {
            for (int32_t x = 0; x < int32_t(fitW); x += kCheckerCell) {
                const VRect cell{x, y, x + kCheckerCell, y + kCheckerCell};
                const bool light = ((x + y) / kCheckerCell) % 2 == 0;
                shown_.FillRect(&cell, light ? kCheckerLight : kCheckerDark);
            }
        }
        shown_.Blit(0, 0, &fitted, nullptr, 0, 0);
        fitted.Free();
        shownX_ = int32_t((areaW - fitW) / 2);
        shownY_ = int32_t((areaH - fitH) / 2);
    }

    V2DSurface font_;
    V2DSurface shown_;  // the fitted picture over its checkerboard
    int32_t shownX_ = 0, shownY_ = 0;
    size_t index_ = 0;
    std::string line_;
};

VANE_APPLICATION(ClassImageViewer);

}  // namespace

int main(int argc, char** argv) {
    VExampleRun run;
    std::string error;
    if (!ParseExampleArgs(argc, argv, &run, &error) || run.arguments.size() != 1) {
        if (!error.empty()) std::fprintf(stderr, "%s\n", error.c_str());
        std::fprintf(stderr, "usage: %s FILE-OR-FOLDER %s\n", argv[0], ExampleOptionsUsage());
        return 2;
    }
    if (!FindPictures(run.arguments[0], &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return RunExample(run);
}
