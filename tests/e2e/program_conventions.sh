#!/usr/bin/env bash
# Every program behaves as a command-line program is expected to: --version prints its name and the project's
# version, --help prints the usage on standard output with status 0, a bad option prints the usage on standard
# error with status 2 and nothing on standard output. Each program's --help names exactly the options its
# manual page lists (synopsis and OPTIONS), so the two cannot drift apart, and the page's EXIT STATUS names 2.
set -u
BUILD=$(cd "$1" && pwd)
SRC=$(cd "$2" && pwd)
source "$(dirname "$0")/lib.bash"
scratch_begin
VERSION=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt")
[ -n "$VERSION" ] || fail "no project version in the build's cache"

# run NAME PROGRAM ARGS...: status in $status, output in WORK/NAME.out and NAME.err.
run() { local name=$1; shift; "$@" >"$WORK/$name.out" 2>"$WORK/$name.err"; status=$?; }
# The options a text names: --word, the man page's \- spelled as -.
options_in() { sed 's/\\-/-/g' | grep -oE -- '--[a-z][a-z-]*[a-z]' | sort -u; }

for program in morvanth morvanth-headless morvanth-skincheck morvanth-tka; do
  page=$(ls "$SRC"/packaging/man/"$program".[16])
  # No display is needed for any of these: the game answers before it opens a window.
  export DISPLAY= WAYLAND_DISPLAY=

  run version "$BUILD/$program" --version
  [ "$status" -eq 0 ] && [ ! -s "$WORK/version.err" ] || fail "$program --version: status $status, $(cat "$WORK/version.err")"
  [ "$(cat "$WORK/version.out")" = "$program $VERSION" ] || fail "$program --version printed: $(cat "$WORK/version.out")"
  grep -q "\"MORVANTH $VERSION\"" "$page" || fail "$(basename "$page") names another version"

  run help "$BUILD/$program" --help
  [ "$status" -eq 0 ] && [ ! -s "$WORK/help.err" ] || fail "$program --help: status $status, $(cat "$WORK/help.err")"
  grep -q "^usage: $program" "$WORK/help.out" || fail "$program --help printed: $(head -3 "$WORK/help.out")"

  run bad "$BUILD/$program" --no-such-option
  [ "$status" -eq 2 ] || fail "$program --no-such-option: status $status"
  [ ! -s "$WORK/bad.out" ] || fail "$program --no-such-option wrote to standard output: $(cat "$WORK/bad.out")"
  grep -q "usage: $program" "$WORK/bad.err" || fail "$program --no-such-option: no usage on standard error"

  options_in <"$WORK/help.out" | grep -vx -- --no-such-option >"$WORK/help.options"
  awk '/^\.SH/ { keep = ($2 == "SYNOPSIS" || $2 == "OPTIONS") } keep' "$page" | options_in >"$WORK/man.options"
  diff "$WORK/help.options" "$WORK/man.options" >"$WORK/diff" ||
    fail "$program --help (<) and $(basename "$page") (>) name different options: $(cat "$WORK/diff")"
  grep -qx -- --version "$WORK/man.options" || fail "$(basename "$page") lacks --version"
  awk '/^\.SH/ { keep = ($2 == "EXIT") } keep' "$page" | grep -qw 2 || fail "$(basename "$page"): no status 2"
done
echo "ok: --version, --help, usage errors and manual pages agree in every program"
