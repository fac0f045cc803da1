// Bitmap text: DrawString copies each character's glyph with Blit; GetStringWidth and
// GetStringHeight measure text with the same line rules.
#include "graphics2d/font.h"
#include "graphics2d/surface.h"

namespace {

constexpr char kCR = '\r';
constexpr char kLF = '\n';

bool EndsLine(char c) {
    return c == kCR || c == kLF || c == 0;
}

// Lines of a text: one at the start and one after every LF that some character follows.
int32_t LineCount(const char* text) {
    int32_t lines = 1;
    for (const char* p = text; *p != 0; ++p)
        if (*p == kLF && p[1] != 0) ++lines;
    return lines;
}

// The start x of a line aligned on its own width.
int32_t AlignedX(int32_t x, uint32_t flags, const VFontView& view, const char* line) {
    if (flags & VTEXT_RIGHT) return x - view.LineWidth(line);
    if (flags & VTEXT_CENTRE) return x - view.LineWidth(line) / 2;
    return x;
}

}  // namespace

VFontView::VFontView(const void* table, const char16_t* charmap) : charmap_(charmap) {
    if (table == nullptr) return;
    header_ = static_cast<const VFontHeader*>(table);
    glyphs_ = reinterpret_cast<const VFontGlyph*>(header_ + 1);
}

const VFontGlyph* VFontView::Find(uint8_t c) const {
    if (header_ == nullptr) return nullptr;
    int32_t index = -1;
    if (charmap_ != nullptr) {
        for (int32_t i = 0; charmap_[i] != 0; ++i) {
            if (charmap_[i] == c) {
                index = i;
                break;
            }
        }
    } else {
        index = int32_t(c) - header_->first;
    }
    if (index < 0 || index >= header_->count) return nullptr;
    return &glyphs_[index];
}

int32_t VFontView::GlyphHeight() const {
    return header_ != nullptr && header_->count > 0 ? glyphs_[0].Height() : 0;
}

int32_t VFontView::LineWidth(const char* text) const {
    int32_t width = 0;
    for (const char* p = text; !EndsLine(*p); ++p) {
        const VFontGlyph* g = Find(uint8_t(*p));
        if (g != nullptr) width += header_->spacing + g->Width();
    }
    return width;
}

uint32_t V2DSurface::GetStringWidth(const char* text) const {
    const VFontView view(font, fontcharmap);
    if (!view.Valid() || text == nullptr) return 0;
    int32_t widest = 0;
    for (const char* line = text;; ++line) {
        const int32_t w = view.LineWidth(line);
        if (w > widest) widest = w;
        while (!EndsLine(*line)) ++line;
        if (*line == 0) break;
    }
    return uint32_t(widest);
}

uint32_t V2DSurface::GetStringHeight(const char* text) const {
    const VFontView view(font, fontcharmap);
    if (!view.Valid()) return 0;
    const int32_t lines = text != nullptr ? LineCount(text) : 1;
    return uint32_t(view.GlyphHeight() * lines);
}

void V2DSurface::DrawString(int32_t x, int32_t y, V2DSurface* fontsurface, const char* text,
                            uint32_t flags, uint32_t property) {
    if (!IsCreated() || fontsurface == nullptr || !fontsurface->IsCreated() || text == nullptr)
        return;
    const VFontView view(fontsurface->font, fontsurface->fontcharmap);
    if (!view.Valid()) return;
    // Both surfaces stay locked for the whole text, so every glyph takes the software path.
    if (Lock() == nullptr) return;
    if (fontsurface->Lock() == nullptr) {
        Unlock();
        return;
    }
    const int32_t height = int32_t(fontsurface->GetStringHeight(text));
    if (flags & VTEXT_BOTTOM) {
        y -= height;
    } else if (flags & VTEXT_MIDDLE) {
        y -= height / 2;
    }
    const uint32_t effect = flags & 0xFF;
    const int32_t advance = view.Header().linespacing + view.GlyphHeight();
    int32_t cx = AlignedX(x, flags, view, text);
    for (const char* p = text; *p != 0; ++p) {
        if (p != text && p[-1] == kLF) {
            cx = AlignedX(x, flags, view, p);
            y += advance;
        }
        if (*p == kCR || *p == kLF) continue;
        const VFontGlyph* g = view.Find(uint8_t(*p));
        if (g == nullptr) continue;
        const VRect r{g->left, g->top, g->right, g->bottom};
        Blit(cx, y, fontsurface, &r, effect, property);
        cx += view.Header().spacing + g->Width();
    }
    fontsurface->Unlock();
    Unlock();
}
