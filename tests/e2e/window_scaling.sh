#!/usr/bin/env bash
# The game's window at other sizes, in an X server of its own with a 1920x1440 screen and a window manager
# (fullscreen on X11 is the window manager's business). The red logo of the title is the ruler: its bounding box
# in the window must be the headless runner's box, scaled and moved as the window asks. --scale 2 doubles the
# window and the picture; F11 gives desktop fullscreen with the picture at twice its size between black bars; Alt+Enter leaves it again without starting the game; a window resized to another
# shape shows the whole picture in its own aspect. The choice is kept in $XDG_CONFIG_HOME/morvanth/settings.ini
# and the next start opens as the last one ended. Also: an unknown option gives the usage and status 2, and a
# broken line of the settings file is reported in one line and kept. The waits follow the game's state lines
# and the window's geometry, never the clock.
set -u
source "$(dirname "$0")/lib.bash"
window_test_begin "$1"
SETTINGS="$XDG_CONFIG_HOME/morvanth/settings.ini"

"$GAME" --bogus >"$WORK/usage.out" 2>"$WORK/usage.err"
status=$?
[ "$status" -eq 2 ] || fail "an unknown option gave status $status"
grep -q "unknown option '--bogus'" "$WORK/usage.err" && grep -q "usage: morvanth" "$WORK/usage.err" ||
  fail "no usage for an unknown option: $(cat "$WORK/usage.err")"
"$GAME" --help | grep -q -- "--scale N" || fail "--help does not name --scale"

require_tools Xvfb openbox xwininfo xwd convert xdotool

# The logo's box at the game's own size, from the headless runner: the same picture the window scales.
"$BUILD/morvanth-headless" --classic --frames 200 --shot "199:$WORK/base.png" >/dev/null || fail "headless runner failed"
redbox() { convert "$1" ${2:+-crop "$2" +repage} -fill black +opaque "#FF0000" -format "%@" info: 2>/dev/null; }
BASE=$(redbox "$WORK/base.png")
read -r BW BH BX BY < <(echo "$BASE" | tr 'x+' '  ')
[ "$BW" -gt 500 ] || fail "no red logo in the headless shot ($BASE)"

start_xvfb "$WORK/xvfb.log" 1920x1440
xwininfo -root >/dev/null 2>&1 || fail "cannot reach Xvfb on $DISPLAY: $(cat "$WORK/xvfb.log")"
start_openbox
# The window's client area on the screen, as WxH+X+Y.
geometry() {
  xwininfo -id "$WIN" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
                             /Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h "+" x "+" y}'
}
# The logo's box in the window, in the last shot.
shot_box() { redbox "$WORK/shot.png" "$(geometry)"; }
sized() { case "$(geometry)" in "$1"+*) return 0 ;; esac; return 1; }
# Waits for the window to take the size WxH (the window manager's and the game's answer take a few frames).
await_size() { WAIT_FRAMES=1200 WAIT_EXPLAIN=geometry wait_until "the window at $1" sized "$1"; }
# logo_shot: a shot of the whole screen while the game says the logo is complete, before and after (the title
# starts the drawing again after ten idle seconds).
logo_shot() { is complete true && shot "$WORK/shot.png" root && is complete true; }
# Takes such shots (NAME.png in the shot folder) until the logo's box in the window, relative to the window, is
# EXPECTED (the picture follows the window's new size a frame or two later).
logo_in_window() {
  local name=$1 expected=$2
  logo_box_is() { logo_shot && [ "$(shot_box)" = "$expected" ]; }
  WAIT_FRAMES=1200 WAIT_EXPLAIN=shot_box wait_until "the logo's box $expected in $name.png" logo_box_is
  if [ -n "${MORVANTH_SHOT_DIR:-}" ]; then cp "$WORK/shot.png" "$MORVANTH_SHOT_DIR/$name.png"; fi
}
scaled_box() {  # NUM DEN OFFSETX OFFSETY: the base box times NUM/DEN, moved
  echo "$(($BW * $1 / $2))x$(($BH * $1 / $2))+$(($BX * $1 / $2 + $3))+$(($BY * $1 / $2 + $4))"
}

# A broken line in the settings file: one line on standard error; the line is kept, the rest of the file counts
# (here --scale wins over the file's scale).
mkdir -p "$(dirname "$SETTINGS")"
printf 'scale=3\nthis is not a setting\n' >"$SETTINGS"
start_game --classic --scale 2
await_size 1600x1200
logo_in_window scale2-window "$(scaled_box 2 1 0 0)"
[ "$(grep -c "it is kept as it is" "$WORK/game.err")" -eq 1 ] || fail "broken settings: $(cat "$WORK/game.err")"
grep -q "line 2 is not key=value" "$WORK/game.err" || fail "the broken line is not named: $(cat "$WORK/game.err")"

# F11: desktop fullscreen; twice the picture fits 1920x1440, centred between bars 160 and 120 pixels wide.
xdotool key F11
await_size 1920x1440
logo_in_window fullscreen-f11 "$(scaled_box 2 1 160 120)"

# Alt+Enter, held for frames: back to the window, and the title is still there (the Enter was not the game's).
keys_down alt+Return
await_size 1600x1200
wait_frames 2
keys_up alt+Return
is scene 0 || fail "Alt+Enter left the title: $(state)"
logo_in_window alt-enter-window "$(scaled_box 2 1 0 0)"

# A window of another shape: 1000x500 holds the picture at 5/6 of its size (667x500), centred left to right.
xdotool windowsize "$WIN" 1000 500
await_size 1000x500
box_resized() {
  local box
  box=$(shot_box)
  read -r w h x y < <(echo "$box" | tr 'x+' '  ')
  # Nearest-neighbour scaling by 5/6 may round a stroke's edge either way: allow a pixel or two.
  ex=$(($BX * 5 / 6 + 166)); ey=$(($BY * 5 / 6)); ew=$(($BW * 5 / 6)); eh=$(($BH * 5 / 6))
  for pair in "$w $ew" "$h $eh" "$x $ex" "$y $ey"; do
    set -- $pair
    [ $(($1 - $2)) -le 2 ] && [ $(($2 - $1)) -le 2 ] || return 1
  done
}
resized_box_shown() { logo_shot && box_resized; }
WAIT_FRAMES=1200 WAIT_EXPLAIN=shot_box wait_until "the logo's box in the resized window" resized_box_shown
if [ -n "${MORVANTH_SHOT_DIR:-}" ]; then cp "$WORK/shot.png" "$MORVANTH_SHOT_DIR/resized-1000x500.png"; fi
stop_game

grep -qx "scale=2" "$SETTINGS" && grep -qx "fullscreen=0" "$SETTINGS" || fail "settings after --scale 2: $(cat "$SETTINGS")"
grep -qx "this is not a setting" "$SETTINGS" || fail "the broken line was lost: $(cat "$SETTINGS")"

# No options: the remembered scale. Leave it in fullscreen, and the next start is fullscreen.
start_game --classic
await_size 1600x1200
xdotool key F11
await_size 1920x1440
stop_game
grep -qx "fullscreen=1" "$SETTINGS" || fail "fullscreen not remembered: $(cat "$SETTINGS")"
start_game --classic
await_size 1920x1440
logo_in_window fullscreen-remembered "$(scaled_box 2 1 160 120)"
stop_game
# The broken line kept from above is reported again each session; nothing else is said.
[ -z "$(grep -v "line 2 is not key=value" "$WORK/game.err")" ] || fail "unexpected messages: $(cat "$WORK/game.err")"
echo "ok: logo box $BASE scaled to the window, fullscreen and back, a resized window, settings remembered"
