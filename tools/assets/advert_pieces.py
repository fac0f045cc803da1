"""The advert's smaller pieces, one function each, returning an H x W x 3 float picture of
exactly the piece's size. The demo shows each beside a caption (see make_advert.py)."""

import numpy as np

from advert_gameview import draw_alien, draw_tower
from assetlib import hash_noise, pixel_text, pixel_text_width, value_noise
from sketch import Sketch, styled_text, vertical_gradient


def starry_sky(w, h, top, bottom, seed):
    sky = vertical_gradient(w, h, top, bottom)
    stars = hash_noise((h, w), seed)
    twinkle = hash_noise((h, w), seed + 1)
    bright = stars > 0.985
    sky[bright] = np.clip(sky[bright] + (120 + 135 * twinkle[bright])[:, None], 0, 255)
    return sky


def tower_side(sk, x, ground, kind, level=1, size=1.0, stars=False):
    """A tower seen from the side, standing on ground at x; higher levels are taller and
    carry more armour, and with stars its level is shown under its foot."""
    k = size
    height = (22 + 6 * (level - 1)) * k
    half = 7 * k
    stone, stone_dark = (150, 146, 136), (96, 92, 86)
    # Body: a tapered stone column with courses of blocks.
    sk.polygon([(x - half, ground), (x - half * 0.75, ground - height),
                (x + half * 0.75, ground - height), (x + half, ground)], fill=stone,
               outline=stone_dark, width=0.6)
    for course in range(1, int(height / (4 * k))):
        y = ground - course * 4 * k
        sk.line([(x - half * 0.9, y), (x + half * 0.9, y)], fill=stone_dark, width=0.4)
    if level >= 2:
        sk.rect((x - half * 0.95, ground - height * 0.55, x + half * 0.95, ground - height * 0.45),
                fill=(190, 150, 60))
    if level >= 3:
        sk.rect((x - half * 0.95, ground - height * 0.25, x + half * 0.95, ground - height * 0.17),
                fill=(190, 150, 60))
    top = ground - height
    # Battlements.
    for i in range(-2, 3):
        sk.rect((x + i * 2.6 * k - 1 * k, top - 3 * k, x + i * 2.6 * k + 1 * k, top), fill=stone,
                outline=stone_dark, width=0.3)
    head = top - 4 * k
    if kind == "cannon":
        sk.circle(x, head, 4.5 * k, fill=(70, 74, 86), outline=(30, 30, 36), width=0.5)
        sk.line([(x, head), (x + 9 * k, head - 4 * k)], fill=(40, 40, 46), width=2.6 * k)
    elif kind == "laser":
        sk.line([(x, top), (x, head - 5 * k)], fill=(120, 130, 150), width=1.2 * k)
        sk.circle(x, head - 6 * k, 3.5 * k, fill=(60, 200, 255), outline=(20, 70, 120), width=0.5)
        sk.circle(x - 1 * k, head - 7 * k, 1.2 * k, fill=(230, 255, 255))
    elif kind == "rocket":
        for dx in (-2.5, 2.5):
            sk.polygon([(x + dx * k - 1.5 * k, top), (x + dx * k - 1.5 * k, head - 6 * k),
                        (x + dx * k, head - 9 * k), (x + dx * k + 1.5 * k, head - 6 * k),
                        (x + dx * k + 1.5 * k, top)], fill=(190, 46, 38))
    elif kind == "frost":
        sk.polygon([(x, head - 10 * k), (x + 4 * k, head), (x, head + 3 * k), (x - 4 * k, head)],
                   fill=(175, 230, 255), outline=(80, 140, 190), width=0.5)
        sk.line([(x, head - 8 * k), (x, head + 1 * k)], fill=(255, 255, 255), width=0.5)
    for star in range(level if stars else 0):
        cx = x + (star - (level - 1) / 2) * 4 * k
        sk.polygon(star_points(cx, ground + 4 * k, 1.8 * k), fill=(255, 214, 60))


def orbit_points(cx, cy, rx, ry, angle, steps=24):
    """A closed ellipse turned by angle, as a polyline."""
    t = np.linspace(0, 2 * np.pi, steps + 1)
    x, y = rx * np.cos(t), ry * np.sin(t)
    c, s = np.cos(angle), np.sin(angle)
    return [(cx + c * a - s * b, cy + s * a + c * b) for a, b in zip(x, y)]


def star_points(cx, cy, r):
    pts = []
    for i in range(10):
        a = -np.pi / 2 + i * np.pi / 5
        rr = r if i % 2 == 0 else r * 0.45
        pts.append((cx + rr * np.cos(a), cy + rr * np.sin(a)))
    return pts


