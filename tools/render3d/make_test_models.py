#!/usr/bin/python3
"""Writes the test models of the model loaders and what an independent reader, assimp, reads
from each.

Run with Debian's /usr/bin/python3 and assimp-utils installed:

    /usr/bin/python3 tools/render3d/make_test_models.py .

(the argument is the repository root). To tests/render3d/data go:

- own_*.3ds, written by the minimal writer in writer3ds.py, so that the layout can be chosen:
  several objects, material groups in runs and out of order, texture coordinates on some
  objects only, materials in the old layout (name, then a 24-bit ambient colour) and in the
  layout other programs write (diffuse and specular first, float colours), files with and
  without a version chunk, groups naming a material the file lacks.
- assimp_*.3ds, written by assimp itself (`assimp export in.obj out.3ds`) from an OBJ and MTL
  this script writes.
- own_*.ms3d, written by writer_ms3d.py (models_ms3d.py): versions 3 and 4, groups with and
  without materials, joints with parents and keys, more than 128 joints, names filling all
  32 bytes. assimp reads version 4 only, so a version-3 file's expectation is its reading of
  the same file with version 4.
- own_*.v3d, written chunk by chunk by writer_v3d.py (models_v3d.py); no other reader knows
  V3D, so their expectation is the mesh the generator wrote.
- convert_*: an OBJ with its MTL and a glTF (convert_sources.py) for the V3D converter's round
  trip, with assimp's reading of each under the converter's steps.

The expectation files (.expect) are described in assimp_reading.py. manifest.txt lists
"model expectation scale [units]" per line, conversions.txt "source expectation scale units"
(units: model units per unit of the expectation at scale 0, 64 when not given). The 5 000-face
model of the load benchmark goes to bench/render3d in each format. Every output is the same byte for byte on
every run.
"""

import os
import subprocess
import sys
import tempfile

import writer3ds as w
import writer_ms3d
import writer_v3d
import convert_sources
import models_ms3d
import models_v3d
from assimp_reading import ASSIMP, expectation_3ds, expectation_converted, expectation_ms3d
from testmesh import Lcg, separate_triangles, texcoords_for


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


def grid_mesh(count_x, count_y):
    """A bumpy square grid of 2 * count_x * count_y faces sharing their vertices, with texture
    coordinates: the load benchmark's model."""
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
    return vertices, texcoords, faces


def grid_3ds(count_x, count_y):
    """The grid in one material."""
    vertices, texcoords, faces = grid_mesh(count_x, count_y)
    return w.file_3ds([w.material("ground", ambient=(110, 150, 70))],
                      [w.mesh_object("grid", vertices, faces,
                                     groups=[("ground", list(range(len(faces))))],
                                     texcoords=texcoords)])


def grid_ms3d(count_x, count_y):
    """The grid in one group of one material, its corner normals pointing up."""
    vertices, texcoords, faces = grid_mesh(count_x, count_y)
    triangles = [writer_ms3d.triangle(f, [(0.0, 0.0, 1.0)] * 3, [texcoords[k][0] for k in f],
                                      [1 - texcoords[k][1] for k in f], 0) for f in faces]
    return writer_ms3d.file_ms3d(
        [writer_ms3d.vertex(*v) for v in vertices], triangles,
        [writer_ms3d.group("ground", list(range(len(faces))), 0)],
        [writer_ms3d.material("ground", (110 / 255, 150 / 255, 70 / 255, 1.0))], [])


def grid_v3d(count_x, count_y):
    """The grid at 64 units, with one colour, normals up and texture coordinates."""
    vertices, texcoords, faces = grid_mesh(count_x, count_y)
    return b"".join([
        writer_v3d.header(), writer_v3d.mesh(len(vertices), len(faces), "grid"),
        writer_v3d.vertices([tuple(round(c * 64) for c in v) for v in vertices]),
        writer_v3d.faces(faces), writer_v3d.colours([(110, 150, 70, 255)] * len(vertices)),
        writer_v3d.normals([(0, 0, 127)] * len(vertices)),
        writer_v3d.texcoords([tuple(round(c * 65536) for c in uv) for uv in texcoords]),
        writer_v3d.end()])


# name, how it is made, the scale the tests load it with.
MODELS = [
    ("own_objects.3ds", own_objects, 0),
    ("own_blocks.3ds", own_blocks, -3),
    ("own_other_layouts.3ds", own_other_layouts, 2),
    ("assimp_furniture.3ds", assimp_furniture, 0),
    ("assimp_large.3ds", assimp_large, -1),
]


def write(path, data):
    with open(path, "wb" if isinstance(data, bytes) else "w") as f:
        f.write(data)


def main():
    repo = sys.argv[1]
    data = os.path.join(repo, "tests", "render3d", "data")
    os.makedirs(data, exist_ok=True)
    manifest = []
    for name, make, scale in MODELS:
        path = os.path.join(data, name)
        write(path, make())
        expect = name.replace(".3ds", ".expect")
        write(os.path.join(data, expect), expectation_3ds(path))
        manifest.append(f"{name} {expect} {scale}")

    for name, make, scale in models_ms3d.MODELS:
        model, twin, joints = models_ms3d.build(make)
        write(os.path.join(data, name), model)
        expect = name.replace(".ms3d", ".expect")
        described = name
        with tempfile.TemporaryDirectory() as folder:
            twin_path = os.path.join(folder, name)
            write(twin_path, twin)
            if twin != model:
                described = f"{name} (its version-4 twin: assimp reads version 4 only)"
            write(os.path.join(data, expect),
                  expectation_ms3d(twin_path, joints, described))
        manifest.append(f"{name} {expect} {scale}")

    for name, make, scale in models_v3d.MODELS:
        model, expected = make()
        write(os.path.join(data, name), model)
        expect = name.replace(".v3d", ".expect")
        write(os.path.join(data, expect), expected)
        manifest.append(f"{name} {expect} {scale} 1")
    write(os.path.join(data, "manifest.txt"), "\n".join(manifest) + "\n")

    conversions = []
    for name, make, units, scale in convert_sources.SOURCES:
        for file_name, content in make().items():
            write(os.path.join(data, file_name), content)
        expect = name.replace(".", "_", 1).rsplit("_", 1)[0] + ".expect"
        write(os.path.join(data, expect), expectation_converted(os.path.join(data, name)))
        conversions.append(f"{name} {expect} {scale} {units}")
    write(os.path.join(data, "conversions.txt"), "\n".join(conversions) + "\n")

    bench = os.path.join(repo, "bench", "render3d")
    os.makedirs(bench, exist_ok=True)
    write(os.path.join(bench, "grid_5000.3ds"), grid_3ds(50, 50))
    write(os.path.join(bench, "grid_5000.ms3d"), grid_ms3d(50, 50))
    write(os.path.join(bench, "grid_5000.v3d"), grid_v3d(50, 50))


if __name__ == "__main__":
    main()
