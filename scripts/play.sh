#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it on the bundled default skin.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"${MORVANTH_JOBS:-2}"
exec ./build/morvanth "$@"
