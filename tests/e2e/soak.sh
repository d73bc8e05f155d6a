#!/usr/bin/env bash
# The soak: 100,000 frames of random play (fixed seeds) on a skin of two short stages. The run must end without
# an error after passing through the title, play, game over, the title again, a stage clear, the second stage
# and the ending. Resident memory, sampled every 500 frames, must be flat after the warm-up: its highest value
# from frame 20,000 on at most 1 MiB above its highest before (the scenes differ: the ending holds a screen-sized
# texture), and in play within 1 MiB from frame 20,000 on.
# About a minute in the plain build; skipped (77) in the sanitizer build, where it would take far longer.
set -u
source "$(dirname "$0")/headless.bash" "$1"
source "$(dirname "$0")/soak_skin.bash"
FRAMES=${MORVANTH_SOAK_FRAMES:-100000}

if grep -q "^MORVANTH_SANITIZE:BOOL=ON" "$BUILD/CMakeCache.txt"; then
  echo "skipped: sanitizer build"
  exit 77
fi
soak_root "$BUILD" "$WORK/root"
"$RUNNER" --root "$WORK/root" --seed 1 --random-keys 1 --frames "$FRAMES" --rss-every 500 \
  --state "$WORK/soak.jsonl" >"$WORK/rss.txt" 2>"$WORK/soak.err" || fail "soak run: $(cat "$WORK/soak.err")"
[ ! -s "$WORK/soak.err" ] || fail "the soak reported: $(head -5 "$WORK/soak.err")"
[ "$(wc -l <"$WORK/soak.jsonl")" -eq "$FRAMES" ] || fail "the soak stopped early"

# Every way between the scenes, at least twice each; a game over and the second stage.
sed 's/^{"frame":[0-9]*,"scene":\([0-9]\).*/\1/' "$WORK/soak.jsonl" | uniq >"$WORK/scenes.txt"
paste -d' ' "$WORK/scenes.txt" <(tail -n +2 "$WORK/scenes.txt") >"$WORK/steps.txt"
for step in "0 1" "1 0" "1 2" "2 0"; do
  [ "$(grep -c "^$step\$" "$WORK/steps.txt")" -ge 2 ] || fail "random play did not go from scene ${step% *} to ${step#* } twice"
done
grep -q '"playState":1' "$WORK/soak.jsonl" || fail "no game over"
grep -q '"stage":1,' "$WORK/soak.jsonl" || fail "the second stage was never reached"

# Resident memory: each sample with the scene of its frame.
awk 'NR == FNR { if ($1 == "rss") kib[$2] = $3; next }
     (FNR - 1) in kib { match($0, /"scene":[0-9]/); print FNR - 1, substr($0, RSTART + 8, 1), kib[FNR - 1] }' \
  "$WORK/rss.txt" "$WORK/soak.jsonl" >"$WORK/samples.txt"
awk '$1 < 19999 && $3 > warm { warm = $3 }
     $1 >= 19999 { if ($3 > late) late = $3; if ($2 == 1) { if (low == "" || $3 < low) low = $3; if ($3 > high) high = $3 } }
     END { printf "warm-up peak %d, later peak %d, in play %d..%d\n", warm, late, low, high
           exit !(warm > 0 && late - warm <= 1024 && high - low <= 1024) }' "$WORK/samples.txt" >"$WORK/range.txt" ||
  fail "resident memory (KiB) grew after the warm-up: $(cat "$WORK/range.txt")"
echo "ok: $FRAMES frames of random play through every scene; resident KiB: $(cat "$WORK/range.txt")," \
  "peak $(awk '$1 == "peak_rss" { print $2 }' "$WORK/rss.txt")"
