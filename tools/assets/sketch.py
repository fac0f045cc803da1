"""A small painting surface for the generated pictures: drawn at a multiple of the final size
(supersampled) with Pillow, then box-filtered down, so shapes get smooth edges."""

import numpy as np
from PIL import Image, ImageDraw

from assetlib import downsample


class Sketch:
    def __init__(self, width, height, scale=3, background=(0, 0, 0)):
        self.w, self.h, self.s = width, height, scale
        self.image = Image.new("RGB", (width * scale, height * scale), background)

    def _xy(self, points):
        return [(x * self.s, y * self.s) for x, y in points]

    def _box(self, box):
        x0, y0, x1, y1 = box
        return [x0 * self.s, y0 * self.s, x1 * self.s, y1 * self.s]

    def overlay(self, draw_fn, opacity=1.0):
        """Draws through draw_fn(ImageDraw, sketch) onto a transparent layer and blends it in
        with the layer's own alpha times opacity."""
        layer = Image.new("RGBA", self.image.size, (0, 0, 0, 0))
        draw_fn(ImageDraw.Draw(layer), self)
        if opacity < 1.0:
            alpha = np.asarray(layer.getchannel("A"), dtype=np.float64) * opacity
            layer.putalpha(Image.fromarray(np.round(alpha).astype(np.uint8), "L"))
        base = self.image.convert("RGBA")
        base.alpha_composite(layer)
        self.image = base.convert("RGB")

    def polygon(self, points, fill, outline=None, width=1):
        ImageDraw.Draw(self.image).polygon(self._xy(points), fill=fill, outline=outline,
                                           width=int(width * self.s))

    def line(self, points, fill, width=1):
        ImageDraw.Draw(self.image).line(self._xy(points), fill=fill, width=int(round(width * self.s)),
                                        joint="curve")

    def ellipse(self, box, fill=None, outline=None, width=1):
        ImageDraw.Draw(self.image).ellipse(self._box(box), fill=fill, outline=outline,
                                           width=int(round(width * self.s)))

    def circle(self, cx, cy, r, fill=None, outline=None, width=1):
        self.ellipse((cx - r, cy - r, cx + r, cy + r), fill, outline, width)

    def rect(self, box, fill=None, outline=None, width=1):
        ImageDraw.Draw(self.image).rectangle(self._box(box), fill=fill, outline=outline,
                                             width=int(round(width * self.s)))

    def text(self, xy, text, font, fill):
        """font must be made at the supersampled size (truetype(name, size * scale))."""
        ImageDraw.Draw(self.image).text((xy[0] * self.s, xy[1] * self.s), text, font=font,
                                        fill=fill)

    def paste_array(self, array, xy=(0, 0)):
        """Pastes a float H x W x 3 array given at final size (scaled up to the sketch)."""
        img = Image.fromarray(np.clip(array, 0, 255).astype(np.uint8), "RGB")
        img = img.resize((img.width * self.s, img.height * self.s), Image.NEAREST)
        self.image.paste(img, (xy[0] * self.s, xy[1] * self.s))

    def result(self):
        """The final-size picture as a float H x W x 3 array."""
        return downsample(np.asarray(self.image, dtype=np.float64), self.s)


def vertical_gradient(width, height, top, bottom):
    t = np.linspace(0.0, 1.0, height)[:, None, None]
    top, bottom = np.array(top, dtype=np.float64), np.array(bottom, dtype=np.float64)
    return np.broadcast_to(top * (1 - t) + bottom * t, (height, width, 3)).copy()


def glow(array, mask, colour, strength=1.0):
    """Adds light of colour where mask (H x W floats 0-1) is, to an H x W x 3 array."""
    return np.clip(array + mask[..., None] * np.array(colour, dtype=np.float64) * strength, 0, 255)


def styled_text(array, text, font_name, size, top, fill_top, fill_bottom, outline=None,
                glow_colour=None, centre_x=None, left=None, tracking=0, scale=4):
    """Draws large text into an H x W x 3 float array: a vertical two-colour fill, an optional
    dark outline and an optional soft glow around it. Centred on centre_x (default: the middle)
    unless left is given."""
    from assetlib import text_mask, text_width, truetype
    h, w = array.shape[:2]
    font = truetype(font_name, size * scale)
    width = text_width(text, font, tracking * scale) / scale
    if left is None:
        left = (centre_x if centre_x is not None else w / 2) - width / 2
    mask_big = text_mask(text, font, (w * scale, h * scale), (left * scale, top * scale),
                         tracking * scale)
    mask = downsample(mask_big, scale)
    ys = np.nonzero(mask.max(axis=1) > 0.05)[0]
    y0, y1 = (ys[0], ys[-1]) if len(ys) else (0, h - 1)
    t = np.clip((np.arange(h) - y0) / max(1, y1 - y0), 0, 1)[:, None, None]
    fill = np.array(fill_top, dtype=np.float64) * (1 - t) + np.array(fill_bottom, dtype=np.float64) * t
    from assetlib import gaussian
    if glow_colour is not None:
        halo = np.clip(gaussian(mask, 3.0) * 1.8, 0, 1)
        array[:] = np.clip(array + halo[..., None] * np.array(glow_colour, dtype=np.float64), 0, 255)
    if outline is not None:
        rim = np.clip(downsample(gaussian(mask_big, 1.0 * scale), scale) * 3.0, 0, 1)
        array[:] = array * (1 - rim[..., None]) + np.array(outline, dtype=np.float64) * rim[..., None]
    array[:] = array * (1 - mask[..., None]) + fill * mask[..., None]
    return array
