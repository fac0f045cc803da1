"""The advert's large game-view piece: a top-down look at a Vorlund battlefield, with a
winding road, towers along it, a wave of aliens, shots in flight and the game's status bar."""

import numpy as np

from assetlib import hash_noise, pixel_text, value_noise
from sketch import Sketch

# The road, as a polyline in piece coordinates; aliens walk it from left to right.
ROAD = [(-8, 34), (52, 34), (60, 40), (62, 92), (70, 100), (122, 100), (130, 94), (132, 52),
        (140, 44), (206, 44)]


def grass(w, h):
    n = value_noise((h, w), 18, 11)
    fine = hash_noise((h, w), 12)
    base = np.array([58, 112, 44], dtype=np.float64)
    light = np.array([104, 150, 62], dtype=np.float64)
    t = np.clip(n * 1.4 - 0.2, 0, 1)[..., None]
    img = base * (1 - t) + light * t
    img *= (0.9 + 0.2 * fine)[..., None]
    # Sparse flowers.
    flowers = hash_noise((h, w), 13) > 0.997
    img[flowers] = (235, 220, 120)
    return img


def road_mask(w, h, s, width):
    from PIL import Image, ImageDraw
    img = Image.new("L", (w * s, h * s), 0)
    d = ImageDraw.Draw(img)
    d.line([(x * s, y * s) for x, y in ROAD], fill=255, width=int(width * s), joint="curve")
    for x, y in ROAD:
        r = width * s / 2
        d.ellipse([x * s - r, y * s - r, x * s + r, y * s + r], fill=255)
    return np.asarray(img.resize((w, h), Image.BOX), dtype=np.float64) / 255.0


def point_on_road(t):
    """The point at fraction t of the road's length."""
    pts = np.array(ROAD, dtype=np.float64)
    seg = np.hypot(*(pts[1:] - pts[:-1]).T)
    target = t * seg.sum()
    for i, length in enumerate(seg):
        if target <= length:
            return tuple(pts[i] + (pts[i + 1] - pts[i]) * target / length)
        target -= length
    return tuple(pts[-1])


def draw_tower(sk, x, y, kind):
    """A tower seen from above: a stone base and a turret of its kind."""
    sk.circle(x + 1.5, y + 1.5, 8, fill=(30, 44, 24))  # shadow
    sk.circle(x, y, 8, fill=(120, 118, 112), outline=(70, 68, 66), width=1)
    sk.circle(x, y, 6, fill=(150, 146, 138))
    if kind == "cannon":
        sk.line([(x, y), (x + 9, y - 5)], fill=(40, 40, 46), width=3)
        sk.circle(x, y, 4.5, fill=(74, 78, 90), outline=(30, 30, 36), width=1)
    elif kind == "laser":
        sk.circle(x, y, 4.5, fill=(40, 170, 220), outline=(20, 60, 100), width=1)
        sk.circle(x - 1.2, y - 1.2, 1.6, fill=(210, 250, 255))
    elif kind == "rocket":
        sk.rect((x - 4, y - 4, x + 4, y + 4), fill=(170, 40, 34), outline=(80, 20, 16), width=1)
        sk.circle(x - 1.8, y, 1.4, fill=(250, 220, 120))
        sk.circle(x + 1.8, y, 1.4, fill=(250, 220, 120))
    elif kind == "frost":
        sk.polygon([(x, y - 5.5), (x + 5, y), (x, y + 5.5), (x - 5, y)], fill=(170, 225, 255),
                   outline=(70, 120, 170), width=1)
        sk.circle(x, y, 1.5, fill=(255, 255, 255))


def draw_alien(sk, x, y, kind, health):
    colours = {"crawler": ((120, 40, 150), (200, 120, 230)),
               "beetle": ((150, 90, 20), (230, 170, 60)),
               "flyer": ((30, 120, 90), (120, 230, 180))}
    dark, light = colours[kind]
    sk.ellipse((x - 4 + 1, y - 3 + 2, x + 4 + 1, y + 3 + 2), fill=(40, 34, 24))  # shadow
    if kind == "flyer":
        sk.polygon([(x - 7, y - 2), (x, y), (x - 7, y + 3)], fill=light)
        sk.polygon([(x + 7, y - 2), (x, y), (x + 7, y + 3)], fill=light)
    else:
        for leg in (-3, 0, 3):
            sk.line([(x + leg, y - 4), (x + leg, y + 4)], fill=dark, width=1)
    sk.ellipse((x - 4, y - 3, x + 4, y + 3), fill=dark, outline=(20, 10, 24), width=0.7)
    sk.ellipse((x - 2.5, y - 2.2, x + 1.5, y + 0.8), fill=light)
    sk.circle(x + 2, y - 1, 0.9, fill=(255, 250, 120))
    sk.circle(x + 2, y + 1, 0.9, fill=(255, 250, 120))
    # Health bar above the alien.
    sk.rect((x - 5, y - 7, x + 5, y - 5.6), fill=(60, 10, 10))
    sk.rect((x - 5, y - 7, x - 5 + 10 * health, y - 5.6), fill=(80, 230, 60))


