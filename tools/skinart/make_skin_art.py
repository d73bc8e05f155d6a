#!/usr/bin/env python3
"""Draws the bundled skins and writes them: pictures as 24-bit BMP (magenta FF00FF is transparent), sprite
definitions and stage scripts as XML. Output is byte for byte the same on every run.

    python3 tools/skinart/make_skin_art.py [ROOT]     writes ROOT/skin/{morv,nebula,system} (default: this repository)
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import morv_art  # noqa: E402
import morv_stages  # noqa: E402
import nebula  # noqa: E402
from stages import stagedef  # noqa: E402


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("utf-8"))


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
    skin = os.path.join(root, "skin")

    sheets = morv_art.sprites()
    for sheet in sheets:
        write(os.path.join(skin, "morv", "graphic", sheet.filename), sheet.build().encode())
    write(os.path.join(skin, "morv", "graphic", "hud.bmp"), morv_art.hud().encode())
    write(os.path.join(skin, "morv", "graphic", "map.bmp"), morv_art.morv_map().encode())
    defs = morv_art.graphicdefs(sheets)
    morv_art.hud_defs(defs)
    write(os.path.join(skin, "morv", "xml", "graphicdef.xml"),
          defs.text("Sprites and animations of the default skin \"morv\". Pictures: graphic/sprites.bmp, "
                    "bosses.bmp, blasts.bmp and hud.bmp;\n     magenta pixels are transparent; rectangles are in picture pixels, right "
                    "and bottom exclusive."))
    write(os.path.join(skin, "morv", "xml", "stagedef.xml"),
          stagedef(morv_stages.stages(), "Stage scripts of \"morv\". Frames count from the start of the stage, 60 "
                   "per second;\n     a whole group shot down drops its capsule."))

    sheets, pics = nebula.sprites()
    for sheet, pic in zip(sheets, pics):
        write(os.path.join(skin, "nebula", "graphic", sheet.filename), pic.encode())
    write(os.path.join(skin, "nebula", "graphic", "hud.bmp"), nebula.hud().encode())
    write(os.path.join(skin, "nebula", "graphic", "map.bmp"), nebula.nebula_map().encode())
    defs = morv_art.graphicdefs(sheets)
    morv_art.hud_defs(defs)
    write(os.path.join(skin, "nebula", "xml", "graphicdef.xml"),
          defs.text("Sprites and animations of the skin \"nebula\": the cast of \"morv\" as neon line art."))
    write(os.path.join(skin, "nebula", "xml", "stagedef.xml"),
          stagedef(nebula.stages(), "Stage script of \"nebula\": one long stage. Frames count from the start of "
                   "the stage, 60 per second."))

    write(os.path.join(skin, "system", "graphic", "map.bmp"), morv_art.system_map().encode())


if __name__ == "__main__":
    main()
