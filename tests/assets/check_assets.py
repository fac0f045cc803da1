"""Checks the demo's resources with tools that are not ours: Pillow for the pictures, Python's
wave module and soxi for the sounds, openmpt123 for the music. Each check is one test case;
run a single one with: check_assets.py <assets dir> <TestClass>."""

import os
import struct
import subprocess
import sys
import unittest
import wave

import numpy as np
from PIL import Image

ASSETS = None


def path(name):
    return os.path.join(ASSETS, name)


def png_header(name):
    """(bit depth, colour type, interlace method) from the file's IHDR chunk."""
    with open(path(name), "rb") as f:
        head = f.read(33)
    assert head[:8] == b"\x89PNG\r\n\x1a\n" and head[12:16] == b"IHDR"
    return head[24], head[25], head[28]


def key_in_16_bit(rgb):
    """True where a colour becomes black in 565 or in 444 (the advert's transparent key)."""
    r, g, b = rgb[..., 0], rgb[..., 1], rgb[..., 2]
    black565 = ((r >> 3) == 0) & ((g >> 2) == 0) & ((b >> 3) == 0)
    black444 = ((r >> 4) == 0) & ((g >> 4) == 0) & ((b >> 4) == 0)
    return black565 | black444


class ResourceList(unittest.TestCase):
    def test_lists_every_resource_once_with_an_existing_file(self):
        rows = []
        with open(path("resources.list"), encoding="utf-8") as f:
            for line in f:
                fields = line.split("#")[0].split()
                if fields:
                    self.assertEqual(len(fields), 3, line)
                    rows.append((fields[0], int(fields[1]), fields[2]))
        keys = {(t, i) for t, i, _ in rows}
        self.assertEqual(len(keys), len(rows), "a type and id listed twice")
        self.assertEqual(keys, {("IMAGES", 105), ("IMAGES", 108), ("IMAGES", 109),
                                ("IMAGES", 116), ("PTMOD", 117), ("WAVE", 118), ("WAVE", 120),
                                ("WAVE", 123), ("ICON", 101), ("MODELS", 112), ("MODELS", 113),
                                ("MODELS", 114), ("MODELS", 115)})
        for _, _, name in rows:
            self.assertTrue(os.path.isfile(path(name)), name)


class Logo(unittest.TestCase):
    def test_png_rgba_interlaced_with_soft_alpha(self):
        im = Image.open(path("logo.png"))
        self.assertEqual((im.format, im.size, im.mode), ("PNG", (203, 140), "RGBA"))
        self.assertEqual(im.info.get("interlace"), 1)
        self.assertEqual(png_header("logo.png"), (8, 6, 1))
        alpha = np.asarray(im)[..., 3]
        partial = (alpha > 0) & (alpha < 255)
        self.assertTrue((alpha == 0).any() and (alpha == 255).any())
        # Soft edges and glow: many levels, over a good part of the picture.
        self.assertGreater(len(np.unique(alpha[partial])), 100)
        self.assertGreater(partial.mean(), 0.15)


