#!/usr/bin/env bash
# The game under valgrind's memcheck: the headless runner through the title, a game to game over and back, and the ending (with a leak check),
# and the real window under Xvfb for a few seconds of the title. Any memory error fails the test.
# Skipped (77) in the sanitizer build, whose instrumented binaries cannot run under valgrind.
set -u
BUILD=$(cd "$1" && pwd)
SOURCE=$(cd "$2" && pwd)
SUPP="$SOURCE/tests/e2e/valgrind.supp"
WORK=$(mktemp -d)
XVFB_PID=""
cleanup() {
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

if grep -q "^MORVANTH_SANITIZE:BOOL=ON" "$BUILD/CMakeCache.txt"; then
  echo "skipped: sanitizer build"
  exit 77
fi
command -v valgrind >/dev/null || fail "valgrind is not installed"
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

source "$(dirname "$0")/xvfb.bash"
start_xvfb "$WORK/xvfb.log"

# The X and GL libraries keep allocations until exit that are not ours, so no leak check for the window.
"${VG[@]}" --leak-check=no "$BUILD/morvanth" >"$WORK/game.out" 2>"$WORK/game.err" &
GAME_PID=$!
sleep 12
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended early under valgrind: $(cat "$WORK/game.err")"
kill -TERM "$GAME_PID"
wait "$GAME_PID"
status=$?
[ "$status" -eq 0 ] || fail "window under valgrind: status $status: $(cat "$WORK/game.err")"
echo "ok: no memory errors in the headless title, a game to game over, the ending and the real window"
