#!/usr/bin/env bash
# The game's window at other sizes, in an X server of its own with a 1920x1440 screen and a window manager
# (fullscreen on X11 is the window manager's business). The red logo of the title is the ruler: its bounding box
# in the window must be the headless runner's box, scaled and moved as the window asks. --scale 2 doubles the
# window and the picture; F11 gives desktop fullscreen with the picture at twice its size between black bars; Alt+Enter leaves it again without starting the game; a window resized to another
# shape shows the whole picture in its own aspect. The choice is kept in $XDG_CONFIG_HOME/morvanth/settings.ini
# and the next start opens as the last one ended. Also: an unknown option gives the usage and status 2, and a
# broken line of the settings file is reported in one line and kept.
set -u
BUILD=$(cd "$1" && pwd)
GAME="$BUILD/morvanth"
source "$(dirname "$0")/xvfb.bash"
window_test_begin
export XDG_CONFIG_HOME="$WORK/config"
SETTINGS="$XDG_CONFIG_HOME/morvanth/settings.ini"

"$GAME" --bogus >"$WORK/usage.out" 2>"$WORK/usage.err"
status=$?
[ "$status" -eq 2 ] || fail "an unknown option gave status $status"
grep -q "unknown option '--bogus'" "$WORK/usage.err" && grep -q "usage: morvanth" "$WORK/usage.err" ||
  fail "no usage for an unknown option: $(cat "$WORK/usage.err")"
"$GAME" --help | grep -q -- "--scale N" || fail "--help does not name --scale"

for tool in Xvfb openbox xwininfo xwd convert xdotool; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done

# The logo's box at the game's own size, from the headless runner: the same picture the window scales.
"$BUILD/morvanth-headless" --frames 200 --shot "199:$WORK/base.png" >/dev/null || fail "headless runner failed"
redbox() { convert "$1" ${2:+-crop "$2" +repage} -fill black +opaque "#FF0000" -format "%@" info: 2>/dev/null; }
BASE=$(redbox "$WORK/base.png")
read -r BW BH BX BY < <(echo "$BASE" | tr 'x+' '  ')
[ "$BW" -gt 500 ] || fail "no red logo in the headless shot ($BASE)"

start_xvfb "$WORK/xvfb.log" 1920x1440
xwininfo -root >/dev/null 2>&1 || fail "cannot reach Xvfb on $DISPLAY: $(cat "$WORK/xvfb.log")"
openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
WM_PID=$!
for _ in $(seq 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
  sleep 0.1
done

WIN=""
stop_game() {
  kill -TERM "$GAME_PID"
  wait "$GAME_PID"
  local status=$?
  GAME_PID=""
  [ "$status" -eq 0 ] || fail "closing the game gave status $status: $(cat "$WORK/game.err")"
}
# The window's client area on the screen, as WxH+X+Y.
geometry() {
  xwininfo -id "$WIN" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
                             /Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h "+" x "+" y}'
}
# Waits for the window to take the size WxH.
await_size() {
  for _ in $(seq 50); do
    case "$(geometry)" in "$1"+*) return 0 ;; esac
    sleep 0.1
  done
  fail "the window is $(geometry), not $1"
}
# Takes a shot of the whole screen into $WORK/NAME.png (and the shot folder) and gives the logo's box in the
# window, relative to the window, once the logo is red and in place (the picture may take a frame or two).
logo_in_window() {
  local name=$1 expected=$2 box=""
  for _ in $(seq 100); do
    xwd -silent -root >"$WORK/root.xwd" && convert "$WORK/root.xwd" "$WORK/$name.png" || fail "screenshot failed"
    box=$(redbox "$WORK/$name.png" "$(geometry)")
    [ "$box" = "$expected" ] && break
    sleep 0.1
  done
  if [ -n "${MORVANTH_SHOT_DIR:-}" ]; then cp "$WORK/$name.png" "$MORVANTH_SHOT_DIR/$name.png"; fi
  [ "$box" = "$expected" ] || fail "$name: the logo's box is $box, not $expected (screen shot $name.png)"
}
scaled_box() {  # NUM DEN OFFSETX OFFSETY: the base box times NUM/DEN, moved
  echo "$(($BW * $1 / $2))x$(($BH * $1 / $2))+$(($BX * $1 / $2 + $3))+$(($BY * $1 / $2 + $4))"
}