class Font(unittest.TestCase):
    KEY = np.array([0xF8, 0xF8, 0xF8])

    @classmethod
    def setUpClass(cls):
        cls.im = Image.open(path("font.bmp"))
        cls.px = np.asarray(cls.im.convert("RGB")).astype(int)

    def glyph(self, code):
        return self.px[:, (code - 32) * 6:(code - 32) * 6 + 6]

    def ink(self, code):
        return ~np.all(self.glyph(code) == self.KEY, axis=2)

    def test_bmp_24_bit_strip(self):
        self.assertEqual((self.im.format, self.im.size, self.im.mode), ("BMP", (1350, 8), "RGB"))
        with open(path("font.bmp"), "rb") as f:
            header = f.read(54)
        offset, info_size, width, height, planes, bits, compression = struct.unpack(
            "<IIiiHHI", header[10:34])
        self.assertEqual(width, 1350)
        self.assertEqual((offset, info_size, planes, bits, compression), (54, 40, 1, 24, 0))
        self.assertEqual(height, 8, "stored bottom-up with a positive height")

    def test_background_and_unused_columns_are_the_key(self):
        self.assertTrue(np.all(self.px[:, 1344:] == self.KEY))
        self.assertFalse(self.ink(32).any(), "space has ink")

    def test_every_letter_and_digit_has_a_glyph(self):
        codes = (list(range(0x30, 0x3A)) + list(range(0x41, 0x5B)) + list(range(0x61, 0x7B))
                 + list(range(0xC0, 0x100)) + [0xA8, 0xB8])
        shapes = {}
        for code in codes:
            ink = self.ink(code)
            self.assertTrue(ink.any(), f"no glyph for 0x{code:02X}")
            shapes.setdefault(ink.tobytes(), []).append(code)
        # Letters that look alike in every font (Latin A and Cyrillic А...) may share a shape,
        # but a letter and the same letter with a mark must not.
        for marked, plain in ((0xA8, 0xC5), (0xB8, 0xE5), (0xC9, 0xC8), (0xE9, 0xE8)):
            self.assertFalse((self.ink(marked) == self.ink(plain)).all(), hex(marked))

    def test_ink_survives_16_bit_conversion_and_tints_white(self):
        ink = ~np.all(self.px == self.KEY, axis=2)
        colours = self.px[ink]
        for shift_r, shift_g, shift_b in ((3, 2, 3), (3, 3, 3), (4, 4, 4)):
            key = (0xF8 >> shift_r, 0xF8 >> shift_g, 0xF8 >> shift_b)
            packed = np.stack([colours[:, 0] >> shift_r, colours[:, 1] >> shift_g,
                               colours[:, 2] >> shift_b], axis=1)
            self.assertFalse(np.all(packed == key, axis=1).any(), "ink turns into the key")
        # Key + tint with white gives each pixel its brightest channel: every pixel is either
        # the letter, which must come out near white, or its dark shadow.
        brightest = colours.max(axis=1)
        letter = brightest >= 0xF0
        self.assertTrue(np.all(letter | (brightest <= 0x40)))
        self.assertGreater(letter.mean(), 0.5)

    def test_reads_over_dark_grey_with_key_and_opacity(self):
        ink = self.ink(ord("A"))
        luminance = self.glyph(ord("A"))[ink] @ np.array([0.3, 0.59, 0.11])
        self.assertGreater(luminance.max() - 0x50, 120)


class Slogans(unittest.TestCase):
    def test_gif_of_four_bright_strips_on_black(self):
        im = Image.open(path("slogans.gif"))
        self.assertEqual((im.format, im.size, im.mode), ("GIF", (150, 120), "P"))
        rgb = np.asarray(im.convert("RGB")).astype(int)
        self.assertTrue(np.all(rgb[:, 143:] == 0), "outside the strips must be black")
        for k in range(4):
            strip = rgb[k * 30:(k + 1) * 30, :143]
            black = np.all(strip == 0, axis=2)
            # Black subtracts nothing: most of a strip is black or the faint halo.
            self.assertGreater((strip.max(axis=2) < 64).mean(), 0.6, f"strip {k}")
            self.assertGreater(black.mean(), 0.2, f"strip {k}")
            self.assertGreater(strip.max(), 200, f"strip {k}: no bright text")
            # Nothing is cut at the sides.
            self.assertTrue(np.all(strip[:, 0] == 0) and np.all(strip[:, 142] == 0))


class Advert(unittest.TestCase):
    # (left, top, width, height) of every piece the demo cuts out; the picture clips the
    # upgrade sheet's last column.
    PIECES = [(0, 0, 179, 98), (0, 100, 219, 15), (0, 115, 199, 118), (220, 0, 75, 100),
              (220, 100, 81, 100), (0, 240, 73, 100), (75, 240, 94, 100), (170, 240, 100, 100),
              (0, 340, 91, 100), (90, 340, 150, 43), (90, 385, 150, 26)]

    @classmethod
    def setUpClass(cls):
        cls.im = Image.open(path("advert.png"))
        cls.rgb = np.asarray(cls.im.convert("RGB")).astype(int)

    def test_png_rgb_interlaced(self):
        self.assertEqual((self.im.format, self.im.size, self.im.mode), ("PNG", (300, 440), "RGB"))
        self.assertEqual(self.im.info.get("interlace"), 1)
        self.assertEqual(png_header("advert.png"), (8, 2, 1))

    def test_black_only_in_the_gaps(self):
        covered = np.zeros((440, 300), dtype=bool)
        for left, top, w, h in self.PIECES:
            piece = self.rgb[top:top + h, left:left + w]
            covered[top:top + h, left:left + w] = True
            self.assertFalse(key_in_16_bit(piece).any(), f"key colour inside {left, top}")
            self.assertGreater(piece.std(), 20, f"piece at {left, top} is nearly flat")
        self.assertTrue(np.all(self.rgb[~covered] == 0), "gaps must be pure black")


