"""Pictures of the default skin "morv": a steel-blue fighter against a deep star field.

Enemy shapes tell how they fly: round drones, darts and armoured rams go straight; swept-wing swallows take the
S-turns; crescents hook back in the C-turns; spinners and eels ride the zigzag waves; red-bellied carriers hold
a capsule. Each boss is its own battleship.
"""
import math
import random

from font import label
from pixelart import Picture, band, mix, ramp, scale
from sheet import GraphicDefs, Sheet

INK = (16, 14, 30)  # the outline every sprite carries, so it reads against the stars

STEEL = ramp((40, 52, 88), (226, 236, 250), 5)
GUN = ramp((30, 34, 50), (120, 130, 160), 4)
GLASS = ramp((10, 80, 140), (190, 250, 255), 4)
FLAME = ramp((200, 60, 10), (255, 250, 200), 4)
RED = ramp((110, 10, 20), (255, 170, 150), 4)
ORANGE = ramp((120, 40, 10), (255, 210, 120), 4)
BRONZE = ramp((60, 44, 28), (230, 200, 140), 5)
TEAL = ramp((12, 70, 80), (170, 255, 230), 4)
VIOLET = ramp((50, 20, 90), (220, 170, 255), 4)
GREEN = ramp((20, 80, 30), (200, 255, 150), 4)
LIME = ramp((50, 80, 10), (235, 255, 140), 4)
PLUM = ramp((45, 25, 70), (190, 160, 230), 5)
CRIMSON = ramp((60, 8, 20), (255, 140, 140), 5)
BONE = ramp((50, 48, 40), (240, 232, 200), 5)


def eye(p, cx, cy, r, tones):
    p.ball(cx, cy, r, r, tones)
    p.set(int(cx - r * 0.4), int(cy - r * 0.4), (255, 255, 255))


# ---- the player's side -------------------------------------------------------------------------------------

def ship(p, x, y):
    # 36 x 20, nose to the right; drawn as the upper half and mirrored.
    p.slab([(x + 4, y + 10), (x + 8, y + 5), (x + 24, y + 5), (x + 35, y + 10)], STEEL, y + 4, y + 11)
    p.slab([(x + 6, y + 1), (x + 11, y + 1), (x + 20, y + 6), (x + 10, y + 6)], GUN, y + 1, y + 7)  # wing
    p.rect(x + 7, y + 1, x + 12, y + 2, STEEL[3])
    p.rect(x + 0, y + 7, x + 6, y + 10, GUN[1])  # engine block
    p.mirror_down(x, y, 36, 20)
    p.rect(x + 0, y + 8, x + 4, y + 12, FLAME[1])
    p.rect(x + 1, y + 9, x + 4, y + 11, FLAME[3])
    p.ellipse(x + 21, y + 10, 5, 2.6, lambda nx, ny, d: band(GLASS, 1 - (ny + 1) / 2 * 0.8 - nx * 0.2))
    p.rect(x + 12, y + 9, x + 17, y + 11, STEEL[4])
    p.set(x + 33, y + 10, (255, 255, 255))


def option(p, x, y):
    p.ellipse(x + 8, y + 8, 7.5, 7.5, lambda nx, ny, d: band(FLAME, 1 - d * 0.9))
    p.ellipse(x + 8, y + 8, 3.5, 3.5, lambda nx, ny, d: (255, 255, 230))
    p.set(x + 6, y + 5, (255, 255, 255))


def shot(p, x, y):
    p.rect(x + 2, y + 2, x + 16, y + 4, (255, 200, 60))
    p.rect(x + 6, y + 1, x + 15, y + 5, (255, 230, 120))
    p.rect(x + 8, y + 2, x + 16, y + 4, (255, 255, 235))


def laser(p, x, y):
    p.rect(x, y + 0, x + 16, y + 6, (20, 80, 160))
    p.rect(x, y + 1, x + 16, y + 5, (60, 180, 255))
    p.rect(x, y + 2, x + 16, y + 4, (230, 250, 255))


def bullet(p, x, y):
    # Enemy bullet: a hot pink ring around a white core, unlike any friendly colour.
    p.ellipse(x + 5, y + 5, 5, 5, lambda nx, ny, d: (255, 40, 120) if d > 0.62 else (255, 200, 230) if d > 0.3 else (255, 255, 255))


