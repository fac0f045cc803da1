// Font parameters of a surface and ScanFont, which derives the font table from a glyph strip.
#include "fileio/memory.h"
#include "graphics2d/font.h"
#include "graphics2d/surface.h"

namespace {

uint32_t CharListLength(const char16_t* chars) {
    uint32_t n = 0;
    while (chars[n] != 0) ++n;
    return n;
}

// Fixed-width grid: cell i of perrow × rows equal cells, cut from the surface's size.
void ScanFixed(VFontGlyph* glyphs, uint32_t count, uint32_t rows, int32_t perrow, int32_t w,
               int32_t h) {
    if (perrow < 1) perrow = int32_t(count / rows);
    if (perrow < 1) perrow = 1;
    const int32_t cellw = w / perrow, cellh = h / int32_t(rows);
    for (uint32_t i = 0; i < count; ++i) {
        const int32_t column = int32_t(i % uint32_t(perrow)), row = int32_t(i / uint32_t(perrow));
        if (int64_t(row) * cellh >= h) break;
        glyphs[i] = VFontGlyph{int16_t(column * cellw), int16_t(row * cellh),
                               int16_t(column * cellw + cellw), int16_t(row * cellh + cellh)};
    }
}

}  // namespace

void V2DSurface::SetFontRange(uint16_t first, uint16_t last) {
    fontfirst = first;
    fontlast = last;
}

void V2DSurface::SetFontGrid(uint8_t rows, int16_t perrow) {
    fontrows = rows;
    fontperrow = perrow;
}

bool V2DSurface::SetFontCharList(const char16_t* chars) {
    char16_t* copy = nullptr;
    if (chars != nullptr) {
        const uint32_t n = CharListLength(chars) + 1;
        copy = static_cast<char16_t*>(MemAlloc(n * sizeof(char16_t)));
        if (copy == nullptr) return false;
        MemCopy(copy, chars, n * sizeof(char16_t), false);
    }
    MemFree(fontcharmap);
    fontcharmap = copy;
    return true;
}

uint32_t V2DSurface::ScanFont(bool proportional, uint32_t key) {
    FreeFontTable();
    if (!IsCreated()) return VSURF_NOTCREATED;
    const int32_t w = int32_t(GetWidth()), h = int32_t(GetHeight());
    const int32_t count = fontcharmap != nullptr ? int32_t(CharListLength(fontcharmap))
                                                 : int32_t(fontlast) - int32_t(fontfirst) + 1;
    // The table counts glyphs in a signed 16-bit number.
    if (count <= 0 || count > INT16_MAX) return VSURF_INVALID;
    const uint32_t rows = fontrows == 0 ? 1 : fontrows;
    const int32_t perrow = rows == 1 ? count : fontperrow;

    const size_t bytes = size_t(count) * sizeof(VFontGlyph) + sizeof(VFontHeader);
    font = MemAlloc(bytes);
    if (font == nullptr) return VSURF_OUTOFMEMORY;
    MemFill8(font, 0, bytes);
    auto* header = static_cast<VFontHeader*>(font);
    *header = VFontHeader{int16_t(fontspacing), int16_t(fontspacing2), int16_t(fontfirst),
                          int16_t(count)};
    auto* glyphs = reinterpret_cast<VFontGlyph*>(header + 1);
    SetColorKey(key);
    key = GetColorKey();

    if (!proportional) {
        ScanFixed(glyphs, uint32_t(count), rows, perrow, w, h);
        return VSURF_OK;
    }
    // Proportional: on the top line of each glyph row a run of non-key pixels marks a glyph's
    // columns; the marker line and the line below it are not part of the glyph.
    const int32_t cellh = h / int32_t(rows);
    int32_t row = 0, x = 0;
    for (int32_t i = 0; i < count && row < int32_t(rows);) {
        const int32_t marker = row * cellh;
        int32_t left = x;
        while (left < w && GetPixel(left, marker) == key) ++left;
        int32_t right = left;
        while (right < w && GetPixel(right, marker) != key) ++right;
        if (left == right) {
            ++row;
            x = 0;
            continue;
        }
        glyphs[i++] =
            VFontGlyph{int16_t(left), int16_t(marker + 2), int16_t(right), int16_t(marker + cellh)};
        x = right;
    }
    return VSURF_OK;
}
