"""Checks the demo's four models ("MODELS" 112 to 115) as an independent reader sees them:
Debian's assimp reads each file without a warning and finds the objects, vertices, faces,
materials and texture coordinates the generator built; every object is a closed surface
facing outwards; and, walking every frame of each model's scene through the framework's
integer transform and projection, no vertex comes near the viewpoint and each model is where
its scene wants it. Run one class with: check_models.py <assets dir> <TestClass>; with
--figures instead of a class, prints the frame walk's figures."""

import os
import struct
import sys
import unittest

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "assets"))

import assimp_reader  # noqa: E402
import fixed3d as fx  # noqa: E402
import make_models  # noqa: E402
from model_scenes import SCENES  # noqa: E402

ASSETS = None
DEPTH_LIMIT = fx.VIEWPOINT_Z - 4096  # every vertex stays this far in front of the viewpoint
SLOGANS = [(210, 310), (340, 440), (470, 570), (600, 700)]  # frames each slogan is drawn
FLIGHT_END = 517  # the last frame of the first scene's flight to the left
_cache = {}


def scene_of(model_id):
    if model_id not in _cache:
        _cache[model_id] = assimp_reader.load(os.path.join(ASSETS, make_models.FILES[model_id]))
    return _cache[model_id]


def model_units(values):
    """File floats to model units as the loader converts them at scale -3: 12-bit fixed
    point truncated toward zero, snapped to a whole number within 1/4096, shifted by 9."""
    p = np.trunc(np.asarray(values) * 4096).astype(np.int64)
    low = p & 0xFFF
    p = np.where(low > 4094, p + 1, np.where(low == 1, p - 1, p))
    return p >> 9


def chunks(data, start, end):
    """(id, start, length) of the chunks between start and end."""
    out = []
    while start + 6 <= end:
        cid, length = struct.unpack_from("<HI", data, start)
        out.append((cid, start, length))
        start += max(length, 6)
    return out


