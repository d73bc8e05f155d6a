#!/usr/bin/env bash
# morvanth --watch in the real window, on a player's copy of the bundled skin: an enemy added to stagedef.xml (saved
# the way editors do, a new file renamed over the old) shows in the game without a restart, at the stage and
# frame the game had reached; a broken stagedef.xml leaves the game standing still under the error the game would
# show, drawn over its picture and said on standard error, and the process goes on; mended, play resumes with the
# enemy. Pictures of each step stay in WATCH_SHOTS when it names a folder.
set -u
SOURCE=$(cd "${2:-$(dirname "$0")/../..}" && pwd)
source "$(dirname "$0")/lib.bash"
window_test_begin "$1"
require_tools Xvfb xwininfo xwd convert

SKIN="$XDG_DATA_HOME/morvanth/skin/watched"
mkdir -p "$(dirname "$SKIN")" "$XDG_CONFIG_HOME/morvanth"
cp -r "$SOURCE/skin/morv" "$SKIN"
# Nothing pauses the game behind the test's back.
printf '[morvanth]\nautopause=false\n' >"$XDG_CONFIG_HOME/morvanth/settings.ini"
STAGES="$SKIN/xml/stagedef.xml"
GOOD="$WORK/stagedef.good"

# A stage the skin does not have is refused before any window opens.
DISPLAY= timeout 60 "$GAME" --skin watched --stage 4 --watch 2>"$WORK/stage.err"
[ $? -eq 2 ] || fail "--stage 4 of a three-stage skin was accepted"
grep -q "the skin watched has 3 stages" "$WORK/stage.err" || fail "--stage 4: $(cat "$WORK/stage.err")"

start_xvfb "$WORK/xvfb.log"
keep() {
  shot "$WORK/$1.png"
  if [ -n "${WATCH_SHOTS:-}" ]; then mkdir -p "$WATCH_SHOTS" && cp "$WORK/$1.png" "$WATCH_SHOTS/"; fi
}
json() { [[ $(state) =~ \"$1\":([^,}]*) ]] && echo "${BASH_REMATCH[1]}"; }
error_shown() { [ "$(json error)" != null ] && [ -n "$(json error)" ]; }
no_error() { [ "$(json error)" = null ]; }
in_play() { is entering false && is scene 1; }

# Far past stage 1's script: nothing flies there but what the test adds.
start_game --watch --skin watched --stage 1 --frame 20000
wait_until "the end of the fly-in" in_play
is enemies 0 || fail "enemies at stage frame 20000 of stage 1: $(state)"
is reloads 0 || fail "a reload before any change: $(state)"
keep watch-1-playing

# An enemy a little ahead of the stage clock, parked where the ship cannot reach it.
ahead=$(($(field stageFrame) + 40))
awk -v enemy="    <enemy frame=\"$ahead\" x=\"600\" y=\"120\" speed=\"0\" hp=\"1000\"/>" \
  '{ print } !added && /<stage[ >]/ { print enemy; added = 1 }' "$STAGES" >"$GOOD"
grep -q "frame=\"$ahead\" x=\"600\"" "$GOOD" || fail "the test could not add its enemy"
cp "$GOOD" "$STAGES.new" && mv "$STAGES.new" "$STAGES"
edited=$(frame)
wait_until "the reload" at_least reloads 1
reloaded=$(frame)
is stage 0 || fail "the reload left stage 1: $(state)"
at_least stageFrame $((ahead - 40)) || fail "the reload went back before the frame reached: $(state)"
wait_until "the added enemy" at_least enemies 1
shown=$(frame)
keep watch-2-enemy-added
# A save is read within the settle time and a few frames of polling; the ship goes on without a fly-in, so the
# enemy shows within a second of play.
[ $((reloaded - edited)) -le 30 ] || fail "the reload came $((reloaded - edited)) frames after the save"
[ $((shown - edited)) -le 60 ] || fail "the enemy showed $((shown - edited)) frames after the save"
echo "reload $((reloaded - edited)) frames after the save, the enemy $((shown - reloaded)) frames after the reload"

# Broken in place (written over, as a plain redirection does): the error, the process alive, the game held.
sed 's#</stagedef>##' "$GOOD" >"$STAGES"
wait_until "the error" error_shown
held=$(field stageFrame)
wait_frames 30
is stageFrame "$held" || fail "the game moved on under the error: $(state)"
is scene 1 || fail "the game scene went away under the error: $(state)"
keep watch-3-broken
grep -q "エラー: XMLの解析エラーです" "$WORK/game.err" || fail "no error line on standard error: $(cat "$WORK/game.err")"
[ "$(grep -c "XMLの解析エラーです" "$WORK/game.err")" -eq 1 ] || fail "the error said more than once: $(cat "$WORK/game.err")"
# The panel across the middle; the game's picture (its power-up meter) still round it.
panel=$(pixel "$WORK/watch-3-broken.png" 400 300)
[ "$panel" != "#000000" ] && [ "$panel" != "#101010" ] || fail "no panel over the picture: $panel"
[ "$(pixel "$WORK/watch-3-broken.png" 240 560)" = "$(pixel "$WORK/watch-1-playing.png" 240 560)" ] ||
  fail "the game's picture is not round the error"

# Mended, with the enemy moved ahead of the held frame (a rebuild skips what the script placed before it, as a
# restart does): the error goes, the game is rebuilt at the frame it held, plays on, and the enemy comes.
sed "s/frame=\"$ahead\" x=\"600\"/frame=\"$((held + 60))\" x=\"600\"/" "$GOOD" >"$STAGES.new"
grep -q "frame=\"$((held + 60))\" x=\"600\"" "$STAGES.new" || fail "the test could not move its enemy"
mv "$STAGES.new" "$STAGES"
wait_until "the mended skin" no_error
at_least reloads 2 || fail "mended without a reload: $(state)"
is stageFrame "$held" || at_least stageFrame "$held" || fail "the mended game is not at the held frame: $(state)"
wait_until "play again" in_play
wait_until "the clock past the held frame" at_least stageFrame $((held + 1))
wait_until "the enemy again" at_least enemies 1
keep watch-4-mended
grep -q "skin mended" "$WORK/game.err" || fail "the mend is not said: $(cat "$WORK/game.err")"
stop_game
echo "ok: --watch shows an added enemy, holds under a broken file with its error, and resumes once mended"
