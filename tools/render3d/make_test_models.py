#!/usr/bin/python3
"""Writes the 3D Studio test models and what an independent reader, assimp, reads from each.

Run with Debian's /usr/bin/python3 and assimp-utils installed:

    /usr/bin/python3 tools/render3d/make_test_models.py .

(the argument is the repository root). Two kinds of model go to tests/render3d/data:

- own_*.3ds, written by the minimal writer in writer3ds.py, so that the layout can be chosen:
  several objects, material groups in runs and out of order, texture coordinates on some
  objects only, materials in the old layout (name, then a 24-bit ambient colour) and in the
  layout other programs write (diffuse and specular first, float colours), files with and
  without a version chunk, groups naming a material the file lacks.
- assimp_*.3ds, written by assimp itself (`assimp export in.obj out.3ds`) from an OBJ and MTL
  this script writes.

For every model, `assimp dump` gives the expectation file (.expect): one line per face with
the three corner positions as assimp read them, the colour (the ambient colour of the face's
material, or "white" for faces assimp puts in its default material), the texture coordinates
and assimp's normals. manifest.txt lists "model expectation scale" per line. The 5 000-face
model of the load benchmark goes to bench/render3d. Every output is the same byte for byte on
every run.
"""

import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

import writer3ds as w

ASSIMP = "assimp"
DEFAULT_MATERIAL = "%%%DEFAULT"


