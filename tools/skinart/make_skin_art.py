#!/usr/bin/env python3
"""Draws the pictures of the bundled skins (skin/morv and skin/system) and writes them as 24-bit BMP files.

Every picture is made here from simple shapes; magenta (FF00FF) marks the pixels the game keys out as
transparent. Run from anywhere: python3 tools/skinart/make_skin_art.py [REPOSITORY]
"""
import math
import os
import random
import struct
import sys

KEY = (255, 0, 255)


class Picture:
    def __init__(self, width, height, fill=KEY):
        self.w, self.h = width, height
        self.px = [[fill] * width for _ in range(height)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):  # x1, y1 exclusive
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        self.rect(x0, y0, x1, y0 + 1, c)
        self.rect(x0, y1 - 1, x1, y1, c)
        self.rect(x0, y0, x0 + 1, y1, c)
        self.rect(x1 - 1, y0, x1, y1, c)

    def disc(self, cx, cy, r, shade):
        """Filled disc; shade(d) gives the colour at relative distance d (0 centre .. 1 edge)."""
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy) / r
                if d <= 1.0:
                    self.set(x, y, shade(d))

    def polygon(self, points, c):
        ys = [p[1] for p in points]
        for y in range(int(min(ys)), int(math.ceil(max(ys)))):
            yc = y + 0.5
            xs = []
            for (xa, ya), (xb, yb) in zip(points, points[1:] + points[:1]):
                if (ya <= yc < yb) or (yb <= yc < ya):
                    xs.append(xa + (yc - ya) * (xb - xa) / (yb - ya))
            xs.sort()
            for a, b in zip(xs[0::2], xs[1::2]):
                for x in range(int(math.ceil(a - 0.5)), int(math.ceil(b - 0.5))):
                    self.set(x, y, c)

    def save(self, path):
        row_bytes = (self.w * 3 + 3) & ~3
        data = bytearray()
        for y in range(self.h - 1, -1, -1):
            row = bytearray()
            for r, g, b in self.px[y]:
                row += bytes((b, g, r))
            row += b"\0" * (row_bytes - len(row))
            data += row
        header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(header + info + data)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def glow(inner, outer):
    return lambda d: mix(inner, outer, d * d)


# A 5 x 7 pixel font for the meter labels.
FONT = {
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "B": ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    "D": ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "H": ["10001", "10001", "10001", "11111", "10001", "10001", "10001"],
    "I": ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
}


def text(pic, x0, y0, word, colour, shadow):
    width = len(word) * 6 - 1
    x = x0 - width // 2
    for ch in word:
        for row, bits in enumerate(FONT[ch]):
            for col, bit in enumerate(bits):
                if bit == "1":
                    pic.set(x + col + 1, y0 + row + 1, shadow)
                    pic.set(x + col, y0 + row, colour)
        x += 6


def draw_ship(p, ox, oy):
    hull, light, dark = (170, 190, 215), (235, 240, 250), (70, 85, 120)
    p.polygon([(ox + 3, oy + 4), (ox + 20, oy + 5), (ox + 31, oy + 8), (ox + 20, oy + 11), (ox + 3, oy + 12)], hull)
    p.polygon([(ox + 4, oy + 5), (ox + 20, oy + 6), (ox + 28, oy + 8), (ox + 4, oy + 8)], light)
    p.polygon([(ox + 6, oy + 0), (ox + 11, oy + 0), (ox + 17, oy + 5), (ox + 8, oy + 5)], dark)    # upper wing
    p.polygon([(ox + 6, oy + 16), (ox + 11, oy + 16), (ox + 17, oy + 11), (ox + 8, oy + 11)], dark)  # lower wing
    p.rect(ox + 15, oy + 6, ox + 21, oy + 8, (60, 220, 255))  # canopy
    p.rect(ox + 16, oy + 6, ox + 18, oy + 7, (200, 250, 255))
    p.rect(ox + 0, oy + 6, ox + 3, oy + 10, (255, 140, 30))  # engine flame
    p.rect(ox + 1, oy + 7, ox + 3, oy + 9, (255, 240, 120))


def draw_bot(p, ox, oy):
    p.disc(ox + 12, oy + 12, 11.5, glow((150, 160, 175), (55, 60, 75)))
    p.disc(ox + 12, oy + 12, 6.5, glow((255, 120, 90), (150, 20, 20)))
    p.disc(ox + 12, oy + 12, 2.5, lambda d: (255, 235, 200))
    for a in range(0, 360, 45):
        x = ox + 12 + 9 * math.cos(math.radians(a))
        y = oy + 12 + 9 * math.sin(math.radians(a))
        p.set(int(x), int(y), (30, 30, 40))


