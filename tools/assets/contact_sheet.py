"""Writes docs/contact_sheet.png: every picture of assets/ on one sheet for review, each shown
the way the demo uses it:
- the studio logo over the black-to-white gradient of the first scene;
- the slogans drawn with opacity + subtract over the light gradient of the slogan scene;
- the font as text: a caption with key + opacity, and the credits with key + tint (white),
  over the dark gradient of the later scenes;
- the advert sheet as stored (black is the key) and with its pieces framed;
- the font strip itself, the icon at each size, and the three sounds as waveforms.
With a path argument the sheet is written there instead.
"""

import os
import sys
import wave

import numpy as np
from PIL import Image, ImageDraw

from assetlib import ASSETS_DIR, PORTAL_SITE, REPO_ROOT, STUDIO_NAME, STUDIO_SITE, pixel_text

BACK_W, BACK_H = 240, 320
KEY = (0xF8, 0xF8, 0xF8)

CAPTION = "Новая игра\n*Vorlund*"
CAPTION_2 = "Ландшафт. для боевых действий\nВраг не пройдет.\nБолее 30 типов чужих\n + БОСС на каждом подуровне."
CREDITS = ("(G) " + STUDIO_NAME + " " + STUDIO_SITE + "\n"
           "Demo Scene for PDA " + PORTAL_SITE + " \n"
           " \n"
           "Coming soon,new game 'Vorlund'\n"
           "       Улучшенная графика,\n"
           "    генератор случайных карт. \n"
           " Много интересных демо и интро на \n"
           "             " + PORTAL_SITE + "\n")

SLOGAN_CENTRES = [(100, 280), (140, 160), (180, 280), (130, 290)]
ADVERT_PIECES = [(0, 0, 179, 98), (0, 100, 219, 15), (0, 115, 199, 118), (220, 0, 75, 100),
                 (220, 100, 81, 100), (0, 240, 73, 100), (75, 240, 94, 100),
                 (170, 240, 100, 100), (0, 340, 91, 100), (90, 340, 150, 43),
                 (90, 385, 150, 26)]


def gradient(top, bottom, w=BACK_W, h=BACK_H):
    t = np.arange(h)[:, None, None] / (h - 1)
    top, bottom = np.array(top, dtype=np.float64), np.array(bottom, dtype=np.float64)
    return np.broadcast_to(top * (1 - t) + bottom * t, (h, w, 3)).astype(np.int32).copy()


def hex_rgb(value):
    return ((value >> 16) & 255, (value >> 8) & 255, value & 255)


def draw_string(dest, x, y, font, text, flags, prop):
    """The demo's text drawing: 6-pixel glyphs for codes 32 to 255, LF starts a new line,
    each glyph blitted with the colour key and key + opacity (9) or key + tint (7)."""
    start_x = x
    for byte in text.encode("cp1251"):
        if byte == 10:
            x, y = start_x, y + 8
            continue
        if byte < 32:
            continue
        glyph = font[:, (byte - 32) * 6:(byte - 32) * 6 + 6].astype(np.int32)
        h, w = min(8, dest.shape[0] - y), min(6, dest.shape[1] - x)
        if h > 0 and w > 0 and x >= 0 and y >= 0:
            src = glyph[:h, :w]
            d = dest[y:y + h, x:x + w]
            keyed = np.all(src == KEY, axis=2)
            if flags == 9:
                a = prop & 255
                out = (d * (256 - a) + src * a) >> 8
            else:  # 7: tint, the property colour scaled by the brightest channel
                m = src.max(axis=2, keepdims=True)
                out = (np.array(hex_rgb(prop)) * m) >> 8
            d[~keyed] = out[~keyed]
        x += 6


def subtract_blit(dest, src, cx, cy, opacity):
    h, w = src.shape[:2]
    x, y = cx - w // 2, cy - h // 2
    region = dest[y:y + h, x:x + w]
    s = (src.astype(np.int32) * opacity) >> 8
    region[:] = np.maximum(region - s, 0)


def scene_logo(logo):
    back = gradient((0, 0, 0), (255, 255, 255))
    rgba = np.asarray(logo, dtype=np.int32)
    a = rgba[..., 3:4]
    region = back[65:65 + logo.height, 16:16 + logo.width]
    region[:] = (region * (255 - a) + rgba[..., :3] * a) // 255
    return back


def scene_slogans(slogans):
    back = gradient((0x50, 0x50, 0x50), (255, 255, 255))
    strips = np.asarray(slogans.convert("RGB"))
    # All four at once here; the demo shows them one after the other.
    for k, (cx, cy) in enumerate(SLOGAN_CENTRES):
        cy = 40 + k * 70 if k != 1 else 110
        subtract_blit(back, strips[k * 30:(k + 1) * 30, :143], 120, cy, 255)
    return back


