#!/usr/bin/env bash
# Runs every benchmark and the idle measurement and writes one table, to the
# terminal and to build/bench/results.md. BENCH_IDLE_SECONDS (default 60) sets
# the idle span; 0 skips the idle measurement.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
idle_seconds=${BENCH_IDLE_SECONDS:-60}

cmake --preset bench >/dev/null
cmake --build --preset bench
build/bench/quorvel_bench --benchmark_out=build/bench/benchmarks.json \
  --benchmark_out_format=json >&2

: >build/bench/idle.txt
: >build/bench/idle_baseline.txt
if ((idle_seconds > 0)); then
  echo "Measuring the idle Windows program under Wine for ${idle_seconds} s" >&2
  bench/idle.sh "$idle_seconds" >build/bench/idle.txt
  # Wine's own floor: a window whose one-second timer does nothing.
  x86_64-w64-mingw32-gcc -O2 -mwindows bench/idle_baseline.c -o build/bench/idle_baseline.exe
  echo "Measuring an empty one-second-timer window under Wine for ${idle_seconds} s" >&2
  QUORVEL_EXE=build/bench/idle_baseline.exe bench/idle.sh "$idle_seconds" \
    >build/bench/idle_baseline.txt
fi

python3 bench/table.py build/bench/benchmarks.json build/bench/idle.txt \
  build/bench/idle_baseline.txt | tee build/bench/results.md
