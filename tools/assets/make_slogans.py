"""Writes the slogans "IMAGES" 109: GIF 150 x 120, four strips of 143 x 30 one under the other.

The demo draws each strip with opacity + subtract over a light grey-to-white gradient: black
subtracts nothing and a bright pixel darkens the background by its own value. So each strip
is bright text on pure black, and the colour the viewer sees is the background minus the
pixel, so each headline colour here is white minus the colour it should appear in. A faint halo around the letters shows
as a soft shadow.

The palette is built by hand so that black stays exactly 0: index 0 is black, then five ramps
of 51 levels (four headline colours and one neutral grey for the small line and the halos).
"""

import numpy as np
from PIL import Image, ImageDraw

from assetlib import gaussian, output_path, text_width, truetype

W, H = 150, 120
STRIP_W, STRIP_H = 143, 30
LEVELS = 51

# (headline, small line, colour the headline should appear in over white)
SLOGANS = [
    ("ВРАГ У ВОРОТ!", "защити свою планету", (175, 20, 20)),
    ("СТРОЙ БАШНИ", "три уровня улучшений", (20, 45, 150)),
    ("30 ВИДОВ ЧУЖИХ", "и босс на каждом уровне", (15, 110, 40)),
    ("VORLUND", "скоро на вашем КПК", (95, 25, 130)),
]
NEUTRAL = (215, 215, 215)  # appears as dark grey


def palette():
    ramps = [tuple(255 - c for c in appear) for _, _, appear in SLOGANS] + [NEUTRAL]
    entries = [(0, 0, 0)]
    for colour in ramps:
        for level in range(1, LEVELS + 1):
            entries.append(tuple(round(c * level / LEVELS) for c in colour))
    flat = [v for rgb in entries for v in rgb]
    return flat, len(ramps)


def fitted_font(name, size, text, max_width, tracking=0):
    """The largest size up to size at which text fits max_width."""
    while size > 6:
        font = truetype(name, size)
        if text_width(text, font, tracking) <= max_width:
            return font
        size -= 1
    return truetype(name, size)


def draw_line(text, font, top, tracking=0):
    img = Image.new("L", (STRIP_W, STRIP_H), 0)
    d = ImageDraw.Draw(img)
    width = text_width(text, font, tracking)
    x = (STRIP_W - width) / 2
    for ch in text:
        d.text((x, top), ch, fill=255, font=font)
        x += font.getlength(ch) + tracking
    return np.asarray(img, dtype=np.float64) / 255.0


def border_window():
    """1 inside the strip, falling to 0 over the outer 3 pixels."""
    ramp_y = np.clip(np.minimum(np.arange(STRIP_H), STRIP_H - 1 - np.arange(STRIP_H)) / 3.0, 0, 1)
    ramp_x = np.clip(np.minimum(np.arange(STRIP_W), STRIP_W - 1 - np.arange(STRIP_W)) / 3.0, 0, 1)
    return ramp_y[:, None] * ramp_x[None, :]


def main():
    flat, ramp_count = palette()
    neutral_ramp = ramp_count - 1
    indices = np.zeros((H, W), dtype=np.uint8)
    for k, (headline, small, _) in enumerate(SLOGANS):
        big_font = fitted_font("DejaVuSansCondensed-Bold.ttf", 17, headline, STRIP_W - 8, 1)
        small_font = fitted_font("DejaVuSansCondensed.ttf", 10, small, STRIP_W - 8)
        head = draw_line(headline, big_font, 1, tracking=1)
        sub = draw_line(small, small_font, 18)
        # The halo fades out towards the strip's border, so no edge of the strip shows.
        halo = np.clip(gaussian(np.maximum(head, sub), 1.6) * 0.9, 0, 0.28) * border_window()
        # Each pixel takes the ramp of its strongest layer.
        layers = np.stack([head, sub, halo])
        ramps = np.array([k, neutral_ramp, neutral_ramp])
        strongest = layers.argmax(axis=0)
        value = layers.max(axis=0)
        level = np.round(value * LEVELS).astype(int)
        strip = np.where(level > 0, 1 + ramps[strongest] * LEVELS + level - 1, 0)
        indices[k * STRIP_H:(k + 1) * STRIP_H, :STRIP_W] = strip.astype(np.uint8)
    image = Image.fromarray(indices, "P")
    image.putpalette(flat)
    image.save(output_path("slogans.gif"), optimize=False)


if __name__ == "__main__":
    main()