TOWERS = [(40, 52, "cannon"), (80, 84, "laser"), (48, 112, "frost"), (112, 30, "rocket"),
          (150, 62, "cannon"), (106, 76, "frost"), (178, 28, "laser")]
ALIENS = [(0.10, "crawler", 1.0), (0.22, "beetle", 0.8), (0.33, "crawler", 0.6),
          (0.47, "beetle", 0.9), (0.58, "flyer", 0.5), (0.70, "crawler", 0.3),
          (0.84, "flyer", 0.7)]


def game_view(w=199, h=118):
    s = 3
    img = grass(w, h)
    road = road_mask(w, h, s, 15)
    edge = np.clip(road_mask(w, h, s, 18) - road, 0, 1)
    dirt_noise = value_noise((h, w), 6, 21)
    dirt = np.array([196, 160, 104], dtype=np.float64) * (0.85 + 0.3 * dirt_noise)[..., None]
    img = img * (1 - road[..., None]) + dirt * road[..., None]
    img *= (1 - 0.35 * edge)[..., None]
    # Wheel ruts along the road.
    ruts = np.clip(road_mask(w, h, s, 9) - road_mask(w, h, s, 7), 0, 1)
    img *= (1 - 0.18 * ruts)[..., None]

    sk = Sketch(w, h, s)
    sk.paste_array(img)
    # Trees and rocks away from the road.
    for tx, ty, r in [(12, 60, 7), (20, 72, 6), (8, 96, 8), (94, 16, 6), (186, 96, 9),
                      (170, 108, 7), (196, 74, 6), (92, 60, 5)]:
        sk.circle(tx + 2, ty + 2, r, fill=(26, 48, 20))
        sk.circle(tx, ty, r, fill=(34, 84, 34))
        sk.circle(tx - r * 0.3, ty - r * 0.3, r * 0.55, fill=(62, 122, 50))
    for rx, ry in [(146, 112), (28, 14), (160, 80)]:
        sk.ellipse((rx - 4, ry - 3, rx + 4, ry + 3), fill=(128, 126, 120), outline=(80, 78, 74))
    # Range of the selected laser tower.
    lx, ly = 80, 84
    sk.overlay(lambda d, k: d.ellipse(k._box((lx - 30, ly - 30, lx + 30, ly + 30)),
                                      fill=(120, 220, 255, 40), outline=(170, 240, 255, 200),
                                      width=k.s), 1.0)
    for x, y, kind in TOWERS:
        draw_tower(sk, x, y, kind)
    positions = []
    for t, kind, health in ALIENS:
        x, y = point_on_road(t)
        positions.append((x, y))
        draw_alien(sk, x, y, kind, health)
    # Shots: a laser beam, a cannon shell, a rocket trail and a frost ring.
    ax, ay = positions[3]
    sk.line([(lx, ly), (ax, ay)], fill=(140, 240, 255), width=1.6)
    sk.line([(lx, ly), (ax, ay)], fill=(255, 255, 255), width=0.6)
    sk.circle(118, 42, 1.6, fill=(40, 40, 40))
    rx, ry = positions[5]
    sk.line([(112, 30), (rx - 3, ry - 5)], fill=(230, 230, 220), width=1)
    sk.circle(rx - 3, ry - 5, 1.8, fill=(255, 200, 80))
    fx, fy = positions[2]
    sk.circle(fx, fy, 7, outline=(210, 245, 255), width=0.8)
    result = sk.result()

    # Explosion on one alien: additive light.
    ex, ey = positions[1]
    y, x = np.mgrid[0:h, 0:w]
    blast = np.exp(-((x - ex) ** 2 + (y - ey) ** 2) / 18.0)
    result = np.clip(result + blast[..., None] * np.array([255, 190, 80]), 0, 255)

    # Status bar: money, lives, wave.
    result[:11] = result[:11] * 0.35 + np.array([10, 16, 30]) * 0.65
    result[11] = (90, 110, 150)
    pixel_text(result, 3, 2, "$1250", (255, 220, 90), (0, 0, 0))
    for row, bits in enumerate(["01010", "11111", "11111", "01110", "00100"]):
        for col, bit in enumerate(bits):
            if bit == "1":
                result[3 + row, 48 + col] = (255, 80, 90)
    pixel_text(result, 56, 2, "20", (255, 255, 255), (0, 0, 0))
    pixel_text(result, 84, 2, "ВОЛНА 7/30", (170, 230, 255), (0, 0, 0))
    pixel_text(result, 162, 2, "x2 >", (200, 200, 200), (0, 0, 0))
    return result
