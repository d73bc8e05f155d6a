#!/usr/bin/env bash
# Start-up without usable skins: no "skin" folder, and a "skin" folder without a usable skin. Both programs
# (the game, which finds skin/ beside itself, and the headless runner with --root) give their message on
# standard error and end with status 1.
set -u
BUILD=$(cd "$1" && pwd)
SOURCE=$(cd "$2" && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# The player's and the shared skin folders are searched too: here, folders of this test that do not exist.
export XDG_DATA_HOME="$WORK/data" XDG_DATA_DIRS="$WORK/shared"
SEARCHED="$WORK/game/skin/, $WORK/data/morvanth/skin/, $WORK/shared/morvanth/skin/"

# A program folder of our own: the game looks for skin/ next to its executable.
mkdir -p "$WORK/game"
cp "$BUILD/morvanth" "$WORK/game/morvanth"

run_game() {  # without a display, so that the error box cannot wait for a click
  DISPLAY= WAYLAND_DISPLAY= timeout 20 "$WORK/game/morvanth" >"$WORK/out" 2>"$WORK/err"
}
run_headless() {
  timeout 20 "$BUILD/morvanth-headless" --root "$WORK/game" --frames 5 >"$WORK/out" 2>"$WORK/err"
}
expect() {  # expect STATUS TEXT WHAT
  local status=$1 text=$2 what=$3 got
  got=$4
  [ "$got" -eq "$status" ] || fail "$what: status $got, expected $status ($(cat "$WORK/err"))"
  [ -z "$text" ] || grep -qF "$text" "$WORK/err" || fail "$what: no \"$text\" in: $(cat "$WORK/err")"
}

# 1. No skin folder at all.
run_game; expect 1 "スキンフォルダが存在しません" "game without skin/" $?
grep -qF "$SEARCHED" "$WORK/err" || fail "the game does not name the folders searched: $(cat "$WORK/err")"
run_headless; expect 1 "スキンフォルダが存在しません" "headless without skin/" $?

# 2. A skin folder holding only the fallback folder, a half skin and a stray file.
mkdir -p "$WORK/game/skin/system/xml" "$WORK/game/skin/half/xml"
cp "$SOURCE/skin/morv/xml/graphicdef.xml" "$WORK/game/skin/system/xml/"
cp "$SOURCE/skin/morv/xml/stagedef.xml" "$WORK/game/skin/system/xml/"
cp "$SOURCE/skin/morv/xml/graphicdef.xml" "$WORK/game/skin/half/xml/"
touch "$WORK/game/skin/readme.txt"
run_game; expect 1 "使用できるスキンが存在しません ($SEARCHED)" "game without usable skins" $?
run_headless; expect 1 "使用できるスキンが存在しません ($SEARCHED)" "headless without usable skins" $?

# 3. Completing the half skin makes it usable: the runner starts on it (its name is not the default).
cp "$SOURCE/skin/morv/xml/stagedef.xml" "$WORK/game/skin/half/xml/"
run_headless; expect 0 "" "headless with one usable skin" $?
timeout 20 "$BUILD/morvanth-headless" --root "$WORK/game" --frames 1 --skin nosuch >"$WORK/out" 2>"$WORK/err"
expect 1 "no usable skin named \"nosuch\"" "--skin naming no skin" $?

echo "ok: skin errors"
