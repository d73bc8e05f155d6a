#!/usr/bin/env bash
# A window that fits the screen, under a window manager: --scale 2 on a 1920x1080 screen and on a 1280x720 one
# (and scale=7 from the settings file) opens the largest scale that fits, says so on standard error and does not
# remember the lowered scale; a game started fullscreen comes back from F11 at exactly 800x600.
set -u
source "$(dirname "$0")/lib.bash"
window_test_begin "$1"
require_tools Xvfb openbox xwininfo xwd convert xdotool xprop
SETTINGS="$XDG_CONFIG_HOME/morvanth/settings.ini"
mkdir -p "$(dirname "$SETTINGS")"

# screen WxH: a fresh X server of that size with openbox.
screen() {
  [ -n "$WM_PID" ] && kill "$WM_PID" && wait "$WM_PID" 2>/dev/null
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" && wait "$XVFB_PID" 2>/dev/null
  start_xvfb "$WORK/xvfb.log" "$1"
  start_openbox
}
size() { xwininfo -id "$WIN" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }
# Waits for the window's client area to take the size WxH (the window manager answers in its own time).
sized() { [ "$(size)" = "$1" ]; }
await_size() { WAIT_EXPLAIN=size wait_until "the window at $1" sized "$1"; }
reduced() { grep -qx "morvanth: scale $1 does not fit the screen ($2 usable), scale 1 instead" "$WORK/game.err" ||
              fail "no word of the lowered scale: $(cat "$WORK/game.err")"; }

screen 1920x1080
start_game --classic --scale 2
await_size 800x600
reduced 2 1920x1080
stop_game
[ ! -e "$SETTINGS" ] || ! grep -q "^scale=2" "$SETTINGS" || fail "the lowered scale 2 was remembered: $(cat "$SETTINGS")"

printf 'scale=7\n' >"$SETTINGS"
start_game --classic --volume 40  # a change the file must take, beside a scale it must keep
await_size 800x600
reduced 7 1920x1080
stop_game
grep -qx "scale=7" "$SETTINGS" && grep -qx "volume=40" "$SETTINGS" || fail "settings after scale=7: $(cat "$SETTINGS")"

# Started fullscreen, F11 gives the game's own size, not what the window manager remembers.
printf 'fullscreen=1\n' >"$SETTINGS"
start_game --classic
await_size 1920x1080
xdotool key F11
await_size 800x600
stop_game
[ ! -s "$WORK/game.err" ] || fail "unexpected messages: $(cat "$WORK/game.err")"

screen 1280x720
start_game --classic --scale 2
await_size 800x600
reduced 2 1280x720
# The whole frame on the screen: title bar and client area.
read -r FX FY FW FH < <(xwininfo -frame -id "$(xwininfo -children -id "$WIN" | awk '/Parent window id:/ {print $4}')" 2>/dev/null |
  awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}')
[ "$((FY + FH))" -le 720 ] && [ "$((FX + FW))" -le 1280 ] || fail "the window ($FW x $FH at $FX,$FY) leaves the screen"
if [ -n "${MORVANTH_SHOT_DIR:-}" ]; then
  xwd -silent -root >"$WORK/root.xwd" && convert "$WORK/root.xwd" "$MORVANTH_SHOT_DIR/fit-1280x720-scale2.png"
fi
stop_game
echo "ok: --scale 2 and scale=7 lowered to fit 1920x1080 and 1280x720 and not remembered; F11 after a fullscreen start gives 800x600"
