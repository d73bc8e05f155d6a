#!/usr/bin/env bash
# Installs every Debian package the build, the game and the tests need, when missing.
set -euo pipefail
packages=(
  build-essential cmake pkg-config git
  libsdl2-dev libsdl2-mixer-dev libfreetype-dev libfontconfig-dev libxml2-dev libpng-dev
  fonts-ipafont-gothic fonts-liberation
  xvfb xauth x11-apps imagemagick xdotool openbox
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev valgrind
  desktop-file-utils appstream man-db gettext locales
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "install-deps: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo -n)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