def draw_fan(p, ox, oy):
    body = (90, 200, 120)
    for k in range(3):
        a = math.radians(k * 120)
        pts = [(ox + 12, oy + 12)]
        for da in (-25, 25):
            pts.append((ox + 12 + 11.5 * math.cos(a + math.radians(da)), oy + 12 + 11.5 * math.sin(a + math.radians(da))))
        p.polygon(pts, body)
    p.disc(ox + 12, oy + 12, 4.5, glow((255, 255, 160), (40, 130, 70)))


def draw_boss(p, ox, oy):
    p.polygon([(ox + 8, oy + 32), (ox + 30, oy + 4), (ox + 62, oy + 10), (ox + 62, oy + 54), (ox + 30, oy + 60)], (95, 80, 130))
    p.polygon([(ox + 14, oy + 32), (ox + 32, oy + 10), (ox + 56, oy + 15), (ox + 56, oy + 49), (ox + 32, oy + 54)], (140, 120, 180))
    p.rect(ox + 40, oy + 2, ox + 60, oy + 8, (70, 60, 100))
    p.rect(ox + 40, oy + 56, ox + 60, oy + 62, (70, 60, 100))
    p.disc(ox + 26, oy + 32, 9.5, glow((255, 250, 210), (220, 40, 60)))


def explosion_frame(p, ox, oy, step):
    r = 5 + step * 3.4
    fade = step / 4.0
    p.disc(ox + 16, oy + 16, r, glow(mix((255, 255, 220), (200, 60, 20), fade), mix((255, 140, 20), (90, 20, 10), fade)))
    if step >= 2:
        p.disc(ox + 16, oy + 16, r - 4 - step, lambda d: KEY)  # the ring opens up
    rnd = random.Random(step)
    for _ in range(6 + 2 * step):
        a = rnd.uniform(0, 2 * math.pi)
        d = rnd.uniform(r * 0.6, min(15.0, r + 3))
        p.set(int(ox + 16 + d * math.cos(a)), int(oy + 16 + d * math.sin(a)), (255, 230, 150))


def sprites():
    p = Picture(256, 128)
    draw_ship(p, 0, 0)
    p.disc(32 + 8, 8, 7.5, glow((255, 240, 170), (230, 90, 20)))                      # option
    p.rect(48, 1, 64, 3, (255, 250, 160)); p.rect(48, 0, 62, 4, (255, 200, 60)); p.rect(50, 1, 64, 3, (255, 255, 220))  # shot
    p.rect(48, 8, 64, 12, (60, 200, 255)); p.rect(48, 9, 64, 11, (210, 250, 255))   # laser
    p.disc(64 + 4, 4, 3.8, glow((255, 255, 255), (255, 60, 120)))                     # bullet
    p.rect(82, 3, 94, 13, (200, 30, 30)); p.rect(80, 5, 96, 11, (200, 30, 30))        # capsule
    p.rect(83, 4, 93, 6, (255, 150, 140)); p.rect(86, 7, 90, 9, (255, 240, 240))
    draw_bot(p, 96, 0)
    draw_fan(p, 120, 0)
    for step in range(4):
        explosion_frame(p, step * 32, 32, step)
    draw_boss(p, 128, 32)
    return p


def hud():
    p = Picture(128, 64)
    for x0, edge, top, bottom in ((0, (90, 110, 200), (30, 40, 110), (15, 20, 60)),
                                  (64, (255, 200, 80), (190, 110, 20), (110, 50, 10))):
        for y in range(16):
            p.rect(x0, y, x0 + 64, y + 1, mix(top, bottom, y / 15))
        p.frame(x0, 0, x0 + 64, 16, edge)
    labels = ["SPEED", "MISSILE", "DOUBLE", "LASER", "OPTION", "SHIELD"]
    for i, word in enumerate(labels):
        text(p, (i % 2) * 64 + 32, 16 + (i // 2) * 16 + 4, word, (255, 255, 255), (40, 40, 40))
    return p


def starfield():
    # One tile of the scrolling background: 192 x 96, repeated across the screen. Transparent space shows the
    # scene's dark clear colour; stars wrap around the tile edges so the seams do not show.
    p = Picture(192, 96)
    rnd = random.Random(1987)
    for _ in range(70):
        x, y = rnd.randrange(192), rnd.randrange(96)
        b = rnd.choice((90, 130, 170, 220))
        p.set(x, y, (b, b, min(255, b + 30)))
    for _ in range(8):
        x, y = rnd.randrange(192), rnd.randrange(96)
        for dx, dy in ((0, 0), (1, 0), (-1, 0), (0, 1), (0, -1)):
            p.set((x + dx) % 192, (y + dy) % 96, (255, 255, 255) if (dx, dy) == (0, 0) else (150, 170, 255))
    return p


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
    sprites().save(os.path.join(root, "skin", "morv", "graphic", "sprites.bmp"))
    hud().save(os.path.join(root, "skin", "morv", "graphic", "hud.bmp"))
    starfield().save(os.path.join(root, "skin", "system", "graphic", "map.bmp"))


if __name__ == "__main__":
    main()
