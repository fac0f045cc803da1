// The desktop layer's pure parts: key codes, icon decoding, command-line options, the
// picture's place in the window.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/desktop/desktop_icon.h"
#include "platform/desktop/desktop_keys.h"
#include "platform/desktop/desktop_options.h"
#include "platform/desktop/desktop_screen.h"

TEST(DesktopKeys, VirtualKeyCodes) {
    struct Case {
        SDL_Keycode key;
        SDL_Scancode scancode;
        uint32_t expected;
    };
    const Case cases[] = {
        {SDLK_a, SDL_SCANCODE_A, 'A'},
        {SDLK_z, SDL_SCANCODE_W, 'Z'},  // a French keyboard: the key types 'z'
        {SDLK_0, SDL_SCANCODE_0, '0'},
        {SDLK_9, SDL_SCANCODE_9, '9'},
        {SDLK_AMPERSAND, SDL_SCANCODE_1, '1'},  // the digit row without Shift on French keys
        {SDLK_UNKNOWN, SDL_SCANCODE_Q, 'Q'},
        {SDLK_LEFT, SDL_SCANCODE_LEFT, 37},
        {SDLK_UP, SDL_SCANCODE_UP, 38},
        {SDLK_RIGHT, SDL_SCANCODE_RIGHT, 39},
        {SDLK_DOWN, SDL_SCANCODE_DOWN, 40},
        {SDLK_RETURN, SDL_SCANCODE_RETURN, 13},
        {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 13},
        {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 27},
        {SDLK_SPACE, SDL_SCANCODE_SPACE, 32},
        {SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, 16},
        {SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, 16},
        {SDLK_RCTRL, SDL_SCANCODE_RCTRL, 17},
        {SDLK_F1, SDL_SCANCODE_F1, 0x70},
        {SDLK_F12, SDL_SCANCODE_F12, 0x7B},
        {SDLK_KP_5, SDL_SCANCODE_KP_5, 0x65},
        {SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON, 0xBA},
        {SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE, 0xDE},
        {SDLK_DELETE, SDL_SCANCODE_DELETE, 46},
        {SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, 0},
        {SDLK_VOLUMEUP, SDL_SCANCODE_VOLUMEUP, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(VirtualKeyFor(c.key, c.scancode), c.expected) << SDL_GetKeyName(c.key);
    }
    EXPECT_EQ(ControlCharacterFor(SDLK_RETURN), 13);
    EXPECT_EQ(ControlCharacterFor(SDLK_BACKSPACE), 8);
    EXPECT_EQ(ControlCharacterFor(SDLK_a), 0);
}

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

struct IconEntry {
    uint32_t size;
    uint32_t bits;
    uint32_t compression;  // a PNG image is not a bitmap: the decoder passes it by
};

// An icon file whose images have pixel (x, y) = 0xFF000000 | size << 16 | y << 8 | x.
std::vector<uint8_t> MakeIcon(const std::vector<IconEntry>& entries) {
    std::vector<uint8_t> file;
    Put16(file, 0);
    Put16(file, 1);
    Put16(file, uint32_t(entries.size()));
    std::vector<std::vector<uint8_t>> images;
    for (const IconEntry& e : entries) {
        std::vector<uint8_t> image;
        Put32(image, 40);
        Put32(image, e.size);
        Put32(image, e.size * 2);
        Put16(image, 1);
        Put16(image, e.bits);
        Put32(image, e.compression);
        for (int i = 0; i < 5; ++i) Put32(image, 0);
        for (uint32_t row = 0; row < e.size; ++row) {
            const uint32_t y = e.size - 1 - row;  // bottom up
            for (uint32_t x = 0; x < e.size; ++x)
                Put32(image, 0xFF000000u | e.size << 16 | y << 8 | x);
        }
        image.resize(image.size() + e.size * ((e.size + 31) / 32 * 4));  // the mask
        images.push_back(image);
    }
    uint32_t offset = uint32_t(6 + 16 * entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        file.push_back(uint8_t(entries[i].size));
        file.push_back(uint8_t(entries[i].size));
        Put16(file, 0);
        Put16(file, 1);
        Put16(file, entries[i].bits);
        Put32(file, uint32_t(images[i].size()));
        Put32(file, offset);
        offset += uint32_t(images[i].size());
    }
    for (const auto& image : images) file.insert(file.end(), image.begin(), image.end());
    return file;
}

}  // namespace

