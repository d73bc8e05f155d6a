#!/usr/bin/env bash
# Installs what is missing, builds from scratch (plain and with address/undefined sanitizers), runs every test
# in both builds and the tree's own checks (scripts/lint.sh). Exits non-zero when any build, test or check fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/install-deps.sh
jobs="${MORVANTH_JOBS:-2}"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVANTH_TESTS=ON -DMORVANTH_BENCH=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
bash scripts/lint.sh build

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DMORVANTH_SANITIZE=ON -DMORVANTH_BENCH=OFF -DMORVANTH_TESTS=ON
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"
echo "test.sh: all tests passed"
