#!/usr/bin/env bash
# Installs what one purpose needs, as root, on Debian 12 or 13:
#   bash scripts/setup.sh run       building and running the Linux program (the default)
#   bash scripts/setup.sh test      that, and what the tests, fuzz targets and Windows builds need
#   bash scripts/setup.sh package   that, and what building and checking the Debian package needs
# Quick when everything is already there: dpkg queries, no network.
set -euo pipefail
purpose=${1:-run}

# Recommended packages are left out to keep this quick, so what the programs
# need to look right is named here: a font for the window, speech-dispatcher's
# sound output, and (run without a display) the virtual one and its screenshot.
run_packages=(
  cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev fonts-dejavu-core
  libsdl2-dev libespeak-ng-dev espeak-ng-data
  libspeechd-dev speech-dispatcher speech-dispatcher-audio-plugins
  xvfb xdotool imagemagick procps
)
# fonts-wine draws Wine's title buttons; dbus-daemon gives the screen-reader and
# notification tests a session bus of their own; weston is the Wayland tests'
# headless compositor. clang's runtime and libFuzzer are
# added below, in the version of the clang that is (or will be) installed.
test_packages=(
  googletest libbenchmark-dev python3 clang libqt6test6 libx11-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64 mingw-w64-tools
  wine64 fonts-wine fonts-liberation
  at-spi2-core dbus-daemon libatspi2.0-dev libxtst-dev weston qt6-wayland
)
package_packages=(dpkg-dev lintian desktop-file-utils appstream python3 x11-utils gzip)

packages=("${run_packages[@]}")
case "$purpose" in
run) ;;
test) packages+=("${test_packages[@]}") ;;
package) packages+=("${package_packages[@]}") ;;
*)
  echo "usage: $0 [run|test|package]" >&2
  exit 2
  ;;
esac

installed() {
  [[ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true)" == "install ok installed" ]]
}

# The major version of clang's installed package, else of apt's candidate
# ("1:19.0-63" gives 19); empty when apt knows no clang yet.
clang_major() {
  local version
  if installed clang; then
    version=$(dpkg-query -W -f='${Version}' clang)
  else
    version=$(apt-cache policy clang 2>/dev/null | sed -n 's/^ *Candidate: //p')
    [[ "$version" == "(none)" ]] && version=""
  fi
  version=${version#*:}
  echo "${version%%.*}"
}

clang_packages() {
  local major
  major=$(clang_major)
  [[ -n "$major" ]] || return 0
  echo "libclang-rt-$major-dev libfuzzer-$major-dev"
}

missing_of() {
  local package
  for package in "$@"; do
    installed "$package" || echo "$package"
  done
}

export DEBIAN_FRONTEND=noninteractive DEBCONF_NOWARNINGS=yes
# Others may be installing at the same time: wait for dpkg's lock, not fail.
apt_get() { apt-get -o DPkg::Lock::Timeout=600 "$@"; }

versioned=()
if [[ "$purpose" == test ]] && installed clang; then
  read -ra versioned <<<"$(clang_packages)"
fi
mapfile -t missing < <(missing_of "${packages[@]}" "${versioned[@]}")
if ((${#missing[@]})); then
  apt_get update -qq
  if [[ "$purpose" == test ]] && ((${#versioned[@]} == 0)); then
    read -ra versioned <<<"$(clang_packages)"
    ((${#versioned[@]})) || { echo "setup: apt offers no clang" >&2; exit 1; }
    mapfile -t missing < <(missing_of "${packages[@]}" "${versioned[@]}")
  fi
  echo "setup: installing ${missing[*]}"
  apt_get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
