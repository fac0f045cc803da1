"""Meshes for the test models: a fixed pseudo-random sequence, separate triangles and bumpy
grid patches whose shared vertices carry one normal and one texture coordinate each."""

import math


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


class Patch:
    """A bumpy grid of count_x by count_y quads, two counter-clockwise triangles each, seen
    from +z: positions, per-vertex unit normals of the height field, per-vertex texture
    coordinates, and faces indexing the patch's own vertices."""

    def __init__(self, count_x, count_y, origin, step=0.5, bump=0.25):
        ox, oy, oz = origin

        def height(i, j):
            return oz + bump * math.sin(0.9 * i + 0.4) * math.cos(0.7 * j - 0.2)

        self.positions, self.normals, self.texcoords, self.faces = [], [], [], []
        for j in range(count_y + 1):
            for i in range(count_x + 1):
                self.positions.append((round(ox + step * i, 3), round(oy + step * j, 3),
                                       round(height(i, j), 3)))
                dx = (height(i + 0.01, j) - height(i - 0.01, j)) / (0.02 * step)
                dy = (height(i, j + 0.01) - height(i, j - 0.01)) / (0.02 * step)
                length = math.sqrt(dx * dx + dy * dy + 1)
                self.normals.append((round(-dx / length, 4), round(-dy / length, 4),
                                     round(1 / length, 4)))
                self.texcoords.append((round(i / count_x, 4), round(j / count_y, 4)))
        for j in range(count_y):
            for i in range(count_x):
                a = j * (count_x + 1) + i
                self.faces.append((a, a + 1, a + count_x + 2))
                self.faces.append((a, a + count_x + 2, a + count_x + 1))
