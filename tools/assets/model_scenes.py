"""Where the demo shows each of its four models, frame by frame: the position, the angles,
the render flags and the lights of every frame that draws the model, following the demo's
timeline (the first scene's flight and hover, the second scene's three models)."""

from fixed3d import SCENE2_LIGHT, cos16

SHADED, FLAT_LIT, WIREFRAME = 1024, 512, 256


class Frame:
    def __init__(self, frame, position, angles, flags, lights):
        self.frame = frame
        self.position = position  # X, Y, Z
        self.angles = angles  # RX, RY
        self.flags = flags
        self.lights = lights  # the enabled lights: (direction, ambient, diffuse)


def scene1_craft():
    """Model 112, frames 201 to 800 of the first scene. No light is enabled in this scene, so
    a lit flag draws the model in its vertex colours."""
    x, y, z, rx, ry = 16000, 0, -500, 200, 400
    for f in range(201, 801):
        yield Frame(f, (x, y, z), (rx, ry), SHADED, [])
        if x > -12500:
            x -= 90
            rx -= 1
            if ry > 0:
                ry -= 2
        elif z < 0:
            z += 10
            rx = 0
        else:
            x, y, z = -12900, -1500, 25000
            rx = int(cos16(20 * f) / 900)


def scene2_tower(ry=0):
    """Model 113, frames 201 to 1000 of the second scene (RY goes on from the first scene's
    last value, 0)."""
    for f in range(201, 1001):
        ry += 10
        yield Frame(f, (0, -5000, -50000), (200, ry), FLAT_LIT, [SCENE2_LIGHT])


def scene2_walker(ry=8000):
    """Model 114, frames 1001 to 1800."""
    for f in range(1001, 1801):
        ry += 10
        flags = WIREFRAME if f % 150 == 0 else FLAT_LIT if f % 100 == 0 else SHADED
        yield Frame(f, (0, 0, 15000), (0, ry), flags, [SCENE2_LIGHT])


def scene2_boss(ry=16000):
    """Model 115, frames 1801 to 2300: it comes from far away and sinks, shaded at first,
    then lit per face with five-frame wireframe flashes."""
    flags, countdown = SHADED, 100
    for f in range(1801, 2301):
        t = f - 1800
        ry += 10
        countdown -= 1
        if countdown == 0:
            flags, countdown = (FLAT_LIT, 70) if flags == WIREFRAME else (WIREFRAME, 5)
        yield Frame(f, (0, (-100 - t) * 5, (t - 300) * 100), (0, ry), flags, [SCENE2_LIGHT])


SCENES = {112: scene1_craft, 113: scene2_tower, 114: scene2_walker, 115: scene2_boss}

