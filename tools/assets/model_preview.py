"""Writes docs/model_preview.png: a rough look at the four models as their scenes show them,
drawn in Python the way the framework's renderer draws a model (the same integer transform,
projection, culling, vertex normals, light colours and back-to-front order; triangles filled
at pixel centres, shaded ones with colours blended across them). One film strip per model,
a picture every 25 frames of its scene over the scene's gradient, the frame number under each.

    model_preview.py [out.png]
"""

import os
import sys

import numpy as np
from PIL import Image, ImageDraw

import fixed3d as fx
import make_models
from assetlib import REPO_ROOT, pixel_text
from contact_sheet import gradient
from model_scenes import SCENES

GRADIENTS = {112: ((0x50, 0x50, 0x50), (255, 255, 255))}
DARK_GRADIENT = ((0x50, 0x50, 0x50), (0, 0, 0))
STEP = 25
THUMB = 2  # the strips show every picture at half size


class Mesh:
    """The four arrays a loaded model holds: positions, faces, vertex colours and the
    normals the model computes from its faces."""

    def __init__(self, model):
        verts, faces, colours = [], [], []
        for obj in model.build():
            base = len(verts)
            verts += obj["vertices"]
            colour = [None] * len(obj["vertices"])
            for material, numbers in obj["groups"].items():
                for n in numbers:
                    for corner in obj["faces"][n]:
                        colour[corner] = model.materials[material]
            faces += [(a + base, b + base, c + base) for a, b, c in obj["faces"]]
            colours += colour
        self.vertices = np.array(verts, dtype=np.int64)
        self.faces = np.array(faces, dtype=np.int64)
        self.colours = np.array(colours, dtype=np.int64)
        self.normals = fx.vertex_normals(self.vertices, self.faces)


def render(mesh, frame, background):
    """One picture of the model in one frame of its scene."""
    m = fx.scene_view(*frame.position, *frame.angles)
    view = fx.transform(m, mesh.vertices)
    px, py, in_front = fx.project(view)
    faces = mesh.faces[in_front[mesh.faces].all(axis=1)]
    flags = frame.flags
    if (flags & 0xD00) != 0x100:
        faces = faces[fx.front_facing(px, py, faces)]
    shaded = bool(flags & 0x400)
    lights = frame.lights if flags & 0x600 else []
    colours = mesh.colours
    if lights:
        colours = fx.shade_colour(fx.turn_directions(m, mesh.normals), mesh.colours, lights)
    order = np.argsort(fx.depth_keys(view[:, 2], faces), kind="stable")
    screen = fx.to_screen(px, py)
    image = np.array(background, dtype=np.float64)
    wire = Image.new("RGB", (fx.SCREEN_W, fx.SCREEN_H))
    wire_draw = ImageDraw.Draw(wire)
    for f in faces[order]:
        corners = screen[f]
        if shaded:
            _fill(image, corners, colours[f].astype(np.float64))
        elif flags & 0x100:
            pts = [tuple(np.floor(c).astype(int)) for c in corners]
            colour = tuple(int(v) for v in colours[f[2]])
            wire_draw.line(pts + pts[:1], fill=colour)
        else:
            _fill(image, corners, np.repeat(colours[f[2]][None].astype(np.float64), 3, axis=0))
    if flags & 0x100 and not shaded:
        lines = np.asarray(wire, dtype=np.float64)
        drawn = lines.any(axis=2)
        image[drawn] = lines[drawn]
    return np.clip(image, 0, 255).astype(np.uint8)


def _fill(image, corners, colours):
    """A triangle filled at the pixel centres inside it, colours blended between corners."""
    h, w = image.shape[:2]
    x0, y0 = np.floor(corners.min(axis=0)).astype(int)
    x1, y1 = np.ceil(corners.max(axis=0)).astype(int)
    x0, y0, x1, y1 = max(x0, 0), max(y0, 0), min(x1, w), min(y1, h)
    if x0 >= x1 or y0 >= y1:
        return
    ys, xs = np.mgrid[y0:y1, x0:x1] + 0.5
    (ax, ay), (bx, by), (cx, cy) = corners
    area = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax)
    if area == 0:
        return
    wa = ((bx - xs) * (cy - ys) - (by - ys) * (cx - xs)) / area
    wb = ((cx - xs) * (ay - ys) - (cy - ys) * (ax - xs)) / area
    wc = 1 - wa - wb
    inside = (wa >= 0) & (wb >= 0) & (wc >= 0)
    colour = wa[..., None] * colours[0] + wb[..., None] * colours[1] + wc[..., None] * colours[2]
    image[y0:y1, x0:x1][inside] = colour[inside]


def film_strip(model_id, mesh):
    top, bottom = GRADIENTS.get(model_id, DARK_GRADIENT)
    background = gradient(top, bottom)
    frames = [f for f in SCENES[model_id]() if f.frame % STEP == 0]
    return [(f.frame, render(mesh, f, background)) for f in frames]


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(REPO_ROOT, "docs", "model_preview.png")
    tw, th = fx.SCREEN_W // THUMB, fx.SCREEN_H // THUMB
    per_row = 16
    strips = []
    for model_id, build in make_models.MODELS.items():
        strips.append((model_id, film_strip(model_id, Mesh(build()))))
    rows = sum((len(s) + per_row - 1) // per_row for _, s in strips)
    sheet = np.full((rows * (th + 12) + len(strips) * 14, per_row * (tw + 4) + 4, 3), 40,
                    dtype=np.uint8)
    y = 0
    for model_id, strip in strips:
        pixel_text(sheet, 4, y + 3, f"MODELS {model_id}", (255, 255, 255))
        y += 14
        for k, (frame, picture) in enumerate(strip):
            if k and k % per_row == 0:
                y += th + 12
            x = 4 + (k % per_row) * (tw + 4)
            small = Image.fromarray(picture).resize((tw, th), Image.BOX)
            sheet[y:y + th, x:x + tw] = np.asarray(small)
            pixel_text(sheet, x, y + th + 2, str(frame), (200, 200, 200))
        y += th + 12
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    Image.fromarray(sheet, "RGB").save(out, optimize=False)


if __name__ == "__main__":
    main()
