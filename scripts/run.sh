#!/usr/bin/env bash
# Sets up, builds and starts Quorvel.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
if [[ -x scripts/run_windows.sh ]]; then
  exec scripts/run_windows.sh
fi
cmake --preset dev >/dev/null
cmake --build --preset dev
echo "Quorvel's core is built; the window arrives with the Windows backend."