class ModelFiles(unittest.TestCase):
    def test_assimp_reads_what_the_generator_built(self):
        for model_id, build in make_models.MODELS.items():
            with self.subTest(model=model_id):
                model, scene = build(), scene_of(model_id)
                built = model.build()
                self.assertEqual(scene.problems(), [])
                self.assertEqual([o.name for o in scene.objects], [b["name"] for b in built])
                for obj, b in zip(scene.objects, built):
                    self.assertEqual(obj.vertex_count(), len(b["vertices"]), obj.name)
                    self.assertEqual(obj.face_count(), len(b["faces"]), obj.name)
                    by_material = {}
                    for mesh in obj.meshes:
                        by_material[mesh.material.name] = (by_material.get(mesh.material.name, 0)
                                                           + len(mesh.faces))
                    self.assertEqual(by_material, {m: len(f) for m, f in b["groups"].items()})
                    has_uv = [mesh.texcoords is not None for mesh in obj.meshes]
                    self.assertEqual(set(has_uv), {b["uv"] is not None}, obj.name)
                used = {m for b in built for m in b["groups"]}
                self.assertEqual({m.name for m in scene.materials}, used)
                for m in scene.materials:
                    self.assertEqual(m.diffuse, model.materials[m.name], m.name)
                    self.assertEqual(m.ambient, model.materials[m.name], m.name)

    def test_budget_and_the_loaders_limits(self):
        textured = 0
        for model_id in make_models.MODELS:
            with self.subTest(model=model_id):
                scene = scene_of(model_id)
                faces = sum(o.face_count() for o in scene.objects)
                self.assertTrue(300 <= faces <= 3000, faces)
                self.assertTrue(3 <= len(scene.objects) <= 32, len(scene.objects))
                self.assertTrue(3 <= len(scene.materials) <= 16, len(scene.materials))
                for obj in scene.objects:
                    self.assertLessEqual(len(obj.meshes), 16, obj.name)
                textured += all(m.texcoords is not None for o in scene.objects for m in o.meshes)
        self.assertGreaterEqual(textured, 2, "texture coordinates on fewer than two models")

    def test_every_object_is_closed_and_faces_outwards(self):
        for model_id in make_models.MODELS:
            for obj in scene_of(model_id).objects:
                with self.subTest(model=model_id, object=obj.name):
                    tris = obj.triangles()
                    corners = [tuple(c) for c in model_units(tris.reshape(-1, 3))]
                    edges = {}
                    for k in range(0, len(corners), 3):
                        for a, b in ((0, 1), (1, 2), (2, 0)):
                            edge = (corners[k + a], corners[k + b])
                            edges[edge] = edges.get(edge, 0) + 1
                    once = all(n == 1 and edges.get((b, a)) == 1 for (a, b), n in edges.items())
                    self.assertTrue(once, "an edge is not run once each way: open or folded")
                    volume = np.einsum("ij,ij->i", tris[:, 0], np.cross(tris[:, 1], tris[:, 2]))
                    self.assertGreater(volume.sum(), 0, "faces turned inwards")

    def test_layout_the_loader_reads(self):
        """Main chunk, then the 10-byte version chunk; in every material the name chunk
        and then the ambient chunk holding a 24-bit colour first, with the colour of that
        material as assimp reads it."""
        for model_id, name in make_models.FILES.items():
            with self.subTest(model=model_id):
                with open(os.path.join(ASSETS, name), "rb") as f:
                    data = f.read()
                cid, length = struct.unpack_from("<HI", data, 0)
                self.assertEqual((cid, length), (0x4D4D, len(data)))
                self.assertEqual(struct.unpack_from("<HI", data, 6), (0x0002, 10))
                editor = [c for c in chunks(data, 16, len(data)) if c[0] == 0x3D3D]
                self.assertEqual(len(editor), 1)
                _, start, length = editor[0]
                colours = {m.name: m.diffuse for m in scene_of(model_id).materials}
                found = {}
                for cid, mstart, _ in chunks(data, start + 6, start + length):
                    if cid != 0xAFFF:
                        continue
                    self.assertEqual(struct.unpack_from("<H", data, mstart + 6)[0], 0xA000)
                    name_end = data.index(b"\0", mstart + 12)
                    material = data[mstart + 12:name_end].decode("ascii")
                    head = struct.unpack_from("<HIHI", data, name_end + 1)
                    self.assertEqual((head[0], head[2], head[3]), (0xA010, 0x0011, 9))
                    found[material] = tuple(data[name_end + 13:name_end + 16])
                self.assertEqual(found, colours)


class Walk:
    """Every frame of one model's scene: the nearest depth and the picture's bounding box
    (left, top, right, bottom, in pixels) of each group of objects."""

    def __init__(self, model_id, groups):
        objects = scene_of(model_id).objects
        self.frames, self.nearest, self.boxes = [], [], {g: [] for g in groups}
        points = {g: np.concatenate([model_units(m.positions) for o in objects
                                     if o.name.startswith(g) for m in o.meshes])
                  for g in groups}
        for frame in SCENES[model_id]():
            m = fx.scene_view(*frame.position, *frame.angles)
            self.frames.append(frame.frame)
            nearest = -1 << 40
            for g, pts in points.items():
                view = fx.transform(m, pts)
                nearest = max(nearest, int(view[:, 2].max()))
                px, py, in_front = fx.project(view)
                s = fx.to_screen(px, py)
                self.boxes[g].append((s[:, 0].min(), s[:, 1].min(), s[:, 0].max(), s[:, 1].max()))
            self.nearest.append(nearest)
        self.boxes = {g: np.array(b) for g, b in self.boxes.items()}

    def at(self, group, frame):
        return self.boxes[group][self.frames.index(frame)]


def inside(box, margin=0):
    return (box[0] >= margin and box[1] >= margin and box[2] <= fx.SCREEN_W - margin
            and box[3] <= fx.SCREEN_H - margin)


