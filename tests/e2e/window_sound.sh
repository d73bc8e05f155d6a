#!/usr/bin/env bash
# The real game with sound, in an X server of its own and SDL's dummy audio driver: it opens its window, starts
# a game, fires and closes cleanly without a word on standard error. Without a usable audio driver it says so
# in one line and plays silently. A bad --volume ends it before anything opens.
set -u
source "$(dirname "$0")/lib.bash"
window_test_begin "$1"

DISPLAY= timeout 60 "$GAME" --volume 500 2>"$WORK/volume.err"
[ $? -eq 2 ] || fail "--volume 500 was accepted"
grep -q "volume takes a whole number from 0 to 100" "$WORK/volume.err" || fail "--volume 500: $(cat "$WORK/volume.err")"

require_tools Xvfb xwininfo xdotool
start_xvfb "$WORK/xvfb.log"

# Plays with the audio driver DRIVER until Enter has started a game and the ship, flown in, has fired with Z;
# then closes. What the game said on standard error is left in ERRFILE.
play() {
  local driver=$1 errfile=$2
  LAUNCHER=(env SDL_AUDIODRIVER="$driver")
  start_game --classic --volume 40
  tap_until "the game" Return is scene 1
  wait_until "the end of the fly-in" is entering false
  keys_down z
  wait_until "a shot" at_least shots 1
  keys_up z
  stop_game
  cp "$WORK/game.err" "$errfile"
}

play dummy "$WORK/dummy.err"
[ ! -s "$WORK/dummy.err" ] || fail "with the dummy audio driver: $(cat "$WORK/dummy.err")"

play no-such-driver "$WORK/none.err"
[ "$(grep -c "morvanth: no sound:" "$WORK/none.err")" -eq 1 ] || fail "without audio: $(cat "$WORK/none.err")"
[ "$(wc -l <"$WORK/none.err")" -eq 1 ] || fail "more than one line without audio: $(cat "$WORK/none.err")"
echo "ok: the window plays with the dummy audio driver and silently without one"
