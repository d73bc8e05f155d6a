#!/usr/bin/env bash
# Installs what the game needs when it is missing, builds the game alone and starts it on the bundled default
# skin. Arguments go to the game (morvanth --help lists them). The tests' tools are left to scripts/test.sh.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/install-deps.sh --game
configure=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
# A first build leaves out the tests and benchmarks (their libraries may not be installed); a build folder
# that already has them keeps its settings.
[ -f build/CMakeCache.txt ] || configure+=(-DMORVANTH_TESTS=OFF -DMORVANTH_BENCH=OFF)
if command -v ccache >/dev/null; then
  configure+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build "${configure[@]}" >/dev/null
cmake --build build -j"${MORVANTH_JOBS:-2}" --target morvanth
exec ./build/morvanth "$@"
