#!/usr/bin/env bash
# Runs every benchmark and measures both builds of the running program and
# each toolkit's floor, each on a virtual display of its own, and writes one
# table to the terminal and to build/bench/results.md.
#   BENCH_IDLE_SECONDS  idle span (default 60); 0 skips the idle measurements
#   BENCH_STARTS        counted warm starts (default 5); 0 skips them
#   BENCH_SPEECH_RUNS   announcements timed (default 10); 0 skips them
#   BENCH_ANNOUNCED     0 skips the memory before and after a first announcement
# A Windows build that cannot be made leaves its column "not measured".
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh test
idle_seconds=${BENCH_IDLE_SECONDS:-60}
starts=${BENCH_STARTS:-5}
speech_runs=${BENCH_SPEECH_RUNS:-10}
announced=${BENCH_ANNOUNCED:-1}
out=build/bench

cmake --preset bench >/dev/null
cmake --build --preset bench -j2
"$out"/quorvel_bench --benchmark_out="$out"/benchmarks.json \
  --benchmark_out_format=json >&2

# measure FILE COMMAND...: COMMAND's "name value" lines into FILE, after the
# load average it began under; a failed measurement leaves FILE empty.
measure() {
  local file=$1
  shift
  echo "$*" >&2
  if ! { echo "load_average $(cut -d ' ' -f 1 /proc/loadavg)" && "$@"; } >"$out/$file.tmp"; then
    echo "  failed; left out of the table" >&2
    : >"$out/$file.tmp"
  fi
  mv "$out/$file.tmp" "$out/$file"
}

qt_floor="$out"/quorvel_qt_idle_baseline
qt_text_floor="$out"/quorvel_qt_text_baseline
rm -f "$out"/idle_{native,qt_floor,windows,baseline}.txt "$out"/start_*.txt \
  "$out"/speech_latency.txt "$out"/dispatcher_latency.txt "$out"/wav_latency.txt \
  "$out"/announced_*.txt
if ((idle_seconds > 0)); then
  # The native program and Qt's floor at the same time, each on a display of
  # its own, so that both bear the same load from other work on the machine.
  # The floor starts once the first display has taken its number.
  measure idle_native.txt bench/idle.sh native "$idle_seconds" &
  sleep 2
  QUORVEL_NATIVE_PROGRAM=$qt_floor measure idle_qt_floor.txt bench/idle.sh native "$idle_seconds"
  wait
  measure idle_windows.txt bench/idle.sh windows "$idle_seconds"
  # Wine's own floor: a window whose one-second timer does nothing.
  x86_64-w64-mingw32-gcc -O2 -mwindows bench/idle_baseline.c -o "$out"/idle_baseline.exe
  QUORVEL_EXE="$out"/idle_baseline.exe measure idle_baseline.txt \
    bench/idle.sh windows "$idle_seconds"
fi
if ((announced > 0)); then
  # The program announcing 12:34 three ways and Qt's two floors, all at once, each
  # on a display of its own: 12:34 is the first whole minute at least 20 s
  # away, so that all five have started and settled.
  announce_at=$(( ($(date +%s) + 20 + 59) / 60 * 60 ))
  for case_name in speech-dispatcher espeak-ng wav; do
    measure "announced_$case_name.txt" bench/announced.sh "$case_name" "$announce_at" &
    sleep 1
  done
  QUORVEL_NATIVE_PROGRAM=$qt_floor measure announced_floor.txt \
    bench/announced.sh floor "$announce_at" &
  sleep 1
  QUORVEL_NATIVE_PROGRAM=$qt_text_floor measure announced_floor_text.txt \
    bench/announced.sh floor "$announce_at"
  wait
fi
if ((starts > 0)); then
  measure start_native.txt bench/start_time.sh native "$starts"
  QUORVEL_NATIVE_PROGRAM=$qt_floor measure start_qt_floor.txt bench/start_time.sh native "$starts"
  measure start_windows.txt bench/start_time.sh windows "$starts"
  measure start_windows_wine_running.txt bench/start_time.sh windows-wine-running "$starts"
fi
if ((speech_runs > 0)); then
  # The disk driver's own notices and each run's times go to the log.
  speech_latency() { "$out"/quorvel_speech_latency "$speech_runs" 2>"$out"/speech_latency.log; }
  measure speech_latency.txt speech_latency
  dispatcher_latency() {
    "$out"/quorvel_dispatcher_latency "$speech_runs" 2>"$out"/dispatcher_latency.log
  }
  measure dispatcher_latency.txt dispatcher_latency
  # A rule's WAV file, one second of a tone, the same way.
  python3 bench/tone_wav.py "$out"/latency_tone.wav
  wav_latency() {
    "$out"/quorvel_speech_latency "$speech_runs" "$out"/latency_tone.wav 2>"$out"/wav_latency.log
  }
  measure wav_latency.txt wav_latency
fi

python3 bench/table.py "$out"/benchmarks.json "$out" | tee "$out"/results.md
