#!/usr/bin/env bash
# What the real window costs a player's machine, under an Xvfb of its own: the time from start to the first
# presented frame (the title), and the CPU share of one core on the title and in play (Enter pressed with
# xdotool), from the utime and stime of /proc/PID/stat over SECONDS each; also the window's peak resident memory.
# The first frame's time comes from the game itself (MORVANTH_LOG_FIRST_PRESENT, see SdlWindow.h).
# Targets: first frame within 150 ms, under 8 % of a core on the title and under 15 % in play.
# Usage: bench/window_cost.sh BUILD_DIR [SECONDS]   (needs Xvfb and xdotool; scripts/install-deps.sh has both)
set -u
BUILD=$(cd "${1:?usage: window_cost.sh BUILD_DIR [SECONDS]}" && pwd)
SECONDS_EACH=${2:-10}
source "$(dirname "$0")/../tests/e2e/lib.bash"
window_test_begin
start_xvfb "$WORK/xvfb.log"

TICKS=$(getconf CLK_TCK)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$GAME_PID/stat"; }
# CPU share of one core over SECONDS_EACH, in percent.
cpu_share() {
  local t0 t1
  t0=$(cpu_ticks)
  sleep "$SECONDS_EACH"
  t1=$(cpu_ticks)
  awk -v d=$((t1 - t0)) -v s="$SECONDS_EACH" -v hz="$TICKS" 'BEGIN { printf "%.1f", 100 * d / hz / s }'
}

# The phases follow the game's state lines (tests/e2e/lib.bash); writing them costs the game a few microseconds
# a frame.
GAME="$BUILD/morvanth"
START=$(date +%s%N)
MORVANTH_LOG_FIRST_PRESENT=1 start_game
PRESENTED=$(sed -n 's/.*first frame presented at \([0-9]*\) ns.*/\1/p' "$WORK/game.err")
[ -n "$PRESENTED" ] || fail "no first frame: $(cat "$WORK/game.err")"
FIRST_MS=$(awk -v a="$START" -v b="$PRESENTED" 'BEGIN { printf "%.1f", (b - a) / 1e6 }')
FIRST_CPU=$(sed -n 's/.*after \([0-9.]*\) ms of CPU.*/\1/p' "$WORK/game.err")

wait_until "the whole logo" is complete true
TITLE=$(cpu_share)
tap_until "the game" Return is scene 1
wait_until "the end of the fly-in" is entering false
PLAY=$(cpu_share)
PEAK=$(awk '/VmHWM/ { print $2 }' "/proc/$GAME_PID/status")
echo "first title frame: $FIRST_MS ms after start ($FIRST_CPU ms of CPU; on a busy machine the wall time waits for it)"
echo "title: $TITLE % of one core"
echo "play: $PLAY % of one core"
echo "peak resident: $PEAK KiB"