def scene_text(font):
    back = gradient((0x50, 0x50, 0x50), (0, 0, 0))
    draw_string(back, 15, 15, font, CAPTION, 9, 255)
    draw_string(back, 1, 50, font, CAPTION_2, 9, 180)
    draw_string(back, 10, 230, font, CREDITS, 7, 0xFFFFFF)
    return back


def framed_advert(advert):
    img = advert.convert("RGB").copy()
    d = ImageDraw.Draw(img)
    for left, top, w, h in ADVERT_PIECES:
        d.rectangle([left, top, left + w - 1, top + h - 1], outline=(255, 0, 255))
    return np.asarray(img, dtype=np.int32)


def waveform(path, w=230, h=50):
    with wave.open(path) as f:
        frames = f.readframes(f.getnframes())
        width, rate = f.getsampwidth(), f.getframerate()
    if width == 1:
        s = (np.frombuffer(frames, dtype=np.uint8).astype(np.float64) - 128) / 128
    else:
        s = np.frombuffer(frames, dtype="<i2").astype(np.float64) / 32768
    img = np.full((h, w, 3), 24, dtype=np.int32)
    cols = np.array_split(s, w)
    for x, c in enumerate(cols):
        lo, hi = (c.min(), c.max()) if len(c) else (0, 0)
        y0, y1 = int((1 - hi) * (h - 1) / 2), int((1 - lo) * (h - 1) / 2)
        img[y0:y1 + 1, x] = (120, 220, 140)
    label = f"{os.path.basename(path)} {rate} Hz {8 * width}-bit {len(s) / rate:.2f} s"
    pixel_text(img, 2, 1, label, (255, 255, 255))
    return img


def paste(sheet, img, x, y):
    img = np.asarray(img)
    sheet[y:y + img.shape[0], x:x + img.shape[1]] = img[..., :3]


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(REPO_ROOT, "docs", "contact_sheet.png")
    a = lambda name: os.path.join(ASSETS_DIR, name)
    logo = Image.open(a("logo.png")).convert("RGBA")
    font = np.asarray(Image.open(a("font.bmp")).convert("RGB"))
    slogans = Image.open(a("slogans.gif"))
    advert = Image.open(a("advert.png"))
    icon_png = Image.open(a("vorlund_icon.png")).convert("RGBA")

    sheet = np.full((700, 1380, 3), 40, dtype=np.int32)
    paste(sheet, scene_logo(logo), 10, 20)
    paste(sheet, scene_slogans(slogans), 260, 20)
    paste(sheet, scene_text(font), 510, 20)
    paste(sheet, np.asarray(advert.convert("RGB")), 760, 20)
    paste(sheet, framed_advert(advert), 1070, 20)
    # The font strip, cut into three rows at double size.
    strip = np.repeat(np.repeat(font, 2, axis=0), 2, axis=1)
    for row in range(3):
        part = strip[:, row * 900:(row + 1) * 900]
        paste(sheet, part, 10, 482 + row * 22)
    paste(sheet, np.asarray(Image.open(a("slogans.gif")).convert("RGB")), 10, 570)
    x = 180
    for size in (16, 32, 48):
        ico = Image.open(a("vorlund.ico"))
        ico.size = (size, size)
        im = ico.convert("RGBA")
        back = np.full((size, size, 3), 40, dtype=np.int32)
        al = np.asarray(im, dtype=np.int32)
        back = (back * (255 - al[..., 3:4]) + al[..., :3] * al[..., 3:4]) // 255
        paste(sheet, back, x, 570)
        x += size + 10
    al = np.asarray(icon_png, dtype=np.int32)
    paste(sheet, (40 * (255 - al[..., 3:4]) + al[..., :3] * al[..., 3:4]) // 255, x, 570)
    for i, name in enumerate(("whoosh.wav", "chime.wav", "swell.wav")):
        paste(sheet, waveform(a(name)), 400 + i * 240, 570)
    labels = [(10, 6, "logo over the scene 1 gradient"), (260, 6, "slogans: opacity+subtract"),
              (510, 6, "font: flags 9 and flags 7"), (760, 6, "advert (black = key)"),
              (1070, 6, "advert pieces framed"), (10, 470, "font strip (x2)"),
              (10, 558, "slogans GIF"), (180, 558, "icon 16/32/48 + PNG"),
              (400, 558, "sounds")]
    for x, y, text in labels:
        pixel_text(sheet, x, y, text, (255, 255, 255))
    image = Image.fromarray(np.clip(sheet, 0, 255).astype(np.uint8), "RGB")
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    image.save(out, optimize=False)


if __name__ == "__main__":
    main()
