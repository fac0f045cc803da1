"""Building blocks for the demo's models: closed solids made of triangles in model units
(one file unit is 8 model units), each made of patches. A patch is a run of faces of one
material whose corners are shared, so the loader's vertex normals blend across it (a smooth
surface); between patches the corners are separate vertices, so an edge there stays sharp.

Every builder returns a Solid whose faces run counter-clockwise seen from outside (the side
the renderer draws). A Model collects named objects and writes them as a 3D Studio file."""

import math

import numpy as np

import studio3ds

FILE_UNIT = 8  # model units per file unit: the demo loads with scale -3


class Solid:
    """Patches of (material, triangles); triangles is an (n, 3, 3) float array."""

    def __init__(self, patches=()):
        self.patches = [(m, np.asarray(t, dtype=np.float64).reshape(-1, 3, 3)) for m, t in patches]

    def __add__(self, other):
        return Solid(self.patches + other.patches)

    def mapped(self, fn, flips=False):
        out = []
        for material, tris in self.patches:
            t = fn(tris.reshape(-1, 3)).reshape(-1, 3, 3)
            out.append((material, t[:, [0, 2, 1]] if flips else t))
        return Solid(out)

    def moved(self, dx, dy, dz):
        return self.mapped(lambda p: p + np.array([dx, dy, dz]))

    def scaled(self, sx, sy=None, sz=None):
        s = np.array([sx, sx if sy is None else sy, sx if sz is None else sz])
        return self.mapped(lambda p: p * s, flips=np.prod(s) < 0)

    def turned(self, matrix):
        m = np.asarray(matrix, dtype=np.float64)
        return self.mapped(lambda p: p @ m.T, flips=np.linalg.det(m) < 0)


def rot_x(deg):
    a = math.radians(deg)
    return [[1, 0, 0], [0, math.cos(a), -math.sin(a)], [0, math.sin(a), math.cos(a)]]


def rot_y(deg):
    a = math.radians(deg)
    return [[math.cos(a), 0, math.sin(a)], [0, 1, 0], [-math.sin(a), 0, math.cos(a)]]


def rot_z(deg):
    a = math.radians(deg)
    return [[math.cos(a), -math.sin(a), 0], [math.sin(a), math.cos(a), 0], [0, 0, 1]]


def _signed_volume(tris):
    return float(np.einsum("ij,ij->i", tris[:, 0], np.cross(tris[:, 1], tris[:, 2])).sum()) / 6


def _outward(patches):
    """Turns every face round when the closed surface they form faces inwards."""
    solid = Solid(patches)
    volume = sum(_signed_volume(t) for _, t in solid.patches)
    return solid.mapped(lambda p: p, flips=True) if volume < 0 else solid


def _quads(grid, closed_rows):
    """Triangles of a grid of points (rows x cols x 3): rows joined side by side, each row
    joined round to its start when closed_rows. Collapsed corners (a pole) give one triangle
    instead of two."""
    rows, cols = grid.shape[:2]
    tris = []
    for i in range(rows - 1):
        for j in range(cols if closed_rows else cols - 1):
            a, b = grid[i, j], grid[i, (j + 1) % cols]
            c, d = grid[i + 1, (j + 1) % cols], grid[i + 1, j]
            # Both halves end on the same corner: a face lit by one corner's normal (the
            # renderer's flat rule uses the third) then shades its whole quad alike.
            if not np.allclose(a, b):
                tris.append((a, b, c))
            if not np.allclose(c, d):
                tris.append((d, a, c))
    return tris


def loft(rings, materials, smooth_along=True, caps=None, smooth_round=False):
    """A closed surface through rings of points (each ring a closed loop with the same
    number of points). Strip j runs between points j and j + 1 of every ring and is painted
    materials[j % len]; a smooth_along strip is one patch, else every band of it is its own;
    smooth_round makes the whole surface one patch (one material). caps: material of the
    flat ends (a ring that is a single point needs none)."""
    grid = np.asarray(rings, dtype=np.float64)
    rows, cols = grid.shape[:2]
    patches = []
    if smooth_round:
        patches.append((materials[0], _quads(grid, True)))
    for j in range(cols if not smooth_round else 0):
        strip = grid[:, [j, (j + 1) % cols]]
        material = materials[j % len(materials)]
        if smooth_along:
            patches.append((material, _quads(strip, False)))
        else:
            for i in range(rows - 1):
                patches.append((material, _quads(strip[i:i + 2], False)))
    for end, step in ((0, 1), (rows - 1, -1)):
        ring = grid[end]
        if caps is not None and not np.allclose(ring, ring[0]):
            centre = ring.mean(axis=0)
            patches.append((caps, [(centre, ring[(k + step) % cols], ring[k])
                                   for k in range(cols)]))
    return _outward([(m, t) for m, t in patches if len(t)])


