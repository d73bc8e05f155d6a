#!/usr/bin/env bash
# The game's error boxes, drawn by the game itself under a window manager: without its skin folder the game
# shows the message in a window of its own; with a broken graphicdef.xml it shows it in its window when a game
# starts. Enter or Escape closes the box and the game ends with status 1. The message is the design's Japanese
# in the C locale and English in an English one, the same on standard error, and the headless runner and
# skincheck say the same in the same locale.
set -u
SOURCE=$(cd "$2" && pwd)
source "$(dirname "$0")/lib.bash"
window_test_begin "$1"
require_tools Xvfb openbox xwininfo xwd convert xdotool

# The English locale: generated into a folder of our own when the system has none.
ENGLISH=(env -u LC_ALL -u LANGUAGE LANG=en_US.UTF-8)
if ! locale -a 2>/dev/null | grep -qix "en_US.utf8"; then
  mkdir -p "$WORK/locales"
  localedef -i en_US -f UTF-8 "$WORK/locales/en_US.UTF-8" >/dev/null 2>&1 ||
    fail "cannot make an English locale (is the locales package installed?)"
  ENGLISH+=(LOCPATH="$WORK/locales")
fi

# A program folder of our own: the game finds skin/ and its catalogs (locale/) beside itself.
mkdir -p "$WORK/game"
cp "$BUILD/morvanth" "$BUILD/morvanth-headless" "$BUILD/morvanth-skincheck" "$WORK/game/"
cp -r "$BUILD/locale" "$WORK/game/"
GAME="$WORK/game/morvanth"

start_xvfb "$WORK/xvfb.log" 1280x720
start_openbox

# The box's panel is drawn in the game's colours: some pixels of the panel's blue in the picture.
panel_in() { [ "$(convert "$1" -fill black +opaque "#202A48" -fill white -opaque "#202A48" \
                 -format "%[fx:mean*w*h]" info: | cut -d. -f1)" -gt 5000 ]; }
# await_box NAME MESSAGE: waits for the message on standard error (written as the box is made), then for the
# box on the screen (shown a moment later), in the shot NAME.png.
await_box() {
  local name=$1 message=$2
  box_up() { grep -q "$message" "$WORK/game.err" && shot "$WORK/$name.png" root && panel_in "$WORK/$name.png"; }
  wait_until "the box of \"$message\"" box_up
  if [ -n "${MORVANTH_SHOT_DIR:-}" ]; then cp "$WORK/$name.png" "$MORVANTH_SHOT_DIR/error-$name.png"; fi
}
# close_box KEY: the key closes the box and the game ends with status 1.
close_box() {
  xdotool windowactivate --sync "$WIN" 2>/dev/null
  # Held until the game has ended, then let go. A key sent to a window that goes away as it is pressed could be
  # left down in the X server, and the next game would find it held: an Escape held on the title quits it.
  xdotool keydown "$1"
  wait_until "the box closed by $1" game_ended
  xdotool keyup "$1"
  wait "$GAME_PID"
  local status=$?
  GAME_PID=""
  [ "$status" -eq 1 ] || fail "the game ended with status $status after its error box"
}

# 1. No skin folder: a window of its own, in Japanese, then in English.
JA_MISSING="MORVANTH: スキンフォルダが存在しません"
EN_MISSING="MORVANTH: The skin folder does not exist"
launch_game --classic
await_box missing-ja "$JA_MISSING"
close_box Return
LAUNCHER=("${ENGLISH[@]}")
launch_game --classic
await_box missing-en "$EN_MISSING"
close_box Escape
"$WORK/game/morvanth-headless" --frames 1 >/dev/null 2>"$WORK/headless.err"
grep -q "スキンフォルダが存在しません" "$WORK/headless.err" || fail "headless: $(cat "$WORK/headless.err")"
"${ENGLISH[@]}" "$WORK/game/morvanth-headless" --frames 1 >/dev/null 2>"$WORK/headless.err"
grep -q "The skin folder does not exist" "$WORK/headless.err" || fail "headless in English: $(cat "$WORK/headless.err")"

# enter_twice: Enter held until the game's recording has it down, then let go: the first press completes the
# title (the recording shows it let go before the next), the second starts a game, which stops at its error box.
recorded_enter() { tail -1 "$WORK/game.keys" | grep -q ENTER; }
recording_tail() { tail -3 "$WORK/game.keys" | tr '\n' /; }
enter_twice() {
  local WAIT_EXPLAIN=recording_tail
  xdotool keydown Return
  wait_until "Enter in the recording" recorded_enter
  xdotool keyup Return
  wait_until "Enter let go in the recording" eval '! recorded_enter'
  xdotool keydown Return
  wait_until "the second Enter in the recording" recorded_enter
  xdotool keyup Return
}

# 2. A truncated graphicdef.xml: the box in the game's window when Enter starts a game.
mkdir -p "$WORK/game/skin"
cp -r "$SOURCE/skin/morv" "$SOURCE/skin/system" "$WORK/game/skin/"
head -c 300 "$SOURCE/skin/morv/xml/graphicdef.xml" >"$WORK/game/skin/morv/xml/graphicdef.xml"
XML_ERROR="エラー: XMLの解析エラーです ("
unset LAUNCHER
start_game --classic --record "$WORK/game.keys"
enter_twice
await_box broken-ja "$XML_ERROR"
close_box Return
"$WORK/game/morvanth-skincheck" "$WORK/game" >/dev/null 2>"$WORK/skincheck.err"
diff <(grep -o "XMLの解析エラーです.*" "$WORK/game.err") "$WORK/skincheck.err" >/dev/null ||
  fail "skincheck says otherwise: $(cat "$WORK/skincheck.err") / $(cat "$WORK/game.err")"

LAUNCHER=("${ENGLISH[@]}")
start_game --classic --record "$WORK/game.keys"
enter_twice
await_box broken-en "Error: XML parse error ("
close_box Escape
"${ENGLISH[@]}" "$WORK/game/morvanth-skincheck" "$WORK/game" >/dev/null 2>"$WORK/skincheck.err"
diff <(grep -o "XML parse error.*" "$WORK/game.err") "$WORK/skincheck.err" >/dev/null ||
  fail "skincheck says otherwise in English: $(cat "$WORK/skincheck.err") / $(cat "$WORK/game.err")"
echo "ok: error boxes drawn in Japanese and English, closed by Enter and Escape"
