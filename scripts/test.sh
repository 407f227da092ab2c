#!/usr/bin/env bash
# Sets up, builds and runs every test: the core's unit tests (plain, under
# AddressSanitizer + UndefinedBehaviorSanitizer, under ThreadSanitizer), then
# the fuzz targets for a few seconds each, then the Windows program's tests
# under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

for preset in dev asan tsan; do
  echo "== unit tests: $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" -j2
done

if [[ -x scripts/fuzz_smoke.sh ]]; then
  echo "== fuzz targets, briefly"
  scripts/fuzz_smoke.sh
fi

if [[ -x scripts/test_windows.sh ]]; then
  echo "== Windows program under Wine"
  scripts/test_windows.sh
fi