class Music(unittest.TestCase):
    def test_openmpt_reads_a_four_channel_module_of_one_to_two_minutes(self):
        run = subprocess.run(["openmpt123", "--info", path("music.mod")], capture_output=True,
                             text=True)
        self.assertEqual(run.returncode, 0, run.stderr)
        info = {}
        for line in run.stdout.splitlines():
            if "..:" in line:
                name, value = line.split(":", 1)
                info[name.strip(". ")] = value.strip()
        self.assertIn("M.K.", info["Type"])
        self.assertEqual(info["Channels"], "4")
        minutes, seconds = info["Duration"].split(":")
        length = int(minutes) * 60 + float(seconds)
        self.assertTrue(60 <= length <= 120, info["Duration"])
        self.assertNotIn("warning", (run.stdout + run.stderr).lower())

    def test_uses_the_common_effects_and_loops_by_a_jump(self):
        with open(path("music.mod"), "rb") as f:
            data = f.read()
        self.assertEqual(data[1080:1084], b"M.K.")
        song_length, order = data[950], data[952:952 + data[950]]
        effects, jumps = set(), []
        for p in range(max(order) + 1):
            base = 1084 + p * 1024
            for cell in range(256):
                b2, b3 = data[base + cell * 4 + 2], data[base + cell * 4 + 3]
                effect = b2 & 0x0F
                if effect or b3:
                    effects.add(effect)
                if effect == 0xB and p == order[song_length - 1]:
                    jumps.append(b3)
        for effect in (0x0, 0x3, 0x4, 0xA, 0xC, 0xD, 0xF):
            self.assertIn(effect, effects, f"effect {effect:X} unused")
        self.assertTrue(jumps and all(j < song_length for j in jumps), "no loop jump at the end")


class Sounds(unittest.TestCase):
    CASES = [("whoosh.wav", 22050, 1), ("chime.wav", 11025, 2), ("swell.wav", 11025, 2)]

    def test_formats_and_lengths(self):
        for name, rate, width in self.CASES:
            with self.subTest(name):
                with wave.open(path(name)) as w:
                    self.assertEqual((w.getnchannels(), w.getsampwidth(), w.getframerate()),
                                     (1, width, rate))
                    frames = w.getnframes()
                    data = w.readframes(frames)
                self.assertLess(frames / rate, 1.0)
                self.assertGreater(frames / rate, 0.3)
                if width == 1:
                    s = np.frombuffer(data, dtype=np.uint8).astype(int) - 128
                    full = 128
                else:
                    s = np.frombuffer(data, dtype="<i2").astype(int)
                    full = 32768
                self.assertGreater(np.abs(s).max(), full // 2, "too quiet")
                self.assertLess(np.abs(s).max(), full - 1, "clipped")
                self.assertLess(abs(s[0]) + abs(s[-1]), full // 50, "clicks at the ends")
                soxi = subprocess.run(["soxi", "-r", path(name)], capture_output=True, text=True)
                self.assertEqual(soxi.stdout.strip(), str(rate))
                bits = subprocess.run(["soxi", "-b", path(name)], capture_output=True, text=True)
                self.assertEqual(bits.stdout.strip(), str(8 * width))


class Icon(unittest.TestCase):
    def test_ico_has_16_32_48_and_png_matches(self):
        ico = Image.open(path("vorlund.ico"))
        self.assertEqual(ico.format, "ICO")
        self.assertEqual(set(ico.info["sizes"]), {(16, 16), (32, 32), (48, 48)})
        for size in (16, 32, 48):
            with self.subTest(size=size):
                ico.size = (size, size)
                im = ico.convert("RGBA")
                alpha = np.asarray(im)[..., 3]
                self.assertLess(alpha[0, 0], 16, "corners are transparent")
                self.assertEqual(alpha[size // 2, size // 2], 255)
        png = Image.open(path("vorlund_icon.png"))
        self.assertEqual((png.format, png.size, png.mode), ("PNG", (48, 48), "RGBA"))


if __name__ == "__main__":
    ASSETS = sys.argv.pop(1)
    unittest.main()
