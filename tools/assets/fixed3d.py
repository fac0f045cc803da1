"""The framework's integer 3D arithmetic, as the model tools need it: the sine table, the
rotation and view matrices a scene builds, the vertex transform, the perspective projection,
the vertex normals the model computes after loading and the per-corner light colour.

Everything is integer arithmetic with the same shifts as the renderer, so depths and screen
positions come out as the demo computes them. The projection's products are kept whole (in
32 bits they overflow for points far to the side), and a point at or beyond the viewpoint's
depth is reported as such instead of being projected."""

import math

import numpy as np

VIEWPOINT_Z = 32768
PROJECTION_FACTOR = 240  # the smaller side of the 240 x 320 back buffer
SCREEN_W, SCREEN_H = 240, 320
NORMAL_LENGTH = 88


def _sine_table():
    quarter = [int(65536.0 * math.sin(i * 3.14 / 2048.0)) for i in range(1023)] + [65536]
    t = quarter + quarter[::-1]
    t = t + [-v for v in t]
    return t + quarter


SINE = _sine_table()


def sin16(angle):
    return SINE[angle & 4095]


def cos16(angle):
    return SINE[1024 + (angle & 4095)]


def identity():
    m = [0] * 16
    m[0] = m[5] = m[10] = m[15] = 4096
    return m


def rotation(ax, ay, az):
    """Rotation about x by ax, then y by ay, then z by az (row vectors), 20.12."""
    s1, c1 = sin16(ax) >> 2, cos16(ax) >> 2
    s2, c2 = sin16(ay) >> 2, cos16(ay) >> 2
    s3, c3 = sin16(az) >> 2, cos16(az) >> 2
    t, u = (s2 * s1) >> 14, (s2 * c1) >> 14
    m = identity()
    m[0] = (c3 * c2) >> 16
    m[1] = (s3 * c2) >> 16
    m[2] = (-s2) >> 2
    m[4] = ((t * c3) >> 16) - ((s3 * c1) >> 16)
    m[5] = ((t * s3) >> 16) + ((c3 * c1) >> 16)
    m[6] = (c2 * s1) >> 16
    m[8] = ((u * c3) >> 16) + ((s3 * s1) >> 16)
    m[9] = ((u * s3) >> 16) - ((c3 * s1) >> 16)
    m[10] = (c2 * c1) >> 16
    return m


def multiply(a, b):
    """a becomes b followed by a."""
    r = list(a)
    for row in range(4):
        x, y, z = b[4 * row], b[4 * row + 1], b[4 * row + 2]
        for j in range(3):
            s = ((a[j] * x) >> 12) + ((a[4 + j] * y) >> 12) + ((a[8 + j] * z) >> 12)
            r[4 * row + j] = s + a[12 + j] if row == 3 else s
    r[3] = r[7] = r[11] = 0
    return r


def scene_view(x, y, z, ax, ay):
    """The matrix a scene renders with: the view reset, translated, then turned (each step
    skipped when all its arguments are 0), after the model's identity matrix."""
    view = identity()
    if (x, y, z) != (0, 0, 0):
        t = identity()
        t[12:15] = [x, y, z]
        view = multiply(view, t)
    if (ax, ay) != (0, 0):
        view = multiply(view, rotation(ax, ay, 0))
    return multiply(view, identity())


def transform(m, points):
    """Points (N x 3 integer array) through m, each product shifted before the sum."""
    p = np.asarray(points, dtype=np.int64)
    cols = []
    for j in range(3):
        c = (m[j] * p[:, 0] >> 12) + (m[4 + j] * p[:, 1] >> 12) + (m[8 + j] * p[:, 2] >> 12)
        cols.append(c + m[12 + j])
    return np.stack(cols, axis=1)


def turn_directions(m, vectors):
    return transform(m[:12] + [0, 0, 0, 0], vectors)


