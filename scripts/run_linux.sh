#!/usr/bin/env bash
# Builds the native Linux program and starts it. With a display it runs until
# you close its window. With none ($DISPLAY unset) it runs on a virtual
# display without sound, writes a screenshot of the window to $1 (default
# build/quorvel-linux-screenshot.png), reports how long the window took to
# appear, and closes the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh run
source scripts/virtual_display.sh

cmake --preset linux >/dev/null
cmake --build --preset linux --target quorvel
program=build/linux/quorvel

if [[ -n "${DISPLAY:-}" ]]; then
  exec "$program"
fi

screenshot=$(realpath -m "${1:-build/quorvel-linux-screenshot.png}")
trap end_virtual_display EXIT
start_virtual_display
export SDL_AUDIODRIVER=dummy  # no sound card behind a virtual display
started=$(date +%s.%N)
"$program" &
pid=$!
status=0
screenshot_quorvel_window "$screenshot" "$started" || status=$?
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
exit "$status"