# A broken line in the settings file: one line on standard error; the line is kept, the rest of the file counts
# (here --scale wins over the file's scale).
mkdir -p "$(dirname "$SETTINGS")"
printf 'scale=3\nthis is not a setting\n' >"$SETTINGS"
start_game --scale 2
await_size 1600x1200
logo_in_window scale2-window "$(scaled_box 2 1 0 0)"
[ "$(grep -c "it is kept as it is" "$WORK/game.err")" -eq 1 ] || fail "broken settings: $(cat "$WORK/game.err")"
grep -q "line 2 is not key=value" "$WORK/game.err" || fail "the broken line is not named: $(cat "$WORK/game.err")"

# F11: desktop fullscreen; twice the picture fits 1920x1440, centred between bars 160 and 120 pixels wide.
xdotool key F11
await_size 1920x1440
logo_in_window fullscreen-f11 "$(scaled_box 2 1 160 120)"

# Alt+Enter: back to the window, and the title is still there (the Enter was not the game's).
xdotool key alt+Return
await_size 1600x1200
logo_in_window alt-enter-window "$(scaled_box 2 1 0 0)"

# A window of another shape: 1000x500 holds the picture at 5/6 of its size (667x500), centred left to right.
xdotool windowsize "$WIN" 1000 500
await_size 1000x500
box_resized() {
  local box
  box=$(redbox "$WORK/resized-1000x500.png" "$(geometry)")
  read -r w h x y < <(echo "$box" | tr 'x+' '  ')
  # Nearest-neighbour scaling by 5/6 may round a stroke's edge either way: allow a pixel or two.
  ex=$(($BX * 5 / 6 + 166)); ey=$(($BY * 5 / 6)); ew=$(($BW * 5 / 6)); eh=$(($BH * 5 / 6))
  for pair in "$w $ew" "$h $eh" "$x $ex" "$y $ey"; do
    set -- $pair
    [ $(($1 - $2)) -le 2 ] && [ $(($2 - $1)) -le 2 ] || return 1
  done
}
for _ in $(seq 50); do
  xwd -silent -root >"$WORK/root.xwd" && convert "$WORK/root.xwd" "$WORK/resized-1000x500.png"
  box_resized && break
  sleep 0.1
done
if [ -n "${MORVANTH_SHOT_DIR:-}" ]; then cp "$WORK/resized-1000x500.png" "$MORVANTH_SHOT_DIR/"; fi
box_resized || fail "resized: the logo's box is $(redbox "$WORK/resized-1000x500.png" "$(geometry)")"
stop_game

grep -qx "scale=2" "$SETTINGS" && grep -qx "fullscreen=0" "$SETTINGS" || fail "settings after --scale 2: $(cat "$SETTINGS")"
grep -qx "this is not a setting" "$SETTINGS" || fail "the broken line was lost: $(cat "$SETTINGS")"

# No options: the remembered scale. Leave it in fullscreen, and the next start is fullscreen.
start_game
await_size 1600x1200
xdotool key F11
await_size 1920x1440
stop_game
grep -qx "fullscreen=1" "$SETTINGS" || fail "fullscreen not remembered: $(cat "$SETTINGS")"
start_game
await_size 1920x1440
logo_in_window fullscreen-remembered "$(scaled_box 2 1 160 120)"
stop_game
# The broken line kept from above is reported again each session; nothing else is said.
[ -z "$(grep -v "line 2 is not key=value" "$WORK/game.err")" ] || fail "unexpected messages: $(cat "$WORK/game.err")"
echo "ok: logo box $BASE scaled to the window, fullscreen and back, a resized window, settings remembered"
