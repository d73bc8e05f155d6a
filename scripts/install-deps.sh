#!/usr/bin/env bash
# Installs the Debian packages MORVANTH needs, when missing.
#   install-deps.sh --game   what building and running the game needs (scripts/play.sh)
#   install-deps.sh          that and the tests', benchmarks', fuzzing and packaging tools (scripts/test.sh)
# As root it runs apt-get itself, otherwise through sudo (which may ask for a password); with neither it says
# in one line what to install and exits with status 1.
set -euo pipefail
game=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-mixer-dev libfreetype-dev libfontconfig-dev libxml2-dev libpng-dev
  fonts-ipafont-gothic fonts-liberation gettext
)
tests=(
  git python3
  xvfb xauth x11-apps x11-utils imagemagick xdotool openbox
  googletest libgtest-dev libgmock-dev libbenchmark-dev libpixman-1-dev
  clang libclang-rt-14-dev valgrind gdb clang-format clang-tidy python3-pyflakes
  desktop-file-utils appstream man-db lintian locales
)
case "${1:-}" in
  --game) packages=("${game[@]}") ;;
  "") packages=("${game[@]}" "${tests[@]}") ;;
  *) echo "usage: install-deps.sh [--game]" >&2; exit 2 ;;
esac
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "install-deps: not root and no sudo: as root, run: apt-get install ${missing[*]}" >&2
    exit 1
  fi
  as_root=(sudo)
fi
echo "install-deps: installing ${missing[*]}"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
