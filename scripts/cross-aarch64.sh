#!/usr/bin/env bash
# Builds MORVANTH for 64-bit Arm with Debian's cross compilers, runs its unit tests and the headless end-to-end
# tests under qemu-user, and checks that the Arm build plays and draws exactly as the native one: the same state
# lines and the same pixels for the same scripted games.
#   scripts/cross-aarch64.sh [NATIVE_BUILD]
#     NATIVE_BUILD  a native build folder (default: build); its morvanth-headless is built when missing
# The Arm build goes to build-aarch64 (MORVANTH_CROSS_BUILD overrides). Arm programs are started through the
# kernel's binfmt_misc, which qemu-user-static registers; as root the script mounts and enables it when needed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
native="$(realpath -m "${1:-build}")"
cross="$(realpath -m "${MORVANTH_CROSS_BUILD:-build-aarch64}")"
jobs="${MORVANTH_JOBS:-2}"
fail() { echo "cross-aarch64: $*" >&2; exit 1; }

bash scripts/install-deps.sh
bash scripts/install-deps.sh --aarch64

# Arm programs must start like native ones: the build draws its icons with its own tool, and the end-to-end
# scripts start the programs by path.
if [ ! -e /proc/sys/fs/binfmt_misc/qemu-aarch64 ] || ! grep -qx enabled /proc/sys/fs/binfmt_misc/qemu-aarch64; then
  if [ "$(id -u)" -eq 0 ]; then
    [ -e /proc/sys/fs/binfmt_misc/register ] || mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
    update-binfmts --enable qemu-aarch64
  else
    sudo sh -c '[ -e /proc/sys/fs/binfmt_misc/register ] || mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
                update-binfmts --enable qemu-aarch64'
  fi
fi
probe="$(mktemp -d)"
trap 'rm -rf "$probe"' EXIT
echo 'int main() { return 42; }' >"$probe/probe.c"
aarch64-linux-gnu-gcc "$probe/probe.c" -o "$probe/probe"
set +e; "$probe/probe" 2>/dev/null; status=$?; set -e
[ "$status" = 42 ] || fail "this machine cannot start Arm programs (binfmt_misc with qemu-aarch64 is not enabled)"

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
# Release: the pictures and the play do not depend on the optimisation level, and -O3 without debug information
# compiles fastest of the optimised builds.
cmake -S . -B "$cross" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/aarch64-linux-gnu.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DMORVANTH_BENCH=OFF -DMORVANTH_TESTS=ON "${launcher[@]}" >/dev/null
cmake --build "$cross" -j"$jobs"
[ -x "$native/morvanth-headless" ] || {
  cmake -S . -B "$native" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
  cmake --build "$native" -j"$jobs" --target morvanth-headless
}
# ELF machine 183 (0xB7) is AArch64.
[ "$(od -An -tx1 -j18 -N2 "$cross/morvanth-headless" | tr -d ' ')" = b700 ] ||
  fail "$cross/morvanth-headless is not an Arm program"

echo "cross-aarch64: unit tests under qemu"
# Two shards side by side, one per core.
pids=()
for shard in 0 1; do
  GTEST_TOTAL_SHARDS=2 GTEST_SHARD_INDEX=$shard "$cross/tests/morvanth_tests" --gtest_brief=1 \
    >"$probe/unit$shard.log" 2>&1 &
  pids+=($!)
done
for shard in 0 1; do
  wait "${pids[$shard]}" || { tail -40 "$probe/unit$shard.log" >&2; fail "unit tests failed (shard $shard)"; }
done
grep -h '^\[  PASSED  \]' "$probe"/unit*.log

echo "cross-aarch64: headless end-to-end tests under qemu"
LC_ALL=C.UTF-8 LANGUAGE= ctest --test-dir "$cross" --output-on-failure -j"$jobs" \
  -R '^e2e\.(headless_|textshot|tka_tool|skincheck|skinart|skin_errors|motionpaths|bundled_skins|sound_files|settings_file|file_names|user_files)'

# The same games on both builds: random play from the title, and a later stage with power-ups. Every state
# line and every picture must match.
echo "cross-aarch64: the same games, native and Arm"
compare_games() {
  local name="$1"; shift
  local frames=(60 400 800 1200 1600 2000 2400 2799) args=()
  for build in native cross; do
    local dir="$probe/$name.$build" program
    mkdir -p "$dir"
    [ "$build" = native ] && program="$native/morvanth-headless" || program="$cross/morvanth-headless"
    args=()
    for f in "${frames[@]}"; do args+=(--shot "$f:$dir/$f.png"); done
    "$program" "$@" --root "$root" --frames 2800 --state "$dir/state.jsonl" --objects "${args[@]}" 2>"$dir/err" ||
      fail "$name on the $build build: $(cat "$dir/err")"
  done
  # Both read the skins of this tree (--root), so the state lines name the same folders: the same bytes.
  cmp -s "$probe/$name.native/state.jsonl" "$probe/$name.cross/state.jsonl" ||
    fail "$name: the Arm build plays differently (state lines differ from" \
      "$(cmp "$probe/$name.native/state.jsonl" "$probe/$name.cross/state.jsonl" | grep -o 'line [0-9]*'))"
  for f in "${frames[@]}"; do
    local n
    n="$(compare -metric AE "$probe/$name.native/$f.png" "$probe/$name.cross/$f.png" null: 2>&1 || true)"
    [ "$n" = 0 ] || fail "$name: frame $f differs in $n pixels between the native and the Arm build"
  done
  echo "cross-aarch64: $name: ${#frames[@]} pictures and $(wc -l <"$probe/$name.native/state.jsonl") state lines identical"
}
compare_games title-to-play --seed 7 --random-keys 7
compare_games stage3-armed --seed 3 --random-keys 11 --stage 3 --power double,options=2,speed=6
echo "cross-aarch64: all passed"
