#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need, and only the missing ones.
set -eu
packages=(
  build-essential make cmake pkg-config
  libsdl2-dev libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
  libfreetype-dev fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  # SDL's X11 message box asks for a normal-width X font: a bare Xvfb has only "fixed".
  xvfb xauth xfonts-base xdotool x11-utils imagemagick
  # A window manager for the one system test of the desktop full screen, which only a manager gives.
  openbox
  # /usr/bin/time -v measures the soak's resident memory.
  time
  clang libclang-rt-14-dev
  valgrind
  # appstreamcli checks the metainfo; man renders the manual page.
  appstream man-db
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
