"""Writes the studio logo "IMAGES" 105: PNG 203 x 140, 8-bit RGBA, Adam7-interlaced.

The demo draws it at (16, 65) over a black-to-white vertical gradient, so it must read on dark
grey at the top and light grey at the bottom: gold letters and emblem with a dark rim, and a
soft amber glow around them that lives in the alpha channel (transparent elsewhere).
The emblem is the studio's name made visible: a half crown, a coin cut in half with a crown
struck on it.
"""

import numpy as np
from PIL import Image, ImageDraw

from assetlib import STUDIO_NAME, downsample, gaussian, output_path, save_png_adam7, \
    text_mask, text_width, truetype

W, H = 203, 140
S = 4  # supersampling factor


def emblem_mask():
    """The half-crown coin: a half disc with a rim, a crown struck on it, a base bar."""
    img = Image.new("L", (W * S, H * S), 0)
    d = ImageDraw.Draw(img)
    cx, base = 101.5 * S, 58 * S
    r = 40 * S
    # Rim and face of the half coin (the face is cut out and the crown drawn back in).
    d.pieslice([cx - r, base - r, cx + r, base + r], 180, 360, fill=255)
    ri = r - 4 * S
    d.pieslice([cx - ri, base - ri, cx + ri, base + ri], 180, 360, fill=0)
    # Milled edge: small teeth on the outside of the rim.
    for k in range(1, 24):
        a = np.pi + np.pi * k / 24
        x0, y0 = cx + (r + 0.5 * S) * np.cos(a), base + (r + 0.5 * S) * np.sin(a)
        d.ellipse([x0 - 1.3 * S, y0 - 1.3 * S, x0 + 1.3 * S, y0 + 1.3 * S], fill=255)
    # The crown: a band with three points, each tipped with a pearl.
    band_top, band_bottom = base - 12 * S, base - 5 * S
    left, right = cx - 22 * S, cx + 22 * S
    d.rectangle([left, band_top, right, band_bottom], fill=255)
    points = [(left, band_top), (left - 2 * S, base - 30 * S), (cx - 11 * S, band_top - 6 * S),
              (cx, base - 34 * S), (cx + 11 * S, band_top - 6 * S), (right + 2 * S, base - 30 * S),
              (right, band_top)]
    d.polygon(points, fill=255)
    for px, py in [(left - 2 * S, base - 30 * S), (cx, base - 34 * S), (right + 2 * S, base - 30 * S)]:
        d.ellipse([px - 3 * S, py - 3 * S, px + 3 * S, py + 3 * S], fill=255)
    # Jewels cut out of the band.
    for jx in (cx - 13 * S, cx, cx + 13 * S):
        d.ellipse([jx - 2 * S, band_top + 1.5 * S, jx + 2 * S, band_top + 5.5 * S], fill=0)
    # The cut: a bar across the flat side.
    d.rectangle([cx - r - 3 * S, base, cx + r + 3 * S, base + 4 * S], fill=255)
    return np.asarray(img, dtype=np.float64) / 255.0


def name_mask():
    font = truetype("DejaVuSerifCondensed-Bold.ttf", 25 * S)
    text = STUDIO_NAME.upper()
    width = text_width(text, font, spacing=1 * S)
    return text_mask(text, font, (W * S, H * S), ((W * S - width) / 2, 68 * S), spacing=1 * S)


def studio_mask():
    font = truetype("DejaVuSans-Bold.ttf", 10 * S)
    text = "S T U D I O"
    width = text_width(text, font)
    mask = text_mask(text, font, (W * S, H * S), ((W * S - width) / 2, 103 * S))
    # Two thin rules either side of the word.
    img = Image.new("L", (W * S, H * S), 0)
    d = ImageDraw.Draw(img)
    y = 109.5 * S
    d.rectangle([22 * S, y - 0.5 * S, (W * S - width) / 2 - 6 * S, y + 0.5 * S], fill=255)
    d.rectangle([(W * S + width) / 2 + 6 * S, y - 0.5 * S, W * S - 22 * S, y + 0.5 * S], fill=255)
    return np.maximum(mask, np.asarray(img, dtype=np.float64) / 255.0)


def metal(shape, top, bottom, shine_at, shine_colour):
    """A vertical metal gradient with a bright band, as an H x W x 3 float image."""
    h, w = shape
    t = np.linspace(0.0, 1.0, h)[:, None]
    top, bottom, shine_colour = (np.array(c, dtype=np.float64) for c in (top, bottom, shine_colour))
    colour = top * (1 - t[..., None]) + bottom * t[..., None]
    band = np.exp(-((t - shine_at) / 0.05) ** 2)[..., None]
    colour = colour * (1 - band) + shine_colour * band
    return np.broadcast_to(colour, (h, w, 3)).copy()


def main():
    shape = (H * S, W * S)
    gold_parts = np.maximum(emblem_mask(), name_mask())
    silver = studio_mask()
    ink = np.maximum(gold_parts, silver)

    # Colours: gold over the emblem and the name, cool silver under it.
    colour = metal(shape, (255, 236, 150), (190, 110, 30), 0.33, (255, 252, 225))
    silver_colour = metal(shape, (235, 240, 250), (150, 165, 190), 0.76, (255, 255, 255))
    colour = colour * (1 - silver[..., None]) + silver_colour * silver[..., None]
    # Lower half of each shape a touch darker: a simple bevel from the blurred mask's slope.
    relief = gaussian(ink, 1.5 * S)
    slope = np.zeros_like(relief)
    slope[1:] = relief[1:] - relief[:-1]
    colour *= np.clip(1.0 - slope[..., None] * 6.0, 0.7, 1.25)

    # Dark rim around everything so the gold holds on the light end of the gradient.
    rim = np.clip(gaussian(ink, 1.2 * S) * 3.0, 0, 1)
    # The glow: a wide amber haze and a tighter warm halo.
    glow_wide = gaussian(ink, 7 * S) * 1.6
    glow_near = gaussian(ink, 3 * S) * 1.4
    glow_a = np.clip(0.55 * glow_wide + 0.5 * glow_near, 0, 0.85)
    glow_colour = np.array([255, 160, 50], dtype=np.float64)
    rim_colour = np.array([46, 22, 6], dtype=np.float64)

    # Composite back to front, premultiplied: glow, rim, ink.
    alpha = glow_a
    premul = glow_colour * glow_a[..., None]
    for layer_a, layer_rgb in ((rim, rim_colour), (ink, colour)):
        premul = layer_rgb * layer_a[..., None] + premul * (1 - layer_a[..., None])
        alpha = layer_a + alpha * (1 - layer_a)

    premul = downsample(premul, S)
    alpha = downsample(alpha, S)
    rgb = np.where(alpha[..., None] > 1e-6, premul / np.maximum(alpha[..., None], 1e-6), 0)
    rgba = np.dstack([np.clip(rgb, 0, 255), np.clip(alpha * 255.0, 0, 255)])
    rgba = np.round(rgba).astype(np.uint8)
    rgba[rgba[..., 3] == 0, :3] = 0
    save_png_adam7(Image.fromarray(rgba, "RGBA"), output_path("logo.png"))


if __name__ == "__main__":
    main()
