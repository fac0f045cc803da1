#include <gtest/gtest.h>

#include "graphics2d/display_palette.h"

TEST(DisplayPalette, NearestColourSearchOrder) {
    VDisplayPalette p;
    uint32_t entries[256] = {};
    entries[0] = 0x0000FF;  // entry 0 is never a candidate
    entries[1] = 0x404040;
    entries[2] = 0x404040;  // the same colour again: only index 1 is a candidate
    entries[3] = 0x000000;
    entries[4] = 0xFFFFFF;
    for (int i = 5; i < 256; ++i) entries[i] = 0xFFFFFF;
    p.SetEntries(entries, 0, 256);
    // Equally far from grey and black: the brightness pass puts black (index 3) before grey.
    EXPECT_EQ(p.Nearest(0x202020), 3);
    EXPECT_EQ(p.Nearest(0x101010), 3);
    EXPECT_EQ(p.Nearest(0xF0F0F0), 4);
    const uint8_t* inverse = p.InverseTable();
    ASSERT_NE(inverse, nullptr);
    EXPECT_EQ(inverse[0], 3);       // black, colour 0 included
    EXPECT_EQ(inverse[0x7FFF], 4);  // white
    EXPECT_EQ(inverse[VDisplayPalette::InverseIndexOf(0x424242)], 1);

    uint32_t own[256] = {};
    own[0] = 0xFFFFFF;
    own[1] = 0xFEFEFE;
    uint8_t remap[256];
    p.BuildRemap(own, remap);
    EXPECT_EQ(remap[0], 0);  // index 0 stays transparent
    EXPECT_EQ(remap[1], 4);
    EXPECT_EQ(remap[2], 3);

    // A change of palette rebuilds the inverse table.
    entries[3] = 0x0000F8;
    p.SetEntries(entries + 3, 3, 1);
    EXPECT_EQ(p.InverseTable()[0x1F], 3);
}
