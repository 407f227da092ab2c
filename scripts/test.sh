#!/usr/bin/env bash
# Sets up, builds and runs every test: the core's unit tests and the native
# Linux program's window and audio tests (plain, under AddressSanitizer +
# UndefinedBehaviorSanitizer, under ThreadSanitizer), then the fuzz targets
# for a few seconds each, then the Windows program's tests under Wine. Any
# piece that is missing or fails fails the command.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh test

for preset in dev asan tsan; do
  echo "== unit tests: $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" -j2
done

echo "== fuzz targets, briefly"
bash scripts/fuzz_smoke.sh

echo "== Windows program under Wine"
bash scripts/test_windows.sh
