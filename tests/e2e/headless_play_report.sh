#!/usr/bin/env bash
# What happened in play, from morvanth-headless: --objects names each enemy by its script id (its enemy element's
# place in the stage, restart points not counted) with its group and hit points, and lists the enemies gone in a
# frame with how they ended; --report sums each group's enemies spawned, destroyed and escaped and the capsules
# it paid, and each script enemy's hits; --hitboxes outlines the hit rectangles in the shots. Also --stage,
# --frame and --power, and their refusals.
set -u
source "$(dirname "$0")/headless.bash" "$1"
SOURCE=$(cd "${2:-$(dirname "$0")/../..}" && pwd)
command -v python3 >/dev/null || fail "python3 is not installed"

# A copy of the bundled skin with a stage of the test's own. The ship ends its fly-in at (140, 300) and fires
# along y 300: what waits there is shot down, what flies past elsewhere escapes.
ROOT="$WORK/root"
mkdir -p "$ROOT/skin"
cp -r "$SOURCE/skin/morv" "$ROOT/skin/test"
ln -s "$SOURCE/skin/system" "$ROOT/skin/system"
cat >"$ROOT/skin/test/xml/stagedef.xml" <<'XML'
<stagedef>
  <stage title="REPORT">
    <group frame="0" y="300" speed="0" item="powerup">
      <enemy frame="0" x="700"/>
      <enemy frame="0" x="760"/>
    </group>
    <restartpoint frame="100"/>
    <enemy frame="10" x="800" y="100" speed="4"/>
    <group frame="200" item="powerup">
      <enemy frame="0" x="700" y="300" speed="0" hp="2"/>
      <enemy frame="0" x="800" y="500" speed="4"/>
    </group>
  </stage>
  <stage title="SECOND"/>
</stagedef>
XML
echo "0 Z" >"$WORK/fire.in"
"$RUNNER" --root "$ROOT" --skin test --stage 1 --seed 3 --frames 700 --input "$WORK/fire.in" --objects \
  --state "$WORK/state.jsonl" --report "$WORK/report.json" --shot 120:"$WORK/boxes.png" --hitboxes \
  2>"$WORK/err" || fail "run: $(cat "$WORK/err")"
"$RUNNER" --root "$ROOT" --skin test --stage 1 --seed 3 --frames 121 --input "$WORK/fire.in" \
  --shot 120:"$WORK/plain.png" 2>"$WORK/err" || fail "plain run: $(cat "$WORK/err")"

python3 - "$WORK/state.jsonl" "$WORK/report.json" >"$WORK/check.out" <<'PY' || fail "$(cat "$WORK/check.out")"
import json, sys
lines = [json.loads(l) for l in open(sys.argv[1])]
report = json.load(open(sys.argv[2]))
problems = []
def check(what, got, want):
    if got != want:
        problems.append("%s: %r, not %r" % (what, got, want))
seen = {}
for s in lines:
    for e in s["objects"]["enemies"]:
        seen.setdefault(e["id"], e)
gone = {}
for s in lines:
    for g in s["gone"]:
        gone.setdefault(g["id"], (g["end"], g["group"], g["hp"], s["frame"]))
check("ids and groups", sorted((i, e["group"]) for i, e in seen.items()), [(0, 0), (1, 0), (2, -1), (3, 1), (4, 1)])
check("hit points of id 3 at first", seen[3]["hp"], 2)
check("endings", {i: g[0] for i, g in gone.items()},
      {0: "destroyed", 1: "destroyed", 2: "escaped", 3: "destroyed", 4: "escaped"})
check("hit points left when gone", {i: g[2] for i, g in gone.items()}, {0: 0, 1: 0, 2: 0, 3: 0, 4: 0})
# An enemy is listed in the frames it flies, and gone in the frame it ends, not before.
first_gone = gone[2][3]
check("id 2 flying the frame before it is gone", any(e["id"] == 2 for e in lines[first_gone - 1]["objects"]["enemies"]), True)
check("id 2 not flying once gone", any(e["id"] == 2 for e in lines[first_gone]["objects"]["enemies"]), False)
check("stages reported", [st["stage"] for st in report["stages"]], [1])
stage = report["stages"][0]
check("title", stage["title"], "REPORT")
groups = {g["group"]: g for g in stage["groups"]}
row = lambda g: (g.get("size"), g["spawned"], g["destroyed"], g["escaped"], g["cleared"], g["flying"], g["paid"])
check("group 0", row(groups[0]), (2, 2, 2, 0, 0, 0, 1))
check("group 1", row(groups[1]), (2, 2, 1, 1, 0, 0, 0))
check("no group", row(groups[-1]), (None, 1, 0, 1, 0, 0, 0))
enemies = {e["id"]: e for e in stage["enemies"]}
check("hits", {i: e["hits"] for i, e in enemies.items()}, {0: 1, 1: 1, 2: 0, 3: 2, 4: 0})
check("frames", {i: e["frame"] for i, e in enemies.items()}, {0: 0, 1: 0, 2: 10, 3: 200, 4: 200})
print("\n".join(problems) if problems else "ok")
sys.exit(1 if problems else 0)
PY

# The outlines: an enemy's top-left corner red in the boxed picture, not in the plain one; the ship's green.
read -r left top < <(python3 -c "
import json, sys
s = [json.loads(l) for l in open(sys.argv[1])][120]['objects']
e = s['enemies'][0]['rect']; print(e[0], e[1])" "$WORK/state.jsonl")
[ "$(pixel "$WORK/boxes.png" "$left" "$top")" = "#FF0000" ] || fail "no red outline at ($left, $top)"
[ "$(pixel "$WORK/plain.png" "$left" "$top")" != "#FF0000" ] || fail "the plain picture has the outline"
read -r left top < <(python3 -c "
import json, sys
s = [json.loads(l) for l in open(sys.argv[1])][120]['objects']
print(s['ship'][0], s['ship'][1])" "$WORK/state.jsonl")
[ "$(pixel "$WORK/boxes.png" "$left" "$top")" = "#00FF00" ] || fail "no green outline of the ship at ($left, $top)"

# Start anywhere: stage 2 of this skin at frame 50 with the laser and three options.
"$RUNNER" --root "$ROOT" --skin test --stage 2 --frame 50 --power laser,options=3,speed=7 --frames 1 \
  --state "$WORK/start.jsonl" 2>"$WORK/err" || fail "start: $(cat "$WORK/err")"
for want in '"stage":1,"stageTitle":"SECOND","stageFrame":50' '"restartFrame":50' '"speed":7,"shotType":2,"options":3,"entering":true'; do
  grep -qF "$want" "$WORK/start.jsonl" || fail "start: no $want in $(cat "$WORK/start.jsonl")"
done
refused() {
  local want=$1
  shift
  "$RUNNER" --root "$ROOT" --skin test --frames 1 "$@" >/dev/null 2>"$WORK/err"
  [ $? -eq 2 ] || fail "$* was not refused with status 2"
  grep -qF "$want" "$WORK/err" || fail "$*: $(cat "$WORK/err")"
}
refused "the skin test has 2 stages" --stage 3
refused "counts stages from 1" --stage 0
refused "bad stage frame" --frame -5
refused "one of double and laser" --power double,laser
refused "options=N takes a whole number from 0 to 4" --power options=5
refused "unknown power-up 'shield'" --power shield
echo "ok: enemies named and followed to their end, the report's sums, hit rectangles drawn, start anywhere"
