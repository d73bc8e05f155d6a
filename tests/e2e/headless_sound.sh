#!/usr/bin/env bash
# morvanth-headless --sound-log on the bundled skin: the title's music, the start, the stage's music, shots and
# the pause appear on their frames, the ending has its music; the log changes nothing of the game (the state
# stream is the same with and without it, and with the skin's sounds taken away); a log that cannot be written
# is an error.
set -u
source "$(dirname "$0")/headless.bash" "$1"
SOURCE=$(cd "$2" && pwd)
LOG="$WORK/sound.log"
heard() { grep -qx "$1" "$LOG" || fail "the sound log lacks \"$1\": $(head -20 "$LOG")"; }

cat >"$WORK/play.in" <<'KEYS'
150 ENTER
152
260 Z
290
400 ENTER
402
430 ENTER
432
KEYS
"$RUNNER" --classic --seed 2 --frames 500 --input "$WORK/play.in" --state "$WORK/with.jsonl" --sound-log "$LOG" \
  2>"$WORK/run.err" || fail "run: $(cat "$WORK/run.err")"
heard "0 music title"
heard "150 effect titlestart"
heard "150 music stage1"
heard "400 effect pause"
heard "400 music pause"
heard "430 music resume"
SHOTS=$(grep -c " effect shot$" "$LOG")
[ "$SHOTS" -eq 3 ] || fail "30 frames of Z held with a volley every 12 frames: $SHOTS shot effects"

"$RUNNER" --classic --seed 2 --frames 500 --input "$WORK/play.in" --state "$WORK/without.jsonl" 2>/dev/null || fail "run without log"
cmp -s "$WORK/with.jsonl" "$WORK/without.jsonl" || fail "the sound log changed the game"
mkdir -p "$WORK/root"
cp -r "$SOURCE/skin" "$WORK/root/skin"
rm -rf "$WORK/root/skin/morv/sound" "$WORK/root/skin/system/sound"
"$RUNNER" --classic --root "$WORK/root" --seed 2 --frames 500 --input "$WORK/play.in" --state "$WORK/silent.jsonl" \
  2>"$WORK/silent.err" || fail "run of a skin without sounds: $(cat "$WORK/silent.err")"
# The same game apart from the folder the skin is in.
cmp -s <(sed 's/"skinDir":"[^"]*"//' "$WORK/with.jsonl") <(sed 's/"skinDir":"[^"]*"//' "$WORK/silent.jsonl") \
  || fail "a skin without sounds plays differently"
[ ! -s "$WORK/silent.err" ] || fail "a skin without sounds complained: $(cat "$WORK/silent.err")"

"$RUNNER" --classic --start-scene 2 --frames 2 --sound-log "$LOG" 2>/dev/null || fail "ending run"
heard "0 music ending"

"$RUNNER" --frames 1 --sound-log "$WORK/no/such/folder/sound.log" 2>"$WORK/bad.err" && fail "an unwritable log was accepted"
grep -q "cannot write the sound log" "$WORK/bad.err" || fail "unwritable log: $(cat "$WORK/bad.err")"
echo "ok: $(wc -l <"$LOG") sound requests logged; the game is the same with and without sound"
