#!/usr/bin/env python3
"""Runs first_program headless on a picture made here and checks the last frame it showed.

usage: check_first_program.py FIRST_PROGRAM WORK_FOLDER

After 1.5 seconds of (virtual) time the picture has stopped in the middle of the 320 x 240
display, over a gradient from dark blue at the top to orange at the bottom. The expected pixels
come from Pillow's own reading of the picture; the screen is 5-6-5, so a channel may be off by
the 3 bits it lost.
"""
import os
import subprocess
import sys

from PIL import Image

DISPLAY = (320, 240)
TOP, BOTTOM = (20, 30, 90), (200, 120, 40)
TOLERANCE = 8


def make_picture(path):
    """Four coloured quarters and a white diagonal: wrong place, size or turn all show."""
    picture = Image.new("RGB", (96, 64))
    quarters = [(230, 40, 40), (40, 200, 60), (50, 80, 230), (240, 220, 30)]
    for i, colour in enumerate(quarters):
        left, top = (i % 2) * 48, (i // 2) * 32
        picture.paste(colour, (left, top, left + 48, top + 32))
    for x in range(64):
        picture.putpixel((x, x), (255, 255, 255))
    picture.save(path)


def close(a, b, tolerance=TOLERANCE):
    return all(abs(p - q) <= tolerance for p, q in zip(a, b))


def main():
    program, work = sys.argv[1], sys.argv[2]
    os.makedirs(work, exist_ok=True)
    picture_path = os.path.join(work, "picture.png")
    shot_path = os.path.join(work, "first_program.ppm")
    make_picture(picture_path)
    subprocess.run([program, picture_path, "--frames", "75", "--shot", shot_path], check=True)

    shot = Image.open(shot_path).convert("RGB")
    picture = Image.open(picture_path).convert("RGB")
    failures = []
    if shot.size != DISPLAY:
        sys.exit(f"the shot is {shot.size}, not {DISPLAY}")
    left = (DISPLAY[0] - picture.width) // 2
    top = (DISPLAY[1] - picture.height) // 2
    wrong = [(x, y) for y in range(picture.height) for x in range(picture.width)
             if not close(shot.getpixel((left + x, top + y)), picture.getpixel((x, y)))]
    if wrong:
        x, y = wrong[0]
        failures.append(f"{len(wrong)} picture pixels differ; first at {x},{y}: "
                        f"{shot.getpixel((left + x, top + y))} for {picture.getpixel((x, y))}")
    if not close(shot.getpixel((0, 0)), TOP):
        failures.append(f"top left {shot.getpixel((0, 0))} is not the gradient's top {TOP}")
    # The last row is one step short of the bottom colour.
    bottom = shot.getpixel((0, DISPLAY[1] - 1))
    if not close(bottom, BOTTOM, TOLERANCE + 4):
        failures.append(f"bottom left {bottom} is not the gradient's bottom {BOTTOM}")
    for failure in failures:
        print("FAIL:", failure)
    if failures:
        sys.exit(1)
    print(f"first_program: the picture is in the middle over the gradient ({shot_path})")


if __name__ == "__main__":
    main()
