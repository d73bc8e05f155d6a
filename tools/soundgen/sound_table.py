#!/usr/bin/env python3
"""The game's sound table (src/base/SoundTable.h) as the tools see it: the effects with their limits and the
music tracks, read from the rows of the header's X-macros, so that the program, the generator and the skin
authors' documentation name the same sounds.

  sound_table.py --docs FILE    exit 1 unless FILE (docs/skins.md) lists exactly the table's effects, each
                                with its limit, and its music tracks
"""
import os
import re
import sys

HEADER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "src", "base", "SoundTable.h")

EFFECT_ROW = re.compile(r'X\(\s*(se\w+)\s*,\s*"(\w+)"\s*,\s*(\d+)\s*,\s*"([^"]*)"\s*\)')
MUSIC_ROW = re.compile(r'X\(\s*(mk\w+)\s*,\s*"(\w+)"\s*,\s*(true|false)\s*,\s*"([^"]*)"\s*\)')


class Effect:
    def __init__(self, enumerator, stem, limit, comment):
        self.enumerator, self.stem, self.limit, self.comment = enumerator, stem, int(limit), comment


class Track:
    def __init__(self, enumerator, stem, numbered, comment):
        self.enumerator, self.stem, self.numbered, self.comment = enumerator, stem, numbered == "true", comment

    def names(self, name):
        """Whether name ("stage2", "title") is a file stem of this track."""
        if not self.numbered:
            return name == self.stem
        return name.startswith(self.stem) and name[len(self.stem):].isdigit()


def macro_body(text, macro):
    """The lines of one #define, continuation lines joined."""
    start = text.index("#define " + macro + "(")
    lines = []
    for line in text[start:].splitlines():
        lines.append(line.rstrip("\\ "))
        if not line.rstrip().endswith("\\"):
            break
    return "\n".join(lines)


def read(path=HEADER):
    """(effects, tracks) in the table's order."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    effects = [Effect(*m) for m in EFFECT_ROW.findall(macro_body(text, "MORVANTH_SOUND_EFFECTS"))]
    tracks = [Track(*m) for m in MUSIC_ROW.findall(macro_body(text, "MORVANTH_MUSIC_TRACKS"))]
    if not effects or not tracks:
        raise ValueError("%s: no sound rows found" % path)
    return effects, tracks


def docs_table(text, heading):
    """The first cells and the cells after them of the Markdown table that follows the paragraph starting
    with heading, as {stem: [cells]}: a cell of several stems (`stage1`, `stage2`, ...) gives each its row."""
    start = text.index(heading)
    rows = {}
    in_table = False
    for line in text[start:].splitlines()[1:]:
        if line.startswith("|"):
            in_table = True
            cells = [c.strip() for c in line.strip("|").split("|")]
            for stem in re.findall(r"`(\w+)`", cells[0]):
                rows[stem] = cells[1:]
        elif in_table:
            break
    return rows


def check_docs(path):
    effects, tracks = read()
    with open(path, encoding="utf-8") as f:
        text = f.read()
    problems = []
    listed = docs_table(text, "**Effects.**")
    for effect in effects:
        if effect.stem not in listed:
            problems.append("effect %s is not listed" % effect.stem)
        elif listed[effect.stem][0] != str(effect.limit):
            problems.append("effect %s: the table says %d at once, the docs %s" % (
                effect.stem, effect.limit, listed[effect.stem][0]))
    problems += ["%s is not an effect of the game" % s for s in sorted(set(listed) - {e.stem for e in effects})]
    music = docs_table(text, "**Music.**")
    for track in tracks:
        if not any(track.names(stem) for stem in music):
            problems.append("music %s is not listed" % track.stem)
    problems += ["%s is not a track of the game" % s for s in sorted(music)
                 if not any(t.names(s) for t in tracks)]
    for p in problems:
        print("sound_table: %s: %s" % (path, p), file=sys.stderr)
    return 1 if problems else 0


def main(argv):
    if len(argv) == 2 and argv[0] == "--docs":
        return check_docs(argv[1])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
