#!/usr/bin/env bash
# The Debian package: CPack builds it from this build, it declares its libraries, and unpacked into a temporary
# root it holds the program with its tools, skins, launchers, desktop entry, icons, metadata and manual pages.
# The headless runner and the skin checker run from there, finding the skins beside themselves.
set -u
BUILD=$(cd "$1" && pwd)
source "$(dirname "$0")/lib.bash"
scratch_begin
for tool in cpack dpkg-deb dpkg-shlibdeps identify; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done

(cd "$WORK" && cpack --config "$BUILD/CPackConfig.cmake" -B "$WORK/out" >"$WORK/cpack.log" 2>&1) \
  || fail "cpack failed: $(tail -20 "$WORK/cpack.log")"
DEB=$(ls "$WORK"/out/*.deb 2>/dev/null | head -1)
[ -n "$DEB" ] || fail "no .deb made: $(tail -20 "$WORK/cpack.log")"
DEPENDS=$(dpkg-deb -f "$DEB" Depends)
for dep in libsdl2 libfreetype libfontconfig libxml2 libpng fonts-ipafont-gothic; do
  [[ "$DEPENDS" == *"$dep"* ]] || fail "Depends lacks $dep: $DEPENDS"
done

ROOT="$WORK/root"
dpkg -x "$DEB" "$ROOT" || fail "dpkg -x failed"
ID=io.github.morvanth.Morvanth
for program in morvanth morvanth-headless morvanth-skincheck morvanth-tka; do
  [ "$(readlink "$ROOT/usr/bin/$program")" = "../lib/morvanth/$program" ] || fail "no launcher link for $program"
  [ -x "$ROOT/usr/lib/morvanth/$program" ] || fail "$program is not installed"
done
for file in lib/morvanth/skin/morv/xml/graphicdef.xml lib/morvanth/skin/system/graphic/map.bmp \
    share/applications/$ID.desktop share/metainfo/$ID.metainfo.xml share/man/man6/morvanth.6.gz \
    share/man/man1/morvanth-headless.1.gz share/man/man1/morvanth-skincheck.1.gz share/man/man1/morvanth-tka.1.gz; do
  [ -f "$ROOT/usr/$file" ] || fail "$file is not installed"
done
for size in 48 128 256; do
  icon="$ROOT/usr/share/icons/hicolor/${size}x${size}/apps/$ID.png"
  [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x${size}" ] || fail "no ${size} px icon"
done

# Started through the launchers: a short scripted game, and the installed skin checked.
# The first Enter completes the title's drawing, the second starts a game.
printf '10 ENTER\n12\n20 ENTER\n22\n' >"$WORK/start.keys"
"$ROOT/usr/bin/morvanth-headless" --input "$WORK/start.keys" --frames 60 --state "$WORK/state.jsonl" \
  || fail "the installed runner failed"
[[ "$(tail -1 "$WORK/state.jsonl")" == *'"scene":1,'* ]] || fail "the installed game did not start: $(tail -1 "$WORK/state.jsonl")"
"$ROOT/usr/bin/morvanth-skincheck" "$ROOT/usr/lib/morvanth" >"$WORK/skincheck.out" \
  || fail "the installed skin does not check: $(cat "$WORK/skincheck.out")"
# The skins it used are the installed ones: without them the runner looks for them in the install and fails.
mv "$ROOT/usr/lib/morvanth/skin" "$WORK/skin.away"
"$ROOT/usr/bin/morvanth-headless" --frames 1 2>"$WORK/missing.err" && fail "ran without its skins"
grep -q "$ROOT/usr/lib/morvanth/skin" "$WORK/missing.err" || fail "searched elsewhere: $(cat "$WORK/missing.err")"
echo "ok: $(basename "$DEB") installs into a temporary root and runs from there"
