"""Writes the program icon (icon 101): vorlund_icon.png (48 x 48 RGBA) and vorlund.ico with
16, 32 and 48 pixel images.

A stone tower holding a glowing crystal on a rounded night-blue tile: the game's towers in one
picture that still reads at 16 pixels. Each size is drawn on its own (supersampled), with
thicker shapes for the small ones, rather than shrunk from the large one.
The .ico holds classic 32-bit DIB images with an AND mask, which every Windows version reads.
"""

import struct

import numpy as np
from PIL import Image, ImageDraw

from assetlib import gaussian, output_path

SIZES = (16, 32, 48)
S = 8  # supersampling factor


def draw_icon(size):
    big = size * S
    u = big / 48.0  # drawing units: a 48-unit square
    img = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    # Tile: a rounded square with a vertical night gradient.
    grad = Image.new("RGBA", (big, big))
    gp = np.zeros((big, big, 4), dtype=np.uint8)
    t = np.linspace(0, 1, big)[:, None]
    gp[..., 0] = (30 + 40 * t).astype(np.uint8)
    gp[..., 1] = (40 + 10 * t).astype(np.uint8)
    gp[..., 2] = (110 - 40 * t).astype(np.uint8)
    gp[..., 3] = 255
    grad = Image.fromarray(gp, "RGBA")
    mask = Image.new("L", (big, big), 0)
    inset = 1 * u if size > 16 else 0
    ImageDraw.Draw(mask).rounded_rectangle([inset, inset, big - inset - 1, big - inset - 1],
                                           radius=9 * u, fill=255)
    img.paste(grad, (0, 0), mask)
    thick = 1.0 if size >= 32 else 1.6  # small sizes get bolder shapes
    # Glow behind the crystal.
    glow = np.zeros((big, big))
    yy, xx = np.mgrid[0:big, 0:big]
    glow = np.exp(-((xx - 24 * u) ** 2 + (yy - 13 * u) ** 2) / (2 * (9 * u) ** 2))
    glow *= np.asarray(mask, dtype=np.float64) / 255.0
    arr = np.asarray(img, dtype=np.float64)
    arr[..., :3] += glow[..., None] * np.array([60, 170, 200])
    img = Image.fromarray(np.clip(arr, 0, 255).astype(np.uint8), "RGBA")
    d = ImageDraw.Draw(img)
    # Ground.
    d.ellipse([8 * u, 38 * u, 40 * u, 46 * u], fill=(20, 30, 40, 255))
    # Tower body with battlements.
    half_bottom, half_top = 8 * thick * u, 6 * thick * u
    d.polygon([(24 * u - half_bottom, 42 * u), (24 * u - half_top, 22 * u),
               (24 * u + half_top, 22 * u), (24 * u + half_bottom, 42 * u)],
              fill=(170, 164, 150, 255), outline=(70, 66, 60, 255), width=int(max(1, u * thick)))
    for i in (-1, 0, 1):
        cx = 24 * u + i * 4.2 * thick * u
        d.rectangle([cx - 1.6 * thick * u, 18.5 * u, cx + 1.6 * thick * u, 22.5 * u],
                    fill=(170, 164, 150, 255))
    if size >= 32:
        for y in (28, 34):
            d.line([(24 * u - 7 * u, y * u), (24 * u + 7 * u, y * u)], fill=(110, 104, 96, 255),
                   width=int(u))
        d.rectangle([22 * u, 35 * u, 26 * u, 42 * u], fill=(60, 40, 30, 255))
    # The crystal.
    r = 6 * thick * u if size < 32 else 6 * u
    d.polygon([(24 * u, 13 * u - r * 1.3), (24 * u + r, 13 * u), (24 * u, 13 * u + r * 0.9),
               (24 * u - r, 13 * u)], fill=(120, 230, 255, 255), outline=(30, 90, 140, 255),
              width=int(max(1, u * 0.8)))
    d.polygon([(24 * u, 13 * u - r * 1.3), (24 * u + r, 13 * u), (24 * u, 13 * u)],
              fill=(220, 250, 255, 255))
    return img.resize((size, size), Image.BOX)


def ico_entry(image):
    """A 32-bit DIB icon image: BITMAPINFOHEADER, bottom-up BGRA rows, then the AND mask."""
    w, h = image.size
    rgba = np.asarray(image, dtype=np.uint8)
    bgra = rgba[::-1][..., [2, 1, 0, 3]].tobytes()
    mask_row_bytes = ((w + 31) // 32) * 4
    mask = bytearray()
    for row in rgba[::-1]:
        bits = bytearray(mask_row_bytes)
        for x in range(w):
            if row[x, 3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(bgra) + len(mask), 0, 0,
                         0, 0)
    return header + bgra + bytes(mask)


def write_ico(path, images):
    entries = [ico_entry(im) for im in images]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for im, data in zip(images, entries):
        w, h = im.size
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in entries:
        out += data
    with open(path, "wb") as f:
        f.write(out)


def main():
    images = [draw_icon(size) for size in SIZES]
    images[-1].save(output_path("vorlund_icon.png"), optimize=False)
    write_ico(output_path("vorlund.ico"), images)


if __name__ == "__main__":
    main()
