#!/usr/bin/env bash
# Redraws docs/motion/*.png, the motion-code diagrams of docs/skins.md, with the game's own enemy code.
# Usage: tools/morvanth-motionpaths/make_diagrams.sh [BUILD_DIR]   (default: build)
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$src/build}
cmake --build "$build" -j1 --target morvanth-motionpaths
"$build/morvanth-motionpaths" "$src/docs/motion" >/dev/null
echo "wrote $src/docs/motion/*.png"
