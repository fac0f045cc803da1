#include <gtest/gtest.h>

#include <vector>

#include "tests/graphics2d/font_fixture.h"

namespace {

bool SameRect(const VFontGlyph& g, const VRect& r) {
    return g.left == r.left && g.top == r.top && g.right == r.right && g.bottom == r.bottom;
}

// Glyphs 'A' to 'H' as solid white 6 × 8 blocks on black (the key), one row.
void MakeBlockFont(VSurfaceServices& services, V2DSurface& font, uint16_t spacing = 0,
                   uint16_t linespacing = 0) {
    MakeSurface(services, font, 48, 8, VPIXELFORMAT_X888);
    font.FillRect(nullptr, 0xFFFFFF);
    font.SetFontRange('A', 'H');
    font.fontspacing = spacing;
    font.fontspacing2 = linespacing;
    ASSERT_EQ(font.ScanFont(false, 0), 0u);
}

}  // namespace

TEST(Font, DemoStripScansIntoSixPixelCells) {
    VSurfaceServices services(VPIXELFORMAT_565);
    V2DSurface font;
    LoadDemoFont(services, font, VPIXELFORMAT_565);
    ASSERT_EQ(font.GetWidth(), 1350u);
    EXPECT_EQ(font.GetColorKey(), kStripBackground);
    const VFontHeader& h = FontHeader(font);
    EXPECT_EQ(h.count, 224);
    EXPECT_EQ(h.first, 32);
    int16_t rightmost = 0;
    for (int i = 0; i < h.count; ++i) {
        const int code = 32 + i;
        ASSERT_TRUE(SameRect(FontGlyph(font, i), VRect{(code - 32) * 6, 0, (code - 32) * 6 + 6, 8}))
            << "code " << code;
        rightmost = std::max(rightmost, FontGlyph(font, i).right);
    }
    EXPECT_EQ(rightmost, 1344) << "the 6 rightmost columns belong to no glyph";
    // Every letter cell holds ink; the space cell holds none.
    auto ink = [&](int code) {
        int n = 0;
        for (int32_t y = 0; y < 8; ++y)
            for (int32_t x = 0; x < 6; ++x)
                n += font.GetPixel((code - 32) * 6 + x, y) != kStripBackground;
        return n;
    };
    EXPECT_EQ(ink(' '), 0);
    for (int code : {int('A'), int('W'), int('z'), 0xC0, 0xFF}) EXPECT_GT(ink(code), 0) << code;
}

