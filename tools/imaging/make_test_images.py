#!/usr/bin/python3
"""Writes the decoder test images and the pixels each should decode to.

Run with Debian's /usr/bin/python3 (it has Pillow):

    /usr/bin/python3 tools/imaging/make_test_images.py tests/imaging/data

PNG, GIF and BMP files are written by the small encoders below (so every colour type, bit
depth, interlace mode, code size and row order can be chosen), plus a few files written by
Pillow itself and one interlaced PNG written by optipng. The expected pixels are Pillow's own decode of each file, as R, G, B, A bytes,
except where Pillow cannot give them (16-bit samples, which it clips or widens, grey keys
below 8 bits, which it compares unscaled, and files made to test a rule Pillow does not share); those come from the samples the file was written
from, and wherever Pillow can decode the file too, the script checks that both agree.

JPEG files are written by Debian's cjpeg (libjpeg-turbo-progs) and by Pillow; their expected
pixels are what `djpeg -dct int -nosmooth` makes of them (the accurate integer inverse DCT,
chroma repeated rather than interpolated). TGA files are written by Pillow, by ImageMagick
and, for what neither writes (16-bit pixels with bit 15 set, a colour map starting past entry
0), by the small encoder below; Pillow gives their expected pixels. Pillow widens 5-bit
channels to 8 bits with low bits of its own, where the decoder puts each 5-bit channel at the
top of its byte: for 16-bit files the expectation is Pillow's value with the low three bits
cleared (and, for the encoder's files, the written samples, which must agree).

Each expectation file holds the width and height (32-bit little-endian) and then the pixels.
manifest.txt lists "image expectation source" per line; the output is the same byte for byte
on every run.
"""

import io
import os
import struct
import subprocess
import sys
import tempfile
import zlib

from PIL import Image


