#!/usr/bin/env bash
# Builds the 64-bit Windows program and starts it under Wine. With a display
# it runs until you close its window. With none ($DISPLAY unset) it runs on a
# virtual display, writes a screenshot of the window to $1 (default
# build/quorvel-screenshot.png), reports how long the window took to appear, and
# closes the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh test
source scripts/wine_session.sh

cmake --preset mingw-x86_64 >/dev/null
cmake --build --preset mingw-x86_64 --target quorvel
program=build/mingw-x86_64/quorvel.exe

# A prefix of our own beside the build, made once (about ten seconds).
prefix="$PWD/build/wineprefix"
if [[ ! -f "$prefix/system.reg" ]]; then
  echo "Making a Wine prefix in $prefix"
  make_wine_prefix "$prefix"
fi
export WINEPREFIX="$prefix"

if [[ -n "${DISPLAY:-}" ]]; then
  exec "$WINE" "$program"
fi

screenshot=$(realpath -m "${1:-build/quorvel-screenshot.png}")
trap end_wine_session EXIT
start_virtual_display
started=$(date +%s.%N)
"$WINE" "$program" &
screenshot_quorvel_window "$screenshot" "$started"
