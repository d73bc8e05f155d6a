#!/usr/bin/env bash
# The tree's own checks, run by scripts/test.sh: C++ formatted as .clang-format says, no clang-tidy finding in
# src/ (the checks of .clang-tidy), and the Python tools clean under pyflakes. BUILD (default build/) must have
# been configured with CMAKE_EXPORT_COMPILE_COMMANDS=ON. Exits non-zero on any finding.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
cd "$root"
status=0

git ls-files -z '*.cpp' '*.h' '*.inc' | xargs -0 clang-format --dry-run -Werror || {
  echo "lint: C++ not formatted (run: git ls-files '*.cpp' '*.h' '*.inc' | xargs clang-format -i)" >&2
  status=1
}

pyflakes3 tools/ || { echo "lint: pyflakes found problems in tools/" >&2; status=1; }

[ -f "$build/compile_commands.json" ] || { echo "lint: no $build/compile_commands.json" >&2; exit 1; }
tidy_log=$(mktemp)
trap 'rm -f "$tidy_log"' EXIT
run-clang-tidy -p "$build" -quiet -j "${MORVANTH_JOBS:-2}" "$root/src/" >"$tidy_log" 2>&1 || true
if grep -q "warning:\|error:" "$tidy_log"; then
  grep -A3 "warning:\|error:" "$tidy_log" >&2
  echo "lint: clang-tidy findings in src/" >&2
  status=1
fi
[ "$status" -eq 0 ] && echo "lint: clean (clang-format, pyflakes, clang-tidy)"
exit "$status"
