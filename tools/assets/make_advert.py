"""Writes the advert picture "IMAGES" 116: PNG 300 x 440, 8-bit RGB, Adam7-interlaced.

The demo never shows the picture whole: it cuts rectangles out of it and animates each beside
a caption, so the picture is a sheet of separate pieces. Pure black (0, 0, 0) is the
transparent key when the pieces are drawn with key + opacity; it fills every gap between the
pieces and is kept out of the pieces themselves (a piece's darkest pixels are lifted until they
stay above black even after conversion to 16-bit pixel formats).
"""

import numpy as np
from PIL import Image

from advert_gameview import game_view
from advert_pieces import (banner_strip, box_art, goal_strip, landscape, map_thumbnails, science,
                           title_art, tower_stats, tower_types, upgrade_sheet)
from assetlib import output_path, save_png_adam7

W, H = 300, 440

# (left, top, width, height, painter): the rectangles the demo cuts out.
PIECES = [
    (0, 0, 179, 98, title_art),
    (0, 100, 219, 15, banner_strip),
    (0, 115, 199, 118, game_view),
    (220, 0, 75, 100, box_art),
    (220, 100, 80, 100, upgrade_sheet),  # the demo asks for 81 columns; the picture ends at 300
    (0, 240, 73, 100, tower_types),
    (75, 240, 94, 100, landscape),
    (170, 240, 100, 100, tower_stats),
    # The science and goal pieces are painted after this one and take its last column where
    # they overlap it.
    (0, 340, 91, 100, map_thumbnails),
    (90, 340, 150, 43, science),
    (90, 385, 150, 26, goal_strip),
]

# A pixel whose every channel is below this turns black in 444 (and nearly so in 565).
DARKEST = 16


def lift_darkest(piece):
    """Raises pixels that would read as the black key to a dark grey of the same hue."""
    peak = piece.max(axis=2, keepdims=True)
    too_dark = peak < DARKEST
    lifted = np.where(peak > 0, piece * (DARKEST / np.maximum(peak, 1e-6)), DARKEST)
    return np.where(too_dark, lifted, piece)


def main():
    sheet = np.zeros((H, W, 3))
    for left, top, width, height, painter in PIECES:
        piece = painter(width, height)
        assert piece.shape == (height, width, 3), painter.__name__
        sheet[top:top + height, left:left + width] = lift_darkest(np.round(piece))
    image = Image.fromarray(np.clip(np.round(sheet), 0, 255).astype(np.uint8), "RGB")
    save_png_adam7(image, output_path("advert.png"))


if __name__ == "__main__":
    main()
