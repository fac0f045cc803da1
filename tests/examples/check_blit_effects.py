#!/usr/bin/env python3
"""blit_effects lays out its 16 effects, each over the same piece of the advert.

usage: check_blit_effects.py BLIT_EFFECTS WORK_FOLDER

Checked against Pillow's reading of assets/advert.png: every cell shows the ground piece
around the sprite and a name line of text; the sprite's key pixels are black without
BLIT_KEY and the ground with it; BLIT_FILL gives one colour; BLIT_ADD never darkens the ground
and brightens it under the logo; BLIT_SUBTRACT never brightens it and darkens it under the logo.
"""
import sys

from PIL import Image

from shots import TOLERANCE, Failures, close, run_example

COLUMNS, ROWS, CELL_W, CELL_H = 4, 4, 160, 120
GROUND = (5, 4, 150, 92)           # left, top, width, height in the cell
GROUND_SOURCE = (0, 125)           # where the advert gives it
SPRITE = (29, 15, 101, 70)         # left, top, width, height in the cell
NAME_LINE = (99, 107)
NO_EFFECT, KEY, FILL, ADD, SUBTRACT = 0, 1, 2, 10, 12


def main():
    program, work = sys.argv[1], sys.argv[2]
    shot = run_example(program, work, "blit_effects", [], 60)
    advert = Image.open("assets/advert.png").convert("RGB")
    f = Failures("blit_effects")
    f.check(shot.size == (COLUMNS * CELL_W, ROWS * CELL_H), f"the shot is {shot.size}")

    def ground(cx, cy):
        """The advert's pixel under a point of a cell."""
        return advert.getpixel((GROUND_SOURCE[0] + cx - GROUND[0],
                                GROUND_SOURCE[1] + cy - GROUND[1]))

    def sprite_points():
        for y in range(SPRITE[1], SPRITE[1] + SPRITE[3]):
            for x in range(SPRITE[0], SPRITE[0] + SPRITE[2]):
                yield x, y

    for cell in range(COLUMNS * ROWS):
        left, top = (cell % COLUMNS) * CELL_W, (cell // COLUMNS) * CELL_H
        pixel = lambda cx, cy: shot.getpixel((left + cx, top + cy))
        # The ground beside the sprite: its left and right strips.
        wrong = [(x, y) for y in range(GROUND[1], GROUND[1] + GROUND[3])
                 for x in list(range(GROUND[0], SPRITE[0])) +
                 list(range(SPRITE[0] + SPRITE[2], GROUND[0] + GROUND[2]))
                 if not close(pixel(x, y), ground(x, y))]
        f.check(not wrong, f"cell {cell}: {len(wrong)} ground pixels differ from the advert")
        text = sum(1 for y in range(top + NAME_LINE[0], top + NAME_LINE[1])
                   for x in range(left, left + CELL_W) if shot.getpixel((x, y)) == (255, 255, 255))
        f.check(text > 20, f"cell {cell}: the name line has {text} white pixels")

        corner = (SPRITE[0], SPRITE[1])
        if cell == NO_EFFECT:
            f.check(pixel(*corner) == (0, 0, 0), f"no effect: the key pixel is {pixel(*corner)}")
        if cell == KEY:
            f.check(close(pixel(*corner), ground(*corner)),
                    f"BLIT_KEY: the key pixel shows {pixel(*corner)}, not the ground")
        if cell == FILL:
            colours = {pixel(x, y) for x, y in sprite_points()}
            f.check(len(colours) == 1, f"BLIT_FILL: {len(colours)} colours in the rectangle")
        if cell in (ADD, SUBTRACT):
            sign = 1 if cell == ADD else -1
            changes = [sign * (p - g) for x, y in sprite_points()
                       for p, g in zip(pixel(x, y), ground(x, y))]
            f.check(min(changes) >= -TOLERANCE, f"cell {cell}: a channel moved the wrong way "
                                                f"by {-min(changes)}")
            f.check(max(changes) > 100, f"cell {cell}: nothing changed by more than "
                                        f"{max(changes)}")
    f.finish("16 effects laid out over the advert")


if __name__ == "__main__":
    main()
