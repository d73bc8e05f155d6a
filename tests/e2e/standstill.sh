#!/usr/bin/env bash
# A game standing still cannot be won: with fire held from the start, Enter on the title and the ship never moved,
# every bundled skin loses its last ship by the end of stage 2 (drones overtaking from behind, and staircases of
# them over the whole height, ram a ship that stays put), whatever the seed. The state stream is read until the
# game is over; the run is then cut short. Arguments: BUILD_DIR SOURCE_DIR.
set -u
source "$(dirname "$0")/headless.bash" "$1"
SOURCE=$(cd "$2" && pwd)
printf '0 Z\n150 ENTER Z\n152 Z\n' >"$WORK/still.in"

# play_still SKIN SEED: the game-over state line (or "none"), then the first line in play with the ship away from its
# fly-in's end (or "still").
play_still() {
  "$RUNNER" --root "$SOURCE" --skin "$1" --seed "$2" --frames 60000 --input "$WORK/still.in" --state - \
    2>"$WORK/run.err" |
    awk '/"scene":1,/ && /"entering":false/ && /"energy":1,/ && !/"ship":\{"x":140,"y":300,/ {
           if (moved == "") moved = $0
         }
         /"playState":1,/ { over = $0; exit }
         END { print (over == "" ? "none" : over); print (moved == "" ? "still" : moved) }'
}

# The sanitizer build plays one seed a skin: its games take several times as long, and the seeds differ only in
# the enemies' last bullets.
SEEDS="1 2 3"
grep -q "^MORVANTH_SANITIZE:BOOL=ON" "$1/CMakeCache.txt" && SEEDS="1"
for skin in morv nebula; do
  for seed in $SEEDS; do
    { read -r over; read -r moved; } < <(play_still "$skin" "$seed")
    [ "$moved" = still ] || fail "$skin seed $seed: the ship moved: $moved"
    [ "$over" != none ] || fail "$skin seed $seed: no game over in 60000 frames $(cat "$WORK/run.err")"
    stage=$(sed -n 's/.*"stage":\([0-9-]*\),.*/\1/p' <<<"$over")
    frame=$(sed -n 's/^{"frame":\([0-9]*\),.*/\1/p' <<<"$over")
    grep -q '"lives":0,' <<<"$over" || fail "$skin seed $seed: game over with ships left: $over"
    [ "${stage:-9}" -le 1 ] || fail "$skin seed $seed: the last ship lost in stage $((stage + 1))"
    echo "$skin seed $seed: game over in stage $((stage + 1)) at frame $frame"
  done
done
echo "ok: a ship that holds fire and never moves loses every ship by the end of stage 2"
