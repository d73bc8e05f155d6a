#!/usr/bin/env bash
# The game's error boxes, drawn by the game itself under a window manager: without its skin folder the game
# shows the message in a window of its own; with a broken graphicdef.xml it shows it in its window when a game
# starts. Enter or Escape closes the box and the game ends with status 1. The message is the design's Japanese
# in the C locale and English in an English one, the same on standard error, and the headless runner and
# skincheck say the same in the same locale.
set -u
BUILD=$(cd "$1" && pwd)
SOURCE=$(cd "$2" && pwd)
source "$(dirname "$0")/xvfb.bash"
window_test_begin
for tool in Xvfb openbox xwininfo xwd convert xdotool; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done
export XDG_CONFIG_HOME="$WORK/config"

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
openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
WM_PID=$!
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
  sleep 0.1
done

# await_box NAME: waits for the box (its message on standard error first), takes a shot of the screen.
await_box() {
  for _ in $(seq 300); do
    grep -q "$2" "$WORK/game.err" && break
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended without a box: $(cat "$WORK/game.err")"
    sleep 0.1
  done
  grep -q "$2" "$WORK/game.err" || fail "no \"$2\" on standard error: $(cat "$WORK/game.err")"
  xwd -silent -root >"$WORK/root.xwd" && convert "$WORK/root.xwd" "$WORK/$1.png" || fail "screenshot failed"
  if [ -n "${MORVANTH_SHOT_DIR:-}" ]; then cp "$WORK/$1.png" "$MORVANTH_SHOT_DIR/error-$1.png"; fi
}
# close_box KEY: the key closes the box and the game ends with status 1.
close_box() {
  xdotool windowactivate --sync "$WIN" 2>/dev/null
  xdotool key --window "$WIN" "$1" 2>/dev/null || xdotool key "$1"
  for _ in $(seq 300); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$GAME_PID" 2>/dev/null && fail "$1 did not close the box"
  wait "$GAME_PID"
  local status=$?
  GAME_PID=""
  [ "$status" -eq 1 ] || fail "the game ended with status $status after its error box"
}
# The box's panel is drawn in the game's colours: some pixels of the panel's blue in the window.
panel_shown() { [ "$(convert "$WORK/$1.png" -fill black +opaque "#202A48" -fill white -opaque "#202A48" \
                     -format "%[fx:mean*w*h]" info: | cut -d. -f1)" -gt 5000 ] || fail "no box drawn in $1.png"; }

# 1. No skin folder: a window of its own, in Japanese, then in English.
JA_MISSING="MORVANTH: スキンフォルダが存在しません"
EN_MISSING="MORVANTH: The skin folder does not exist"
start_game
await_box missing-ja "$JA_MISSING"
panel_shown missing-ja
close_box Return
"${ENGLISH[@]}" "$GAME" >"$WORK/game.out" 2>"$WORK/game.err" &
GAME_PID=$!
WIN=""
for _ in $(seq 100); do
  WIN=$(xwininfo -name MORVANTH 2>/dev/null | awk '/Window id:/ {print $4}')
  [ -n "$WIN" ] && break
  sleep 0.1
done
await_box missing-en "$EN_MISSING"
panel_shown missing-en
close_box Escape
"$WORK/game/morvanth-headless" --frames 1 >/dev/null 2>"$WORK/headless.err"
grep -q "スキンフォルダが存在しません" "$WORK/headless.err" || fail "headless: $(cat "$WORK/headless.err")"
"${ENGLISH[@]}" "$WORK/game/morvanth-headless" --frames 1 >/dev/null 2>"$WORK/headless.err"
grep -q "The skin folder does not exist" "$WORK/headless.err" || fail "headless in English: $(cat "$WORK/headless.err")"

# 2. A truncated graphicdef.xml: the box in the game's window when Enter starts a game.
mkdir -p "$WORK/game/skin"
cp -r "$SOURCE/skin/morv" "$SOURCE/skin/system" "$WORK/game/skin/"
head -c 300 "$SOURCE/skin/morv/xml/graphicdef.xml" >"$WORK/game/skin/morv/xml/graphicdef.xml"
XML_ERROR="エラー: XMLの解析エラーです ("
start_game --record "$WORK/game.keys"
for _ in 1 2; do  # the first Enter completes the title, the second starts a game
  xdotool keydown Return
  for _ in $(seq 300); do tail -1 "$WORK/game.keys" | grep -q ENTER && break; sleep 0.1; done
  xdotool keyup Return
  for _ in $(seq 300); do tail -1 "$WORK/game.keys" | grep -q ENTER || break; sleep 0.1; done
done
await_box broken-ja "$XML_ERROR"
panel_shown broken-ja
close_box Return
"$WORK/game/morvanth-skincheck" "$WORK/game" >/dev/null 2>"$WORK/skincheck.err"
diff <(grep -o "XMLの解析エラーです.*" "$WORK/game.err") "$WORK/skincheck.err" >/dev/null ||
  fail "skincheck says otherwise: $(cat "$WORK/skincheck.err") / $(cat "$WORK/game.err")"

"${ENGLISH[@]}" "$GAME" --record "$WORK/game.keys" >"$WORK/game.out" 2>"$WORK/game.err" &
GAME_PID=$!
for _ in $(seq 100); do
  WIN=$(xwininfo -name MORVANTH 2>/dev/null | awk '/Window id:/ {print $4}')
  [ -n "$WIN" ] && break
  sleep 0.1
done
for _ in 1 2; do
  xdotool keydown Return
  for _ in $(seq 300); do tail -1 "$WORK/game.keys" | grep -q ENTER && break; sleep 0.1; done
  xdotool keyup Return
  for _ in $(seq 300); do tail -1 "$WORK/game.keys" | grep -q ENTER || break; sleep 0.1; done
done
await_box broken-en "Error: XML parse error ("
panel_shown broken-en
close_box Escape
"${ENGLISH[@]}" "$WORK/game/morvanth-skincheck" "$WORK/game" >/dev/null 2>"$WORK/skincheck.err"
diff <(grep -o "XML parse error.*" "$WORK/game.err") "$WORK/skincheck.err" >/dev/null ||
  fail "skincheck says otherwise in English: $(cat "$WORK/skincheck.err") / $(cat "$WORK/game.err")"
echo "ok: error boxes drawn in Japanese and English, closed by Enter and Escape"