def lathe(profile, segments, materials, smooth=True, creases=(), start_angle=0.0):
    """A closed surface of revolution about the y axis through a profile of (radius, y)
    points that starts and ends on the axis (radius 0) or returns to its first point (a
    ring). materials: one name, or one per profile segment. The surface is sharp at the
    profile points listed in creases, where the material changes and round flat discs (a
    segment at one height); smooth makes each run between them one patch round the whole
    turn, else every facet of it is its own patch (a flat disc is always one)."""
    prof = [tuple(map(float, p)) for p in profile]
    if not (prof[0][0] == 0 and prof[-1][0] == 0) and prof[0] != prof[-1]:
        raise ValueError("a lathe profile must end on the axis or close on itself")
    bands = len(prof) - 1
    names = [materials] * bands if isinstance(materials, str) else list(materials)
    angles = [start_angle + 2 * math.pi * k / segments for k in range(segments)]
    grid = np.array([[(r * math.cos(a), y, -r * math.sin(a)) for a in angles] for r, y in prof])
    def flat(i):
        return prof[i][1] == prof[i + 1][1]

    runs = []
    for i in range(bands):
        if runs and i not in creases and names[i] == names[i - 1] and not flat(i) and \
                not flat(i - 1):
            runs[-1][1].append(i)
        else:
            runs.append((names[i], [i]))
    patches = []
    for material, run in runs:
        rows = grid[run[0]:run[-1] + 2]
        if smooth or flat(run[0]):
            patches.append((material, _quads(rows, True)))
        else:
            for j in range(segments):
                patches.append((material, _quads(rows[:, [j, (j + 1) % segments]], False)))
    return _outward([(m, t) for m, t in patches if len(t)])


def ellipsoid(rx, ry, rz, material, segments=12, rings=7):
    profile = [(math.sin(math.pi * i / rings), -math.cos(math.pi * i / rings))
               for i in range(rings + 1)]
    profile[0], profile[-1] = (0.0, -1.0), (0.0, 1.0)
    return lathe(profile, segments, material).scaled(rx, ry, rz)


def cylinder(radius, y0, y1, material, segments=10, cap=None, smooth=True):
    """A closed cylinder along y with flat, sharp-rimmed ends."""
    return frustum(radius, radius, y0, y1, material, segments, cap, smooth)


def frustum(r0, r1, y0, y1, material, segments=8, cap=None, smooth=False):
    """A closed truncated cone along y with flat ends, faceted unless smooth."""
    cap = cap or material
    return lathe([(0, y0), (r0, y0), (r1, y1), (0, y1)], segments, [cap, material, cap],
                 smooth=smooth, creases=(1, 2))


def box(cx, cy, cz, sx, sy, sz, material):
    """An axis-aligned box: centre and full sizes; six flat sides."""
    x0, x1 = cx - sx / 2, cx + sx / 2
    y0, y1 = cy - sy / 2, cy + sy / 2
    z0, z1 = cz - sz / 2, cz + sz / 2
    faces = [((x0, y0, z1), (x1, y0, z1), (x1, y1, z1), (x0, y1, z1)),
             ((x1, y0, z0), (x0, y0, z0), (x0, y1, z0), (x1, y1, z0)),
             ((x1, y0, z1), (x1, y0, z0), (x1, y1, z0), (x1, y1, z1)),
             ((x0, y0, z0), (x0, y0, z1), (x0, y1, z1), (x0, y1, z0)),
             ((x0, y1, z1), (x1, y1, z1), (x1, y1, z0), (x0, y1, z0)),
             ((x0, y0, z0), (x1, y0, z0), (x1, y0, z1), (x0, y0, z1))]
    return _outward([(material, [(a, b, c), (a, c, d)]) for a, b, c, d in faces])


def _ear_clip(poly):
    """Triangles (index triples, counter-clockwise) of a simple polygon given
    counter-clockwise."""
    idx = list(range(len(poly)))
    tris = []

    def cross(o, a, b):
        return (a[0] - o[0]) * (b[1] - o[1]) - (a[1] - o[1]) * (b[0] - o[0])

    while len(idx) > 3:
        for k in range(len(idx)):
            i0, i1, i2 = idx[k - 1], idx[k], idx[(k + 1) % len(idx)]
            a, b, c = poly[i0], poly[i1], poly[i2]
            if cross(a, b, c) <= 0:
                continue
            if any(cross(a, b, poly[j]) > 0 and cross(b, c, poly[j]) > 0 and cross(c, a, poly[j]) > 0
                   for j in idx if j not in (i0, i1, i2)):
                continue
            tris.append((i0, i1, i2))
            idx.pop(k)
            break
        else:
            raise ValueError("polygon is not simple")
    tris.append(tuple(idx))
    return tris


