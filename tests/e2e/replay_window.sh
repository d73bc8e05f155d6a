#!/usr/bin/env bash
# Record and replay: a game played with real key presses in the window under Xvfb is recorded with --record;
# morvanth-headless replays the recording to the same picture the window showed at its end (paused, so the
# picture stands still), the window replays it (--replay) to that picture too, and recording that replay
# gives back the same keys frame for frame. Escape ends a replay. Every step waits on the game's state lines.
set -u
source "$(dirname "$0")/lib.bash"
window_test_begin "$1"
require_tools Xvfb xwininfo xwd convert compare xdotool
start_xvfb "$WORK/xvfb.log"

# A short game: once the logo is drawn Enter starts it; after the fly-in the ship moves right and up while
# firing, then Enter pauses the game.
start_game --classic --record "$WORK/game.keys"
wait_until "the whole logo" is complete true
tap_until "the game" Return is scene 1
wait_until "the end of the fly-in" is entering false
X0=$(field x)
Y0=$(field y)
keys_down z Right
wait_until "the ship 160 pixels to the right" at_least x $((X0 + 160))
keys_up Right
keys_down Up
wait_until "the ship 60 pixels up" at_most y $((Y0 - 60))
keys_up Up z
wait_frames 20
tap_until "the pause" Return is paused true
WAIT_FRAMES=1200 wait_until "a still picture of the pause" still "$WORK/window.png"
stop_game

KEYS="$WORK/game.keys"
grep -q '^seed [0-9][0-9]*$' "$KEYS" || fail "no seed line: $(head -3 "$KEYS")"
grep -q '^skin morv$' "$KEYS" || fail "no skin line: $(head -3 "$KEYS")"
grep -q ' RIGHT' "$KEYS" && grep -q ' UP' "$KEYS" && grep -q ' Z' "$KEYS" || fail "keys missing: $(cat "$KEYS")"
[ -n "${MORVANTH_SHOT_DIR:-}" ] && cp "$KEYS" "$MORVANTH_SHOT_DIR/replay.keys"
FRAMES=$(tail -1 "$KEYS")
[[ "$FRAMES" =~ ^[0-9]+$ ]] && [ "$FRAMES" -gt 135 ] || fail "the recording does not end with its frame count: $FRAMES"

replay_headless "$KEYS" "$FRAMES"
LAST=$(tail -1 "$WORK/replay.jsonl")
[[ "$LAST" == *'"scene":1,'* && "$LAST" == *'"paused":true'* ]] || fail "the replay ends elsewhere: $LAST"
[ "$(differing "$WORK/window.png" "$WORK/replay.png")" = 0 ] \
  || fail "the replay's last picture differs from the window's in $(differing "$WORK/window.png" "$WORK/replay.png") pixels"

# The window replays it too (and records what it plays). Once past the recording's last frame the game stays
# paused on the recording's last picture; Escape, held until the game ends, stops the replay.
start_game --replay "$KEYS" --record "$WORK/again.keys"
wait_until "the replay past the recording's end (frame $FRAMES)" at_frame "$FRAMES"
is paused true || fail "the window's replay is not paused after the recording's end: $(state)"
replayed() {
  shot "$WORK/now.png"
  [ "$(differing "$WORK/now.png" "$WORK/replay.png")" = 0 ]
}
WAIT_FRAMES=1200 wait_until "the recording's last picture in the window's replay" replayed
xdotool keydown Escape
wait_until "the replay to end on Escape" game_ended
xdotool keyup Escape
game_status_zero
# Both end with their own frame count; every line before it is the same.
diff <(sed '$d' "$WORK/again.keys") <(sed '$d' "$KEYS") >/dev/null \
  || fail "the window replay saw other keys: $(diff <(sed '$d' "$WORK/again.keys") <(sed '$d' "$KEYS") | head)"
if [ -n "${MORVANTH_SHOT_DIR:-}" ]; then cp "$WORK/window.png" "$MORVANTH_SHOT_DIR/replay-window.png"; fi
echo "ok: $FRAMES recorded frames replayed to the same picture, headless and in the window"
