"""A minimal V3D writer, chunk by chunk, so that a test model can put its chunks in any order,
split a kind over several chunks, or add chunks of unknown tags. All numbers little-endian:
the header "V3D_" "VIBV" and a u32 of the writer's (1), then chunks of a 4-byte tag, a u32
data size and the data."""

import struct


def header():
    return b"V3D_VIBV" + struct.pack("<I", 1)


def chunk(tag, data):
    return tag + struct.pack("<I", len(data)) + data


def mesh(vertex_count, face_count, name="mesh"):
    """The 44-byte mesh header: bytes 0 to 35 are the writer's (a name, then zeros)."""
    return chunk(b"VMSH", name.encode("ascii")[:32].ljust(36, b"\0") +
                 struct.pack("<II", vertex_count, face_count))


def vertices(positions):
    return chunk(b"VVTX", b"".join(struct.pack("<3i", *p) for p in positions))


def faces(triangles):
    return chunk(b"VTRI", b"".join(struct.pack("<3H", *t) for t in triangles))


def colours(rgba):
    return chunk(b"vCOL", b"".join(bytes(c) for c in rgba))


def normals(bytes3):
    return chunk(b"vNRM", b"".join(struct.pack("<3b", *n) for n in bytes3))


def texcoords(uvs):
    """u, v in 16.16: 65536 is one texture length."""
    return chunk(b"vTXC", b"".join(struct.pack("<2i", *uv) for uv in uvs))


def end():
    return chunk(b"_END", b"\0")
