"""Finds a program's back buffer in a screenshot of its whole window (frame, caption, status
line): the place where every pixel of the picture matches within one step of rounding per
channel. Prints that place and the rows below the picture (the status line).

usage: find_display.py screenshot.png picture.ppm
"""
import sys

import numpy as np
from PIL import Image


def main():
    shot = np.asarray(Image.open(sys.argv[1]).convert("RGB")).astype(int)
    picture = np.asarray(Image.open(sys.argv[2]).convert("RGB")).astype(int)
    height, width = picture.shape[:2]
    if len(np.unique(picture.reshape(-1, 3), axis=0)) < 8:
        sys.exit("the back buffer holds almost nothing: no picture to compare")
    best = None
    for y in range(0, min(80, shot.shape[0] - height + 1)):
        for x in range(0, min(20, shot.shape[1] - width + 1)):
            wrong = int((np.abs(shot[y:y + height, x:x + width] - picture).max(axis=2) > 1).sum())
            if best is None or wrong < best[0]:
                best = (wrong, x, y)
    if best is None:
        sys.exit(f"screenshot {shot.shape[1]}x{shot.shape[0]} is smaller than the picture")
    wrong, x, y = best
    below = shot.shape[0] - (y + height)
    print(f"{width}x{height} picture at ({x}, {y}) of the {shot.shape[1]}x{shot.shape[0]} "
          f"window: {wrong} pixels off by more than 1; {below} rows below it")
    if wrong:
        sys.exit("the window does not show the back buffer")


if __name__ == "__main__":
    main()
