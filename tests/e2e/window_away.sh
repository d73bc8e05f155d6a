#!/usr/bin/env bash
# A player's session in the real window under a window manager, followed through the game's own recording (each
# key change and each leaving of the window is written as it happens) and its replay by the headless runner:
# Enter starts a game; another window taking the focus pauses it and coming back does not resume it; Escape
# while paused gives up for the title; the Escape still held there does not quit, a new press does, with status
# 0 and the recording closed by its frame count. Then a game whose window is closed from outside (the X
# connection lost) leaves a recording cut at its last change, which still replays.
set -u
source "$(dirname "$0")/lib.bash"
window_test_begin "$1"
require_tools Xvfb openbox xwininfo xwd convert xdotool xmessage
start_xvfb "$WORK/xvfb.log" 1280x720
start_openbox
OTHER_PID=""
trap 'scratch_end; [ -n "$OTHER_PID" ] && kill "$OTHER_PID" 2>/dev/null' EXIT

KEYS="$WORK/game.keys"
# await_line PATTERN: waits for the recording's last line to match PATTERN (an extended regex): the game has seen
# that change.
last_line() { tail -1 "$KEYS" 2>/dev/null; }
last_line_is() { last_line | grep -Eqx "$1"; }
await_line() { WAIT_EXPLAIN=last_line wait_until "the recording's line \"$1\"" last_line_is "$1"; }
# key NAME LINE: holds the key until the game has recorded it down (LINE), then lets go and waits for its release.
key() {
  xdotool keydown "$1"
  await_line "[0-9]+ $2"
  xdotool keyup "$1"
  await_line "[0-9]+"
}
away_shot() { shot "$WORK/$1.png"
         if [ -n "${MORVANTH_SHOT_DIR:-}" ]; then cp "$WORK/$1.png" "$MORVANTH_SHOT_DIR/away-$1.png"; fi; }

start_game --classic --record "$KEYS"
xdotool windowactivate --sync "$WIN"
key Return ENTER  # completes the title's drawing
away_shot title
key Return ENTER  # starts the game
# Another window takes the focus: the game records that it was left.
xmessage -name elsewhere -title elsewhere -geometry +900+600 "elsewhere" 2>/dev/null &
OTHER_PID=$!
OTHER=""
other_shown() {
  OTHER=$(xwininfo -name elsewhere 2>/dev/null | awk '/Window id:/ {print $4}')
  [ -n "$OTHER" ]
}
wait_until "the xmessage window" other_shown
xdotool windowactivate --sync "$OTHER"
await_line "[0-9]+ AWAY"
away_shot away
xdotool windowactivate --sync "$WIN"
await_line "[0-9]+"
away_shot back
# Escape while paused: the title, where the same Escape, still held, does not quit (the game records its
# release); a new one does.
key Escape ESC
away_shot title-again
xdotool keydown Escape
wait_until "the game's end on Escape" game_ended
xdotool keyup Escape
wait "$GAME_PID"
status=$?
GAME_PID=""
[ "$status" -eq 0 ] || fail "quitting with Escape gave status $status: $(cat "$WORK/game.err")"
FRAMES=$(tail -1 "$KEYS")

# The replay: what the game did in those frames, from its state.
"$RUNNER" --input "$KEYS" --frames $((FRAMES + 10)) --state "$WORK/replay.jsonl" 2>"$WORK/replay.err" ||
  fail "the recording does not replay: $(cat "$WORK/replay.err")"
# The changes after the game's start: away, back, Escape (giving up), released, Escape (quitting), frame count.
CHANGES=$(sed -n '/ AWAY$/,$p' "$KEYS")
[ "$(echo "$CHANGES" | awk '{printf "%s/", $2}')" = "AWAY//ESC//ESC//" ] || fail "the recording's lines: $(cat "$KEYS")"
read -r AWAY BACK GIVEUP _ QUIT _ < <(echo "$CHANGES" | awk '{printf "%s ", $1}')
replay_state() { sed -n "$(($1 + 1))p" "$WORK/replay.jsonl"; }
replay_state $((AWAY - 1)) | grep -q '"scene":1,.*"paused":false' || fail "not playing before leaving: $(replay_state $((AWAY - 1)))"
replay_state "$AWAY" | grep -q '"paused":true' || fail "leaving the window did not pause: $(replay_state "$AWAY")"
replay_state $((GIVEUP - 1)) | grep -q '"scene":1,.*"paused":true' || fail "coming back resumed: $(replay_state $((GIVEUP - 1)))"
replay_state "$GIVEUP" | grep -q '"scene":0' || fail "Escape while paused did not give up: $(replay_state "$GIVEUP")"
[ "$(wc -l <"$WORK/replay.jsonl")" -eq $((QUIT + 1)) ] || fail "the replay did not quit at frame $QUIT"

# A window closed from outside: the X connection is lost while Right is held; the recording keeps that change.
KEYS="$WORK/cut.keys"
start_game --classic --record "$KEYS"
xdotool windowactivate --sync "$WIN"
key Return ENTER
xdotool keydown Right
await_line "[0-9]+ RIGHT"
xdotool windowclose "$WIN"
wait_until "the game's end with its window" game_ended
xdotool keyup Right
GAME_PID=""
# The window may be seen to lose the focus as it goes (a last "N AWAY"); the change kept before that is Right.
grep -v ' AWAY$' "$KEYS" | tail -1 | grep -Eqx "[0-9]+ RIGHT" ||
  fail "the cut recording ends with \"$(tail -2 "$KEYS" | tr '\n' /)\""
"$RUNNER" --input "$KEYS" --frames 300 --state "$WORK/cut.jsonl" 2>"$WORK/cut.err" ||
  fail "the cut recording does not replay: $(cat "$WORK/cut.err")"
echo "ok: focus loss paused the game ($AWAY), coming back did not resume, Escape gave up and quit ($QUIT);" \
  "a recording cut by a closed window replays"