def slab(outline, thickness, material, edge=None, bevel=0.0):
    """A flat plate: a simple polygon of (x, z) points extruded along y by thickness
    (centred on y = 0). The top and bottom are one patch each; the rim (edge material)
    is one patch per side. bevel shrinks the top and bottom outlines towards the centre."""
    poly = [tuple(p) for p in outline]
    area = sum(poly[k - 1][0] * poly[k][1] - poly[k][0] * poly[k - 1][1] for k in range(len(poly)))
    if area < 0:
        poly = poly[::-1]
    n = len(poly)
    centre = np.mean(poly, axis=0)
    inner = [tuple(centre + (np.array(p) - centre) * (1 - bevel)) for p in poly]
    h = thickness / 2
    # Outline counter-clockwise in (x, z) runs clockwise seen from +y, so the top takes the
    # triangles reversed.
    top = [tuple((inner[c][0], h, inner[c][1]) for c in (i, k, j)) for i, j, k in _ear_clip(inner)]
    bottom = [tuple((inner[c][0], -h, inner[c][1]) for c in t) for t in _ear_clip(inner)]
    rim = []
    for k in range(n):
        a, b = poly[k], poly[(k + 1) % n]
        ia, ib = inner[k], inner[(k + 1) % n]
        ring = [(ia[0], -h, ia[1]), (ib[0], -h, ib[1]), (b[0], 0, b[1]), (a[0], 0, a[1]),
                (ia[0], h, ia[1]), (ib[0], h, ib[1])]
        tris = [(ring[0], ring[3], ring[2]), (ring[0], ring[2], ring[1]),
                (ring[3], ring[4], ring[5]), (ring[3], ring[5], ring[2])]
        rim.append((edge or material, [t for t in tris if _area(t) > 1e-9]))
    return _outward([(material, top), (material, bottom)] + rim)


def _area(t):
    a, b, c = (np.array(p) for p in t)
    return float(np.linalg.norm(np.cross(b - a, c - a)))


class Model:
    """Named objects (each a Solid) and the materials they use, written as one 3DS file."""

    def __init__(self, materials):
        self.materials = dict(materials)  # name -> (r, g, b)
        self.objects = []  # (name, Solid, with texture coordinates)

    def add(self, name, solid, uv=False):
        self.objects.append((name, solid, uv))

    def build(self):
        """Per object: integer vertex positions, faces, material groups, smoothing masks
        and texture coordinates, the way the file stores them."""
        built = []
        for name, solid, uv in self.objects:
            vertices, faces, groups, patch_of_face = [], [], {}, []
            patch_vertices = []
            for patch, (material, tris) in enumerate(solid.patches):
                if material not in self.materials:
                    raise KeyError(f"{name}: unknown material {material}")
                index = {}
                corners = np.rint(tris).astype(np.int64)
                for tri in corners:
                    if not np.cross(tri[1] - tri[0], tri[2] - tri[0]).any():
                        raise ValueError(f"{name}: a face collapses to a line in model units")
                    face = []
                    for p in map(tuple, tri):
                        if p not in index:
                            index[p] = len(vertices)
                            vertices.append(p)
                        face.append(index[p])
                    groups.setdefault(material, []).append(len(faces))
                    faces.append(tuple(face))
                    patch_of_face.append(patch)
                patch_vertices.append(set(index))
            smoothing = _smoothing_bits(patch_vertices)
            texcoords = _planar_uv(vertices) if uv else None
            built.append({"name": name, "vertices": vertices, "faces": faces, "groups": groups,
                          "smoothing": [smoothing[p] for p in patch_of_face], "uv": texcoords})
        return built

    def write(self, path):
        built = self.build()
        used = sorted({m for b in built for m in b["groups"]})
        objects = []
        for b in built:
            floats = [tuple(c / FILE_UNIT for c in v) for v in b["vertices"]]
            chunk = studio3ds.object_chunk(b["name"], floats, b["faces"], sorted(b["groups"].items()),
                                           b["smoothing"], b["uv"])
            objects.append((b["name"], chunk))
        data = studio3ds.file_bytes([(m, self.materials[m]) for m in used], objects)
        with open(path, "wb") as f:
            f.write(data)
        return built


def _smoothing_bits(patch_vertices):
    """One smoothing-group bit per patch, different for patches that touch, so readers that
    rebuild normals from the groups blend exactly where our vertices are shared."""
    bits = []
    for k, verts in enumerate(patch_vertices):
        taken = {bits[j] for j in range(k) if patch_vertices[j] & verts}
        bit = next(b for b in range(32) if b not in taken)
        bits.append(bit)
    return [1 << b for b in bits]


def _planar_uv(vertices):
    """Texture coordinates from a front projection: u across x, v up y, 0 to 1 over the
    object."""
    v = np.asarray(vertices, dtype=np.float64)
    lo, hi = v.min(axis=0), v.max(axis=0)
    span = np.where(hi > lo, hi - lo, 1)
    u = (v[:, 0] - lo[0]) / span[0]
    t = (v[:, 1] - lo[1]) / span[1]
    return [(round(a, 4), round(b, 4)) for a, b in zip(u, t)]
