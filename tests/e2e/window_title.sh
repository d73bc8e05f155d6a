#!/usr/bin/env bash
# The real game in an X server of its own: the window titled "MORVANTH" appears, its logo is red once the
# drawing time has passed, Enter starts the game, and closing (SIGTERM, which SDL turns into a quit request) ends it with status 0.
# Also: without any display the game ends at once with SDL's error and status 1.
set -u
BUILD=$(cd "$1" && pwd)
GAME="$BUILD/morvanth"
source "$(dirname "$0")/xvfb.bash"
window_test_begin

# No display at all: a clear message and status 1, not a hang and not an invisible game.
DISPLAY= WAYLAND_DISPLAY= timeout 20 "$GAME" >"$WORK/nodisplay.out" 2>"$WORK/nodisplay.err"
status=$?
[ "$status" -eq 1 ] || fail "without a display: status $status"
grep -q "morvanth: cannot open a display" "$WORK/nodisplay.err" || fail "without a display: $(cat "$WORK/nodisplay.err")"

for tool in Xvfb xwininfo xwd convert; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done

start_xvfb "$WORK/xvfb.log"
xwininfo -root >/dev/null 2>&1 || fail "cannot reach Xvfb on $DISPLAY: $(cat "$WORK/xvfb.log")"

start_game
xwininfo -id "$WIN" | grep -q "Width: 800" || fail "client width is not 800: $(xwininfo -id "$WIN")"
# Launchers match the window to its desktop entry by class, and task bars show the game's icon.
command -v xprop >/dev/null || fail "xprop is not installed"
CLASS=$(xprop -id "$WIN" WM_CLASS)
[ "$CLASS" = 'WM_CLASS(STRING) = "io.github.morvanth.Morvanth", "io.github.morvanth.Morvanth"' ] || fail "class: $CLASS"
ICON=$(xprop -id "$WIN" -notype 32c _NET_WM_ICON | head -c 200)
[[ "$ICON" == "_NET_WM_ICON = 128, 128, "* ]] || fail "no 128 px window icon: $ICON $(cat "$WORK/game.err")"
xwininfo -id "$WIN" | grep -q "Height: 600" || fail "client height is not 600"

shot() { xwd -silent -id "$WIN" >"$WORK/shot.xwd" && convert "$WORK/shot.xwd" "$WORK/shot.png" || fail "screenshot failed"; }
pixel() { convert "$WORK/shot.png" -crop "1x1+$1+$2" -depth 8 txt:- | tail -1 | grep -o '#[0-9A-F]\{6\}'; }

# The game runs at 60 frames per second, not as fast as it can: one second in, the 135-frame drawing is
# still going on and the logo is not red yet.
sleep 1
shot
[ "$(pixel 102 128)" != "#FF0000" ] || fail "the logo is complete after one second: the game runs too fast"

# 135 frames of drawing at 60 per second, with room to spare.
sleep 3
shot
# The logo's first outline starts at bitmap (0, 0): screen (101..103, 127..129), red when complete.
[ "$(pixel 102 128)" = "#FF0000" ] || fail "logo corner is $(pixel 102 128), not red"
[ "$(pixel 697 214)" = "#FF0000" ] || fail "logo's last corner is $(pixel 697 214), not red"
[ "$(pixel 110 170)" = "#000000" ] || fail "inside the M is $(pixel 110 170), not black"
RED=$(convert "$WORK/shot.png" -crop 597x90+101+127 +repage -fill black +opaque "#FF0000" -fill white -opaque "#FF0000" \
      -format "%[fx:mean*w*h]" info:)
[ "${RED%.*}" -gt 2000 ] || fail "only $RED red pixels in the logo area"
if [ -n "${MORVANTH_SHOT_DIR:-}" ]; then cp "$WORK/shot.png" "$MORVANTH_SHOT_DIR/window-title.png"; fi

# Enter, held longer than a frame, starts the game: the meter shows at the bottom (its first cell is not the
# background) and, after the fly-in, the ship is under way.
command -v xdotool >/dev/null || fail "xdotool is not installed"
xdotool keydown Return
sleep 0.2
xdotool keyup Return
sleep 1
shot
[ "$(pixel 240 562)" != "$(pixel 240 540)" ] || fail "no power-up meter after Enter"
[ "$(pixel 102 128)" != "#FF0000" ] || fail "the title is still shown after Enter"
if [ -n "${MORVANTH_SHOT_DIR:-}" ]; then cp "$WORK/shot.png" "$MORVANTH_SHOT_DIR/window-game.png"; fi

kill -TERM "$GAME_PID"
wait "$GAME_PID"
status=$?
GAME_PID=""
[ "$status" -eq 0 ] || fail "closing the game gave status $status: $(cat "$WORK/game.err")"
echo "ok: window, red logo ($RED red pixels), clean close"
