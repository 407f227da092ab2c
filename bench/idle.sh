#!/usr/bin/env bash
# Idle cost of the running program on a virtual display of its own:
#
#   bench/idle.sh native|windows [SECONDS]
#
# starts the native build, or the Windows build under Wine (QUORVEL_EXE names
# another .exe, as for Wine's floor), from a fresh folder (first run, default
# settings), lets it settle, then measures SECONDS (default 60) with no user
# action. Reads only the program's own process in /proc: for Wine, not
# wineserver's nor Wine's helper processes, whose memory is added up apart.
# Prints "name value" lines:
#   seconds, cpu_ms, cpu_percent_of_one_core - the scheduler's exact run time
#       (/proc/PID/task/*/schedstat, ns) summed over the threads
#   cpu_ms_from_clock_ticks - utime + stime of /proc/PID/stat, a coarse
#       cross-check that also counts threads that ended
#   wakeups_per_s - voluntary context switches of all its threads per second
#   threads, thread_set_changed - 1 when a thread started or ended in the
#       span, whose switches and run time are then partly missing
#   rss_mb, rss_after_s - VmRSS at the end, and how long after the start
#   wine_pss_mb, wine_processes - (Windows) proportional set size of all the
#       prefix's processes together, the program's included
#   rss_announced_mb - VmRSS a minute after the first announcement, or -1 when
#       none of the program's speech modules (quorvel_speechd.so,
#       quorvel_audio.so; Wine's sapi.dll) loaded. The program runs in a
#       time zone of its own that brings the local time to 12:34 (spoken by
#       default) a few seconds after the idle span. Left out for a floor
#       (QUORVEL_EXE, QUORVEL_NATIVE_PROGRAM) and for spans over 20 minutes,
#       which would reach back to 12:12.
set -euo pipefail
cd "$(dirname "$0")/.."
kind=${1:?native or windows}
seconds=${2:-60}
settle=5  # start-up is not idle
source bench/session.sh

prepare_program "$kind"
trap end_session EXIT
start_virtual_display
announce_at=""
if [[ -z "${QUORVEL_EXE:-}${QUORVEL_NATIVE_PROGRAM:-}" ]] && ((seconds <= 1200)); then
  # The first whole minute at least 10 s after the span's end is 12:34 local.
  announce_at=$(( ($(date +%s) + settle + seconds + 10 + 59) / 60 * 60 ))
  export TZ=$(zone_with_12_34_at "$announce_at")
fi
launch_program "$kind"
pid=$PROGRAM_PID
started=$(date +%s.%N)
sleep "$settle"

# Run time in ns and voluntary switches summed over the threads, the
# process's clock ticks (all threads, ended ones too) and the thread ids.
sample() {
  local tasks=(/proc/"$pid"/task/*)
  awk 'FILENAME ~ /schedstat$/ {cpu += $1}
       /^voluntary_ctxt_switches/ {switches += $2}
       END {printf "%.0f %.0f", cpu, switches}' \
    "${tasks[@]/%//schedstat}" "${tasks[@]/%//status}" 2>/dev/null
  echo " $(awk '{print $14 + $15}' "/proc/$pid/stat") $(ls /proc/"$pid"/task | sort | tr '\n' ,)"
}

read -r cpu0 sw0 ticks0 ids0 < <(sample)
start=$(date +%s.%N)
sleep "$seconds"
read -r cpu1 sw1 ticks1 ids1 < <(sample)
end=$(date +%s.%N)
rss_kb=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")

awk -v c0="$cpu0" -v c1="$cpu1" -v s0="$sw0" -v s1="$sw1" -v t0="$start" -v t1="$end" \
    -v k0="$ticks0" -v k1="$ticks1" -v hz="$(getconf CLK_TCK)" -v ids0="$ids0" -v ids1="$ids1" \
    -v rss="$rss_kb" -v began="$started" 'BEGIN {
  span = t1 - t0
  printf "seconds %.1f\n", span
  printf "cpu_ms %.1f\n", (c1 - c0) / 1e6
  printf "cpu_ms_from_clock_ticks %.0f\n", (k1 - k0) * 1000 / hz
  printf "cpu_percent_of_one_core %.4f\n", (c1 - c0) / 1e9 / span * 100
  printf "wakeups_per_s %.2f\n", (s1 - s0) / span
  printf "threads %d\n", split(ids1, ignored, ",") - 1
  printf "thread_set_changed %d\n", ids0 != ids1
  printf "rss_mb %.1f\n", rss / 1024
  printf "rss_after_s %.0f\n", t1 - began
}'

if [[ "$kind" == windows ]]; then
  pss_kb=0 processes=0
  for candidate in $(ls /proc | grep -E "^[0-9]+$"); do
    tr '\0' '\n' 2>/dev/null <"/proc/$candidate/environ" | grep -qx "WINEPREFIX=$WINEPREFIX" ||
      continue
    kb=$(awk '/^Pss:/ {print $2}' "/proc/$candidate/smaps_rollup" 2>/dev/null) || continue
    [[ -n "$kb" ]] || continue
    pss_kb=$((pss_kb + kb)) processes=$((processes + 1))
  done
  echo "wine_pss_mb $(awk -v kb="$pss_kb" 'BEGIN {printf "%.1f", kb / 1024}')"
  echo "wine_processes $processes"
fi

if [[ -n "$announce_at" ]]; then
  sleep $((announce_at + 60 - $(date +%s)))
  module='quorvel_(audio|speechd)'
  [[ "$kind" == native ]] || module='sapi\.dll'
  if grep -qiE "$module" "/proc/$pid/maps"; then
    echo "rss_announced_mb $(awk '/^VmRSS/ {printf "%.1f", $2 / 1024}' "/proc/$pid/status")"
  else
    echo "rss_announced_mb -1"
  fi
fi
