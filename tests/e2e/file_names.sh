#!/usr/bin/env bash
# File names as the system gives them, through the real programs: the build's programs and skins copied under
# prefixes named "jürgen", "café", "zoë", Cyrillic, Japanese and an emoji, each holding a skin folder of that name.
# Each program finds its own folder, lists and plays the skin, checks it, and a recording names it by its bytes.
# Then a player's skin folder ($XDG_DATA_HOME/morvanth/skin): its new skin is on the title, its copy of a bundled
# skin is the one played, the fallback skin stays the bundled one. Arguments: BUILD_DIR.
set -u
BUILD=$(cd "$1" && pwd)
source "$(dirname "$0")/lib.bash"
scratch_begin
export XDG_DATA_HOME="$WORK/data" XDG_DATA_DIRS="$WORK/shared" XDG_CONFIG_HOME="$WORK/config"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

# Keys: Enter completes the title's drawing, then Right steps through the skins once every 10 frames.
{
  echo "5 ENTER"
  echo "6"
  for step in 1 2 3 4; do
    echo "$((step * 10)) RIGHT"
    echo "$((step * 10 + 1))"
  done
} >"$WORK/steps.keys"
# The skins the title offers, in its order: the selected skin 5 frames after each step (and before the first).
title_skins() {  # STATE_FILE
  for frame in 8 15 25 35 45; do
    sed -n "$((frame + 1))p" "$1" | grep -o '"skin":"[^"]*"' | cut -d'"' -f4
  done | awk '!seen[$0]++'
}
state_field() {  # STATE_FILE FRAME FIELD
  sed -n "$(($2 + 1))p" "$1" | grep -o "\"$3\":\"[^\"]*\"" | cut -d'"' -f4
}

# run_game GAME ARGS...: one recorded session of the game in a window (SDL's dummy driver).
run_game() { game_session "$@" --classic; }

names=("jürgen" "café" "zoë" "космос" "宇宙" "🚀")
mkdir -p "$WORK/skins"
cp -rL "$BUILD/skin/morv" "$BUILD/skin/system" "$WORK/skins/"
for name in "${names[@]}"; do
  prefix="$WORK/$name/games"
  mkdir -p "$prefix/skin"
  cp "$BUILD/morvanth" "$BUILD/morvanth-headless" "$BUILD/morvanth-skincheck" "$prefix/"
  cp -r "$WORK/skins/morv" "$WORK/skins/system" "$prefix/skin/"
  cp -r "$WORK/skins/morv" "$prefix/skin/$name"

  # The runner finds the skins beside itself; the title lists both, and the named skin starts and plays.
  "$prefix/morvanth-headless" --classic --frames 50 --input "$WORK/steps.keys" --state "$WORK/title.jsonl" \
    2>"$WORK/err" || fail "$name: the runner failed: $(cat "$WORK/err")"
  [ "$(title_skins "$WORK/title.jsonl" | sort | tr '\n' ' ')" = "$(printf '%s\n' morv "$name" | sort | tr '\n' ' ')" ] \
    || fail "$name: the title offers $(title_skins "$WORK/title.jsonl" | tr '\n' ' ')"
  printf '5 ENTER\n6\n10 ENTER\n11\n' >"$WORK/start.keys"
  "$prefix/morvanth-headless" --classic --skin "$name" --frames 200 --input "$WORK/start.keys" --state "$WORK/game.jsonl" \
    2>"$WORK/err" || fail "$name: the runner did not play the skin: $(cat "$WORK/err")"
  [ "$(state_field "$WORK/game.jsonl" 8 skinDir)" = "$prefix/skin/$name/" ] \
    || fail "$name: the title's skin is in $(state_field "$WORK/game.jsonl" 8 skinDir)"
  tail -1 "$WORK/game.jsonl" | grep -q '"scene":1,.*"playState":' || fail "$name: no game: $(tail -1 "$WORK/game.jsonl")"

  # The checker finds the skin as the game does.
  "$prefix/morvanth-skincheck" "$prefix" "$name" --json >"$WORK/check.json" 2>"$WORK/err" \
    || fail "$name: skincheck failed: $(cat "$WORK/err")"
  grep -qF "\"skinDir\": \"$prefix/skin/$name/\"" "$WORK/check.json" || fail "$name: skincheck read $(head -3 "$WORK/check.json")"

  # The game in a window: it starts on the skin and records it by its own bytes.
  run_game "$prefix/morvanth" --skin "$name"
  grep -qxF "skin $name" "$WORK/rec.keys" || fail "$name: the recording names $(grep '^skin' "$WORK/rec.keys")"
done

