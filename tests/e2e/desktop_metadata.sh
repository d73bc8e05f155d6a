#!/usr/bin/env bash
# The install's desktop entry and AppStream metadata pass their validators, and the manual pages format
# without warnings.
set -u
SRC=$(cd "$2" && pwd)/packaging
source "$(dirname "$0")/lib.bash"
for tool in desktop-file-validate appstreamcli man identify; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done
out=$(desktop-file-validate "$SRC/io.github.morvanth.Morvanth.desktop" 2>&1) && [ -z "$out" ] || fail "desktop entry: $out"
out=$(appstreamcli validate --no-net "$SRC/io.github.morvanth.Morvanth.metainfo.xml" 2>&1) || fail "metainfo: $out"
# The licences, and a screenshot that is the committed one, of the game's own size.
META="$SRC/io.github.morvanth.Morvanth.metainfo.xml"
grep -q '<project_license>MIT</project_license>' "$META" || fail "metainfo: no MIT project licence"
grep -q '<metadata_license>CC0-1.0</metadata_license>' "$META" || fail "metainfo: metadata licence is not CC0-1.0"
grep -q '^MIT License' "$SRC/../LICENSE" || fail "LICENSE is not the MIT licence"
shot=$(sed -n 's#.*<image type="source"[^>]*>https://raw.githubusercontent.com/morvanth/morvanth/main/\(.*\)</image>.*#\1#p' "$META")
[ -n "$shot" ] || fail "metainfo: no screenshot"
[ "$(identify -format '%wx%h' "$SRC/../$shot" 2>/dev/null)" = "800x600" ] || fail "screenshot $shot is not an 800x600 picture"
for page in "$SRC"/man/*; do
  out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$out" ] || fail "$(basename "$page"): $out"
done
echo "ok: desktop entry, metainfo and manual pages"
