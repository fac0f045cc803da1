// The font table that ScanFont builds on a font surface: a header of four signed 16-bit numbers,
// then one rectangle per glyph in logical coordinates of the font surface (right and bottom
// exclusive). An all-zero rectangle is a glyph the strip did not provide.
#pragma once

#include <cstdint>

struct VFontHeader {
    int16_t spacing;      // extra pixels after every character
    int16_t linespacing;  // extra pixels between lines
    int16_t first;        // character code of glyph 0 when there is no character list
    int16_t count;        // number of glyphs
};

struct VFontGlyph {
    int16_t left, top, right, bottom;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
};

static_assert(sizeof(VFontHeader) == 8 && sizeof(VFontGlyph) == 8);

// Text alignment flags of DrawString (bits 8-11 of its flags).
constexpr uint32_t VTEXT_RIGHT = 0x100;
constexpr uint32_t VTEXT_CENTRE = 0x200;
constexpr uint32_t VTEXT_BOTTOM = 0x400;
constexpr uint32_t VTEXT_MIDDLE = 0x800;

// A font table in memory, with the character lookup of its surface.
class VFontView {
  public:
    // table may be null (no font); charmap is the surface's character list or null.
    VFontView(const void* table, const char16_t* charmap);

    bool Valid() const { return header_ != nullptr; }
    const VFontHeader& Header() const { return *header_; }
    // The glyph of an 8-bit character (compared as unsigned), or null when it has none.
    const VFontGlyph* Find(uint8_t c) const;
    // Height of the first glyph: the height of every line.
    int32_t GlyphHeight() const;
    // Width of the line starting at text, up to CR, LF or the end: spacing + glyph width per
    // character with a glyph.
    int32_t LineWidth(const char* text) const;

  private:
    const VFontHeader* header_ = nullptr;
    const VFontGlyph* glyphs_ = nullptr;
    const char16_t* charmap_ = nullptr;
};