TEST(DesktopIcon, TakesTheLargest32BitBitmapTopRowFirst) {
    const auto file = MakeIcon({{16, 32, 0}, {32, 32, 0}, {48, 32, 1}, {24, 8, 0}});
    VIconImage image;
    const char* error = nullptr;
    ASSERT_TRUE(DecodeIcon(file.data(), file.size(), &image, &error)) << error;
    EXPECT_EQ(image.width, 32u);
    EXPECT_EQ(image.height, 32u);
    EXPECT_EQ(image.pixels[0], 0xFF200000u);
    EXPECT_EQ(image.pixels[5 * 32 + 7], 0xFF200507u);
}

TEST(DesktopIcon, RefusesWhatItCannotShow) {
    const char* error = nullptr;
    VIconImage image;
    const auto onlyPng = MakeIcon({{48, 32, 1}});
    EXPECT_FALSE(DecodeIcon(onlyPng.data(), onlyPng.size(), &image, &error));
    EXPECT_STREQ(error, "the icon holds no 32-bit bitmap image");

    auto cut = MakeIcon({{16, 32, 0}});
    cut.resize(cut.size() - 100);  // the entry's image no longer fits
    EXPECT_FALSE(DecodeIcon(cut.data(), cut.size(), &image, &error));

    const uint8_t bmp[] = {'B', 'M', 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(DecodeIcon(bmp, sizeof(bmp), &image, &error));
    EXPECT_STREQ(error, "not an icon file");
    EXPECT_FALSE(DecodeIcon(bmp, 3, &image, &error));

    auto manyEntries = MakeIcon({{16, 32, 0}});
    manyEntries[4] = 200;  // more entries than the file holds
    EXPECT_FALSE(DecodeIcon(manyEntries.data(), manyEntries.size(), &image, &error));
}

TEST(DesktopIcon, DecodesTheProgramIcon) {
    std::ifstream in("../../assets/vorlund.ico", std::ios::binary);
    ASSERT_TRUE(in.good());
    const std::vector<uint8_t> file{std::istreambuf_iterator<char>(in), {}};
    VIconImage image;
    const char* error = nullptr;
    ASSERT_TRUE(DecodeIcon(file.data(), file.size(), &image, &error)) << error;
    EXPECT_GE(image.width, 32u);
    EXPECT_EQ(image.pixels.size(), size_t(image.width) * image.height);
}

TEST(DesktopOptions, ReadsTheLayerOptionsAndPassesTheRest) {
    struct Case {
        std::vector<const char*> args;
        bool ok;
        uint32_t scale;
        bool fullScreen;
        uint8_t format;
        const char* commandLine;
    };
    const Case cases[] = {
        {{"p"}, true, 0, false, 0, ""},
        {{"p", "--scale", "3", "level2"}, true, 3, false, 0, "level2"},
        {{"p", "a", "--fullscreen", "b"}, true, 0, true, 0, "a b"},
        {{"p", "--screen-format", "3"}, true, 0, false, 3, ""},
        {{"p", "--scale"}, false, 0, false, 0, ""},
        {{"p", "--scale", "0"}, false, 0, false, 0, ""},
        {{"p", "--scale", "17"}, false, 0, false, 0, ""},
        {{"p", "--scale", "2x"}, false, 0, false, 0, ""},
        {{"p", "--scale", "-2"}, false, 0, false, 0, ""},
        {{"p", "--screen-format", "6"}, false, 0, false, 0, ""},
    };
    for (const Case& c : cases) {
        VDesktopOptions options;
        std::string error;
        const bool ok = ParseDesktopOptions(int(c.args.size()), c.args.data(), &options, &error);
        EXPECT_EQ(ok, c.ok) << c.args.size();
        if (!ok) {
            EXPECT_FALSE(error.empty());
            continue;
        }
        EXPECT_EQ(options.scale, c.scale);
        EXPECT_EQ(options.fullScreen, c.fullScreen);
        EXPECT_EQ(options.sixteenBitFormat, c.format);
        EXPECT_EQ(options.commandLine, c.commandLine);
    }
}

TEST(DesktopScreenFit, LargestWholeScaleCentred) {
    struct Case {
        uint32_t outW, outH, picW, picH;
        int32_t x, y;
        uint32_t scale;
    };
    const Case cases[] = {
        {480, 640, 240, 320, 0, 0, 2},       // a window made for scale 2
        {1920, 1080, 240, 320, 600, 60, 3},  // full screen: limited by the height
        {100, 100, 240, 320, -70, -110, 1},  // too small: scale 1, cut at both sides
        {481, 643, 240, 320, 0, 1, 2},
    };
    for (const Case& c : cases) {
        const VPictureRect fit = FitPicture(c.outW, c.outH, c.picW, c.picH);
        EXPECT_EQ(fit.scale, c.scale) << c.outW << "x" << c.outH;
        EXPECT_EQ(fit.x, c.x);
        EXPECT_EQ(fit.y, c.y);
    }
}
