"""The second skin, "nebula": the same cast redrawn as glowing neon line art in violet, cyan and gold over a
purple gas cloud, with a stage of its own."""
from morv_art import meter_cell, sprites as morv_sprites, starfield, INK
from font import label
from pixelart import Picture, hue_shift, scale
from stages import Stage
from waves import plan

# Line colour per sprite family; the insides are the morv colours turned round the hue circle and dimmed.
NEON = {"ship": (120, 255, 240), "option": (255, 220, 90), "bot": (255, 120, 200), "dart": (255, 170, 60),
        "ram": (255, 90, 90), "swallow": (120, 200, 255), "crescent": (200, 140, 255), "fan": (140, 255, 140),
        "eel": (220, 255, 110), "carrier": (255, 240, 140), "boss": (255, 110, 220)}


def neon_colour(sid):
    for key, colour in NEON.items():
        if sid.startswith(key):
            return colour
    return None


def sprites():
    sheets = morv_sprites()
    pics = [sheet.build() for sheet in sheets]
    for sheet, pic in zip(sheets, pics):
        recolour(sheet, pic)
    return sheets, pics


def recolour(sheet, pic):
    for s in sheet.sprites:
        box = (s.x, s.y, s.x + s.w, s.y + s.h)
        line = neon_colour(s.id)
        if line is not None:
            pic.map_region(*box, lambda x, y, c, edge, line=line: line if c == INK else
                           scale(hue_shift(c, 0.42, 1.25), 0.65))
        elif "explosion" in s.id:  # cold plasma instead of fire
            pic.map_region(*box, lambda x, y, c, edge: hue_shift(c, 0.55, 1.0))
        elif s.id == "bullet":  # gold sparks, nothing else in this skin is that bright yellow
            pic.map_region(*box, lambda x, y, c, edge: hue_shift(c, 0.2, 1.0, 1.2))
        elif s.id in ("shot", "laser"):  # cyan shots, a pink beam
            pic.map_region(*box, lambda x, y, c, edge: hue_shift(c, 0.35, 1.0))
        elif s.id.startswith("capsule"):
            pic.map_region(*box, lambda x, y, c, edge: hue_shift(c, 0.36, 1.0))


def hud():
    p = Picture(128, 64)
    meter_cell(p, 0, 0, (44, 16, 70), (14, 4, 28), (150, 80, 220), (90, 50, 150))
    meter_cell(p, 64, 0, (20, 170, 190), (6, 70, 90), (190, 255, 255), (130, 240, 240))
    for i, word in enumerate(["SPEED", "MISSILE", "DOUBLE", "LASER", "OPTION", "SHIELD"]):
        label(p, (i % 2) * 64 + 32, 16 + (i // 2) * 16 + 4, word, (255, 255, 255), (150, 255, 250), (20, 4, 36))
    return p


def nebula_map():
    return starfield(4242, (70, (200, 120, 255)), (24, (255, 200, 240)), (6, [(255, 140, 230), (140, 230, 255)]),
                     ((46, 16, 64), 0.6))


def stages():
    s = Stage("NEBULA RUN  VIOLET DRIFT")
    plan(s, 120, 7260, (210, 150),
         [("swoop1", True), ("line", True), ("swarm", False), ("carrier", True), ("spin1", False), ("hook2", True),
          ("chase", False), ("eel1", False), ("swarm", True), ("darts", True), ("ram", False), ("sweep", False),
          ("pincer", True), ("eel2", False), ("hooks", True), ("chase", True), ("swarm", False), ("spin2", False)],
         (0.1, 0.7), "boss2", 160)
    return [s]
