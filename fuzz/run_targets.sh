#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan + UBSan) and runs each for
# the given number of seconds from its seed corpus in fuzz/corpus/<target>.
# New inputs go to build/fuzz/corpus/<target>, crashes to build/fuzz/findings.
# Prints one line per target with its executions; fails on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?usage: fuzz/run_targets.sh SECONDS_PER_TARGET}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

build=build/fuzz
mkdir -p "$build/findings"
failed=0
printf '%-20s %12s %8s  %s\n' target executions seconds result
for source in fuzz/*_fuzz.cpp; do
  target=$(basename "$source" .cpp)
  name=${target%_fuzz}
  corpus="$build/corpus/$name"
  log="$build/findings/$name.log"
  mkdir -p "$corpus"
  result=ok
  # The outer timeout only guards against a hang the fuzzer itself misses.
  if ! timeout $((seconds + 120)) "$build/$target" -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/findings/$name-" \
      "$corpus" "fuzz/corpus/$name" >"$log" 2>&1; then
    result="FINDING (see $log)"
    failed=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  printf '%-20s %12s %8s  %s\n' "$name" "${runs:-?}" "$seconds" "$result"
done
exit "$failed"