class Lcg:
    """A fixed pseudo-random sequence, the same on every Python version."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self, bound):
        self.state = (self.state * 1103515245 + 12345) & 0x7FFFFFFF
        return (self.state >> 8) % bound

    def coordinate(self, span):
        """A value in [-span, span) in steps of 1/1000, so most are not binary fractions."""
        return (self.next(2000 * span) - 1000 * span) / 1000


def separate_triangles(rng, count, span, offset=(0.0, 0.0, 0.0)):
    """count triangles with three vertices each (no vertex shared between faces), each of an
    area of at least 1/2, so that no reader drops it and rounded positions keep its
    direction."""
    vertices, faces = [], []
    while len(faces) < count:
        corner = [tuple(rng.coordinate(span) + o for o in offset) for _ in range(3)]
        a, b, c = corner
        ab = [b[i] - a[i] for i in range(3)]
        ac = [c[i] - a[i] for i in range(3)]
        cross = (ab[1] * ac[2] - ab[2] * ac[1], ab[2] * ac[0] - ab[0] * ac[2],
                 ab[0] * ac[1] - ab[1] * ac[0])
        if sum(x * x for x in cross) < 1.0:
            continue
        faces.append((len(vertices), len(vertices) + 1, len(vertices) + 2))
        vertices.extend(corner)
    return vertices, faces


def texcoords_for(rng, count):
    return [(rng.next(1001) / 1000, rng.next(1001) / 1000) for _ in range(count)]


def own_objects():
    """Three objects: groups in runs and out of order, faces without a group, texture
    coordinates only on the second object, coordinates next to whole numbers."""
    rng = Lcg(3)
    materials = [w.material("red", ambient=(255, 0, 0)),
                 w.material("green", ambient=(0, 200, 0)),
                 w.material("pale blue", ambient=(120, 160, 255))]
    v1, f1 = separate_triangles(rng, 5, 2)
    # Coordinates within 1/4096 of a whole number, which the loader snaps to it.
    v1[0] = (0.99999, -0.99999, 1.99998)
    v1[1] = (3.00002, 0.0, -2.0)
    v2, f2 = separate_triangles(rng, 9, 3, offset=(5.0, 0.0, 0.0))
    v3, f3 = separate_triangles(rng, 4, 1, offset=(0.0, -4.0, 1.5))
    objects = [
        w.mesh_object("first", v1, f1, groups=[("red", [0, 1, 4]), ("green", [3])]),
        w.mesh_object("second", v2, f2, groups=[("pale blue", [8, 2, 3, 4, 0]),
                                                ("red", [1, 5, 6, 7])],
                      texcoords=texcoords_for(rng, len(v2))),
        w.mesh_object("third", v3, f3, groups=[("green", [0, 1, 2, 3])]),
    ]
    return w.file_3ds(materials, objects)


def own_blocks():
    """One object larger than every staging block: 300 faces, 900 vertices, and a group of 280
    face numbers in several runs."""
    rng = Lcg(11)
    vertices, faces = separate_triangles(rng, 300, 4)
    first = [n for n in range(300) if n % 37 not in (5, 6)]
    rest = [n for n in range(300) if n % 37 in (5, 6)]
    materials = [w.material("stone", ambient=(90, 90, 80)),
                 w.material("moss", ambient=(30, 140, 40))]
    objects = [w.mesh_object("rock", vertices, faces, groups=[("stone", first), ("moss", rest)],
                             texcoords=texcoords_for(rng, len(vertices)))]
    return w.file_3ds(materials, objects, keyframer=True)


def own_other_layouts():
    """Materials as other programs write them (diffuse and specular before the ambient colour,
    float colours), one without an ambient colour, a group naming a material the file lacks,
    and no version chunk."""
    rng = Lcg(29)
    materials = [
        w.material("copper", ambient=(184, 115, 51), diffuse=(200, 120, 60), float_colours=True,
                   diffuse_first=True),
        w.material("ink", ambient=(20, 20, 90), diffuse=(250, 250, 250), diffuse_first=True),
        w.material("unlit", diffuse=(255, 255, 0)),
    ]
    v1, f1 = separate_triangles(rng, 6, 2)
    v2, f2 = separate_triangles(rng, 3, 2, offset=(0.0, 0.0, 3.0))
    objects = [
        w.mesh_object("kettle", v1, f1, groups=[("copper", [0, 1]), ("ink", [2]),
                                                ("unlit", [3]), ("missing", [4, 5])]),
        w.mesh_object("lid", v2, f2, groups=[("ink", [0, 1, 2])],
                      texcoords=texcoords_for(rng, len(v2))),
    ]
    return w.file_3ds(materials, objects, version=False)


def obj_scene(rng, objects, with_texcoords):
    """An OBJ and its MTL: objects is a list of (name, face count, [material per face])."""
    mtl = []
    names = sorted({m for _, _, per_face in objects for m in per_face})
    for i, name in enumerate(names):
        ambient = (rng.next(256) / 255, rng.next(256) / 255, rng.next(256) / 255)
        mtl.append(f"newmtl {name}\nKa {ambient[0]:.6f} {ambient[1]:.6f} {ambient[2]:.6f}\n"
                   f"Kd 0.5 0.5 0.5\n")
    lines = ["mtllib scene.mtl"]
    base = 1
    for index, (name, count, per_face) in enumerate(objects):
        vertices, faces = separate_triangles(rng, count, 3, offset=(4.0 * index, 0.0, 0.0))
        lines.append(f"o {name}")
        lines.extend(f"v {x:.6f} {y:.6f} {z:.6f}" for x, y, z in vertices)
        if with_texcoords:
            lines.extend(f"vt {u:.6f} {v:.6f}" for u, v in texcoords_for(rng, len(vertices)))
        current = None
        for face, material in zip(faces, per_face):
            if material != current:
                lines.append(f"usemtl {material}")
                current = material
            corners = [base + k for k in face]
            if with_texcoords:
                lines.append("f " + " ".join(f"{k}/{k}" for k in corners))
            else:
                lines.append("f " + " ".join(str(k) for k in corners))
        base += len(vertices)
    return "\n".join(lines) + "\n", "".join(mtl)


def assimp_model(obj, mtl):
    """The 3DS file assimp writes for an OBJ and its MTL."""
    with tempfile.TemporaryDirectory() as folder:
        with open(os.path.join(folder, "scene.obj"), "w") as f:
            f.write(obj)
        with open(os.path.join(folder, "scene.mtl"), "w") as f:
            f.write(mtl)
        out = os.path.join(folder, "scene.3ds")
        subprocess.run([ASSIMP, "export", os.path.join(folder, "scene.obj"), out], check=True,
                       stdout=subprocess.DEVNULL)
        with open(out, "rb") as f:
            return f.read()


def assimp_furniture():
    rng = Lcg(41)
    objects = [("chair", 12, ["oak"] * 8 + ["cloth"] * 4),
               ("table", 20, ["oak"] * 20),
               ("lamp", 7, ["brass", "brass", "glass", "glass", "glass", "brass", "cloth"])]
    return assimp_model(*obj_scene(rng, objects, with_texcoords=True))


def assimp_large():
    """Larger than the staging blocks, without texture coordinates."""
    rng = Lcg(53)
    objects = [("hull", 150, ["paint"] * 100 + ["rust"] * 50), ("mast", 40, ["wood"] * 40)]
    return assimp_model(*obj_scene(rng, objects, with_texcoords=False))


def grid(count_x, count_y):
    """A bumpy square grid of 2 * count_x * count_y faces sharing their vertices, in one
    material, with texture coordinates: the load benchmark's model."""
    vertices, texcoords, faces = [], [], []
    for y in range(count_y + 1):
        for x in range(count_x + 1):
            vertices.append((x / 8, y / 8, ((x * 7 + y * 13) % 11) / 40))
            texcoords.append((x / count_x, y / count_y))
    for y in range(count_y):
        for x in range(count_x):
            a = y * (count_x + 1) + x
            faces.append((a, a + 1, a + count_x + 2))
            faces.append((a, a + count_x + 2, a + count_x + 1))
    return w.file_3ds([w.material("ground", ambient=(110, 150, 70))],
                      [w.mesh_object("grid", vertices, faces,
                                     groups=[("ground", list(range(len(faces))))],
                                     texcoords=texcoords)])


