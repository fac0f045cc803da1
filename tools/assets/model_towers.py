"""Models 113 and 114: the game's two tower types, as the second scene turns them beside the
captions about towers.

113, the cannon tower: a stepped stone plinth, a tapering shaft with a gold band (the second
upgrade level) and arrow slits, a battlement crown, a metal turret with twin barrels and a red
beacon. The scene shows it far away (depth -50 000) below the middle, tipped towards the
viewer, lit per face: so it is tall and faceted, with its origin at its foot.

114, the laser tower: a hexagonal foot, a slender smooth column with three gold rings, a
platform whose three claws hold a floating blue crystal, and three orbiting sparks. The
scene shows it close (depth 15 000) in the middle of the picture, smoothly shaded and lit:
so its origin is at its middle and its column is round.
"""

import math

from meshkit import Model, box, cylinder, ellipsoid, frustum, lathe, loft, rot_y

CANNON_MATERIALS = {
    "stone": (152, 146, 134),
    "stone_dark": (98, 92, 86),
    "gold": (200, 156, 60),
    "slit": (28, 24, 22),
    "metal": (78, 84, 100),
    "metal_dark": (50, 54, 66),
    "barrel": (44, 44, 52),
    "brass": (214, 176, 90),
    "beacon": (230, 46, 32),
}

LASER_MATERIALS = {
    "tower_stone": (168, 176, 196),
    "tower_base": (108, 116, 138),
    "gold": (200, 156, 60),
    "steel": (122, 132, 152),
    "crystal": (64, 196, 255),
    "crystal_light": (200, 246, 255),
    "spark": (250, 252, 170),
}


def plinth():
    profile = [(0, 0), (2700, 0), (2700, 520), (2300, 760), (2300, 1400), (0, 1400)]
    return lathe(profile, 8, ["stone_dark", "stone_dark", "stone", "stone", "stone"],
                 smooth=False, creases=(1, 2, 3, 4), start_angle=math.pi / 8)


def shaft():
    profile = [(0, 1400), (1620, 1400), (1470, 4100), (1600, 4180), (1600, 4620), (1450, 4700),
               (1320, 7300), (0, 7300)]
    bands = ["stone", "stone", "gold", "gold", "gold", "stone", "stone"]
    return lathe(profile, 10, bands, smooth=False, creases=range(1, 7))


def _shaft_radius(y):
    """The shaft's corner radius at height y, between the plinth and the gold band or
    between the band and the crown."""
    if y < 4100:
        return 1620 - 150 * (y - 1400) / 2700
    return 1450 - 130 * (y - 4700) / 2600


def slits():
    """Arrow slits in the middle of every other facet, below and above the gold band."""
    out = None
    for k in range(5):
        facet = 36 * (2 * k + 0.5)
        for y in (2800, 5900):
            face = _shaft_radius(y) * math.cos(math.radians(18))
            s = box(0, y, face, 180, 620, 90, "slit").turned(rot_y(facet + 90))
            out = s if out is None else out + s
    return out


def crown():
    ring = lathe([(0, 7300), (1500, 7300), (1860, 7620), (1860, 7900), (0, 7900)], 10,
                 ["stone", "stone_dark", "stone", "stone"], smooth=False, creases=(1, 2, 3))
    for k in range(10):
        merlon = box(0, 8200, 1700, 440, 600, 300, "stone").turned(rot_y(36 * k + 18))
        ring = ring + merlon
    return ring


def turret():
    profile = [(0, 7900), (1250, 7900), (1300, 8500), (1100, 9250), (640, 9750), (0, 9900)]
    return lathe(profile, 14, ["metal_dark", "metal", "metal", "metal", "metal"],
                 creases=(1, 2))


def barrels():
    out = box(0, 8650, 1150, 1300, 760, 700, "metal_dark")
    for x in (-360, 360):
        tube = cylinder(190, 0, 3000, "barrel", segments=8).turned([[1, 0, 0], [0, 0, -1],
                                                                    [0, 1, 0]])
        muzzle = frustum(270, 250, 0, 420, "brass", segments=8).turned([[1, 0, 0], [0, 0, -1],
                                                                        [0, 1, 0]])
        out = out + tube.moved(x, 8650, 1300) + muzzle.moved(x, 8650, 4050)
    return out


def beacon():
    return ellipsoid(260, 260, 260, "beacon", segments=8, rings=5).moved(0, 10050, 0)


# The cannon tower's parts are drawn at 4/5 of its size in the file.
CANNON_SCALE = 1.25


def cannon_tower():
    model = Model(CANNON_MATERIALS)
    for name, solid in (("plinth", plinth()), ("shaft", shaft()), ("slits", slits()),
                        ("crown", crown()), ("turret", turret()), ("barrels", barrels()),
                        ("beacon", beacon())):
        model.add(name, solid.scaled(CANNON_SCALE), uv=True)
    return model


def foot():
    profile = [(0, -2300), (1150, -2300), (1150, -2060), (900, -1900), (900, -1720), (0, -1720)]
    return lathe(profile, 6, ["tower_base", "tower_base", "tower_stone", "tower_base",
                              "tower_base"], smooth=False, creases=(1, 2, 3, 4))


def column():
    profile = [(0, -1720), (560, -1720), (470, -1100), (400, -300), (380, 300), (470, 640),
               (0, 640)]
    return lathe(profile, 16, "tower_stone", creases=(1, 5))


def rings():
    out = None
    for y, radius in ((-1180, 530), (-480, 470), (200, 450)):
        tube = [(radius + 80 * math.cos(a * math.pi / 3), y + 80 * math.sin(a * math.pi / 3))
                for a in range(6)]
        tube.append(tube[0])
        ring = lathe(tube, 16, "gold")
        out = ring if out is None else out + ring
    return out


def platform():
    disc = frustum(520, 720, 640, 800, "steel", segments=12, smooth=True)
    for k in range(3):
        claw = loft([[(x + dx, y, dz) for dx, dz in ((-60, -60), (60, -60), (60, 60), (-60, 60))]
                     for x, y in ((560, 780), (660, 1160), (560, 1520), (380, 1740))], ["steel"],
                    caps="steel")
        disc = disc + claw.turned(rot_y(120 * k + 30))
    return disc


def crystal():
    profile = [(0, 960), (360, 1500), (300, 1760), (0, 2240)]
    return lathe(profile, 6, ["crystal", "crystal_light", "crystal"], smooth=False,
                 creases=(1, 2))


def sparks():
    out = None
    for k in range(3):
        spark = ellipsoid(90, 90, 90, "spark", segments=6, rings=4).moved(1000, 1350 + 120 * k, 0)
        spark = spark.turned(rot_y(120 * k))
        out = spark if out is None else out + spark
    return out


def laser_tower():
    model = Model(LASER_MATERIALS)
    for name, solid in (("foot", foot()), ("column", column()), ("rings", rings()),
                        ("platform", platform()), ("crystal", crystal()), ("sparks", sparks())):
        model.add(name, solid, uv=True)
    return model
