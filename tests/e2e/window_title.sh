#!/usr/bin/env bash
# The real game in an X server of its own: the window titled "MORVANTH" appears at 800x600, the game keeps to
# 60 frames a second, its logo is red once the drawing is complete, Enter starts the game, and closing (SIGTERM,
# which SDL turns into a quit request) ends it with status 0. Also: without any display the game ends at once
# with SDL's error and status 1. Every step waits on the game's state lines, never on the clock.
set -u
source "$(dirname "$0")/lib.bash"
window_test_begin "$1"

# No display at all: a clear message and status 1, not a hang and not an invisible game.
DISPLAY= WAYLAND_DISPLAY= timeout 60 "$GAME" >"$WORK/nodisplay.out" 2>"$WORK/nodisplay.err"
status=$?
[ "$status" -eq 1 ] || fail "without a display: status $status"
grep -q "morvanth: cannot open a display" "$WORK/nodisplay.err" || fail "without a display: $(cat "$WORK/nodisplay.err")"

require_tools Xvfb xwininfo xwd convert xdotool
start_xvfb "$WORK/xvfb.log"
xwininfo -root >/dev/null 2>&1 || fail "cannot reach Xvfb on $DISPLAY: $(cat "$WORK/xvfb.log")"

start_game --classic
xwininfo -id "$WIN" | grep -q "Width: 800" || fail "client width is not 800: $(xwininfo -id "$WIN")"
# Launchers match the window to its desktop entry by class, and task bars show the game's icon.
require_tools xprop
CLASS=$(xprop -id "$WIN" WM_CLASS)
[ "$CLASS" = 'WM_CLASS(STRING) = "io.github.morvanth.Morvanth", "io.github.morvanth.Morvanth"' ] || fail "class: $CLASS"
ICON=$(xprop -id "$WIN" -notype 32c _NET_WM_ICON | head -c 200)
[[ "$ICON" == "_NET_WM_ICON = 128, 128, "* ]] || fail "no 128 px window icon: $ICON $(cat "$WORK/game.err")"
xwininfo -id "$WIN" | grep -q "Height: 600" || fail "client height is not 600"

# The logo's first outline starts at bitmap (0, 0): screen (101..103, 127..129), red when complete.
logo_red() { [ "$(pixel "$WORK/shot.png" 102 128)" = "#FF0000" ]; }
# A picture taken while the state, read after it, still says the drawing goes on shows no red logo. (A test
# starved of the processor may find the drawing over already; then there is nothing to look at.)
shot "$WORK/shot.png"
if is complete false; then
  ! logo_red || fail "the logo is red while the game says it is still being drawn: $(state)"
fi

# The game runs at 60 frames per second, not as fast as it can: between two moments, the frames it finished
# are at most what 60 a second allow, with a few frames' leeway for the pacer catching up after a delay. A busy
# machine only makes it slower.
start_ns=$(date +%s%N)
first=$(frame)
wait_frames 90
last=$(frame)
elapsed_ms=$((($(date +%s%N) - start_ns) / 1000000))
[ $((last - first)) -le $((elapsed_ms * 60 / 1000 + 4)) ] \
  || fail "$((last - first)) frames in $elapsed_ms ms: the game runs faster than 60 frames a second"

# Once the drawing is complete (and still is after the shot: the title starts it again after ten idle seconds).
red_logo_shown() {
  is complete true && shot "$WORK/shot.png" && is complete true && logo_red
}
WAIT_FRAMES=1200 wait_until "the red logo in the window" red_logo_shown
CORNER=$(pixel "$WORK/shot.png" 697 214)
[ "$CORNER" = "#FF0000" ] || fail "logo's last corner is $CORNER, not red"
INSIDE=$(pixel "$WORK/shot.png" 110 170)
[ "$INSIDE" = "#000000" ] || fail "inside the M is $INSIDE, not black"
RED=$(convert "$WORK/shot.png" -crop 597x90+101+127 +repage -fill black +opaque "#FF0000" -fill white -opaque "#FF0000" \
      -format "%[fx:mean*w*h]" info:)
[ "${RED%.*}" -gt 2000 ] || fail "only $RED red pixels in the logo area"
if [ -n "${MORVANTH_SHOT_DIR:-}" ]; then cp "$WORK/shot.png" "$MORVANTH_SHOT_DIR/window-title.png"; fi

# Enter starts the game; once the ship has flown in, the window shows the meter at the bottom (its first cell is
# not the background) and no logo.
tap_until "the game" Return is scene 1
wait_until "the end of the fly-in" is entering false
game_shown() {
  shot "$WORK/shot.png"
  [ "$(pixel "$WORK/shot.png" 240 562)" != "$(pixel "$WORK/shot.png" 240 540)" ] && ! logo_red
}
WAIT_FRAMES=1200 wait_until "the game's meter and no logo in the window" game_shown
if [ -n "${MORVANTH_SHOT_DIR:-}" ]; then cp "$WORK/shot.png" "$MORVANTH_SHOT_DIR/window-game.png"; fi

stop_game
echo "ok: window, $((last - first)) frames in $elapsed_ms ms, red logo ($RED red pixels), clean close"
