#!/usr/bin/env bash
# The Debian package: CPack builds it from this build, it declares its libraries, lintian --pedantic finds no
# error or warning in it, and unpacked into a temporary root it holds Debian's layout for games: launchers in
# /usr/games linking to the programs in /usr/lib/games/morvanth, whose skin/ links to the skins in
# /usr/share/games/morvanth, with the desktop entry, icons, metadata, manual pages, copyright and changelog.
# The headless runner and the skin checker run from there, finding the skins through the links.
set -u
BUILD=$(cd "$1" && pwd)
source "$(dirname "$0")/lib.bash"
scratch_begin
for tool in cpack dpkg-deb dpkg-shlibdeps identify lintian; do
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

# Debian's checker: no error and no warning; the remaining notes are printed for the record (README explains
# them).
lintian --pedantic --display-level '>=pedantic' --tag-display-limit 0 "$DEB" >"$WORK/lintian.out" 2>&1
grep -v '^running with root privileges' "$WORK/lintian.out" | sed 's/^/lintian: /'
! grep -q '^[EW]: ' "$WORK/lintian.out" || fail "lintian reports errors or warnings"
[ "$(dpkg-deb -f "$DEB" Section)" = games ] || fail "section is not games"
dpkg-deb -f "$DEB" Description | awk 'length > 80 { bad = 1 } END { exit bad }' || fail "a description line is over 80 columns"

ROOT="$WORK/root"
dpkg -x "$DEB" "$ROOT" || fail "dpkg -x failed"
ID=io.github.morvanth.Morvanth
PROGRAMS=usr/lib/games/morvanth
for program in morvanth morvanth-headless morvanth-skincheck morvanth-tka; do
  [ "$(readlink "$ROOT/usr/games/$program")" = "../lib/games/morvanth/$program" ] || fail "no launcher link for $program"
  [ -x "$ROOT/$PROGRAMS/$program" ] || fail "$program is not installed"
  [ "$("$ROOT/usr/games/$program" --version)" = "$program $(dpkg-deb -f "$DEB" Version)" ] || fail "$program --version"
done
[ "$(readlink "$ROOT/$PROGRAMS/skin")" = "../../../share/games/morvanth/skin" ] || fail "no skin link beside the programs"
[ "$(readlink "$ROOT/$PROGRAMS/$ID.png")" = "../../../share/icons/hicolor/128x128/apps/$ID.png" ] ||
  fail "no window icon link beside the programs"
for file in share/games/morvanth/skin/morv/xml/graphicdef.xml share/games/morvanth/skin/system/graphic/map.bmp \
    share/applications/$ID.desktop share/metainfo/$ID.metainfo.xml share/man/man6/morvanth.6.gz \
    share/man/man1/morvanth-headless.1.gz share/man/man1/morvanth-skincheck.1.gz share/man/man1/morvanth-tka.1.gz \
    share/doc/morvanth/copyright share/doc/morvanth/changelog.gz; do
  [ -f "$ROOT/usr/$file" ] || fail "$file is not installed"
done
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$ROOT/usr/share/doc/morvanth/copyright" ||
  fail "the copyright file is not machine-readable"
for size in 48 128 256; do
  icon="$ROOT/usr/share/icons/hicolor/${size}x${size}/apps/$ID.png"
  [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x${size}" ] || fail "no ${size} px icon"
done

# Started through the launchers: a short scripted game, and the installed skin checked.
# The first Enter completes the title's drawing, the second starts a game.
printf '10 ENTER\n12\n20 ENTER\n22\n' >"$WORK/start.keys"
"$ROOT/usr/games/morvanth-headless" --classic --input "$WORK/start.keys" --frames 60 --state "$WORK/state.jsonl" \
  || fail "the installed runner failed"
[[ "$(tail -1 "$WORK/state.jsonl")" == *'"scene":1,'* ]] || fail "the installed game did not start: $(tail -1 "$WORK/state.jsonl")"
"$ROOT/usr/games/morvanth-skincheck" "$ROOT/usr/share/games/morvanth" >"$WORK/skincheck.out" \
  || fail "the installed skin does not check: $(cat "$WORK/skincheck.out")"
# The skins it used are the installed ones: without them the runner looks for them in the install and fails.
mv "$ROOT/usr/share/games/morvanth/skin" "$WORK/skin.away"
"$ROOT/usr/games/morvanth-headless" --frames 1 2>"$WORK/missing.err" && fail "ran without its skins"
grep -q "$ROOT/$PROGRAMS/skin" "$WORK/missing.err" || fail "searched elsewhere: $(cat "$WORK/missing.err")"
echo "ok: $(basename "$DEB") passes lintian, installs into a temporary root and runs from there"