def outside(box):
    return box[2] < 0 or box[0] > fx.SCREEN_W or box[3] < 0 or box[1] > fx.SCREEN_H


def centre_x(boxes):
    return (boxes[:, 0] + boxes[:, 2]) / 2


RAIDERS = ["lead", "wing1", "wing2"]


def walks():
    return {112: Walk(112, RAIDERS), 113: Walk(113, [""]), 114: Walk(114, [""]),
            115: Walk(115, [""])}


class ModelScenes(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.walks = walks()

    def test_no_vertex_comes_near_the_viewpoint(self):
        for model_id, walk in self.walks.items():
            with self.subTest(model=model_id):
                self.assertLess(max(walk.nearest), DEPTH_LIMIT)

    def test_raiders_fly_in_from_the_right_and_the_leader_hovers_in_view(self):
        walk = self.walks[112]
        frames = np.array(walk.frames)
        flight = frames <= FLIGHT_END
        for craft in RAIDERS:
            boxes = walk.boxes[craft]
            self.assertGreater(boxes[0, 0], fx.SCREEN_W, f"{craft} starts in the picture")
            # While far off to the right a craft may still drift outwards as it turns in.
            seen = flight & ~np.array([outside(b) for b in boxes])
            self.assertTrue(np.all(np.diff(centre_x(boxes[seen])) <= 0), f"{craft} turns back")
        lead = walk.boxes["lead"]
        self.assertTrue(all(inside(b, 4) for b in lead[frames >= FLIGHT_END]))
        for wingman in RAIDERS[1:]:
            boxes = walk.boxes[wingman]
            self.assertTrue(any(inside(b) for b in boxes), f"{wingman} never wholly seen")
            self.assertTrue(all(outside(b) for b in boxes[frames >= FLIGHT_END]), wingman)
        for start, end in SLOGANS:
            seen = [any(inside(walk.boxes[c][i]) for c in RAIDERS)
                    for i, f in enumerate(frames) if start <= f <= end]
            self.assertGreater(np.mean(seen), 0.5, f"slogan at {start}: no craft to fly past")

    def test_towers_stay_in_the_picture(self):
        boxes = self.walks[113].boxes[""]
        self.assertTrue(all(inside(b, 8) for b in boxes))
        self.assertTrue(np.all(boxes[:, 3] > fx.SCREEN_H * 2 / 3), "the cannon tower's foot is high")
        self.assertTrue(all(inside(b, 8) for b in self.walks[114].boxes[""]))

    def test_boss_comes_from_afar_and_sinks(self):
        boxes = self.walks[115].boxes[""]
        width = boxes[:, 2] - boxes[:, 0]
        self.assertLess(width[0], 80, "not far away at first")
        self.assertTrue(inside(boxes[0], 40))
        self.assertGreater(width[-1], fx.SCREEN_W * 0.8, "never comes close")
        self.assertTrue(np.all(np.diff(boxes[:, 3]) >= 0), "its feet rise")
        self.assertGreater(boxes[-1, 3], fx.SCREEN_H, "does not sink out of the picture")
        self.assertTrue(0 < boxes[-1, 1] < fx.SCREEN_H / 2, "its head is not in view at the end")


def print_figures():
    for model_id, walk in walks().items():
        k = int(np.argmax(walk.nearest))
        print(f"MODELS {model_id}: nearest view z {walk.nearest[k]} at frame {walk.frames[k]}")
        step = 50 if model_id != 112 else 25
        for group, boxes in walk.boxes.items():
            for i, frame in enumerate(walk.frames):
                if frame % step == 0 or i in (0, len(walk.frames) - 1):
                    left, top, right, bottom = boxes[i]
                    print(f"  {group or 'model':6} frame {frame:4}: x {left:7.1f} .. {right:7.1f}"
                          f"  y {top:7.1f} .. {bottom:7.1f}")


if __name__ == "__main__":
    ASSETS = sys.argv.pop(1)
    if sys.argv[1:] == ["--figures"]:
        print_figures()
    else:
        unittest.main()
