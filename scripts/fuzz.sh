#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (in build-fuzz/) and runs each for a bounded time, starting from its
# committed seeds and regression inputs, into a scratch corpus. A crash, leak, timeout, memory blow-up or
# sanitizer report fails the script; the input that caused it is kept in build-fuzz/fuzz/artifacts/ (add it
# to fuzz/regressions/<name>/ once the fault is fixed, so the ordinary tests replay it). A target whose coverage
# does not grow fails too: its edge count (libFuzzer's "cov:") at the end of the run must be above that of the
# empty input alone, which is where a target stays when no input reaches the code it is meant to test.
#   MORVANTH_FUZZ_SECONDS  time per target (default 45)
#   MORVANTH_JOBS          build jobs, and targets run side by side (default 2)
#   arguments              target names (default: every fuzz/fuzz_*.cpp)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
jobs="${MORVANTH_JOBS:-2}"
seconds="${MORVANTH_FUZZ_SECONDS:-45}"
if [ $# -gt 0 ]; then
  targets=("$@")
else
  mapfile -t targets < <(cd fuzz && ls fuzz_*.cpp | sed 's/\.cpp$//')
fi

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVANTH_FUZZ=ON \
  -DMORVANTH_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build build-fuzz -j"$jobs" --target "${targets[@]}"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
artifacts="$root/build-fuzz/fuzz/artifacts"
mkdir -p "$artifacts"
# The last edge count libFuzzer reported in a log ("#N ... cov: E ft: ...").
last_cov() { grep -o 'cov: [0-9]*' "$1" | tail -1 | grep -o '[0-9]*$' || true; }
# Runs one target; its summary goes to $scratch/<target>.summary, and it fails when the target did.
fuzz_one() {
  local target="$1" name="${1#fuzz_}" status=0
  local log="$scratch/$target.log" summary="$scratch/$target.summary"
  mkdir -p "$scratch/$target"
  local inputs=("fuzz/seeds_$name")
  [ -d "fuzz/regressions/$name" ] && inputs+=("fuzz/regressions/$name")
  # The targets' scratch skins go under $scratch too, so even a run that dies leaves nothing behind.
  TMPDIR="$scratch" ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "build-fuzz/fuzz/$target" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$artifacts/$target-" "$scratch/$target" "${inputs[@]}" >"$log" 2>&1 || status=$?
  local runs rate empty reached
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  # The baseline: the empty input on its own, from an empty corpus.
  mkdir -p "$scratch/$target-empty"
  TMPDIR="$scratch" "build-fuzz/fuzz/$target" -runs=0 "$scratch/$target-empty" >"$scratch/$target-empty.log" 2>&1 || true
  empty=$(last_cov "$scratch/$target-empty.log")
  reached=$(last_cov "$log")
  echo "fuzz.sh: $target: ${runs:-?} runs, ${rate:-?}/s, cov ${empty:-?} (empty input) -> ${reached:-?}, exit $status" >"$summary"
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log" >>"$summary"
    return 1
  elif [ -z "$empty" ] || [ -z "$reached" ] || [ "$reached" -le "$empty" ]; then
    echo "fuzz.sh: $target: coverage stayed flat: its inputs do not reach the code under test" >>"$summary"
    return 1
  fi
}

# As many targets side by side as there are build jobs (each runs on one core), reported in order.
failed=()
declare -A pids=()
for ((i = 0; i < ${#targets[@]}; i += jobs)); do
  for target in "${targets[@]:i:jobs}"; do
    fuzz_one "$target" &
    pids[$target]=$!
  done
  for target in "${targets[@]:i:jobs}"; do
    # A failed target's summary carries its log's tail: a diagnostic, so it goes to standard error.
    if wait "${pids[$target]}"; then
      cat "$scratch/$target.summary"
    else
      failed+=("$target")
      cat "$scratch/$target.summary" >&2
    fi
  done
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz.sh: FAILED: ${failed[*]} (inputs in $artifacts)" >&2
  exit 1
fi
echo "fuzz.sh: every target ran clean for ${seconds} s"