def project(view_points, factor=PROJECTION_FACTOR):
    """Projected positions (20 fraction bits, relative to the centre, y up) of view-space
    points, and which of them lie in front of the viewpoint; the others get position 0."""
    p = np.asarray(view_points, dtype=np.int64)
    x, y, z = p[:, 0], p[:, 1], p[:, 2]
    in_front = z < VIEWPOINT_Z
    q = np.where(in_front, 0x800000 // np.where(in_front, VIEWPOINT_Z - z, 1), 0)
    return (q * factor * x) >> 1, (q * factor * y) >> 1, in_front


def to_screen(px, py):
    """Picture coordinates in pixels (y down) of projected positions, in 22.10 steps."""
    sx = ((SCREEN_W << 9) + (np.asarray(px) >> 10)) / 1024.0
    sy = ((SCREEN_H << 9) - (np.asarray(py) >> 10)) / 1024.0
    return np.stack([sx, sy], axis=-1)


def depth_keys(view_z, faces):
    """The painter's key of each face, K = z0 + z1 + (z0 + z1 + z2) / 4, kept whole."""
    z = np.asarray(view_z, dtype=np.int64)[np.asarray(faces)]
    total = z[:, 0] + z[:, 1] + z[:, 2]
    return z[:, 0] + z[:, 1] + _trunc_div(total, np.int64(4))


def front_facing(px, py, faces):
    """True for faces whose corners run counter-clockwise on screen (the side the renderer
    draws when it culls)."""
    f = np.asarray(faces)
    x, y = np.asarray(px)[f] >> 16, np.asarray(py)[f] >> 16
    a = (y[:, 2] - y[:, 1]) * (x[:, 0] - x[:, 1])
    b = (x[:, 2] - x[:, 1]) * (y[:, 0] - y[:, 1])
    return a - b < 0


def _trunc_div(a, b):
    return np.where((a < 0) != (b < 0), -(np.abs(a) // np.abs(b)), np.abs(a) // np.abs(b))


def vertex_normals(vertices, faces):
    """The normals the model computes after loading (length about 88, pointing to the side
    from which a face's corners run counter-clockwise), in 32-bit integer steps."""
    v = np.asarray(vertices, dtype=np.int64)
    f = np.asarray(faces, dtype=np.int64)
    a, b, c = v[f[:, 0]], v[f[:, 1]], v[f[:, 2]]
    cross = np.cross(a - c, c - b)
    assert np.abs(cross).max() < 2 ** 27, "a face too large for the model's normal arithmetic"
    sums = np.zeros_like(v)
    counts = np.zeros(len(v), dtype=np.int64)
    for k in range(3):
        np.add.at(sums, f[:, k], cross)
        np.add.at(counts, f[:, k], 1)
    assert np.abs(sums).max() < 2 ** 31, "normal sums overflow 32 bits"
    normals = np.zeros_like(v)
    for i in np.nonzero(counts)[0]:
        n = _trunc_div(sums[i], counts[i])
        bits = int(np.bitwise_or.reduce(np.abs(n)))
        shift = next((17 - k for k in range(17) if bits & (1 << (30 - k))), 0)
        length = int(math.sqrt(int(((n >> shift) ** 2).sum())))
        if length >= 1:
            unit = _trunc_div(n << (14 - shift), np.int64(length))
            normals[i] = (unit * -NORMAL_LENGTH) >> 14
    return normals


def light_direction(x, y, z):
    """A light direction as the display stores it: normalised to 16384, times 8."""
    length = int(math.sqrt(x * x + y * y + z * z))
    return tuple(int(_trunc_div(np.int64(c << 14), np.int64(length))) * 8 for c in (x, y, z))


# Light 0 as the second scene sets it: direction, ambient, diffuse.
SCENE2_LIGHT = (light_direction(2048, 2048, -4096), 0, 0xFFFFFF)


def shade_colour(normals, base, lights):
    """The lit colour for each turned normal (N x 3) and base colour (N x 3 bytes)."""
    n = np.asarray(normals, dtype=np.int64)
    c = np.asarray(base, dtype=np.int64)
    if not lights:
        return c.copy()
    acc = c * 13107
    for (lx, ly, lz), ambient, diffuse in lights:
        amb = np.array([(ambient >> s) & 255 for s in (0, 8, 16)], dtype=np.int64)
        dif = np.array([(diffuse >> s) & 255 for s in (0, 8, 16)], dtype=np.int64)
        acc = acc + ((amb * c) << 8)
        d = (lx * n[:, 0] + ly * n[:, 1] - lz * n[:, 2]) >> 7
        lit = d >= 0
        d = np.minimum(d, 65535)[:, None]
        acc = acc + np.where(lit[:, None], (dif * d // 256) * c, 0)
    return np.minimum(acc, 0xFFFFFF) >> 16
