"""Shared helpers of the asset generators: output paths, a portable random source and the
writers whose bytes must not depend on the machine or the time of day."""

import os
import struct
import subprocess
import sys
import tempfile
import wave

import numpy as np

REPO_ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
ASSETS_DIR = os.path.join(REPO_ROOT, "assets")

# The invented studio and the handheld-demo portal named in the credits.
STUDIO_NAME = "Halvkrona"
STUDIO_SITE = "halvkrona.example"
PORTAL_SITE = "pdascene.example"


def output_path(name):
    """Where a generator writes its file: the folder given as the first argument (used by the
    determinism check), else the repository's assets/ folder."""
    folder = sys.argv[1] if len(sys.argv) > 1 else ASSETS_DIR
    os.makedirs(folder, exist_ok=True)
    return os.path.join(folder, name)


class Rng:
    """xorshift32: the same numbers on every machine and every Python or numpy version."""

    def __init__(self, seed):
        self.state = (seed & 0xFFFFFFFF) or 0x9E3779B9

    def next_u32(self):
        x = self.state
        x ^= (x << 13) & 0xFFFFFFFF
        x ^= x >> 17
        x ^= (x << 5) & 0xFFFFFFFF
        self.state = x
        return x

    def uniform(self, lo=0.0, hi=1.0):
        return lo + (hi - lo) * (self.next_u32() / 4294967296.0)

    def randint(self, lo, hi):
        """An integer from lo to hi inclusive."""
        return lo + self.next_u32() % (hi - lo + 1)


def hash_noise(shape, seed):
    """Per-pixel white noise in [0, 1) from an integer hash of the coordinates and the seed."""
    h, w = shape
    y, x = np.mgrid[0:h, 0:w].astype(np.uint64)
    v = (x * np.uint64(374761393) + y * np.uint64(668265263) + np.uint64(seed) * np.uint64(2246822519)) & np.uint64(0xFFFFFFFF)
    v = ((v ^ (v >> np.uint64(13))) * np.uint64(1274126177)) & np.uint64(0xFFFFFFFF)
    v = v ^ (v >> np.uint64(16))
    return (v & np.uint64(0xFFFFFF)).astype(np.float64) / float(1 << 24)


def value_noise(shape, cell, seed, octaves=4):
    """Smooth fractal noise in [0, 1): hashed lattice values, bilinearly blended, summed over
    octaves that halve the cell size."""
    h, w = shape
    total = np.zeros(shape)
    amplitude, norm = 1.0, 0.0
    for octave in range(octaves):
        c = max(1.0, cell / (2 ** octave))
        gy, gx = int(h / c) + 2, int(w / c) + 2
        lattice = hash_noise((gy, gx), seed * 31 + octave)
        y, x = np.mgrid[0:h, 0:w].astype(np.float64)
        fy, fx = y / c, x / c
        iy, ix = fy.astype(int), fx.astype(int)
        ty, tx = fy - iy, fx - ix
        ty, tx = ty * ty * (3 - 2 * ty), tx * tx * (3 - 2 * tx)
        a = lattice[iy, ix] * (1 - tx) + lattice[iy, ix + 1] * tx
        b = lattice[iy + 1, ix] * (1 - tx) + lattice[iy + 1, ix + 1] * tx
        total += amplitude * (a * (1 - ty) + b * ty)
        norm += amplitude
        amplitude *= 0.5
    return total / norm


def save_png_adam7(image, path):
    """Writes image as an Adam7-interlaced PNG. Pillow writes only non-interlaced files, so
    optipng re-encodes it; without metadata and with fixed settings the bytes are stable.
    -nx keeps the colour type and bit depth as given: the demo needs 8-bit RGBA for the logo
    and 8-bit RGB for the advert, not a palette or a tRNS key optipng might choose."""
    with tempfile.TemporaryDirectory() as tmp:
        plain = os.path.join(tmp, "plain.png")
        image.save(plain, optimize=False)
        if os.path.exists(path):
            os.remove(path)
        subprocess.run(["optipng", "-quiet", "-i1", "-o2", "-nx", "-strip", "all", "-out", path, plain],
                       check=True)


