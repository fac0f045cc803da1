"""Model 115: the boss, a horned alien beast on four legs, red like the boss in the advert's
landscape piece, with bone horns, a row of back spines, yellow eyes and a tail.

The scene brings it from depth -29 900 to 20 000 while it sinks (its origin from 505 to
3 000 units below the view's axis) and turns: so its origin is at its feet and it stands
about 3 600 units tall, and it ends over-filling the lower part of the picture, head up.
It faces +z.
"""

import math

import numpy as np

from meshkit import Model, ellipsoid, lathe, loft, rot_x

MATERIALS = {
    "hide": (156, 24, 34),
    "hide_dark": (92, 12, 22),
    "belly": (206, 96, 72),
    "horn": (232, 222, 200),
    "eye": (255, 238, 64),
    "teeth": (246, 244, 232),
    "claw": (58, 40, 40),
    "spine": (236, 200, 140),
}


def _ring(centre, radius, normal, sides):
    """A ring of points round centre, perpendicular to the direction normal."""
    n = np.asarray(normal, dtype=np.float64)
    n /= np.linalg.norm(n)
    helper = np.array([0.0, 0.0, 1.0]) if abs(n[2]) < 0.9 else np.array([1.0, 0.0, 0.0])
    u = np.cross(n, helper)
    u /= np.linalg.norm(u)
    v = np.cross(n, u)
    return [tuple(np.asarray(centre) + radius * (math.cos(a) * u + math.sin(a) * v))
            for a in (2 * math.pi * k / sides for k in range(sides))]


def tube(path, radii, material, sides=8, tip=None):
    """A closed tube along a path of points with a radius at each; tip: a point the tube
    ends in instead of a flat end."""
    pts = [np.asarray(p, dtype=np.float64) for p in path]
    rings = []
    for k, (p, r) in enumerate(zip(pts, radii)):
        ahead = pts[min(k + 1, len(pts) - 1)] - pts[max(k - 1, 0)]
        rings.append(_ring(p, r, ahead, sides))
    if tip is not None:
        rings.append([tuple(tip)] * sides)
    return loft(rings, [material], caps=material, smooth_round=True)


def body():
    back = ellipsoid(1300, 1000, 1450, "hide", segments=16, rings=9).moved(0, 2050, -100)
    return back


def belly():
    return ellipsoid(1020, 720, 1200, "belly", segments=12, rings=7).moved(0, 1750, 250)


def head():
    skull = ellipsoid(720, 600, 680, "hide", segments=12, rings=7).moved(0, 2500, 1500)
    jaw = ellipsoid(560, 260, 560, "hide_dark", segments=10, rings=5).moved(0, 2080, 1760)
    return skull + jaw


def teeth():
    out = None
    for k in range(6):
        a = math.radians(-50 + 20 * k)
        x, z = 520 * math.sin(a), 1760 + 470 * math.cos(a)
        fang = lathe([(0, 0), (70, 0), (0, -240 if k in (0, 5) else -160)], 5, "teeth",
                     smooth=False).moved(x, 2300, z)
        out = fang if out is None else out + fang
    return out


def horns():
    out = None
    for side in (-1, 1):
        path = [(side * 560, 2700, 1450), (side * 900, 3000, 1350), (side * 1200, 3350, 1200),
                (side * 1350, 3700, 1000), (side * 1300, 3950, 820)]
        horn = tube(path, [200, 170, 130, 90, 50], "horn", sides=7,
                    tip=(side * 1200, 4080, 700))
        out = horn if out is None else out + horn
    return out


def eyes():
    eye = ellipsoid(130, 110, 90, "eye", segments=8, rings=5)
    return eye.moved(-300, 2640, 2110) + eye.moved(300, 2640, 2110)


def legs():
    out = None
    for sx in (-1, 1):
        for sz, lean in ((1, 1), (-1, -1)):
            hip = (sx * 850, 1700, sz * 750)
            knee = (sx * 1150, 900, sz * 750 + lean * 250)
            ankle = (sx * 1050, 260, sz * 750 + lean * 100)
            leg = tube([hip, knee, ankle], [420, 300, 230], "hide_dark", sides=8)
            paw = ellipsoid(330, 180, 400, "claw", segments=8, rings=5)
            paw = paw.moved(ankle[0], 180, ankle[2] + 120)
            leg = leg + paw
            out = leg if out is None else out + leg
    return out


def spines():
    out = None
    for k in range(6):
        z = -1100 + 380 * k
        y = 2050 + 1000 * math.sqrt(max(0.0, 1 - ((z + 100) / 1450) ** 2)) - 120
        height = 520 - 50 * abs(k - 2.5)
        spike = lathe([(0, 0), (150, 0), (0, height)], 6, "spine", smooth=False)
        out = spike.turned(rot_x(-25)).moved(0, y, z) if out is None else \
            out + spike.turned(rot_x(-25)).moved(0, y, z)
    return out


def tail():
    path = [(0, 1900, -1400), (0, 1500, -2000), (0, 1000, -2500), (0, 700, -2900)]
    return tube(path, [420, 300, 190, 110], "hide", sides=8, tip=(0, 560, -3250))


def build():
    model = Model(MATERIALS)
    for name, solid in (("body", body()), ("belly", belly()), ("head", head()), ("teeth", teeth()),
                        ("horns", horns()), ("eyes", eyes()), ("legs", legs()),
                        ("spines", spines()), ("tail", tail())):
        model.add(name, solid, uv=True)
    return model