TEST(Font, FixedGrids) {
    struct Case {
        const char* name;
        uint8_t rows;
        int16_t perrow;
        uint16_t first, last;
        int glyph;
        VRect rect;  // expected rectangle of glyph
    };
    const Case cases[] = {
        {"one row: perrow is the count", 1, 128, 0, 9, 9, {27, 0, 30, 16}},
        {"two rows, perrow computed", 2, -1, 0, 9, 7, {12, 8, 18, 16}},
        {"two rows, five per row", 2, 5, 0, 9, 4, {24, 0, 30, 8}},
        {"grid smaller than the count leaves the rest empty", 2, 3, 0, 9, 6, {0, 0, 0, 0}},
        {"rows 0 counts as 1", 0, 50, 0, 4, 4, {24, 0, 30, 16}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VSurfaceServices services(VPIXELFORMAT_565);
        V2DSurface font;
        MakeSurface(services, font, 30, 16, VPIXELFORMAT_565);
        font.SetFontGrid(c.rows, c.perrow);
        font.SetFontRange(c.first, c.last);
        ASSERT_EQ(font.ScanFont(false, 0), 0u);
        const VFontGlyph& g = FontGlyph(font, c.glyph);
        EXPECT_TRUE(SameRect(g, c.rect))
            << g.left << "," << g.top << "," << g.right << "," << g.bottom;
    }
}

// Two glyph rows of 6 lines each; the top line of each row marks the glyphs' columns.
TEST(Font, ProportionalStripWithMarkerLines) {
    VSurfaceServices services(VPIXELFORMAT_565);
    V2DSurface font;
    MakeSurface(services, font, 20, 12, VPIXELFORMAT_X888);
    const uint32_t key = 0xFF00FF;
    font.FillRect(nullptr, key);
    const int markers[][3] = {{0, 1, 4}, {0, 5, 9}, {0, 12, 13}, {6, 0, 2}, {6, 3, 7}};
    for (const auto& m : markers) {
        const VRect r{m[1], m[0], m[2], m[0] + 1};
        font.FillRect(&r, 0x000000);
    }
    const VRect ink{0, 2, 20, 6};  // glyph pixels under the marker line: not read by the scan
    font.FillRect(&ink, 0x00FF00);
    font.fontrows = 2;
    ASSERT_TRUE(font.SetFontCharList(u"ABCDEF"));
    ASSERT_EQ(font.ScanFont(true, key), 0u);
    EXPECT_EQ(FontHeader(font).count, 6);
    const VRect expected[] = {{1, 2, 4, 6},  {5, 2, 9, 6},  {12, 2, 13, 6},
                              {0, 8, 2, 12}, {3, 8, 7, 12}, {0, 0, 0, 0}};
    for (int i = 0; i < 6; ++i) {
        const VFontGlyph& g = FontGlyph(font, i);
        EXPECT_TRUE(SameRect(g, expected[i]))
            << char('A' + i) << ": " << g.left << "," << g.top << "," << g.right << "," << g.bottom;
    }
    EXPECT_EQ(font.GetStringWidth("ABE"), 3u + 4 + 4);
    EXPECT_EQ(font.GetStringHeight("A"), 4u);
    EXPECT_EQ(font.GetStringWidth("Z"), 0u) << "not in the character list";
}

TEST(Font, ScanResults) {
    VSurfaceServices services(VPIXELFORMAT_565);
    V2DSurface font;
    EXPECT_EQ(font.ScanFont(false, 0), 1u);
    EXPECT_EQ(font.GetStringWidth("A"), 0u);
    MakeSurface(services, font, 12, 8, VPIXELFORMAT_565);
    font.SetFontRange(40, 39);
    EXPECT_EQ(font.ScanFont(false, 0), 4u);
    EXPECT_EQ(font.font, nullptr);
    ASSERT_TRUE(font.SetFontCharList(u""));
    EXPECT_EQ(font.ScanFont(false, 0), 4u);
    ASSERT_TRUE(font.SetFontCharList(nullptr));
    font.SetFontRange('A', 'B');
    EXPECT_EQ(font.ScanFont(false, 0x123456), 0u);
    EXPECT_EQ(font.GetColorKey(), 0x103450u) << "the key is quantised like any pixel";
    // Creating the surface again drops the table.
    ASSERT_EQ(font.Create(12, 8, VPIXELFORMAT_565, 0), 0u);
    EXPECT_EQ(font.font, nullptr);
}

TEST(Font, MeasuringText) {
    struct Case {
        const char* name;
        const char* text;
        uint16_t spacing;
        uint32_t width, height;
    };
    const Case cases[] = {
        {"two glyphs", "AB", 0, 12, 8},
        {"spacing follows every glyph", "AB", 1, 14, 8},
        {"CR ends a line for width", "AB\rA", 0, 12, 8},
        {"CR LF: two lines", "A\r\nBC", 0, 12, 16},
        {"LF CR: two lines", "A\n\rB", 0, 6, 16},
        {"LF LF: three lines", "A\n\nB", 0, 6, 24},
        {"a final LF starts no line", "AB\n", 0, 12, 8},
        {"characters without a glyph add nothing",
         "A\x05"
         "B\xE0z",
         0, 12, 8},
        {"empty text is one line", "", 0, 0, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VSurfaceServices services(VPIXELFORMAT_565);
        V2DSurface font;
        MakeBlockFont(services, font, c.spacing);
        EXPECT_EQ(font.GetStringWidth(c.text), c.width);
        EXPECT_EQ(font.GetStringHeight(c.text), c.height);
    }
    VSurfaceServices services(VPIXELFORMAT_565);
    V2DSurface font;
    MakeBlockFont(services, font);
    EXPECT_EQ(font.GetStringWidth(nullptr), 0u);
    EXPECT_EQ(font.GetStringHeight(nullptr), 8u) << "one glyph height";
}

// Text drawn with the block font: the white pixels are exactly the expected rectangles.
TEST(Text, LayoutAndAlignment) {
    struct Case {
        const char* name;
        const char* text;
        int32_t x, y;
        uint32_t flags;
        uint16_t linespacing;
        std::vector<VRect> drawn;
    };
    const Case cases[] = {
        {"top-left corner at x, y", "AB", 10, 5, BLIT_KEY, 0, {{10, 5, 22, 13}}},
        {"right", "AB", 30, 5, BLIT_KEY | VTEXT_RIGHT, 0, {{18, 5, 30, 13}}},
        {"centre", "AB", 30, 5, BLIT_KEY | VTEXT_CENTRE, 0, {{24, 5, 36, 13}}},
        {"bottom", "AB", 10, 20, BLIT_KEY | VTEXT_BOTTOM, 0, {{10, 12, 22, 20}}},
        {"middle of two lines",
         "AB\nA",
         10,
         20,
         BLIT_KEY | VTEXT_MIDDLE,
         0,
         {{10, 12, 22, 20}, {10, 20, 16, 28}}},
        {"right aligns each line on its width",
         "AB\nA",
         30,
         5,
         BLIT_KEY | VTEXT_RIGHT,
         0,
         {{18, 5, 30, 13}, {24, 13, 30, 21}}},
        {"centre and bottom",
         "ABC\nA",
         30,
         30,
         BLIT_KEY | VTEXT_CENTRE | VTEXT_BOTTOM,
         0,
         {{21, 14, 39, 22}, {27, 22, 33, 30}}},
        {"line spacing", "A\nB", 10, 5, BLIT_KEY, 3, {{10, 5, 16, 13}, {10, 16, 16, 24}}},
        {"CR draws nothing and stays on the line", "A\rB", 10, 5, BLIT_KEY, 0, {{10, 5, 22, 13}}},
        {"LF LF leaves an empty line", "A\n\nB", 10, 5, 0, 0, {{10, 5, 16, 13}, {10, 21, 16, 29}}},
        {"characters without a glyph do not move x",
         "A\x05"
         "a"
         "B",
         10,
         5,
         BLIT_KEY,
         0,
         {{10, 5, 22, 13}}},
        {"clipped at the left edge", "AB", -4, 0, BLIT_KEY, 0, {{0, 0, 8, 8}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VSurfaceServices services(VPIXELFORMAT_565);
        V2DSurface font, dst;
        MakeBlockFont(services, font, 0, c.linespacing);
        MakeSurface(services, dst, 48, 40, VPIXELFORMAT_X888);
        dst.DrawString(c.x, c.y, &font, c.text, c.flags, 0);
        for (int32_t y = 0; y < 40; ++y) {
            for (int32_t x = 0; x < 48; ++x) {
                bool inside = false;
                for (const VRect& r : c.drawn)
                    inside |= x >= r.left && x < r.right && y >= r.top && y < r.bottom;
                ASSERT_EQ(dst.GetPixel(x, y), inside ? 0xFFFFFFu : 0u) << "at " << x << ", " << y;
            }
        }
        EXPECT_EQ(dst.lockcount, 0u);
        EXPECT_EQ(font.lockcount, 0u);
    }
}

TEST(Text, EffectsReachEveryGlyph) {
    struct Case {
        const char* name;
        uint32_t flags, property;
        uint32_t expected;  // a glyph pixel over a 0x204060 background
    };
    const Case cases[] = {
        {"key copy", BLIT_KEY, 0, 0xFFFFFF},
        {"key fill", BLIT_KEY | BLIT_FILL, 0x0000FF, 0x0000FF},
        {"opacity 128", BLIT_KEY | BLIT_OPACITY, 128, 0x90A0B0},
        {"add", BLIT_KEY | BLIT_ADD, 0, 0xFFFFFF},
        {"subtract", BLIT_KEY | BLIT_SUBTRACT, 0, 0x000000},
        {"tint", BLIT_KEY | BLIT_TINT, 0x804020, 0x7F3F1F},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VSurfaceServices services(VPIXELFORMAT_X888);
        V2DSurface font, dst;
        MakeBlockFont(services, font);
        MakeSurface(services, dst, 20, 10, VPIXELFORMAT_X888);
        dst.FillRect(nullptr, 0x204060);
        dst.DrawString(1, 1, &font, "AB", c.flags, c.property);
        EXPECT_EQ(dst.GetPixel(1, 1), c.expected);
        EXPECT_EQ(dst.GetPixel(12, 8), c.expected);
        EXPECT_EQ(dst.GetPixel(13, 1), 0x204060u);
    }
}

TEST(Text, NothingWithoutAFont) {
    VSurfaceServices services(VPIXELFORMAT_565);
    V2DSurface font, dst, notcreated;
    MakeSurface(services, font, 12, 8, VPIXELFORMAT_X888);
    font.FillRect(nullptr, 0xFFFFFF);
    MakeSurface(services, dst, 12, 8, VPIXELFORMAT_X888);
    dst.DrawString(0, 0, &font, "A", 0, 0);  // not scanned
    dst.DrawString(0, 0, nullptr, "A", 0, 0);
    dst.DrawString(0, 0, &font, nullptr, 0, 0);
    notcreated.DrawString(0, 0, &font, "A", 0, 0);
    EXPECT_EQ(dst.GetPixel(0, 0), 0u);
}
