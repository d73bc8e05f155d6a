#!/usr/bin/env bash
# Every stage of every bundled skin can be cleared: tools/skinart/playtest.py, a bot that dodges what it sees
# coming, shoots and buys power-ups like a steady player, plays each stage on its own and must reach its end.
# Arguments: BUILD_DIR SOURCE_DIR.
set -u
BUILD=$(cd "$1" && pwd)
SRC=$(cd "$2" && pwd)
command -v python3 >/dev/null || { echo "python3 is not installed"; exit 77; }
# What the stages allow is the same in every build; in the sanitizer build the bot's games would take many
# minutes (as the soak would), so it is skipped (77) there.
if grep -q "^MORVANTH_SANITIZE:BOOL=ON" "$BUILD/CMakeCache.txt"; then
  echo "skipped: sanitizer build"
  exit 77
fi
source "$(dirname "$0")/lib.bash"
scratch_begin
status=0
for skin in morv nebula; do
  python3 "$SRC/tools/skinart/playtest.py" "$BUILD/morvanth-headless" "$SRC" "$skin" >"$WORK/$skin.txt" \
    2>"$WORK/$skin.err" || { echo "FAIL: playtest.py on $skin: $(cat "$WORK/$skin.err")" >&2; status=1; continue; }
  cat "$WORK/$skin.txt"
  stages=$(grep -c "<stage[ >]" "$SRC/skin/$skin/xml/stagedef.xml")
  cleared=$(grep -c ", end: stage end, ending," "$WORK/$skin.txt")
  [ "$cleared" -eq "$stages" ] || { echo "FAIL: $skin: the bot cleared $cleared of $stages stages" >&2; status=1; }
done
[ "$status" -eq 0 ] && echo "ok: the bot clears every stage of every bundled skin"
exit "$status"
