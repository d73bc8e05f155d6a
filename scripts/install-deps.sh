#!/usr/bin/env bash
# Installs the Debian packages MORVANTH needs, when missing.
#   install-deps.sh --game   what building and running the game needs (scripts/play.sh)
#   install-deps.sh          that and the tests', benchmarks', fuzzing and packaging tools (scripts/test.sh)
#   install-deps.sh --aarch64  the cross compilers, qemu-user and the arm64 libraries (scripts/cross-aarch64.sh)
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
# The arm64 libraries come through multiarch. JACK's development files are named first: apt cannot work out on
# its own which JACK SDL_mixer's fluidsynth should pull in for the foreign architecture.
aarch64=(
  crossbuild-essential-arm64 qemu-user-static binfmt-support
  libjack-jackd2-dev:arm64
  libsdl2-dev:arm64 libsdl2-mixer-dev:arm64 libfreetype-dev:arm64 libfontconfig-dev:arm64 libxml2-dev:arm64
  libpng-dev:arm64 libgtest-dev:arm64 libgmock-dev:arm64
)
case "${1:-}" in
  --game) packages=("${game[@]}") ;;
  --aarch64) packages=("${aarch64[@]}") ;;
  "") packages=("${game[@]}" "${tests[@]}") ;;
  *) echo "usage: install-deps.sh [--game | --aarch64]" >&2; exit 2 ;;
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
if [ "${1:-}" = --aarch64 ] && ! dpkg --print-foreign-architectures | grep -qx arm64; then
  "${as_root[@]}" dpkg --add-architecture arm64
fi
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
