#!/usr/bin/env bash
# Builds the native Linux program and starts it. With a display it runs until
# you close its window. With none ($DISPLAY unset) it runs on a virtual
# display without sound, writes a screenshot of the window to $1 (default
# build/quorvel-linux-screenshot.png), reports how long the window took to
# appear, and closes the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
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
window=""
for _ in $(seq 300); do
  window=$(xdotool search --onlyvisible --name '^Quorvel$' 2>/dev/null | head -n 1 || true)
  [[ -n "$window" ]] && break
  sleep 0.01
done
if [[ -z "$window" ]]; then
  echo "The Quorvel window did not appear" >&2
  kill "$pid" 2>/dev/null || true
  exit 1
fi
shown=$(date +%s.%N)
awk -v a="$started" -v b="$shown" 'BEGIN { printf "Window visible %.2f s after start\n", b - a }'
sleep 2  # the first clock tick replaces "00:00" with the time
mkdir -p "$(dirname "$screenshot")"
import -window "$window" "$screenshot"
echo "Screenshot written to $screenshot"
kill "$pid"
wait "$pid" 2>/dev/null || true
