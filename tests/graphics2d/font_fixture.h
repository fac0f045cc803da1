// Font surfaces for text tests: the demo's font strip read from assets/font.bmp through the
// loader interface, and small strips built pixel by pixel.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "graphics2d/font.h"
#include "tests/graphics2d/image_files.h"
#include "tests/graphics2d/surface_fixture.h"

constexpr uint32_t kStripBackground = 0xF8F8F8;

// Loads a picture into a surface of the given format as an image loader would.
inline void LoadPicture(V2DSurface& s, const TestImage& image, uint8_t format) {
    VLoaderState st;
    st.width = image.width;
    st.height = image.height;
    st.defaultformat = format;
    ASSERT_EQ(s.ImageInfo(st), 0u);
    st.data = reinterpret_cast<const uint8_t*>(image.colours.data());
    st.length = uint32_t(image.colours.size() * 4);
    ASSERT_EQ(s.ImagePixels(st), 0u);
}

// The demo's font: 224 glyphs of 6 × 8 pixels for codes 32 to 255, scanned as a fixed grid.
inline void LoadDemoFont(VSurfaceServices& services, V2DSurface& font, uint8_t format) {
    TestImage strip;
    ASSERT_TRUE(ReadBmp24(std::string(VANE_ASSETS_DIR) + "/font.bmp", &strip));
    font.SetOwner(&services);
    LoadPicture(font, strip, format);
    font.SetFontRange(32, 255);
    ASSERT_EQ(font.ScanFont(false, kStripBackground), 0u);
}

inline const VFontHeader& FontHeader(const V2DSurface& font) {
    return *static_cast<const VFontHeader*>(font.font);
}

inline const VFontGlyph& FontGlyph(const V2DSurface& font, int index) {
    return reinterpret_cast<const VFontGlyph*>(static_cast<const VFontHeader*>(font.font) +
                                               1)[index];
}
