#!/usr/bin/env bash
# The game under valgrind's memcheck: the headless runner through the title, a game to game over and back, and the ending (with a leak check),
# and the real window under Xvfb for a hundred frames of the title (counted by its state lines). Any memory
# error fails the test.
# Skipped (77) in the sanitizer build, whose instrumented binaries cannot run under valgrind.
set -u
SOURCE=$(cd "$2" && pwd)
SUPP="$SOURCE/tests/e2e/valgrind.supp"
source "$(dirname "$0")/lib.bash"
window_test_begin "$1"

if grep -q "^MORVANTH_SANITIZE:BOOL=ON" "$BUILD/CMakeCache.txt"; then
  echo "skipped: sanitizer build"
  exit 77
fi
require_tools valgrind
VG=(valgrind -q --error-exitcode=99 --suppressions="$SUPP")

"${VG[@]}" --leak-check=full --errors-for-leak-kinds=definite \
  "$BUILD/morvanth-headless" --frames 300 >"$WORK/title.out" 2>"$WORK/title.err"
status=$?
[ "$status" -eq 0 ] || fail "headless title under valgrind: status $status: $(cat "$WORK/title.err")"

"${VG[@]}" --leak-check=full --errors-for-leak-kinds=definite \
  "$BUILD/morvanth-headless" --start-scene 2 --frames 40 >"$WORK/ending.out" 2>"$WORK/ending.err"
status=$?
[ "$status" -eq 0 ] || fail "headless ending under valgrind: status $status: $(cat "$WORK/ending.err")"

# A short game: title, play (a group shot down, rammed three times, the third loss ends it), game over, and
# Escape back to the title.
printf '150 ENTER\n152\n260 UP\n305 Z\n420 RIGHT Z\n500 Z\n600 C\n602\n610 DOWN\n674\n890 UP\n935\n1330 UP\n1375\n1620 ESC\n1622\n' \
  >"$WORK/game.in"
"${VG[@]}" --leak-check=full --errors-for-leak-kinds=definite "$BUILD/morvanth-headless" --seed 2 --frames 1640 \
  --input "$WORK/game.in" --state "$WORK/game.jsonl" >"$WORK/game.out" 2>"$WORK/game.err"
status=$?
[ "$status" -eq 0 ] || fail "headless game under valgrind: status $status: $(cat "$WORK/game.err")"
grep -q '"playState":1' "$WORK/game.jsonl" || fail "the game under valgrind did not reach game over"
tail -1 "$WORK/game.jsonl" | grep -q '"scene":0' || fail "the game under valgrind did not return to the title"

require_tools Xvfb xwininfo
start_xvfb "$WORK/xvfb.log"

# The X and GL libraries keep allocations until exit that are not ours, so no leak check for the window.
# Under valgrind the game starts and runs many times slower: a frame may be minutes away.
GAME="$BUILD/morvanth"
LAUNCHER=("${VG[@]}" --leak-check=no)
export STILL_POLLS=3600
start_game
wait_frames 100
stop_game
echo "ok: no memory errors in the headless title, a game to game over, the ending and the real window"