class Lcg:
    """A fixed pseudo-random sequence, the same on every Python version."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self, bound):
        self.state = (self.state * 1103515245 + 12345) & 0x7FFFFFFF
        return (self.state >> 8) % bound


def sample_picture(width, height, channels, maxvalue, seed):
    """Rows of pixels, each a tuple of channel samples: gradients with noise in them, so that
    every filter type meets non-trivial data and runs of equal pixels appear too."""
    rng = Lcg(seed)
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            pixel = []
            for c in range(channels):
                if (x // 3 + y // 2 + c) % 4 == 0:
                    v = rng.next(maxvalue + 1)
                else:
                    v = ((x * (c + 1) * 7 + y * 5 + c * 40) * (maxvalue + 1) // 64) % (maxvalue + 1)
                pixel.append(v)
            row.append(tuple(pixel))
        rows.append(row)
    return rows


# ---------------------------------------------------------------------------------------------
# PNG

CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}
ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2),
         (0, 1, 1, 2)]


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def pack_row(row, depth):
    if depth == 16:
        return b"".join(struct.pack(">H", s) for px in row for s in px)
    if depth == 8:
        return bytes(s for px in row for s in px)
    out = bytearray()
    acc, bits = 0, 0
    for px in row:
        for s in px:
            acc = (acc << depth) | s
            bits += depth
            if bits == 8:
                out.append(acc)
                acc, bits = 0, 0
    if bits:
        out.append(acc << (8 - bits))
    return bytes(out)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def filter_rows(rows, step, first_filter):
    """Filters packed rows, cycling through the five filter types row by row."""
    out = bytearray()
    above = bytes(len(rows[0])) if rows else b""
    for r, row in enumerate(rows):
        kind = (first_filter + r) % 5
        filtered = bytearray()
        for i, v in enumerate(row):
            a = row[i - step] if i >= step else 0
            b = above[i]
            c = above[i - step] if i >= step else 0
            pred = [0, a, b, (a + b) // 2, paeth(a, b, c)][kind]
            filtered.append((v - pred) & 0xFF)
        out.append(kind)
        out += filtered
        above = row
    return bytes(out)


def encode_png(rows, ctype, depth, interlace=False, palette=None, trns=None, idat_size=None,
               extra_before_idat=b"", between_idats=b""):
    height, width = len(rows), len(rows[0])
    step = max(1, CHANNELS[ctype] * depth // 8)
    if interlace:
        raw = b""
        for n, (x0, y0, dx, dy) in enumerate(ADAM7):
            passrows = [[rows[y][x] for x in range(x0, width, dx)] for y in range(y0, height, dy)]
            passrows = [r for r in passrows if r]
            if passrows:
                raw += filter_rows([pack_row(r, depth) for r in passrows], step, n)
    else:
        raw = filter_rows([pack_row(r, depth) for r in rows], step, 0)
    data = zlib.compress(raw, 9)
    out = b"\x89PNG\r\n\x1a\n"
    out += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, ctype, 0, 0,
                                      1 if interlace else 0))
    if palette is not None:
        out += chunk(b"PLTE", b"".join(bytes(p) for p in palette))
    if trns is not None:
        out += chunk(b"tRNS", trns)
    out += extra_before_idat
    size = idat_size or len(data)
    pieces = [data[i:i + size] for i in range(0, len(data), size)]
    out += between_idats.join(chunk(b"IDAT", p) for p in pieces)
    out += chunk(b"IEND", b"")
    return out


def scale_grey(v, depth):
    return {1: v * 255, 2: v * 85, 4: v * 17, 8: v, 16: v >> 8}[depth]


def expected_png(rows, ctype, depth, palette=None, palette_alpha=None, key=None):
    """The pixels the samples stand for: 8-bit values (16-bit samples give their high byte),
    palette entries with their tRNS alpha, and alpha 0 where the colour equals the key."""
    out = []
    for row in rows:
        for px in row:
            if ctype == 3:
                r, g, b = palette[px[0]] if px[0] < len(palette) else (0, 0, 0)
                a = palette_alpha[px[0]] if palette_alpha and px[0] < len(palette_alpha) else 255
            elif ctype in (0, 4):
                r = g = b = scale_grey(px[0], depth)
                a = scale_grey(px[1], depth) if ctype == 4 else 255
            else:
                r, g, b = (scale_grey(s, depth) for s in px[:3])
                a = scale_grey(px[3], depth) if ctype == 6 else 255
            if key is not None and (r, g, b) == key:
                a = 0
            out.append((r, g, b, a))
    return out


def pillow_pixels(data):
    im = Image.open(io.BytesIO(data))
    im.load()
    return im.width, im.height, list(im.convert("RGBA").getdata())


class Writer:
    def __init__(self, folder):
        self.folder = folder
        self.manifest = []

    def add(self, name, data, width, height, pixels, source):
        with open(os.path.join(self.folder, name), "wb") as f:
            f.write(data)
        expectation = os.path.splitext(name)[0] + ".rgba"
        with open(os.path.join(self.folder, expectation), "wb") as f:
            f.write(struct.pack("<II", width, height))
            f.write(b"".join(bytes(p) for p in pixels))
        self.manifest.append(f"{name} {expectation} {source}")

    def add_raw(self, name, data):
        """A file the tests take apart themselves, without an expectation."""
        with open(os.path.join(self.folder, name), "wb") as f:
            f.write(data)

    def add_pillow(self, name, data, samples=None):
        """Expectation from Pillow's decode; when the samples give one too, they must agree."""
        width, height, pixels = pillow_pixels(data)
        if samples is not None and samples != pixels:
            raise SystemExit(f"{name}: Pillow and the written samples disagree")
        self.add(name, data, width, height, pixels, "pillow")

    def add_samples(self, name, data, width, height, pixels, check_pillow=True):
        """Expectation from the samples; Pillow must agree wherever it gives 8-bit samples."""
        if check_pillow:
            try:
                pw, ph, pp = pillow_pixels(data)
            except Exception:  # Pillow refuses some deliberately unusual files
                pp = None
            if pp is not None and (pw, ph) == (width, height) and pp != pixels:
                raise SystemExit(f"{name}: Pillow and the written samples disagree")
        self.add(name, data, width, height, pixels, "samples")

    def finish(self):
        with open(os.path.join(self.folder, "manifest.txt"), "w") as f:
            f.write("\n".join(self.manifest) + "\n")


def make_palette(entries, seed):
    rng = Lcg(seed)
    return [(rng.next(256), rng.next(256), rng.next(256)) for _ in range(entries)]


def png_cases(w):
    legal = [(0, 1), (0, 2), (0, 4), (0, 8), (0, 16), (2, 8), (2, 16), (3, 1), (3, 2), (3, 4),
             (3, 8), (4, 8), (4, 16), (6, 8), (6, 16)]
    for ctype, depth in legal:
        for interlace in (False, True):
            for size in [(33, 17)] + ([(1, 1), (1, 9), (9, 1)] if depth in (1, 8) else []):
                for with_trns in (False, True):
                    if with_trns and ctype not in (0, 2, 3):
                        continue
                    png_case(w, ctype, depth, interlace, size, with_trns)
    png_special_cases(w)


