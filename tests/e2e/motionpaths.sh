#!/usr/bin/env bash
# morvanth-motionpaths end to end: one path per motion code, the boss path flown for exactly one lap, and the
# diagrams in docs/motion/ equal to what the game's enemy code draws now (redraw them with
# tools/morvanth-motionpaths/make_diagrams.sh when a motion changes). Arguments: BUILD_DIR SOURCE_DIR.
set -u
tool="$(cd "$1" && pwd)/morvanth-motionpaths"
src=$2
source "$(dirname "$0")/lib.bash"
scratch_begin

"$tool" "$WORK/out" >"$WORK/points" 2>"$WORK/err" || fail_later "exit $? -- $(cat "$WORK/err")"
# Frames per path at speed 5: straight and zigzag reach x -100, the turns use up 1680 or 1069 pixels, the boss
# wraps after 3988.
expected="straight 180
sturn1 337
sturn2 337
cturn1 214
cturn2 214
zigzag1 180
zigzag2 180
boss1 798"
counts=$(awk '{print $1}' "$WORK/points" | uniq -c | awk '{print $2, $1}')
[ "$counts" = "$expected" ] || fail_later "frames per motion code differ: $counts"
grep -qx 'sturn1 1 775 100' "$WORK/points" || fail_later "sturn1 does not start at (775, 100)"

for name in straight sturn1 sturn2 cturn1 cturn2 zigzag1 zigzag2 boss1; do
  cmp -s "$WORK/out/$name.png" "$src/docs/motion/$name.png" || fail_later "docs/motion/$name.png is not what the tool draws"
done

"$tool" >/dev/null 2>&1
[ $? -eq 2 ] || fail_later "missing argument not refused with status 2"

end_checks
echo "motionpaths: all checks passed"
