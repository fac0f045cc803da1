"""Holds a screenshot of a whole window (the frame and caption wine draws around the client area)
against the picture its client area must show, pixel for pixel: the client area is the picture's
size, centred across the window with the side frames' width below it and the caption above.

usage: compare_client_area.py window.png expected.png

Exit 0 when every pixel is equal; 1 with the count and the first pixel that differs.
"""
import sys

import numpy as np
from PIL import Image


def client_corner(window_size, picture_size):
    (window_width, window_height), (width, height) = window_size, picture_size
    frame = (window_width - width) // 2
    top = window_height - height - frame
    if window_width - width < 0 or (window_width - width) % 2 or top < frame:
        sys.exit(f"a {window_width}x{window_height} window has no {width}x{height} client area "
                 "inside an even frame")
    return frame, top


def main():
    window = Image.open(sys.argv[1]).convert("RGB")
    picture = np.asarray(Image.open(sys.argv[2]).convert("RGB"))
    height, width = picture.shape[:2]
    x, y = client_corner(window.size, (width, height))
    client = np.asarray(window)[y:y + height, x:x + width]
    wrong = np.argwhere((client != picture).any(axis=2))
    if len(wrong) == 0:
        print(f"the {width}x{height} client area at ({x}, {y}) equals the expected picture")
        return 0
    row, column = wrong[0]
    print(f"{len(wrong)} of {width * height} client pixels differ; first at ({column}, {row}): "
          f"{tuple(client[row, column])} instead of {tuple(picture[row, column])}")
    return 1


if __name__ == "__main__":
    sys.exit(main())
