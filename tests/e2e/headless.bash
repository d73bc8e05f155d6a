# Sourced by the end-to-end scripts that drive morvanth-headless: the runner, a work folder removed on exit, and
# helpers to fail, to read the state line of frame N and the colour of one pixel of a PNG shot.
BUILD=$(cd "$1" && pwd)
RUNNER="$BUILD/morvanth-headless"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
line() { sed -n "$(($2 + 1))p" "$1"; }
pixel() { convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | tail -1 | grep -o '#[0-9A-F]\{6\}'; }
command -v convert >/dev/null || fail "ImageMagick is not installed"