def capsule(p, x, y, lit):
    body = RED if lit else ramp((90, 10, 10), (230, 110, 90), 4)
    p.ellipse(x + 10, y + 7, 9.5, 6.5, lambda nx, ny, d: band(body, 0.95 - (ny + 1) / 2 * 0.8 + (0.1 if abs(nx) < 0.5 else 0)))
    p.rect(x + 4, y + 6, x + 16, y + 8, (255, 230, 120) if lit else (220, 150, 60))
    p.rect(x + 5, y + 2, x + 11, y + 3, (255, 240, 235))


# ---- enemies -----------------------------------------------------------------------------------------------

def bot(p, x, y):
    # Round drone, the plain straight flyer.
    p.ball(x + 12, y + 12, 11, 11, GUN + [STEEL[3]])
    p.rect(x + 1, y + 11, x + 23, y + 13, GUN[0])
    eye(p, x + 9, y + 12, 4.5, RED)


def dart(p, x, y):
    # Arrowhead pointing left: a fast straight flyer.
    p.slab([(x + 1, y + 7), (x + 22, y + 0), (x + 18, y + 7)], ORANGE, y, y + 7)
    p.slab([(x + 16, y + 3), (x + 27, y + 1), (x + 24, y + 7), (x + 16, y + 7)], GUN, y + 1, y + 7)
    p.mirror_down(x, y, 28, 14)
    p.rect(x + 9, y + 6, x + 19, y + 8, ORANGE[3])
    p.rect(x + 25, y + 6, x + 28, y + 8, FLAME[2])
    eye(p, x + 11, y + 7, 1.8, GLASS)


def ram(p, x, y):
    # Armour-plated block with a ram prow: straight and hard to stop.
    p.slab([(x + 2, y + 14), (x + 8, y + 3), (x + 28, y + 3), (x + 31, y + 8), (x + 31, y + 14)], BRONZE, y + 3, y + 14)
    p.slab([(x + 10, y + 0), (x + 24, y + 0), (x + 26, y + 3), (x + 8, y + 3)], GUN, y, y + 3)
    for px in (14, 20, 26):
        p.rect(x + px, y + 5, x + px + 1, y + 14, BRONZE[0])
        p.set(x + px + 1, y + 6, BRONZE[4])
    p.mirror_down(x, y, 32, 28)
    p.rect(x + 2, y + 13, x + 8, y + 15, BRONZE[4])
    eye(p, x + 9, y + 14, 2.5, RED)


def swallow(p, x, y):
    # Swept wings trailing in a curve: the S-turn flyers.
    p.polygon([(x + 4, y + 12), (x + 12, y + 8), (x + 26, y + 0), (x + 20, y + 8), (x + 27, y + 11), (x + 14, y + 12)],
              lambda px, py: band(TEAL, 1 - (py - y) / 12.0 * 0.7 - (px - x) / 28.0 * 0.3))
    p.mirror_down(x, y, 28, 24)
    p.ball(x + 11, y + 12, 7, 4, TEAL)
    eye(p, x + 8, y + 12, 2.2, FLAME)


def crescent(p, x, y):
    # A C-shaped hook opening to the right: the C-turn flyers that swing back.
    def paint(nx, ny, d):
        if d < 0.62 or (nx > 0.15 and abs(ny) < 0.55):
            return None
        return band(VIOLET, 0.95 - (ny + 1) / 2 * 0.6 - (nx + 1) / 2 * 0.3)
    p.ellipse(x + 14, y + 14, 13, 13, paint)
    p.ball(x + 12, y + 14, 4.5, 4.5, VIOLET)
    eye(p, x + 12, y + 14, 2.2, (FLAME[1], FLAME[2], FLAME[3], (255, 255, 255)))
    for k in (-1, 1):
        p.rect(x + 22, y + 14 + k * 11 - 1, x + 27, y + 14 + k * 11 + 1, VIOLET[3])


def fan(p, x, y, turn):
    # Three-bladed spinner riding the waves; turn is the rotation in 1/9 of a blade step.
    for k in range(3):
        a = math.radians(k * 120 + turn * 40)
        tip = 11.5
        pts = [(x + 12 + 3 * math.cos(a - 1.6), y + 12 + 3 * math.sin(a - 1.6)),
               (x + 12 + tip * math.cos(a - 0.25), y + 12 + tip * math.sin(a - 0.25)),
               (x + 12 + tip * math.cos(a + 0.3), y + 12 + tip * math.sin(a + 0.3)),
               (x + 12 + 3 * math.cos(a + 1.6), y + 12 + 3 * math.sin(a + 1.6))]
        shade = 0.35 + 0.6 * max(0.0, -math.cos(a + 0.9))
        p.polygon(pts, band(GREEN, shade))
    p.ball(x + 12, y + 12, 4.5, 4.5, LIME)