def title_art(w=179, h=98):
    img = starry_sky(w, h, (6, 10, 40), (70, 30, 90), 31)
    sk = Sketch(w, h, 3)
    sk.paste_array(img)
    # A ringed planet, lit from the left.
    sk.overlay(lambda d, k: d.ellipse(k._box((118, 4, 178, 64)), fill=(230, 120, 70, 255)))
    sk.overlay(lambda d, k: d.ellipse(k._box((126, 6, 186, 66)), fill=(40, 16, 40, 200)))
    sk.overlay(lambda d, k: d.ellipse(k._box((104, 28, 190, 42)), outline=(255, 210, 160, 170),
                                      width=2 * k.s))
    # Hills and a fortress line of towers against the sky.
    sk.polygon([(0, 80), (30, 70), (60, 76), (95, 66), (130, 74), (179, 68), (179, 98), (0, 98)],
               fill=(24, 20, 44))
    sk.polygon([(0, 88), (40, 82), (90, 88), (140, 80), (179, 86), (179, 98), (0, 98)],
               fill=(14, 12, 28))
    for x, kind in [(22, "laser"), (150, "cannon")]:
        tower_side(sk, x, 86, kind, 2, 0.7)
    img = sk.result()
    styled_text(img, "VORLUND", "DejaVuSerifCondensed-Bold.ttf", 28, 22, (235, 250, 255),
                (80, 150, 220), outline=(10, 14, 40), glow_colour=(60, 140, 255))
    pixel_text(img, (w - pixel_text_width("TOWER DEFENCE")) // 2, 62, "TOWER DEFENCE",
               (255, 214, 110), (20, 10, 30))
    return img


def banner_strip(w=219, h=15):
    img = vertical_gradient(w, h, (150, 24, 20), (80, 10, 14))
    img[0] = img[-1] = (230, 180, 80)
    img[1] = img[-2] = (110, 60, 20)
    text = "НОВАЯ ИГРА * VORLUND * СКОРО НА КПК"
    x = (w - pixel_text_width(text)) // 2
    pixel_text(img, x, 3, text, (255, 230, 140), (40, 6, 6))
    return img


def box_art(w=75, h=100):
    sk = Sketch(w, h, 3, (20, 20, 30))
    # The spine on the left, seen at an angle, and the front cover.
    sk.polygon([(4, 6), (14, 2), (14, 96), (4, 92)], fill=(60, 30, 20))
    cover = starry_sky(58, 94, (10, 20, 60), (120, 50, 60), 41)
    sk.paste_array(cover, (14, 2))
    sk.polygon([(14, 70), (30, 62), (46, 68), (72, 60), (72, 96), (14, 96)], fill=(26, 18, 36))
    tower_side(sk, 50, 78, "laser", 3, 0.8)
    # An alien eye watching from the sky.
    sk.ellipse((24, 30, 62, 50), fill=(120, 230, 90), outline=(30, 60, 20), width=1)
    sk.ellipse((38, 31, 48, 49), fill=(20, 30, 10))
    sk.circle(41, 36, 1.6, fill=(255, 255, 255))
    sk.rect((14, 2, 72, 96), outline=(200, 170, 90), width=1)
    img = sk.result()
    styled_text(img, "VORLUND", "DejaVuSerifCondensed-Bold.ttf", 11, 6, (255, 240, 170),
                (230, 150, 40), outline=(30, 10, 0), centre_x=43)
    pixel_text(img, 20, 86, "PDA", (255, 255, 255), (0, 0, 0))
    pixel_text(img, 48, 86, "PC", (255, 214, 110), (0, 0, 0))
    # Gloss along the box's top left.
    y, x = np.mgrid[0:h, 0:w]
    gloss = np.clip(1 - np.abs((x + y) - 40) / 10.0, 0, 1) * ((x > 14) & (x < 72))
    return np.clip(img + gloss[..., None] * 40, 0, 255)


