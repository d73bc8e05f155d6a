#!/usr/bin/env bash
# morvanth-headless plays a scripted game on the bundled skin: from the title into stage 1, a group shot down,
# its capsule collected and spent on speed, a ship lost by ramming, a pause, two more losses, game over and the
# title again. The --state stream proves each step; PNG shots of play, pause and game over are checked. Also: a
# device lost in play comes back with every texture intact.
set -u
source "$(dirname "$0")/headless.bash" "$1"
expect() { line "$STATE" "$1" | grep -q "$2" || fail "frame $1: expected $2 in $(line "$STATE" "$1")"; }
STATE="$WORK/game.jsonl"

# Enter on the finished title; up to the first group's height and fire; right to meet its capsule; C buys speed;
# down into the second group; pause during the fly-in; twice up into the first group again.
cat >"$WORK/game.in" <<'KEYS'
150 ENTER
152
260 UP
305 Z
420 RIGHT Z
500 Z
600 C
602
610 DOWN
674
800 ENTER
802
830 ENTER
832
890 UP
935
1330 UP
1375
KEYS
"$RUNNER" --classic --seed 2 --frames 1905 --input "$WORK/game.in" --state "$STATE" --shot 595:"$WORK/play.png" \
  --shot 815:"$WORK/pause.png" --shot 1650:"$WORK/gameover.png" 2>"$WORK/game.err" || fail "run: $(cat "$WORK/game.err")"

expect 150 '"scene":1,"sceneFrame":0,"stage":0,"stageTitle":"STAGE 1  DEEP FIELD","stageFrame":0,"playState":0'
expect 150 '"entering":true'
expect 251 '"entering":false'
# The first group is shot down: its capsule drops, explosions show.
expect 419 '"drops":1,"explosions":3'
expect 590 '"cursor":0,"speed":4'
expect 600 '"cursor":255,"speed":5'
# Rammed: one ship lost, the field goes on without it, and 50 frames later the stage restarts from frame 0.
expect 697 '"lives":2,"energy":0'
expect 746 '"lives":2,"energy":0'
expect 747 '"stageFrame":0,.*"lives":2,"energy":1,"cursor":255,"speed":4,.*"entering":true'
# Paused for 30 frames: nothing moves.
expect 800 '"paused":true'
[ "$(line "$STATE" 800 | sed 's/"frame":[0-9]*,//')" = "$(line "$STATE" 829 | sed 's/"frame":[0-9]*,//')" ] ||
  fail "the paused game changed"
expect 830 '"paused":false'
expect 1164 '"lives":1,"energy":0'
expect 1601 '"playState":1,.*"lives":0'
# Enemies keep coming during game over; 300 frames later the title is back.
expect 1900 '"scene":1,.*"playState":1'
expect 1901 '"scene":0,"sceneFrame":0'

# Play: the meter's speed cell is selected (its background differs from the missile cell's), the ship is drawn.
[ "$(pixel "$WORK/play.png" 212 562)" != "$(pixel "$WORK/play.png" 276 562)" ] || fail "no selected meter cell"
# Pause: light text in the centre; game over: orange text in the centre.
LIGHT=$(convert "$WORK/pause.png" -crop 80x20+360+290 +repage -fx "(r>0.6&&g>0.6&&b>0.6)?1:0" -format "%[fx:mean*w*h]" info:)
[ "${LIGHT%.*}" -gt 20 ] || fail "no PAUSE text ($LIGHT light pixels)"
ORANGE=$(convert "$WORK/gameover.png" -crop 240x50+280+275 +repage -fx "(r>0.9&&g>0.35&&g<0.65&&b<0.2)?1:0" \
         -format "%[fx:mean*w*h]" info:)
[ "${ORANGE%.*}" -gt 200 ] || fail "no orange GAMEOVER text ($ORANGE orange pixels)"

# The device lost for 10 frames in play: the game goes on meanwhile, the reset brings drawing back, and every
# texture (map, sprites, meter, text) comes through: the picture 100 frames later equals the one of a run without
# the loss.
"$RUNNER" --classic --seed 2 --frames 700 --input "$WORK/game.in" --shot 699:"$WORK/kept.png" 2>"$WORK/kept.err" ||
  fail "run without loss: $(cat "$WORK/kept.err")"
"$RUNNER" --classic --seed 2 --frames 700 --input "$WORK/game.in" --lose-device 590:10 --state "$WORK/lost.jsonl" \
  --shot 589:"$WORK/before.png" --shot 595:"$WORK/during.png" --shot 699:"$WORK/restored.png" 2>"$WORK/lost.err" || fail "loss run: $(cat "$WORK/lost.err")"
[ "$(line "$WORK/lost.jsonl" 600 | sed 's/"frame":[0-9]*,//')" = "$(line "$STATE" 600 | sed 's/"frame":[0-9]*,//')" ] ||
  fail "the game did not go on while the device was lost"
cmp -s "$WORK/before.png" "$WORK/during.png" || fail "frames were drawn while the device was lost"
cmp -s "$WORK/during.png" "$WORK/restored.png" && fail "the picture did not change after the reset"
cmp -s "$WORK/kept.png" "$WORK/restored.png" || fail "after the reset the picture differs from a run without the loss"

# A skin that lacks a graphic the game needs: the error box's text and status 1 when the game starts.
mkdir -p "$WORK/root/skin"
cp -r "$BUILD/skin/system" "$BUILD/skin/morv" "$WORK/root/skin/"
sed -i 's/id="bullet"/id="pellet"/' "$WORK/root/skin/morv/xml/graphicdef.xml"
"$RUNNER" --root "$WORK/root" --start-scene 1 --frames 5 2>"$WORK/broken.err"
status=$?
[ "$status" -eq 1 ] || fail "a skin without \"bullet\" gave status $status"
grep -q '^エラー: "bullet"は定義されていないグラフィックIDです' "$WORK/broken.err" || fail "message: $(cat "$WORK/broken.err")"

if [ -n "${MORVANTH_SHOT_DIR:-}" ]; then cp "$WORK"/*.png "$MORVANTH_SHOT_DIR/"; fi
echo "ok: a scripted game from the title to game over and back"
