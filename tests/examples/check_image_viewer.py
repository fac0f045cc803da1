#!/usr/bin/env python3
"""image_viewer shows a picture fitted to its 640 x 480 display over a checkerboard.

usage: check_image_viewer.py IMAGE_VIEWER WORK_FOLDER

The picture made here is 64 x 48: its left half opaque (red above, blue below), its right
half a transparent quarter and a half-transparent green quarter. Fitted above the 12-pixel
name line it becomes 624 x 468 at (8, 0). The checks: the opaque colours in place, the two
greys of the checkerboard alternating by 8 pixels where the picture is transparent, green half
blended over them where it is half transparent, and the page colour beside the picture.
"""
import os
import sys

from PIL import Image

from shots import Failures, close, run_example

DISPLAY = (640, 480)
LINE = 12
LIGHT, DARK, PAGE = (204, 204, 204), (153, 153, 153), (32, 32, 40)
RED, BLUE, GREEN = (230, 30, 30), (30, 60, 220), (0, 255, 0)


def make_picture(path):
    picture = Image.new("RGBA", (64, 48), (0, 0, 0, 0))
    picture.paste(RED + (255,), (0, 0, 32, 24))
    picture.paste(BLUE + (255,), (0, 24, 32, 48))
    picture.paste(GREEN + (128,), (32, 24, 64, 48))
    picture.save(path)


def main():
    program, work = sys.argv[1], sys.argv[2]
    os.makedirs(work, exist_ok=True)
    picture_path = os.path.join(work, "quarters.png")
    make_picture(picture_path)
    shot = run_example(program, work, "image_viewer", [picture_path], 3)
    f = Failures("image_viewer")
    f.check(shot.size == DISPLAY, f"the shot is {shot.size}, not {DISPLAY}")

    fit_h = DISPLAY[1] - LINE
    fit_w = 64 * fit_h // 48
    left = (DISPLAY[0] - fit_w) // 2
    f.check((fit_w, left) == (624, 8), f"fitted width {fit_w} at {left}")

    def at(px, py):
        """The shot's pixel at a point of the 64 x 48 picture (its fitted centre)."""
        return shot.getpixel((left + int((px + 0.5) * fit_w / 64), int((py + 0.5) * fit_h / 48)))

    for (px, py), colour in [((8, 8), RED), ((24, 16), RED), ((8, 40), BLUE), ((24, 30), BLUE)]:
        f.check(close(at(px, py), colour), f"picture pixel {px},{py} shows {at(px, py)}, "
                                           f"not {colour}")
    # The transparent quarter: the checkerboard, cells of 8 counted from the picture's corner.
    for y in range(0, fit_h // 2 - 8, 8):
        for x in range(fit_w // 2 + 8, fit_w - 8, 8):
            expected = LIGHT if (x // 8 + y // 8) % 2 == 0 else DARK
            got = shot.getpixel((left + x + 3, y + 3))
            f.check(close(got, expected), f"checkerboard at {x},{y} is {got}, not {expected}")
    # The half-transparent quarter: green at alpha 128 over each grey.
    for y in range(fit_h // 2 + 8, fit_h - 8, 8):
        for x in range(fit_w // 2 + 8, fit_w - 8, 8):
            grey = LIGHT if (x // 8 + y // 8) % 2 == 0 else DARK
            expected = tuple((g * 127 + c * 128) // 255 for g, c in zip(grey, GREEN))
            got = shot.getpixel((left + x + 3, y + 3))
            f.check(close(got, expected, 10), f"green over the checkerboard at {x},{y} is {got},"
                                              f" not {expected}")
    for point in [(2, 100), (DISPLAY[0] - 3, 300)]:
        f.check(close(shot.getpixel(point), PAGE), f"page at {point} is {shot.getpixel(point)}")
    # The name line holds text in the text colour.
    text = sum(1 for x in range(DISPLAY[0]) for y in range(fit_h, DISPLAY[1])
               if shot.getpixel((x, y))[0] > 200)
    f.check(text > 100, f"the name line has {text} text pixels")
    f.finish("the picture is fitted over the checkerboard")


if __name__ == "__main__":
    main()
