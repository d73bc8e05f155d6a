#!/usr/bin/env bash
# The long soak, a manual benchmark: FRAMES (default 1,000,000) frames of random play on the soak skin of
# tests/e2e/soak_skin.bash, as the CI soak (tests/e2e/soak.sh) plays 100,000. Reports the run's time and CPU per
# frame, how often each scene was entered, and resident memory (sampled every 10,000 frames): its highest value
# in the second half of the run must stay within 1 MiB of its highest in the first half. (The ending's
# screen-sized texture comes and goes with its scene, so a fixed warm-up of 20,000 frames, which may not reach
# the ending, is no baseline; half of a long run reaches every scene many times.)
# Usage: bench/soak.sh BUILD_DIR [FRAMES] [KEY_SEED]
set -u
BUILD=$(cd "${1:?usage: soak.sh BUILD_DIR [FRAMES] [KEY_SEED]}" && pwd)
FRAMES=${2:-1000000}
KEY_SEED=${3:-1}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
source "$(dirname "$0")/../tests/e2e/soak_skin.bash"
soak_root "$BUILD" "$WORK/root"

# The state stream (about 300 bytes a frame) is cut down as it comes to its changes of scene and play state.
STEPS='{ match($0, /"scene":[0-9]/); s = substr($0, RSTART + 8, 1); p = "-"
         if (match($0, /"playState":[0-9]/)) p = substr($0, RSTART + 12, 1)
         if (s " " p != last) { last = s " " p; print last } }'
START=$(date +%s%N)
/usr/bin/time -f "%U %S" -o "$WORK/time.txt" "$BUILD/morvanth-headless" --root "$WORK/root" --seed 1 \
  --random-keys "$KEY_SEED" --frames "$FRAMES" --rss-every 10000 --state >(awk "$STEPS" >"$WORK/steps.txt") \
  >"$WORK/rss.txt" 2>"$WORK/err.txt" || { echo "FAIL: $(cat "$WORK/err.txt")" >&2; exit 1; }
wait $!
END=$(date +%s%N)
[ ! -s "$WORK/err.txt" ] || { echo "FAIL: the run reported: $(head -5 "$WORK/err.txt")" >&2; exit 1; }

read -r USER_S SYS_S <"$WORK/time.txt"
awk -v f="$FRAMES" -v w=$(((END - START) / 1000000)) -v u="$USER_S" -v s="$SYS_S" \
  'BEGIN { printf "%d frames in %.1f s (%.1f s of CPU: %.3f ms a frame)\n", f, w / 1000, u + s, 1000 * (u + s) / f }'
awk 'BEGIN { scene = "none" } $1 != scene { n[$1]++; scene = $1 } $2 == 1 { overs++ } $2 == 2 { clears++ }
     END { printf "scenes entered: title %d, game %d, ending %d; game overs %d, stage clears %d\n",
           n[0], n[1], n[2], overs, clears }' "$WORK/steps.txt"
awk -v half=$((FRAMES / 2)) '
     $1 == "rss" && $2 < 19999 && $3 > warm { warm = $3 }
     $1 == "rss" && $2 < half && $3 > early { early = $3 }
     $1 == "rss" && $2 >= half && $3 > late { late = $3 }
     $1 == "peak_rss" { peak = $2 }
     END { printf "resident: warm-up peak %d KiB, peak in the first half %d KiB, peak in the second half %d KiB; process peak %d KiB\n", warm, early, late, peak
           exit !(late - early <= 1024) }' "$WORK/rss.txt"
