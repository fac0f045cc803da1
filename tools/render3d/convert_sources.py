"""Models in formats of modern tools for the V3D converter's round trip (tools/v3d): an OBJ
with its MTL and a glTF with its buffer embedded. The round-trip test converts each into V3D
and compares what our loader reads with what assimp reads from the original."""

import base64
import json
import math
import struct

from testmesh import Patch


def cube(centre, size):
    """Six quads of four corners each (24 vertices), counter-clockwise seen from outside, with
    their flat normals and texture coordinates."""
    cx, cy, cz = centre
    h = size / 2
    quads = []
    for axis in range(3):
        for sign in (1, -1):
            normal = [0, 0, 0]
            normal[axis] = sign
            u_axis, v_axis = [(1, 2), (2, 0), (0, 1)][axis]
            corners = []
            for a, b in [(-1, -1), (1, -1), (1, 1), (-1, 1)]:
                p = [0.0, 0.0, 0.0]
                p[axis] = sign * h
                p[u_axis] = a * h * sign
                p[v_axis] = b * h
                corners.append((round(cx + p[0], 3), round(cy + p[1], 3), round(cz + p[2], 3)))
            quads.append((corners, tuple(normal)))
    return quads


def convert_scene_obj():
    """A bumpy ground with texture coordinates and normals in one material, a crate of quads
    in a translucent material, and a line (which the converter drops)."""
    ground = Patch(6, 4, (0.0, 0.0, 0.0))
    lines = ["mtllib convert_scene.mtl", "o ground"]
    lines += [f"v {x} {y} {z}" for x, y, z in ground.positions]
    lines += [f"vt {u} {t}" for u, t in ground.texcoords]
    lines += [f"vn {x} {y} {z}" for x, y, z in ground.normals]
    lines.append("usemtl clay")
    lines += ["f " + " ".join(f"{k + 1}/{k + 1}/{k + 1}" for k in face) for face in ground.faces]
    lines.append("l 1 2")
    base = len(ground.positions)
    lines += ["o crate", "usemtl glass"]
    quads = cube((1.5, 1.0, 0.75), 1.0)
    for corners, _ in quads:
        lines += [f"v {x} {y} {z}" for x, y, z in corners]
    for corners, normal in quads:
        lines.append("vn {} {} {}".format(*normal))
    for q in range(len(quads)):
        corners = [base + 4 * q + k + 1 for k in range(4)]
        lines.append("f " + " ".join(f"{c}//{len(ground.normals) + q + 1}" for c in corners))
    obj = "\n".join(lines) + "\n"
    mtl = ("newmtl clay\nKd 0.8 0.501961 0.301961\nd 1\n"
           "newmtl glass\nKd 0.2 0.6 0.898039\nd 0.501961\n")
    return {"convert_scene.obj": obj.encode("ascii"), "convert_scene.mtl": mtl.encode("ascii")}


class GltfBuffer:
    """The one buffer of a glTF file and its views and accessors."""

    def __init__(self):
        self.data = b""
        self.views, self.accessors = [], []

    def add(self, values, kind, component, fmt, count, bounds=False):
        while len(self.data) % 4:
            self.data += b"\0"
        packed = b"".join(struct.pack("<" + fmt, *v) for v in values)
        self.views.append({"buffer": 0, "byteOffset": len(self.data), "byteLength": len(packed)})
        self.data += packed
        accessor = {"bufferView": len(self.views) - 1, "componentType": component,
                    "count": count, "type": kind}
        if bounds:
            accessor["min"] = [min(v[i] for v in values) for i in range(3)]
            accessor["max"] = [max(v[i] for v in values) for i in range(3)]
        self.accessors.append(accessor)
        return len(self.accessors) - 1


FLOAT, UNSIGNED_SHORT = 5126, 5123


def convert_hull_gltf():
    """Two nodes, the second a child of the first, with translation, rotation and scale: a
    bumpy patch with vertex colours and texture coordinates, and a cube without texture
    coordinates in a translucent material."""
    buffer = GltfBuffer()
    patch = Patch(5, 3, (-1.0, -0.75, 0.0))
    colours = [((17 * i) % 256 / 255, (53 * i + 90) % 256 / 255, (91 * i + 30) % 256 / 255, 1.0)
               for i in range(len(patch.positions))]
    hull = {
        "attributes": {
            "POSITION": buffer.add(patch.positions, "VEC3", FLOAT, "3f", len(patch.positions),
                                   bounds=True),
            "NORMAL": buffer.add(patch.normals, "VEC3", FLOAT, "3f", len(patch.normals)),
            "TEXCOORD_0": buffer.add(patch.texcoords, "VEC2", FLOAT, "2f", len(patch.texcoords)),
            "COLOR_0": buffer.add(colours, "VEC4", FLOAT, "4f", len(colours)),
        },
        "indices": buffer.add([(k,) for f in patch.faces for k in f], "SCALAR", UNSIGNED_SHORT,
                              "H", 3 * len(patch.faces)),
        "material": 0,
    }
    corners, normals = [], []
    for quad, normal in cube((0.0, 0.0, 0.5), 0.5):
        corners += quad
        normals += [normal] * 4
    indices = [(4 * q + k,) for q in range(6) for k in (0, 1, 2, 0, 2, 3)]
    box = {
        "attributes": {
            "POSITION": buffer.add(corners, "VEC3", FLOAT, "3f", len(corners), bounds=True),
            "NORMAL": buffer.add(normals, "VEC3", FLOAT, "3f", len(normals)),
        },
        "indices": buffer.add(indices, "SCALAR", UNSIGNED_SHORT, "H", len(indices)),
        "material": 1,
    }
    turn = math.radians(30) / 2
    gltf = {
        "asset": {"version": "2.0", "generator": "tools/render3d/convert_sources.py"},
        "scene": 0,
        "scenes": [{"nodes": [0]}],
        "nodes": [
            {"name": "hull", "mesh": 0, "children": [1], "translation": [1.0, 0.5, -2.0],
             "rotation": [0.0, round(math.sin(turn), 6), 0.0, round(math.cos(turn), 6)],
             "scale": [1.5, 1.5, 1.5]},
            {"name": "cabin", "mesh": 1, "translation": [0.0, 1.0, 0.0]},
        ],
        "meshes": [{"primitives": [hull]}, {"primitives": [box]}],
        "materials": [
            {"pbrMetallicRoughness": {"baseColorFactor": [0.9, 0.9, 0.9, 1.0]}},
            {"pbrMetallicRoughness": {"baseColorFactor": [0.101961, 0.301961, 0.701961, 0.6]}},
        ],
        "buffers": [{"byteLength": len(buffer.data), "uri": "data:application/octet-stream;base64,"
                     + base64.b64encode(buffer.data).decode("ascii")}],
        "bufferViews": buffer.views,
        "accessors": buffer.accessors,
    }
    return {"convert_hull.gltf": (json.dumps(gltf, indent=1) + "\n").encode("ascii")}


# The main file of each source, the files it is made of, the --units its conversion takes and
# the scale the test loads the V3D file with.
SOURCES = [
    ("convert_scene.obj", convert_scene_obj, 64, 0),
    ("convert_hull.gltf", convert_hull_gltf, 100, -1),
]
