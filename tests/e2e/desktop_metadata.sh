#!/usr/bin/env bash
# The install's desktop entry and AppStream metadata pass their validators, and the manual pages format
# without warnings.
set -u
SRC=$(cd "$2" && pwd)/packaging
source "$(dirname "$0")/lib.bash"
for tool in desktop-file-validate appstreamcli man; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done
out=$(desktop-file-validate "$SRC/io.github.morvanth.Morvanth.desktop" 2>&1) && [ -z "$out" ] || fail "desktop entry: $out"
out=$(appstreamcli validate --no-net "$SRC/io.github.morvanth.Morvanth.metainfo.xml" 2>&1) || fail "metainfo: $out"
for page in "$SRC"/man/*; do
  out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$out" ] || fail "$(basename "$page"): $out"
done
echo "ok: desktop entry, metainfo and manual pages"
