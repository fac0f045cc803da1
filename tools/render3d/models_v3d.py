"""The V3D test models, written chunk by chunk with writer_v3d.py, and their expectations. No
other reader knows V3D, so the expectation is the mesh the generator wrote, in the format of
assimp_reading.py: integer positions, colours as bytes / 255, texture coordinates / 65536 and
normal bytes / 127."""

import writer_v3d as v
from testmesh import Lcg, Patch


def integer_patch(patch, rng):
    positions = [tuple(round(c * 64) for c in p) for p in patch.positions]
    colours = [(rng.next(256), rng.next(256), rng.next(256), 255 - rng.next(64))
               for _ in positions]
    normals = [tuple(round(c * 127) for c in n) for n in patch.normals]
    texcoords = [tuple(round(c * 65536) for c in uv) for uv in patch.texcoords]
    return positions, patch.faces, colours, normals, texcoords


def own_chunks():
    """Every chunk kind; vertices and faces over two chunks each with other chunks between,
    more records than a block of the loader holds, unknown tags before the mesh and between,
    records before the mesh (skipped) and after the end chunk (not read)."""
    rng = Lcg(73)
    positions, faces, colours, normals, texcoords = integer_patch(Patch(11, 9, (-2, -2, 0)), rng)
    data = b"".join([
        v.header(),
        v.chunk(b"INFO", b"made by tools/render3d/make_test_models.py\0"),
        v.vertices([(999, 999, 999)] * 2),
        v.mesh(len(positions), len(faces), "chunks"),
        v.vertices(positions[:50]),
        v.chunk(b"vXYZ", bytes(range(20))),
        v.vertices(positions[50:]),
        v.faces(faces[:100]),
        v.colours(colours),
        v.faces(faces[100:]),
        v.normals(normals),
        v.texcoords(texcoords),
        v.end(),
        v.vertices([(777, 777, 777)] * len(positions)),
    ])
    return data, expectation(positions, faces, colours, normals, texcoords, "own_chunks.v3d")


def own_bare():
    """Positions and faces only: white, no texture coordinates, normals computed at load."""
    rng = Lcg(79)
    positions, faces, _, _, _ = integer_patch(Patch(4, 3, (0, 0, 0)), rng)
    data = b"".join([v.header(), v.mesh(len(positions), len(faces)), v.vertices(positions),
                     v.faces(faces), v.end()])
    return data, expectation(positions, faces, None, None, None, "own_bare.v3d")


def expectation(positions, faces, colours, normals, texcoords, name):
    lines = [f"# the mesh tools/render3d/models_v3d.py wrote into {name}: faces, vertices, then",
             "# one line per face", f"faces {len(faces)}", f"vertices {len(positions)}"]
    for face in faces:
        line = ["face"] + [str(c) for k in face for c in positions[k]]
        if colours:
            line += ["corners"] + [f"{c / 255:.6f}" for k in face for c in colours[k]]
        else:
            line += ["white"]
        if texcoords:
            line += ["uv"] + [f"{c / 65536:.6f}" for k in face for c in texcoords[k]]
        else:
            line += ["nouv"]
        if normals:
            line += ["normal"] + [f"{c / 127:.6f}" for k in face for c in normals[k]]
        else:
            line += ["nonormal"]
        lines.append(" ".join(line))
    return "\n".join(lines) + "\n"


# name, how it is made, the scale the tests load it with.
MODELS = [
    ("own_chunks.v3d", own_chunks, 1),
    ("own_bare.v3d", own_bare, -1),
]
