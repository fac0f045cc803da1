"""A minimal MilkShape 3D writer (binary version 3 or 4): vertices with a bone id, triangles
with per-corner normals and texture coordinates, groups, materials (a name and an ambient
colour; the other colours are fixed), the animation values and joints with key frames. Enough
for the test models; names are cut or padded to their 32 bytes, so a name of 32 characters
has no terminating zero."""

import struct

NO_BONE = 255


def name_bytes(name):
    return name.encode("ascii")[:32].ljust(32, b"\0")


def vertex(x, y, z, bone=NO_BONE):
    return (x, y, z, bone)


def triangle(corners, normals, s, t, group):
    """corners: three vertex indices; normals: three (x, y, z); s, t: three floats each."""
    return (corners, normals, s, t, group)


def group(name, triangles, material=-1):
    return (name, triangles, material)


def material(name, ambient):
    return (name, ambient)


def joint(name, parent, rotation, position, rotation_keys=(), translation_keys=()):
    """rotation in radians; keys are (seconds, x, y, z)."""
    return (name, parent, rotation, position, rotation_keys, translation_keys)


def file_ms3d(vertices, triangles, groups, materials, joints, version=4):
    out = [b"MS3D000000", struct.pack("<i", version), struct.pack("<H", len(vertices))]
    for x, y, z, bone in vertices:
        out.append(struct.pack("<B3fBB", 0, x, y, z, bone, 1))
    out.append(struct.pack("<H", len(triangles)))
    for corners, normals, s, t, group_index in triangles:
        out.append(struct.pack("<H3H", 0, *corners))
        out.append(struct.pack("<9f", *(c for n in normals for c in n)))
        out.append(struct.pack("<3f3fBB", *s, *t, 1, group_index))
    out.append(struct.pack("<H", len(groups)))
    for name, members, material_index in groups:
        out.append(struct.pack("<B", 0) + name_bytes(name) + struct.pack("<H", len(members)))
        out.append(b"".join(struct.pack("<H", m) for m in members))
        out.append(struct.pack("<b", material_index))
    out.append(struct.pack("<H", len(materials)))
    for name, ambient in materials:
        out.append(name_bytes(name) + struct.pack("<4f", *ambient))
        # diffuse, specular, emissive, shininess, transparency, mode, texture, alpha map
        out.append(struct.pack("<4f4f4fffB", 0.8, 0.8, 0.8, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 0))
        out.append(b"\0" * 256)
    out.append(struct.pack("<ffi", 24.0, 0.0, 48))
    out.append(struct.pack("<H", len(joints)))
    for name, parent, rotation, position, rotation_keys, translation_keys in joints:
        out.append(struct.pack("<B", 8) + name_bytes(name) + name_bytes(parent))
        out.append(struct.pack("<3f3fHH", *rotation, *position, len(rotation_keys),
                               len(translation_keys)))
        for key in list(rotation_keys) + list(translation_keys):
            out.append(struct.pack("<4f", *key))
    return b"".join(out)
