"""Compares a screenshot of a window that shows a picture at a whole-number scale with the
picture itself: every scale x scale block must be one colour, and that colour the picture's
pixel within one step of rounding per channel.

usage: compare_screenshot.py screenshot.png picture.ppm scale
"""
import sys

import numpy as np
from PIL import Image


def main():
    shot_path, picture_path, scale = sys.argv[1], sys.argv[2], int(sys.argv[3])
    shot = np.asarray(Image.open(shot_path).convert("RGB")).astype(int)
    picture = np.asarray(Image.open(picture_path).convert("RGB")).astype(int)
    height, width = picture.shape[:2]
    if shot.shape[:2] != (height * scale, width * scale):
        sys.exit(f"screenshot is {shot.shape[1]}x{shot.shape[0]}, "
                 f"expected {width * scale}x{height * scale}")
    if len(np.unique(picture.reshape(-1, 3), axis=0)) < 8:
        sys.exit("the back buffer holds almost nothing: no picture to compare")
    blocks = shot.reshape(height, scale, width, scale, 3)
    corner = blocks[:, :1, :, :1, :]
    if np.any(blocks != corner):
        sys.exit("scaled pixels are not solid blocks: the scaling is not nearest-neighbour")
    difference = np.abs(corner[:, 0, :, 0, :] - picture)
    worst = int(difference.max())
    wrong = int((difference.max(axis=2) > 1).sum())
    print(f"{width}x{height} picture at scale {scale}: largest channel difference {worst}, "
          f"{wrong} pixels off by more than 1")
    if wrong:
        y, x = np.argwhere(difference.max(axis=2) > 1)[0]
        sys.exit(f"first wrong pixel at ({x}, {y}): window {corner[y, 0, x, 0].tolist()}, "
                 f"back buffer {picture[y, x].tolist()}")


if __name__ == "__main__":
    main()