def eel(p, x, y, phase):
    # A segmented body on a sine: it rides the zigzag waves head first.
    for i in range(6, -1, -1):
        cx = x + 5 + i * 4
        cy = y + 8 + 3.5 * math.sin(i * 0.9 + phase * math.pi)
        r = 4.6 - i * 0.35
        p.ball(cx, cy, r, r, LIME if i else GREEN[1:] + [LIME[3]])
    hy = y + 8 + 3.5 * math.sin(phase * math.pi)
    eye(p, x + 4, hy - 1, 1.6, RED)


def carrier(p, x, y, lit):
    # A pod with a glowing red belly: shoot it for a capsule.
    p.slab([(x + 2, y + 12), (x + 8, y + 4), (x + 22, y + 4), (x + 27, y + 12)], STEEL[:4], y + 4, y + 12)
    p.rect(x + 12, y + 1, x + 20, y + 4, GUN[2])
    p.mirror_down(x, y, 28, 24)
    p.ball(x + 14, y + 12, 7, 5, RED if lit else ramp((80, 10, 10), (220, 90, 70), 4))
    p.rect(x + 10, y + 11, x + 18, y + 13, (255, 235, 140) if lit else (200, 120, 60))


# ---- bosses ------------------------------------------------------------------------------------------------

def boss_hull(p, x, y, w, h, hull, trim):
    cy = h // 2
    p.slab([(x + 2, y + cy), (x + w * 0.25, y + cy * 0.35), (x + w - 6, y + cy * 0.25), (x + w - 1, y + cy)], hull,
           y + cy * 0.25, y + cy)
    p.slab([(x + w * 0.35, y + 1), (x + w * 0.8, y + 1), (x + w * 0.9, y + cy * 0.35), (x + w * 0.3, y + cy * 0.4)],
           trim, y, y + cy * 0.4)
    p.mirror_down(x, y, w, h)


def boss1(p, x, y):
    # Stage 1: a steel-violet cruiser with a single red core and twin cannons.
    w, h = 112, 72
    boss_hull(p, x, y, w, h, PLUM, GUN)
    for k in (-1, 1):
        p.slab([(x + 14, y + 36 + k * 16 - 3), (x + 60, y + 36 + k * 16 - 3), (x + 60, y + 36 + k * 16 + 3), (x + 14, y + 36 + k * 16 + 3)],
               GUN, y + 36 + k * 16 - 3, y + 36 + k * 16 + 3)
        p.rect(x + 8, y + 36 + k * 16 - 1, x + 14, y + 36 + k * 16 + 1, FLAME[1])
    for i in range(5):
        p.rect(x + 64 + i * 8, y + 20, x + 66 + i * 8, y + 52, PLUM[0])
    p.rect(x + 100, y + 26, x + 112, y + 46, FLAME[0])
    p.rect(x + 104, y + 30, x + 112, y + 42, FLAME[2])
    eye(p, x + 44, y + 36, 10, RED)


def boss2(p, x, y):
    # Stage 2: a crimson crab with claws forward and a pale eye.
    w, h = 120, 80
    boss_hull(p, x, y, w, h, CRIMSON, BONE[:4])
    for k in (-1, 1):
        cy = y + 40 + k * 26
        p.polygon([(x + 4, cy), (x + 30, cy - 9), (x + 58, cy - 4), (x + 58, cy + 4), (x + 30, cy + 9)],
                  lambda px, py: band(BONE, 0.9 - abs(py - cy) / 10.0))
        p.polygon([(x + 0, cy - k * 10), (x + 14, cy - k * 2), (x + 8, cy)], BONE[1])
    for i in range(4):
        p.rect(x + 74 + i * 9, y + 22, x + 77 + i * 9, y + 58, CRIMSON[0])
    p.rect(x + 108, y + 30, x + 120, y + 50, FLAME[1])
    eye(p, x + 46, y + 40, 12, ramp((40, 90, 60), (230, 255, 220), 4))
    p.ellipse(x + 46, y + 40, 4, 8, lambda nx, ny, d: (10, 20, 10))


