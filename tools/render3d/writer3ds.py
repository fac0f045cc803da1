"""A minimal 3D Studio writer: chunks of a u16 id and a u32 length that counts the six header
bytes, then the chunk's own data, then its children. Enough for the test models: materials with
a name and colours, and mesh objects with vertices, faces, material groups and texture
coordinates."""

import struct

MAIN = 0x4D4D
VERSION = 0x0002
EDITOR = 0x3D3D
OBJECT = 0x4000
MESH = 0x4100
VERTICES = 0x4110
FACES = 0x4120
FACE_MATERIAL = 0x4130
TEXCOORDS = 0x4140
MATERIAL = 0xAFFF
MATERIAL_NAME = 0xA000
AMBIENT = 0xA010
DIFFUSE = 0xA020
SPECULAR = 0xA030
COLOUR_FLOAT = 0x0010
COLOUR_24 = 0x0011
KEYFRAMER = 0xB000


def chunk(chunk_id, data=b"", children=()):
    body = data + b"".join(children)
    return struct.pack("<HI", chunk_id, 6 + len(body)) + body


def name_bytes(name):
    return name.encode("ascii") + b"\0"


def colour_24(rgb):
    return chunk(COLOUR_24, bytes(rgb))


def colour_float(rgb):
    return chunk(COLOUR_FLOAT, struct.pack("<3f", *(c / 255 for c in rgb)))


def material(name, ambient=None, diffuse=None, float_colours=False, diffuse_first=False):
    """A material chunk. With the defaults it has the layout older files have: the name, then
    the ambient colour as 24 bits. diffuse_first puts diffuse and specular chunks before the
    ambient one, float_colours writes colours as three floats, as other programs do."""
    make = colour_float if float_colours else colour_24
    parts = [chunk(MATERIAL_NAME, name_bytes(name))]
    colours = []
    if ambient is not None:
        colours.append(chunk(AMBIENT, children=[make(ambient)]))
    if diffuse is not None:
        diffuse_chunks = [chunk(DIFFUSE, children=[make(diffuse)]),
                          chunk(SPECULAR, children=[make((0, 0, 0))])]
        colours = diffuse_chunks + colours if diffuse_first else colours + diffuse_chunks
    return chunk(MATERIAL, children=parts + colours)


def mesh_object(name, vertices, faces, groups=(), texcoords=None):
    """vertices: (x, y, z) floats; faces: (a, b, c) indices; groups: (material name, face
    numbers); texcoords: (u, v) per vertex or None."""
    vertex_data = struct.pack("<H", len(vertices)) + b"".join(
        struct.pack("<3f", *v) for v in vertices)
    face_data = struct.pack("<H", len(faces)) + b"".join(
        struct.pack("<4H", a, b, c, 7) for a, b, c in faces)
    group_chunks = [chunk(FACE_MATERIAL, name_bytes(material_name) +
                          struct.pack("<H", len(numbers)) +
                          b"".join(struct.pack("<H", n) for n in numbers))
                    for material_name, numbers in groups]
    mesh_children = [chunk(VERTICES, vertex_data), chunk(FACES, face_data, group_chunks)]
    if texcoords is not None:
        mesh_children.append(chunk(TEXCOORDS, struct.pack("<H", len(texcoords)) + b"".join(
            struct.pack("<2f", u, v) for u, v in texcoords)))
    return chunk(OBJECT, name_bytes(name), [chunk(MESH, children=mesh_children)])


def file_3ds(materials, objects, version=True, keyframer=False):
    top = [chunk(VERSION, struct.pack("<I", 3))] if version else []
    top.append(chunk(EDITOR, children=list(materials) + list(objects)))
    if keyframer:
        top.append(chunk(KEYFRAMER, children=[chunk(0xB00A, struct.pack("<H", 5) + b"\0")]))
    return chunk(MAIN, children=top)
