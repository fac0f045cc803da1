#!/usr/bin/python3
"""Writes a PNG's pixels as raw bytes for the blit benchmark: width and height as two
little-endian 32-bit numbers, then R, G, B, A per pixel, top row first."""
import struct
import sys

from PIL import Image


def main():
    source, target = sys.argv[1], sys.argv[2]
    image = Image.open(source).convert("RGBA")
    with open(target, "wb") as f:
        f.write(struct.pack("<II", image.width, image.height))
        f.write(image.tobytes())


if __name__ == "__main__":
    main()
