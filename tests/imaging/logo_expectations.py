#!/usr/bin/python3
"""Prints the expected pixels of assets/logo.png, decoded by Pillow, as the rows of the table in
logo_load_test.cpp: corners, the centre, the first, middle and last pixel of partial alpha and
of full alpha, and the first opaque pixel of each of the seven Adam7 passes.

Run: /usr/bin/python3 tests/imaging/logo_expectations.py
"""
import os

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
LOGO = os.path.join(HERE, "..", "..", "assets", "logo.png")

# Adam7: (first column, first row, column step, row step) of each pass.
ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2),
         (0, 1, 1, 2)]


def main():
    image = Image.open(LOGO).convert("RGBA")
    w, h = image.size
    px = image.load()
    order = [(x, y) for y in range(h) for x in range(w)]
    partial = [p for p in order if 0 < px[p][3] < 255]
    opaque = [p for p in order if px[p][3] == 255]
    points = [(0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1), (w // 2, h // 2)]
    for group in (partial, opaque):
        points += [group[0], group[len(group) // 2], group[-1]]
    for x0, y0, dx, dy in ADAM7:
        points.append(next(p for p in opaque if (p[0] - x0) % dx == 0 and p[0] >= x0 and
                           (p[1] - y0) % dy == 0 and p[1] >= y0))
    print(f"// {w} x {h}")
    for x, y in dict.fromkeys(points):
        r, g, b, a = px[x, y]
        print(f"{{{x}, {y}, 0x{a:02X}{b:02X}{g:02X}{r:02X}}},")


if __name__ == "__main__":
    main()