def png_case(w, ctype, depth, interlace, size, with_trns):
    width, height = size
    seed = ctype * 1000 + depth * 10 + width + height
    maxvalue = (1 << depth) - 1
    palette = palette_alpha = key = trns = None
    if ctype == 3:
        palette = make_palette(1 << depth, seed)
        rows = sample_picture(width, height, 1, maxvalue, seed)
        if with_trns:
            palette_alpha = [0, 128, 200][:len(palette)]
            trns = bytes(palette_alpha)
    else:
        rows = sample_picture(width, height, CHANNELS[ctype], maxvalue, seed)
        if with_trns:
            # The key is the colour of a pixel that occurs, so some pixels turn transparent.
            px = rows[height // 2][width // 2]
            trns = b"".join(struct.pack(">H", s) for s in px)
            key = tuple(scale_grey(s, depth) for s in px)
            if ctype == 0:
                key = key * 3
    name = (f"png_t{ctype}_d{depth}_{width}x{height}{'_i' if interlace else ''}"
            f"{'_trns' if with_trns else ''}.png")
    data = encode_png(rows, ctype, depth, interlace, palette, trns)
    samples = expected_png(rows, ctype, depth, palette, palette_alpha, key)
    if depth == 16 or (ctype == 0 and depth < 8 and with_trns):
        # Pillow clips 16-bit grey and compares the key on 16-bit values, and it compares a
        # grey key below 8 bits unscaled with the scaled samples: the samples decide.
        w.add_samples(name, data, width, height, samples, check_pillow=False)
    else:
        w.add_pillow(name, data, samples)


def png_special_cases(w):
    rows = sample_picture(33, 17, 4, 255, 77)
    samples = expected_png(rows, 6, 8)
    # The same picture in many small IDAT chunks, interlaced and not.
    w.add_pillow("png_split_idat.png", encode_png(rows, 6, 8, idat_size=7), samples)
    w.add_pillow("png_split_idat_i.png", encode_png(rows, 6, 8, True, idat_size=11), samples)
    # An unknown ancillary chunk between IHDR and IDAT, and one between two IDAT chunks.
    extra = chunk(b"teXt", b"Comment\0made for the decoder tests")
    w.add_pillow("png_unknown_chunk.png", encode_png(rows, 6, 8, extra_before_idat=extra),
                 samples)
    w.add_samples("png_chunk_between_idats.png",
                  encode_png(rows, 6, 8, idat_size=200, between_idats=extra), 33, 17, samples,
                  check_pillow=False)
    # A palette tRNS longer than the palette can hold: entries past 256 are ignored.
    palette = make_palette(256, 5)
    prow = sample_picture(16, 16, 1, 255, 6)
    alphas = [(i * 7) & 0xFF for i in range(300)]
    w.add_samples("png_trns_300.png", encode_png(prow, 3, 8, palette=palette,
                                                 trns=bytes(alphas)), 16, 16,
                  expected_png(prow, 3, 8, palette, alphas[:256]), check_pillow=False)
    # 16-bit colours differing only in their low bytes from the key are transparent too.
    rgb16 = [[(0x1234, 0x5678, 0x9ABC), (0x12FF, 0x5600, 0x9A01), (0x1334, 0x5678, 0x9ABC)]]
    key = (0x12, 0x56, 0x9A)
    w.add_samples("png_t2_d16_key_high_bytes.png",
                  encode_png(rgb16, 2, 16, trns=struct.pack(">HHH", 0x1234, 0x5678, 0x9ABC)),
                  3, 1, expected_png(rgb16, 2, 16, key=key), check_pillow=False)
    # A picture Pillow writes itself (its own encoder and filter choice).
    im = Image.new("RGBA", (40, 30))
    im.putdata([tuple(p) for r in sample_picture(40, 30, 4, 255, 9) for p in r])
    buf = io.BytesIO()
    im.save(buf, "PNG", optimize=True)
    w.add_pillow("png_pillow_rgba.png", buf.getvalue())
    # The same picture interlaced by another encoder, Debian's optipng.
    with tempfile.TemporaryDirectory() as folder:
        plain, interlaced = os.path.join(folder, "in.png"), os.path.join(folder, "out.png")
        with open(plain, "wb") as f:
            f.write(buf.getvalue())
        subprocess.run(["optipng", "-quiet", "-o1", "-i1", "-out", interlaced, plain], check=True)
        with open(interlaced, "rb") as f:
            w.add_pillow("png_optipng_rgba_i.png", f.read())


# ---------------------------------------------------------------------------------------------
# GIF

def lzw_encode(indices, mincodesize, clear_when_full=True):
    clear, end = 1 << mincodesize, (1 << mincodesize) + 1
    codesize, nextcode = mincodesize + 1, clear + 2
    table = {}
    acc, nbits, out = 0, 0, bytearray()

    def emit(code):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += codesize
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    emit(clear)
    prefix = indices[0]
    for b in indices[1:]:
        if (prefix, b) in table:
            prefix = table[(prefix, b)]
            continue
        emit(prefix)
        if nextcode < 4096:
            table[(prefix, b)] = nextcode
            nextcode += 1
            if nextcode > (1 << codesize) and codesize < 12:
                codesize += 1
        elif clear_when_full:
            emit(clear)
            table, codesize, nextcode = {}, mincodesize + 1, clear + 2
        prefix = b
    emit(prefix)
    if nextcode < 4096:
        nextcode += 1
        if nextcode > (1 << codesize) and codesize < 12:
            codesize += 1
    emit(end)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def sub_blocks(data):
    out = bytearray()
    for i in range(0, len(data), 255):
        piece = data[i:i + 255]
        out.append(len(piece))
        out += piece
    return bytes(out) + b"\0"


def colour_table(palette, bits):
    entries = 1 << bits
    padded = list(palette) + [(0, 0, 0)] * (entries - len(palette))
    return b"".join(bytes(p) for p in padded[:entries])


def interlace_order(height):
    return ([y for y in range(0, height, 8)] + [y for y in range(4, height, 8)] +
            [y for y in range(2, height, 4)] + [y for y in range(1, height, 2)])


def encode_gif(screen, frames, global_palette=None, global_bits=0, comment=None,
               application=True):
    """frames: dicts with rect (left, top, width, height), rows of indices, mincodesize and
    optional local palette, local bits, interlace, transparent."""
    sw, sh = screen
    flags = 0
    if global_palette is not None:
        flags = 0x80 | 0x70 | (global_bits - 1)
    out = b"GIF89a" + struct.pack("<HHBBB", sw, sh, flags, 0, 0)
    if global_palette is not None:
        out += colour_table(global_palette, global_bits)
    if application:
        out += b"\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00"
    if comment is not None:
        out += b"\x21\xfe" + sub_blocks(comment)
    for f in frames:
        if "transparent" in f:
            out += b"\x21\xf9\x04" + struct.pack("<BHB", 0x01, 10, f["transparent"]) + b"\0"
        left, top, width, height = f["rect"]
        packed = 0x40 if f.get("interlace") else 0
        if "local" in f:
            packed |= 0x80 | (f["local_bits"] - 1)
        out += b"\x2c" + struct.pack("<HHHHB", left, top, width, height, packed)
        if "local" in f:
            out += colour_table(f["local"], f["local_bits"])
        order = interlace_order(height) if f.get("interlace") else range(height)
        indices = [i for y in order for i in f["rows"][y]]
        out += bytes([f["mincodesize"]])
        out += sub_blocks(lzw_encode(indices, f["mincodesize"], f.get("clear_when_full", True)))
    return out + b"\x3b"


def index_rows(width, height, colours, seed):
    return [[p[0] for p in row] for row in sample_picture(width, height, 1, colours - 1, seed)]


def resolve(rows, palette, transparent=None):
    out = []
    for row in rows:
        for i in row:
            r, g, b = palette[i] if i < len(palette) else (0, 0, 0)
            out.append((r, g, b, 0 if i == transparent else 255))
    return out


def gif_cases(w):
    for bits in range(1, 9):
        mincode = max(2, bits)
        palette = make_palette(1 << bits, 100 + bits)
        for interlace in (False, True):
            rows = index_rows(33, 17, 1 << bits, 200 + bits)
            frame = {"rect": (0, 0, 33, 17), "rows": rows, "mincodesize": mincode,
                     "interlace": interlace}
            data = encode_gif((33, 17), [frame], palette, bits)
            w.add_pillow(f"gif_bits{bits}{'_i' if interlace else ''}.gif", data,
                         resolve(rows, palette))
    palette = make_palette(16, 300)
    rows = index_rows(20, 12, 16, 301)
    # A transparent index.
    frame = {"rect": (0, 0, 20, 12), "rows": rows, "mincodesize": 4, "transparent": 5}
    w.add_pillow("gif_transparent.gif", encode_gif((20, 12), [frame], palette, 4),
                 resolve(rows, palette, 5))
    # A local colour table instead of the global one, and a second frame that must not show.
    local = make_palette(16, 302)
    second = {"rect": (0, 0, 20, 12), "rows": index_rows(20, 12, 16, 303), "mincodesize": 4}
    frame = {"rect": (0, 0, 20, 12), "rows": rows, "mincodesize": 4, "local": local,
             "local_bits": 4}
    w.add_pillow("gif_local_palette.gif",
                 encode_gif((20, 12), [frame, second], palette, 4, comment=b"two frames"),
                 resolve(rows, local))
    # Local palette and transparency without any global table.
    frame = {"rect": (0, 0, 20, 12), "rows": rows, "mincodesize": 4, "local": local,
             "local_bits": 4, "transparent": 3, "interlace": True}
    w.add_pillow("gif_local_transparent_i.gif", encode_gif((20, 12), [frame]),
                 resolve(rows, local, 3))
    # A large noisy picture: the string table fills up; once with a clear code at 4096
    # entries and once running on with 12-bit codes until the end.
    big = index_rows(160, 120, 256, 400)
    palette = make_palette(256, 401)
    for full, name in ((True, "gif_table_full_clear.gif"), (False, "gif_table_full_deferred.gif")):
        frame = {"rect": (0, 0, 160, 120), "rows": big, "mincodesize": 8,
                 "clear_when_full": full}
        w.add_pillow(name, encode_gif((160, 120), [frame], palette, 8), resolve(big, palette))
    # Files for the tests of row placement: an image inside a larger screen, an interlaced
    # image of 10 rows, and an image reaching past the screen's right and bottom edges.
    rows = index_rows(50, 20, 16, 310)
    w.add_raw("gif_offset.gif", encode_gif((100, 100), [{"rect": (10, 5, 50, 20), "rows": rows,
                                                        "mincodesize": 4}], palette, 4))
    rows = [[y] * 4 for y in range(10)]
    w.add_raw("gif_rows10_i.gif", encode_gif((4, 10), [{"rect": (0, 0, 4, 10), "rows": rows,
                                                       "mincodesize": 4, "interlace": True}],
                                             palette, 4))
    rows = index_rows(30, 30, 16, 311)
    w.add_raw("gif_past_screen.gif", encode_gif((100, 100), [{"rect": (90, 80, 30, 30),
                                                             "rows": rows, "mincodesize": 4}],
                                                palette, 4))
    # Pictures Pillow writes itself, interlaced (its default) and not.
    im = Image.new("P", (48, 40))
    im.putpalette([c for p in make_palette(256, 500) for c in p])
    im.putdata([p[0] for r in sample_picture(48, 40, 1, 255, 501) for p in r])
    for interlace in (True, False):
        buf = io.BytesIO()
        im.save(buf, "GIF", interlace=interlace)
        w.add_pillow(f"gif_pillow{'_i' if interlace else ''}.gif", buf.getvalue())


# ---------------------------------------------------------------------------------------------
# BMP

def encode_bmp(rows, bits, palette=None, topdown=False, coloursused=0):
    height, width = len(rows), len(rows[0])
    stride = (bits * width + 31) // 32 * 4
    entries = 0 if bits == 24 else (coloursused or (1 << bits))
    offset = 54 + 4 * entries
    stored = []
    for row in rows:
        if bits == 24:
            raw = b"".join(bytes((b, g, r)) for r, g, b in row)
        else:
            raw = pack_row([(i,) for i in row], bits)
        stored.append(raw + bytes(stride - len(raw)))
    if not topdown:
        stored.reverse()
    pixels = b"".join(stored)
    header = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    header += struct.pack("<IiiHHIIiiII", 40, width, -height if topdown else height, 1, bits, 0,
                          len(pixels), 2835, 2835, coloursused, 0)
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in (palette or [])[:entries])
    return header + table + pixels


