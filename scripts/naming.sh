#!/usr/bin/env bash
# naming.sh BUILD: checks the names of every translation unit of BUILD's compile database (src, tools, tests,
# bench, fuzz) against the scheme of ARCHITECTURE.md (scripts/naming.yaml). Prints each finding once and exits
# non-zero when there is any. Slow (every file is parsed again): a maintainer's check, not part of lint.sh.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:?usage: naming.sh BUILD}" && pwd)"
findings=$(python3 -c "import json,sys; [print(e['file']) for e in json.load(open(sys.argv[1]))]" \
  "$build/compile_commands.json" | sort -u |
  xargs -P"${MORVANTH_JOBS:-2}" -n6 clang-tidy -p "$build" --config-file="$root/scripts/naming.yaml" --quiet 2>/dev/null |
  grep "warning:" | sed "s|^$root/||; s|^\(\.\./\)*||" | sort -u || true)
if [ -n "$findings" ]; then
  echo "$findings"
  echo "naming.sh: $(wc -l <<<"$findings") name(s) off the scheme" >&2
  exit 1
fi
echo "naming.sh: every name follows the scheme"