def save_wav(path, samples, rate, bits):
    """Writes mono PCM from floats in [-1, 1]: 8-bit unsigned or 16-bit signed."""
    s = np.clip(np.asarray(samples, dtype=np.float64), -1.0, 1.0)
    if bits == 8:
        data = np.round(s * 127.0 + 128.0).astype(np.uint8).tobytes()
    elif bits == 16:
        data = np.round(s * 32767.0).astype("<i2").tobytes()
    else:
        raise ValueError("bits must be 8 or 16")
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(bits // 8)
        w.setframerate(rate)
        w.writeframes(data)


def u16be(v):
    return struct.pack(">H", v)


FONT_DIR = "/usr/share/fonts/truetype/dejavu"


def truetype(name, size):
    """A DejaVu face from Debian's fonts-dejavu packages (free licence, with Cyrillic)."""
    from PIL import ImageFont
    return ImageFont.truetype(os.path.join(FONT_DIR, name), size)


def gaussian(mask, radius):
    """A float mask blurred with Pillow's Gaussian filter."""
    from PIL import Image, ImageFilter
    img = Image.fromarray(np.clip(mask * 255.0, 0, 255).astype(np.uint8), "L")
    return np.asarray(img.filter(ImageFilter.GaussianBlur(radius)), dtype=np.float64) / 255.0


def downsample(array, factor):
    """Box-filters an H x W (x C) float array by an integer factor (supersampling)."""
    h, w = array.shape[0] // factor, array.shape[1] // factor
    shaped = array[: h * factor, : w * factor].reshape(h, factor, w, factor, *array.shape[2:])
    return shaped.mean(axis=(1, 3))


def text_mask(text, font, size, origin=(0, 0), spacing=0):
    """A float mask (H, W) of text drawn at origin; spacing adds pixels between letters."""
    from PIL import Image, ImageDraw
    img = Image.new("L", size, 0)
    draw = ImageDraw.Draw(img)
    x, y = origin
    if spacing == 0:
        draw.text((x, y), text, fill=255, font=font)
    else:
        for ch in text:
            draw.text((x, y), ch, fill=255, font=font)
            x += font.getlength(ch) + spacing
    return np.asarray(img, dtype=np.float64) / 255.0


def text_width(text, font, spacing=0):
    if spacing == 0:
        return font.getlength(text)
    return sum(font.getlength(ch) for ch in text) + spacing * (len(text) - 1)


PIXEL_FONT_FILE = "/usr/share/fonts/X11/misc/5x8.pcf.gz"


def pixel_font_glyphs():
    """The 5 x 8 misc-fixed glyphs (Debian xfonts-base, public domain) by Windows-1251 code,
    each as 8 rows of 5 booleans on the font's baseline."""
    import gzip
    import io
    from PIL import PcfFontFile
    with gzip.open(PIXEL_FONT_FILE, "rb") as f:
        font = PcfFontFile.PcfFontFile(io.BytesIO(f.read()), "cp1251")
    glyphs = {}
    for code in range(32, 256):
        rows = [[False] * 5 for _ in range(8)]
        glyph = font.glyph[code]
        if glyph is not None:
            _, (x0, y0, _, _), _, image = glyph
            w, h = image.size
            for y in range(h):
                for x in range(w):
                    cy, cx = y0 + 7 + y, x0 + x
                    if image.getpixel((x, y)) and 0 <= cy < 8 and 0 <= cx < 5:
                        rows[cy][cx] = True
        glyphs[code] = rows
    return glyphs


_PIXEL_GLYPHS = None


def pixel_text(array, x, y, text, colour, shadow=None):
    """Draws text in the 5 x 8 pixel font (6 pixels a character) into an H x W x 3 array,
    crisp at 1:1, with an optional one-pixel drop shadow."""
    global _PIXEL_GLYPHS
    if _PIXEL_GLYPHS is None:
        _PIXEL_GLYPHS = pixel_font_glyphs()
    h, w = array.shape[:2]
    for layer, dx, col in ((shadow is not None, 1, shadow), (True, 0, colour)):
        if not layer:
            continue
        cx = x
        for ch in text.encode("cp1251"):
            rows = _PIXEL_GLYPHS.get(ch)
            if rows is not None:
                for gy in range(8):
                    for gx in range(5):
                        px, py = cx + gx + dx, y + gy + dx
                        if rows[gy][gx] and 0 <= px < w and 0 <= py < h:
                            array[py, px] = col
            cx += 6
    return array


def pixel_text_width(text):
    return 6 * len(text)