# A name the title cannot draw in its code page is drawn as far as it goes ("café" as "caf?"), never as another
# skin's name; the selector row of the picture equals that of a skin folder really named "caf?".
prefix="$WORK/café/games"
cp -r "$WORK/skins/morv" "$prefix/skin/caf?"
row() {  # SKIN OUT.png: the title with SKIN selected, its selector row cut out
  printf '5 ENTER\n6\n' >"$WORK/complete.keys"
  "$prefix/morvanth-headless" --classic --skin "$1" --frames 20 --input "$WORK/complete.keys" --shot "15:$WORK/title.png" \
    2>"$WORK/err" || fail "no title picture for $1: $(cat "$WORK/err")"
  convert "$WORK/title.png" -crop 800x30+0+370 +repage "$2" || fail "cannot cut the picture"
}
if command -v convert >/dev/null; then
  row "café" "$WORK/accent.png"
  row "caf?" "$WORK/question.png"
  row "morv" "$WORK/morv.png"
  [ "$(compare -metric AE "$WORK/accent.png" "$WORK/question.png" null: 2>&1)" = "0" ] || fail "café is not drawn as caf?"
  [ "$(compare -metric AE "$WORK/accent.png" "$WORK/morv.png" null: 2>&1)" != "0" ] || fail "the skin's name is not drawn"
fi

# A player's skin folder: a new skin shows on the title, a copy of the bundled "morv" is the one played, and a
# "system" folder there does not replace the bundled fallback.
prefix="$WORK/zoë/games"
player="$XDG_DATA_HOME/morvanth/skin"
mkdir -p "$player"
cp -r "$WORK/skins/morv" "$player/mine"
cp -r "$WORK/skins/morv" "$player/morv"
mkdir -p "$player/system"
"$prefix/morvanth-headless" --classic --frames 50 --input "$WORK/steps.keys" --state "$WORK/title.jsonl" 2>"$WORK/err" \
  || fail "player's folder: the runner failed: $(cat "$WORK/err")"
[ "$(title_skins "$WORK/title.jsonl" | sort | tr '\n' ' ')" = "$(printf '%s\n' mine morv zoë | sort | tr '\n' ' ')" ] \
  || fail "player's folder: the title offers $(title_skins "$WORK/title.jsonl" | tr '\n' ' ')"
[ "$(state_field "$WORK/title.jsonl" 8 skinDir)" = "$player/morv/" ] \
  || fail "the player's copy of morv is not the one played: $(state_field "$WORK/title.jsonl" 8 skinDir)"
"$prefix/morvanth-headless" --classic --skin mine --frames 200 --input "$WORK/start.keys" --state "$WORK/game.jsonl" \
  2>"$WORK/err" || fail "the player's skin does not play: $(cat "$WORK/err")"
tail -1 "$WORK/game.jsonl" | grep -q '"scene":1,' || fail "the player's skin started no game"
"$prefix/morvanth-skincheck" "$prefix" mine --json >"$WORK/check.json" 2>"$WORK/err" \
  || fail "skincheck does not find the player's skin: $(cat "$WORK/err")"
grep -qF "\"skinDir\": \"$player/mine/\"" "$WORK/check.json" || fail "skincheck read $(head -3 "$WORK/check.json")"
# The checker and the game without a skin name start on the same skin, from the same folder.
"$prefix/morvanth-skincheck" "$prefix" --json >"$WORK/check.json" 2>"$WORK/err" || fail "skincheck: $(cat "$WORK/err")"
grep -qF "\"skinDir\": \"$player/morv/\"" "$WORK/check.json" || fail "skincheck's default skin: $(head -3 "$WORK/check.json")"
# --root takes the bundled skins from elsewhere; the player's folder is still searched.
"$BUILD/morvanth-headless" --classic --root "$prefix" --skin mine --frames 10 --state "$WORK/root.jsonl" 2>"$WORK/err" \
  || fail "--root: $(cat "$WORK/err")"
[ "$(state_field "$WORK/root.jsonl" 5 skinDir)" = "$player/mine/" ] || fail "--root: $(sed -n 6p "$WORK/root.jsonl")"
run_game "$BUILD/morvanth" --root "$prefix" --skin "zoë"
grep -qxF "skin zoë" "$WORK/rec.keys" || fail "morvanth --root: the recording names $(grep '^skin' "$WORK/rec.keys")"
"$BUILD/morvanth" --root "$prefix" --skin none >/dev/null 2>"$WORK/err" && fail "morvanth --skin none started"
grep -qF 'no usable skin named "none"' "$WORK/err" || fail "morvanth --skin none: $(cat "$WORK/err")"
echo "ok: file names"