def bmp_cases(w):
    for bits in (1, 4, 8, 24):
        for topdown in (False, True):
            for size in ((33, 17), (3, 5), (1, 1)):
                width, height = size
                seed = bits * 100 + width
                if bits == 24:
                    rows = [[tuple(p) for p in r] for r in sample_picture(width, height, 3, 255, seed)]
                    palette = None
                    samples = [(r, g, b, 255) for row in rows for r, g, b in row]
                else:
                    palette = make_palette(1 << bits, seed)
                    rows = index_rows(width, height, 1 << bits, seed + 1)
                    samples = resolve(rows, palette)
                name = f"bmp_{bits}_{width}x{height}{'_topdown' if topdown else ''}.bmp"
                w.add_pillow(name, encode_bmp(rows, bits, palette, topdown), samples)
    # A short colour table (colours used below the full size).
    palette = make_palette(20, 600)
    rows = index_rows(10, 6, 20, 601)
    w.add_pillow("bmp_8_colours_used.bmp", encode_bmp(rows, 8, palette, coloursused=20),
                 resolve(rows, palette))
    # Files Pillow writes itself.
    im = Image.new("RGB", (21, 13))
    im.putdata([tuple(p) for r in sample_picture(21, 13, 3, 255, 700) for p in r])
    for mode in ("RGB", "P", "1"):
        buf = io.BytesIO()
        converted = im if mode == "RGB" else im.convert(mode)
        converted.save(buf, "BMP")
        w.add_pillow(f"bmp_pillow_{mode.lower()}.bmp", buf.getvalue())


