"""Pixel pictures drawn from shapes, written as 24-bit BMP.

Magenta (FF00FF) is the colour key the game makes transparent, so every picture starts filled with it. Shading
is banded (a few tones per material, lit from the upper left) to keep sprites crisp at 1:1.
"""
import colorsys
import math
import os
import struct

KEY = (255, 0, 255)
LIGHT = (-0.45, -0.6, 0.66)  # direction towards the light: left, up, out of the screen


def clamp8(v):
    return max(0, min(255, int(round(v))))


def mix(a, b, t):
    return tuple(clamp8(a[i] + (b[i] - a[i]) * t) for i in range(3))


def scale(c, f):
    return tuple(clamp8(v * f) for v in c)


def safe(c):
    """Never the key colour by accident."""
    return (254, 0, 255) if tuple(c) == KEY else tuple(c)


def ramp(dark, light, n=4):
    """n tones from dark to light, for banded shading."""
    return [mix(dark, light, i / (n - 1)) for i in range(n)]


def hue_shift(c, turns, sat=1.0, val=1.0):
    h, s, v = colorsys.rgb_to_hsv(*(x / 255.0 for x in c))
    r, g, b = colorsys.hsv_to_rgb((h + turns) % 1.0, min(1.0, s * sat), min(1.0, v * val))
    return safe((clamp8(r * 255), clamp8(g * 255), clamp8(b * 255)))


def band(tones, t):
    """Pick a tone for a light level t in 0..1."""
    return tones[max(0, min(len(tones) - 1, int(t * len(tones))))]


class Picture:
    def __init__(self, width, height, fill=KEY):
        self.w, self.h = width, height
        self.px = [[fill] * width for _ in range(height)]

    def get(self, x, y):
        if 0 <= x < self.w and 0 <= y < self.h:
            return self.px[y][x]
        return KEY

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = safe(c)

    def rect(self, x0, y0, x1, y1, c):  # x1, y1 exclusive
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        self.rect(x0, y0, x1, y0 + 1, c)
        self.rect(x0, y1 - 1, x1, y1, c)
        self.rect(x0, y0, x0 + 1, y1, c)
        self.rect(x1 - 1, y0, x1, y1, c)

    def line(self, x0, y0, x1, y1, c):
        n = int(max(abs(x1 - x0), abs(y1 - y0))) + 1
        for i in range(n + 1):
            t = i / n
            self.set(int(math.floor(x0 + (x1 - x0) * t + 0.5)), int(math.floor(y0 + (y1 - y0) * t + 0.5)), c)

    def ellipse(self, cx, cy, rx, ry, paint):
        """Filled ellipse; paint(nx, ny, d) gives the colour from the normalised offset and distance (0..1)."""
        for y in range(int(cy - ry) - 1, int(cy + ry) + 2):
            for x in range(int(cx - rx) - 1, int(cx + rx) + 2):
                nx, ny = (x + 0.5 - cx) / rx, (y + 0.5 - cy) / ry
                d = math.hypot(nx, ny)
                if d <= 1.0:
                    c = paint(nx, ny, d)
                    if c is not None:
                        self.set(x, y, c)

    def ball(self, cx, cy, rx, ry, tones):
        """An ellipsoid lit from the upper left in banded tones."""
        def paint(nx, ny, d):
            nz = math.sqrt(max(0.0, 1.0 - d * d))
            lit = max(0.0, nx * LIGHT[0] + ny * LIGHT[1] + nz * LIGHT[2])
            return band(tones, lit * 0.9 + 0.1 * (1 - d))
        self.ellipse(cx, cy, rx, ry, paint)

    def polygon(self, points, paint):
        """Filled polygon; paint is a colour or a function (x, y) -> colour."""
        fn = paint if callable(paint) else (lambda x, y: paint)
        ys = [p[1] for p in points]
        for y in range(int(math.floor(min(ys))), int(math.ceil(max(ys)))):
            yc = y + 0.5
            xs = []
            for (xa, ya), (xb, yb) in zip(points, points[1:] + points[:1]):
                if (ya <= yc < yb) or (yb <= yc < ya):
                    xs.append(xa + (yc - ya) * (xb - xa) / (yb - ya))
            xs.sort()
            for a, b in zip(xs[0::2], xs[1::2]):
                for x in range(int(math.ceil(a - 0.5)), int(math.ceil(b - 0.5))):
                    c = fn(x, y)
                    if c is not None:
                        self.set(x, y, c)

    def slab(self, points, tones, top, bottom):
        """A polygon shaded in bands from light at `top` to dark at `bottom` (y values)."""
        self.polygon(points, lambda x, y: band(tones, 1.0 - (y + 0.5 - top) / max(1.0, bottom - top)))

    def outline(self, x0, y0, x1, y1, c, diagonal=False):
        """Rings every opaque shape of the region with a 1-pixel edge of colour c."""
        steps = [(1, 0), (-1, 0), (0, 1), (0, -1)]
        if diagonal:
            steps += [(1, 1), (1, -1), (-1, 1), (-1, -1)]
        edge = []
        for y in range(y0, y1):
            for x in range(x0, x1):
                if self.px[y][x] != KEY:
                    continue
                for dx, dy in steps:
                    nx, ny = x + dx, y + dy
                    if x0 <= nx < x1 and y0 <= ny < y1 and self.px[ny][nx] != KEY:
                        edge.append((x, y))
                        break
        for x, y in edge:
            self.set(x, y, c)

    def mirror_down(self, x0, y0, w, h):
        """Copies the upper half of a region onto its lower half, flipped: symmetric ships and enemies."""
        for y in range(h // 2):
            for x in range(w):
                self.px[y0 + h - 1 - y][x0 + x] = self.px[y0 + y][x0 + x]

    def map_region(self, x0, y0, x1, y1, fn):
        """Replaces every opaque pixel of the region by fn(x, y, colour, is_edge)."""
        out = {}
        for y in range(y0, y1):
            for x in range(x0, x1):
                c = self.px[y][x]
                if c == KEY:
                    continue
                edge = any(not (x0 <= x + dx < x1 and y0 <= y + dy < y1) or self.px[y + dy][x + dx] == KEY
                           for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
                out[(x, y)] = fn(x, y, c, edge)
        for (x, y), c in out.items():
            self.set(x, y, c)

    def encode(self):
        row_bytes = (self.w * 3 + 3) & ~3
        data = bytearray()
        pad = b"\0" * (row_bytes - self.w * 3)
        for y in range(self.h - 1, -1, -1):
            for r, g, b in self.px[y]:
                data += bytes((b, g, r))
            data += pad
        header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
        return header + info + bytes(data)

    def save(self, path):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(self.encode())
