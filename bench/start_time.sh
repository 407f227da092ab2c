#!/usr/bin/env bash
# Start to viewable window, warm:
#
#   bench/start_time.sh native|windows|windows-wine-running [STARTS]
#
# starts the program STARTS times (default 5) after one first start that is
# not counted (it fills the disk cache), each from a fresh folder (first run,
# default settings), on a virtual display of this script's own with no window
# manager. bench/window_wait.cpp times each start from the fork to the moment
# a window named exactly "Quorvel" is viewable. For "windows" no Wine process
# runs before each start, so Wine starts with the program, as when a user
# opens it; "windows-wine-running" keeps Wine up with Notepad meanwhile.
# Prints "name value" lines: starts, start_median_ms, start_min_ms,
# start_max_ms, start_all_ms (comma-separated) and start_first_ms.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:?native, windows or windows-wine-running}
starts=${2:-5}
kind=${mode%%-*}
source bench/session.sh

prepare_program "$kind"
trap end_session EXIT
start_virtual_display
if [[ "$mode" == windows-wine-running ]]; then
  "$WINE" notepad.exe >/dev/null 2>&1 &
  xdotool search --sync --onlyvisible --name 'Notepad' >/dev/null
fi

times=()
for ((start = 0; start <= starts; start++)); do
  launch_program "$kind"
  times+=("$START_MS")
  echo "start $start: $START_MS ms" >&2
  end_program
  if [[ "$mode" == windows ]]; then
    "$WINESERVER" -k >/dev/null 2>&1 || true
    "$WINESERVER" -w
  fi
  rm -rf "$WORK_FOLDER"
done

echo "starts $starts"
printf '%s\n' "${times[@]:1}" | sort -n | awk '{warm[++n] = $1}
  END {
    median = n % 2 ? warm[(n + 1) / 2] : (warm[n / 2] + warm[n / 2 + 1]) / 2
    printf "start_median_ms %.1f\nstart_min_ms %.1f\nstart_max_ms %.1f\n", median, warm[1], warm[n]
  }'
echo "start_all_ms $(IFS=,; echo "${times[*]:1}")"
echo "start_first_ms ${times[0]}"
