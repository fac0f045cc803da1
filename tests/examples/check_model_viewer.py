#!/usr/bin/env python3
"""model_viewer draws the model it is given, in each render mode, with its face count.

usage: check_model_viewer.py MODEL_VIEWER WORK_FOLDER

The face count the viewer reports for the demo's laser tower is the one assimp reads from the
file. In the pictures, the pixels that differ from the background gradient (the text lines at
the top and bottom left out) are the model: a good part of the display, around its centre;
shaded, it has many shades; as a wireframe it covers much less than solid; textured with the
advert, it shows many of the advert's colours.
"""
import os
import re
import subprocess
import sys

from shots import RUNNER, Failures, run_example

MODEL = "assets/laser_tower.3ds"
TEXTURED_MODEL = "tests/render3d/data/own_chunks.v3d"
TEXTURE = "assets/advert.png"
TEXT_ROWS = 14  # the status line at the top, the two help lines at the bottom: 8 + 18


def assimp_faces(path):
    info = subprocess.run(["assimp", "info", path], capture_output=True, text=True, check=True)
    return int(re.search(r"^Faces:\s+(\d+)", info.stdout, re.M).group(1))


def model_pixels(shot):
    """Pixels that differ from the background of their row (its leftmost pixel)."""
    width, height = shot.size
    pixels = shot.load()
    found = []
    for y in range(TEXT_ROWS, height - 26):
        ground = pixels[1, y]
        for x in range(width):
            if max(abs(a - b) for a, b in zip(pixels[x, y], ground)) > 12:
                found.append((x, y, pixels[x, y]))
    return found


def main():
    program, work = sys.argv[1], sys.argv[2]
    f = Failures("model_viewer")
    os.makedirs(work, exist_ok=True)
    run = subprocess.run([*RUNNER, program, MODEL, "--frames", "1", "--shot", f"{work}/count.ppm"],
                         capture_output=True, text=True, check=True)
    shown = re.search(r"(\d+) faces", run.stdout)
    expected = assimp_faces(MODEL)
    f.check(shown is not None and int(shown.group(1)) == expected,
            f"the viewer says {run.stdout.strip()!r}; assimp reads {expected} faces")

    covered = {}
    for mode, name in [(1, "flat"), (3, "shaded"), (4, "wireframe")]:
        shot = run_example(program, work, f"model_viewer_{name}", [MODEL, "--mode", str(mode)], 5)
        found = model_pixels(shot)
        width, height = shot.size
        covered[name] = len(found) / (width * height)
        if not found:
            f.check(False, f"{name}: nothing drawn")
            continue
        cx = sum(p[0] for p in found) / len(found)
        cy = sum(p[1] for p in found) / len(found)
        f.check(abs(cx - width / 2) < width * 0.15 and abs(cy - height / 2) < height * 0.15,
                f"{name}: the model's middle is at {cx:.0f},{cy:.0f}, not near the centre")
        if name == "shaded":
            shades = len({p[2] for p in found})
            f.check(shades > 50, f"shaded: only {shades} colours")
    f.check(covered["flat"] > 0.05, f"flat: the model covers {covered['flat']:.1%}")
    f.check(0 < covered["wireframe"] < covered["flat"] * 0.8,
            f"wireframe covers {covered['wireframe']:.1%}, solid {covered['flat']:.1%}")

    shot = run_example(program, work, "model_viewer_textured",
                       [TEXTURED_MODEL, TEXTURE, "--mode", "5"], 5)
    found = model_pixels(shot)
    colours = len({p[2] for p in found})
    f.check(len(found) > shot.size[0] * shot.size[1] * 0.05 and colours > 300,
            f"textured: {len(found)} pixels of {colours} colours")
    f.finish(f"{expected} faces; flat, shaded, wireframe and textured drawn")


if __name__ == "__main__":
    main()
