"""Writes the font strip "IMAGES" 108: a 24-bit BMP, 1350 x 8, holding 224 glyphs of 6 x 8
pixels for the Windows-1251 codes 32 to 255 on the background 0xF8F8F8 (the colour key); the
last 6 columns are unused.

The glyph shapes are those of the public-domain 5 x 8 misc-fixed font from Debian's
xfonts-base, read through Pillow with the Windows-1251 code page. That font draws Ё exactly
like Е (there is no room above its capitals); here Ё gets its two dots on the free top row. The ink is a warm light gold
shading a little darker towards the baseline, with a dark drop shadow one pixel right and down:
- every ink colour differs from the background in 444, 555 and 565, so the key never eats ink;
- its brightest channel is 255, so drawn with key + tint (property white) the letters come out
  white, and their shadow dark grey;
- drawn with key + opacity over the demo's dark gradients it reads as gold with a shadow.
"""

from PIL import Image

from assetlib import output_path, pixel_font_glyphs

FIRST, LAST = 32, 255
CELL_W, CELL_H = 6, 8
WIDTH = 1350
BACKGROUND = (0xF8, 0xF8, 0xF8)
SHADOW = (0x38, 0x24, 0x10)
# Ink per glyph row, top to bottom (row 7 is the descender line).
INK_ROWS = [
    (0xFF, 0xF4, 0xC8),
    (0xFF, 0xF0, 0xB8),
    (0xFF, 0xEA, 0xA8),
    (0xFF, 0xE2, 0x98),
    (0xFF, 0xDA, 0x88),
    (0xFF, 0xD0, 0x78),
    (0xFF, 0xC6, 0x68),
    (0xFF, 0xBC, 0x58),
]


def with_dotted_capital_yo(glyphs):
    """Ё (0xA8) as Е (0xC5) with the diaeresis on row 0, over the letter's first and third
    columns like the small ё."""
    rows = [list(row) for row in glyphs[0xC5]]
    rows[0] = [True, False, True, False, False]
    glyphs = dict(glyphs)
    glyphs[0xA8] = rows
    return glyphs


def main():
    glyphs = with_dotted_capital_yo(pixel_font_glyphs())
    strip = Image.new("RGB", (WIDTH, CELL_H), BACKGROUND)
    px = strip.load()
    for code in range(FIRST, LAST + 1):
        bitmap = glyphs[code]
        left = (code - FIRST) * CELL_W
        # Shadow first, then ink over it, so the shadow shows only where it sticks out.
        for y in range(CELL_H):
            for x in range(5):
                if bitmap[y][x] and y + 1 < CELL_H:
                    px[left + x + 1, y + 1] = SHADOW
        for y in range(CELL_H):
            for x in range(5):
                if bitmap[y][x]:
                    px[left + x, y] = INK_ROWS[y]
    strip.save(output_path("font.bmp"))


if __name__ == "__main__":
    main()