def boss3(p, x, y):
    # Stage 3: the bio-mechanical core ship (128 x 88): a ribbed shell with spines, a toothed maw and a living eye.
    cx, cy = x + 70, y + 44
    for k in range(6):  # spines along the back and the belly
        sx = x + 44 + k * 13
        for s in (-1, 1):
            p.polygon([(sx - 5, cy + s * 30), (sx + 2 - 3 * s * 0, cy + s * 43), (sx + 6, cy + s * 30)],
                      lambda px, py: band(BONE, 0.8 - abs(py - cy) / 60.0))
    p.ellipse(cx, cy, 56, 34, lambda nx, ny, d: band(BONE, 0.98 - (ny + 1) / 2 * 0.5 - d * d * 0.35))
    for k in range(5):  # ribs: dark arcs across the shell
        rx = x + 50 + k * 14
        for yy in range(-30, 31):
            bend = int(round(6 * (yy / 30.0) ** 2))
            if (rx + bend - cx) ** 2 / 56.0 ** 2 + yy ** 2 / 34.0 ** 2 < 0.92:
                p.set(rx + bend, cy + yy, BONE[0])
                p.set(rx + bend + 1, cy + yy, BONE[4] if yy < 0 else BONE[1])
    for s in (-1, 1):  # jaws reaching forward
        p.slab([(x + 2, cy + s * 14), (x + 30, cy + s * 26), (x + 44, cy + s * 18), (x + 22, cy + s * 8)],
               GUN, cy + min(s * 8, s * 26), cy + max(s * 8, s * 26))
        for t in range(4):
            p.polygon([(x + 10 + t * 7, cy + s * 12), (x + 13 + t * 7, cy + s * 5), (x + 16 + t * 7, cy + s * 14)],
                      (240, 236, 214))
    p.ellipse(x + 42, cy, 20, 20, lambda nx, ny, d: band(CRIMSON, 0.9 - d * 0.6) if d > 0.72 else None)
    eye(p, x + 42, cy, 14.5, ramp((90, 0, 60), (255, 200, 255), 5))
    p.ellipse(x + 42, cy, 4, 9, lambda nx, ny, d: (30, 0, 20) if d < 0.8 else (255, 120, 220))
    p.rect(x + 120, cy - 10, x + 128, cy + 10, FLAME[1])
    p.rect(x + 123, cy - 6, x + 128, cy + 6, FLAME[3])


# ---- explosions --------------------------------------------------------------------------------------------

FIRE = [(40, 8, 4), (120, 30, 6), (220, 90, 20), (255, 180, 60), (255, 240, 170), (255, 255, 255)]


def blast(p, x, y, size, step, steps, seed):
    """One frame of a fireball: a hot core that swells, cools and opens into a ring of sparks. Additive blend,
    so dark pixels fade out."""
    rnd = random.Random(seed * 100 + step)
    c = size / 2.0
    t = step / (steps - 1.0)
    r = c * (0.3 + 0.62 * math.sqrt(t))
    heat = 1.0 - t
    hole = r * max(0.0, (t - 0.35) * 1.3)
    bumps = [rnd.uniform(0.8, 1.1) for _ in range(12)]

    def paint(nx, ny, d):
        a = (math.atan2(ny, nx) + math.pi) / (2 * math.pi) * 12
        edge = bumps[int(a) % 12] * (1 - a % 1) + bumps[(int(a) + 1) % 12] * (a % 1)
        if d > edge or d * r < hole:
            return None
        level = (1 - d / edge) * 0.8 + heat * 0.7 - 0.15
        return FIRE[max(0, min(5, int(level * 6)))]
    p.ellipse(x + c, y + c, r, r, paint)
    for _ in range(int(size * 0.35)):
        a = rnd.uniform(0, 2 * math.pi)
        d = rnd.uniform(0.7, 1.15) * r + 2
        sx, sy = x + c + d * math.cos(a), y + c + d * math.sin(a)
        if x <= sx < x + size and y <= sy < y + size:
            p.set(int(sx), int(sy), FIRE[max(1, min(5, int(5 * heat + 1)))])


# ---- the power-up meter ------------------------------------------------------------------------------------

def meter_cell(p, x, y, top, bottom, edge, glint):
    for row in range(16):
        p.rect(x, y + row, x + 64, y + row + 1, mix(top, bottom, row / 15.0))
    p.frame(x, y, x + 64, y + 16, edge)
    p.rect(x + 1, y + 1, x + 63, y + 2, glint)
    for cx in (x + 2, x + 61):
        p.rect(cx, y + 6, cx + 1, y + 10, glint)