def numbers(element):
    return element.text.split() if element is not None and element.text else []


def expectation(path):
    """What assimp reads from a 3DS file: one line per face, meshes in assimp's order."""
    with tempfile.TemporaryDirectory() as folder:
        dump = os.path.join(folder, "dump.xml")
        subprocess.run([ASSIMP, "dump", path, dump], check=True, stdout=subprocess.DEVNULL)
        scene = ElementTree.parse(dump).getroot().find("Scene")
    materials = []
    for material in scene.find("MaterialList"):
        properties = {p.get("key"): p.text.strip() for p in material.iter("MatProperty")}
        name = properties["?mat.name"].strip('"')
        ambient = properties["$clr.ambient"].split()
        materials.append("white" if name == DEFAULT_MATERIAL else "rgb " + " ".join(ambient))
    lines = []
    vertex_total = 0
    for mesh in scene.find("MeshList"):
        colour = materials[int(mesh.get("material_index"))]
        positions = numbers(mesh.find("Positions"))
        normals = numbers(mesh.find("Normals"))
        uvs = numbers(mesh.find("TextureCoords"))
        vertex_total += len(positions) // 3
        for face in mesh.find("FaceList"):
            corners = [int(k) for k in numbers(face)]
            line = ["face"] + [positions[3 * k + i] for k in corners for i in range(3)]
            line += [colour]
            if uvs:
                line += ["uv"] + [uvs[2 * k + i] for k in corners for i in range(2)]
            else:
                line += ["nouv"]
            line += ["normal"] + [normals[3 * k + i] for k in corners for i in range(3)]
            lines.append(" ".join(line))
    header = [f"# assimp's reading of {os.path.basename(path)}: faces, then one line per face",
              f"faces {len(lines)}", f"vertices {vertex_total}"]
    return "\n".join(header + lines) + "\n"


# name, how it is made, the scale the tests load it with.
MODELS = [
    ("own_objects.3ds", own_objects, 0),
    ("own_blocks.3ds", own_blocks, -3),
    ("own_other_layouts.3ds", own_other_layouts, 2),
    ("assimp_furniture.3ds", assimp_furniture, 0),
    ("assimp_large.3ds", assimp_large, -1),
]


def main():
    repo = sys.argv[1]
    data = os.path.join(repo, "tests", "render3d", "data")
    os.makedirs(data, exist_ok=True)
    manifest = []
    for name, make, scale in MODELS:
        path = os.path.join(data, name)
        with open(path, "wb") as f:
            f.write(make())
        expect = name.replace(".3ds", ".expect")
        with open(os.path.join(data, expect), "w") as f:
            f.write(expectation(path))
        manifest.append(f"{name} {expect} {scale}")
    with open(os.path.join(data, "manifest.txt"), "w") as f:
        f.write("\n".join(manifest) + "\n")
    bench = os.path.join(repo, "bench", "render3d", "grid_5000.3ds")
    os.makedirs(os.path.dirname(bench), exist_ok=True)
    with open(bench, "wb") as f:
        f.write(grid(50, 50))


if __name__ == "__main__":
    main()
