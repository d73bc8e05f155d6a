#!/usr/bin/env bash
# morvanth-motionpaths end to end: one path per motion code, the boss path flown for exactly one lap, and the
# diagrams in docs/motion/ equal to what the game's enemy code draws now (redraw them with
# tools/morvanth-motionpaths/make_diagrams.sh when a motion changes). Arguments: BUILD_DIR SOURCE_DIR.
set -u
tool="$(cd "$1" && pwd)/morvanth-motionpaths"
src=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

"$tool" "$work/out" >"$work/points" 2>"$work/err" || fail "exit $? -- $(cat "$work/err")"
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
counts=$(awk '{print $1}' "$work/points" | uniq -c | awk '{print $2, $1}')
[ "$counts" = "$expected" ] || fail "frames per motion code differ: $counts"
grep -qx 'sturn1 1 775 100' "$work/points" || fail "sturn1 does not start at (775, 100)"

for name in straight sturn1 sturn2 cturn1 cturn2 zigzag1 zigzag2 boss1; do
  cmp -s "$work/out/$name.png" "$src/docs/motion/$name.png" || fail "docs/motion/$name.png is not what the tool draws"
done

"$tool" >/dev/null 2>&1
[ $? -eq 2 ] || fail "missing argument not refused with status 2"

[ $failures -eq 0 ] || exit 1
echo "motionpaths: all checks passed"
