"""Model 112: a flight of three alien raiders, the craft that flies past the slogans.

The first scene moves the model's origin from far right to the left and then holds it at
(-12 900, -1 500, 25 000), where the picture spans only about +-970 units across; so the
craft are placed round the origin to suit that path. Two wingmen sit near the origin's line:
they cross the picture during the flight and are far out of it later. The leader sits at
(12 900, 1 500, 0): it comes in last, stops near the middle, and when the scene brings the
model close it is the craft that hovers in the middle of the picture, rocking.

No light is on in that scene, so the craft are drawn in their vertex colours: every panel
takes a tone of its own (light on top, dark underneath), so the shape reads without light.
"""

import numpy as np

from meshkit import Model, cylinder, ellipsoid, lathe, loft, rot_x, rot_y, rot_z, slab

MATERIALS = {
    "raider_top": (132, 226, 178),
    "raider_side": (78, 178, 138),
    "raider_flank": (44, 120, 96),
    "raider_belly": (24, 70, 58),
    "raider_wing": (40, 116, 92),
    "raider_glow": (186, 255, 214),
    "raider_eye": (255, 236, 96),
    "raider_glass": (30, 54, 70),
    "raider_engine": (54, 60, 74),
    "raider_flame": (255, 112, 56),
    "raider_spike": (222, 210, 178),
}

# (x, half width, height of the ridge, depth of the keel); the nose is a point.
HULL = [(-700, 52, 40, 28), (-520, 110, 84, 48), (-300, 160, 122, 66), (-40, 196, 144, 82),
        (240, 206, 146, 86), (480, 188, 120, 80), (700, 150, 92, 70)]
NOSE = (-900, 6)
# The points round each section, (across, up): ridge, shoulder, chine, lower flank, keel,
# and the same on the other side.
SECTION = [(0.0, 1.0), (0.72, 0.62), (1.0, 0.04), (0.74, -0.64), (0.0, -1.0), (-0.74, -0.64),
           (-1.0, 0.04), (-0.72, 0.62)]
# The strip from each point to the next: lighter the more it faces up.
STRIPS = ["raider_top", "raider_side", "raider_flank", "raider_belly", "raider_belly",
          "raider_flank", "raider_side", "raider_top"]
# A manta wing whose tip hooks forward like a claw.
WING = [(-200, 140), (470, 140), (560, 400), (780, 600), (600, 700), (330, 880), (360, 640),
        (100, 470)]
FIN = [(200, 110), (640, 104), (840, 330), (720, 346)]


def hull():
    rings = [[(NOSE[0], NOSE[1], 0.0)] * len(SECTION)]
    for x, w, top, keel in HULL:
        rings.append([(x, (top if y > 0 else keel) * y, w * z) for z, y in SECTION])
    return loft(rings, STRIPS, caps="raider_engine")


def wings():
    left = slab(WING, 44, "raider_wing", edge="raider_glow", bevel=0.12)
    # A little anhedral: the tips hang below the hull's chines.
    left = left.turned(rot_x(10)).moved(0, -10, 0)
    return left + left.scaled(1, 1, -1)


def canopy(segments):
    dome = ellipsoid(70, 230, 80, "raider_glass", segments=segments, rings=segments // 2 + 1)
    return dome.turned(rot_z(90)).moved(-260, 150, 0)


def eyes(segments):
    eye = ellipsoid(46, 34, 40, "raider_eye", segments=segments, rings=segments // 2)
    return eye.moved(-560, 30, 62) + eye.moved(-560, 30, -62)


def engines(segments):
    pod = cylinder(84, 0, 470, "raider_engine", segments=segments, cap="raider_flame")
    pod = pod.turned(rot_z(-90)).moved(340, -24, 0)
    return pod.moved(0, 0, 178) + pod.moved(0, 0, -178)


def fin():
    f = slab(FIN, 36, "raider_wing", edge="raider_glow", bevel=0.1)
    return f.turned(rot_x(-90))


def spikes(segments):
    s = lathe([(0, 0), (36, 0), (0, 420)], segments, "raider_spike", smooth=False)
    s = s.turned(rot_z(90)).moved(-470, -20, 0)
    return s.moved(0, 0, 132) + s.moved(0, 0, -132)


# The craft's own attitude, the same for all three: turned 25 degrees so its nose points a
# little towards the viewer and rolled 20 degrees so its back shows.
POSE = np.asarray(rot_y(25)) @ np.asarray(rot_x(20))

# (name prefix, position of the craft in the model, size, detail)
FLIGHT = [("lead", (12900, 1500, -3000), 1.2, 12), ("wing1", (-10000, 3300, -2000), 1.3, 8),
          ("wing2", (1500, -2900, -1000), 1.3, 8)]


def craft_parts(detail):
    return [("hull", hull()), ("wings", wings()), ("canopy", canopy(detail)), ("eyes", eyes(8)),
            ("engines", engines(detail)), ("fin", fin()), ("spikes", spikes(6))]


def build():
    model = Model(MATERIALS)
    for prefix, (x, y, z), size, detail in FLIGHT:
        for part, solid in craft_parts(detail):
            placed = solid.scaled(size).turned(POSE).moved(x, y, z)
            model.add(f"{prefix}_{part}", placed)
    return model