# ---------------------------------------------------------------------------------------------
# JPEG (cjpeg and Pillow write, djpeg decodes)

IMAGEMAGICK = "/usr/bin/convert-im6.q16"


def photo_picture(width, height, seed):
    """RGB rows that look like a photograph to an encoder: smooth shading, rings, a few hard
    edges and a little noise."""
    rng = Lcg(seed)
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            ring = ((x - width // 3) ** 2 + (y - height // 2) ** 2) % 97
            edge = 60 if (x * 3 + y * 2) % 53 < 9 else 0
            r = (x * 255 // max(1, width - 1) + ring + rng.next(9)) % 256
            g = (y * 255 // max(1, height - 1) + edge + rng.next(9)) % 256
            b = min(255, (x + y) * 2 + ring // 2 + edge)
            row.append((r, g, b))
        rows.append(row)
    return rows


def ppm(rows):
    height, width = len(rows), len(rows[0])
    return b"P6\n%d %d\n255\n" % (width, height) + bytes(c for row in rows for p in row for c in p)


def cjpeg(rows, options, scans=None):
    with tempfile.TemporaryDirectory() as folder:
        args = ["cjpeg"] + options
        if scans is not None:
            script = os.path.join(folder, "scans.txt")
            with open(script, "w") as f:
                f.write(scans)
            args += ["-scans", script]
        return subprocess.run(args, input=ppm(rows), stdout=subprocess.PIPE, check=True).stdout


def pnm_pixels(data):
    """Width, height and RGBA pixels of a binary PGM or PPM."""
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        start = at
        while not data[at:at + 1].isspace():
            at += 1
        fields.append(data[start:at])
    kind, width, height = fields[0], int(fields[1]), int(fields[2])
    body = data[at + 1:]
    if kind == b"P5":
        return width, height, [(v, v, v, 255) for v in body[:width * height]]
    return width, height, [tuple(body[3 * i:3 * i + 3]) + (255,) for i in range(width * height)]


def djpeg_pixels(data, truncated=False):
    """djpeg's decode; a truncated file makes it warn (exit status 2) and still decode."""
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "in.jpg")
        with open(path, "wb") as f:
            f.write(data)
        done = subprocess.run(["djpeg", "-dct", "int", "-nosmooth", "-pnm", path],
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        if done.returncode != 0 and not (truncated and done.returncode == 2):
            raise SystemExit("djpeg failed: " + done.stderr.decode())
        return pnm_pixels(done.stdout)


def add_djpeg(w, name, data, truncated=False):
    width, height, pixels = djpeg_pixels(data, truncated)
    w.add(name, data, width, height, pixels, "djpeg")
    return pixels


SAMPLINGS = ["1x1", "2x1", "1x2", "2x2"]


def jpeg_cases(w):
    for sampling in SAMPLINGS:
        tag = "s" + sampling.replace("x", "")
        for width, height in ((1, 1), (17, 9), (33, 31)):
            rows = photo_picture(width, height, width * 100 + height)
            base = f"jpeg_{tag}_{width}x{height}"
            plain = add_djpeg(w, base + ".jpg", cjpeg(rows, ["-sample", sampling]))
            progressive = add_djpeg(w, base + "_prog.jpg",
                                    cjpeg(rows, ["-sample", sampling, "-progressive"]))
            if plain != progressive:
                raise SystemExit(base + ": the progressive twin decodes differently")
        rows = photo_picture(33, 31, 7)
        # Restart markers after every MCU row and after every 5 MCUs (so that intervals end
        # inside rows), in both kinds of frame, and tables made for the picture.
        for option, suffix in (("1", "rst1"), ("5B", "rst5b")):
            add_djpeg(w, f"jpeg_{tag}_33x31_{suffix}.jpg",
                      cjpeg(rows, ["-sample", sampling, "-restart", option]))
            add_djpeg(w, f"jpeg_{tag}_33x31_{suffix}_prog.jpg",
                      cjpeg(rows, ["-sample", sampling, "-restart", option, "-progressive"]))
        add_djpeg(w, f"jpeg_{tag}_33x31_opt.jpg", cjpeg(rows, ["-sample", sampling, "-optimize"]))
        add_djpeg(w, f"jpeg_{tag}_33x31_q100.jpg",
                  cjpeg(rows, ["-sample", sampling, "-quality", "100"]))
    for width, height in ((1, 1), (17, 9), (33, 31)):
        rows = photo_picture(width, height, 31 + width)
        for progressive in (False, True):
            options = ["-grayscale"] + (["-progressive"] if progressive else [])
            add_djpeg(w, f"jpeg_grey_{width}x{height}{'_prog' if progressive else ''}.jpg",
                      cjpeg(rows, options))
    # A flat grey of 100: every pixel decodes to exactly 100.
    add_djpeg(w, "jpeg_grey_flat100.jpg", cjpeg([[(100, 100, 100)] * 16] * 16, ["-grayscale"]))
    # A sequential picture sent one component per scan, and a progressive one with its own
    # scan script (successive approximation on DC and on two AC bands).
    rows = photo_picture(40, 24, 11)
    add_djpeg(w, "jpeg_s22_40x24_multiscan.jpg",
              cjpeg(rows, ["-sample", "2x2"], scans="0;\n1;\n2;\n"))
    add_djpeg(w, "jpeg_s21_40x24_script_prog.jpg",
              cjpeg(rows, ["-sample", "2x1"], scans="0,1,2: 0-0, 0, 2;\n0: 1-5, 0, 1;\n2: 1-63, 0, 0;\n"
                    "1: 1-63, 0, 0;\n0: 6-63, 0, 1;\n0,1,2: 0-0, 2, 1;\n"
                    "0,1,2: 0-0, 1, 0;\n0: 1-63, 1, 0;\n"))
    # A larger picture for the tests of cut files, and a progressive twin cut before its last
    # scan and inside it. djpeg shows what the scans so far give, and so must the decoder. (Its
    # output is only comparable while coefficients 1 to 9 are complete: when they are not, it
    # guesses them from the neighbouring blocks. The script below sends them first.)
    rows = photo_picture(96, 80, 13)
    add_djpeg(w, "jpeg_s22_96x80.jpg", cjpeg(rows, ["-sample", "2x2"]))
    progressive = cjpeg(rows, ["-sample", "2x2"],
                        scans="0,1,2: 0-0, 0, 0;\n0: 1-9, 0, 0;\n1: 1-63, 0, 0;\n2: 1-63, 0, 0;\n"
                        "0: 10-63, 0, 1;\n0: 10-63, 1, 0;\n")
    last_scan = progressive.rfind(b"\xff\xda")
    add_djpeg(w, "jpeg_s22_96x80_prog_cut.jpg", progressive[:last_scan], truncated=True)
    middle = (last_scan + len(progressive)) // 2
    add_djpeg(w, "jpeg_s22_96x80_prog_cut_inside.jpg", progressive[:middle], truncated=True)
    # Files Pillow writes (its own libjpeg settings: 4:2:0, 4:4:4 progressive, 4:2:2 with
    # optimised tables, greyscale).
    im = Image.new("RGB", (45, 27))
    im.putdata([p for r in photo_picture(45, 27, 17) for p in r])
    for name, options in (("420", {"subsampling": 2, "quality": 85}),
                          ("444_prog", {"subsampling": 0, "progressive": True}),
                          ("422_opt", {"subsampling": 1, "optimize": True}),
                          ("grey", {})):
        buf = io.BytesIO()
        (im.convert("L") if name == "grey" else im).save(buf, "JPEG", **options)
        add_djpeg(w, f"jpeg_pillow_{name}.jpg", buf.getvalue())
    # Something else before the start-of-image marker: 511 bytes are allowed, 512 are not.
    small = cjpeg(photo_picture(17, 9, 19), ["-sample", "2x2"])
    garbage = bytes(0x47 + i % 7 for i in range(512))
    _, _, pixels = djpeg_pixels(small)
    w.add("jpeg_garbage511.jpg", garbage[:511] + small, 17, 9, pixels, "djpeg")
    w.add_raw("jpeg_garbage512.jpg", garbage + small)
    # Variants the decoder refuses: arithmetic coding, four components (CMYK), luma 3 x 1.
    rows = photo_picture(17, 9, 23)
    w.add_raw("jpeg_arithmetic.jpg", cjpeg(rows, ["-arithmetic"]))
    w.add_raw("jpeg_s31.jpg", cjpeg(rows, ["-sample", "3x1"]))
    buf = io.BytesIO()
    im.convert("CMYK").save(buf, "JPEG")
    w.add_raw("jpeg_cmyk.jpg", buf.getvalue())


# ---------------------------------------------------------------------------------------------
# TGA (Pillow, ImageMagick and the encoder below write, Pillow decodes)

def encode_tga(width, height, depth, imagetype, pixels, topdown, colourmap=b"", mapfirst=0,
               mapentries=0, mapbits=0):
    header = struct.pack("<BBBHHBHHHHBB", 0, 1 if colourmap else 0, imagetype, mapfirst,
                         mapentries, mapbits, 0, 0, width, height, depth, 0x20 if topdown else 0)
    rows = [pixels[y * width:(y + 1) * width] for y in range(height)]
    if not topdown:
        rows.reverse()
    return header + colourmap + b"".join(b"".join(r) for r in rows)


def tga_cases(w):
    rgb = [p for r in sample_picture(33, 17, 3, 255, 800) for p in r]
    alpha = [p for r in sample_picture(33, 17, 4, 255, 801) for p in r]
    for topdown in (False, True):
        orientation = 1 if topdown else -1
        suffix = "_topdown" if topdown else ""
        for mode in ("RGB", "RGBA", "L", "P"):
            im = Image.new("RGBA" if mode == "RGBA" else "RGB", (33, 17))
            im.putdata(alpha if mode == "RGBA" else rgb)
            if mode == "L":
                im = im.convert("L")
            elif mode == "P":
                im = im.convert("P", palette=Image.ADAPTIVE, colors=200)
            buf = io.BytesIO()
            im.save(buf, "TGA", orientation=orientation)
            w.add_pillow(f"tga_pillow_{mode.lower()}{suffix}.tga", buf.getvalue())
        # ImageMagick from a PNG of the same picture: 24 and 32 bits, greyscale, colour-mapped.
        with tempfile.TemporaryDirectory() as folder:
            source = os.path.join(folder, "in.png")
            im = Image.new("RGBA", (33, 17))
            im.putdata(alpha)
            im.save(source)
            for kind, options in (("16", ["-alpha", "off", "-type", "TrueColor"]),
                                  ("24", ["-alpha", "off", "-type", "TrueColor"]),
                                  ("32", ["-type", "TrueColorAlpha"]),
                                  ("grey", ["-alpha", "off", "-type", "Grayscale"]),
                                  ("mapped", ["-alpha", "off", "-type", "Palette"])):
                out = os.path.join(folder, "out.tga")
                orient = ["-orient", "TopLeft"] if topdown else []
                depth = ["-depth", "5" if kind == "16" else "8"]
                subprocess.run([IMAGEMAGICK, source] + options + orient + depth + [out],
                               check=True)
                with open(out, "rb") as f:
                    data = f.read()
                name = f"tga_magick_{kind}{suffix}.tga"
                if kind != "16":
                    w.add_pillow(name, data)
                    continue
                if data[16] != 16:
                    raise SystemExit(name + ": ImageMagick did not write 16-bit pixels")
                # Each 5-bit channel at the top of its byte: Pillow's value, low bits cleared.
                width, height, pixels = pillow_pixels(data)
                w.add(name, data, width, height,
                      [tuple(c & 0xF8 for c in p[:3]) + (255,) for p in pixels], "pillow_5bit")
        # 16 bits per pixel: 5 bits each of blue, green and red from bit 0; bit 15 set on
        # some pixels, which only marks an attribute.
        rng = Lcg(802 + topdown)
        values = [rng.next(0x10000) for _ in range(33 * 17)]
        data = encode_tga(33, 17, 16, 2, [struct.pack("<H", v) for v in values], topdown)
        samples = [((v >> 10 & 31) << 3, (v >> 5 & 31) << 3, (v & 31) << 3, 255) for v in values]
        _, _, pillow = pillow_pixels(data)
        if [tuple(c & 0xF8 for c in p[:3]) + (255,) for p in pillow] != samples:
            raise SystemExit("16-bit TGA: Pillow and the samples disagree")
        w.add_samples(f"tga_16{suffix}.tga", data, 33, 17, samples, check_pillow=False)
    # A colour map of 24-bit entries that starts at palette entry 16.
    palette = make_palette(40, 803)
    indices = [16 + i for r in index_rows(20, 10, 40, 804) for i in r]
    colourmap = b"".join(bytes((b, g, r)) for r, g, b in palette)
    w.add_pillow("tga_map_first16.tga",
                 encode_tga(20, 10, 8, 1, [bytes([i]) for i in indices], True, colourmap, 16, 40,
                            24))
    # Run-length encoded files, which are refused.
    im = Image.new("RGB", (33, 17))
    im.putdata(rgb)
    buf = io.BytesIO()
    im.save(buf, "TGA", compression="tga_rle")
    w.add_raw("tga_pillow_rle.tga", buf.getvalue())
    with tempfile.TemporaryDirectory() as folder:
        source, out = os.path.join(folder, "in.png"), os.path.join(folder, "out.tga")
        im.save(source)
        subprocess.run([IMAGEMAGICK, source, "-compress", "RLE", out], check=True)
        with open(out, "rb") as f:
            w.add_raw("tga_magick_rle.tga", f.read())


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "tests/imaging/data"
    os.makedirs(folder, exist_ok=True)
    w = Writer(folder)
    png_cases(w)
    gif_cases(w)
    bmp_cases(w)
    jpeg_cases(w)
    tga_cases(w)
    w.finish()


if __name__ == "__main__":
    main()
