#!/usr/bin/env bash
# The options screen in the real window under a window manager: Tab on the title opens it over the title; the
# arrows and Enter work it; the window scale changes the window at once; smooth scaling goes on and off with
# the window still presenting; fire is moved off Z
# (C, power-up's key, is refused with a note first) onto X, saved at once under [keys]; in the game X fires and Z
# does not; the recording holds the game's own Z, and morvanth-headless replays it to the window's last picture.
# Every step waits on the game's state lines.
set -u
source "$(dirname "$0")/lib.bash"
window_test_begin "$1"
require_tools Xvfb xwininfo xwd convert compare xdotool openbox xprop
start_xvfb "$WORK/xvfb.log" 1800x1400  # room for the window at twice its size
start_openbox
SETTINGS="$XDG_CONFIG_HOME/morvanth/settings.ini"
options_open() { [[ "$(state)" == *'"options":{'* ]]; }
options_closed() { [[ "$(state)" != *'"options":{'* ]]; }
note_says() { [[ "$(state)" == *"\"note\":\"$1"* ]]; }
fire_key() { [[ "$(state)" == *"\"fire\":\"$1\""* ]]; }
tap() {
  keys_down "$1"
  keys_up "$1"
}

start_game --record "$WORK/game.keys"
wait_until "the whole logo" is complete true
tap_until "the options screen" Tab options_open
is row 0 || fail "the options do not start on their first row: $(state)"
# The screen over the title: its panel shows, and the logo is still there, dimmed.
options_shown() {
  shot "$WORK/options.png"
  options_open && [ "$(pixel "$WORK/options.png" 400 40)" != "#000000" ] && [ "$(pixel "$WORK/options.png" 102 128)" = "#4F0000" ]
}
WAIT_FRAMES=1200 wait_until "the options screen in the window" options_shown
if [ -n "${MORVANTH_SHOT_DIR:-}" ]; then cp "$WORK/options.png" "$MORVANTH_SHOT_DIR/window-options.png"; fi

# The window scale: twice the size at once, and back.
client_width() { xwininfo -id "$WIN" | grep -q "Width: $1\$"; }
tap Down
is row 1 || fail "Down: $(state)"
tap Right
wait_until "scale 2" is scale 2
wait_until "a window 1600 pixels wide" client_width 1600
tap Left
wait_until "scale 1" is scale 1
wait_until "a window 800 pixels wide" client_width 800

# Smooth scaling on and off: the window goes on presenting frames with either presenter. (SDL may make the X
# window anew for a renderer: the test finds it again.)
tap Down
is row 2 || fail "Down: $(state)"
tap Right
wait_until "smooth scaling on" is smooth 1
wait_frames 10
tap Right
wait_until "smooth scaling off" is smooth 0
wait_frames 10
wait_until "the window titled MORVANTH" window_shown

# Fire: C is power-up's and refused with a note; X is taken and saved at once.
for _ in 1 2 3 4 5; do tap Down; done
is row 7 || fail "not on the fire row: $(state)"
tap Return
wait_until "a key to be asked for" is capture true
tap c
wait_until "the note that C is taken" note_says "C IS POWER-UP'S KEY"
is capture true || fail "the refusal ended the wait for a key: $(state)"
tap x
wait_until "fire on X" fire_key X
is capture false || fail "still waiting for a key: $(state)"
grep -q '^\[keys\]$' "$SETTINGS" && grep -q '^fire=X$' "$SETTINGS" || fail "fire=X not saved at once: $(cat "$SETTINGS")"
grep -q '^smooth=0$' "$SETTINGS" || fail "smooth scaling not saved: $(cat "$SETTINGS")"
tap Escape
wait_until "the options to close" options_closed
is scene 0 || fail "Escape on the options left the title: $(state)"

# The game: X fires, Z (fire's old key) does not.
tap_until "the game" Return is scene 1
wait_until "the end of the fly-in" is entering false
keys_down x
wait_until "a shot fired with X" at_least shots 2
firing() {
  shot "$WORK/firing.png"
  at_least shots 3
}
WAIT_FRAMES=1200 wait_until "the ship firing in the window" firing
if [ -n "${MORVANTH_SHOT_DIR:-}" ]; then cp "$WORK/firing.png" "$MORVANTH_SHOT_DIR/window-rebound-fire.png"; fi
keys_up x
wait_until "the shots to leave" is shots 0
keys_down z
wait_frames 30
is shots 0 || fail "Z still fires: $(state)"
keys_up z
tap_until "the pause" Return is paused true
WAIT_FRAMES=1200 wait_until "a still picture of the pause" still "$WORK/window.png"
stop_game

# The recording holds the game's own codes: Z for the frames X was held, never X (88); the options' frames are
# not in it, so the headless runner replays it to the same picture.
KEYS="$WORK/game.keys"
grep -q ' Z' "$KEYS" || fail "no Z in the recording: $(cat "$KEYS")"
! grep -qw 88 "$KEYS" || fail "X itself in the recording: $(cat "$KEYS")"
FRAMES=$(tail -1 "$KEYS")
replay_headless "$KEYS" "$FRAMES"
[[ "$(tail -1 "$WORK/replay.jsonl")" == *'"paused":true'* ]] || fail "the replay ends elsewhere: $(tail -1 "$WORK/replay.jsonl")"
[ "$(differing "$WORK/window.png" "$WORK/replay.png")" = 0 ] \
  || fail "the replay's last picture differs from the window's in $(differing "$WORK/window.png" "$WORK/replay.png") pixels"
echo "ok: options screen, fire rebound to X and saved, $FRAMES recorded frames replayed to the same picture"
