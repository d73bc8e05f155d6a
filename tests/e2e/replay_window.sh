#!/usr/bin/env bash
# Record and replay: a game played with real key presses in the window under Xvfb is recorded with --record;
# morvanth-headless replays the recording to the same picture the window showed at its end (paused, so the
# picture stands still), the window replays it (--replay) to that picture too, and recording that replay
# gives back the same keys frame for frame. Escape ends a replay.
set -u
BUILD=$(cd "$1" && pwd)
GAME="$BUILD/morvanth"
RUNNER="$BUILD/morvanth-headless"
source "$(dirname "$0")/xvfb.bash"
window_test_begin
for tool in Xvfb xwininfo xwd convert compare xdotool; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done
start_xvfb "$WORK/xvfb.log"

# Waits up to 10 s for the game to end by itself; its status must be 0.
end_game() {
  for _ in $(seq 100); do
    kill -0 "$GAME_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$GAME_PID" 2>/dev/null && fail "the game did not end"
  wait "$GAME_PID"
  local status=$?
  GAME_PID=""
  [ "$status" -eq 0 ] || fail "the game ended with status $status: $(cat "$WORK/game.err")"
}
shot() { xwd -silent -id "$WIN" >"$WORK/shot.xwd" && convert "$WORK/shot.xwd" "$1" || fail "screenshot failed"; }
pixel() { convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | tail -1 | grep -o '#[0-9A-F]\{6\}'; }
press() { xdotool keydown "$1"; sleep 0.2; xdotool keyup "$1"; }
differing() { compare -metric AE "$1" "$2" null: 2>&1; }
# wait_for WHAT CONDITION...: takes a shot ($WORK/now.png) every 0.2 s until the condition holds, for up to 60 s;
# the game's speed depends on the machine's load, so the script follows its pictures rather than the clock.
wait_for() {
  local what=$1
  shift
  for _ in $(seq 300); do
    cp "$WORK/now.png" "$WORK/before.png" 2>/dev/null
    shot "$WORK/now.png"
    "$@" && return
    sleep 0.2
  done
  fail "waited in vain for $what"
}
title_drawn() { [ "$(pixel "$WORK/now.png" 102 128)" = "#FF0000" ]; }
meter_shown() { [ "$(pixel "$WORK/now.png" 240 562)" != "$(pixel "$WORK/now.png" 240 540)" ]; }
standing_still() { [ -f "$WORK/before.png" ] && [ "$(differing "$WORK/before.png" "$WORK/now.png")" = 0 ]; }

# A short game: once the title is drawn Enter starts it; the ship moves right and up while firing, then Enter
# pauses the game and its picture stands still.
start_game --record "$WORK/game.keys"
wait_for "the title" title_drawn
press Return
wait_for "the game" meter_shown
xdotool keydown z keydown Right
sleep 1
xdotool keyup Right keydown Up
sleep 0.4
xdotool keyup Up keyup z
sleep 0.3
press Return
rm -f "$WORK/now.png" "$WORK/before.png"
wait_for "the pause" standing_still
cp "$WORK/now.png" "$WORK/window.png"
kill -TERM "$GAME_PID"
end_game

KEYS="$WORK/game.keys"
grep -q '^seed [0-9][0-9]*$' "$KEYS" || fail "no seed line: $(head -3 "$KEYS")"
grep -q '^skin morv$' "$KEYS" || fail "no skin line: $(head -3 "$KEYS")"
grep -q ' RIGHT' "$KEYS" && grep -q ' UP' "$KEYS" && grep -q ' Z' "$KEYS" || fail "keys missing: $(cat "$KEYS")"
[ -n "${MORVANTH_SHOT_DIR:-}" ] && cp "$KEYS" "$MORVANTH_SHOT_DIR/replay.keys"
FRAMES=$(tail -1 "$KEYS")
[[ "$FRAMES" =~ ^[0-9]+$ ]] && [ "$FRAMES" -gt 135 ] || fail "the recording does not end with its frame count: $FRAMES"

"$RUNNER" --input "$KEYS" --frames "$FRAMES" --state "$WORK/replay.jsonl" --shot "$((FRAMES - 1)):$WORK/replay.png" \
  || fail "morvanth-headless could not replay the recording"
LAST=$(tail -1 "$WORK/replay.jsonl")
[[ "$LAST" == *'"scene":1,'* && "$LAST" == *'"paused":true'* ]] || fail "the replay ends elsewhere: $LAST"
[ "$(differing "$WORK/window.png" "$WORK/replay.png")" = 0 ] \
  || fail "the replay's last picture differs from the window's in $(differing "$WORK/window.png" "$WORK/replay.png") pixels"

# The window replays it too (and records what it plays); after the recording's end the game stays paused.
start_game --replay "$KEYS" --record "$WORK/again.keys"
replayed() { [ "$(differing "$WORK/now.png" "$WORK/replay.png")" = 0 ]; }
wait_for "the window's replay to reach the recording's last picture" replayed
press Escape
end_game
# Both end with their own frame count; every line before it is the same.
diff <(sed '$d' "$WORK/again.keys") <(sed '$d' "$KEYS") >/dev/null \
  || fail "the window replay saw other keys: $(diff <(sed '$d' "$WORK/again.keys") <(sed '$d' "$KEYS") | head)"
if [ -n "${MORVANTH_SHOT_DIR:-}" ]; then cp "$WORK/window.png" "$MORVANTH_SHOT_DIR/replay-window.png"; fi
echo "ok: $FRAMES recorded frames replayed to the same picture, headless and in the window"