def upgrade_sheet(w=81, h=100):
    sk = Sketch(w, h, 3)
    sk.paste_array(vertical_gradient(w, h, (34, 40, 60), (18, 20, 34)))
    for i, level in enumerate((1, 2, 3)):
        x = 14 + i * 26
        tower_side(sk, x, 66, "cannon", level, 0.8 + 0.1 * i, stars=True)
    for i in range(2):
        x = 24 + i * 26
        sk.polygon([(x, 44), (x + 5, 47), (x, 50)], fill=(120, 230, 90))
    img = sk.result()
    pixel_text(img, 3, 2, "АПГРЕЙД", (255, 214, 110), (0, 0, 0))
    for i, label in enumerate(("I", "II", "III")):
        x = 14 + i * 26
        pixel_text(img, x - pixel_text_width(label) // 2, 76, label, (200, 220, 255), (0, 0, 0))
    pixel_text(img, 3, 90, "MAX 3 ур.", (120, 230, 90), (0, 0, 0))
    return img


def tower_types(w=73, h=100):
    """The four basic towers in a two by two grid, each named under its foot."""
    sk = Sketch(w, h, 3)
    sk.paste_array(vertical_gradient(w, h, (40, 34, 24), (20, 16, 12)))
    kinds = [("cannon", 18, 36), ("laser", 54, 36), ("rocket", 18, 86), ("frost", 54, 86)]
    for kind, x, ground in kinds:
        sk.ellipse((x - 12, ground - 2, x + 12, ground + 3), fill=(60, 50, 36))
        tower_side(sk, x, ground, kind, 1, 0.75)
    img = sk.result()
    labels = [("ПУШКА", 18, 41), ("ЛАЗЕР", 54, 41), ("ПВО", 18, 91), ("ЛЕД", 54, 91)]
    for label, x, y in labels:
        pixel_text(img, x - pixel_text_width(label) // 2, y, label, (255, 230, 150), (0, 0, 0))
    return img


def landscape(w=94, h=100):
    img = vertical_gradient(w, h, (120, 170, 220), (230, 200, 160))
    far = value_noise((1, w), 14, 51)[0]
    near = value_noise((1, w), 8, 52)[0]
    y = np.arange(h)[:, None]
    far_line = 38 + far * 16
    near_line = 56 + near * 12
    img[y[:, 0, None] > far_line[None, :]] = (110, 120, 150)
    mid = (y > near_line[None, :])
    ground = vertical_gradient(w, h, (120, 100, 60), (70, 90, 40))
    img[mid] = ground[mid]
    sk = Sketch(w, h, 3)
    sk.paste_array(img)
    # The road into the distance and a wave of aliens on it, the boss last.
    sk.polygon([(40, 60), (50, 60), (80, 100), (10, 100)], fill=(180, 150, 100))
    for i, (x, yv, r) in enumerate([(46, 62, 2), (44, 67, 2.5), (50, 73, 3), (40, 80, 3.5)]):
        sk.ellipse((x - r, yv - r * 0.8, x + r, yv + r * 0.8), fill=(120, 40, 150))
        sk.circle(x + r * 0.4, yv - r * 0.2, r * 0.3, fill=(255, 250, 120))
    # The boss: a big horned beast.
    bx, by = 46, 90
    sk.ellipse((bx - 14, by - 9, bx + 14, by + 9), fill=(150, 20, 30), outline=(50, 0, 0), width=1)
    sk.polygon([(bx - 10, by - 6), (bx - 16, by - 16), (bx - 6, by - 8)], fill=(230, 220, 200))
    sk.polygon([(bx + 10, by - 6), (bx + 16, by - 16), (bx + 6, by - 8)], fill=(230, 220, 200))
    sk.circle(bx - 5, by - 2, 2, fill=(255, 240, 60))
    sk.circle(bx + 5, by - 2, 2, fill=(255, 240, 60))
    sk.line([(bx - 6, by + 4), (bx + 6, by + 4)], fill=(255, 255, 255), width=1)
    tower_side(sk, 12, 82, "cannon", 2, 0.7)
    tower_side(sk, 82, 84, "frost", 1, 0.7)
    img = sk.result()
    pixel_text(img, 2, 2, "30+ ЧУЖИХ", (255, 255, 255), (20, 30, 60))
    pixel_text(img, 64, 70, "БОСС", (255, 80, 60), (0, 0, 0))
    return img


def tower_stats(w=100, h=100):
    sk = Sketch(w, h, 3)
    grass = np.array([60, 100, 50]) * (0.85 + 0.3 * value_noise((h, w), 10, 61))[..., None]
    sk.paste_array(grass)
    sk.overlay(lambda d, k: d.ellipse(k._box((6, 6, 66, 66)), fill=(255, 220, 90, 45),
                                      outline=(255, 230, 120, 230), width=k.s))
    sk.line([(36, 36), (66, 36)], fill=(255, 240, 160), width=0.8)
    draw_tower(sk, 36, 36, "rocket")
    # A ground target and an air target inside the range.
    draw_alien(sk, 56, 54, "crawler", 0.8)
    draw_alien(sk, 58, 18, "flyer", 0.4)
    img = sk.result()
    pixel_text(img, 52, 32, "R", (255, 240, 160), (0, 0, 0))
    pixel_text(img, 4, 72, "1.РАДИУС", (255, 230, 120), (0, 0, 0))
    pixel_text(img, 4, 82, "2.ЗЕМЛЯ", (210, 160, 255), (0, 0, 0))
    pixel_text(img, 4, 91, "  ВОЗДУХ", (140, 240, 200), (0, 0, 0))
    for row, (value, colour) in enumerate(((0.8, (255, 200, 80)), (0.6, (200, 120, 255)),
                                           (0.9, (100, 230, 180)))):
        y = 74 + row * 9
        img[y:y + 4, 60:96] = (30, 30, 30)
        img[y:y + 4, 60:60 + int(36 * value)] = colour
    return img


def map_thumbnails(w=91, h=100):
    """The random map generator's three lands, each a small generated map with its road."""
    lands = [("ЛЕС", (40, 100, 40), (20, 60, 24), (150, 120, 80), 71),
             ("ПЕСОК", (220, 190, 120), (180, 140, 80), (150, 100, 60), 72),
             ("ЛЁД", (220, 235, 250), (150, 190, 230), (110, 140, 180), 73)]
    img = np.zeros((h, w, 3))
    img[:] = (24, 24, 30)
    for i, (name, light, dark, road, seed) in enumerate(lands):
        top = 1 + i * 33
        th, tw = 31, 56
        n = value_noise((th, tw), 7, seed)
        t = (n > 0.5)[..., None]
        tile = np.where(t, np.array(dark, dtype=np.float64), np.array(light, dtype=np.float64))
        tile *= (0.9 + 0.2 * hash_noise((th, tw), seed))[..., None]
        # A winding road across the map, made from the same seed.
        ys = (th / 2 + np.sin(np.arange(tw) / 7.0 + seed) * 8).astype(int)
        for x in range(tw):
            tile[max(0, ys[x] - 2):ys[x] + 2, x] = road
        tile[0, :] = tile[-1, :] = (200, 200, 210)
        tile[:, 0] = tile[:, -1] = (200, 200, 210)
        img[top:top + th, 1:1 + tw] = tile
        pixel_text(img, 59, top + 12, name, (255, 240, 170), (0, 0, 0))
    return img


def science(w=150, h=43):
    """The science tree on blueprint paper: discoveries joined by the paths between them."""
    grid = vertical_gradient(w, h, (20, 50, 110), (10, 30, 80))
    ys, xs = np.mgrid[0:h, 0:w]
    grid[(xs % 8 == 0) | (ys % 8 == 0)] += 25
    sk = Sketch(w, h, 3)
    sk.paste_array(grid)
    nodes = [(14, 22), (44, 11), (44, 32), (76, 11), (76, 32), (106, 22), (136, 22)]
    edges = [(0, 1), (0, 2), (1, 3), (2, 4), (3, 5), (4, 5), (5, 6)]
    for a, b in edges:
        sk.line([nodes[a], nodes[b]], fill=(180, 220, 255), width=1.2)
    researched = {0, 1, 2, 3}
    for i, (x, y) in enumerate(nodes):
        done = i in researched
        sk.circle(x, y, 6.5, fill=(40, 160, 90) if done else (60, 70, 100),
                  outline=(220, 255, 230) if done else (150, 160, 200), width=1)
    # Icons in the discoveries: a flask, an atom, a gear, a bolt...
    sk.polygon([(12, 18), (16, 18), (16, 21), (18.5, 26), (9.5, 26), (12, 21)], fill=(230, 250, 255))
    for a in range(3):
        sk.line(orbit_points(44, 11, 4.8, 1.7, a * np.pi / 3), fill=(230, 250, 255), width=0.5)
    sk.circle(44, 11, 1.2, fill=(255, 230, 120))
    sk.circle(44, 32, 3.5, outline=(230, 250, 255), width=1.2)
    sk.polygon([(77, 6), (73, 12), (76, 12), (74, 17), (79, 10), (76, 10)], fill=(255, 230, 90))
    sk.rect((73, 29, 79, 35), outline=(230, 250, 255), width=1)
    sk.polygon(star_points(106, 22, 4), fill=(200, 210, 240))
    sk.polygon(star_points(136, 22, 4.5), fill=(255, 214, 60))
    img = sk.result()
    pixel_text(img, 86, 35, "<НАУКА>", (255, 255, 255), (0, 20, 60))
    return img


def goal_strip(w=150, h=26):
    img = vertical_gradient(w, h, (40, 40, 48), (16, 16, 22))
    img[0] = img[-1] = (120, 120, 140)
    # Score counter in a lit display.
    img[4:22, 52:146] = (12, 30, 14)
    img[4, 52:146] = img[21, 52:146] = (60, 120, 60)
    pixel_text(img, 56, 5, "ОЧКИ", (140, 255, 140))
    pixel_text(img, 86, 5, "0127500", (180, 255, 170))
    pixel_text(img, 56, 13, "УБИТО 30/30", (255, 220, 120))
    sk = Sketch(w, h, 3)
    sk.paste_array(img)
    # Crosshair on the left.
    sk.circle(24, 13, 9, outline=(255, 90, 70), width=1.4)
    sk.circle(24, 13, 4, outline=(255, 90, 70), width=1)
    for a, b in (((24, 1), (24, 7)), ((24, 19), (24, 25)), ((12, 13), (18, 13)), ((30, 13), (36, 13))):
        sk.line([a, b], fill=(255, 200, 180), width=1)
    return sk.result()
