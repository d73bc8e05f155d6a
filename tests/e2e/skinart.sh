#!/usr/bin/env bash
# The bundled skins are generated: tools/skinart/make_skin_art.py, run into an empty folder, writes every file of
# skin/morv, skin/nebula and skin/system byte for byte as committed (the sounds have a generator and a test of
# their own). Arguments: BUILD_DIR SOURCE_DIR.
set -u
SRC=$2
command -v python3 >/dev/null || { echo "python3 is not installed"; exit 77; }
source "$(dirname "$0")/lib.bash"
scratch_begin
python3 "$SRC/tools/skinart/make_skin_art.py" "$WORK" || { echo "FAIL: the generator failed" >&2; exit 1; }
status=0
for skin in morv nebula system; do
  diff -r -x ".*" -x sound "$WORK/skin/$skin" "$SRC/skin/$skin" >"$WORK/diff.txt" 2>&1 ||
    { echo "FAIL: skin/$skin differs from the generator's output:" >&2; cat "$WORK/diff.txt" >&2; status=1; }
done
[ "$status" -eq 0 ] && echo "ok: the generator reproduces the bundled skins"
exit "$status"
