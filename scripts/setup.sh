#!/usr/bin/env bash
# Installs what building and testing Quorvel needs on Debian 12, as root.
# Quick when everything is already there: one dpkg query, no network.
set -euo pipefail

# Recommended packages are left out to keep this quick, so what the programs
# need to look right is named here (fonts-wine draws Wine's title buttons).
packages=(
  cmake ninja-build g++ googletest libbenchmark-dev python3 procps
  clang libclang-rt-14-dev libfuzzer-14-dev
  qt6-base-dev libqt6test6 libgl-dev libx11-dev fonts-dejavu-core
  libsdl2-dev libsdl2-mixer-dev libespeak-ng-dev espeak-ng-data
  libspeechd-dev speech-dispatcher speech-dispatcher-audio-plugins
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64 mingw-w64-tools
  wine64 fonts-wine fonts-liberation xvfb x11-utils xdotool imagemagick appstream
  at-spi2-core dbus-daemon libatspi2.0-dev libxtst-dev
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive DEBCONF_NOWARNINGS=yes
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
