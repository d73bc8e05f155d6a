# Sourced by the end-to-end scripts that drive morvanth-headless: the runner, a scratch folder (lib.bash, with
# fail and pixel), and line FILE N, the state line of frame N.
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"
BUILD=$(cd "$1" && pwd)
RUNNER="$BUILD/morvanth-headless"
scratch_begin
line() { sed -n "$(($2 + 1))p" "$1"; }
command -v convert >/dev/null || fail "ImageMagick is not installed"
