#!/usr/bin/env bash
# Idle cost of the running Windows program under Wine on a virtual display:
# starts quorvel.exe (first run, default settings) from a folder of its own,
# lets it settle, then measures SECONDS (default 60) with no user action.
# Reads only quorvel.exe's own process in /proc, not wineserver's. Prints
# "name value" lines: cpu_ms, cpu_percent_of_one_core, wakeups_per_s (voluntary
# context switches of all its threads), threads, and cpu_ms_from_clock_ticks
# as a coarse cross-check.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
source scripts/wine_session.sh

program=${QUORVEL_EXE:-build/mingw-x86_64/quorvel.exe}
if [[ -z "${QUORVEL_EXE:-}" ]]; then
  cmake --preset mingw-x86_64 >/dev/null
  cmake --build --preset mingw-x86_64 --target quorvel >/dev/null
fi

work=$(mktemp -d /tmp/quorvel-idle-XXXXXX)
cp "$program" "$work/quorvel.exe"
prefix="$PWD/build/bench/wineprefix"
if [[ ! -f "$prefix/system.reg" ]]; then
  echo "Making a Wine prefix in $prefix" >&2
  make_wine_prefix "$prefix"
fi
export WINEPREFIX="$prefix"
trap 'end_wine_session; rm -rf "$work"' EXIT
start_virtual_display

(cd "$work" && exec "$WINE" quorvel.exe) &
for _ in $(seq 300); do
  xdotool search --onlyvisible --name '^Quorvel$' >/dev/null 2>&1 && break
  sleep 0.1
done
xdotool search --onlyvisible --name '^Quorvel$' >/dev/null 2>&1 || { echo "no window" >&2; exit 1; }

# The program's own process: named after the .exe, in our prefix.
pid=""
for candidate in $(pgrep -x quorvel.exe); do
  if tr '\0' '\n' <"/proc/$candidate/environ" 2>/dev/null | grep -qx "WINEPREFIX=$prefix"; then
    pid=$candidate
  fi
done
[[ -n "$pid" ]] || { echo "quorvel.exe process not found" >&2; exit 1; }
sleep 5  # start-up is not idle

# CPU milliseconds (the scheduler's exact run time) and voluntary switches,
# summed over the threads, then the process's CPU clock ticks (all threads,
# ended ones too) and its thread count.
sample() {
  local cpu=0 switches=0
  for task in /proc/"$pid"/task/*; do
    cpu=$(awk -v sum="$cpu" '/^se.sum_exec_runtime/ {sum += $3} END {printf "%.6f", sum}' "$task/sched")
    switches=$((switches + $(awk '/^voluntary_ctxt_switches/ {print $2}' "$task/status")))
  done
  echo "$cpu $switches $(awk '{print $14 + $15}' "/proc/$pid/stat")" \
    "$(ls /proc/"$pid"/task | wc -l)"
}

read -r cpu0 sw0 ticks0 _ < <(sample)
start=$(date +%s.%N)
sleep "$seconds"
read -r cpu1 sw1 ticks1 threads < <(sample)
end=$(date +%s.%N)

awk -v c0="$cpu0" -v c1="$cpu1" -v s0="$sw0" -v s1="$sw1" \
    -v t0="$start" -v t1="$end" -v threads="$threads" -v k0="$ticks0" -v k1="$ticks1" \
    -v hz="$(getconf CLK_TCK)" 'BEGIN {
  span = t1 - t0
  printf "seconds %.1f\n", span
  printf "cpu_ms %.1f\n", c1 - c0
  printf "cpu_ms_from_clock_ticks %.0f\n", (k1 - k0) * 1000 / hz
  printf "cpu_percent_of_one_core %.4f\n", (c1 - c0) / 1000 / span * 100
  printf "wakeups_per_s %.2f\n", (s1 - s0) / span
  printf "threads %d\n", threads
}'
