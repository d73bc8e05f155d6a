#!/usr/bin/env bash
# The sounds of the bundled skin are exactly what tools/soundgen writes (one recipe for each effect of the game's
# sound table, src/base/SoundTable.h), none clips, and the effects lie within 6 dB of each other in loudness; the
# skin authors' guide lists the table's effects with their limits and its music.
set -u
SOURCE=$(cd "$2" && pwd)
command -v python3 >/dev/null || { echo "python3 is not installed" >&2; exit 77; }
python3 "$SOURCE/tools/soundgen/make_sounds.py" --check "$SOURCE/skin/morv/sound" || exit 1
python3 "$SOURCE/tools/soundgen/sound_table.py" --docs "$SOURCE/docs/skins.md" || exit 1
echo "ok: skin/morv/sound is reproduced byte for byte"
