#!/usr/bin/env bash
# Every bundled skin loads in morvanth-skincheck exactly as the game loads it, and its stages are built as
# designed: 2 to 3 minutes each, a "boss1" stage-clear enemy last, restart points about every 1,500 frames,
# groups and lone carriers that pay capsules, every motion used. "morv" also has three stages with their own
# titles (one Japanese) and bosses, fewer capsules from stage to stage, eight enemy designs; every map tiles at
# the background's 192 x 96 scale. Arguments: BUILD_DIR SOURCE_DIR.
set -u
BUILD=$1
SRC=$2
command -v python3 >/dev/null || { echo "python3 is not installed"; exit 77; }
source "$(dirname "$0")/lib.bash"
scratch_begin
status=0
skins=0
for dir in "$SRC"/skin/*/; do
  skin=$(basename "$dir")
  [ "$skin" = system ] && continue
  skins=$((skins + 1))
  "$BUILD/morvanth-skincheck" "$SRC" "$skin" --json >"$WORK/$skin.json" 2>"$WORK/$skin.err" ||
    { echo "FAIL: $skin: $(cat "$WORK/$skin.err")" >&2; status=1; continue; }
  python3 - "$WORK/$skin.json" "$skin" <<'PY' || status=1
import json, struct, sys
report, skin = json.load(open(sys.argv[1])), sys.argv[2]
graphics = {g["id"]: g for g in report["graphics"]}
problems = []
def check(ok, what):
    if not ok:
        problems.append(what)

with open(report["map"], "rb") as f:
    width, height = struct.unpack("<ii", f.read(26)[18:26])
check((width, abs(height)) == (192, 96), "map is %dx%d, not 192x96" % (width, height))
ship = graphics["ship"]
left, top, right, bottom = ship["hitArea"]
check(right - left < ship["width"] // 2 and bottom - top < ship["height"] // 2, "ship hit area not small")
boom = graphics["explosion"]
check(boom["kind"] == "animation" and len(boom["frames"]) >= 6, "explosion has fewer than 6 frames")
check(all(graphics[f["ref"]]["blendMode"] == 1 for f in boom["frames"]), "explosion not additive")

motions, designs, bosses, capsules = set(), set(), [], []
for n, stage in enumerate(report["stages"], 1):
    enemies = [e for e in stage["entries"] if e["kind"] == "enemy"]
    clear = [e for e in enemies if e["stageClear"]]
    check(len(clear) == 1 and clear[0] is enemies[-1], "stage %d: not one stage-clear enemy, last" % n)
    boss = clear[0]
    length = boss["frame"]
    check(7200 <= length <= 10800, "stage %d: boss at frame %d" % (n, length))
    check(boss["motion"] == 7 and boss["hp"] >= 100, "stage %d: boss not a boss1 mover with many hit points" % n)
    picture = graphics[boss["graphic"]]["texture"]
    check(picture["width"] >= 96 and picture["height"] >= 64, "stage %d: boss picture too small" % n)
    bosses.append(boss["graphic"])
    restarts = [0] + [e["frame"] for e in stage["entries"] if e["kind"] == "restartpoint"] + [length]
    check(max(b - a for a, b in zip(restarts, restarts[1:])) <= 1600, "stage %d: restart points too far apart" % n)
    paying_groups = {e["group"] for e in enemies if e["group"] >= 0 and e["item"]}
    carriers = [e for e in enemies if e["group"] < 0 and e["item"]]
    check(paying_groups and carriers, "stage %d: no paying group or no lone carrier" % n)
    capsules.append(len(paying_groups) + len(carriers))
    motions |= {e["motion"] for e in enemies}
    designs |= {e["graphic"] for e in enemies if not e["stageClear"]}
check(motions == set(range(8)), "motions used: %s" % sorted(motions))
if skin == "morv":
    titles = [s["title"] for s in report["stages"]]
    check(len(titles) == 3 and len(set(titles)) == 3, "not three stages with their own titles")
    check(any(ord(c) > 127 for t in titles for c in t), "no Japanese title")
    check(len(set(bosses)) == 3, "bosses share a picture")
    check(capsules == sorted(capsules, reverse=True) and capsules[0] > capsules[-1], "capsules %s" % capsules)
    check(len(designs) >= 8, "only %d enemy designs" % len(designs))
for p in problems:
    print("FAIL: %s: %s" % (skin, p), file=sys.stderr)
sys.exit(1 if problems else 0)
PY
done
[ "$skins" -ge 2 ] || { echo "FAIL: fewer than two bundled skins" >&2; status=1; }
[ "$status" -eq 0 ] && echo "ok: $skins bundled skins load and are built as designed"
exit "$status"
