"""Writes 3D Studio mesh files (.3ds): the main chunk with its version, the editor chunk with
the materials and one named triangle-mesh object per part.

The layout is the one our loader reads and other tools read too:
- main 0x4D4D, first of all the 10-byte version chunk 0x0002;
- editor 0x3D3D: mesh version 0x3D3E, the materials 0xAFFF, the master scale 0x0100, then
  the objects 0x4000;
- a material starts with its name 0xA000 and then the ambient colour 0xA010 holding a 24-bit
  colour 0x0011 (the loader takes the colour from there), followed by the diffuse 0xA020 and
  specular 0xA030 colours;
- an object holds one mesh 0x4100: the vertex list 0x4110, the texture coordinates 0x4140
  when the part has them (one pair per vertex), the identity axis matrix 0x4160 and the face
  list 0x4120, whose material groups 0x4130 follow its face records.
"""

import struct


def _chunk(chunk_id, payload=b"", children=()):
    body = payload + b"".join(children)
    return struct.pack("<HI", chunk_id, 6 + len(body)) + body


def _name(text):
    data = text.encode("ascii")
    if not 0 < len(data) <= 30 or b"\0" in data:
        raise ValueError(f"3DS names are 1 to 30 ASCII bytes: {text!r}")
    return data + b"\0"


def _colour(rgb):
    return _chunk(0x0011, bytes(rgb))


def material_chunk(name, rgb):
    dark = tuple(c // 4 for c in rgb)
    return _chunk(0xAFFF, children=[
        _chunk(0xA000, _name(name)),
        _chunk(0xA010, children=[_colour(rgb)]),
        _chunk(0xA020, children=[_colour(rgb)]),
        _chunk(0xA030, children=[_colour(dark)]),
    ])


def object_chunk(name, vertices, faces, groups, smoothing, uvs=None):
    """vertices: (x, y, z) floats; faces: (a, b, c) indices; groups: (material name, face
    numbers) pairs; smoothing: one smoothing-group bit mask per face; uvs: one (u, v) per
    vertex, or None."""
    if not 0 < len(vertices) <= 0xFFFF or not 0 < len(faces) <= 0xFFFF:
        raise ValueError(f"{name}: 1 to 65535 vertices and faces per object")
    parts = [_chunk(0x4110, struct.pack("<H", len(vertices))
                    + b"".join(struct.pack("<3f", *v) for v in vertices))]
    if uvs is not None:
        if len(uvs) != len(vertices):
            raise ValueError(f"{name}: one texture coordinate per vertex")
        parts.append(_chunk(0x4140, struct.pack("<H", len(uvs))
                            + b"".join(struct.pack("<2f", *uv) for uv in uvs)))
    parts.append(_chunk(0x4160, struct.pack("<12f", 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0)))
    # Flags 7: all three edges visible, as modelling programs write them.
    records = struct.pack("<H", len(faces)) + b"".join(struct.pack("<4H", a, b, c, 7)
                                                        for a, b, c in faces)
    group_chunks = [_chunk(0x4130, _name(material) + struct.pack("<H", len(numbers))
                           + struct.pack(f"<{len(numbers)}H", *numbers))
                    for material, numbers in groups]
    group_chunks.append(_chunk(0x4150, struct.pack(f"<{len(faces)}I", *smoothing)))
    mesh = _chunk(0x4100, children=parts + [_chunk(0x4120, records, group_chunks)])
    return _chunk(0x4000, _name(name), [mesh])


def _node_chunk(node_id, name):
    """The keyframer's node of one object: at rest, no parent."""
    return _chunk(0xB002, children=[
        _chunk(0xB030, struct.pack("<H", node_id)),
        _chunk(0xB010, _name(name) + struct.pack("<3H", 0, 0, 0xFFFF)),
        _chunk(0xB013, struct.pack("<3f", 0, 0, 0)),
    ])


def file_bytes(materials, objects):
    """materials: (name, (r, g, b)) pairs; objects: (name, object chunk) pairs. The keyframer
    section names every object once more as a node, which tells readers the hierarchy."""
    editor = _chunk(0x3D3D, children=[_chunk(0x3D3E, struct.pack("<I", 3))]
                    + [material_chunk(n, rgb) for n, rgb in materials]
                    + [_chunk(0x0100, struct.pack("<f", 1.0))] + [c for _, c in objects])
    keyframer = _chunk(0xB000, children=[
        _chunk(0xB00A, struct.pack("<H", 5) + _name("vorlund") + struct.pack("<I", 100)),
        _chunk(0xB008, struct.pack("<2I", 0, 100)),
        _chunk(0xB009, struct.pack("<I", 0)),
    ] + [_node_chunk(i, name) for i, (name, _) in enumerate(objects)])
    return _chunk(0x4D4D, children=[_chunk(0x0002, struct.pack("<I", 3)), editor, keyframer])
