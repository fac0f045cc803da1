#!/usr/bin/env python3
"""Compares a screenshot of the page's canvas, shown at SCALE times its size, with the headless
picture (PPM) of the same frame: every screen pixel must be a SCALE x SCALE square of exactly
the picture's colour. Pillow reads both files.

Usage: compare_screenshot.py SCREENSHOT.png PICTURE.ppm [SCALE]"""
import sys

from PIL import Image


def main():
    shot_path, picture_path = sys.argv[1], sys.argv[2]
    scale = int(sys.argv[3]) if len(sys.argv) > 3 else 2
    shot = Image.open(shot_path).convert("RGB")
    picture = Image.open(picture_path).convert("RGB")
    w, h = picture.size
    if shot.size != (w * scale, h * scale):
        print(f"screenshot is {shot.size[0]} x {shot.size[1]}, expected {w * scale} x {h * scale}")
        return 1
    expected = picture.resize(shot.size, Image.NEAREST)
    s, e = shot.load(), expected.load()
    wrong = [(x, y) for y in range(shot.size[1]) for x in range(shot.size[0]) if s[x, y] != e[x, y]]
    if wrong:
        x, y = wrong[0]
        print(f"{len(wrong)} of {shot.size[0] * shot.size[1]} screen pixels differ; first at "
              f"{x},{y}: {s[x, y]} instead of {e[x, y]}")
        return 1
    print(f"screenshot equals the headless picture: {w} x {h} shown at {scale}x, "
          f"{w * h} pixels")
    return 0


if __name__ == "__main__":
    sys.exit(main())
