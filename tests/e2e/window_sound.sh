#!/usr/bin/env bash
# The real game with sound, in an X server of its own and SDL's dummy audio driver: it opens its window, starts
# a game and closes cleanly without a word on standard error. Without a usable audio driver it says so in one
# line and plays silently. A bad --volume ends it before anything opens.
set -u
BUILD=$(cd "$1" && pwd)
GAME="$BUILD/morvanth"
source "$(dirname "$0")/xvfb.bash"
window_test_begin

DISPLAY= timeout 20 "$GAME" --volume 500 2>"$WORK/volume.err"
[ $? -eq 2 ] || fail "--volume 500 was accepted"
grep -q "volume takes a whole number from 0 to 100" "$WORK/volume.err" || fail "--volume 500: $(cat "$WORK/volume.err")"

for tool in Xvfb xwininfo xdotool; do command -v "$tool" >/dev/null || fail "$tool is not installed"; done
start_xvfb "$WORK/xvfb.log"

# Plays until the window is up, Enter has started a game and Z fired for a second; then closes.
play() {
  local err=$1
  shift
  env "$@" "$GAME" --volume 40 >/dev/null 2>"$err" &
  GAME_PID=$!
  local win=""
  for _ in $(seq 100); do
    win=$(xwininfo -name MORVANTH 2>/dev/null | awk '/Window id:/ {print $4}')
    [ -n "$win" ] && break
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended early: $(cat "$err")"
    sleep 0.1
  done
  [ -n "$win" ] || fail "no window titled MORVANTH"
  for key in Return Return; do
    xdotool keydown "$key"; sleep 0.2; xdotool keyup "$key"; sleep 0.3
  done
  sleep 2
  xdotool keydown z; sleep 1; xdotool keyup z
  kill -TERM "$GAME_PID"
  wait "$GAME_PID"
  local status=$?
  GAME_PID=""
  [ "$status" -eq 0 ] || fail "closing gave status $status: $(cat "$err")"
}

play "$WORK/dummy.err" SDL_AUDIODRIVER=dummy
[ ! -s "$WORK/dummy.err" ] || fail "with the dummy audio driver: $(cat "$WORK/dummy.err")"

play "$WORK/none.err" SDL_AUDIODRIVER=no-such-driver
[ "$(grep -c "morvanth: no sound:" "$WORK/none.err")" -eq 1 ] || fail "without audio: $(cat "$WORK/none.err")"
[ "$(wc -l <"$WORK/none.err")" -eq 1 ] || fail "more than one line without audio: $(cat "$WORK/none.err")"
echo "ok: the window plays with the dummy audio driver and silently without one"