def hud():
    p = Picture(128, 64)
    meter_cell(p, 0, 0, (28, 36, 96), (8, 10, 40), (90, 120, 230), (60, 80, 170))
    meter_cell(p, 64, 0, (240, 150, 30), (150, 50, 10), (255, 240, 160), (255, 210, 120))
    for i, word in enumerate(["SPEED", "MISSILE", "DOUBLE", "LASER", "OPTION", "SHIELD"]):
        label(p, (i % 2) * 64 + 32, 16 + (i // 2) * 16 + 4, word, (255, 255, 255), (255, 236, 140), (8, 8, 24))
    return p


# ---- the sheet ---------------------------------------------------------------------------------------------

def sprites():
    s = Sheet("sprites.bmp", 512)
    s.add("ship", 36, 20, ship, (18, 10), (-6, -3, 6, 3), edge=INK)
    s.add("option", 16, 16, option, (8, 8), edge=INK)
    s.add("shot", 16, 6, shot, (8, 3))
    s.add("laser", 16, 6, laser, (0, 3), blend="add")
    s.add("bullet", 10, 10, bullet, (5, 5), (-3, -3, 3, 3), edge=(60, 0, 20))
    s.add("capsule0", 20, 14, lambda p, x, y: capsule(p, x, y, True), (10, 7), edge=(255, 255, 255))
    s.add("capsule1", 20, 14, lambda p, x, y: capsule(p, x, y, False), (10, 7), edge=(255, 190, 60))
    s.add("bot", 24, 24, bot, (12, 12), (-9, -9, 9, 9), edge=INK)
    s.add("dart", 28, 14, dart, (14, 7), (-11, -5, 11, 5), edge=INK)
    s.add("ram", 32, 28, ram, (16, 14), (-13, -12, 13, 12), edge=INK)
    s.add("swallow", 28, 24, swallow, (12, 12), (-9, -8, 11, 8), edge=INK)
    s.add("crescent", 28, 28, crescent, (14, 14), (-11, -11, 11, 11), edge=INK)
    for k in range(3):
        s.add("fan%d" % k, 24, 24, lambda p, x, y, k=k: fan(p, x, y, k), (12, 12), edge=INK)
    for k in range(2):
        s.add("eel%d" % k, 32, 16, lambda p, x, y, k=k: eel(p, x, y, k), (14, 8), edge=INK)
    for k in range(2):
        s.add("carrier%d" % k, 28, 24, lambda p, x, y, k=k: carrier(p, x, y, k == 0), (14, 12), edge=INK)
    for k in range(8):
        s.add("explosion%d" % k, 40, 40, lambda p, x, y, k=k: blast(p, x, y, 40, k, 8, 1), (20, 20), blend="add")
    b = Sheet("bosses.bmp", 384)  # each sprite reads its whole picture file: big ones get files of their own
    b.add("boss1", 112, 72, boss1, (52, 36), (-40, -28, 52, 28), edge=INK)
    b.add("boss2", 120, 80, boss2, (56, 40), (-44, -30, 56, 30), edge=INK)
    b.add("boss3", 128, 88, boss3, (60, 44), (-44, -34, 60, 34), edge=INK)
    e = Sheet("blasts.bmp", 656)
    for k in range(8):
        e.add("bigexplosion%d" % k, 80, 80, lambda p, x, y, k=k: blast(p, x, y, 80, k, 8, 2), (40, 40), blend="add")
    return [s, b, e]


def graphicdefs(sheets):
    g = GraphicDefs()
    g.comment("the player's ship (hit area much smaller than the picture), options, shots; enemy bullet; capsule")
    g.sprites(sheets, {"ship", "option", "shot", "laser", "bullet", "capsule0", "capsule1"})
    g.animation("capsule", 24, True, (20, 14), (10, 7), [("capsule0", 0, 255), ("capsule1", 12, 255)], (-10, -7, 10, 7))
    g.comment("enemies: bot, dart, ram fly straight; swallow the S-turns; crescent the C-turns; fan and eel the "
              "waves; carrier holds a capsule")
    g.sprites(sheets, {"bot", "dart", "ram", "swallow", "crescent", "fan0", "fan1", "fan2", "eel0", "eel1",
                      "carrier0", "carrier1"})
    g.animation("fan", 18, True, (24, 24), (12, 12), [("fan0", 0, 255), ("fan1", 6, 255), ("fan2", 12, 255)],
                (-9, -9, 9, 9))
    g.animation("eel", 24, True, (32, 16), (14, 8), [("eel0", 0, 255), ("eel1", 12, 255)], (-12, -6, 14, 6))
    g.animation("carrier", 20, True, (28, 24), (14, 12), [("carrier0", 0, 255), ("carrier1", 10, 255)],
                (-11, -9, 11, 9))
    g.comment("the stage bosses")
    g.sprites(sheets, {"boss1", "boss2", "boss3"})
    g.comment("explosions: eight additive frames, shown once; the larger one is for bosses")
    g.sprites(sheets, {"explosion%d" % k for k in range(8)} | {"bigexplosion%d" % k for k in range(8)})
    g.animation("explosion", 32, False, (40, 40), (20, 20),
                [("explosion%d" % k, k * 4, 255 if k < 6 else 200) for k in range(8)])
    g.animation("bigexplosion", 48, False, (80, 80), (40, 40),
                [("bigexplosion%d" % k, k * 6, 255 if k < 6 else 200) for k in range(8)])
    return g


def hud_defs(g):
    g.comment("the power-up meter: cell backgrounds and labels, 64 x 16 each, stretched over the cells")
    g.parts.append('  <sprite id="bgpowerup" filename="hud.bmp">\n    <imagerect left="0" top="0" right="64" bottom="16"/>\n  </sprite>')
    g.parts.append('  <sprite id="bgpowerupselected" filename="hud.bmp">\n    <imagerect left="64" top="0" right="128" bottom="16"/>\n  </sprite>')
    for i, name in enumerate(["speed", "missile", "double", "laser", "option", "shield"]):
        left, top = (i % 2) * 64, 16 + (i // 2) * 16
        g.parts.append('  <sprite id="txt%s" filename="hud.bmp" blendmode="alpha">\n    <imagerect left="%d" top="%d" '
                       'right="%d" bottom="%d"/>\n  </sprite>' % (name, left, top, left + 64, top + 16))


# ---- the background ----------------------------------------------------------------------------------------

def starfield(seed, far, mid, near, haze):
    """A 192 x 96 tile of the scrolling background. Three depths of stars (dim specks, bright points, coloured
    twinkles) give a sense of distance; `haze` adds a dithered band of distant gas. Magenta lets the clear
    colour through. Everything wraps at the tile edges, so the tile repeats without a seam."""
    w, h = 192, 96
    p = Picture(w, h)
    rnd = random.Random(seed)
    if haze:
        tone, strength = haze
        a, b, c = (rnd.uniform(0, 2 * math.pi) for _ in range(3))
        for y in range(h):
            for x in range(w):
                u, v = x / float(w), y / float(h)
                level = (math.sin(2 * math.pi * u + a) + 0.7 * math.sin(2 * math.pi * (2 * u + v) + b)
                         + 0.5 * math.sin(2 * math.pi * (u - 2 * v) + c)) / 2.2 * strength
                bayer = ((x & 1) * 2 + (y & 1) * 3) % 4 / 4.0 + ((x >> 1 & 1) + (y >> 1 & 1) * 2) / 16.0
                if level > bayer + 0.25:
                    p.set(x, y, scale(tone, 0.6 + 0.4 * min(1.0, level)))
    for _ in range(far[0]):
        b = rnd.choice((50, 64, 78))
        p.set(rnd.randrange(w), rnd.randrange(h), mix((b, b, b + 30), far[1], 0.3))
    for _ in range(mid[0]):
        b = rnd.choice((150, 190, 230))
        p.set(rnd.randrange(w), rnd.randrange(h), mix((b, b, b), mid[1], 0.25))
    for _ in range(near[0]):
        x, y = rnd.randrange(w), rnd.randrange(h)
        tint = rnd.choice(near[1])
        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            p.set((x + dx) % w, (y + dy) % h, scale(tint, 0.55))
        p.set(x, y, mix(tint, (255, 255, 255), 0.6))
    return p


def morv_map():
    return starfield(1987, (260, (60, 80, 190)), (30, (200, 220, 255)), (8, [(120, 170, 255), (255, 220, 160), (200, 200, 255)]),
                     None)


def system_map():
    # Neutral fallback: grey specks on the clear colour, nothing that belongs to any one skin.
    return starfield(7, (60, (128, 128, 128)), (14, (210, 210, 210)), (0, []), None)
